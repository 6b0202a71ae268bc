// The rules of Monsters.
#include "monsters/MonsGame.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "common/Events.h"
#include "common/Options.h"
#include "common/Players.h"

namespace kelvra {

namespace {

enum MonsSound : int { msMove = 0, msNotMove = 1 };

TMonsInputSource gInputSource = nullptr;

// The fixed order in which every direction is tried: Left, Up, Right, Down.
constexpr int kStepDx[4] = {-1, 0, 1, 0};
constexpr int kStepDy[4] = {0, -1, 0, 1};

TKindState& Mons() {
  return gCom.k[gkMonsters];
}
uint32_t Now() {
  return Mons().levelTime;
}
const TMonstersOptions& Opt() {
  return gOptions.mons;
}

void ClearSquare(TMonsSquare& q) {
  q.kind = mkNone;
  q.variant = 0;
  q.direction = 0;
  q.slot = 0;
}

// A square that play can use as it is; anything else is an open square in play.
bool Playable(uint8_t kind, uint8_t variant, uint8_t direction) {
  switch (kind) {
    case mkPlayer:
    case mkHouse:
      return variant < kMonsPlayers;
    case mkMonster:
      return variant < kMonsTypes && direction < 4;
    case mkTunnel:
      return direction < 4;
    default:
      return kind < mkKinds;
  }
}

// Saturating: a game left running for days must not wrap a score round.
int32_t Add(int32_t a, int32_t b) {
  return int32_t(std::clamp<int64_t>(int64_t(a) + b, INT32_MIN, INT32_MAX));
}

void AddScore(int p, int32_t value) {
  TMonsPlayer& pl = gMons.players[p];
  pl.score = Add(pl.score, value);
  pl.timeScore = Add(pl.timeScore, value);
  Mons().score[p] = pl.score;
}

void EndLevel() {
  Mons().state = gsGameEnded;
  Events().GameEnded(gkMonsters);
}

bool Playing() {
  return Mons().state == gsPlaying;
}

// A monster dies: its counts drop and its slot is free.
void KillMonster(int slot, int type) {
  if (type < kMonsTypes) --gMons.game.alivePerType[type];
  --gMons.game.alive;
  gMons.monster[slot].type = kSlotFree;
}

bool PlayerCanMove(int p) {
  const TMonsPlayer& pl = gMons.players[p];
  if (!pl.present) return false;
  for (int d = 0; d < 4; ++d) {
    const uint8_t k = MonsAt(WrapCol(pl.x + kStepDx[d]), WrapRow(pl.y + kStepDy[d])).kind;
    if (k == mkNone || k == mkEarth || k == mkMoney || k == mkMonster) return true;
  }
  return false;
}

bool AnyPlayerCanMove() {
  for (int p = 0; p < MonsPlayerCount(); ++p)
    if (PlayerCanMove(p)) return true;
  return false;
}

bool Blocks(const TMonsSquare& q, int dx, int dy) {
  switch (q.kind) {
    case mkGate:
    case mkHouse:
    case mkPit:
    case mkWall:
    case mkPlayer:
    case mkGhost:
      return true;
    case mkTunnel: {
      int tx, ty;
      DecodeMonsDirection(q.direction, tx, ty);
      return tx != dx || ty != dy;
    }
    default:
      return false;
  }
}

// The turn game's choice of the next player: 0, 1, 1, 0, 0, 1, ... passing over a player
// who cannot move. When nobody can, the player who just moved stays.
void ChooseNextPlayer() {
  TMonsGame& g = gMons.game;
  const int n = MonsPlayerCount();
  const int mover = g.currentPlayer;
  const int32_t first = g.moveCounter;
  // Within 2n moves of the order every player has had a turn.
  for (int i = 0; i < 2 * n; ++i) {
    ++g.moveCounter;
    g.currentPlayer = ((g.moveCounter + 1) / 2) % n;
    if (PlayerCanMove(g.currentPlayer)) return;
  }
  g.moveCounter = first + 1;
  g.currentPlayer = mover;
}

void ReadRequest(int p) {
  if (gInputSource) {
    gInputSource(p);
  } else if (gCom.player[p].ai) {
    MonsComputerRequest(p);
  } else {
    MonsReadInput(p);
  }
}

void Attempt(int p) {
  TMonsPlayer& pl = gMons.players[p];
  if (!pl.present) return;
  ReadRequest(p);
  if (pl.requestDx != 0 || pl.requestDy != 0) MonsPlayerMove(p);
  pl.requestDx = pl.requestDy = 0;
}

int TurnValue(const TMonsSquare& q, int type) {
  switch (q.kind & 0x7F) {
    case mkNone:
      return 100;
    case mkEarth:
      return 80;
    case mkGate:
      return 140;
    case mkWall:
      return 70;
    case mkMoney:
      return 150;
    case mkTunnel:
      return 110;
    case mkPit:
      return 100;
    case mkPlayer:
      return q.variant + 2 == type ? 100 : 130;
    case mkHouse:
      return q.variant + 2 == type ? 70 : 120;
    case mkMonster:
      return q.variant == type ? 90 : 100;
    default:
      return 100;
  }
}

// A monster turns to one of the two sides, by what lies there and a random part.
void Turn(TMonsSlot& m) {
  const int ax = m.dy, ay = m.dx, bx = -m.dy, by = -m.dx;
  const int a = TurnValue(MonsAt(WrapCol(m.x + ax), WrapRow(m.y + ay)), m.type) + Random(10);
  const int b = TurnValue(MonsAt(WrapCol(m.x + bx), WrapRow(m.y + by)), m.type) + Random(10);
  if (a > b) {
    m.dx = int8_t(ax);
    m.dy = int8_t(ay);
  } else {
    m.dx = int8_t(bx);
    m.dy = int8_t(by);
  }
  MonsAt(m.x, m.y).direction = EncodeMonsHeading(m.dx, m.dy);
}

// The monster's square becomes open, unless the monster is inside a gate or a tunnel
// (which it was never written into).
void LeaveSquare(const TMonsSlot& m) {
  TMonsSquare& q = MonsAt(m.x, m.y);
  if (q.kind != mkGate && q.kind != mkTunnel) ClearSquare(q);
}

bool Breed(int gx, int gy, const TMonsSlot& parent) {
  TMonsGame& g = gMons.game;
  if (g.slotsInUse > kMonsSlots - 1) return false;
  // The neighbours wrap, as every movement on the field does.
  bool room = false;
  for (int d = 0; d < 4; ++d)
    if (MonsAt(WrapCol(gx + kStepDx[d]), WrapRow(gy + kStepDy[d])).kind == mkNone) room = true;
  if (!room) return false;
  int slot = 0;
  while (slot < g.slotsInUse && gMons.monster[slot].type != kSlotFree) ++slot;
  if (slot == g.slotsInUse) ++g.slotsInUse;
  TMonsSlot& child = gMons.monster[slot];
  child = parent;
  child.x = uint8_t(gx);
  child.y = uint8_t(gy);
  ++g.alive;
  ++g.alivePerType[parent.type];
  ++g.bredPerType[parent.type];
  MonsAt(gx, gy).flash = kFlashStart;
  return true;
}

void StepGhost(TMonsSlot& m) {
  const int tx = WrapCol(m.x + m.dx), ty = WrapRow(m.y + m.dy);
  TMonsSquare& target = MonsAt(tx, ty);
  if (target.kind == mkNone) {
    ClearSquare(MonsAt(m.x, m.y));
    m.x = uint8_t(tx);
    m.y = uint8_t(ty);
    target.kind = mkGhost;
  } else if (target.kind == mkPlayer) {
    MonsAt(m.x, m.y).flash = kFlashStart;
    target.flash = kFlashStart;
    ++gMons.players[target.variant].caught;
    AddScore(target.variant, Opt().scorePlayer);
  }
  const int r = Random(8);
  const int dx = m.dx, dy = m.dy;
  if (r == 0) {
    m.dx = int8_t(dy);
    m.dy = int8_t(dx);
  } else if (r == 1) {
    m.dx = int8_t(-dy);
    m.dy = int8_t(-dx);
  }
}

void StepMonster(int s) {
  TMonsSlot& m = gMons.monster[s];
  const int t = m.type;
  const int tx = WrapCol(m.x + m.dx), ty = WrapRow(m.y + m.dy);
  TMonsSquare& target = MonsAt(tx, ty);
  switch (target.kind & 0x7F) {
    case mkNone:
    case mkMoney:
      LeaveSquare(m);
      m.x = uint8_t(tx);
      m.y = uint8_t(ty);
      target.kind = mkMonster;
      target.variant = uint8_t(t);
      target.direction = EncodeMonsHeading(m.dx, m.dy);
      target.slot = uint16_t(s);
      return;
    case mkGate:
      Breed(tx, ty, m);
      Turn(m);
      return;
    case mkTunnel: {
      int dx, dy;
      DecodeMonsDirection(target.direction, dx, dy);
      if (dx != m.dx || dy != m.dy) break;
      LeaveSquare(m);
      m.x = uint8_t(tx);
      m.y = uint8_t(ty);
      return;
    }
    case mkPit:
      LeaveSquare(m);
      KillMonster(s, t);
      if (gMons.game.alive <= 0) EndLevel();
      return;
    case mkPlayer:
      if (target.variant + 2 == t) break;
      MonsAt(m.x, m.y).flash = kFlashStart;
      target.flash = kFlashStart;
      ++gMons.players[target.variant].caught;
      AddScore(target.variant, Opt().scorePlayer);
      return;
    case mkHouse:
      if (target.variant + 2 == t) break;
      MonsAt(m.x, m.y).flash = kFlashStart;
      target.flash = kFlashStart;
      ++gMons.players[target.variant].houseHits;
      AddScore(target.variant, Opt().scoreHouse);
      return;
    case mkMonster: {
      TMonsSlot& other = gMons.monster[target.slot];
      // A square whose monster is gone is in the way like a wall.
      if (other.type == t || other.type >= kMonsTypes) break;
      const bool headOn = other.dx == -m.dx && other.dy == -m.dy;
      KillMonster(target.slot, target.variant);
      ClearSquare(target);
      target.flash = kFlashStart;
      if (headOn) {
        TMonsSquare& own = MonsAt(m.x, m.y);
        if (own.kind != mkGate && own.kind != mkTunnel) {
          ClearSquare(own);
          own.flash = kFlashStart;
        }
        KillMonster(s, t);
        if (gMons.game.alive <= 0) EndLevel();
      }
      return;
    }
    default:
      break;
  }
  Turn(m);
}

void RecordHistory() {
  ComputeMonsTimeScores();
  TMonsGame& g = gMons.game;
  const int n = MonsPlayerCount();
  if (g.historyCount < uint32_t(kMonsHistoryKept)) {
    TMonsHistoryEntry& e = gMons.history[g.historyCount];
    for (int p = 0; p < kMonsPlayers; ++p) {
      e.score[p] = gMons.players[p].score;
      e.timeScore[p] = gMons.players[p].timeScore;
    }
  }
  for (int p = 0; p < n; ++p) {
    const int32_t v[2] = {gMons.players[p].score, gMons.players[p].timeScore};
    for (int i = 0; i < 2; ++i) {
      g.historyMin[i] = std::min(g.historyMin[i], v[i]);
      g.historyMax[i] = std::max(g.historyMax[i], v[i]);
    }
  }
  ++g.historyCount;
}

// Level time `now` has reached `last` + `delay` (in 64 bits: times near the end of the
// 32-bit range do not wrap).
bool Due(uint32_t now, uint32_t last, int32_t delay) {
  return int64_t(now) >= int64_t(last) + int64_t(std::max(delay, 0));
}

// The step's rules, in the order of the two games.
void StepRules() {
  const uint32_t now = Now();
  TMonsGame& g = gMons.game;
  const int n = MonsPlayerCount();
  if (Opt().realTime) {
    if (Due(now, g.lastMonsterStep, Opt().monstersDelay)) {
      g.lastMonsterStep = uint32_t(2 * int64_t(now) - g.lastMonsterStep - Opt().monstersDelay);
      MonsMonsterStep();
    }
    for (int p = 0; p < n && Playing(); ++p) {
      g.currentPlayer = p;
      TMonsPlayer& pl = gMons.players[p];
      if (!Due(now, pl.lastAttempt, Opt().keyboardDelay)) continue;
      pl.lastAttempt = uint32_t(2 * int64_t(now) - pl.lastAttempt - Opt().keyboardDelay);
      Attempt(p);
    }
    return;
  }

  if (g.clockRunning) gMons.players[g.currentPlayer].moveTime = int32_t(now - g.moveStart);
  if (!PlayerCanMove(g.currentPlayer)) {
    // Boxed in since his turn came: the turn passes on. When nobody can move, the monsters
    // keep their own clock so that the field can change.
    if (AnyPlayerCanMove()) {
      ChooseNextPlayer();
    } else if (Due(now, g.lastMonsterStep, Opt().monstersDelay)) {
      g.lastMonsterStep = now;
      MonsMonsterStep();
      return;
    }
  }
  TMonsPlayer& pl = gMons.players[g.currentPlayer];
  if (!Due(now, pl.lastAttempt, Opt().keyboardDelay)) return;
  pl.lastAttempt = now;
  Attempt(g.currentPlayer);
}

}  // namespace

void MonsDecodeLevel() {
  const int index = Mons().levelIndex;
  if (index < 0 || index >= int(gMonsLevels.size())) {
    for (TMonsSquare& q : gMons.grid) q = TMonsSquare{};
    return;
  }
  const TMonsGrid& stored = gMonsLevels[size_t(index)].Grid();
  for (int i = 0; i < kMonsSquares; ++i) {
    TMonsSquare& q = gMons.grid[i];
    q = TMonsSquare{};
    const uint8_t* b = &stored[size_t(i) * 3];
    if (!Playable(b[0], b[1], b[2])) continue;
    q.kind = b[0];
    q.variant = b[1];
    q.direction = b[2];
  }
}

void MonsLevelStart() {
  TMonsSquare grid[kMonsSquares];
  MonsDecodeLevel();
  std::copy(std::begin(gMons.grid), std::end(gMons.grid), grid);
  ResetMonsState();
  std::copy(std::begin(grid), std::end(grid), gMons.grid);
  for (int p = 0; p < kPlayers; ++p) Mons().score[p] = 0;

  const int n = MonsPlayerCount();
  TMonsGame& g = gMons.game;
  auto visit = [&](int x, int y) {
    TMonsSquare& q = MonsAt(x, y);
    q.slot = 0;
    if (q.kind == mkPlayer) {
      if (Opt().swapPlayers) q.variant ^= 1;  // 0 and 1, 2 and 3 change places
      if (q.variant > n - 1) {
        ClearSquare(q);
      } else {
        TMonsPlayer& pl = gMons.players[q.variant];
        pl.x = uint8_t(x);
        pl.y = uint8_t(y);
        pl.present = 1;
      }
    } else if (q.kind == mkMonster) {
      TMonsSlot& m = gMons.monster[g.slotsInUse];
      q.slot = uint16_t(g.slotsInUse);
      ++g.alive;
      ++g.alivePerType[q.variant];
      int dx, dy;
      DecodeMonsDirection(q.direction, dx, dy);
      m = TMonsSlot{q.variant, int8_t(dx), int8_t(dy), uint8_t(x), uint8_t(y)};
      ++g.slotsInUse;
    } else if (q.kind == mkGhost) {
      gMons.monster[g.slotsInUse] = TMonsSlot{kSlotGhost, 0, 1, uint8_t(x), uint8_t(y)};
      ++g.slotsInUse;
    }
  };
  // The visiting order fixes the slots and so the order in which the monsters move.
  for (int y = 0; y < kMonsRows / 2; ++y)
    for (int x = 0; x < kMonsCols / 2; ++x) {
      visit(x, y);
      visit(kMonsCols - 1 - x, y);
      visit(x, kMonsRows - 1 - y);
      visit(kMonsCols - 1 - x, kMonsRows - 1 - y);
    }
  if (Opt().realTime) g.lastMonsterStep = Now();
}

void MonsStep() {
  if (!Playing()) return;
  StepRules();
  // Kept current by the step, so that what is drawn and recorded never depends on drawing.
  ComputeMonsTimeScores();
}

void MonsPlayerMove(int p) {
  TMonsPlayer& pl = gMons.players[p];
  TMonsGame& g = gMons.game;
  const int dx = pl.requestDx, dy = pl.requestDy;
  int tx = dx != 0 ? WrapCol(pl.x + dx) : pl.x;
  int ty = dx != 0 ? pl.y : WrapRow(pl.y + dy);
  bool blocked = Blocks(MonsAt(tx, ty), dx, dy);
  if (blocked && dx != 0 && dy != 0) {
    tx = pl.x;
    ty = WrapRow(pl.y + dy);
    blocked = Blocks(MonsAt(tx, ty), dx, dy);
  }
  if (blocked) {
    pl.requestDx = pl.requestDy = 0;
    Events().SoundRequested(gkMonsters, msNotMove, pl.x);
    return;
  }
  Events().SoundRequested(gkMonsters, msMove, pl.x);

  TMonsSquare& target = MonsAt(tx, ty);
  const uint8_t kind = target.kind;
  if (kind == mkMoney) AddScore(p, Opt().scoreBonus);
  TMonsSquare& from = MonsAt(pl.x, pl.y);
  if (from.kind != mkTunnel) ClearSquare(from);

  bool caught = false;
  if (kind == mkMonster) {
    const TMonsSlot m = gMons.monster[target.slot];
    target.flash = kFlashStart;
    KillMonster(target.slot, target.variant);
    ++pl.killed;
    AddScore(p, Opt().scoreMonster);
    caught = Opt().aggressive && m.type != p + 2 && m.dx == -dx && m.dy == -dy;
    if (g.alive <= 0) EndLevel();
  }
  if (kind != mkTunnel) {
    target.kind = mkPlayer;
    target.variant = uint8_t(p);
    target.direction = 0;
    target.slot = 0;
    target.flash = uint8_t(target.flash / 2);
  }
  if (caught) {
    ++pl.caught;
    AddScore(p, Opt().scorePlayer);
  }
  pl.x = uint8_t(tx);
  pl.y = uint8_t(ty);
  g.clockRunning = 1;
  if (pl.moveTime >= Opt().bonusTime) pl.overtime = Add(pl.overtime, pl.moveTime - Opt().bonusTime);
  pl.lastDx = int8_t(dx);
  pl.lastDy = int8_t(dy);

  if (!Opt().realTime) {
    const int n = MonsPlayerCount();
    // Not after the move that ended the level: nothing happens after the end.
    if ((g.moveCounter % n == 1 || n == 1) && Playing()) MonsMonsterStep();
    ChooseNextPlayer();
  }
  g.moveStart = Now();
  gMons.players[g.currentPlayer].requestDx = 0;
  gMons.players[g.currentPlayer].requestDy = 0;
}

void MonsMonsterStep() {
  for (TMonsSquare& q : gMons.grid)
    if (q.flash > 0) --q.flash;
  const int inUse = gMons.game.slotsInUse;
  for (int s = 0; s < inUse; ++s) {
    TMonsSlot& m = gMons.monster[s];
    if (m.type == kSlotFree) continue;
    if (m.type == kSlotGhost) {
      StepGhost(m);
    } else if (m.type < kMonsTypes) {
      StepMonster(s);
    }
  }
  RecordHistory();
}

void ComputeMonsTimeScores() {
  const int n = MonsPlayerCount();
  const TMonsGame& g = gMons.game;
  int64_t t[kMonsPlayers] = {};
  int64_t tmax = 0;
  for (int p = 0; p < n; ++p) {
    t[p] =
        int64_t(gMons.players[p].overtime) + (p == g.currentPlayer ? gMons.players[p].moveTime : 0);
    tmax = std::max(tmax, t[p]);
  }
  for (int p = 0; p < n; ++p) {
    TMonsPlayer& pl = gMons.players[p];
    if (tmax >= 1 && g.moveCounter >= 5) {
      // In 64 bits: a long overtime passes 32 bits once multiplied by 1000.
      const int64_t divisor = t[p] != 0 ? t[p] : 1000;
      const int64_t v = int64_t(pl.score) + tmax * 1000 / divisor - 1000;
      pl.timeScore = int32_t(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
    } else {
      pl.timeScore = pl.score;
    }
  }
}

void MonsMonsterCentre(int& column, int& row) {
  int perColumn[kMonsCols] = {}, perRow[kMonsRows] = {};
  for (int x = 0; x < kMonsCols; ++x)
    for (int y = 0; y < kMonsRows; ++y)
      if (MonsAt(x, y).kind == mkMonster) {
        ++perColumn[x];
        ++perRow[y];
      }
  auto most = [](const int* count, int size) {
    int best = 0, bestCount = 0;
    for (int i = 0; i < size; ++i) {
      if (count[i] > bestCount) {
        best = i;
        bestCount = count[i];
      } else if (count[i] > 0 && count[i] == bestCount) {
        best = (best + i) / 2;
      }
    }
    return best;
  };
  column = most(perColumn, kMonsCols);
  row = most(perRow, kMonsRows);
}

void MonsComputerRequest(int p) {
  TMonsPlayer& pl = gMons.players[p];
  const int32_t scoreMonster = Opt().scoreMonster, scorePlayer = Opt().scorePlayer;
  int32_t value[4];
  int tx[4], ty[4];
  for (int d = 0; d < 4; ++d) {
    const int ddx = kStepDx[d], ddy = kStepDy[d];
    tx[d] = WrapCol(pl.x + ddx);
    ty[d] = WrapRow(pl.y + ddy);
    const TMonsSquare& t = MonsAt(tx[d], ty[d]);
    if (t.kind == mkNone) {
      value[d] = 0;
    } else if (t.kind == mkEarth) {
      value[d] = 16;
    } else if (t.kind == mkMoney || t.kind == mkMonster) {
      value[d] = scoreMonster;
    } else {
      value[d] = -30000;
      continue;
    }
    if (t.kind == mkMonster) {
      const TMonsSlot& m = gMons.monster[t.slot];
      if (m.type != p + 2 && m.dx == -ddx && m.dy == -ddy) value[d] += scorePlayer;
    }
    for (int e = 0; e < 4; ++e) {
      const int nx = WrapCol(tx[d] + kStepDx[e]), ny = WrapRow(ty[d] + kStepDy[e]);
      const TMonsSquare& nq = MonsAt(nx, ny);
      if (nq.kind == mkEarth) {
        value[d] += 1;
      } else if (nq.kind == mkPlayer && nq.variant != p && t.kind == mkEarth) {
        value[d] += 32;
      } else if (nq.kind == mkMonster) {
        const TMonsSlot& m = gMons.monster[nq.slot];
        // The monster's next square, without the wrap.
        if (m.type < kMonsTypes && m.type != p + 2 && nx + m.dx == tx[d] && ny + m.dy == ty[d])
          value[d] += scorePlayer;
      }
    }
  }
  int column, row;
  MonsMonsterCentre(column, row);
  const int dx0 = std::abs(pl.x - column), dy0 = std::abs(pl.y - row);
  for (int d = 0; d < 4; ++d) {
    const int ddx = kStepDx[d], ddy = kStepDy[d];
    if (std::abs(tx[d] - column) < dx0) value[d] += dx0;
    if (std::abs(ty[d] - row) < dy0) value[d] += dy0;
    if (pl.lastDx == ddx && pl.lastDy == ddy) value[d] += 8;
    if ((pl.lastDx == -ddx && ddx != 0) || (pl.lastDy == -ddy && ddy != 0)) value[d] -= 8;
  }
  int best = 0;
  for (int d = 1; d < 4; ++d)
    if (value[d] > value[best]) best = d;
  pl.requestDx = int8_t(kStepDx[best]);
  pl.requestDy = int8_t(kStepDy[best]);
}

void MonsReadInput(int p) {
  TMonsPlayer& pl = gMons.players[p];
  const TControls c = ReadPlayerControls(p);
  bool left, up, right, down;
  if (c.input == piMouse) {
    const int ddx = c.mouseX - (pl.x * kMonsSquareSize + kMonsSquareSize / 2);
    const int ddy = c.mouseY - (pl.y * kMonsSquareSize + kMonsSquareSize / 2);
    left = up = right = down = false;
    if (std::abs(ddx) < std::abs(ddy)) {
      up = ddy < -10;
      down = ddy > 10;
    } else {
      left = ddx < -10;
      right = ddx > 10;
    }
    gCom.cursorShape = left ? 1 : right ? 2 : up ? 3 : down ? 4 : 0;
  } else {
    // Keyboard mappings and the game controller: with "Bios Keyboard" a control counts only
    // when it went down since the last reading.
    auto on = [&](int control) {
      return Opt().biosKeyboard ? c.pressed[control] != 0
                                : (c.pressed[control] | c.held[control]) != 0;
    };
    left = on(ctLeft);
    up = on(ctUp);
    right = on(ctRight);
    down = on(ctDown);
  }
  pl.requestDx = int8_t(left == right ? 0 : left ? -1 : 1);
  pl.requestDy = int8_t(up == down ? 0 : up ? -1 : 1);
}

void SetMonsInputSource(TMonsInputSource source) {
  gInputSource = source;
}

void MonsGoClock() {
  gMons.game.clockRunning = 1;
  gMons.game.moveStart = Now();
}

void MonsStopClock() {
  gMons.game.clockRunning = 0;
}

void MonsRealTimeChanged() {
  // From now on, whichever game it is: an attempt time left from the other game would hold
  // a player back for as long as that game lasted.
  for (TMonsPlayer& pl : gMons.players) pl.lastAttempt = Now();
  if (Opt().realTime) {
    gMons.game.lastMonsterStep = Now() + uint32_t(std::max(Opt().monstersDelay, 0));
  } else {
    gMons.game.currentPlayer = 0;
  }
}

void MonsDelayChanged() {
  if (Opt().realTime)
    gMons.game.lastMonsterStep = Now() + uint32_t(std::max(Opt().monstersDelay, 0));
}

}  // namespace kelvra
