// The Brickfall level list and the coding of its level records: the current record, the
// legacy record of version 1 files and the eighth-pixel wall positions of versions 2 and 3.
#include "brickfall/BrickLevel.h"

#include <algorithm>
#include <cstring>

#include "base/FileIO.h"

namespace kelvra {

TLevelsBrick gBrickLevels;

namespace {

constexpr uint8_t kMaxColour = 5;               // White
constexpr uint8_t kMaxBonus = kBonusKinds - 1;  // 26
constexpr uint8_t kNewBackgroundEffect = 16;
constexpr uint8_t kBackgroundFill = 1;
constexpr uint8_t kMaxPictureName = 95;

// The version 1 record; bytes not named here are not used.
namespace legacy {
constexpr int kFlags = 0;  // ten flags, Stars to Enemy
constexpr int kBackgroundKind = 16;
constexpr int kBackgroundColour = 21;
constexpr int kBackgroundPicture = 25;
constexpr int kBackgroundTexture = 121;
constexpr int kWallCount = 125;
constexpr int kEarthquakeGravity = 129;
constexpr int kMaxWind = 133;
}  // namespace legacy

template <typename T>
T Get(const uint8_t* p) {
  T v;
  std::memcpy(&v, p, sizeof v);
  return v;
}

void ResetLevel(TLevel& level) {
  std::memset(&level.f, 0, sizeof level.f);
  level.historyIndex = 0;
  level.historyLength = 1;
  level.history.assign(1, TWalls{});
}

// Fills the level fields from a version 1 record; returns its wall count.
int32_t ConvertLegacy(const uint8_t* rec, TLevelFields& f) {
  // The fields start with the flags Stars to Enemy, in the legacy record's order.
  std::memcpy(&f, rec + legacy::kFlags, 10);
  f.lighting = 0;
  f.backgroundKind = rec[legacy::kBackgroundKind];
  f.backgroundColour = Get<uint32_t>(rec + legacy::kBackgroundColour);
  std::memcpy(f.backgroundPicture, rec + legacy::kBackgroundPicture, sizeof f.backgroundPicture);
  f.backgroundTexture = Get<int32_t>(rec + legacy::kBackgroundTexture);
  f.earthquake = f.gravity = Get<int32_t>(rec + legacy::kEarthquakeGravity);
  f.maxWind = Get<int32_t>(rec + legacy::kMaxWind);
  f.backgroundEffect = kNewBackgroundEffect;
  f.rightIsLeft = f.bottomIsTop = f.rightBottomIsLeftTop = 0;
  return Get<int32_t>(rec + legacy::kWallCount);
}

// Keeps the fields within what the editor can set, so that play never meets other values.
void LimitFields(TLevelFields& f) {
  f.earthquake = std::clamp(int32_t(f.earthquake), 0, 16);
  f.gravity = std::clamp(int32_t(f.gravity), 0, 16);
  f.maxWind = std::clamp(int32_t(f.maxWind), 0, 127);
  f.backgroundTexture = std::clamp(int32_t(f.backgroundTexture), 0, 9);
  f.backgroundEffect = std::min<uint8_t>(f.backgroundEffect, 22);
  f.backgroundPicture[0] = std::min(f.backgroundPicture[0], kMaxPictureName);
}

// Eighths of a pixel to whole pixels, halves away from zero.
int32_t EighthsToPixels(int32_t v) {
  int64_t a = v < 0 ? -int64_t(v) : int64_t(v);
  int64_t p = (a + 4) / 8;
  return int32_t(v < 0 ? -p : p);
}

bool Fail(const FileReader& reader, FileFault& fault) {
  fault = reader.fault();
  if (!fault.failed()) fault.message = "Unexpected end of file";
  return false;
}

}  // namespace

void NewBrickLevel(TLevel& level) {
  ResetLevel(level);
  level.f.backgroundKind = kBackgroundFill;
  level.f.backgroundEffect = kNewBackgroundEffect;
}

bool ReadBrickLevels(FileReader& reader, const TLevelSetHeader& header, TLevelsBrick& levels,
                     FileFault& fault) {
  const uint32_t recordSize =
      std::min<uint32_t>(uint32_t(header.levelRecordSize), kBrickLevelRecordSize);
  const uint32_t wallSize =
      std::min<uint32_t>(uint32_t(header.elementRecordSize), kBrickWallRecordSize);
  const int count = std::clamp(int32_t(header.levelCount), 0, kMaxLevels);
  const bool legacyRecord = header.version < 2;
  const bool eighths = header.version <= 3;

  levels.clear();
  levels.resize(size_t(count));
  std::vector<uint8_t> packed;  // walls of a short wall record, before spreading
  for (TLevel& level : levels) {
    ResetLevel(level);
    // A record shorter than the current one leaves the bytes after it 0.
    uint8_t rec[kBrickLevelRecordSize] = {};
    if (!reader.Read(rec, recordSize)) return Fail(reader, fault);
    int32_t wallCount;
    if (legacyRecord) {
      wallCount = ConvertLegacy(rec, level.f);
    } else {
      wallCount = Get<int32_t>(rec);
      std::memcpy(&level.f, rec + 4, sizeof level.f);
    }
    LimitFields(level.f);

    // Walls beyond the play-field table are skipped so that the next level is found; all
    // of them must lie within the file before anything is allocated.
    const int64_t stored = std::max<int32_t>(wallCount, 0);
    const int64_t kept = std::min<int64_t>(stored, kMaxWalls);
    if (stored * wallSize > reader.Remaining()) {
      fault = FileFault{0, "Unexpected end of file"};
      return false;
    }
    TWalls& walls = level.history[0];
    walls.assign(size_t(kept), TWall{});
    if (wallSize == sizeof(TWall)) {
      if (!reader.Read(walls.data(), size_t(kept) * sizeof(TWall))) return Fail(reader, fault);
    } else if (wallSize > 0) {
      packed.resize(size_t(kept) * wallSize);
      if (!reader.Read(packed.data(), packed.size())) return Fail(reader, fault);
      for (int64_t i = 0; i < kept; ++i)
        std::memcpy(&walls[size_t(i)], packed.data() + i * wallSize, wallSize);
    }
    if (!reader.Skip((stored - kept) * wallSize)) return Fail(reader, fault);

    for (TWall& w : walls) {
      w.colour = std::min(w.colour, kMaxColour);
      w.bonus = std::min(w.bonus, kMaxBonus);
      if (eighths) {
        w.x = EighthsToPixels(w.x);
        w.y = EighthsToPixels(w.y);
      }
    }
  }
  return true;
}

void WriteBrickLevels(AtomicFileWriter& writer, const TLevelsBrick& levels) {
  size_t total = writer.Size();
  for (const TLevel& level : levels) total += kBrickLevelRecordSize + level.Walls().size() * 16;
  writer.Reserve(total);
  for (const TLevel& level : levels) {
    const TWalls& walls = level.Walls();
    writer.WriteValue(uint32_t(walls.size()));
    writer.WriteValue(level.f);
    writer.Write(walls.data(), walls.size() * sizeof(TWall));
  }
}

}  // namespace kelvra
