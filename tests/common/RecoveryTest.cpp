// Tests of the recovery copies: written while a set is modified (at most once per period),
// restored under the set's own name on the next start, removed by a save or a discard.
#include "common/Recovery.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "HeadlessTest.h"
#include "base/FileIO.h"
#include "base/Paths.h"
#include "burrower/BurrLevel.h"
#include "common/Com.h"
#include "common/Kinds.h"
#include "common/LevelSet.h"

namespace kelvra {
namespace {

using test::ReadAll;
using test::WriteAll;

constexpr size_t kFirstRecord = 180;  // Burrower: the header, then 276-byte level records

class RecoveryTest : public test::HeadlessTest {
 protected:
  void SetUp() override {
    HeadlessTest::SetUp();
    ResetCom();
    for (int k = 0; k < kKinds; ++k) KindOps(k).FreeLevelSet();
    SetProgramDir(dir.path());
    setenv("XDG_STATE_HOME", dir.File("state").c_str(), 1);
    // A two-level Burrower set saved by the program, loaded as the user's file.
    gCom.kind = gkBurrower;
    NewLevelSet(gkBurrower);
    gBurrLevels.resize(2);
    for (auto& l : gBurrLevels) NewBurrLevel(l);
    ASSERT_TRUE(SaveLevelSet(gkBurrower, set));
    saved = ReadAll(set);
  }
  void TearDown() override {
    for (int k = 0; k < kKinds; ++k) {
      RemoveRecoveryCopy(k);
      CloseLevelSet(k);
    }
    unsetenv("XDG_STATE_HOME");
    HeadlessTest::TearDown();
  }

  // Changes the first byte of the second level, as an edit would.
  void Edit(uint8_t value) {
    gBurrLevels[1].Record()[0] = value;
    MarkModified(gkBurrower);
  }
  uint8_t CopiedByte() {
    std::vector<uint8_t> copy = ReadAll(RecoveryFile(gkBurrower));
    return copy.size() > kFirstRecord + 276 ? copy[kFirstRecord + 276] : 0;
  }

  std::string set = dir.File("Mine.BuL");
  std::vector<uint8_t> saved;
};

TEST_F(RecoveryTest, WrittenWhileModifiedRestoredOnTheNextStartRemovedBySave) {
  KeepRecoveryCopies(1000);
  EXPECT_FALSE(HasRecoveryCopy(gkBurrower));  // nothing to keep

  Edit(0x5A);
  KeepRecoveryCopies(1000);
  ASSERT_TRUE(HasRecoveryCopy(gkBurrower));
  // The copy where it belongs, with the edit; the user's file is not touched.
  EXPECT_EQ(std::make_tuple(RecoveryFile(gkBurrower), CopiedByte(), ReadAll(set)),
            std::make_tuple(dir.File("state") + "/kelvra/Burrower.BuL", uint8_t(0x5A), saved));

  // At most one copy per period; a signal writes at once.
  Edit(0x6B);
  KeepRecoveryCopies(1000 + kRecoveryPeriodMs - 1);
  EXPECT_EQ(CopiedByte(), 0x5A);
  KeepRecoveryCopies(1000 + kRecoveryPeriodMs);
  EXPECT_EQ(CopiedByte(), 0x6B);
  Edit(0x7C);
  WriteRecoveryCopies(1000 + kRecoveryPeriodMs + 1);
  EXPECT_EQ(CopiedByte(), 0x7C);

  // The program ends without saving; the next start restores the work under the set's name.
  CloseLevelSet(gkBurrower);
  ASSERT_TRUE(HasRecoveryCopy(gkBurrower) && LoadLevelSet(gkBurrower, set));
  EXPECT_EQ(gBurrLevels[1].Record()[0], 0);
  ASSERT_TRUE(RestoreRecoveryCopy(gkBurrower));
  const TKindState& s = gCom.k[gkBurrower];
  EXPECT_EQ(std::make_tuple(s.fileName, int(s.origin), int(s.modified), gBurrLevels.size(),
                            int(gBurrLevels[1].Record()[0]), +s.header.saveCounter),
            std::make_tuple(set, int(loFile), 1, size_t(2), 0x7C, 1u));

  ASSERT_TRUE(SaveLevelSet(gkBurrower, s.fileName));
  EXPECT_TRUE(!HasRecoveryCopy(gkBurrower) && ReadAll(set)[kFirstRecord + 276] == 0x7C);
}

TEST_F(RecoveryTest, BadCopiesNeverCrashAndDiscardRemovesTheCopy) {
  // A damaged name gives an unnamed set with the levels; a damaged copy keeps the set.
  Edit(9);
  WriteRecoveryCopies(0);
  WriteAll(RecoveryDir() + "Burrower.name", {'x'});
  ClearModified(gkBurrower);  // as at a start
  ASSERT_TRUE(RestoreRecoveryCopy(gkBurrower));
  EXPECT_EQ(std::make_tuple(gCom.k[gkBurrower].fileName, int(gCom.k[gkBurrower].origin),
                            int(gBurrLevels[1].Record()[0])),
            std::make_tuple(NoNameLevelSetFile(gkBurrower), int(loNew), 9));

  ClearModified(gkBurrower);
  ASSERT_TRUE(LoadLevelSet(gkBurrower, set));
  WriteAll(RecoveryFile(gkBurrower), {1, 2, 3});
  EXPECT_FALSE(RestoreRecoveryCopy(gkBurrower));
  EXPECT_EQ(std::make_pair(gCom.k[gkBurrower].fileName, gBurrLevels.size()),
            std::make_pair(set, size_t(2)));

  // Discarding the changes removes the copy.
  Edit(1);
  WriteRecoveryCopies(0);
  ASSERT_TRUE(HasRecoveryCopy(gkBurrower));
  headless.messageAnswers = {MsgButton::No};
  EXPECT_TRUE(SaveChangesCheck(gkBurrower));
  EXPECT_FALSE(HasRecoveryCopy(gkBurrower));
}

}  // namespace
}  // namespace kelvra
