// Tests of the settings file store: parsing, typed reads, the layout written and safe saving.
#include "base/KIniFile.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <tuple>

#include "TestUtil.h"
#include "base/FileIO.h"

namespace kelvra {
namespace {

using test::ReadText;
using test::TempDir;
using test::WriteText;

TEST(KIniFile, NothingIsWrittenUnlessAValueChanged) {
  TempDir dir;
  {
    TKIniFile ini(dir.File("none.ini"));
    EXPECT_TRUE(ini.Int("Options", "GameTick", false, 28) == 28 && !ini.Changed());
  }
  EXPECT_FALSE(FileExists(dir.File("none.ini")));
  WriteText(dir.File("a.ini"), "[S]\r\nK=1\r\n");
  {
    TKIniFile ini(dir.File("a.ini"));
    EXPECT_TRUE(ini.Int("S", "K", false, 0) == 1 && ini.Save());
  }
  EXPECT_EQ(ReadText(dir.File("a.ini")), "[S]\r\nK=1\r\n");  // untouched
}

// Names compare with case, a value is split at the first '=', and of repeated sections and
// keys the first is read.
TEST(KIniFile, ParsesSectionsKeysAndCrLfWithCase) {
  TempDir dir;
  WriteText(dir.File("a.ini"),
            "[One]\r\nA=1\r\nB=x=y\r\nA=2\r\n\r\n[Two]\nA= 7 \nEmpty=\nNoEquals\n[Three]\n"
            "[one]\na=9\n[One]\nL=3\n");
  TKIniFile ini(dir.File("a.ini"));
  auto get = [&](const char* section, const char* key) {
    std::string v;
    return ini.Find(section, key, v) ? "[" + v + "]" : "none";
  };
  EXPECT_EQ(get("One", "A") + get("one", "a") + get("one", "A") + get("One", "B") + get("One", "L"),
            "[1][9]none[x=y][3]");
  EXPECT_EQ(get("Two", "A") + get("Two", "Empty") + get("Two", "NoEquals") + get("Three", "A"),
            "[ 7 ][][]none");
  EXPECT_FALSE(ini.Changed());
}

TEST(KIniFile, TypedReadsTakeTheDefaultForAnythingOutOfTheirRange) {
  // Whole numbers in range; anything else reads as the default, -5.
  const char* const texts[] = {" 17\t", "2147483647", "-2147483648", "2147483648", "-2147483649",
                               "12abc", "",           "1.5"};
  const int32_t want[] = {17, 2147483647, INT32_MIN, -5, -5, -5, -5, -5};
  std::string text = "[S]\nBig=9223372036854775807\nOver=9223372036854775808\nT=5\nF=0\nBad=yes\n";
  for (size_t i = 0; i < std::size(texts); ++i)
    text += "K" + std::to_string(i) + "=" + texts[i] + "\n";
  TempDir dir;
  WriteText(dir.File("a.ini"), text);
  TKIniFile ini(dir.File("a.ini"));
  for (size_t i = 0; i < std::size(texts); ++i)
    EXPECT_EQ(ini.Int("S", "K" + std::to_string(i), false, -5), want[i])
        << "value \"" << texts[i] << "\"";
  // Non-zero is true.
  EXPECT_EQ(std::make_tuple(ini.Int64("S", "Big", false, 1), ini.Int64("S", "Over", false, 1),
                            ini.Bool("S", "T", false, false), ini.Bool("S", "F", false, true),
                            ini.Bool("S", "Bad", false, false)),
            std::make_tuple(INT64_MAX, int64_t(1), true, false, false));
}

TEST(KIniFile, LayoutWrittenExactly) {
  TempDir dir;
  WriteText(dir.File("a.ini"), "[B]\r\nX=1\r\n\r\n\r\n[A]\nY=2\n");
  {
    TKIniFile ini(dir.File("a.ini"));
    ini.Int("A", "Z", true, -3);          // appended to its section
    ini.Int("B", "X", true, 10);          // replaced in place
    ini.Bool("New", "Flag", true, true);  // new section at the end
    ini.Str("New", "Name", true, "two\nlines");
    ini.Int64("New", "Ms", true, -9000000000LL);
  }  // saved by the destructor
  EXPECT_EQ(ReadText(dir.File("a.ini")),
            "[B]\nX=10\n\n[A]\nY=2\nZ=-3\n\n[New]\nFlag=1\nName=two lines\nMs=-9000000000\n");
}

TEST(KIniFile, FailedSaveKeepsTheOldFileAndTheChangedFlag) {
  TempDir dir;
  const std::string old = "[S]\nK=1\n";
  WriteText(dir.File("a.ini"), old);
  {
    TKIniFile ini(dir.File("a.ini"));
    ini.Int("S", "K", true, 2);
    gFailWriteErrno = ENOSPC;
    EXPECT_TRUE(!ini.Save() && ini.Changed() && ReadText(dir.File("a.ini")) == old);
    gFailWriteErrno = 0;
    EXPECT_TRUE(ini.Save() && !ini.Changed());
  }
  EXPECT_EQ(ReadText(dir.File("a.ini")), "[S]\nK=2\n");

  // A folder where the file should be: read as empty and never replaced.
  std::filesystem::create_directory(dir.File("folder.ini"));
  WriteText(dir.File("folder.ini/keep"), "x");
  TKIniFile ini(dir.File("folder.ini"));
  EXPECT_EQ(ini.Int("S", "K", false, 3), 3);
  ini.Int("S", "K", true, 4);
  EXPECT_TRUE(!ini.Save() && ReadText(dir.File("folder.ini/keep")) == "x");
}

}  // namespace
}  // namespace kelvra
