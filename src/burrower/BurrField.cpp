// Burrower's field: lattice arithmetic, geometry and the level start.
#include "burrower/BurrField.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "common/Events.h"

namespace kelvra {

TBurrState gBurr;
TBurrSizes gBurrSizes;

void ResetBurrState() {
  std::memset(&gBurr, 0, sizeof gBurr);
}

int LatticeIndex(int32_t v) {
  return int(v / kCellPair) * 2 + (v % kCellPair >= kLinePitch ? 1 : 0);
}

int32_t LatticeStart(int index) {
  const int half = index >= 0 ? index / 2 : -((-index + 1) / 2);  // floor
  return (half * 8 + (index - half)) * kLinePitch;
}

int32_t LaneOffset(int32_t v) {
  return (v - 24) % kCellPair - 216;
}

bool InsideLattice(int32_t x, int32_t y) {
  const int c = LatticeIndex(x), r = LatticeIndex(y);
  return c >= 0 && c < kLatticeCols && r >= 0 && r < kLatticeRows;
}

uint8_t& CellAt(int column, int row) {
  return gBurr.lattice[column][row];
}

void BurrSound(int id, int32_t x) {
  Events().SoundRequested(gkBurrower, id, x);
}

bool OpenCell(int column, int row) {
  return column >= 0 && column < kLatticeCols && row >= 0 && row < kLatticeRows &&
         gBurr.lattice[column][row] == lcOpen;
}

bool Blocked(int32_t x, int32_t y) {
  return !OpenCell(LatticeIndex(x), LatticeIndex(y));
}

TContact ContactTest(int32_t left, int32_t top, int32_t right, int32_t bottom) {
  const bool a = Blocked(left, top), b = Blocked(left, bottom);
  const bool c = Blocked(right, top), d = Blocked(right, bottom);
  TContact t{false, (left + right) / 2, (top + bottom) / 2, 0, 0};
  if (a && b && c && d) {
    t.touching = true;
    return t;
  }
  if (a && b) t.sideX = -1, t.x = left;
  if (c && d) t.sideX = 1, t.x = right;
  if (a && c) t.sideY = -1, t.y = top;
  if (b && d) t.sideY = 1, t.y = bottom;
  // A single blocked corner: the contact is that corner, the sides toward it.
  struct Corner {
    bool alone;
    int32_t x, y, sx, sy;
  };
  const Corner corners[] = {{a && !b && !c, left, top, -1, -1},
                            {b && !a && !d, left, bottom, -1, 1},
                            {c && !a && !d, right, top, 1, -1},
                            {d && !b && !c, right, bottom, 1, 1}};
  for (const Corner& k : corners)
    if (k.alone) {
      t.x = k.x;
      t.y = k.y;
      t.sideX += k.sx;
      t.sideY += k.sy;
    }
  t.touching = t.sideX != 0 || t.sideY != 0;
  return t;
}

int DirectionOf(int32_t dx, int32_t dy) {
  if (std::abs(dy) < std::abs(dx)) return dx >= 0 ? 2 : 0;
  return dy < 0 ? 3 : 1;
}

TBox CentredBox(int32_t x, int32_t y, int32_t w, int32_t h) {
  return {x - w / 2, y - h / 2, x + w / 2 - 1, y + h / 2 - 1};
}

bool Overlap(const TBox& a, const TBox& b) {
  return a.left <= b.right && b.left <= a.right && a.top <= b.bottom && b.top <= a.bottom;
}

int32_t Manhattan(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
  return std::abs(x1 - x2) + std::abs(y1 - y2);
}

bool RandomOpenSquare(int32_t& left, int32_t& top) {
  int count = 0;
  for (int y = 0; y < kBurrRows; ++y)
    for (int x = 0; x < kBurrCols; ++x) count += CellAt(2 * x + 1, 2 * y + 1) == lcOpen;
  if (count == 0) return false;
  int r = Random(count);
  for (int y = 0; y < kBurrRows; ++y)
    for (int x = 0; x < kBurrCols; ++x)
      if (CellAt(2 * x + 1, 2 * y + 1) == lcOpen && r-- == 0) {
        left = LatticeStart(2 * x + 1);
        top = LatticeStart(2 * y + 1);
        return true;
      }
  return false;
}

void PlaceShot(const TBox& s, int32_t w, int32_t h, int32_t gap, int direction, int32_t& x,
               int32_t& y) {
  switch (direction) {
    case 0:
      x = s.left - gap - w + 1;
      y = (s.top + s.bottom - h) / 2;
      break;
    case 1:
      x = (s.left + s.right - w) / 2;
      y = s.bottom + gap;
      break;
    case 2:
      x = s.right + gap;
      y = (s.top + s.bottom - h) / 2;
      break;
    default:
      x = (s.left + s.right - w) / 2;
      y = s.top - gap - h + 1;
      break;
  }
}

int BurrPlayerCount() {
  return std::clamp(gCom.k[gkBurrower].playersMinusOne, 0, kBurrPlayers - 1) + 1;
}

void ResetBurrPlayer(int p) {
  TBurrPlayer& pl = gBurr.players[p];
  pl.active = 1;
  pl.frozen = 0;
  pl.shrinkTimer = 0;
  pl.size = 2;
  pl.walkCounter = 0;
  pl.reload = 0;
  pl.health = kFullHealth;
  pl.armor = kFullHealth;
  pl.wound = 0;
  pl.speed = 32;
  pl.invisible = 0;
  pl.input[biSwapped] = 0;
}

void ResetBurrWeapons(int p) {
  TBurrPlayer& pl = gBurr.players[p];
  pl.weapon = wpPistol;
  for (int w = 0; w < kWeapons; ++w) pl.count[w] = pl.ammo[w] = 0;
  pl.count[wpPistol] = 1;
  pl.ammo[wpPistol] = 4 * 12;  // four packs
}

namespace {

// The value of a line or corner cell from its neighbours: wall over earth over open.
uint8_t Strongest(uint8_t a, uint8_t b) {
  return std::max(a, b);
}

}  // namespace

void BurrLevelStart() {
  const TKindState& s = gCom.k[gkBurrower];
  // What a game carries from level to level: the players' weapons and ammunition.
  TBurrPlayer kept[kBurrPlayers];
  std::copy(std::begin(gBurr.players), std::end(gBurr.players), kept);
  const TIceShard* shards = gBurr.iceShards;  // not cleared by a level start
  TIceShard keptShards[kIceShards];
  std::copy(shards, shards + kIceShards, keptShards);
  ResetBurrState();
  std::copy(std::begin(keptShards), std::end(keptShards), gBurr.iceShards);
  for (int p = 0; p < kBurrPlayers; ++p) {
    gBurr.players[p].weapon = kept[p].weapon;
    std::copy(std::begin(kept[p].count), std::end(kept[p].count), gBurr.players[p].count);
    std::copy(std::begin(kept[p].ammo), std::end(kept[p].ammo), gBurr.players[p].ammo);
  }
  for (TBlast& b : gCom.blast) b = TBlast{};

  const int index = s.levelIndex;
  const bool valid = index >= 0 && index < int(gBurrLevels.size());
  int starts = 0;
  int32_t startX[kBurrPlayers] = {}, startY[kBurrPlayers] = {};
  int fruit = 0, apples = 0, brooders = 0;
  for (int y = 0; y < kBurrRows; ++y)
    for (int x = 0; x < kBurrCols; ++x) {
      const uint8_t code =
          valid ? gBurrLevels[size_t(index)].Record()[size_t(x * kBurrRows + y)] : uint8_t(bsNone);
      uint8_t& cell = CellAt(2 * x + 1, 2 * y + 1);
      const int32_t left = LatticeStart(2 * x + 1), top = LatticeStart(2 * y + 1);
      switch (code) {
        case bsEarth:
          cell = lcEarth;
          break;
        case bsWall:
          cell = lcWall;
          break;
        case bsFruit:
          cell = lcEarth;
          if (fruit < kFruit)
            gBurr.fruit[fruit++] = {1, left + (24 - gBurrSizes.fruitW) * kBurrUnit / 2,
                                    top + (24 - gBurrSizes.fruitH) * kBurrUnit / 2};
          break;
        case bsApple:
          cell = lcEarth;
          if (apples < kApples)
            gBurr.apples[apples++] = {
                1, 0, left + kSquareCentre,          top + kSquareCentre,
                0, 0, gBurrSizes.appleW * kBurrUnit, gBurrSizes.appleH * kBurrUnit};
          break;
        case bsBrooder:
          cell = lcOpen;
          if (brooders < kBrooders)
            gBurr.brooders[brooders++] = {
                255, -8, 0, index * 2 + 6, left + kSquareCentre, top + kSquareCentre};
          break;
        case bsPlayer:
          cell = lcOpen;
          if (starts < kBurrPlayers) {
            startX[starts] = left + kSquareCentre;
            startY[starts] = top + kSquareCentre;
            ++starts;
          }
          break;
        case bsNone:
          cell = lcOpen;
          break;
        default:
          break;  // a code the editor never writes: nothing, and the cell stays as it was
      }
    }
  gBurr.hadFruit = fruit > 0;

  // Lines between squares take the stronger of their two squares; corners the strongest
  // of their lines. Neighbours outside the lattice do not count.
  auto cell = [](int c, int r) -> uint8_t {
    return c >= 0 && c < kLatticeCols && r >= 0 && r < kLatticeRows ? uint8_t(CellAt(c, r))
                                                                    : uint8_t(lcOpen);
  };
  for (int r = 0; r < kLatticeRows; ++r)
    for (int c = 0; c < kLatticeCols; ++c) {
      const bool evenC = c % 2 == 0, evenR = r % 2 == 0;
      if (evenC && evenR)
        CellAt(c, r) = lcOpen;
      else if (evenC)
        CellAt(c, r) = Strongest(cell(c - 1, r), cell(c + 1, r));
      else if (evenR)
        CellAt(c, r) = Strongest(cell(c, r - 1), cell(c, r + 1));
    }
  for (int r = 0; r < kLatticeRows; r += 2)
    for (int c = 0; c < kLatticeCols; c += 2)
      CellAt(c, r) = std::max({cell(c - 1, r), cell(c + 1, r), cell(c, r - 1), cell(c, r + 1)});

  if (starts == 0) {
    startX[0] = brooders > 0 ? gBurr.brooders[0].x : 2208;
    startY[0] = brooders > 0 ? gBurr.brooders[0].y : 1296;
  }
  const int taking = BurrPlayerCount();
  for (int p = 0; p < kBurrPlayers; ++p) {
    TBurrPlayer& pl = gBurr.players[p];
    ResetBurrPlayer(p);
    pl.w = gBurrSizes.playerW * kBurrUnit;
    pl.h = gBurrSizes.playerH * kBurrUnit;
    const bool own = p < std::max(starts, 1);
    pl.x = own ? startX[p] : gBurr.players[0].x + kCellPair * p;
    pl.y = own ? startY[p] : gBurr.players[0].y;
    pl.active = p < taking;
  }
}

void BurrGameStart() {
  ResetBurrState();  // nothing of an earlier game, ice shards included, carries over
  BurrLevelStart();
  for (int p = 0; p < kBurrPlayers; ++p) ResetBurrWeapons(p);
}

}  // namespace kelvra
