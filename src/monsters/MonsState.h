// Monsters' step state: the play grid, the monster table, the players, the game-wide values
// and the score history, in one record with one reset. Together with the shared records of
// gCom (game state, level time, the random generator) it is the whole of a Monsters game.
#pragma once

#include <cstdint>

#include "common/Com.h"
#include "monsters/MonsLevel.h"

namespace kelvra {

constexpr int kMonsSquares = kMonsCols * kMonsRows;  // 512
constexpr int kMonsSlots = kMonsSquares;             // one monster slot per square
constexpr int kMonsTypes = 6;                        // monster types 0..5
constexpr int kMonsPlayers = 4;
constexpr int kMonsHistoryKept = 636;  // the graph's width: later steps only widen the scale
constexpr int kMonsPictures = 88;      // the picture strip
constexpr int kMonsSquareSize = 20;    // pixels

// Square kinds.
enum MonsKind : uint8_t {
  mkNone = 0,
  mkEarth = 1,
  mkGate = 2,
  mkWall = 3,
  mkMoney = 4,
  mkTunnel = 5,
  mkPit = 6,
  mkPlayer = 7,
  mkHouse = 8,
  mkMonster = 9,
  mkGhost = 10,
  mkNo = 11,
  mkKinds = 12,
};

constexpr uint8_t kSlotFree = 255;
constexpr uint8_t kSlotGhost = 6;
constexpr uint8_t kFlashStart = 16;

struct TMonsSquare {
  uint8_t kind;       // MonsKind
  uint8_t variant;    // player or house owner 0..3, monster type 0..5
  uint8_t direction;  // 0..3; a monster square shows its encoded heading
  uint16_t slot;      // a Monster square's slot in the monster table, else 0
  uint8_t flash;      // highlight counter, 16 when something happens on the square
};

struct TMonsSlot {
  uint8_t type;   // 0..5 monster, kSlotGhost, kSlotFree
  int8_t dx, dy;  // heading, each -1, 0 or +1
  uint8_t x, y;
};

struct TMonsPlayer {
  uint8_t x, y;
  uint8_t present;              // the level has a square for him: he takes part in moves
  int8_t requestDx, requestDy;  // set by input or the computer, cleared after each attempt
  int8_t lastDx, lastDy;        // the last step made
  uint32_t lastAttempt;         // level time (ms) of the last move attempt
  int32_t score;
  int32_t timeScore;  // time-adjusted score
  int32_t killed;     // monsters killed
  int32_t caught;     // times caught
  int32_t houseHits;
  int32_t overtime;  // ms beyond the bonus time, summed over moves
  int32_t moveTime;  // ms of the current move
};

// One entry per monster step: players 0..3's score, then their time-adjusted score.
struct TMonsHistoryEntry {
  int32_t score[kMonsPlayers];
  int32_t timeScore[kMonsPlayers];
};

struct TMonsGame {
  int32_t currentPlayer;  // whose turn it is in the turn game
  int32_t moveCounter;    // moves made in the turn game
  uint8_t clockRunning;
  uint32_t moveStart;        // level time at which the current move began
  uint32_t lastMonsterStep;  // level time of the last monster step (real-time game)
  int32_t slotsInUse;        // slots ever filled in this game
  int32_t alive;             // living monsters of types 0..5
  int32_t alivePerType[kMonsTypes];
  int32_t bredPerType[kMonsTypes];
  uint32_t historyCount;  // monster steps recorded (the "Move" count)
  // Running minimum and maximum of each series over the whole history: [0] the score,
  // [1] the time-adjusted score.
  int32_t historyMin[2], historyMax[2];
};

// Plain data only, so a reset may zero it.
struct TMonsState {
  TMonsSquare grid[kMonsSquares];  // square (x, y) at x * 16 + y
  TMonsSlot monster[kMonsSlots];   // the monster table
  TMonsPlayer players[kMonsPlayers];
  TMonsGame game;
  TMonsHistoryEntry history[kMonsHistoryKept];  // the first kMonsHistoryKept monster steps
};
extern TMonsState gMons;

// The one reset: everything zero, every monster slot free.
void ResetMonsState();

inline int MonsIndex(int x, int y) {
  return x * kMonsRows + y;
}
inline TMonsSquare& MonsAt(int x, int y) {
  return gMons.grid[MonsIndex(x, y)];
}
// Wrapped coordinates of the torus.
inline int WrapCol(int x) {
  return (x % kMonsCols + kMonsCols) % kMonsCols;
}
inline int WrapRow(int y) {
  return (y % kMonsRows + kMonsRows) % kMonsRows;
}

// Direction codes: the step a stored code starts with (and a tunnel admits), and the code a
// moving monster's heading shows. They are not inverses for vertical steps: code 1 ("Down")
// steps toward row 0, while a heading toward row 0 shows code 3.
void DecodeMonsDirection(uint8_t code, int& dx, int& dy);  // a code above 3: (-1, 0)
uint8_t EncodeMonsHeading(int dx, int dy);

// Players taking part in the current Monsters game: 1..4.
int MonsPlayerCount();

// Resources, kept apart from gMons: the level records (gMonsLevels, changed only by reading
// a set and by the editor), the picture strip and background (drawing only) and the panel's
// cache of the values last drawn (drawing only).

}  // namespace kelvra
