// The Monsters level model as far as level-set files need it: the level list with its
// history of square grids, and the decoding of both stored versions.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "common/Com.h"

namespace kelvra {

class FileReader;
class AtomicFileWriter;
struct FileFault;

constexpr int kMonsCols = 32, kMonsRows = 16;
constexpr int kMonsGridBytes = kMonsCols * kMonsRows * 3;  // 1536: {kind, variant, direction}
constexpr int kMonsNameBytes = 32;                         // length byte + up to 31 characters
constexpr int kMonsLevelRecordSize = kMonsNameBytes + kMonsGridBytes;  // 1568

using TMonsGrid = std::array<uint8_t, kMonsGridBytes>;  // square (x, y) at (x * 16 + y) * 3

struct TMonsLevel {
  uint8_t name[kMonsNameBytes] = {};
  uint32_t historyIndex = 0;
  uint32_t historyLength = 0;
  std::vector<TMonsGrid> history;

  const TMonsGrid& Grid() const { return history[historyIndex]; }
  TMonsGrid& Grid() { return history[historyIndex]; }
};
using TLevelsMons = std::vector<TMonsLevel>;

extern TLevelsMons gMonsLevels;

void NewMonsLevel(TMonsLevel& level);

// Decodes one version-0 square code; false for an invalid code (square left empty).
bool DecodeMonsSquareV0(uint8_t code, uint8_t square[3]);

// Reads `header.levelCount` levels; level i at headerSize + i * storedRecordSize.
// `storedRecordSize` is the size as stored, the header's limited size is what is read.
// Invalid version-0 codes are reported through the file error dialog and decoding goes on.
bool ReadMonsLevels(FileReader& reader, const TLevelSetHeader& header, uint32_t headerSize,
                    uint32_t storedRecordSize, TLevelsMons& levels, FileFault& fault);
void WriteMonsLevels(AtomicFileWriter& writer, const TLevelsMons& levels);

}  // namespace kelvra
