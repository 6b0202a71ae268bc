// Fuzz target: arbitrary bytes loaded as a Burrower level-set file.
#include "LevelSetFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return kelvra::fuzz::LoadLevelSetInput(kelvra::gkBurrower, data, size);
}
