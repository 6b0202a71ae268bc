// Burrower's drawing on pictures made here: the lattice, the order and modes of the layers,
// the pictures figures show, the players' sets, the status band's values and when they are
// drawn, that drawing never changes the game, and the pictures the program comes with.
#include "burrower/BurrDraw.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "BurrTestUtil.h"
#include "HeadlessTest.h"
#include "base/FileIO.h"
#include "base/Paths.h"
#include "base/Random.h"
#include "burrower/BurrField.h"
#include "common/SharedImages.h"

namespace kelvra {
namespace {

const uint32_t kBack = RGB(10, 20, 30), kEarth = RGB(100, 80, 60), kWallPic = RGB(50, 50, 50);
const uint32_t kEnemyColour = RGB(0, 90, 0), kFruitColour = RGB(200, 0, 200);
const uint32_t kAppleColour = RGB(0, 150, 0), kBallColour = RGB(20, 20, 220);
const uint32_t kGrey = RGB(100, 100, 100), kOdd = RGB(10, 200, 30);  // in the player files
const uint32_t kRed = RGB(255, 0, 0), kBlue = RGB(0, 0, 255);

auto EggColour = [](int f) { return RGB(40 + 80 * f, 200 - 60 * f, 90); };
auto BonusColour = [](int kind) { return RGB(10 * kind, 240 - 10 * kind, 60); };
auto StainColour = [](int kind) { return RGB(70 * kind, 30, 250 - 70 * kind); };

// Per channel (d (16 - k) + s k) / 16: the drawing modes ef00..ef16.
uint32_t Mix(uint32_t d, uint32_t s, int k) {
  auto ch = [&](int a, int b) { return (a * (16 - k) + b * k) / 16; };
  return RGB(ch(RedOf(d), RedOf(s)), ch(GreenOf(d), GreenOf(s)), ch(BlueOf(d), BlueOf(s)));
}

// A flat picture whose top-left pixel is the key colour.
void Solid(TKBitmap& b, int w, int h, uint32_t c, bool keyed = true) {
  b.SetSize(w, h);
  b.ResetClip();
  FillBitmap(b, c, ef16);
  if (keyed) PutPixel(b, 0, 0, kBurrKey, ef16);
}

void MakePictures() {
  TBurrPictures& g = gBurrPictures;
  Solid(g.back, 640, 348, kBack, false);
  Solid(g.earth, 24, 24, kEarth, false);
  Solid(g.wall, 24, 24, kWallPic, false);
  for (int f = 0; f < kEggFrames; ++f) Solid(g.egg[f], 22, 22, EggColour(f));
  for (int k = 1; k <= kBurrBonusKinds; ++k)
    for (int f = 0; f < kAmmoFrames; ++f)
      Solid(g.bonus[k][f], k < bkAmmo ? 20 : 12, k < bkAmmo ? 10 : 12, BonusColour(k) + f);
  Solid(g.fruit, 10, 10, kFruitColour);
  Solid(g.apple, 12, 12, kAppleColour);
  for (int k = 1; k <= 3; ++k) Solid(g.stain[k], 12, 12, StainColour(k));
  for (TKBitmap& b : g.freezerShot) Solid(b, 10, 10, RGB(0, 0, 90));
  for (TKBitmap& b : g.shrinkShot) Solid(b, 10, 10, RGB(90, 0, 0));
  for (TKBitmap& b : g.shrinkCloud) Solid(b, 24, 24, RGB(90, 90, 0));
  for (int d = 0; d < kDirections; ++d) Solid(g.rocket[d], 12, 12, RGB(1, 2, 3 + d));
  for (TKBitmap& b : g.ball) Solid(b, 10, 10, kBallColour);
  for (auto& type : g.enemy)
    for (auto& frame : type)
      for (TKBitmap& b : frame) Solid(b, 14, 14, kEnemyColour);
  for (auto& type : g.death)
    for (TKBitmap& b : type) Solid(b, 14, 14, kEnemyColour);
  // Grey to take the player's colour; a key pixel at (0, 0) and (2, 2); (4, 0) not grey.
  for (auto& dir : g.playerSource)
    for (TKBitmap& b : dir) {
      Solid(b, 20, 20, kGrey);
      PutPixel(b, 2, 2, kBurrKey, ef16);
      PutPixel(b, 4, 0, kOdd, ef16);
    }
  BuildBurrPlayerPictures();
  PrepareBurrEarth();
}

// The centre of square (21, 11) in field units, and its pixel.
constexpr int32_t kCx = 4560, kCy = 2400;
constexpr int kPx = 293, kPy = 169;

class BurrDraw : public test::HeadlessTest {
 protected:
  void SetUp() override {
    test::HeadlessTest::SetUp();
    ResetCom();
    ResetBurrState();
    gBurrEditorView = TBurrEditorView{};
    gCom.player[0].colour = kRed, gCom.player[1].colour = kBlue;
    ComputeHalfColours();
    MakeGlowDiscs();
    MakePictures();
    InvalidateBurrPanel();
    frame.SetSize(640, 440);
  }
  void TearDown() override {
    gBurrPictures = TBurrPictures{};
    gBurrSizes = TBurrSizes{};
    FreeSharedImages();
    InvalidateBurrPanel();
    SetProgramDir("./");
    test::HeadlessTest::TearDown();
  }
  // Draws a frame and gives the pixel at the centre of square (21, 11).
  uint32_t DrawnAtCentre() {
    DrawBurrFrame(frame);
    return frame.Pixel(kPx, kPy);
  }
  TKBitmap frame;
};

TEST_F(BurrDraw, LatticeSquaresLinesAndCornersInTheLevelsHue) {
  gCom.k[gkBurrower].levelIndex = 1;  // hue 128: RGB(255, 128, 0)
  PrepareBurrEarth();
  const uint32_t line = RGB(255, 128, 0), earth = RGB(177, 104, 30);
  struct Case {
    int c, r;
    uint8_t value;
    int x, y;  // a pixel of the cell
    uint32_t colour;
  };
  const Case cases[] = {
      {1, 1, lcEarth, 20, 30, earth},   {3, 1, lcWall, 40, 30, kWallPic},
      {2, 1, lcEarth, 36, 30, line},    {4, 1, lcWall, 63, 45, kRed},
      {0, 0, lcEarth, 8, 19, line},     {5, 1, lcOpen, 70, 30, kBack},
      {46, 24, lcWall, 631, 345, kRed},  // the last pixel of the field
      {6, 0, lcEarth, 90, 21, line},    {7, 0, lcEarth, 115, 19, line},
      {8, 0, lcWall, 116, 19, kRed},  // a run of lines ends where the value changes
      {7, 3, 9, 100, 60, kBack},      // a value no cell has: drawn as open
  };
  for (const Case& c : cases) CellAt(c.c, c.r) = c.value;
  DrawBurrFrame(frame);
  for (const Case& c : cases) EXPECT_EQ(frame.Pixel(c.x, c.y), c.colour) << c.c << "," << c.r;
  EXPECT_EQ(frame.Pixel(632, 345), kBack);  // right of the field: the cells stop

  gCom.editorOpen = 1;
  gBurrEditorView.selected[0] = 1;  // square (0, 0): lattice cell (1, 1)
  DrawBurrFrame(frame);
  EXPECT_EQ(frame.Pixel(20, 30), Mix(earth, RGB(255, 255, 255), 8));
}

TEST_F(BurrDraw, LayersComeInTheirOrder) {
  CellAt(21, 11) = lcEarth;
  TBurrState& b = gBurr;
  b.stains[0] = {1, 255, kCx, kCy};
  b.brooders[0] = {128, 0, 0, 0, kCx, kCy};  // egg 1 opaque, egg 2 in ef00
  b.bonuses[0] = {bkHealth, kCx, kCy, 12 * 16, 12 * 16};
  b.enemies[0] = {esAlive, 1, 0, 2, 0, 0, 0, kCx, kCy, 0, 0, 14 * 16, 14 * 16, 0, 0, 0, 0};
  test::PutPlayer(0, kCx, kCy);
  b.apples[0] = {1, 0, kCx, kCy, 0, 0, 12 * 16, 12 * 16};
  b.fruit[0] = {1, kCx - 80, kCy - 80};
  b.lasers[0] = {10, kCx - 160, kCy, kCx + 160, kCy, 0, 0, 0};
  b.bombs[0] = {16, kCx, kCy, 20 * 16, 10 * 16, 0, 0, 0, 64};
  b.rockets[0] = {1, 0, kCx - 96, kCy - 96, -80, 0, 0, 0, 0};
  b.balls[0] = {64, 1, kCx, kCy, 160, 160, 0, 0, 0};
  b.bullets[0] = {1, kCx - 8, kCy - 8, 0, 0, 0};
  // Top first: what shows, then how to take it away.
  const std::vector<std::pair<uint32_t, std::function<void()>>> layers = {
      {RGB(255, 255, 255), [&] { b.bullets[0].live = 0; }},
      {kBallColour, [&] { b.balls[0].bounces = 0; }},
      {RGB(1, 2, 3), [&] { b.rockets[0].live = 0; }},
      {BonusColour(int(bkWeapon) + wpBomb), [&] { b.bombs[0].live = 0; }},
      {RGB(160, 160, 160), [&] { b.lasers[0].life = 0; }},
      {kFruitColour, [&] { b.fruit[0].live = 0; }},
      {kAppleColour, [&] { b.apples[0].live = 0; }},
      {RGB(99, 0, 0), [&] { b.players[0].active = 0; }},
      {kEnemyColour, [&] { b.enemies[0].state = esFree; }},
      {BonusColour(bkHealth), [&] { b.bonuses[0].kind = 0; }},
      {EggColour(1), [&] { b.brooders[0].opening = 0; }},
      {StainColour(1), [&] { b.stains[0].kind = 0; }},
      {RGB(177, 40, 30), [&] { CellAt(21, 11) = lcOpen; }},
      {kBack, [] {}},
  };
  for (size_t i = 0; i < layers.size(); ++i) {
    EXPECT_EQ(DrawnAtCentre(), layers[i].first) << "layer " << i;
    layers[i].second();
  }
}

TEST_F(BurrDraw, StainsFadeByLifeAndEggsOpenByBlending) {
  const int stains[][2] = {{255, 16}, {240, 16}, {239, 15}, {16, 2}, {15, 1}, {1, 1}, {9999, 16}};
  for (const auto& [life, mode] : stains) {
    gBurr.stains[0] = {2, life, kCx, kCy};
    EXPECT_EQ(DrawnAtCentre(), Mix(kBack, StainColour(2), mode)) << life;
  }
  gBurr.stains[0].kind = 0;
  // Opening, egg f and mode a; 1000 and -7 are no openings a brooder has: 255 and 0.
  const int eggs[][3] = {{200, 1, 9}, {255, 1, 15},  {128, 1, 0}, {127, 0, 15},
                         {8, 0, 1},   {1000, 1, 15}, {-7, 0, 0}};
  for (const auto& [opening, f, a] : eggs) {
    gBurr.brooders[0] = {opening, 0, 0, 0, kCx, kCy};
    EXPECT_EQ(DrawnAtCentre(), Mix(Mix(kBack, EggColour(f + 1), a), EggColour(f), 16 - a))
        << opening;
  }
}

TEST_F(BurrDraw, EnemiesShowTheirFrameForTypeStateAndDirection) {
  const TBurrPictures& g = gBurrPictures;
  // Type, state, death timer, animation, heading; the picture.
  const std::tuple<int, int, int32_t, int32_t, int32_t, int32_t, const TKBitmap*> cases[] = {
      {3, esDying, 1023, 0, 0, 0, &g.death[3][0]},
      {3, esDying, 31, 0, 0, 0, &g.death[3][7]},
      {2, esDying, 512, 0, 0, 0, &g.death[2][1]},
      {5, esDying, 5000, 0, 0, 0, &g.death[5][0]},   // beyond the timer's range
      {4, esDying, -300, 0, 0, 0, &g.death[4][5]},   // below it
      {0, esDying, 0, 12, 0, 0, &g.enemy[0][1][0]},  // no dying frames: as alive
      {0, esAlive, 0, 8, 5, 0, &g.enemy[0][2][0]},
      {2, esAlive, 0, 28, -5, 0, &g.enemy[2][2][0]},
      {5, esAlive, 0, 20, 0, 5, &g.enemy[5][1][1]},
      {3, esAlive, 0, 99, 0, -5, &g.enemy[3][0][3]},
      {1, esAlive, 0, -77, 7, 0, &g.enemy[1][0][2]},
      {6, esAlive, 0, 0, 0, 0, nullptr},
      {255, esDying, 0, 0, 0, 0, nullptr},
  };
  for (const auto& [type, state, deathTimer, animation, dx, dy, picture] : cases) {
    TBurrEnemy e{};
    e.type = uint8_t(type), e.state = uint8_t(state), e.deathTimer = deathTimer;
    e.animation = animation, e.dx = dx, e.dy = dy;
    EXPECT_EQ(BurrEnemyPicture(e), picture) << type << " " << deathTimer;
  }
}

TEST_F(BurrDraw, PlayerSetsTakeTheColourOnTheGreysAndHalveByPicking) {
  const TBurrPictures& g = gBurrPictures;
  const TKBitmap& full = g.player[0][1][2][1];
  const TKBitmap& half = g.player[0][0][2][1];
  EXPECT_EQ(std::make_tuple(full.Pixel(5, 5), full.Pixel(0, 0), full.Pixel(4, 0)),
            std::make_tuple(RGB(99, 0, 0), kBurrKey, kOdd));
  EXPECT_EQ(std::make_tuple(half.Width(), half.Height(), half.Pixel(0, 0), half.Pixel(1, 1),
                            half.Pixel(2, 0), half.Pixel(3, 3)),
            std::make_tuple(10, 10, kBurrKey, kBurrKey, kOdd, RGB(99, 0, 0)));
  // A new colour is taken from the files, not laid over the old one.
  gCom.player[0].colour = RGB(0, 255, 0);
  BuildBurrPlayerPictures();
  EXPECT_EQ(std::make_pair(full.Pixel(5, 5), g.player[1][1][0][0].Pixel(5, 5)),
            std::make_pair(RGB(0, 99, 0), RGB(0, 0, 99)));
}

TEST_F(BurrDraw, PlayersAlternateOnTopAndShowShrunkFrozenAndInvisible) {
  for (int p = 0; p < 2; ++p) test::PutPlayer(p, kCx, kCy);
  const uint32_t red = RGB(99, 0, 0), blue = RGB(0, 0, 99);
  for (const auto& [counter, top] : {std::pair{0u, blue}, {1u, red}, {4u, blue}, {6u, red}}) {
    gCom.frameCounter = counter;
    EXPECT_EQ(DrawnAtCentre(), top) << counter;
  }
  gBurr.players[1].active = 0;
  TBurrPlayer& pl = gBurr.players[0];
  pl.invisible = 500;
  EXPECT_EQ(DrawnAtCentre(), Mix(kBack, red, 1));
  pl.invisible = 0, pl.frozen = 1;
  EXPECT_EQ(DrawnAtCentre(), Mix(red, RGB(0, 255, 255), 8));
  pl.frozen = 0, pl.size = 1, pl.w = pl.h = 160;  // half size: 10 pixels
  DrawBurrFrame(frame);
  EXPECT_EQ(std::make_tuple(frame.Pixel(kPx - 5, kPy), frame.Pixel(kPx + 4, kPy),
                            frame.Pixel(kPx + 5, kPy)),
            std::make_tuple(red, red, kBack));
}

TEST_F(BurrDraw, BarsFillTheirShareOfSixtyFourPixels) {
  const int cases[][2] = {{1024, 64}, {512, 32}, {1023, 63}, {16, 1},
                          {15, 0},    {0, 0},    {-5, 0},    {5000, 64}};
  const int x = 128 + kBurrBarX, y = kBurrBarTop[0];  // player 1's; the number lies lower
  gCom.k[gkBurrower].playersMinusOne = 1;
  for (const auto& [value, filled] : cases) {
    gBurr.players[1].health = value;
    DrawBurrFrame(frame);
    const uint32_t colour = SpectrumColor(std::clamp(value, 0, 1024) / 2);
    const uint32_t last = frame.Pixel(x + filled - 1, y), next = frame.Pixel(x + filled, y);
    EXPECT_TRUE(filled == 0 || last == colour) << value;
    EXPECT_TRUE(filled == 64 || next == RGB(96, 96, 96)) << value;
    EXPECT_NE(frame.Pixel(x + 64, y), colour);  // the bevel, never the bar
  }
}

TEST_F(BurrDraw, WeaponRowsShowCopiesAmmunitionAndTheCurrentWeapon) {
  TBurrPlayer& pl = gBurr.players[0];
  pl.weapon = wpBomb;
  pl.count[wpPistol] = 1, pl.ammo[wpPistol] = 48;
  pl.count[wpBall] = 0, pl.ammo[wpBall] = 7;
  pl.count[wpBomb] = 3, pl.ammo[wpBomb] = 0;
  DrawBurrFrame(frame);
  auto row = [](int w) { return kBurrWeaponRowTop + kBurrWeaponRowH * w; };
  const uint32_t half = gCom.player[0].halfColour;
  // The icon box's left column (beside the picture), a plain pixel of the ammunition box,
  // and the bevel's top-left: light for the current weapon.
  const std::tuple<int, uint32_t, uint32_t, uint32_t> cases[] = {
      {wpPistol, SpectrumColor(0), half, RGB(40, 40, 40)},
      {wpBall, 0, half, RGB(40, 40, 40)},
      {wpBomb, SpectrumColor(512), kRed, RGB(200, 200, 200)}};
  for (const auto& [w, icon, box, bevel] : cases)
    EXPECT_EQ(std::make_tuple(frame.Pixel(kBurrIconX, row(w) + 1),
                              frame.Pixel(kBurrAmmoX, row(w) + 1), frame.Pixel(1, row(w))),
              std::make_tuple(icon, box, bevel))
        << w;
  auto textPixels = [&](int w) {
    int n = 0;
    for (int x = kBurrAmmoX; x < kBurrAmmoX + kBurrAmmoW; ++x)
      for (int y = row(w) + 1; y < row(w) + kBurrWeaponRowH - 1; ++y)
        n += frame.Pixel(x, y) != frame.Pixel(kBurrAmmoX, row(w) + 1);
    return n;
  };
  // Ammunition without the weapon still counts; none: no number.
  EXPECT_TRUE(textPixels(wpPistol) > 0 && textPixels(wpBall) > 0 && textPixels(wpBomb) == 0);
}

TEST_F(BurrDraw, TheBandRedrawsOnlyWhatChanged) {
  TBurrPlayer& pl = gBurr.players[0];
  pl.health = 800, pl.wound = 300, pl.armor = 1024, pl.weapon = 0, pl.count[0] = 1;
  DrawBurrFrame(frame);
  const uint32_t mark = RGB(1, 2, 3);
  // The health and wound bars, the rows of weapons 0, 3 and 5.
  const int spots[][2] = {{kBurrBarX + 1, kBurrBarTop[0]},
                          {kBurrBarX + 1, kBurrBarTop[1]},
                          {kBurrAmmoX, kBurrWeaponRowTop + 1},
                          {kBurrAmmoX, kBurrWeaponRowTop + 37},
                          {kBurrAmmoX, kBurrWeaponRowTop + 61}};
  auto markAll = [&] {
    for (const auto& [x, y] : spots) PutPixel(frame, x, y, mark, ef16);
  };
  auto marked = [&](int i) { return frame.Pixel(spots[i][0], spots[i][1]) == mark; };
  auto markedAll = [&] {
    std::string s;
    for (int i = 0; i < 5; ++i) s += marked(i) ? 'm' : '.';
    return s;
  };
  markAll();
  DrawBurrFrame(frame);  // nothing changed: nothing redrawn
  EXPECT_EQ(markedAll(), "mmmmm");
  pl.health = 700;
  pl.weapon = 3;  // the old row and the new one
  DrawBurrFrame(frame);
  EXPECT_EQ(std::make_pair(markedAll(), pl.shownHealth), std::make_pair(std::string(".m..m"), 700));
  // A level start zeroes the records, caches included: a wound back at 0 must still show.
  markAll();
  pl.wound = 0;
  pl.shownScore = pl.shownHealth = pl.shownWound = pl.shownArmor = 0;
  DrawBurrFrame(frame);
  EXPECT_EQ(std::make_pair(marked(1), frame.Pixel(kBurrBarX, kBurrBarTop[1])),
            std::make_pair(false, RGB(96, 96, 96)));
  // The kind made current again: all of it.
  markAll();
  DrawBurrStatic(frame);
  EXPECT_EQ(pl.shownHealth, -1);
  DrawBurrFrame(frame);
  EXPECT_EQ(markedAll(), ".....");
  // One player fewer: his column goes back to the bare band.
  gCom.k[gkBurrower].playersMinusOne = 1;
  DrawBurrFrame(frame);
  gCom.k[gkBurrower].playersMinusOne = 0;
  DrawBurrFrame(frame);
  EXPECT_EQ(frame.Pixel(128 + kBurrBarX + 1, kBurrBarTop[0]),
            gBurrPictures.panel.Pixel(128 + kBurrBarX + 1, kBurrBarTop[0] - kBurrBandTop));
}

TEST_F(BurrDraw, IceInItsModeAndPuffsFromTheirOwnSeed) {
  gBurr.iceShards[0] = {1, kCx, kCy, 0, 0};
  gBurr.puffs[0] = {16, 12345, kCx + 1600, kCy};
  const uint32_t seed = gCom.randSeed;
  EXPECT_EQ(DrawnAtCentre(), Mix(kBack, RGB(0, 255, 255), 12));
  // The puff's dots: from its own seed, within 5 x 5 pixels, the same in every frame.
  auto dots = [&](int reach) {
    std::vector<uint32_t> lit;
    for (int y = -reach; y <= reach; ++y)
      for (int x = -reach; x <= reach; ++x)
        if (frame.Pixel(kPx + 100 + x, kPy + y) != kBack) lit.push_back(RGB(x + 3, y + 3, 0));
    return lit;
  };
  const std::vector<uint32_t> first = dots(3);
  EXPECT_EQ(std::make_pair(dots(2), first.size() > 3), std::make_pair(first, true));
  DrawBurrFrame(frame);
  EXPECT_EQ(std::make_pair(dots(3), gCom.randSeed), std::make_pair(first, seed));
}

// Everything of the game but the band's caches, and the shared generator.
std::vector<uint8_t> GameBytes() {
  TBurrState copy;
  std::memcpy(&copy, &gBurr, sizeof copy);
  for (TBurrPlayer& pl : copy.players) {
    pl.shownScore = pl.shownHealth = pl.shownWound = pl.shownArmor = pl.shownWeapon = 0;
    std::fill_n(pl.shownCount, kWeapons, 0), std::fill_n(pl.shownAmmo, kWeapons, 0);
  }
  std::vector<uint8_t> bytes;
  auto add = [&](const void* data, size_t size) {
    bytes.insert(bytes.end(), static_cast<const uint8_t*>(data),
                 static_cast<const uint8_t*>(data) + size);
  };
  add(&copy, sizeof copy), add(gCom.spark, sizeof gCom.spark);
  add(gCom.blast, sizeof gCom.blast), add(&gCom.randSeed, 4);
  return bytes;
}

// Every byte of the game at random: no field holds what the rules would give it.
void Scramble(uint32_t seed) {
  auto fill = [&](void* data, size_t size) {
    auto* p = static_cast<uint8_t*>(data);
    for (size_t i = 0; i < size; ++i) p[i] = uint8_t(RandomFrom(seed, 256));
  };
  fill(&gBurr, sizeof gBurr), fill(gCom.spark, sizeof gCom.spark);
  fill(gCom.blast, sizeof gCom.blast);
  for (TBurrPlayer& pl : gBurr.players) pl.x = pl.x % 20000, pl.y = pl.y % 20000;
}

// Whatever values the game holds, even ones no rule gives, a frame draws without a fault and
// leaves the game as it was, the shared generator included.
TEST_F(BurrDraw, AnyGameDrawsSafelyAndStaysAsItWas) {
  for (uint32_t seed = 1; seed <= 40; ++seed) {
    Scramble(seed);
    gCom.k[gkBurrower].levelIndex = int32_t(RandomFrom(seed, 1 << 30)) - (1 << 29);
    gCom.k[gkBurrower].playersMinusOne = int32_t(RandomFrom(seed, 14)) - 4;  // -4..9
    gCom.editorOpen = seed % 2;
    gCom.frameCounter = seed * 2654435761u;
    gCom.stepCounter = seed * 40503u;
    PrepareBurrEarth();
    const std::vector<uint8_t> before = GameBytes();
    DrawBurrFrame(frame);
    EXPECT_TRUE(GameBytes() == before) << seed;
  }
}

TEST_F(BurrDraw, MissingFilesGiveBlankPicturesOfTheUsualSizes) {
  SetProgramDir(dir.path());
  LoadBurrPictures();
  const TBurrPictures& g = gBurrPictures;
  const TBurrSizes defaults;
  EXPECT_GT(headless.fileErrors.size(), 100u);
  EXPECT_EQ(std::make_tuple(gBurrSizes.fruitW, gBurrSizes.appleH, gBurrSizes.playerW,
                            gBurrSizes.bonusW[bkInvisible], g.back.Width(), g.rocket[1].Width(),
                            g.fruit.Pixel(5, 5), g.player[0][0][0][0].Width()),
            std::make_tuple(defaults.fruitW, defaults.appleH, defaults.playerW,
                            defaults.bonusW[bkInvisible], 640, 8, kBurrKey, 10));
  gBurr.fruit[0] = {1, kCx, kCy};
  DrawBurrFrame(frame);
  EXPECT_EQ(frame.Pixel(kPx + 3, kPy + 3), 0u);  // nothing shows where the fruit is
}

TEST_F(BurrDraw, ThePicturesTheProgramComesWith) {
  if (!FileExists(std::string(KELVRA_TEST_DATA_DIR) + "/Graphics/Burrower/Earth.bmp"))
    GTEST_SKIP() << "the generated pictures are not built";
  SetProgramDir(KELVRA_TEST_DATA_DIR);
  LoadSharedImages();
  LoadBurrPictures();
  const TBurrPictures& g = gBurrPictures;
  EXPECT_EQ(headless.fileErrors.size(), 0u);
  EXPECT_EQ(std::make_tuple(gBurrSizes.fruitW, gBurrSizes.appleW, gBurrSizes.playerH,
                            gBurrSizes.bonusW[bkInvisible], gBurrSizes.bonusH[bkMedicSmall]),
            std::make_tuple(g.fruit.Width(), g.apple.Width(), g.playerSource[1][0].Height(),
                            g.bonus[bkInvisible][0].Width(), g.bonus[bkMedicSmall][0].Height()));
  // The boxes are the pictures' sizes, so every sprite fits a 24-pixel tunnel; it stands on
  // the key colour, in a corner at least, and is not all key.
  std::vector<const TKBitmap*> sprites = {&g.fruit, &g.apple, &g.rocket[0]};
  auto add = [&](const TKBitmap* first, size_t n) {
    for (size_t i = 0; i < n; ++i)
      if (!first[i].Empty()) sprites.push_back(first + i);
  };
  add(g.egg, kEggFrames), add(&g.stain[1], 3), add(g.freezerShot, kFreezerFrames);
  add(g.shrinkShot, kShrinkFrames), add(g.shrinkCloud, kShrinkFrames), add(g.ball, kBallKinds);
  add(&g.bonus[1][0], (bkInvisible - 1) * kAmmoFrames);  // the last is the shared blink
  add(&g.enemy[0][0][0], sizeof g.enemy / sizeof(TKBitmap));
  add(&g.death[0][0], sizeof g.death / sizeof(TKBitmap));
  add(&g.playerSource[0][0], sizeof g.playerSource / sizeof(TKBitmap));
  for (size_t i = 0; i < sprites.size(); ++i) {
    const TKBitmap* b = sprites[i];
    const int w = b->Width() - 1, h = b->Height() - 1;
    int clear = 0;
    for (int y = 0; y <= h; ++y)
      for (int x = 0; x <= w; ++x) clear += b->Pixel(x, y) == kBurrKey;
    EXPECT_TRUE(w < 24 && h < 24 && clear < (w + 1) * (h + 1) * 7 / 8 &&
                (b->Pixel(0, 0) == kBurrKey || b->Pixel(w, 0) == kBurrKey ||
                 b->Pixel(0, h) == kBurrKey || b->Pixel(w, h) == kBurrKey))
        << "sprite " << i;
  }
  // Earth and wall cover their whole square; the players carry greys for their colours, and
  // right (direction 2) is left (0) mirrored.
  for (const TKBitmap* b : {&g.earth, &g.wall})
    for (int y = 0; y < 24; ++y)
      for (int x = 0; x < 24; ++x) ASSERT_NE(b->Pixel(x, y), kBurrKey);
  for (int f = 0; f < kPlayerFrames; ++f) {
    const TKBitmap &left = g.playerSource[0][f], &right = g.playerSource[2][f];
    int greys = 0;
    for (int y = 0; y < 20; ++y)
      for (int x = 0; x < 20; ++x) {
        const uint32_t c = left.Pixel(x, y);
        greys += RedOf(c) == GreenOf(c) && GreenOf(c) == BlueOf(c) && RedOf(c) > 0;
        ASSERT_EQ(right.Pixel(x, y), left.Pixel(19 - x, y)) << f;
      }
    EXPECT_GE(greys, 60) << f;
  }
}

}  // namespace
}  // namespace kelvra
