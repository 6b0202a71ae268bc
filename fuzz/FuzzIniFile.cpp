// Fuzz target of the settings file: any bytes are loaded as a settings file, every setting
// is transferred in, and the result is saved to a second file; nothing may crash.
#include <cstdint>
#include <cstdio>
#include <string>

#include "FuzzInput.h"
#include "base/KIniFile.h"
#include "common/Com.h"
#include "common/RecentFiles.h"
#include "common/Settings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace kelvra;
  const std::string& in = fuzz::WriteInput(".ini", data, size);
  const std::string out = in + ".out";

  ResetCom();
  gOptions = TOptions{};
  TRecentFiles recent[kKinds];
  TSettingsContext context;
  for (int k = 0; k < kKinds; ++k) {
    context.recent[k] = &recent[k];
    context.levelsFromFile[k] = true;
  }
  {
    TKIniFile ini(in);
    SettingsTransfer(ini, false, context);
  }
  {
    TKIniFile ini(out);
    SettingsTransfer(ini, true, context);
    ini.Save();
  }
  std::remove(out.c_str());
  return 0;
}
