// Tests of the settings transfer: defaults, range checks, file names relative to the
// program's folder, the exact file written and a round trip of every setting.
#include "common/Settings.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <tuple>

#include "TestUtil.h"
#include "base/KIniFile.h"
#include "base/Paths.h"
#include "common/Com.h"
#include "common/RecentFiles.h"

namespace kelvra {
namespace {

using test::ReadText;
using test::TempDir;
using test::WriteText;

class SettingsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    oldProgramDir_ = ProgramDir();
    SetProgramDir(dir_.path() + "prog/");
    std::filesystem::create_directories(dir_.path() + "prog");
    ResetCom();
    gOptions = TOptions{};
  }
  void TearDown() override {
    SetProgramDir(oldProgramDir_);
    ResetCom();
    gOptions = TOptions{};
  }
  std::string IniPath() const { return dir_.File("prog/kelvra.ini"); }
  // Loads the given file text into the globals, starting from scrambled values so that
  // every key the transfer skips would show.
  void Load(const std::string& text, const TSettingsContext& context = {}) {
    WriteText(IniPath(), text);
    TKIniFile ini(IniPath());
    SettingsTransfer(ini, false, context);
    EXPECT_FALSE(ini.Changed());  // loading never writes
  }
  std::string Save(const TSettingsContext& context = {}) {
    std::filesystem::remove(IniPath());
    {
      TKIniFile ini(IniPath());
      SettingsTransfer(ini, true, context);
      EXPECT_TRUE(ini.Save());
    }
    return ReadText(IniPath());
  }

  TempDir dir_;
  std::string oldProgramDir_;
};

TEST_F(SettingsTest, EmptyFileGivesDefaultsAndCentresTheWindow) {
  gOptions.gameTick = 5;
  gCom.keyMap[3][5] = 1;
  gCom.player[2].colour = 0;
  Load("");
  // Half colours are recomputed after loading; the window is centred on 1920 x 1080.
  EXPECT_EQ(std::make_tuple(int(gOptions.gameTick), int(gCom.keyMap[3][5]),
                            gCom.player[2].halfColour, gOptions.mainLeft, gOptions.mainTop),
            std::make_tuple(28, 0x67, 0x7F3F00u, 640, 320));
}

// Malformed values, keys in another case and values outside the options' table (player
// counts, inputs, keys and colours) give the defaults.
TEST_F(SettingsTest, BadValuesGiveDefaults) {
  struct Case {
    const char* section;
    const char* key;
    const char* value;
    std::function<int64_t()> get;
    int64_t expected;
  };
  const Case cases[] = {
      {"Options", "GameTick", "abc", [] { return gOptions.gameTick; }, 28},
      {"Options", "GAMEKIND", "2", [] { return gCom.kind; }, 0},
      {"Options", "PlayerName", "  ", [] { return gOptions.playerName == "Unknown"; }, 1},
      {"Options", "NowPlayersMonsters", "5", [] { return gCom.k[1].playersMinusOne; }, 1},
      {"Player3", "Input", "6", [] { return gCom.player[2].input; }, 2},
      {"Keyboard2", "Fire2", "256", [] { return gCom.keyMap[1][5]; }, 0xC0},
      {"Options", "FullScreenBits", "12", [] { return gOptions.fullScreenBits; }, 32},
  };
  for (const Case& c : cases) {
    ResetCom();
    gOptions = TOptions{};
    Load(std::string("[") + c.section + "]\n" + c.key + "=" + c.value + "\n");
    EXPECT_EQ(c.get(), c.expected) << c.section << "/" << c.key << "=" << c.value;
  }
}

TEST_F(SettingsTest, LevelsFileRelativeToTheProgramFolder) {
  Load("[Options]\nLevelsFileMonsters=Levels\\Monsters\\..\\Monsters\\Set.MoL\n");
  EXPECT_EQ(gOptions.levelsFile[1], ProgramDir() + "Levels/Monsters/Set.MoL");
  const std::string inside = ProgramDir() + "Levels/Brickfall/Mine.BrL";
  const std::string outside = dir_.File("elsewhere/Other.MoL");
  TSettingsContext c;
  c.levelsFromFile[0] = c.levelsFromFile[1] = true;  // Burrower's set is a new one
  gCom.k[0].origin = loFile;
  gCom.k[0].fileName = inside;
  gOptions.levelsFile[1] = outside;
  gOptions.levelsFile[2] = ProgramDir() + "Levels/Burrower/NoName.BuL";
  std::string text = Save(c);
  EXPECT_NE(text.find("LevelsFileBrickfall=Levels/Brickfall/Mine.BrL\n"), std::string::npos);
  EXPECT_NE(text.find("LevelsFileMonsters=" + outside + "\n"), std::string::npos);
  EXPECT_EQ(text.find("LevelsFileBurrower"), std::string::npos);

  // The whole program folder moves; the relative name follows it.
  std::filesystem::rename(dir_.path() + "prog", dir_.path() + "moved");
  SetProgramDir(dir_.path() + "moved");
  gOptions = TOptions{};
  TKIniFile ini(dir_.File("moved/kelvra.ini"));
  SettingsTransfer(ini, false, {});
  EXPECT_EQ(std::vector<std::string>(gOptions.levelsFile, gOptions.levelsFile + 3),
            (std::vector<std::string>{dir_.File("moved/Levels/Brickfall/Mine.BrL"), outside,
                                      ProgramDir() + "Levels/Burrower/Default.BuL"}));
}

TEST_F(SettingsTest, FileWrittenInTheFixedOrder) {
  gCom.k[2].playersMinusOne = 3;
  gCom.kind = 2;
  gCom.mirrorGame = 1;
  gOptions.mons.blackSquares = 1;  // never stored
  TSettingsContext c;
  const std::string expected =
      "[Options]\nGameKind=2\nNowPlayersBrickfall=1\nNowPlayersMonsters=1\n"
      "NowPlayersBurrower=3\nPlayerName=Unknown\nGameTick=28\nProcessPriority=1\n"
      "ThreadPriority=3\nDelayTime=20\nFullScreen=1\nFullScreenBits=32\nWaitRetrace=1\n"
      "Sounds=1\nReduceSounds=1\nSound16bits=0\nSoundFrequency=22050\nSoundStereo=1\n"
      "Music=1\nScoresLeft=-1\nScoresTop=-1\nGameInfoLeft=-1\nGameInfoTop=-1\nZoom=0\n\n"
      "[fMain]\nLeft=0\nTop=0\n\n"
      "[Keyboard1]\nLeft=37\nUp=38\nRight=39\nDown=40\nFire1=17\nFire2=16\n\n"
      "[Keyboard2]\nLeft=65\nUp=87\nRight=68\nDown=83\nFire1=9\nFire2=192\n\n"
      "[Keyboard3]\nLeft=74\nUp=73\nRight=76\nDown=75\nFire1=72\nFire2=89\n\n"
      "[Keyboard4]\nLeft=97\nUp=101\nRight=99\nDown=98\nFire1=100\nFire2=103\n\n"
      "[Player1]\nAI=0\nInput=0\nColor=57088\n\n"
      "[Player2]\nAI=1\nInput=1\nColor=16383\n\n"
      "[Player3]\nAI=1\nInput=2\nColor=16744192\n\n"
      "[Player4]\nAI=1\nInput=3\nColor=61423\n\n"
      "[Player5]\nAI=1\nInput=4\nColor=15724288\n\n"
      "[Brickfall]\nMirrorGame=1\n\n"
      "[Monsters]\nTimes=0\nSwapPlayers=0\nBonusTime=500\nScoreMonster=100\n"
      "ScorePlayer=-200\nScoreHouse=-100\nScoreBonus=100\nMonsGrating=0\n"
      "BiosKeyboard=0\nKeyboardDelay=150\nRealTimeGame=1\nMonstersDelay=500\n"
      "AgressiveMonsters=1\n\n"
      "[Burrower]\nReborn=1\nEnemies=1\nGrating=1\n";
  EXPECT_EQ(Save(c), expected);
}

TEST_F(SettingsTest, EverySettingRoundTrips) {
  TRecentFiles recent[3];
  recent[1].Opened(ProgramDir() + "Levels/Monsters/A.MoL");
  recent[1].Opened("/tmp/B.MoL");
  TSettingsContext c;
  for (int k = 0; k < kKinds; ++k) c.recent[k] = &recent[k];
  c.levelsFromFile[0] = c.levelsFromFile[1] = c.levelsFromFile[2] = true;

  gCom.kind = 1;
  for (int k = 0; k < kKinds; ++k) {
    gCom.k[k].playersMinusOne = k + 2;
    gOptions.levelsFile[k] = ProgramDir() + "Levels/Set" + std::to_string(k);
  }
  gOptions.mainLeft = -12;
  gOptions.mainTop = 34;
  for (int m = 0; m < kKeyMaps; ++m)
    for (int i = 0; i < kKeysPerMap; ++i) gCom.keyMap[m][i] = uint16_t(200 + m * 6 + i);
  for (int p = 0; p < kPlayers; ++p) {
    gCom.player[p].ai = p % 2;
    gCom.player[p].input = uint8_t(5 - p);
    gCom.player[p].colour = 0x102030u * uint32_t(p + 1);
  }
  // The options' table: every stored row away from its default.
  auto away = [](const TOptionDef& o) { return o.def == o.max ? o.min : o.max; };
  for (const TOptionDef& o : kOptions) {
    if (o.kind == okText)
      *OptionAt(o.id).text = "Ada = Lovelace";
    else if (o.key && o.id != opGameKind)
      OptionAt(o.id).Set(away(o));
  }
  const std::string first = Save(c);

  // Read back into defaults: saving again writes the same file, and as every value
  // differs from its default, none was lost on the way.
  ResetCom();
  gOptions = TOptions{};
  TRecentFiles loaded[3];
  for (int k = 0; k < kKinds; ++k) c.recent[k] = &loaded[k];
  Load(first, c);
  EXPECT_EQ(gCom.player[2].halfColour, (0x102030u * 3 >> 1) & 0x7F7F7F);
  EXPECT_EQ(Save(c), first);
}

TEST_F(SettingsTest, SettingsFileBesideAWritableProgram) {
  EXPECT_EQ(SettingsFilePath(ProgramDir() + "kelvra.bin"), ProgramDir() + "kelvra.ini");

  // A program folder that cannot take the file: the user's configuration folder, made.
  const char* old = std::getenv("XDG_CONFIG_HOME");
  const std::string saved = old ? old : "";
  setenv("XDG_CONFIG_HOME", dir_.File("config").c_str(), 1);
  EXPECT_EQ(SettingsFilePath(dir_.File("missing/bin/kelvra")),
            dir_.File("config/kelvra/kelvra.ini"));
  EXPECT_TRUE(std::filesystem::is_directory(dir_.File("config/kelvra")));
  // An installed program in a writable prefix (root's /usr, a private prefix) uses it too;
  // a build tree beside it (../data) is still a build tree.
  std::filesystem::create_directories(dir_.File("usr/bin"));
  std::filesystem::create_directories(dir_.File("usr/share/kelvra"));
  EXPECT_EQ(SettingsFilePath(dir_.File("usr/bin/kelvra")), dir_.File("config/kelvra/kelvra.ini"));
  std::filesystem::create_directories(dir_.File("usr/data"));
  EXPECT_EQ(SettingsFilePath(dir_.File("usr/bin/kelvra")), dir_.File("usr/bin/kelvra.ini"));
  if (old)
    setenv("XDG_CONFIG_HOME", saved.c_str(), 1);
  else
    unsetenv("XDG_CONFIG_HOME");
}

}  // namespace
}  // namespace kelvra
