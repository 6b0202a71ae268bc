// Tests of the Monsters level records: the version 0 square codes, the placement and limits
// of version 1 records, and the grid written.
#include "monsters/MonsLevel.h"

#include <gtest/gtest.h>

#include <cstring>
#include <tuple>

#include "HeadlessTest.h"
#include "base/FileIO.h"

namespace kelvra {
namespace {

using test::WriteAll;

TEST(MonsLevel, Version0SquareCodes) {
  struct Expect {
    int kind, variant;
    bool direction;  // the direction bits are kept
  };
  // Index: square code 0..31; kind -1 marks an invalid code.
  const Expect table[32] = {
      {0, 0, false},  {1, 0, false}, {2, 0, false}, {4, 0, false}, {5, 0, true},   {6, 0, false},
      {-1, 0, false}, {3, 0, false}, {7, 0, false}, {7, 1, false}, {7, 2, false},  {7, 3, false},
      {8, 0, false},  {8, 1, false}, {8, 2, false}, {8, 3, false}, {9, 0, true},   {9, 1, true},
      {9, 2, true},   {9, 3, true},  {9, 4, true},  {9, 5, true},  {10, 0, false},
  };
  for (int code = 0; code < 32; ++code) {
    const Expect e = code <= 22 ? table[code] : Expect{-1, 0, false};
    for (int dir = 0; dir < 4; ++dir) {
      for (int bit7 : {0, 0x80}) {
        uint8_t square[3] = {99, 99, 99};
        bool ok = DecodeMonsSquareV0(uint8_t(code | dir << 5 | bit7), square);
        EXPECT_EQ(
            std::make_tuple(ok, int(square[0]), int(square[1]), int(square[2])),
            std::make_tuple(e.kind >= 0, std::max(e.kind, 0), e.variant, e.direction ? dir : 0))
            << code;
      }
    }
  }
}

// Version 0 records through a whole load, with their reports: tests/common/LevelSetTest.cpp.
class MonsLevelTest : public test::HeadlessTest {
 protected:
  // File: 180 header bytes, then `levels` records of `stored` bytes; record i has the name
  // length byte `nameLength` and grid bytes equal to (i + 1).
  std::string MakeFile(int levels, uint32_t stored, uint8_t nameLength = 4) {
    std::vector<uint8_t> bytes(180, 0);
    for (int i = 0; i < levels; ++i) {
      std::vector<uint8_t> rec(stored, uint8_t(i + 1));
      if (stored > 0) rec[0] = nameLength;
      bytes.insert(bytes.end(), rec.begin(), rec.end());
    }
    std::string name = dir.File("m.bin");
    WriteAll(name, bytes);
    return name;
  }
  TLevelsMons Read(const std::string& file, uint32_t version, int levels, uint32_t stored,
                   bool expectOk = true) {
    TLevelSetHeader h{};
    h.version = version, h.levelCount = levels;
    h.levelRecordSize = std::min<uint32_t>(stored, kMonsLevelRecordSize);
    FileReader reader;
    EXPECT_TRUE(reader.Open(file));
    TLevelsMons out;
    FileFault fault;
    EXPECT_EQ(ReadMonsLevels(reader, h, 180, stored, out, fault), expectOk) << fault.message;
    EXPECT_EQ(fault.message, expectOk ? "" : "Unexpected end of file");
    return out;
  }
};

TEST_F(MonsLevelTest, RecordSizeLimitsWhatIsRead) {
  // 2000 stored: 1536 grid bytes read, the next level found 2000 bytes on.
  TLevelsMons l = Read(MakeFile(2, 2000), 1, 2, 2000);
  ASSERT_EQ(l.size(), 2u);
  EXPECT_EQ(std::make_tuple(l[0].Grid()[1535], l[1].Grid()[0], l[1].name[0], l[1].name[31]),
            std::make_tuple(1, 2, 4, 2));
  // 800 stored: 768 grid bytes, the rest "None".
  l = Read(MakeFile(2, 800), 1, 2, 800);
  EXPECT_EQ(std::make_tuple(l[1].Grid()[767], l[1].Grid()[768]), std::make_tuple(2, 0));
  // 20 stored: 20 bytes of name and no grid.
  l = Read(MakeFile(3, 20), 1, 3, 20);
  ASSERT_EQ(l.size(), 3u);
  EXPECT_EQ(std::make_tuple(l[2].name[19], l[2].name[20], l[2].Grid()[0]),
            std::make_tuple(3, 0, 0));
  // A name length byte above 31 is cut to 31; an unknown version leaves the grid empty.
  EXPECT_EQ(Read(MakeFile(1, 1568, 200), 1, 1, 1568)[0].name[0], 31);
  l = Read(MakeFile(1, 1568), 7, 1, 1568);
  EXPECT_EQ(std::make_tuple(l[0].Grid()[0], l[0].historyLength), std::make_tuple(0, 1u));
  // The last record cut short, and a record size that places levels past the end.
  std::string cut = MakeFile(2, 1568);
  std::vector<uint8_t> bytes = test::ReadAll(cut);
  bytes.pop_back();
  WriteAll(cut, bytes);
  Read(cut, 1, 2, 1568, false);
  Read(MakeFile(2, 32), 1, 2, 0xFFFFFFF0u, false);
  EXPECT_TRUE(headless.log.empty());
}

TEST_F(MonsLevelTest, WritesNameAndCurrentGrid) {
  TLevelsMons levels(1);
  NewMonsLevel(levels[0]);
  SetShortString(levels[0].name, 32, "Maze");
  levels[0].history.push_back(TMonsGrid{});
  levels[0].history[1][3] = 8;
  levels[0].historyIndex = 1, levels[0].historyLength = 2;
  AtomicFileWriter w;
  WriteMonsLevels(w, levels);
  EXPECT_EQ(std::make_tuple(w.Size(), w.Data()[0], w.Data()[32 + 3]),
            std::make_tuple(size_t(1568), 4, 8));
}

}  // namespace
}  // namespace kelvra
