// Burrower's drawing: the field in its layers, the status band and the status line.
#include "burrower/BurrDraw.h"

#include <algorithm>
#include <climits>
#include <string>

#include "base/Random.h"
#include "burrower/BurrField.h"
#include "common/Com.h"
#include "common/ReadNumber.h"
#include "common/SharedImages.h"
#include "media/FixedFont.h"

namespace kelvra {

namespace {

constexpr uint32_t kBlack = 0;
constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kSilver = 0xC0C0C0;
constexpr uint32_t kWallLine = 0x0000FF;  // RGB(255, 0, 0)
constexpr uint32_t kIce = 0xFFFF00;       // RGB(0, 255, 255): frozen tint and ice shards
constexpr uint32_t kPuffGrey = 0x808080;
constexpr uint32_t kBarRest = 0x606060;  // the empty part of a bar
constexpr uint32_t kBevelLight = 0xC8C8C8, kBevelDark = 0x282828;

constexpr int32_t kPuffDots = 16;       // a puff's life at its birth: never more dots
constexpr int32_t kFireFull = 512;      // a fire below this life shrinks
constexpr int32_t kBarScale = 1024;     // health, wound and armor run 0..1024
constexpr int kBarHue = 512;            // full bar: green; empty: red
constexpr int kWeaponHuePerCopy = 256;  // one copy red, two yellow, three green

// The status line above the field.
constexpr int kLineTextY = 4;
struct TLabel {
  int x;
  const char* text;
};
constexpr TLabel kCaptions[] = {{4, "Level"}, {132, "Time"}, {260, "Game"}, {464, "F/s"}};
struct TSpan {
  int x, right;  // a value's text starts at x; columns x..right are cleared before it
};
constexpr TSpan kLevelSpan = {68, 131}, kLevelTimeSpan = {196, 259}, kGameTimeSpan = {324, 463},
                kDrawRateSpan = {500, 563}, kStepRateSpan = {564, 639};

// Inside a player's column of the band (x from the column's left).
constexpr int kScoreX = 54, kScoreY = 351, kScoreRight = 125;
constexpr int kBarLabelX = 52;
constexpr int kRowLeft = 1, kRowRight = 50;  // a weapon row's bevel

constexpr int32_t kUnknown = INT32_MIN;  // "not drawn yet": differs from every value

// What the band and the status line show. The players' values are also cached in their
// records ("shown"); this copy makes sure that a reset of the records (a level start zeroes
// them) cannot leave a stale value on the band.
struct TPanelCache {
  bool onFrame = false;
  int32_t players = kUnknown;  // columns with values
  int32_t level = kUnknown, levelSeconds = kUnknown, gameSeconds = kUnknown;
  int32_t drawRate = kUnknown, stepRate = kUnknown;
  int32_t score[kBurrPlayers], health[kBurrPlayers], wound[kBurrPlayers], armor[kBurrPlayers];
  int32_t weapon[kBurrPlayers];
  int32_t count[kBurrPlayers][kWeapons], ammo[kBurrPlayers][kWeapons];
  TPanelCache() {
    std::fill_n(score, kBurrPlayers, kUnknown);
    std::fill_n(health, kBurrPlayers, kUnknown);
    std::fill_n(wound, kBurrPlayers, kUnknown);
    std::fill_n(armor, kBurrPlayers, kUnknown);
    std::fill_n(weapon, kBurrPlayers, kUnknown);
    std::fill_n(&count[0][0], kBurrPlayers * kWeapons, kUnknown);
    std::fill_n(&ammo[0][0], kBurrPlayers * kWeapons, kUnknown);
  }
};
TPanelCache gCache;

// Scratch pictures of one frame (shrunk or frozen figures, shrinking fires).
TKBitmap gScratch, gScratch2;

int ToInt(int64_t v) {
  return int(std::clamp<int64_t>(v, INT_MIN / 2, INT_MAX / 2));
}

uint32_t Shown(uint32_t colour, uint32_t otherwise) {
  const uint32_t c = ColorToRGB(colour);
  return c > 0xFFFFFF ? otherwise : c;
}

uint32_t PlayerColour(int p) {
  return Shown(gCom.player[p].colour, kWhite);
}

uint32_t TextOn(uint32_t background) {
  return RedOf(background) + GreenOf(background) + BlueOf(background) >= 384 ? kBlack : kWhite;
}

// Pixel starts of the lattice's columns and rows on the frame (a line 3, a square 24 wide).
struct TLatticePixels {
  int x[kLatticeCols + 1], y[kLatticeRows + 1];
  TLatticePixels() {
    for (int i = 0; i <= kLatticeCols; ++i) x[i] = BurrPixelX(LatticeStart(i));
    for (int i = 0; i <= kLatticeRows; ++i) y[i] = BurrPixelY(LatticeStart(i));
  }
};
const TLatticePixels& Cells() {
  static const TLatticePixels cells;
  return cells;
}

// --- Sprites ---------------------------------------------------------------------------

// A sprite whose box has its centre at (x, y) and the size w x h (field units).
void DrawBoxed(TKBitmap& frame, const TKBitmap& pic, int64_t x, int64_t y, int64_t w, int64_t h,
               uint32_t transparent, TEffect mode) {
  DrawWhole(frame, BurrPixelX(x - w / 2), BurrPixelY(y - h / 2), pic, transparent, mode);
}

// A sprite centred at (x, y) with the box of its own picture.
void DrawCentred(TKBitmap& frame, const TKBitmap& pic, int64_t x, int64_t y, uint32_t transparent,
                 TEffect mode) {
  DrawBoxed(frame, pic, x, y, int64_t(pic.Width()) * kBurrUnit, int64_t(pic.Height()) * kBurrUnit,
            transparent, mode);
}

// The picture of a figure as it is drawn: halved when shrunk, tinted when frozen.
const TKBitmap& Figure(const TKBitmap& pic, bool shrunk, bool frozen) {
  if (!shrunk && !frozen) return pic;
  if (shrunk)
    HalveBitmap(gScratch, pic);
  else
    gScratch.CopyFrom(pic);
  gScratch.ResetClip();
  if (frozen) TintBitmap(gScratch, kIce, kBurrKey, ef08);
  return gScratch;
}

// --- Layers ----------------------------------------------------------------------------

void DrawBackground(TKBitmap& frame) {
  const TKBitmap& back = gBurrPictures.back;
  TClipTo clip(frame, 0, kBurrBackTop, kBurrFrameW - 1, kBurrBackBottom);
  if (back.Width() < kBurrFrameW || back.Height() <= kBurrBackBottom)
    FillRect(frame, 0, kBurrBackTop, kBurrFrameW - 1, kBurrBackBottom, kBlack, ef16);
  DrawWhole(frame, 0, 0, back, clNone, ef16);  // its top rows lie under the status line
}

void DrawLattice(TKBitmap& frame) {
  const TLatticePixels& px = Cells();
  const TBurrPictures& g = gBurrPictures;
  const int64_t hue = int64_t(gCom.k[gkBurrower].levelIndex) * 128 % kSpectrumSteps;
  const uint32_t earthLine = SpectrumColor(int(hue));
  for (int r = 0; r < kLatticeRows; ++r) {
    const int y1 = px.y[r], y2 = px.y[r + 1] - 1;
    for (int c = 0; c < kLatticeCols; ++c) {
      const uint8_t v = gBurr.lattice[c][r];
      if (v != lcEarth && v != lcWall) continue;  // open shows the background
      if (c % 2 == 1 && r % 2 == 1) {
        const TKBitmap& pic = v == lcEarth ? g.levelEarth : g.wall;
        const int x1 = px.x[c];
        DrawBitmap(frame, x1, y1, pic, 0, 0, std::min(pic.Width(), px.x[c + 1] - x1) - 1,
                   std::min(pic.Height(), y2 - y1 + 1) - 1, clNone, ef16);
        continue;
      }
      // Lines and corners: one fill for a run of equal ones along a line row.
      int last = c;
      if (r % 2 == 0)
        while (last + 1 < kLatticeCols && gBurr.lattice[last + 1][r] == v) ++last;
      FillRect(frame, px.x[c], y1, px.x[last + 1] - 1, y2, v == lcEarth ? earthLine : kWallLine,
               ef16);
      c = last;
    }
  }
  if (!gCom.editorOpen) return;
  for (int i = 0; i < kBurrLevelRecordSize; ++i) {
    if (!gBurrEditorView.selected[i]) continue;
    const int c = 2 * (i / kBurrRows) + 1, r = 2 * (i % kBurrRows) + 1;
    FillRect(frame, px.x[c], px.y[r], px.x[c + 1] - 1, px.y[r + 1] - 1, kWhite, ef08);
  }
}

void DrawStains(TKBitmap& frame) {
  for (const TStain& s : gBurr.stains) {
    if (s.kind < 1 || s.kind > 3 || s.life <= 0) continue;
    const TEffect mode = TEffect(std::min<int32_t>(s.life / 16 + 1, ef16));
    DrawCentred(frame, gBurrPictures.stain[s.kind], s.x, s.y, kBurrKey, mode);
  }
}

void DrawBrooders(TKBitmap& frame) {
  for (const TBrooder& b : gBurr.brooders) {
    if (b.opening == 0) continue;
    const int o = std::clamp<int32_t>(b.opening, 0, 255);
    const int f = o / 128, a = o % 128 / 8;  // f 0..1, a 0..15
    DrawCentred(frame, gBurrPictures.egg[f + 1], b.x, b.y, kBurrKey, TEffect(a));
    DrawCentred(frame, gBurrPictures.egg[f], b.x, b.y, kBurrKey, TEffect(16 - a));
  }
}

void DrawBonuses(TKBitmap& frame) {
  const int ammoFrame = PingPong(int32_t(gCom.stepCounter / 4), kAmmoFrames - 1);
  for (const TBurrBonus& b : gBurr.bonuses) {
    if (b.kind < 1 || b.kind > kBurrBonusKinds) continue;
    const bool animated = b.kind == int(bkAmmo) + wpShrinker || b.kind == int(bkAmmo) + wpFreezer;
    DrawBoxed(frame, gBurrPictures.bonus[b.kind][animated ? ammoFrame : 0], b.x, b.y, b.w, b.h,
              kBurrKey, ef16);
  }
}

void DrawEnemies(TKBitmap& frame) {
  for (const TBurrEnemy& e : gBurr.enemies) {
    if (e.state == esFree) continue;
    const TKBitmap* pic = BurrEnemyPicture(e);
    if (!pic) continue;
    DrawBoxed(frame, Figure(*pic, e.size == 1, e.frozen != 0), e.x, e.y, e.w, e.h, kBurrKey, ef16);
  }
}

void DrawPlayers(TKBitmap& frame) {
  const int first = int(gCom.frameCounter % kBurrPlayers);
  for (int i = 0; i < kBurrPlayers; ++i) {
    const int p = (first + i) % kBurrPlayers;
    const TBurrPlayer& pl = gBurr.players[p];
    if (!pl.active) continue;
    const TKBitmap* pic = BurrPlayerPicture(p);
    if (!pic) continue;
    // The set is already halved for size 1; only the frozen tint is made here.
    DrawBoxed(frame, Figure(*pic, false, pl.frozen != 0), pl.x, pl.y, pl.w, pl.h, kBurrKey,
              pl.invisible > 0 ? ef01 : ef16);
  }
}

void DrawFruitAndApples(TKBitmap& frame) {
  for (const TApple& a : gBurr.apples)
    if (a.live > 0) DrawBoxed(frame, gBurrPictures.apple, a.x, a.y, a.w, a.h, kBurrKey, ef16);
  for (const TFruit& f : gBurr.fruit)
    if (f.live != 0)
      DrawWhole(frame, BurrPixelX(f.x), BurrPixelY(f.y), gBurrPictures.fruit, kBurrKey, ef16);
}

void DrawLasers(TKBitmap& frame) {
  for (const TLaserBeam& l : gBurr.lasers) {
    if (l.life <= 0) continue;
    const int grey = std::min<int64_t>(int64_t(l.life) * 16, 255);
    DrawLine(frame, BurrPixelX(l.x), BurrPixelY(l.y), BurrPixelX(l.endX), BurrPixelY(l.endY),
             RGB(grey, grey, grey), ef16);
  }
}

// The dots of a puff come from a generator of its own, seeded with the puff's seed: the
// same dots in every frame until the step gives the puff a new seed, and the game's
// generator is never touched.
void DrawPuffs(TKBitmap& frame) {
  for (const TPuff& p : gBurr.puffs) {
    if (p.life <= 0) continue;
    uint32_t seed = p.seed;
    const int x = BurrPixelX(p.x) - 2, y = BurrPixelY(p.y) - 2;
    for (int i = std::min(p.life, kPuffDots); i > 0; --i) {
      const int r1 = RandomFrom(seed, 5);
      const int r2 = RandomFrom(seed, 5);
      PutPixel(frame, x + r1, y + r2, kPuffGrey, efAdd);
    }
  }
}

void DrawBombsRocketsBalls(TKBitmap& frame) {
  const TBurrPictures& g = gBurrPictures;
  for (const TBomb& b : gBurr.bombs)
    if (b.live != 0)
      DrawBoxed(frame, g.bonus[int(bkWeapon) + wpBomb][0], b.x, b.y, b.w, b.h, kBurrKey, ef16);
  for (const TRocket& r : gBurr.rockets)
    if (r.live != 0)
      DrawWhole(frame, BurrPixelX(r.x), BurrPixelY(r.y), g.rocket[DirectionOf(r.dx, r.dy)],
                kBurrKey, ef16);
  for (const TBall& b : gBurr.balls)
    if (b.bounces != 0 && b.kind >= 1 && b.kind <= kBallKinds)
      DrawBoxed(frame, g.ball[b.kind - 1], b.x, b.y, b.w, b.h, kBurrKey, ef16);
}

void DrawFires(TKBitmap& frame) {
  for (const TFire& f : gBurr.fires) {
    if (f.life <= 0) continue;
    const TKBitmap* pic = gImages.fire[f.life % kFireFrames].get();
    if (!pic || pic->Empty()) continue;
    if (f.life < kFireFull) {
      const int h = std::max(1, int(int64_t(pic->Height()) * f.life / kFireFull));
      ScaleBitmap(gScratch2, *pic, pic->Width(), h);
      gScratch2.ResetClip();
      pic = &gScratch2;
    }
    // Black adds nothing: the flames need no transparent colour.
    DrawWhole(frame, BurrPixelX(f.x) - pic->Width() / 2, BurrPixelY(f.y) - pic->Height() + 1, *pic,
              clNone, efAdd);
  }
}

void DrawIce(TKBitmap& frame) {
  for (const TIceShard& s : gBurr.iceShards)
    if (s.live > 0) PutPixel(frame, BurrPixelX(s.x), BurrPixelY(s.y), kIce, ef12);
}

// Rocket smoke: the shared spark pool, a glow disc as large as the spark's life.
void DrawSmoke(TKBitmap& frame) {
  for (const TSpark& s : gCom.spark) {
    if (s.life <= 0) continue;
    const TKBitmap* disc = gImages.glow[std::clamp<int32_t>(s.life, 1, kGlowDiscs)].get();
    if (!disc) continue;
    DrawWhole(frame, BurrPixelX(s.x) - disc->Width() / 2, BurrPixelY(s.y) - disc->Height() / 2,
              *disc, clNone, efAdd);
  }
}

void DrawShrinkersAndFreezers(TKBitmap& frame) {
  const TBurrPictures& g = gBurrPictures;
  for (const TShrinkShot& s : gBurr.shrinkShots)
    if (s.live != 0)
      DrawBoxed(frame, g.shrinkShot[PingPong(s.frame / 4, kShrinkFrames - 1)], s.x, s.y, s.w, s.h,
                kBurrKey, ef12);
  for (const TShrinkCloud& c : gBurr.shrinkClouds)
    if (c.life > 0)
      DrawBoxed(frame, g.shrinkCloud[PingPong(c.life / 8, kShrinkFrames - 1)], c.x, c.y, c.w, c.h,
                kBurrKey, ef08);
  for (const TFreezerShot& s : gBurr.freezerShots)
    if (s.bounces != 0)
      DrawBoxed(frame, g.freezerShot[PingPong(s.frame / 4, kFreezerFrames - 1)], s.x, s.y, s.w, s.h,
                kBurrKey, efAdd);
}

void DrawBullets(TKBitmap& frame) {
  constexpr int32_t kMiddle = 8;  // of the 17-unit box
  for (const TBullet& b : gBurr.bullets)
    if (b.live != 0)
      PutPixel(frame, BurrPixelX(int64_t(b.x) + kMiddle), BurrPixelY(int64_t(b.y) + kMiddle),
               kWhite, ef16);
}

// --- Status band -----------------------------------------------------------------------

// "00": at least two digits.
std::string FormatLevel(int64_t v) {
  return v >= 0 && v < 10 ? FormatTwoDigits(int32_t(v)) : std::to_string(v);
}

// The panel picture's pixels of the rectangle back on the frame.
void RestoreBand(TKBitmap& frame, int x1, int y1, int x2, int y2) {
  DrawBitmap(frame, x1, y1, gBurrPictures.panel, x1, y1 - kBurrBandTop, x2, y2 - kBurrBandTop,
             clNone, ef16);
}

// True when the band must show `value` anew; then both caches take it.
bool Changed(int32_t value, int32_t& shown, int32_t& drawn) {
  if (value == shown && shown == drawn) return false;
  shown = drawn = value;
  return true;
}

void DrawScore(TKBitmap& frame, int p, int32_t score) {
  const int x0 = p * kBurrColumnW;
  TClipTo clip(frame, x0 + kScoreX, kScoreY, x0 + kScoreRight, kScoreY + kFixedCellHeight - 1);
  RestoreBand(frame, x0 + kScoreX, kScoreY, x0 + kScoreRight, kScoreY + kFixedCellHeight - 1);
  DrawFixedText(frame, x0 + kScoreX, kScoreY, std::to_string(score), PlayerColour(p));
}

void DrawBar(TKBitmap& frame, int x, int y, int32_t value) {
  const int64_t v = std::clamp<int64_t>(value, 0, kBarScale);
  const int length = int(v * kBurrBarLength / kBarScale);
  DrawBorder3D(frame, x - 1, y - 1, x + kBurrBarLength, y + kBurrBarH, kBevelDark, kBevelLight, 1,
               ef16);
  if (length > 0)
    FillRect(frame, x, y, x + length - 1, y + kBurrBarH - 1,
             SpectrumColor(int(v * kBarHue / kBarScale)), ef16);
  if (length < kBurrBarLength)
    FillRect(frame, x + length, y, x + kBurrBarLength - 1, y + kBurrBarH - 1, kBarRest, ef16);
  // A wound may exceed the scale: its number goes on, the bar stops full.
  const int64_t percent = std::min<int64_t>(std::max<int64_t>(value, 0) * 100 / kBarScale, 999);
  const std::string text = std::to_string(percent);
  DrawFixedText(frame, x + (kBurrBarLength - FixedTextWidth(text)) / 2, y + 2, text, kBlack);
}

void DrawWeaponRow(TKBitmap& frame, int p, int w, bool current) {
  const TBurrPlayer& pl = gBurr.players[p];
  const int x0 = p * kBurrColumnW, y = kBurrWeaponRowTop + kBurrWeaponRowH * w;
  const int y1 = y + 1, y2 = y + kBurrWeaponRowH - 2;
  DrawBorder3D(frame, x0 + kRowLeft, y, x0 + kRowRight, y + kBurrWeaponRowH - 1,
               current ? kBevelLight : kBevelDark, current ? kBevelDark : kBevelLight, 1, ef16);
  {
    const int ix1 = x0 + kBurrIconX, ix2 = ix1 + kBurrIconW - 1;
    TClipTo clip(frame, ix1, y1, ix2, y2);
    if (pl.count[w] > 0) {
      FillRect(frame, ix1, y1, ix2, y2,
               SpectrumColor(int((int64_t(pl.count[w]) - 1) * kWeaponHuePerCopy % kSpectrumSteps)),
               ef16);
      const TKBitmap& icon = gBurrPictures.bonus[bkWeapon + w][0];
      DrawWhole(frame, ix1 + (kBurrIconW - icon.Width()) / 2,
                y1 + (y2 - y1 + 1 - icon.Height()) / 2, icon, kBurrKey, ef16);
    } else {
      FillRect(frame, ix1, y1, ix2, y2, kBlack, ef16);
    }
  }
  const int ax1 = x0 + kBurrAmmoX, ax2 = ax1 + kBurrAmmoW - 1;
  TClipTo clip(frame, ax1, y1, ax2, y2);
  const uint32_t box = current ? PlayerColour(p) : Shown(gCom.player[p].halfColour, kSilver);
  FillRect(frame, ax1, y1, ax2, y2, box, ef16);
  if (pl.ammo[w] != 0) {
    const std::string text = std::to_string(pl.ammo[w]);  // "##0"
    DrawFixedText(frame, ax2 - FixedTextWidth(text), y1 + 1, text, TextOn(box));
  }
}

void DrawPlayerValues(TKBitmap& frame, int p) {
  TBurrPlayer& pl = gBurr.players[p];  // only the "shown" caches are written
  const int x0 = p * kBurrColumnW;
  if (Changed(gCom.k[gkBurrower].score[p], pl.shownScore, gCache.score[p]))
    DrawScore(frame, p, pl.shownScore);
  if (Changed(pl.health, pl.shownHealth, gCache.health[p]))
    DrawBar(frame, x0 + kBurrBarX, kBurrBarTop[0], pl.health);
  if (Changed(pl.wound, pl.shownWound, gCache.wound[p]))
    DrawBar(frame, x0 + kBurrBarX, kBurrBarTop[1], pl.wound);
  if (Changed(pl.armor, pl.shownArmor, gCache.armor[p]))
    DrawBar(frame, x0 + kBurrBarX, kBurrBarTop[2], pl.armor);

  // A change of the current weapon redraws the old row and the new one.
  const int32_t before = gCache.weapon[p];
  bool weaponChanged = pl.weapon != pl.shownWeapon || pl.shownWeapon != before;
  pl.shownWeapon = pl.weapon;
  gCache.weapon[p] = pl.weapon;
  for (int w = 0; w < kWeapons; ++w) {
    const bool counts = Changed(pl.count[w], pl.shownCount[w], gCache.count[p][w]);
    const bool ammo = Changed(pl.ammo[w], pl.shownAmmo[w], gCache.ammo[p][w]);
    const bool row = weaponChanged && (w == before || w == pl.weapon);
    if (counts || ammo || row) DrawWeaponRow(frame, p, w, w == pl.weapon);
  }
}

void PaintBand(TKBitmap& frame) {
  DrawWhole(frame, 0, kBurrBandTop, gBurrPictures.panel, clNone, ef16);
  for (int p = 0; p < kBurrPlayers; ++p) {
    TBurrPlayer& pl = gBurr.players[p];
    pl.shownScore = pl.shownHealth = pl.shownWound = pl.shownArmor = -1;
    pl.shownWeapon = 0xFF;
    std::fill_n(pl.shownCount, kWeapons, -1);
    std::fill_n(pl.shownAmmo, kWeapons, -1);
  }
  const TPanelCache fresh;
  std::copy_n(fresh.score, kBurrPlayers, gCache.score);
  std::copy_n(fresh.health, kBurrPlayers, gCache.health);
  std::copy_n(fresh.wound, kBurrPlayers, gCache.wound);
  std::copy_n(fresh.armor, kBurrPlayers, gCache.armor);
  std::copy_n(fresh.weapon, kBurrPlayers, gCache.weapon);
  std::copy_n(&fresh.count[0][0], kBurrPlayers * kWeapons, &gCache.count[0][0]);
  std::copy_n(&fresh.ammo[0][0], kBurrPlayers * kWeapons, &gCache.ammo[0][0]);
  gCache.players = kUnknown;
}

void DrawBand(TKBitmap& frame) {
  const int players = BurrPlayerCount();
  if (players != gCache.players) {
    if (gCache.players != kUnknown) PaintBand(frame);  // a column left over is cleared
    gCache.players = players;
  }
  for (int p = 0; p < players; ++p) DrawPlayerValues(frame, p);
}

void DrawLineValue(TKBitmap& frame, const TSpan& s, const std::string& text) {
  TClipTo clip(frame, s.x, 0, s.right, kBurrBackTop - 1);
  FillRect(frame, s.x, 0, s.right, kBurrBackTop - 1, kBlack, ef16);
  DrawFixedText(frame, s.x, kLineTextY, text, kWhite);
}

void DrawStatusLine(TKBitmap& frame) {
  const TKindState& s = gCom.k[gkBurrower];
  const int32_t level = s.levelIndex + 1;
  if (level != gCache.level) {
    gCache.level = level;
    DrawLineValue(frame, kLevelSpan, FormatLevel(level));
  }
  if (int32_t(s.levelTime / 1000) != gCache.levelSeconds) {
    gCache.levelSeconds = int32_t(s.levelTime / 1000);
    DrawLineValue(frame, kLevelTimeSpan, FormatMinutes(s.levelTime));
  }
  if (int32_t(s.gameTime / 1000) != gCache.gameSeconds) {
    gCache.gameSeconds = int32_t(s.gameTime / 1000);
    DrawLineValue(frame, kGameTimeSpan, FormatMinutes(s.gameTime));
  }
  if (int32_t(gFrameRates.draw) != gCache.drawRate) {
    gCache.drawRate = int32_t(gFrameRates.draw);
    DrawLineValue(frame, kDrawRateSpan, FormatRate(gFrameRates.draw));
  }
  if (int32_t(gFrameRates.step) != gCache.stepRate) {
    gCache.stepRate = int32_t(gFrameRates.step);
    DrawLineValue(frame, kStepRateSpan, FormatRate(gFrameRates.step));
  }
}

}  // namespace

int32_t BurrPixelX(int64_t v) {
  return ToInt((v + 8) / kBurrUnit + 8);
}

int32_t BurrPixelY(int64_t v) {
  return ToInt((v + 8) / kBurrUnit + 19);
}

int PingPong(int32_t v, int n) {
  if (n < 1) return 0;
  const int period = 2 * n;
  const int m = int((int64_t(v) % period + period) % period);
  return m <= n ? m : period - m;
}

const TKBitmap* BurrEnemyPicture(const TBurrEnemy& e) {
  if (e.type >= kEnemyTypes) return nullptr;
  const TBurrPictures& g = gBurrPictures;
  const int t = e.type;
  const int32_t step = e.animation / 4;
  if (e.state == esDying && kEnemyDeathFrames[t] > 0) {
    const int count = kEnemyDeathFrames[t];
    const int64_t frame = count - 1 - int64_t(e.deathTimer) * count / 1024;
    return &g.death[t][std::clamp<int64_t>(frame, 0, count - 1)];
  }
  if (t == 0) return &g.enemy[0][PingPong(step, kEnemyWalkFrames[0] - 1)][0];
  const int d = DirectionOf(e.dx, e.dy);
  const int frames = kEnemyWalkFrames[t];
  const int frame = int((int64_t(step) % frames + frames) % frames);
  return &g.enemy[t][frame][d];
}

const TKBitmap* BurrPlayerPicture(int p) {
  if (p < 0 || p >= kBurrPlayers) return nullptr;
  const TBurrPlayer& pl = gBurr.players[p];
  return &gBurrPictures.player[p][pl.size == 1 ? 0 : 1][DirectionOf(pl.faceDx, pl.faceDy)]
                              [PingPong(pl.walkCounter / 4, kPlayerFrames - 1)];
}

void InvalidateBurrPanel() {
  gCache = TPanelCache{};
}

void DrawBurrStatic(TKBitmap& frame) {
  TClipTo whole(frame, 0, 0, kBurrFrameW - 1, kBurrFrameH - 1);
  InvalidateBurrPanel();
  FillRect(frame, 0, 0, kBurrFrameW - 1, kBurrBackTop - 1, kBlack, ef16);
  FillRect(frame, 0, kBurrBackBottom + 1, kBurrFrameW - 1, kBurrBandTop - 1, kBlack, ef16);
  for (const TLabel& c : kCaptions) DrawFixedText(frame, c.x, kLineTextY, c.text, kSilver);
  PaintBand(frame);
  gCache.onFrame = true;
}

void DrawBurrFrame(TKBitmap& frame) {
  TClipTo whole(frame, 0, 0, kBurrFrameW - 1, kBurrFrameH - 1);
  if (!gCache.onFrame) DrawBurrStatic(frame);
  DrawBackground(frame);
  {
    const TRect& f = gCom.k[gkBurrower].field;
    TClipTo field(frame, f.left, f.top, f.right, f.bottom);
    DrawLattice(frame);
    DrawStains(frame);
    DrawBrooders(frame);
    DrawBonuses(frame);
    DrawEnemies(frame);
    DrawPlayers(frame);
    DrawFruitAndApples(frame);
    DrawLasers(frame);
    DrawPuffs(frame);
    DrawBombsRocketsBalls(frame);
    DrawFires(frame);
    DrawIce(frame);
    DrawBlasts(frame, BurrPixelX, BurrPixelY);
    DrawSmoke(frame);
    DrawShrinkersAndFreezers(frame);
    DrawBullets(frame);
  }
  DrawBand(frame);
  DrawStatusLine(frame);
}

}  // namespace kelvra
