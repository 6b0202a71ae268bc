// Burrower's pictures: loading, the sets derived from the files (turned, mirrored, halved,
// recoloured), the level's earth and the sizes the rules take from the pictures.
#include <algorithm>
#include <string>

#include "base/Paths.h"
#include "burrower/BurrDraw.h"
#include "burrower/BurrField.h"
#include "common/Com.h"

namespace kelvra {

TBurrPictures gBurrPictures;
TBurrEditorView gBurrEditorView;

namespace {

// What a picture that could not be loaded is filled with: nothing at all for sprites,
// a flat colour for what is drawn opaque.
constexpr uint32_t kMissingEarth = 0x305878;  // RGB(120, 88, 48)
constexpr uint32_t kMissingWall = 0x606060;
constexpr uint32_t kMissingBack = 0;

// Names in the graphics folder use '\' as the tables write them.
bool LoadInto(TKBitmap& b, const std::string& name, int w, int h, uint32_t missing) {
  const bool ok =
      LoadFromFile(b, ProgramDir() + "Graphics/" + NativePath(name), w, h, FileOwner::Program) &&
      !b.Empty();
  if (!ok) {
    b.SetSize(w, h);
    b.ResetClip();
    FillBitmap(b, missing, ef16);
  }
  b.ResetClip();
  return ok;
}

void Sprite(TKBitmap& b, const std::string& name, int w, int h) {
  LoadInto(b, "Burrower\\" + name, w, h, kBurrKey);
}

std::string Numbered(const std::string& stem, int n) {
  return stem + std::to_string(n) + ".bmp";
}

const char* const kWeaponFile[kWeapons] = {"Pistol",   "Ball",       "RPG",    "Bomb",
                                           "Shrinker", "Devastator", "Freezer"};
// The ammunition of these weapons is animated ("Ammo\Shrinker0.bmp" ..).
bool AnimatedAmmo(int weapon) {
  return weapon == wpShrinker || weapon == wpFreezer;
}

// The four-direction sets of the enemies: the file with digit 0 after the type's name looks
// down, 1 left, 2 up; right is left mirrored.
void LoadHeadings(TKBitmap (&set)[kDirections], const std::string& stem, const std::string& suffix,
                  int size) {
  Sprite(set[1], "Enemies\\" + stem + "0" + suffix + ".bmp", size, size);
  Sprite(set[0], "Enemies\\" + stem + "1" + suffix + ".bmp", size, size);
  Sprite(set[3], "Enemies\\" + stem + "2" + suffix + ".bmp", size, size);
  MirrorBitmap(set[2], set[0]);
}

void LoadEnemies() {
  TBurrPictures& g = gBurrPictures;
  // Fallback sizes: those of the pictures the program comes with.
  constexpr int kSize[kEnemyTypes] = {18, 16, 18, 22, 20, 22};
  const char* const kName[kEnemyTypes] = {"Enemy",     "Drone",     "Assault",
                                          "Commander", "Octabrain", "Enforcer"};
  for (int f = 0; f < kEnemyWalkFrames[0]; ++f) {
    Sprite(g.enemy[0][f][0], Numbered("Enemy", f), kSize[0], kSize[0]);
    for (int d = 1; d < kDirections; ++d) g.enemy[0][f][d].CopyFrom(g.enemy[0][f][0]);
  }
  for (int t = 1; t < kEnemyTypes; ++t) {
    if (kEnemyWalkFrames[t] == 1) {
      LoadHeadings(g.enemy[t][0], kName[t], "", kSize[t]);
    } else {
      for (int f = 0; f < kEnemyWalkFrames[t]; ++f)
        LoadHeadings(g.enemy[t][f], kName[t], std::to_string(f), kSize[t]);
    }
    for (int f = 0; f < kEnemyDeathFrames[t]; ++f)
      Sprite(g.death[t][f], Numbered(std::string("Enemies\\") + kName[t] + "D", f), kSize[t],
             kSize[t]);
  }
}

void LoadBonuses() {
  TBurrPictures& g = gBurrPictures;
  const TBurrSizes fallback;
  auto load = [&](int kind, const std::string& name) {
    Sprite(g.bonus[kind][0], name, fallback.bonusW[kind], fallback.bonusH[kind]);
    for (int f = 1; f < kAmmoFrames; ++f) g.bonus[kind][f].CopyFrom(g.bonus[kind][0]);
  };
  for (int w = 0; w < kWeapons; ++w) {
    load(bkWeapon + w, std::string("Weapons\\") + kWeaponFile[w] + ".bmp");
    const int kind = bkAmmo + w;
    const std::string ammo = std::string("Ammo\\") + kWeaponFile[w];
    if (!AnimatedAmmo(w)) {
      load(kind, ammo + ".bmp");
      continue;
    }
    for (int f = 0; f < kAmmoFrames; ++f)
      Sprite(g.bonus[kind][f], Numbered(ammo, f), fallback.bonusW[kind], fallback.bonusH[kind]);
  }
  load(bkHealth, "Health.bmp");
  for (int m = 0; m < kMedicKits; ++m) load(bkMedicSmall + m, Numbered("Medic", m));
  load(bkArmor, "Armor.bmp");
  load(bkSwap, "Swap.bmp");
  LoadInto(g.bonus[bkInvisible][0], "Bonuses\\PlayerBlink.bmp", fallback.bonusW[bkInvisible],
           fallback.bonusH[bkInvisible], kBurrKey);
  for (int f = 1; f < kAmmoFrames; ++f) g.bonus[bkInvisible][f].CopyFrom(g.bonus[bkInvisible][0]);
}

// The sizes the rules give things: those of their pictures.
void TakeSizes() {
  const TBurrPictures& g = gBurrPictures;
  TBurrSizes& s = gBurrSizes;
  s.fruitW = g.fruit.Width(), s.fruitH = g.fruit.Height();
  s.appleW = g.apple.Width(), s.appleH = g.apple.Height();
  s.playerW = g.playerSource[1][0].Width(), s.playerH = g.playerSource[1][0].Height();
  for (int k = 1; k <= kBurrBonusKinds; ++k) {
    s.bonusW[k] = g.bonus[k][0].Width();
    s.bonusH[k] = g.bonus[k][0].Height();
  }
  for (int t = 0; t < kEnemyTypes; ++t) {
    const TKBitmap& walk = g.enemy[t][0][0];
    const TKBitmap& dying = kEnemyDeathFrames[t] > 0 ? g.death[t][0] : walk;
    s.enemyW[t] = walk.Width(), s.enemyH[t] = walk.Height();
    s.enemyDeathW[t] = dying.Width(), s.enemyDeathH[t] = dying.Height();
  }
}

uint32_t PlayerColour(int p) {
  const uint32_t c = ColorToRGB(gCom.player[p].colour);
  return c > 0xFFFFFF ? 0xFFFFFF : c;
}

// Each player's column of the band: his colour from a quarter of its strength at the top
// to an eighth at the bottom, framed by a raised bevel.
void PaintPanel() {
  TKBitmap& b = gBurrPictures.panel;
  b.SetSize(kBurrFrameW, kBurrBandH);
  b.ResetClip();
  for (int p = 0; p < kBurrPlayers; ++p) {
    const uint32_t c = PlayerColour(p);
    const int x1 = p * kBurrColumnW, x2 = x1 + kBurrColumnW - 1;
    for (int y = 0; y < kBurrBandH; ++y) {
      const int k = 64 - 32 * y / (kBurrBandH - 1);  // in 1/256
      FillRect(b, x1, y, x2, y, RGB(RedOf(c) * k / 256, GreenOf(c) * k / 256, BlueOf(c) * k / 256),
               ef16);
    }
    DrawBorder3D(b, x1, 0, x2, kBurrBandH - 1, RGB(160, 160, 160), RGB(32, 32, 32), 1, ef16);
  }
}

}  // namespace

void LoadBurrPictures() {
  TBurrPictures& g = gBurrPictures;
  LoadInto(g.back, "Burrower\\Back.jpg", kBurrFrameW, kBurrBackBottom + 1, kMissingBack);
  LoadInto(g.earth, "Burrower\\Earth.bmp", 24, 24, kMissingEarth);
  LoadInto(g.wall, "Burrower\\Wall.bmp", 24, 24, kMissingWall);
  for (int f = 0; f < kEggFrames; ++f) Sprite(g.egg[f], Numbered("Egg", f), 22, 22);
  const TBurrSizes fallback;
  Sprite(g.fruit, "Fruit.bmp", fallback.fruitW, fallback.fruitH);
  Sprite(g.apple, "Apple.bmp", fallback.appleW, fallback.appleH);
  Sprite(g.stain[1], "Killed0.bmp", 22, 22);
  Sprite(g.stain[2], "EnemyDead.bmp", 22, 22);
  Sprite(g.stain[3], "Killed1.bmp", 10, 10);
  LoadBonuses();
  for (int f = 0; f < kFreezerFrames; ++f)
    Sprite(g.freezerShot[f], Numbered("Shots\\Freezer", f), 10, 10);
  for (int f = 0; f < kShrinkFrames; ++f) {
    Sprite(g.shrinkShot[f], Numbered("Shots\\Shrinker", f), 10, 10);
    Sprite(g.shrinkCloud[f], Numbered("Shots\\ShrinkerA", f), 24, 24);
  }
  Sprite(g.rocket[0], "Shots\\Rocket.bmp", 16, 8);
  for (int d = 1; d < kDirections; ++d) TurnBitmap(g.rocket[d], g.rocket[0], d);
  for (int k = 0; k < kBallKinds; ++k)
    Sprite(g.ball[k], Numbered("Shots\\Ball", k), 8 + 2 * k, 8 + 2 * k);
  LoadEnemies();
  const char* const kPlayerFile[kDirections] = {"Left", "Down", "Right", "Up"};
  for (int d = 0; d < kDirections; ++d)
    for (int f = 0; f < kPlayerFrames; ++f)
      Sprite(g.playerSource[d][f], Numbered(kPlayerFile[d], f), fallback.playerW, fallback.playerH);
  TakeSizes();
  BuildBurrPlayerPictures();
  PrepareBurrEarth();
}

void BuildBurrPlayerPictures() {
  TBurrPictures& g = gBurrPictures;
  for (int p = 0; p < kBurrPlayers; ++p) {
    const uint32_t colour = PlayerColour(p);
    for (int d = 0; d < kDirections; ++d)
      for (int f = 0; f < kPlayerFrames; ++f) {
        TKBitmap& full = g.player[p][1][d][f];
        full.CopyFrom(g.playerSource[d][f]);
        full.ResetClip();
        RecolorGreys(full, colour);
        HalveBitmap(g.player[p][0][d][f], full);
      }
  }
  PaintPanel();
  InvalidateBurrPanel();
}

void PrepareBurrEarth() {
  TBurrPictures& g = gBurrPictures;
  g.levelEarth.CopyFrom(g.earth);
  g.levelEarth.ResetClip();
  // In 64 bits and reduced round the circle first: any level index gives a hue.
  const int64_t hue = int64_t(gCom.k[gkBurrower].levelIndex) * 128 % kSpectrumSteps;
  TintBitmap(g.levelEarth, SpectrumColor(int(hue)), clNone, ef08);
}

}  // namespace kelvra
