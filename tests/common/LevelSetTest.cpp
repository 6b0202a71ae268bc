// Tests of level-set loading and saving: the header checks and their dialogs, the atomic
// save, failed loads that keep the previous set, and the "Save changes" check.
#include "common/LevelSet.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <functional>
#include <tuple>

#include "HeadlessTest.h"
#include "base/FileIO.h"
#include "base/Paths.h"
#include "brickfall/BrickLevel.h"
#include "burrower/BurrLevel.h"
#include "common/Com.h"
#include "common/Events.h"
#include "common/Kinds.h"
#include "monsters/MonsLevel.h"

namespace kelvra {
namespace {

// Fields of the packed records are compared as copies (unary +): the test macros take
// references, which must not point at unaligned fields.

using test::ReadAll;
using test::WriteAll;

TLevelSetHeader Header(const char* magic, uint32_t version, int32_t levels, uint32_t recordSize,
                       uint32_t elementSize = 0) {
  TLevelSetHeader h{};
  std::memcpy(h.magic, magic, 4);
  h.version = version;
  h.headerSize = 180;
  h.levelCount = levels;
  h.levelRecordSize = recordSize;
  h.elementRecordSize = elementSize;
  return h;
}

std::vector<uint8_t> Bytes(const TLevelSetHeader& h, size_t headerBytes = 180) {
  const auto* p = reinterpret_cast<const uint8_t*>(&h);
  return std::vector<uint8_t>(p, p + headerBytes);
}

// A Burrower file of `count` records, record i filled with bytes i + 1.
std::vector<uint8_t> BurrowerFile(int32_t storedCount, int records, uint32_t version = 1) {
  std::vector<uint8_t> v = Bytes(Header("GBuL", version, storedCount, 276));
  for (int i = 0; i < records; ++i) v.insert(v.end(), 276, uint8_t(i + 1));
  return v;
}

// The level-set service's events, as the tests listen to them.
struct TLevelSetListener : TGameEvents {
  std::vector<std::string> opened, closed;
  std::function<bool()> saveAs;
  void LevelSetOpened(int, const std::string& file) override { opened.push_back(file); }
  void LevelSetClosed(int, const std::string& file) override { closed.push_back(file); }
  bool SaveAsRequested(int) override { return saveAs ? saveAs() : false; }
};

class LevelSetTest : public test::HeadlessTest {
 protected:
  void SetUp() override {
    HeadlessTest::SetUp();
    ResetCom();
    for (int k = 0; k < kKinds; ++k) KindOps(k).FreeLevelSet();
    SetProgramDir(dir.path());
    SetEvents(&events);
  }
  void TearDown() override {
    gFailWriteErrno = 0;
    SetEvents(nullptr);
    for (int k = 0; k < kKinds; ++k) CloseLevelSet(k);
    HeadlessTest::TearDown();
  }

  TLevelSetListener events;

  // Loads a known Burrower set of two levels as the "previous" set.
  std::string LoadPrevious() {
    gCom.kind = gkBurrower;
    std::string name = dir.File("Previous.BuL");
    WriteAll(name, BurrowerFile(2, 2));
    EXPECT_TRUE(LoadLevelSet(gCom.kind, name));
    headless.ClearLog();
    return name;
  }
  void ExpectPreviousKept(const std::string& name) {
    ASSERT_EQ(gBurrLevels.size(), 2u);
    EXPECT_EQ(
        std::make_tuple(gCom.k[gkBurrower].fileName, int(gCom.k[gkBurrower].origin),
                        int(gBurrLevels[1].Record()[0]), +gCom.k[gkBurrower].header.levelCount),
        std::make_tuple(name, int(loFile), 2, 2));
  }
};

TEST_F(LevelSetTest, HeaderSizeAndLevelCountAreLimited) {
  gCom.kind = gkBurrower;
  // A header size of 300 is read as 180: the records follow the 180 header bytes.
  TLevelSetHeader h = Header("GBuL", 1, 1, 276);
  h.headerSize = 300;
  h.description[0] = 200;  // the texts hold 63 bytes at most
  h.finalMessage[0] = 255;
  std::vector<uint8_t> file = Bytes(h);
  file.insert(file.end(), 276, 9);
  WriteAll(dir.File("big.BuL"), file);
  ASSERT_TRUE(LoadLevelSet(gCom.kind, dir.File("big.BuL")));
  ASSERT_EQ(gBurrLevels.size(), 1u);
  EXPECT_EQ(gBurrLevels[0].Record()[275], 9);
  const TLevelSetHeader& read = gCom.k[gkBurrower].header;
  EXPECT_EQ(std::make_tuple(+read.headerSize, int(read.description[0]), int(read.finalMessage[0])),
            std::make_tuple(180u, 63, 63));

  // 8 is read as 16: a 16-byte file is complete, its level count is 0, and a new unnamed
  // set follows.
  h.headerSize = 8;
  WriteAll(dir.File("small.BuL"), Bytes(h, 16));
  EXPECT_TRUE(LoadLevelSet(gCom.kind, dir.File("small.BuL")) &&
              gCom.k[gkBurrower].origin == loNew && gBurrLevels.size() == 1u &&
              headless.log.empty());

  // The level count is limited to 256; none or fewer give a new unnamed set.
  WriteAll(dir.File("many.BuL"), BurrowerFile(1000, 256));
  ASSERT_TRUE(LoadLevelSet(gCom.kind, dir.File("many.BuL")));
  ASSERT_EQ(std::make_pair(gBurrLevels.size(), +gCom.k[gkBurrower].header.levelCount),
            std::make_pair(size_t(256), 256));
  // 256 wraps the byte pattern to 0.
  EXPECT_EQ(std::make_pair(gBurrLevels[254].Record()[0], gBurrLevels[255].Record()[0]),
            std::make_pair(uint8_t(255), uint8_t(0)));

  WriteAll(dir.File("none.BuL"), BurrowerFile(-5, 1));
  EXPECT_TRUE(LoadLevelSet(gCom.kind, dir.File("none.BuL")));
  EXPECT_EQ(std::make_tuple(int(gCom.k[gkBurrower].origin), gCom.k[gkBurrower].fileName,
                            +gCom.k[gkBurrower].header.levelCount, gBurrLevels.size()),
            std::make_tuple(int(loNew), dir.File("Levels/Burrower/NoName.BuL"), 1, size_t(1)));
}

TEST_F(LevelSetTest, OtherVersionAsksRetryIgnoreAbort) {
  std::string previous = LoadPrevious();
  std::string name = dir.File("v2.BuL");
  WriteAll(name, BurrowerFile(3, 3, 2));
  const std::string question =
      "message: " + name + "\r\nFile version is 2, program use version 1 [Retry, Ignore, Abort]";

  headless.messageAnswers = {MsgButton::Abort};
  EXPECT_TRUE(!LoadLevelSet(gCom.kind, name) && headless.log == std::vector<std::string>{question});
  ExpectPreviousKept(previous);

  headless.ClearLog();
  headless.messageAnswers = {MsgButton::Retry, MsgButton::Ignore};
  EXPECT_TRUE(LoadLevelSet(gCom.kind, name));
  EXPECT_EQ(headless.log, (std::vector<std::string>{question, question}));
  EXPECT_EQ(std::make_tuple(gBurrLevels.size(), gCom.k[gkBurrower].fileName,
                            +gCom.k[gkBurrower].header.version),
            std::make_tuple(size_t(3), name, 2u));
}

// A file that fails leaves the set loaded before in place.
TEST_F(LevelSetTest, FaultsOfTheFileKeepThePreviousSet) {
  struct Case {
    int kind;
    std::vector<uint8_t> file;
    std::string message;  // "" when the file loads
  };
  std::vector<uint8_t> blvs = Bytes(Header("BLvs", 4, 1, 140, 16));
  blvs.resize(180 + 140, 0);
  TLevelSetHeader cutHeader = Header("GBuL", 1, 1, 276);
  cutHeader.headerSize = 20;
  std::vector<uint8_t> cutLevel = BurrowerFile(3, 3);
  cutLevel.pop_back();
  const Case cases[] = {
      {gkBrickfall, std::vector<uint8_t>(15, 0), "Minimum size of file is 16 bytes"},
      {gkBrickfall, BurrowerFile(1, 1), "Is not Brickfall levels file"},
      {gkMonsters, BurrowerFile(1, 1), "Is not Monsters levels file"},
      {gkBurrower, Bytes(Header("GMoL", 1, 0, 1568)), "Is not Burrower levels file"},
      {gkBurrower, Bytes(cutHeader, 16), "Unexpected end of file"},  // 20 header bytes
      {gkBurrower, cutLevel, "Unexpected end of file"},
      {gkBrickfall, blvs, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    ResetCom();
    const std::string previous = LoadPrevious();
    gCom.kind = uint8_t(c.kind);
    std::string name = dir.File("case.bin");
    WriteAll(name, c.file);
    EXPECT_EQ(LoadLevelSet(gCom.kind, name), c.message.empty());
    if (c.message.empty()) {
      EXPECT_TRUE(headless.log.empty() && gCom.k[c.kind].origin == loFile);
    } else {
      EXPECT_EQ(headless.log,
                std::vector<std::string>{"file error: File Error: " + c.message + "\r\n" + name});
      // A kind with nothing loaded before gets a new unnamed set.
      if (c.kind == gkBurrower)
        ExpectPreviousKept(previous);
      else
        EXPECT_EQ(gCom.k[c.kind].origin, loNew);
    }
    for (int k = 0; k < kKinds; ++k) CloseLevelSet(k);
  }
}

TEST_F(LevelSetTest, MissingFileGivesTheErrorCodeAndRetryMayPickAnother) {
  gCom.kind = gkBurrower;
  std::string good = dir.File("good.BuL");
  WriteAll(good, BurrowerFile(1, 1));
  IOErrorReply retry{IOErrorChoice::Retry, good};
  headless.fileErrorAnswers = {retry};
  ASSERT_TRUE(LoadLevelSet(gCom.kind, dir.File("missing.BuL")));
  ASSERT_EQ(headless.fileErrors.size(), 1u);
  EXPECT_EQ(headless.fileErrors[0].text, IOErrorMessage(ENOENT) + "\r\n" + dir.File("missing.BuL"));
  EXPECT_EQ(gCom.k[gkBurrower].fileName, good);
}

TEST_F(LevelSetTest, MonstersVersion0InvalidCodeIsReportedPerSquare) {
  gCom.kind = gkMonsters;
  std::vector<uint8_t> file = Bytes(Header("GMoL", 0, 1, 32 + 512));
  const uint8_t name[32] = {3, 'O', 'l', 'd'};
  file.insert(file.end(), name, name + 32);
  std::vector<uint8_t> codes(512, 1);  // earth
  codes[0] = 6;
  codes[100] = 6 | 0x60;  // the direction bits do not make it valid
  codes[511] = 6;
  codes[5] = 16 + 2 + (3 << 5);  // monster of type 2 heading code 3
  file.insert(file.end(), codes.begin(), codes.end());
  WriteAll(dir.File("old.MoL"), file);

  headless.messageAnswers = {MsgButton::Ignore};  // the version question
  ASSERT_TRUE(LoadLevelSet(gCom.kind, dir.File("old.MoL")));
  int errors = int(std::count(headless.log.begin(), headless.log.end(),
                              "file error: Internal Error: Error in decoding level"));
  EXPECT_EQ(errors, 3);
  ASSERT_EQ(gMonsLevels.size(), 1u);
  const TMonsGrid& g = gMonsLevels[0].Grid();
  auto square = [&g](int s) {
    return std::make_tuple(int(g[s * 3]), int(g[s * 3 + 1]), int(g[s * 3 + 2]));
  };
  for (int s : {0, 100, 511}) EXPECT_EQ(square(s), std::make_tuple(0, 0, 0)) << s;
  EXPECT_EQ(std::make_tuple(int(g[1 * 3]), square(5), GetShortString(gMonsLevels[0].name, 32)),
            std::make_tuple(1, std::make_tuple(9, 2, 3), std::string("Old")));
}

TEST_F(LevelSetTest, FinalMessageIsScrambledInTheFile) {
  // Stored byte = not (character - 15); bytes past the length stay as they are.
  const uint8_t plain[] = {4, 'W', 0, 15, 0xFF, 'x'};
  const uint8_t stored[] = {4, 0xB7, 0x0E, 0xFF, 0x0F, 'x'};
  uint8_t field[64] = {};
  std::memcpy(field, plain, sizeof plain);
  ScrambleMessage(field);
  EXPECT_EQ(std::memcmp(field, stored, sizeof stored), 0);
  UnscrambleMessage(field);
  EXPECT_EQ(std::memcmp(field, plain, sizeof plain), 0);

  gCom.kind = gkBurrower;
  NewLevelSet(gCom.kind);
  const std::string message = "Well done, all levels are yours!";
  SetShortString(gCom.k[gkBurrower].header.finalMessage, 64, message);
  SetShortString(gCom.k[gkBurrower].header.description, 64, "Six tests");
  std::string name = dir.File("msg.BuL");
  ASSERT_TRUE(SaveLevelSet(gCom.kind, name));
  EXPECT_EQ(GetShortString(gCom.k[gkBurrower].header.finalMessage, 64), message);

  std::vector<uint8_t> file = ReadAll(name);
  ASSERT_GE(file.size(), 180u);
  EXPECT_EQ(std::make_tuple(size_t(file[96]), int(file[97]), GetShortString(&file[32], 64)),
            std::make_tuple(message.size(), 0xB7, std::string("Six tests")));  // 0xB7: 'W'

  CloseLevelSet(gCom.kind);
  ASSERT_TRUE(LoadLevelSet(gCom.kind, name));
  EXPECT_EQ(GetShortString(gCom.k[gkBurrower].header.finalMessage, 64), message);
}

// Saves the set, loads it back, saves again: the level bytes must be the same.
void ExpectRoundTrip(const std::string& first, const std::string& second, size_t fileSize) {
  ASSERT_TRUE(SaveLevelSet(gCom.kind, first));
  CloseLevelSet(gCom.kind);
  ASSERT_TRUE(LoadLevelSet(gCom.kind, first));
  ASSERT_TRUE(SaveLevelSet(gCom.kind, second));
  std::vector<uint8_t> a = ReadAll(first), b = ReadAll(second);
  ASSERT_EQ(a.size(), fileSize);
  ASSERT_EQ(b.size(), fileSize);
  EXPECT_TRUE(std::equal(a.begin() + 180, a.end(), b.begin() + 180));
  EXPECT_TRUE(std::equal(a.begin(), a.begin() + 160, b.begin()));  // up to the save counter
}

TEST_F(LevelSetTest, AllThreeFormatsRoundTrip) {
  // Brickfall: walls, fields and a second level with no walls.
  gCom.kind = gkBrickfall;
  NewLevelSet(gCom.kind);
  gBrickLevels.resize(2);
  NewBrickLevel(gBrickLevels[1]);
  TLevel& l0 = gBrickLevels[0];
  l0.f.stars = 255;
  l0.f.earthquake = 7;
  l0.f.maxWind = 100;
  l0.f.backgroundColour = 0x00123456;
  l0.f.rightBottomIsLeftTop = 255;
  SetShortString(l0.f.backgroundPicture, 96, "Sky.jpg");
  l0.Walls() = {TWall{10, 20, 3, 5, 26, {1, 2, 3, 4}}, TWall{-4, 380, 0, 0, 0, {}}};
  ExpectRoundTrip(dir.File("a.BrL"), dir.File("b.BrL"), 180u + 2 * 140 + 2 * 16);
  ASSERT_EQ(gBrickLevels[0].Walls().size(), 2u);
  EXPECT_EQ(std::make_pair(int(gBrickLevels[0].Walls()[0].reserved[3]),
                           int(gBrickLevels[0].Walls()[1].x)),
            std::make_pair(4, -4));
  EXPECT_EQ(GetShortString(gBrickLevels[0].f.backgroundPicture, 96), "Sky.jpg");

  // Monsters: named levels with squares.
  gCom.kind = gkMonsters;
  NewLevelSet(gCom.kind);
  gMonsLevels.resize(3);
  for (int i = 0; i < 3; ++i) {
    NewMonsLevel(gMonsLevels[i]);
    SetShortString(gMonsLevels[i].name, 32, "Level " + std::to_string(i));
    for (int s = 0; s < kMonsGridBytes; ++s) gMonsLevels[i].Grid()[s] = uint8_t(s * 7 + i);
  }
  ExpectRoundTrip(dir.File("a.MoL"), dir.File("b.MoL"), 180u + 3 * 1568);
  EXPECT_EQ(GetShortString(gMonsLevels[2].name, 32), "Level 2");
  EXPECT_EQ(gMonsLevels[2].Grid()[1535], uint8_t(1535 * 7 + 2));

  // Burrower.
  gCom.kind = gkBurrower;
  NewLevelSet(gCom.kind);
  gBurrLevels.resize(2);
  NewBurrLevel(gBurrLevels[1]);
  for (int s = 0; s < kBurrLevelRecordSize; ++s) gBurrLevels[1].Record()[s] = uint8_t(s % 7);
  ExpectRoundTrip(dir.File("a.BuL"), dir.File("b.BuL"), 180u + 2 * 276);
  EXPECT_EQ(gBurrLevels[1].Record()[275], 275 % 7);
}

TEST_F(LevelSetTest, SaveWritesTheHeaderFromMemoryOverALongerFile) {
  gCom.kind = gkBurrower;
  NewLevelSet(gCom.kind);
  gBurrLevels.resize(4);  // the count written is that of the levels held
  for (auto& l : gBurrLevels) NewBurrLevel(l);
  gCom.k[gkBurrower].header.editingTime = 700;  // from earlier sessions
  headless.clockNs = 1000 * 1000000LL;
  MarkModified(gCom.kind);
  headless.clockNs = 6500 * 1000000LL;
  headless.dateTime = 45000.25;
  std::string name = dir.File("h.BuL");
  WriteAll(name, std::vector<uint8_t>(100000, 0xAB));  // a longer file leaves no stale bytes
  ASSERT_TRUE(SaveLevelSet(gCom.kind, name));
  TLevelSetHeader h;
  std::vector<uint8_t> file = ReadAll(name);
  EXPECT_EQ(file.size(), 180u + 4 * 276);
  std::memcpy(&h, file.data(), sizeof h);
  EXPECT_EQ(std::make_tuple(std::string(h.magic, 4), +h.version, +h.headerSize, +h.levelCount,
                            +h.levelRecordSize, +h.elementRecordSize, +h.saveCounter,
                            +h.editingTime, +h.lastSave),
            std::make_tuple(std::string("GBuL"), 1u, 180u, 4, 276u, 0u, 1u, 6200, 45000.25));
  EXPECT_EQ(Bytes(gCom.k[gkBurrower].header), Bytes(h));
  EXPECT_EQ(gCom.k[gkBurrower].modified, 0);

  // An unmodified set adds no editing time.
  headless.clockNs = 9000 * 1000000LL;
  ASSERT_TRUE(SaveLevelSet(gCom.kind, name));
  std::memcpy(&h, ReadAll(name).data(), sizeof h);
  EXPECT_EQ(std::make_pair(+h.saveCounter, +h.editingTime), std::make_pair(2u, int64_t(6200)));
}

// The file itself is the writer's (tests/base): a failed save keeps the set's counters and its
// mark, and one retried under another name counts once.
TEST_F(LevelSetTest, FailedAndRetriedSaves) {
  std::string previous = LoadPrevious();
  MarkModified(gCom.kind);
  gFailWriteErrno = ENOSPC;
  EXPECT_TRUE(!SaveLevelSet(gCom.kind, previous) && gCom.k[gkBurrower].header.saveCounter == 0u &&
              gCom.k[gkBurrower].modified == 1);
  ASSERT_EQ(headless.fileErrors.size(), 1u);
  EXPECT_EQ(std::make_pair(headless.fileErrors[0].caption, headless.fileErrors[0].text),
            std::make_pair(std::string("IO Error"), IOErrorMessage(ENOSPC) + "\r\n" + previous));

  gFailWriteErrno = 0;
  events.opened.clear();
  events.closed.clear();
  std::string other = dir.File("other.BuL");
  headless.fileErrorAnswers = {IOErrorReply{IOErrorChoice::Retry, other}};
  ASSERT_TRUE(SaveLevelSet(gCom.kind, dir.File("no/such/folder.BuL")));
  EXPECT_EQ(std::make_tuple(headless.fileErrors.size(), gCom.k[gkBurrower].fileName, events.opened,
                            events.closed),
            std::make_tuple(size_t(2), other, std::vector<std::string>{other},
                            std::vector<std::string>{previous}));
  TLevelSetHeader h;
  std::memcpy(&h, ReadAll(other).data(), sizeof h);
  EXPECT_EQ(+h.saveCounter, 1u);
}

TEST_F(LevelSetTest, SaveChangesCheckAnswers) {
  std::string name = LoadPrevious();
  const std::string question = "message: Save changes to \r\n" + name + " [Yes, No, Cancel]";
  struct Case {
    MsgButton answer;
    bool result;
    uint32_t savedCount;  // save counter afterwards
  };
  const Case cases[] = {
      {MsgButton::No, true, 0},
      {MsgButton::Cancel, false, 0},
      {MsgButton::Yes, true, 1},
  };
  for (const Case& c : cases) {
    MarkModified(gCom.kind);
    headless.ClearLog();
    headless.messageAnswers = {c.answer};
    EXPECT_EQ(SaveChangesCheck(gCom.kind), c.result);
    EXPECT_EQ(headless.log, std::vector<std::string>{question});
    EXPECT_EQ(+gCom.k[gkBurrower].header.saveCounter, c.savedCount);
  }
  EXPECT_EQ(gCom.k[gkBurrower].modified, 0);
  headless.ClearLog();
  EXPECT_TRUE(SaveChangesCheck(gCom.kind) && headless.log.empty());  // nothing to ask

  // A cancelled check stops the load that asked.
  MarkModified(gCom.kind);
  headless.messageAnswers = {MsgButton::Cancel};
  EXPECT_FALSE(LoadLevelSet(gCom.kind, dir.File("whatever.BuL")));
  ExpectPreviousKept(name);
}

TEST_F(LevelSetTest, UnnamedSetAnsweredYesOpensSaveAs) {
  gCom.kind = gkBrickfall;
  NewLevelSet(gCom.kind);
  MarkModified(gCom.kind);
  headless.messageAnswers = {MsgButton::Yes};
  EXPECT_FALSE(SaveChangesCheck(gCom.kind));  // no Save As available: nothing saved

  int asked = 0;
  bool saveResult = false;
  events.saveAs = [&] {
    ++asked;
    return saveResult;
  };
  headless.messageAnswers = {MsgButton::Yes};
  // Save As cancelled.
  EXPECT_TRUE(!SaveChangesCheck(gCom.kind) && asked == 1 && gCom.k[gkBrickfall].modified == 1);

  // A cancelled Save As also cancels the load that asked.
  headless.messageAnswers = {MsgButton::Yes};
  EXPECT_FALSE(LoadLevelSet(gCom.kind, dir.File("x.BrL")));
  EXPECT_EQ(std::make_pair(asked, int(gCom.k[gkBrickfall].origin)), std::make_pair(2, int(loNew)));

  saveResult = true;
  headless.messageAnswers = {MsgButton::Yes};
  EXPECT_TRUE(SaveChangesCheck(gCom.kind) && asked == 3);
}

}  // namespace
}  // namespace kelvra
