// The file error dialog's logic: texts, history, ignore modes and the retry entries,
// answered by the scripted headless platform.
#include <gtest/gtest.h>

#include "HeadlessTest.h"

#include <cerrno>
#include <cstring>
#include <tuple>
#include <utility>
#include <vector>

#include "base/IOError.h"

namespace kelvra {
namespace {

class IOErrorTest : public test::HeadlessTest {
 protected:
  void Answer(IOErrorChoice choice) { headless.fileErrorAnswers.push_back({choice, {}}); }
};

TEST_F(IOErrorTest, EveryEntryBuildsItsKindCaptionTextAndButtons) {
  const std::string noFile = std::string(std::strerror(ENOENT)) + " (2)";
  struct Case {
    const char* what;
    int kind;
    const char* caption;
    std::string text;
    bool retry;  // and the button to choose another file
  };
  const Case cases[] = {
      {"IOError", 0, "IO Error", noFile + "\r\nLevels/a.BrL", false},
      {"IOErrorRetry", 0, "IO Error", noFile + "\r\nLevels/b.BrL", true},
      {"FileError", 1, "File Error", "File too short\r\nc.MoL", false},
      {"FileErrorRetry", 1, "File Error", "Wrong magic\r\nd.BuL", true},
      {"ErrorMsg", 2, "Internal Error", "Bad square code 77", false},
      {"IOError without a name", 0, "IO Error", noFile, false},
  };
  std::string b = "Levels/b.BrL", d = "d.BuL";
  IOError("Levels/a.BrL", ENOENT);
  IOErrorRetry(b, ENOENT);
  FileError("c.MoL", "File too short");
  FileErrorRetry(d, "Wrong magic");
  ErrorMsg("Bad square code 77");
  IOError("", ENOENT);

  ASSERT_EQ(headless.fileErrors.size(), std::size(cases));
  for (size_t i = 0; i < std::size(cases); ++i) {
    const Case& c = cases[i];
    const IOErrorRequest& r = headless.fileErrors[i];
    EXPECT_EQ(std::tie(r.kind, r.caption, r.text), std::tie(c.kind, c.caption, c.text)) << c.what;
    EXPECT_EQ(std::make_pair(r.retryOffered, r.fileButton), std::make_pair(c.retry, c.retry));
  }
  EXPECT_EQ(headless.fileErrors[1].fileName, "Levels/b.BrL");
  EXPECT_EQ(headless.beeps, 6);  // the "SystemHand" sound with every error shown
  // Every text shown so far travels with each request, in order.
  EXPECT_EQ(gIOError.history.back(), noFile);
  EXPECT_EQ(headless.fileErrorHistorySizes, (std::vector<size_t>{1, 2, 3, 4, 5, 6}));
}

TEST_F(IOErrorTest, IgnoreAllSkipsTextsAlreadyShownOnly) {
  Answer(IOErrorChoice::IgnoreAll);
  IOError("Levels/missing.BrL", ENOENT);
  IOError("Levels/missing.BrL", ENOENT);  // same text: not shown
  IOError("Levels/other.BrL", ENOENT);    // a different file: shown
  IOError("Levels/other.BrL", ENOENT);
  IOError("Levels/missing.BrL", EACCES);  // same file, another error: shown

  ASSERT_EQ(headless.fileErrors.size(), 3u);
  EXPECT_NE(headless.fileErrors[1].text.find("other.BrL"), std::string::npos);
  EXPECT_NE(headless.fileErrors[2].text.find("(" + std::to_string(EACCES) + ")"),
            std::string::npos);

  // A skipped retry entry answers ignore without asking.
  std::string name = "Levels/other.BrL";
  headless.fileErrorAnswers.push_back({IOErrorChoice::Retry, {}});
  EXPECT_TRUE(!IOErrorRetry(name, ENOENT) && headless.fileErrors.size() == 3u);
}

TEST_F(IOErrorTest, IgnoreReallyAllShowsNothingMoreAndEveryRetryAnswersIgnore) {
  Answer(IOErrorChoice::IgnoreReallyAll);
  ErrorMsg("first");
  ASSERT_EQ(gIOError.ignoreMode, 2);

  for (int i = 0; i < 3; ++i) Answer(IOErrorChoice::Retry);  // never consumed
  std::string name = "x.BrL";
  IOError("new.BrL", EIO);
  EXPECT_TRUE(!IOErrorRetry(name, EIO) && !FileErrorRetry(name, "Wrong magic"));
  EXPECT_TRUE(headless.fileErrors.size() == 1u && headless.fileErrorAnswers.size() == 3u);
}

TEST_F(IOErrorTest, RetryWithAChosenFileReplacesTheNameAndCloseIgnores) {
  std::string name = "Levels/old.BrL";
  headless.fileErrorAnswers.push_back({IOErrorChoice::Retry, std::string("/tmp/new.BrL")});
  EXPECT_TRUE(IOErrorRetry(name, ENOENT) && name == "/tmp/new.BrL");

  headless.fileErrorAnswers.push_back({IOErrorChoice::Retry, {}});
  // A plain retry keeps the name.
  EXPECT_TRUE(FileErrorRetry(name, "File too short") && name == "/tmp/new.BrL");
  EXPECT_EQ(headless.fileErrors.back().fileName, "/tmp/new.BrL");

  // A retry answer to an entry without retry is an ignore.
  headless.fileErrorAnswers.push_back({IOErrorChoice::Retry, std::string("/tmp/x")});
  IOError(name, EIO);
  EXPECT_EQ(name, "/tmp/new.BrL");

  // Close queues the main window's close and ignores.
  Answer(IOErrorChoice::Close);
  EXPECT_TRUE(!IOErrorRetry(name, EIO) && headless.closeRequests == 1 && gIOError.ignoreMode == 0);
}

TEST_F(IOErrorTest, FileButtonFilterFollowsTheExtension) {
  const struct {
    const char* name;
    const char* filter;
  } cases[] = {
      {"Levels/Brickfall/Set.BrL", "(*.BrL)|*.BrL|Any file (*.*)|*.*"},
      {"README", "Any file (*.*)|*.*"},
      {"some.dir/README", "Any file (*.*)|*.*"},
  };
  for (const auto& c : cases) EXPECT_EQ(IOErrorFileFilter(c.name), c.filter) << c.name;
}

TEST_F(IOErrorTest, TerminateEndsTheProcessWithCodeOne) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        Answer(IOErrorChoice::Terminate);
        ErrorMsg("fatal");
      },
      ::testing::ExitedWithCode(1), "");
}

}  // namespace
}  // namespace kelvra
