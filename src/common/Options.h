// The user's options: the records that keep them (gOptions, and a few in gCom) and the one
// table that gives each option its settings key, default, range, menu caption and dialog.
// The settings file, TOptions' defaults and the main window's menus and dialogs read it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace kelvra {

struct TCom;

// Defaults, ranges and keys of these fields: kOptions.
struct TMonstersOptions {
  uint8_t times;
  uint8_t swapPlayers;
  int32_t bonusTime;  // ms
  int32_t scoreMonster;
  int32_t scorePlayer;
  int32_t scoreHouse;
  int32_t scoreBonus;
  uint8_t grating;
  uint8_t biosKeyboard;
  int32_t keyboardDelay;  // ms
  uint8_t realTime;
  int32_t monstersDelay;  // ms
  uint8_t aggressive;
  uint8_t blackSquares;  // not stored: off in every run
};

struct TBurrowerOptions {
  uint8_t reborn;
  uint8_t enemies;
  uint8_t grating;
};

// Options of the "Options" section and window positions; a default-made TOptions holds
// every default of kOptions. Game-state items that are also settings (kind, player counts,
// players, key maps, mirror game) live in gCom.
struct TOptions {
  TOptions();

  std::string levelsFile[3];  // absolute names; the default depends on the program's folder
  std::string playerName;
  int32_t gameTick;         // ms per game step
  int32_t processPriority;  // 0 Idle, 1 Normal, 2 High, 3 Realtime
  int32_t threadPriority;   // 0 Idle .. 6 Time Critical
  int32_t delayTime;        // draw delay in ms
  uint8_t fullScreen;
  int32_t fullScreenBits;  // 8, 16, 24 or 32
  uint8_t waitRetrace;
  uint8_t sounds;
  uint8_t reduceSounds;
  uint8_t sound16bits;
  int32_t soundFrequency;  // Hz
  uint8_t soundStereo;
  uint8_t music;
  int32_t scoresLeft, scoresTop;  // -1: the window's design position
  int32_t gameInfoLeft, gameInfoTop;
  int32_t mainLeft = 0, mainTop = 0;  // section "fMain"; stored default: centred
  int32_t zoom;                       // window zoom 1..4, 0 automatic
  TMonstersOptions mons;
  TBurrowerOptions burr;
};
extern TOptions gOptions;

// One row of kOptions each, in the order of the settings file.
enum OptionId : int {
  opGameKind,  // written first, before the per-kind and per-player records
  opPlayerName,
  opGameTick,
  opProcessPriority,
  opThreadPriority,
  opDelayTime,
  opFullScreen,
  opFullScreenBits,
  opWaitRetrace,
  opSounds,
  opReduceSounds,
  opSound16bits,
  opSoundFrequency,
  opSoundStereo,
  opMusic,
  opScoresLeft,
  opScoresTop,
  opGameInfoLeft,
  opGameInfoTop,
  opZoom,
  opMirrorGame,
  opTimes,
  opSwapPlayers,
  opBonusTime,
  opScoreMonster,
  opScorePlayer,
  opScoreHouse,
  opScoreBonus,
  opMonsGrating,
  opBiosKeyboard,
  opKeyboardDelay,
  opRealTime,
  opMonstersDelay,
  opAggressive,
  opBlackSquares,
  opReborn,
  opEnemies,
  opBurrGrating,
  opCount
};

enum OptionKind : uint8_t {
  okFlag,    // 0 or 1, stored as a boolean
  okNumber,  // an integer within min..max
  okText,    // a string; blank means the default
};

// Where an option's value lives: one pointer is set, the others are null. Flags and the
// small numbers (the game kind) are bytes.
struct TOptionRef {
  uint8_t* byte = nullptr;
  int32_t* number = nullptr;
  std::string* text = nullptr;

  explicit operator bool() const { return byte || number || text; }
  int32_t Get() const { return number ? *number : byte ? int32_t(*byte) : 0; }
  void Set(int32_t v) const {
    if (number)
      *number = v;
    else if (byte)
      *byte = uint8_t(v);
  }
};

struct TOptionDef {
  OptionId id;
  int game;         // the game kind it belongs to, whose name is its settings section and
                    // whose menu holds it; -1: shared, section "Options"
  const char* key;  // settings key; nullptr: not stored
  OptionKind kind;
  int32_t def, min, max;               // flags: 0/1 and 0..1
  const char* defText;                 // default of a text option
  TOptionRef (*at)(TOptions*, TCom*);  // its field in either record; empty for the other one

  // Its menu items (session/MenuItems): the dialog item's caption shows the value as
  // "<label> (<value>)..."; its number dialog has this title and asks in ms when `time`.
  const char* label = nullptr;
  const char* title = nullptr;
  bool time = false;
  // What the dialog's Default choice gives when that is not `def`.
  std::optional<int32_t> dialogDef = std::nullopt;
  bool lockedWhileRunning = false;  // not changed while its game runs

  const char* Section() const;
  int32_t DialogDefault() const { return dialogDef.value_or(def); }
};

extern const TOptionDef kOptions[opCount];

// The value of an option in gOptions or gCom.
TOptionRef OptionAt(OptionId id);
// Gives every option kept in `options` or `com` (either may be null) its default.
void SetOptionDefaults(TOptions* options, TCom* com);
// The caption of an option's dialog item with the value: "Score Monster (100)...".
std::string OptionCaption(OptionId id, int32_t value);

// Defaults of the per-kind and per-player settings, which are not rows of kOptions: the
// player count of every kind (minus one), key codes of mapping m (Left, Up, Right, Down,
// Fire1, Fire2), and each player's computer control, input and colour (0x00BBGGRR).
constexpr int32_t kDefaultPlayersMinusOne = 1;
extern const uint16_t kDefaultKeyMap[4][6];
constexpr uint8_t DefaultPlayerAI(int player) {
  return player != 0;
}  // player 1 is human
constexpr uint8_t DefaultPlayerInput(int player) {
  return uint8_t(player);
}  // 4: the mouse
extern const uint32_t kDefaultPlayerColour[5];

}  // namespace kelvra
