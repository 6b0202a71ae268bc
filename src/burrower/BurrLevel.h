// The Burrower level model as far as level-set files need it: the level list with its
// history of 276-byte level records (23 x 12 square codes, column by column).
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "common/Com.h"

namespace kelvra {

class FileReader;
class AtomicFileWriter;
struct FileFault;

constexpr int kBurrCols = 23, kBurrRows = 12;
constexpr int kBurrLevelRecordSize = kBurrCols * kBurrRows;  // 276

enum BurrSquare : uint8_t { bsNone, bsEarth, bsWall, bsFruit, bsApple, bsBrooder, bsPlayer };

using TBurrRecord = std::array<uint8_t, kBurrLevelRecordSize>;  // square (x, y) at x * 12 + y

struct TBurrLevel {
  uint32_t historyIndex = 0;
  uint32_t historyLength = 0;
  std::vector<TBurrRecord> history;

  const TBurrRecord& Record() const { return history[historyIndex]; }
  TBurrRecord& Record() { return history[historyIndex]; }
};
using TLevelsBurr = std::vector<TBurrLevel>;

extern TLevelsBurr gBurrLevels;

void NewBurrLevel(TBurrLevel& level);

bool ReadBurrLevels(FileReader& reader, const TLevelSetHeader& header, uint32_t headerSize,
                    uint32_t storedRecordSize, TLevelsBurr& levels, FileFault& fault);
void WriteBurrLevels(AtomicFileWriter& writer, const TLevelsBurr& levels);

}  // namespace kelvra
