// The Brickfall level model: stored walls and level fields, the in-memory level list with
// its history, and the coding of level records in level-set files.
#pragma once

#include <cstdint>
#include <vector>

#include "common/Com.h"

namespace kelvra {

class FileReader;
class AtomicFileWriter;
struct FileFault;

constexpr int kMaxWalls = 1536;
constexpr int kBrickLevelRecordSize = 140;  // wall count + 136 bytes of level fields
constexpr int kBrickWallRecordSize = 16;
constexpr int kBonusKinds = 27;  // 0 "None" .. 26

#pragma pack(push, 1)
struct TWall {
  int32_t x, y;    // top-left corner, whole pixels in the 512 x 384 field
  uint16_t shape;  // index into the wall pictures
  uint8_t colour;  // 0 Red .. 5 White; also the further hits the wall survives
  uint8_t bonus;   // 0..26
  uint8_t reserved[4];
};
static_assert(sizeof(TWall) == 16);

// The 136 bytes of level fields, as stored after the wall count.
struct TLevelFields {
  uint8_t stars, rain, snow, smallSnow, bubble, fire, water, smoke, points, enemy, lighting;
  int32_t earthquake;      // 0..16
  int32_t gravity;         // 0..16
  uint8_t backgroundKind;  // 1 fill, 3 texture, 4 picture
  uint8_t unnamed20[4];
  uint32_t backgroundColour;
  uint8_t backgroundPicture[96];  // length byte + up to 95 characters
  int32_t backgroundTexture;      // 0..9
  int32_t maxWind;                // 0..127
  uint8_t backgroundEffect;       // 0..22, 16 for a new level
  uint8_t rightIsLeft, bottomIsTop, rightBottomIsLeftTop;
};
static_assert(sizeof(TLevelFields) == 136);
#pragma pack(pop)

using TWalls = std::vector<TWall>;

struct TLevel {
  TLevelFields f;
  int32_t historyIndex = 0;
  int32_t historyLength = 0;
  std::vector<TWalls> history;  // wall count of an entry = its size

  const TWalls& Walls() const { return history[historyIndex]; }
  TWalls& Walls() { return history[historyIndex]; }
};
using TLevelsBrick = std::vector<TLevel>;

extern TLevelsBrick gBrickLevels;

void NewBrickLevel(TLevel& level);

// Reads `header.levelCount` levels from the reader (positioned at the first record) into
// `levels`. Sizes must already be limited. Returns false with `fault` set on a short file.
bool ReadBrickLevels(FileReader& reader, const TLevelSetHeader& header, TLevelsBrick& levels,
                     FileFault& fault);
void WriteBrickLevels(AtomicFileWriter& writer, const TLevelsBrick& levels);

}  // namespace kelvra
