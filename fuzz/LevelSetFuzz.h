// Shared body of the level-set fuzz targets: the input becomes a level-set file that the
// current kind loads through the whole service, with every dialog answered headlessly.
#pragma once

#include <cstdint>
#include <string>

#include "FuzzInput.h"
#include "base/IOError.h"
#include "common/Com.h"
#include "common/Kinds.h"
#include "common/LevelSet.h"
#include "platform/Headless.h"
#include "session/Dispatch.h"

namespace kelvra::fuzz {

inline int LoadLevelSetInput(GameKind kind, const uint8_t* data, size_t size) {
  // Gives up on every file error and answers Ignore to the version question.
  static HeadlessPlatform headless;
  const std::string& file = WriteInput(std::string(".") + KindExtension(kind), data, size);
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
