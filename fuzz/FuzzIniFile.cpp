// Fuzz target of the settings file: any bytes are loaded as a settings file, every setting
// is transferred in, and the result is saved to a second file; nothing may crash.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "base/KIniFile.h"
#include "common/Com.h"
#include "common/RecentFiles.h"
#include "common/Settings.h"

namespace {

// One private folder per process, removed at exit. Plain arrays: they outlive the exit
// handler, where a static std::string would already be destroyed.
char gDir[64];
char gIn[80];
char gOut[80];

void RemoveWorkDir() {
  std::remove(gIn);
  std::remove(gOut);
  rmdir(gDir);
}

void MakeWorkDir() {
  if (gDir[0]) return;
  std::snprintf(gDir, sizeof gDir, "/tmp/kelvra-fuzz-ini-XXXXXX");
  if (!mkdtemp(gDir))
    std::snprintf(gDir, sizeof gDir, ".");
  else
    std::atexit(RemoveWorkDir);
  std::snprintf(gIn, sizeof gIn, "%s/in.ini", gDir);
  std::snprintf(gOut, sizeof gOut, "%s/out.ini", gDir);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace kelvra;
  MakeWorkDir();
  const std::string in = gIn, out = gOut;
  if (FILE* f = std::fopen(in.c_str(), "wb")) {
    if (size > 0) std::fwrite(data, 1, size, f);
    std::fclose(f);
  }
  std::remove(out.c_str());

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
  return 0;
}
