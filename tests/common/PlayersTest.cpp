// Players and input: key names, key capture, control reading on every input, the colour
// change with Cancel, the frequency text and what the settings dialog's OK stores.
#include <gtest/gtest.h>

#include <tuple>

#include "common/Com.h"
#include "common/Events.h"
#include "common/Players.h"
#include "common/Settings.h"
#include "platform/Headless.h"

namespace kelvra {
namespace {

class GamepadPlatform : public HeadlessPlatform {
 public:
  uint8_t pad = 0;
  uint8_t GamepadState() override { return pad; }
};

// A reading as "h:<held> p:<pressed>", one digit per control from Left to Fire2.
std::string Keys(const TControls& c) {
  std::string h = "h:", p = " p:";
  for (int k = 0; k < kKeysPerMap; ++k) {
    h += char('0' + c.held[k]);
    p += char('0' + c.pressed[k]);
  }
  return h + p;
}

class PlayersTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetCom();
    gOptions = TOptions{};
    SetEvents(&events);
    SetPlatform(&platform);
  }
  void TearDown() override {
    SetEvents(nullptr);
    SetPlatform(nullptr);
  }
  GamepadPlatform platform;
  THeadlessEvents events;
};

TEST(KeyNameTest, NamesOfTheTable) {
  const struct {
    int code;
    const char* name;
  } rows[] = {{9, "Tab"},   {65, "A"},      {90, "Z"},      {105, "Num 9"},
              {192, "~"},   {64, "SC: 64"}, {91, "SC: 91"}, {106, "SC: 106"},
              {0x70, "F1"}, {0x7A, "F11"},  {0x87, "F24"},  {0x88, "SC: 136"}};
  for (const auto& r : rows) EXPECT_EQ(KeyName(r.code), r.name) << r.code;
}

// The program's single-key shortcuts never come with a default mapping: a new player's key
// would otherwise start a game or open the manual instead of moving.
TEST(KeyNameTest, NoDefaultPlayerKeyIsAShortcutOfTheProgram) {
  for (const auto& map : kDefaultKeyMap)
    for (uint16_t code : map) EXPECT_EQ(ShortcutCommand(code), nullptr) << code;
  EXPECT_STREQ(ShortcutCommand(0x71), "Start Game");
  EXPECT_EQ(ShortcutCommand(0x72), nullptr);  // F3 is free
}

// The controls a step sees: the devices gathered into the step's snapshot first.
TControls Read(int player) {
  CaptureInput();
  return ReadPlayerControls(player);
}

TEST_F(PlayersTest, KeyboardControlsHeldPressedAndForgotten) {
  gCom.player[1].input = 1;  // A W D S, Tab, ~
  platform.PressKey(0x41);
  platform.PressKey(0x09);
  platform.ReleaseKey(0x09);  // a tap between two steps still counts once

  EXPECT_EQ(Keys(Read(1)), "h:100000 p:100010");
  EXPECT_EQ(Keys(Read(1)), "h:100000 p:000000");  // the presses went to the previous step

  // The start of a game forgets the presses, on every mapping.
  platform.PressKey(0x25);  // Left of mapping 1
  platform.PressKey(0x61);  // Left of mapping 4
  ForgetControlPresses();
  gCom.player[0].input = 3;
  EXPECT_EQ(Keys(Read(0)), "h:100000 p:000000");
}

// Player five uses the mouse by default; the joystick reads the game controller, and nothing
// without one.
TEST_F(PlayersTest, MouseAndJoystickControls) {
  gCom.mouseX = 100;
  gCom.mouseY = -3;  // above the play field
  gCom.mouseButton[0] = 1;
  TControls c = Read(4);
  EXPECT_EQ(std::make_tuple(c.mouseX, c.mouseY, Keys(c)),
            std::make_tuple(100, -3, std::string("h:000010 p:000010")));
  EXPECT_EQ(Keys(Read(4)), "h:000010 p:000000");

  gCom.player[2].input = piJoystick;
  EXPECT_EQ(Keys(Read(2)), "h:000000 p:000000");
  platform.pad = (1 << ctUp) | (1 << ctFire2);
  EXPECT_EQ(Keys(Read(2)), "h:010001 p:010001");

  gCom.player[3].input = 9;  // damaged setting: no controls, no crash
  platform.PressKey(0x25);
  EXPECT_EQ(Keys(Read(3)), "h:000000 p:000000");
}

TEST_F(PlayersTest, ColourChangeRecomputesHalfColoursAndCancelRestores) {
  auto redraws = [&] { return int(events.log.size()); };  // "colour p" lines
  const TPlayerSnapshot before = TakePlayerSnapshot();

  SetPlayerColour(2, 0x80FF41);
  EXPECT_EQ(std::make_pair(gCom.player[2].halfColour, redraws()), std::make_pair(0x407F20u, 1));
  SetPlayerColour(0, 0x123456);
  gCom.keyMap[1][ctFire2] = 0x51;

  events.log.clear();
  RestorePlayerSnapshot(before);
  EXPECT_EQ(redraws(), 2);  // once per colour that differed
  for (int p = 0; p < kPlayers; ++p) EXPECT_EQ(gCom.player[p].colour, kDefaultPlayerColour[p]);
  EXPECT_EQ(std::make_pair(gCom.player[2].halfColour, int(gCom.keyMap[1][ctFire2])),
            std::make_pair(0x7F3F00u, 0xC0));
}

TEST(ParseFrequencyTest, NumbersLimitsAndText) {
  const struct {
    const char* text;
    int32_t value;
  } rows[] = {{" 11025 ", 11025},
              {"12a", 22050},
              {"0", 1},
              {"100001", 100000},
              {"99999999999999999999", 100000}};
  for (const auto& r : rows) EXPECT_EQ(ParseFrequency(r.text), r.value) << r.text;
}

TEST_F(PlayersTest, OkStoresTheValuesAndReportsWhatChanged) {
  TSettingsValues v = CurrentSettingsValues();
  TSettingsChanges ch;
  v.keyMap[2][ctFire1] = 0x20;
  v.input[0] = piJoystick;
  v.fullScreenBits = 16;
  v.music = 0;
  v.processPriority = 2;
  ch = ApplySettingsValues(v, false);
  EXPECT_TRUE(ch.priorities && ch.display && ch.music && !ch.reopenSound);
  EXPECT_EQ(std::make_pair(int(gCom.keyMap[2][ctFire1]), int(gCom.player[0].input)),
            std::make_pair(0x20, int(piJoystick)));

  // Sound off, then on again while paused: reopened but not opened.
  v.sounds = 0;
  EXPECT_TRUE(ApplySettingsValues(v, false).reopenSound);
  gCom.paused = 1;
  v.sounds = 1;
  ch = ApplySettingsValues(v, false);
  EXPECT_TRUE(ch.reopenSound && !ch.openSound);
  v.soundFrequency = 44100;
  EXPECT_TRUE(ApplySettingsValues(v, false).reopenSound);
}

}  // namespace
}  // namespace kelvra
