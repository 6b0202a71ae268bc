// Tests of the high scores: the entry rules (0, ties, same player in another case, a full
// table), the end-of-game check for each kind of game, the table file and its failures.
#include "common/Scores.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <optional>
#include <tuple>

#include "HeadlessTest.h"
#include "base/FileIO.h"
#include "base/Paths.h"
#include "common/Com.h"
#include "common/Events.h"
#include "common/Kinds.h"
#include "common/Settings.h"

namespace kelvra {
namespace {

using test::ReadAll;
using test::WriteAll;

// A table of (score, name) pairs, best first; the rest empty.
TScoreTable Table(const std::vector<std::pair<uint32_t, std::string>>& rows) {
  TScoreTable t{};
  for (size_t i = 0; i < rows.size(); ++i) {
    t.entry[i].score = rows[i].first;
    t.entry[i].levelsTime = 1000u * uint32_t(i + 1);
    t.entry[i].date = 45000.0 + double(i);
    SetShortString(t.entry[i].name, kScoreNameField, rows[i].second);
  }
  return t;
}

// A:1000, B:900 ... J:100
TScoreTable FullTable() {
  std::vector<std::pair<uint32_t, std::string>> rows;
  for (int i = 0; i < kScoreEntries; ++i)
    rows.push_back({1000u - 100u * i, std::string(1, 'A' + i)});
  return Table(rows);
}

std::vector<uint8_t> Bytes(const TScoreTable& t) {
  const auto* p = reinterpret_cast<const uint8_t*>(&t);
  return std::vector<uint8_t>(p, p + sizeof t);
}

std::string Names(const TScoreTable& t) {
  std::string s;
  for (const TScoreEntry& e : t.entry) {
    if (e.score == 0) break;
    if (!s.empty()) s += ' ';
    s += ScoreName(e) + ":" + std::to_string(e.score);
  }
  return s;
}

class ScoresTest : public test::HeadlessTest {
 protected:
  void SetUp() override {
    HeadlessTest::SetUp();
    ResetCom();
    gOptions = TOptions{};
    gScores = TScores{};
    gFailWriteErrno = 0;
    headless.ClearLog();
    headless.textAnswers.clear();
    headless.fileErrorAnswers.clear();
    gameEnds = tablesShown = 0;
    pauses.clear();
    SetEvents(&events);
    UseLevelSet(gkBrickfall, "Set.BrL");
  }
  void TearDown() override {
    gFailWriteErrno = 0;
    SetEvents(nullptr);
    HeadlessTest::TearDown();
  }

  void UseLevelSet(GameKind kind, const std::string& name) {
    gCom.kind = kind;
    Cur().origin = loFile;
    Cur().fileName = dir.File(name);
  }
  std::string TableFile() const { return HighScoresFile(Cur().fileName); }

  // The end of a game-over show of a one-player game that scored `score`.
  void GameOver(int32_t score, uint32_t gameTime = 61000) {
    TKindState& s = Cur();
    s.state = gsGameOverShow;
    gCom.countdown = 0;
    s.playersMinusOne = 0;
    s.testGame = 0;
    s.running = 1;
    s.score[0] = score;
    s.gameTime = gameTime;
  }

  int gameEnds = 0;
  int tablesShown = 0;
  std::string pauses;
  // What the check tells the session: game ends, dialog brackets, tables shown.
  struct TEvents : TGameEvents {
    explicit TEvents(ScoresTest& t) : t(t) {}
    void GameEnded(int) override { ++t.gameEnds; }
    void DialogShown(bool begin) override { t.pauses += begin ? "(" : ")"; }
    void HighScoresChanged(int) override { ++t.tablesShown; }
    ScoresTest& t;
  } events{*this};
};

TEST_F(ScoresTest, EntryRules) {
  struct Case {
    const char* what;
    TScoreTable before;
    uint32_t score;
    const char* name;
    int position;  // -1: table unchanged
    const char* after;
  };
  const Case cases[] = {
      {"first entry", Table({}), 50, "Ann", 0, "Ann:50"},
      {"0 never enters", Table({}), 0, "Ann", -1, ""},
      {"tie goes below", Table({{500, "A"}, {300, "B"}}), 300, "C", 2, "A:500 B:300 C:300"},
      {"passes lower only", Table({{500, "A"}, {300, "B"}}), 400, "C", 1, "A:500 C:400 B:300"},
      {"same name, other case, lower", Table({{500, "Ann"}, {300, "B"}}), 400, "aNN", -1,
       "Ann:500 B:300"},
      {"same name, equal", Table({{500, "A"}, {300, "Bob"}}), 300, "BOB", -1, "A:500 Bob:300"},
      {"same name, higher, moves up past lower",
       Table({{900, "A"}, {500, "B"}, {400, "C"}, {300, "bob"}}), 600, "Bob", 1,
       "A:900 Bob:600 B:500 C:400"},
      {"same name, higher, stays below an equal", Table({{900, "A"}, {500, "B"}, {300, "bob"}}),
       500, "BOB", 2, "A:900 B:500 BOB:500"},
      {"same name keeps one entry in a full table", FullTable(), 650, "j", 4,
       "A:1000 B:900 C:800 D:700 j:650 E:600 F:500 G:400 H:300 I:200"},
      {"full table drops the tenth", FullTable(), 850, "New", 2,
       "A:1000 B:900 New:850 C:800 D:700 E:600 F:500 G:400 H:300 I:200"},
      {"full table, equal to the tenth", FullTable(), 100, "New", -1,
       "A:1000 B:900 C:800 D:700 E:600 F:500 G:400 H:300 I:200 J:100"},
      {"full table, one above the tenth", FullTable(), 101, "New", 9,
       "A:1000 B:900 C:800 D:700 E:600 F:500 G:400 H:300 I:200 New:101"},
      {"best of all", FullTable(), 5000, "Top", 0,
       "Top:5000 A:1000 B:900 C:800 D:700 E:600 F:500 G:400 H:300 I:200"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TScoreTable t = c.before;
    EXPECT_EQ(EnterScore(t, c.score, c.name, 46000.5, 7000), c.position);
    EXPECT_EQ(Names(t), c.after);
    if (c.position < 0)
      EXPECT_EQ(Bytes(t), Bytes(c.before));
    else
      EXPECT_TRUE(t.entry[c.position].date == 46000.5 && t.entry[c.position].levelsTime == 7000u);
  }
}

TEST_F(ScoresTest, CleanPlayerName) {
  const std::pair<const char*, const char*> cases[] = {
      {"Ann", "Ann"},
      {"  Ann  ", "Ann"},
      {"   ", "Unknown"},
      {"abcdefghijklmnopqrst", "abcdefghijklmno"},
      {"abcdefghijklmn  xyz", "abcdefghijklmn"},
      {"a\tb\nc", "a b c"},
      {"\xC3\xA4\xC3\xB6\xC3\xBC\xC3\xA4\xC3\xB6\xC3\xBC\xC3\xA4\xC3\xB6\xC3\xBC\xC3\xA4\xC3\xB6"
       "\xC3\xBC\xC3\xA4\xC3\xB6\xC3\xBC\xC3\xA4",
       "\xC3\xA4\xC3\xB6\xC3\xBC\xC3\xA4\xC3\xB6\xC3\xBC\xC3\xA4\xC3\xB6\xC3\xBC\xC3\xA4\xC3\xB6"
       "\xC3\xBC\xC3\xA4\xC3\xB6\xC3\xBC"},
  };
  for (auto& [typed, stored] : cases) EXPECT_EQ(CleanPlayerName(typed), stored) << typed;
}

// One game over and the frame after it: whether the name is asked for, the name remembered,
// the table in memory and on disk, and what the session is told.
TEST_F(ScoresTest, GameOverCheck) {
  struct Case {
    const char* what;
    GameKind kind;
    int32_t score;
    std::optional<std::string> answer;  // typed in the name dialog, if it is shown
    bool asks;
    const char* player;  // the name remembered afterwards
    const char* stored;  // the name entered in the table; "" when nothing is entered
    int playersMinusOne = 0;
    uint8_t testGame = 0, reborn = 1;
    bool full = false;  // the table holds FullTable() before
  };
  const Case cases[] = {
      {"new result", gkBrickfall, 1234, "Bob", true, "Bob", "Bob"},
      {"cancelled", gkBrickfall, 300, std::nullopt, true, "Ann", ""},
      {"blank name", gkBrickfall, 300, "   ", true, "Unknown", "Unknown"},
      {"score 0", gkBrickfall, 0, {}, false, "Ann", ""},
      {"negative score", gkBrickfall, -5, {}, false, "Ann", ""},
      {"two players", gkBrickfall, 500, {}, false, "Ann", "", 1},
      {"test game", gkBrickfall, 500, {}, false, "Ann", "", 0, 1},
      {"Burrower without reborn", gkBurrower, 500, "Cy", true, "Cy", "Cy", 0, 0, 0},
      {"Burrower with reborn", gkBurrower, 500, {}, false, "Ann", ""},
      {"Monsters", gkMonsters, 500, {}, false, "Ann", "", 0, 0, 0},
      {"equal to the tenth: not even asked", gkBrickfall, 100, {}, false, "Ann", "", 0, 0, 1, true},
      {"qualifies, but c holds 800: the answer is still remembered", gkBrickfall, 650, "c", true,
       "c", "", 0, 0, 1, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SetUp();
    UseLevelSet(c.kind, std::string("Set.") + KindExtension(c.kind));
    std::remove(TableFile().c_str());  // left by an earlier case
    gOptions.playerName = "Ann";
    gOptions.burr.reborn = c.reborn;
    headless.dateTime = 46123.25;
    if (c.full) gScores.table[c.kind] = FullTable();
    TScoreTable want = gScores.table[c.kind];
    if (*c.stored) EnterScore(want, uint32_t(c.score), c.stored, 46123.25, 98000);
    if (c.asks) headless.textAnswers.push_back(c.answer);
    GameOver(c.score, 98000);
    Cur().playersMinusOne = c.playersMinusOne;
    Cur().testGame = c.testGame;
    HighScoreCheck(gCom.kind);
    HighScoreCheck(gCom.kind);  // the next frame finds the game ended and does nothing
    EXPECT_EQ(std::make_tuple(int(Cur().state), gameEnds, pauses, gOptions.playerName, tablesShown),
              std::make_tuple(int(gsGameEnded), 1, std::string(c.asks ? "()" : ""),
                              std::string(c.player), *c.stored ? 1 : 0));
    EXPECT_EQ(headless.log, c.asks ? std::vector<std::string>{"text: Enter Your Name: Name: [Ann]"}
                                   : std::vector<std::string>{});
    EXPECT_EQ(Bytes(gScores.table[c.kind]), Bytes(want));
    EXPECT_EQ(FileExists(TableFile()) ? ReadAll(TableFile()) : std::vector<uint8_t>{},
              *c.stored ? Bytes(want) : std::vector<uint8_t>{});
  }
}

TEST_F(ScoresTest, OnlyTheEndOfTheGameOverShowIsChecked) {
  struct Case {
    uint8_t state;
    int32_t countdown;
  };
  const Case cases[] = {{gsGameOverShow, 1}, {gsGameOverShow, 64}, {gsAllLevelsDone, 0},
                        {gsGameEnded, 0},    {gsPlaying, 0},       {gsAborted, 0},
                        {gsPlayersOut, 0},   {gsLevelDone, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(int(c.state));
    GameOver(500);
    Cur().state = c.state;
    gCom.countdown = c.countdown;
    HighScoreCheck(gCom.kind);
    EXPECT_EQ(std::make_tuple(int(Cur().state), int(gCom.countdown), gameEnds, headless.log.size()),
              std::make_tuple(int(c.state), int(c.countdown), 0, size_t(0)));
  }
}

TEST_F(ScoresTest, FileRoundTripAndNaming) {
  EXPECT_EQ(HighScoresFile("/a/b/Default.BrL") + " " + HighScoresFile("/a/b.c/NoExt"),
            "/a/b/Default.HSc /a/b.c/NoExt.HSc");
  {  // An installed program's own sets: the user's data folder; others stay beside the set.
    const std::string program = ProgramDir();
    const char* old = std::getenv("XDG_DATA_HOME");
    const std::string saved = old ? old : "";
    setenv("XDG_DATA_HOME", "/home/u/data", 1);
    SetProgramDir("/usr/share/kelvra");
    EXPECT_EQ(HighScoresFile("/usr/share/kelvra/Levels/Burrower/Default.BuL") + " " +
                  HighScoresFile("/usr/share/Mine.BrL"),
              "/home/u/data/kelvra/Levels/Burrower/Default.HSc /usr/share/Mine.HSc");
    SetProgramDir(program);
    if (old)
      setenv("XDG_DATA_HOME", saved.c_str(), 1);
    else
      unsetenv("XDG_DATA_HOME");
  }

  gScores.table[gkBrickfall] = FullTable();
  ASSERT_TRUE(SaveHighScores(gCom.kind));
  EXPECT_EQ(ReadAll(dir.File("Set.HSc")), Bytes(FullTable()));

  gScores.table[gkBrickfall] = TScoreTable{};
  LoadHighScores(gCom.kind);
  EXPECT_TRUE(Bytes(gScores.table[gkBrickfall]) == Bytes(FullTable()) && headless.log.empty());

  // Each kind has its own table; Monsters has none and writes none.
  UseLevelSet(gkMonsters, "Set.MoL");
  gScores.table[gkMonsters] = FullTable();
  LoadHighScores(gCom.kind);
  EXPECT_EQ(gScores.table[gkMonsters].entry[0].score, 0u);
  gScores.table[gkMonsters] = FullTable();
  EXPECT_TRUE(SaveHighScores(gCom.kind) && ReadAll(dir.File("Set.HSc")) == Bytes(FullTable()) &&
              Bytes(gScores.table[gkBrickfall]) == Bytes(FullTable()));
}

TEST_F(ScoresTest, MissingFileAndUnsavedSetsGiveEmptyTables) {
  gScores.table[gkBrickfall] = FullTable();
  LoadHighScores(gCom.kind);  // another set without a table: nothing of the old one stays
  EXPECT_TRUE(Bytes(gScores.table[gkBrickfall]) == Bytes(TScoreTable{}) && headless.log.empty());

  // A new unnamed set keeps its table in memory; the shared "NoName" file is not touched.
  WriteAll(dir.File("NoName.HSc"), Bytes(FullTable()));
  Cur().origin = loNew;
  Cur().fileName = dir.File("NoName.BrL");
  LoadHighScores(gCom.kind);
  EXPECT_EQ(gScores.table[gkBrickfall].entry[0].score, 0u);
  GameOver(777);
  headless.textAnswers.push_back("Ann");
  HighScoreCheck(gCom.kind);
  EXPECT_TRUE(gScores.table[gkBrickfall].entry[0].score == 777u && tablesShown == 1 &&
              ReadAll(dir.File("NoName.HSc")) == Bytes(FullTable()));
}

TEST_F(ScoresTest, DamagedFiles) {
  TScoreTable good = FullTable();
  std::vector<uint8_t> bytes = Bytes(good);

  struct Case {
    const char* what;
    size_t size;
    int wholeEntries;
    bool reported;
  };
  const Case cases[] = {
      {"empty", 0, 0, true},
      {"one and a half entries", 100, 1, true},
      {"one byte short", 639, 9, true},
      {"exact", 640, 10, false},
      {"longer", 700, 10, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<uint8_t> file = bytes;
    file.resize(c.size, 0xEE);
    WriteAll(TableFile(), file);
    headless.ClearLog();
    ResetIOErrors();
    LoadHighScores(gCom.kind);
    const TScoreTable& t = gScores.table[gkBrickfall];
    for (int i = 0; i < kScoreEntries; ++i)
      EXPECT_EQ(t.entry[i].score, i < c.wholeEntries ? good.entry[i].score : 0u) << i;
    ASSERT_EQ(headless.fileErrors.size(), c.reported ? 1u : 0u);
    if (c.reported) {
      EXPECT_TRUE(headless.fileErrors[0].caption == "File Error" &&
                  headless.fileErrors[0].retryOffered);
      EXPECT_NE(headless.fileErrors[0].text.find("High scores file is damaged: " +
                                                 std::to_string(c.size) + " bytes instead of 640"),
                std::string::npos);
    }
  }
  // "&File..." picks a good copy, which the retry reads.
  WriteAll(TableFile(), std::vector<uint8_t>(10, 1));
  WriteAll(dir.File("Copy.HSc"), bytes);
  headless.fileErrorAnswers.push_back({IOErrorChoice::Retry, dir.File("Copy.HSc")});
  LoadHighScores(gCom.kind);
  EXPECT_EQ(Bytes(gScores.table[gkBrickfall]), bytes);
}

// Entered and stored names alike hold at most 47 bytes, and never half a UTF-8 character.
TEST_F(ScoresTest, NameLengthsAreLimitedToTheField) {
  std::string umlauts;
  for (int i = 0; i < 30; ++i) umlauts += "\xC3\xA4";
  const std::pair<std::string, int> entered[] = {{std::string(60, 'x'), kMaxScoreName},
                                                 {umlauts, 46}};
  for (const auto& [name, length] : entered) {
    TScoreTable t{};
    EnterScore(t, 10, name, 0, 0);
    EXPECT_EQ(t.entry[0].name[0], length);
  }
  TScoreTable t = FullTable();
  const uint8_t storedLengths[] = {255, 48, 47};
  for (int i = 0; i < 3; ++i) t.entry[i].name[0] = storedLengths[i];
  WriteAll(TableFile(), Bytes(t));
  LoadHighScores(gCom.kind);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(gScores.table[gkBrickfall].entry[i].name[0], 47) << i;
  EXPECT_EQ(ScoreName(gScores.table[gkBrickfall].entry[0]).size(), 47u);
}

// A FIFO is refused at once, never waited on; a failed save offers a retry, then gives up.
TEST_F(ScoresTest, ReadAndWriteErrors) {
  ASSERT_EQ(mkfifo(TableFile().c_str(), 0600), 0);
  gScores.table[gkBrickfall] = FullTable();
  LoadHighScores(gCom.kind);
  EXPECT_EQ(gScores.table[gkBrickfall].entry[0].score, 0u);
  ASSERT_EQ(headless.fileErrors.size(), 1u);
  EXPECT_EQ(headless.fileErrors[0].caption, "IO Error");

  UseLevelSet(gkBrickfall, "Other.BrL");
  gScores.table[gkBrickfall] = Table({{5, "Z"}});
  gFailWriteErrno = ENOSPC;
  headless.fileErrorAnswers.push_back({IOErrorChoice::Retry, ""});  // retry once, then give up
  EXPECT_FALSE(SaveHighScores(gCom.kind));
  ASSERT_EQ(headless.fileErrors.size(), 3u);
  EXPECT_EQ(headless.fileErrors[2].caption, "IO Error");
  gFailWriteErrno = 0;
  EXPECT_TRUE(SaveHighScores(gCom.kind));
  EXPECT_EQ(ReadAll(TableFile()), Bytes(gScores.table[gkBrickfall]));
}

TEST_F(ScoresTest, WindowTexts) {
  const std::pair<uint32_t, const char*> thousands[] = {
      {999, "999"}, {1000, "1,000"}, {1234567, "1,234,567"}, {4294967295u, "4,294,967,295"}};
  for (auto& [v, s] : thousands) EXPECT_EQ(FormatThousands(v), s);

  const std::pair<double, const char*> dates[] = {
      {0.0, "1899-12-30 00:00:00"},
      {45365.753576, "2024-03-14 18:05:09"},
      {45351.5, "2024-02-29 12:00:00"},  // first and last days of months
      {45352.0, "2024-03-01 00:00:00"},
      {36647.5, "2000-05-01 12:00:00"},
      {36923.5, "2001-02-01 12:00:00"},
      {-1.25, "1899-12-29 06:00:00"},
      {2958465.9999, "9999-12-31 23:59:51"},
      {2958466.0, ""},
      {-1e300, ""},
      {INFINITY, ""},
      {NAN, ""},
      {0.99999999999, "1899-12-30 23:59:59"}};
  for (auto& [d, s] : dates) EXPECT_EQ(FormatScoreDate(d), s) << d;

  const std::pair<uint32_t, const char*> durations[] = {
      {999, "0:00:00"}, {3723000, "1:02:03"}, {4294967295u, "1193:02:47"}};
  for (auto& [ms, s] : durations) EXPECT_EQ(FormatDuration(ms), s);
}

}  // namespace
}  // namespace kelvra
