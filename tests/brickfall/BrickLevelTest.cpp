// Tests of the Brickfall level records: every stored version, short records, surplus walls
// and the limits applied to values read from a file.
#include "brickfall/BrickLevel.h"

#include <gtest/gtest.h>

#include <cstring>
#include <tuple>

#include "TestUtil.h"
#include "base/FileIO.h"

namespace kelvra {
namespace {

// Fields of the packed records are compared as copies (unary +): the test macros take
// references, which must not point at unaligned fields.

using test::TempDir;
using test::WriteAll;

struct Builder {
  std::vector<uint8_t> bytes;
  template <typename T>
  Builder& Put(const T& v) {
    const auto* p = reinterpret_cast<const uint8_t*>(&v);
    bytes.insert(bytes.end(), p, p + sizeof v);
    return *this;
  }
  Builder& Zeros(size_t n) {
    bytes.insert(bytes.end(), n, 0);
    return *this;
  }
};

TLevelSetHeader Header(uint32_t version, int32_t levels, uint32_t recordSize = 140,
                       uint32_t wallSize = 16) {
  TLevelSetHeader h{};
  std::memcpy(h.magic, "GBrL", 4);
  h.version = version, h.headerSize = 180, h.levelCount = levels;
  h.levelRecordSize = recordSize, h.elementRecordSize = wallSize;
  return h;
}

TLevelFields Fields() {
  TLevelFields f{};
  f.backgroundKind = 1, f.backgroundEffect = 16;
  return f;
}

class BrickLevelTest : public ::testing::Test {
 protected:
  // Reads the levels from the bytes (no header in front).
  bool Read(const std::vector<uint8_t>& bytes, const TLevelSetHeader& h, TLevelsBrick& levels,
            FileFault& fault) {
    WriteAll(dir.File("levels.bin"), bytes);
    FileReader reader;
    EXPECT_TRUE(reader.Open(dir.File("levels.bin")));
    const bool ok = ReadBrickLevels(reader, h, levels, fault);
    EXPECT_TRUE(!ok || reader.Remaining() == 0);  // every byte of the records was consumed
    return ok;
  }
  TLevelsBrick ReadOk(const std::vector<uint8_t>& bytes, const TLevelSetHeader& h) {
    TLevelsBrick levels;
    FileFault fault;
    EXPECT_TRUE(Read(bytes, h, levels, fault)) << fault.message;
    return levels;
  }
  TempDir dir;
};

TEST_F(BrickLevelTest, WallPositionsInEighthsBeforeVersion4) {
  const struct {
    int32_t stored, v3, v4;
  } cases[] = {{804, 101, 804},
               {803, 100, 803},
               {-804, -101, -804},
               {-803, -100, -803},
               {INT32_MIN, -268435456, INT32_MIN}};
  for (const auto& c : cases) {
    for (uint32_t version : {2u, 3u, 4u}) {
      Builder b;
      b.Put(uint32_t(1)).Put(Fields()).Put(TWall{c.stored, c.stored, 0, 0, 0, {}});
      TLevelsBrick levels = ReadOk(b.bytes, Header(version, 1));
      ASSERT_EQ(levels.at(0).Walls().size(), 1u);
      const int32_t expected = version <= 3 ? c.v3 : c.v4;
      EXPECT_EQ(std::make_pair(levels[0].Walls()[0].x, levels[0].Walls()[0].y),
                std::make_pair(expected, expected))
          << c.stored << " v" << version;
    }
  }
}

// Version 1 records: the ten flags Stars to Enemy at 0, the background at 16..124, the wall
// count at 125, one value for earthquake and gravity at 129 and the wind at 133.
TEST_F(BrickLevelTest, Version1LegacyRecordIsConverted) {
  uint8_t rec[137] = {};
  for (int i = 0; i < 10; ++i) rec[i] = uint8_t(i + 1);
  rec[10] = 99, rec[16] = 4;  // rec[10]: beyond the ten flags, ignored
  const uint32_t colour = 0x00AABBCC;
  auto put = [&](int at, int32_t v) { std::memcpy(rec + at, &v, 4); };
  put(21, int32_t(colour)), put(121, 3), put(125, 2), put(129, 5), put(133, 20);  // 125: walls
  SetShortString(rec + 25, 96, "Stone.jpg");
  Builder b;
  b.bytes.assign(rec, rec + sizeof rec);
  b.Put(TWall{804, 16, 1, 2, 3, {}}).Put(TWall{8, 8, 0, 0, 0, {}});
  TLevelsBrick levels = ReadOk(b.bytes, Header(1, 1, 137));
  const TLevelFields& f = levels.at(0).f;
  const uint8_t flags[11] = {f.stars, f.rain,  f.snow,   f.smallSnow, f.bubble,  f.fire,
                             f.water, f.smoke, f.points, f.enemy,     f.lighting};
  for (int i = 0; i < 11; ++i) EXPECT_EQ(flags[i], i < 10 ? i + 1 : 0) << i;
  EXPECT_EQ(std::make_tuple(int(f.backgroundKind), +f.backgroundColour,
                            GetShortString(f.backgroundPicture, 96), +f.backgroundTexture,
                            +f.earthquake, +f.gravity, +f.maxWind, int(f.backgroundEffect),
                            f.rightIsLeft + f.bottomIsTop + f.rightBottomIsLeftTop),
            std::make_tuple(4, colour, std::string("Stone.jpg"), 3, 5, 5, 20, 16, 0));
  ASSERT_EQ(levels[0].Walls().size(), 2u);
  const TWall& w = levels[0].Walls()[0];
  EXPECT_EQ(std::make_tuple(w.x, w.y, int(w.bonus)), std::make_tuple(101, 2, 3));
}

TEST_F(BrickLevelTest, ShortLevelRecordLeavesLaterFieldsZero) {
  TLevelFields f = Fields();
  f.backgroundColour = 0x112233, f.backgroundTexture = 5, f.maxWind = 50;
  f.rightIsLeft = f.bottomIsTop = f.rightBottomIsLeftTop = 255;
  Builder b;
  b.Put(uint32_t(1));
  b.bytes.insert(b.bytes.end(), reinterpret_cast<uint8_t*>(&f),
                 reinterpret_cast<uint8_t*>(&f) + 96);  // record size 100
  b.Put(TWall{1, 2, 0, 0, 0, {}});
  TLevelsBrick levels = ReadOk(b.bytes, Header(4, 1, 100));
  const TLevelFields& r = levels.at(0).f;
  EXPECT_EQ(std::make_tuple(+r.backgroundColour, int(r.backgroundKind), +r.backgroundTexture,
                            +r.maxWind, int(r.backgroundEffect),
                            r.rightIsLeft + r.bottomIsTop + r.rightBottomIsLeftTop,
                            levels[0].Walls().size()),
            std::make_tuple(0x112233u, 1, 0, 0, 0, 0, size_t(1)));

  // Record size 2: two bytes of the wall count, then the walls at once.
  Builder c;
  c.Put(uint16_t(2)).Put(TWall{5, 6, 0, 0, 0, {}}).Put(TWall{7, 8, 0, 0, 0, {}});
  levels = ReadOk(c.bytes, Header(4, 1, 2));
  ASSERT_EQ(levels[0].Walls().size(), 2u);
  EXPECT_EQ(std::make_pair(levels[0].Walls()[1].y, int(levels[0].f.backgroundKind)),
            std::make_pair(8, 0));

  // Wall records of 8 bytes give the position only.
  Builder d;
  d.Put(uint32_t(1)).Put(Fields()).Put(int32_t(30)).Put(int32_t(40));
  levels = ReadOk(d.bytes, Header(4, 1, 140, 8));
  ASSERT_EQ(levels[0].Walls().size(), 1u);
  const TWall& w = levels[0].Walls()[0];
  EXPECT_EQ(std::make_tuple(w.x, w.y, int(w.shape)), std::make_tuple(30, 40, 0));
}

TEST_F(BrickLevelTest, SurplusWallsAreSkipped) {
  Builder b;
  b.Put(uint32_t(kMaxWalls + 4)).Put(Fields());
  for (int i = 0; i < kMaxWalls + 4; ++i) b.Put(TWall{i, 0, 0, 0, 0, {}});
  b.Put(uint32_t(1)).Put(Fields()).Put(TWall{77, 88, 0, 0, 0, {}});
  TLevelsBrick levels = ReadOk(b.bytes, Header(4, 2));
  ASSERT_EQ(levels.size(), 2u);
  EXPECT_EQ(std::make_tuple(levels[0].Walls().size(), levels[0].Walls().back().x,
                            levels[1].Walls().size(), levels[1].Walls().front().x),
            std::make_tuple(size_t(kMaxWalls), kMaxWalls - 1, size_t(1), 77));
}

TEST_F(BrickLevelTest, CountsBeyondTheFileAreFaults) {
  const struct {
    const char* what;
    std::vector<uint8_t> bytes;
    int32_t levels;
  } cases[] = {
      {"huge wall count", Builder().Put(int32_t(0x7FFFFFFF)).Put(Fields()).Zeros(64).bytes, 1},
      {"surplus past the end",
       Builder().Put(int32_t(kMaxWalls + 1)).Put(Fields()).Zeros(16 * kMaxWalls).bytes, 1},
      {"last level cut", Builder().Put(uint32_t(0)).Put(Fields()).Zeros(139).bytes, 2},
      {"wall cut", Builder().Put(uint32_t(1)).Put(Fields()).Zeros(15).bytes, 1},
  };
  for (const auto& c : cases) {
    TLevelsBrick levels;
    FileFault fault;
    EXPECT_FALSE(Read(c.bytes, Header(4, c.levels), levels, fault)) << c.what;
    EXPECT_EQ(std::make_pair(fault.message, fault.code),
              std::make_pair(std::string("Unexpected end of file"), 0))
        << c.what;
  }
  // A negative wall count reads no walls.
  TLevelsBrick levels = ReadOk(Builder().Put(int32_t(-3)).Put(Fields()).bytes, Header(4, 1));
  EXPECT_TRUE(levels[0].Walls().empty());
}

TEST_F(BrickLevelTest, ValuesAreLimitedToTheEditorsRanges) {
  TLevelFields f = Fields();
  f.earthquake = -3, f.gravity = 40, f.maxWind = 500, f.backgroundEffect = 30;
  f.backgroundTexture = 12, f.backgroundPicture[0] = 200;
  Builder b;
  b.Put(uint32_t(2)).Put(f).Put(TWall{0, 0, 0, 9, 200, {}}).Put(TWall{0, 0, 0, 5, 26, {}});
  f.earthquake = 16, f.gravity = 0, f.maxWind = -1, f.backgroundTexture = -1;
  f.backgroundEffect = 22;
  b.Put(uint32_t(0)).Put(f);
  TLevelsBrick levels = ReadOk(b.bytes, Header(4, 2));
  ASSERT_EQ(levels.size(), 2u);
  const TLevelFields& a = levels[0].f;
  EXPECT_EQ(std::make_tuple(+a.earthquake, +a.gravity, +a.maxWind, int(a.backgroundEffect),
                            +a.backgroundTexture, int(a.backgroundPicture[0])),
            std::make_tuple(0, 16, 127, 22, 9, 95));
  for (const TWall& w : levels[0].Walls()) EXPECT_EQ(w.colour * 100 + w.bonus, 526);
  const TLevelFields& c = levels[1].f;  // the bounds themselves, and below them
  EXPECT_EQ(std::make_tuple(+c.earthquake, +c.maxWind, int(c.backgroundEffect)),
            std::make_tuple(16, 0, 22));
}

TEST_F(BrickLevelTest, WrittenLevelsReadBack) {
  TLevelsBrick levels(2);
  for (TLevel& l : levels) NewBrickLevel(l);
  levels[0].f.maxWind = 3;
  levels[1].Walls().assign(300, TWall{1, 2, 3, 4, 5, {6, 7, 8, 9}});
  // An older history entry is not written: the current one is.
  levels[1].history.insert(levels[1].history.begin(), TWalls(5));
  levels[1].historyLength = 2, levels[1].historyIndex = 1;
  AtomicFileWriter writer;
  WriteBrickLevels(writer, levels);
  EXPECT_EQ(writer.Size(), 2u * 140 + 300 * 16);
  TLevelsBrick back = ReadOk(writer.Data(), Header(4, 2));
  ASSERT_EQ(back.size(), 2u);
  EXPECT_EQ(std::memcmp(&back[0].f, &levels[0].f, sizeof(TLevelFields)), 0);
  ASSERT_EQ(back[1].Walls().size(), 300u);
  EXPECT_EQ(std::memcmp(back[1].Walls().data(), levels[1].Walls().data(), 300 * 16), 0);
  EXPECT_EQ(back[1].historyLength, 1);
}

}  // namespace
}  // namespace kelvra
