// The Monsters level list and the coding of its level records: version 1 square grids and
// the one-byte square codes of version 0.
#include "monsters/MonsLevel.h"

#include <algorithm>
#include <cstring>

#include "base/FileIO.h"
#include "base/IOError.h"

namespace kelvra {

TLevelsMons gMonsLevels;

namespace {

constexpr uint8_t kMaxNameLength = kMonsNameBytes - 1;  // 31
constexpr int kSquares = kMonsCols * kMonsRows;         // 512

// Square kinds as stored.
enum : uint8_t {
  skNone = 0,
  skEarth = 1,
  skGate = 2,
  skWall = 3,
  skMoney = 4,
  skTunnel = 5,
  skPit = 6,
  skPlayer = 7,
  skHouse = 8,
  skMonster = 9,
  skGhost = 10,
};

bool Fail(const FileReader& reader, FileFault& fault) {
  fault = reader.fault();
  if (!fault.failed()) fault.message = "Unexpected end of file";
  return false;
}

}  // namespace

void NewMonsLevel(TMonsLevel& level) {
  std::memset(level.name, 0, sizeof level.name);
  level.historyIndex = 0;
  level.historyLength = 1;
  level.history.assign(1, TMonsGrid{});
}

bool DecodeMonsSquareV0(uint8_t code, uint8_t square[3]) {
  const uint8_t c = code & 0x1F;              // bits 0..4
  const uint8_t direction = (code >> 5) & 3;  // bits 5..6; bit 7 is not used
  uint8_t kind = skNone, variant = 0, dir = 0;
  bool valid = true;
  if (c == 0) {
    kind = skNone;
  } else if (c == 1) {
    kind = skEarth;
  } else if (c == 2) {
    kind = skGate;
  } else if (c == 3) {
    kind = skMoney;
  } else if (c == 4) {
    kind = skTunnel;
    dir = direction;
  } else if (c == 5) {
    kind = skPit;
  } else if (c == 7) {
    kind = skWall;
  } else if (c >= 8 && c <= 11) {
    kind = skPlayer;
    variant = c - 8;
  } else if (c >= 12 && c <= 15) {
    kind = skHouse;
    variant = c - 12;
  } else if (c >= 16 && c <= 21) {
    kind = skMonster;
    variant = c - 16;
    dir = direction;
  } else if (c == 22) {
    kind = skGhost;
  } else {
    valid = false;  // 6 and 23..31
  }
  square[0] = kind;
  square[1] = variant;
  square[2] = dir;
  return valid;
}

bool ReadMonsLevels(FileReader& reader, const TLevelSetHeader& header, uint32_t headerSize,
                    uint32_t storedRecordSize, TLevelsMons& levels, FileFault& fault) {
  const uint32_t recordSize =
      std::min<uint32_t>(uint32_t(header.levelRecordSize), kMonsLevelRecordSize);
  const uint32_t nameBytes = std::min<uint32_t>(recordSize, kMonsNameBytes);
  const uint32_t bodyBytes = recordSize - nameBytes;
  const int count = std::clamp(int32_t(header.levelCount), 0, kMaxLevels);

  levels.clear();
  levels.resize(size_t(count));
  uint8_t codes[kSquares];
  for (int i = 0; i < count; ++i) {
    TMonsLevel& level = levels[size_t(i)];
    NewMonsLevel(level);
    const int64_t offset = int64_t(headerSize) + int64_t(i) * int64_t(storedRecordSize);
    if (!reader.Seek(offset)) return Fail(reader, fault);
    if (!reader.Read(level.name, nameBytes)) return Fail(reader, fault);
    level.name[0] = std::min(level.name[0], kMaxNameLength);

    TMonsGrid& grid = level.Grid();
    if (header.version == 0) {
      const uint32_t n = std::min<uint32_t>(bodyBytes, kSquares);
      if (!reader.Read(codes, n)) return Fail(reader, fault);
      for (uint32_t s = 0; s < n; ++s)
        if (!DecodeMonsSquareV0(codes[s], &grid[s * 3])) ErrorMsg("Error in decoding level");
    } else if (header.version == 1) {
      // A shorter record fills the grid from its start; the rest stays "None".
      if (!reader.Read(grid.data(), bodyBytes)) return Fail(reader, fault);
    }
  }
  return true;
}

void WriteMonsLevels(AtomicFileWriter& writer, const TLevelsMons& levels) {
  for (const TMonsLevel& level : levels) {
    writer.Write(level.name, sizeof level.name);
    writer.Write(level.Grid().data(), kMonsGridBytes);
  }
}

}  // namespace kelvra
