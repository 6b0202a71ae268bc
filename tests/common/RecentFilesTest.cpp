// Tests of the recently-opened lists: order, duplicates, capacity, the shown part and the
// settings section they are kept in.
#include "common/RecentFiles.h"

#include <gtest/gtest.h>

#include "TestUtil.h"
#include "base/KIniFile.h"
#include "base/Paths.h"

namespace kelvra {
namespace {

using test::ReadText;
using test::TempDir;
using test::WriteText;

class RecentFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    oldProgramDir_ = ProgramDir();
    SetProgramDir(dir_.path());
  }
  void TearDown() override { SetProgramDir(oldProgramDir_); }
  std::string Abs(const std::string& rel) const { return dir_.File(rel); }
  // Writes the list as the Monsters section of a fresh file and returns the file's text.
  std::string Save(TRecentFiles& r) {
    {
      TKIniFile ini(dir_.File("k.ini"));
      r.Transfer(ini, "Monsters", true);
    }
    return ReadText(dir_.File("k.ini"));
  }
  TRecentFiles Load(const std::string& section, const std::string& text) {
    WriteText(dir_.File("k.ini"), text);
    TKIniFile ini(dir_.File("k.ini"));
    TRecentFiles r;
    r.Transfer(ini, section, false);
    return r;
  }

  TempDir dir_;
  std::string oldProgramDir_;
};

TEST_F(RecentFilesTest, MostRecentFirstWithoutDuplicatesUpToCapacity) {
  TRecentFiles r;
  r.Opened(Abs("a.BrL"));
  r.Opened(Abs("b.BrL"));
  r.Opened(Abs("x/../a.BrL"));           // the same file by another spelling
  r.Opened("Levels\\Brickfall\\c.BrL");  // relative to the program's folder
  EXPECT_EQ(r.Files(),
            (std::vector<std::string>{Abs("Levels/Brickfall/c.BrL"), Abs("a.BrL"), Abs("b.BrL")}));
  EXPECT_EQ(r.OpenFile(), Abs("Levels/Brickfall/c.BrL"));
  r.Closed(Abs("Levels/./Brickfall/c.BrL"));
  EXPECT_EQ(r.OpenFile(), "");

  // At capacity the oldest falls off.
  for (int i = 0; i < 105; ++i) r.Opened(Abs("f" + std::to_string(i)));
  ASSERT_EQ(r.Files().size(), size_t(TRecentFiles::kMaxCount));
  EXPECT_EQ(r.Files().back(), Abs("f5"));
}

TEST_F(RecentFilesTest, SectionWrittenAndReadBack) {
  TRecentFiles r;
  r.Opened("/elsewhere/Outside.MoL");
  r.Opened(Abs("Levels/Monsters/Inside.MoL"));
  EXPECT_EQ(Save(r),
            "[ReopenMonsters]\nReopenCount=2\nReopenLimit=10\n"
            "Reopen0=Levels/Monsters/Inside.MoL\nReopen1=/elsewhere/Outside.MoL\n");

  // A shorter list drops the surplus names of the previous save.
  r = TRecentFiles{};
  r.Opened(Abs("Levels/Monsters/Inside.MoL"));
  EXPECT_EQ(Save(r),
            "[ReopenMonsters]\nReopenCount=1\nReopenLimit=10\n"
            "Reopen0=Levels/Monsters/Inside.MoL\n");

  TRecentFiles back = Load("Monsters", ReadText(dir_.File("k.ini")));
  EXPECT_EQ(back.Files(), r.Files());
}

TEST_F(RecentFilesTest, LoadingToleratesBadSections) {
  struct Case {
    const char* text;
    size_t files;
    int limit;
  };
  const Case cases[] = {
      {"ReopenCount=3\nReopen0=a\nReopen2=c\n", 2, 10},  // a missing entry is skipped
      {"ReopenCount=abc\nReopenLimit=101\nReopen0=a\n", 0, 10},
      {"ReopenCount=2\nReopenLimit=-1\nReopen0=a\nReopen1=  \n", 1, 10},
      {"ReopenCount=2\nReopenLimit=0\nReopen0=a\nReopen1=b\n", 2, 0},
  };
  for (const Case& c : cases) {
    TRecentFiles r = Load("Burrower", std::string("[ReopenBurrower]\n") + c.text);
    EXPECT_EQ(r.Files().size(), c.files) << c.text;
    EXPECT_EQ(r.Limit(), c.limit) << c.text;
    EXPECT_EQ(r.Shown().size(), std::min(c.files, size_t(c.limit))) << c.text;
  }

  // A count above the capacity reads the first 100 names.
  std::string text = "[ReopenBurrower]\nReopenCount=500\n";
  for (int i = 0; i < 120; ++i)
    text += "Reopen" + std::to_string(i) + "=f" + std::to_string(i) + "\n";
  TRecentFiles r = Load("Burrower", text);
  ASSERT_EQ(r.Files().size(), 100u);
  EXPECT_EQ(r.Files().back(), Abs("f99"));
}

}  // namespace
}  // namespace kelvra
