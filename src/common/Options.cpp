// The table of options and the defaults of the per-kind and per-player settings.
#include "common/Options.h"

#include <limits>

#include "common/Com.h"
#include "common/Kinds.h"

namespace kelvra {

const uint16_t kDefaultKeyMap[4][6] = {
    {0x25, 0x26, 0x27, 0x28, 0x11, 0x10},  // arrows, Ctrl, Shift
    {0x41, 0x57, 0x44, 0x53, 0x09, 0xC0},  // A W D S, Tab, the key left of 1
    {0x4A, 0x49, 0x4C, 0x4B, 0x48, 0x59},  // J I L K, H, Y
    {0x61, 0x65, 0x63, 0x62, 0x64, 0x67},  // numeric keypad 1 5 3 2, 4, 7
};

const uint32_t kDefaultPlayerColour[5] = {0x00DF00, 0x003FFF, 0xFF7F00, 0x00EFEF, 0xEFEF00};

namespace {

constexpr int kShared = -1;  // the "Options" section
constexpr int32_t kAnyMin = std::numeric_limits<int32_t>::min();
constexpr int32_t kAnyMax = std::numeric_limits<int32_t>::max();

TOptionRef Ref(uint8_t& v) {
  TOptionRef r;
  r.byte = &v;
  return r;
}
TOptionRef Ref(int32_t& v) {
  TOptionRef r;
  r.number = &v;
  return r;
}
TOptionRef Ref(std::string& v) {
  TOptionRef r;
  r.text = &v;
  return r;
}

// A field of TOptions, reached through the members `path` (gOptions.mons.bonusTime:
// &TOptions::mons, &TMonstersOptions::bonusTime).
template <auto... path>
TOptionRef InOptions(TOptions* o, TCom*) {
  return o ? Ref((*o.*....*path)) : TOptionRef{};
}
template <auto field>
TOptionRef InCom(TOptions*, TCom* c) {
  return c ? Ref(c->*field) : TOptionRef{};
}

constexpr TOptionDef Flag(OptionId id, int game, const char* key, bool def,
                          TOptionRef (*at)(TOptions*, TCom*)) {
  return {id, game, key, okFlag, def ? 1 : 0, 0, 1, nullptr, at};
}
constexpr TOptionDef Number(OptionId id, int game, const char* key, int32_t def, int32_t min,
                            int32_t max, TOptionRef (*at)(TOptions*, TCom*)) {
  return {id, game, key, okNumber, def, min, max, nullptr, at};
}
constexpr TOptionDef Text(OptionId id, int game, const char* key, const char* def,
                          TOptionRef (*at)(TOptions*, TCom*)) {
  return {id, game, key, okText, 0, 0, 0, def, at};
}
// The option's number dialog, and its menu item with the value in the caption.
constexpr TOptionDef Dialog(TOptionDef o, const char* label, const char* title, bool time) {
  o.label = label;
  o.title = title;
  o.time = time;
  return o;
}
constexpr TOptionDef DialogDefault(TOptionDef o, int32_t def) {
  o.dialogDef = def;
  return o;
}
constexpr TOptionDef Locked(TOptionDef o) {
  o.lockedWhileRunning = true;
  return o;
}

constexpr bool kMs = true;  // a time dialog

using O = TOptions;
using M = TMonstersOptions;
using B = TBurrowerOptions;

}  // namespace

constexpr TOptionDef kOptions[opCount] = {
    Number(opGameKind, kShared, "GameKind", gkBrickfall, 0, kKinds - 1, InCom<&TCom::kind>),
    Text(opPlayerName, kShared, "PlayerName", "Unknown", InOptions<&O::playerName>),
    Dialog(Number(opGameTick, kShared, "GameTick", 28, 1, 1000, InOptions<&O::gameTick>),
           "Custom Game Delay", "Game Delay", !kMs),
    Number(opProcessPriority, kShared, "ProcessPriority", 1, 0, 3, InOptions<&O::processPriority>),
    Number(opThreadPriority, kShared, "ThreadPriority", 3, 0, 6, InOptions<&O::threadPriority>),
    // The dialog's Default offers 0, the maximum frame rate, rather than the stored 20.
    DialogDefault(
        Dialog(Number(opDelayTime, kShared, "DelayTime", 20, 0, 1000, InOptions<&O::delayTime>),
               "Custom F/s Delay", "F/s Delay", !kMs),
        0),
    Flag(opFullScreen, kShared, "FullScreen", true, InOptions<&O::fullScreen>),
    // Also a multiple of 8 (the settings file's rule).
    Number(opFullScreenBits, kShared, "FullScreenBits", 32, 8, 32, InOptions<&O::fullScreenBits>),
    Flag(opWaitRetrace, kShared, "WaitRetrace", true, InOptions<&O::waitRetrace>),
    Flag(opSounds, kShared, "Sounds", true, InOptions<&O::sounds>),
    Flag(opReduceSounds, kShared, "ReduceSounds", true, InOptions<&O::reduceSounds>),
    Flag(opSound16bits, kShared, "Sound16bits", false, InOptions<&O::sound16bits>),
    Number(opSoundFrequency, kShared, "SoundFrequency", 22050, 1, 100000,
           InOptions<&O::soundFrequency>),
    Flag(opSoundStereo, kShared, "SoundStereo", true, InOptions<&O::soundStereo>),
    Flag(opMusic, kShared, "Music", true, InOptions<&O::music>),
    // Positions of the high-score window (shared with the settings dialog) and of the game
    // information window; -1 stands for the window's design position.
    Number(opScoresLeft, kShared, "ScoresLeft", -1, kAnyMin, kAnyMax, InOptions<&O::scoresLeft>),
    Number(opScoresTop, kShared, "ScoresTop", -1, kAnyMin, kAnyMax, InOptions<&O::scoresTop>),
    Number(opGameInfoLeft, kShared, "GameInfoLeft", -1, kAnyMin, kAnyMax,
           InOptions<&O::gameInfoLeft>),
    Number(opGameInfoTop, kShared, "GameInfoTop", -1, kAnyMin, kAnyMax, InOptions<&O::gameInfoTop>),
    // Whole zoom factor of the window, 1..4; 0 picks the largest that fits on the screen.
    Number(opZoom, kShared, "Zoom", 0, 0, 4, InOptions<&O::zoom>),

    Locked(Flag(opMirrorGame, gkBrickfall, "MirrorGame", false, InCom<&TCom::mirrorGame>)),

    Flag(opTimes, gkMonsters, "Times", false, InOptions<&O::mons, &M::times>),
    Flag(opSwapPlayers, gkMonsters, "SwapPlayers", false, InOptions<&O::mons, &M::swapPlayers>),
    Dialog(Number(opBonusTime, gkMonsters, "BonusTime", 500, 0, 10000,
                  InOptions<&O::mons, &M::bonusTime>),
           "Bonus Time", "Bonus Time", kMs),
    Dialog(Number(opScoreMonster, gkMonsters, "ScoreMonster", 100, -1000, 1000,
                  InOptions<&O::mons, &M::scoreMonster>),
           "Score Monster", "Score Monster", !kMs),
    Dialog(Number(opScorePlayer, gkMonsters, "ScorePlayer", -200, -1000, 1000,
                  InOptions<&O::mons, &M::scorePlayer>),
           "Score Player", "Score Player", !kMs),
    Dialog(Number(opScoreHouse, gkMonsters, "ScoreHouse", -100, -1000, 1000,
                  InOptions<&O::mons, &M::scoreHouse>),
           "Score House", "Score House", !kMs),
    Dialog(Number(opScoreBonus, gkMonsters, "ScoreBonus", 100, -1000, 1000,
                  InOptions<&O::mons, &M::scoreBonus>),
           "Score Bonus", "Score Bonus", !kMs),
    Flag(opMonsGrating, gkMonsters, "MonsGrating", false, InOptions<&O::mons, &M::grating>),
    Flag(opBiosKeyboard, gkMonsters, "BiosKeyboard", false, InOptions<&O::mons, &M::biosKeyboard>),
    Dialog(Number(opKeyboardDelay, gkMonsters, "KeyboardDelay", 150, 0, 10000,
                  InOptions<&O::mons, &M::keyboardDelay>),
           "Players Delay", "Keyboard Delay", kMs),
    Flag(opRealTime, gkMonsters, "RealTimeGame", true, InOptions<&O::mons, &M::realTime>),
    Dialog(Number(opMonstersDelay, gkMonsters, "MonstersDelay", 500, 0, 10000,
                  InOptions<&O::mons, &M::monstersDelay>),
           "Monsters Delay", "Monsters's Delay", kMs),
    Flag(opAggressive, gkMonsters, "AgressiveMonsters", true, InOptions<&O::mons, &M::aggressive>),
    Flag(opBlackSquares, gkMonsters, nullptr, false, InOptions<&O::mons, &M::blackSquares>),

    Locked(Flag(opReborn, gkBurrower, "Reborn", true, InOptions<&O::burr, &B::reborn>)),
    Flag(opEnemies, gkBurrower, "Enemies", true, InOptions<&O::burr, &B::enemies>),
    Flag(opBurrGrating, gkBurrower, "Grating", true, InOptions<&O::burr, &B::grating>),
};

namespace {
constexpr bool RowsInIdOrder() {
  for (int i = 0; i < opCount; ++i)
    if (kOptions[i].id != i) return false;
  return true;
}
static_assert(RowsInIdOrder(), "kOptions is indexed by OptionId");
}  // namespace

TOptions gOptions;

TOptions::TOptions() {
  SetOptionDefaults(this, nullptr);
}

const char* TOptionDef::Section() const {
  return game < 0 ? "Options" : KindName(game);
}

TOptionRef OptionAt(OptionId id) {
  TOptionRef r = kOptions[id].at(&gOptions, nullptr);
  return r ? r : kOptions[id].at(nullptr, &gCom);
}

void SetOptionDefaults(TOptions* options, TCom* com) {
  for (const TOptionDef& o : kOptions) {
    const TOptionRef r = o.at(options, com);
    if (r.text)
      *r.text = o.defText;
    else
      r.Set(o.def);
  }
}

std::string OptionCaption(OptionId id, int32_t value) {
  return std::string(kOptions[id].label) + " (" + std::to_string(value) + ")...";
}

}  // namespace kelvra
