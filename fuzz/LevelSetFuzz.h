// Shared body of the level-set fuzz targets: the input becomes a level-set file that the
// current kind loads through the whole service, with every dialog answered headlessly.
#pragma once

#include <stdlib.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "base/IOError.h"
#include "common/Com.h"
#include "common/Kinds.h"
#include "common/LevelSet.h"
#include "platform/Headless.h"
#include "session/Dispatch.h"

namespace kelvra::fuzz {

inline std::string& InputFileName() {
  static std::string name;
  return name;
}

// The temporary file the inputs are written to: made once per process, removed at exit.
inline const std::string& InputFile(const char* extension) {
  std::string& name = InputFileName();
  if (name.empty()) {
    std::string pattern = "/tmp/kelvra-fuzz-XXXXXX";
    int fd = mkstemp(pattern.data());
    if (fd >= 0) close(fd);
    name = pattern + "." + extension;
    std::rename(pattern.c_str(), name.c_str());
    std::atexit([] { std::remove(InputFileName().c_str()); });
  }
  return name;
}

inline int LoadLevelSetInput(GameKind kind, const uint8_t* data, size_t size) {
  // Gives up on every file error and answers Ignore to the version question.
  static HeadlessPlatform headless;
  const std::string& file = InputFile(KindExtension(kind));
  if (FILE* f = std::fopen(file.c_str(), "wb")) {
    if (size > 0) std::fwrite(data, 1, size, f);
    std::fclose(f);
  }
  InstallGames();
  SetPlatform(&headless);
  ResetIOErrors();
  // As if "Ignore All" had been chosen: a version 0 Monsters file may hold thousands of
  // invalid squares, each reporting the same text; each text is still shown once.
  gIOError.ignoreMode = 1;
  headless.ClearLog();
  gCom.kind = kind;
  LoadLevelSet(gCom.kind, file);
  SetPlatform(nullptr);
  return 0;
}

}  // namespace kelvra::fuzz
