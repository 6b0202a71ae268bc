// Shared game state of all three game kinds: the per-kind and per-player records,
// the level-set header, the effect pools, the random generator and the state machine.
#pragma once

#include <bit>
#include <cstdint>
#include <string>

#include "base/Random.h"

namespace kelvra {

static_assert(std::endian::native == std::endian::little,
              "stored records are read and written in host byte order");

// Game kinds; every per-kind item is an array of kKinds indexed by one of these.
enum GameKind : uint8_t { gkBrickfall = 0, gkMonsters = 1, gkBurrower = 2 };
constexpr int kKinds = 3;
constexpr int kPlayers = 5;  // per-player items are arrays of kPlayers
constexpr int kKeyMaps = 4;  // keyboard mappings
constexpr int kKeysPerMap = 6;

enum GameState : uint8_t {
  gsIdle = 0,
  gsPlaying = 1,
  gsLevelDone = 2,
  gsLevelStarting = 3,
  gsAborted = 4,
  gsPlayersOut = 5,
  gsGameOverShow = 6,
  gsGameEnded = 7,
  gsAllLevelsDone = 8,
};

// Level-set origin of a kind.
enum LevelSetOrigin : uint8_t { loNone = 0, loNew = 1, loFile = 2 };

constexpr uint32_t kLocked = 0xFFFFFFFF;  // value of the header's lock flag when locked
constexpr int32_t kMaxLevels = 256;

#pragma pack(push, 1)
// The level-set header, byte for byte as stored at the start of a level-set file.
struct TLevelSetHeader {
  char magic[4];
  uint32_t version;
  uint32_t headerSize;  // 180 when written
  uint32_t unused12;    // carried as read, 0 for a new set
  int32_t levelCount;
  uint32_t levelRecordSize;
  uint32_t elementRecordSize;  // Brickfall wall record size; 0 for the grid kinds
  uint32_t lock;               // 0 unlocked, kLocked locked
  uint8_t description[64];     // length byte + up to 63 characters
  uint8_t finalMessage[64];    // length byte + up to 63 characters; plain in memory
  uint32_t saveCounter;
  int64_t editingTime;  // accumulated editing time in ms
  double lastSave;      // days since 30 December 1899, fraction = time of day
};
#pragma pack(pop)
static_assert(sizeof(TLevelSetHeader) == 180);

// Short strings stored as a length byte followed by the characters.
std::string GetShortString(const uint8_t* field, int fieldSize);
void SetShortString(uint8_t* field, int fieldSize, const std::string& text);

struct TRect {
  int32_t left, top, right, bottom;  // inclusive pixel rectangle in the frame bitmap
};

// State the shell and the games keep per game kind.
struct TKindState {
  TLevelSetHeader header;
  std::string fileName;    // full path of the level set
  int32_t levelIndex;      // current level, 0-based
  int32_t lastDrawnLevel;  // 0x7FFFFFFF forces the overlay to rebuild the background
  uint8_t modified;        // unsaved changes
  uint8_t origin;          // LevelSetOrigin
  uint8_t running;         // a game runs, from Start until it ends
  uint8_t testGame;        // started with "Test Level": the game ends with its one level
  uint8_t state;           // GameState
  uint8_t initialised;     // InitKind has run in this run
  uint32_t gameTime;       // ms of play of the current game
  uint32_t levelTime;      // ms of play of the current level
  uint32_t shownGameTime;  // copies kept by the overlay painter; -1 forces a redraw
  uint32_t shownLevelTime;
  int32_t score[kPlayers];
  int32_t playersMinusOne;  // 0..4
  int64_t modifiedSinceMs;  // wall-clock ms when the set last became modified
  TRect field;              // play field in the frame bitmap
};

struct TPlayer {
  uint8_t ai;           // the computer controls the player
  uint8_t input;        // 0..3 keyboard mapping, 4 mouse, 5 joystick
  uint32_t colour;      // 0x00BBGGRR
  uint32_t halfColour;  // each channel halved
};

// Effect pools: an entry whose life is 0 is free.
struct TBurst {
  int32_t life;     // starts at 255
  int32_t variant;  // 0..3
  int32_t x, y;     // frame-bitmap pixels
};
struct TSpark {
  int32_t life, x, y, extra, vy;  // x, y, vy in the game's own units
};
struct TBlast {
  uint16_t life;  // starts at 21503
  int32_t owner, radius, x, y;
};
constexpr int kBursts = 128, kSparks = 64, kBlasts = 32;
constexpr int32_t kBurstLife = 255;
constexpr uint16_t kBlastLife = 21503;

// The one block of process-wide game state.
struct TCom {
  uint8_t kind;  // current GameKind
  TKindState k[kKinds];
  int32_t countdown;      // game steps left in a timed state, shared by all kinds
  uint32_t stepCounter;   // +1 every game step, wraps
  uint32_t frameCounter;  // +1 every drawn frame, wraps
  TPlayer player[kPlayers];
  uint16_t keyMap[kKeyMaps][kKeysPerMap];  // Left, Up, Right, Down, Fire1, Fire2
  uint8_t editorOpen;
  uint8_t paused;
  uint8_t mirrorGame;
  int32_t mouseX, mouseY;  // relative to the current play field
  uint8_t mouseButton[3];  // left, middle, right held
  uint8_t cursorShape;     // 0 Default, 1 Left, 2 Right, 3 Up, 4 Down
  uint32_t randSeed;       // state of the shared random generator
  TBurst burst[kBursts];
  TSpark spark[kSparks];
  TBlast blast[kBlasts];
};

extern TCom gCom;

// The draw and step rates of the frame clock, in events per second x 100, as its last
// measurement period found them. The shell sets them after each measurement; the games'
// "F/s" displays show them.
struct TFrameRates {
  uint32_t draw = 0;
  uint32_t step = 0;
};
extern TFrameRates gFrameRates;

// Resets the whole block to its start-of-program values (tests use it between cases).
void ResetCom();

inline TKindState& Cur() {
  return gCom.k[gCom.kind];
}

// The shared generator (base/Random.h) on the state in gCom.randSeed. Drawing takes its
// numbers from a copy of that state (RandomFrom), so that what is drawn never changes
// what happens next.
void Randomize(uint32_t seed);
int32_t Random(int32_t n);  // 0..n-1; 0 when n <= 0

// Empties the three effect pools. The kinds give the entries their own meanings, so a game
// starts, and a kind is shown, with none left by another.
void ClearEffectPools();

// What the kinds share that a game's steps read and change. A game left for another kind
// keeps its own copy and gets it back on its return, so that it goes on as if the other
// kind's steps had not come between (a replay of it plays without them).
struct TSharedStepState {
  int32_t countdown;
  uint32_t stepCounter;
  uint32_t randSeed;
  uint8_t cursorShape;
  TBurst burst[kBursts];
  TSpark spark[kSparks];
  TBlast blast[kBlasts];
};
TSharedStepState SaveSharedStepState();
void RestoreSharedStepState(const TSharedStepState& state);

// Pool operations; a request finding no free entry is dropped.
void AddBurst(int32_t x, int32_t y, int32_t variant);
void AddSpark(int32_t x, int32_t y, int32_t life, int32_t extra, int32_t vy);
void AddBlast(int32_t x, int32_t y, int32_t owner);
void DecayBursts();
void DecaySparks();
void DecayBlasts();  // the blasts rise in the current kind's own units

// Advances the state machine of the current kind by one game step and calls its game
// (through the kinds' operations table).
void StepDispatch();

// Player colours: recomputes the half colours of all players.
void ComputeHalfColours();

}  // namespace kelvra
