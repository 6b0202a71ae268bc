// Drawing of the Brickfall play field.
#include "brickfall/BrickDraw.h"

#include <algorithm>
#include <cstdlib>
#include <string>

#include "brickfall/BrickBackground.h"
#include "brickfall/BrickEffects.h"
#include "brickfall/BrickGame.h"
#include "brickfall/BrickPanel.h"
#include "brickfall/BrickPictures.h"
#include "common/Captions.h"
#include "common/Com.h"
#include "common/SharedImages.h"
#include "media/KBitmap.h"
#include "media/KText.h"

namespace kelvra {

TBrickEditorView gBrickEditorView;

namespace {

constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kAqua = 0xFFFF00;  // blue 255, green 255, red 0

uint32_t Grey(int v) {
  return RGB(v, v, v);
}

// A picture with its top-left corner at a fixed-point position, magenta transparent.
void DrawAt(TKBitmap& frame, const TKBitmap* picture, int32_t x, int32_t y, TEffect mode,
            int dx = 0, int dy = 0) {
  if (!picture || mode == ef00) return;
  DrawWhole(frame, BrickPixelX(x) + dx, BrickPixelY(y) + dy, *picture, kMagenta, mode);
}

void DrawLighting(TKBitmap& frame, const TRect& f, uint32_t& seed) {
  int x = f.left + RandomFrom(seed, 511);
  for (int y = f.top; y <= f.bottom; ++y) {
    x += RandomFrom(seed, 3) - 1;
    if (x >= f.left && x <= f.right) PutPixel(frame, x, y, kWhite, ef16);
  }
}

void DrawStars(TKBitmap& frame) {
  for (const TStar& s : gBrick.effects.stars) {
    if (!StarInSight(s)) continue;
    int x, y;
    StarPixel(s, x, y);
    PutPixel(frame, x, y, Grey(std::min(255, 319 - s.z)), ef16);
  }
}

void DrawPoints(TKBitmap& frame, const TRect& f, uint32_t& seed) {
  for (int i = 0; i < 16; ++i) {
    const int r2 = RandomFrom(seed, 384);  // the row is drawn first
    const int r1 = RandomFrom(seed, 512);
    PutPixel(frame, f.left + r1, f.top + r2, Grey(239), ef16);
  }
}

void DrawFire(TKBitmap& frame) {
  for (const TFlame& flame : gBrick.effects.fire) {
    const TKBitmap* picture =
        gImages.fire[std::clamp(flame.phase / 1024, 0, kFireFrames - 1)].get();
    if (!picture) continue;
    DrawWhole(frame, flame.x - picture->Width() / 2, flame.y - picture->Height(), *picture, clNone,
              efAdd);
  }
}

// The editor's marks on the walls: outlines of the selected walls and the bonus each wall
// carries.
void DrawEditorWalls(TKBitmap& frame, const TRect& f, const TLevel* level, int dx, int dy) {
  if (level && level->historyIndex >= 0 && level->historyIndex < int(level->history.size())) {
    const TWalls& walls = level->Walls();
    for (int32_t i : gBrickEditorView.selectedWalls) {
      if (i < 0 || i >= int(walls.size())) continue;
      const TWall& w = walls[i];
      if (w.shape >= gBrickPictures.shapes) continue;
      const int x = f.left + w.x, y = f.top + w.y;
      DrawFrame(frame, x - 1, y - 1, x + gBrickPictures.width[w.shape],
                y + gBrickPictures.height[w.shape], kWhite, ef16);
    }
  }
  if (!gBrickEditorView.bonuses) return;
  const int count = std::clamp(gBrick.wallCount, 0, kBrickFieldWalls);
  for (int i = 0; i < count; ++i) {
    const TFieldWall& w = gBrick.walls[i];
    if (!w.alive || w.bonus == 0 || w.bonus >= kBonusKinds) continue;
    const TKBitmap* picture = gBrickPictures.bonusPicture[w.bonus].get();
    if (!picture) continue;
    DrawWhole(frame, BrickPixelX(w.x + w.width / 2) - picture->Width() / 2 + dx,
              BrickPixelY(w.y + w.height / 2) - picture->Height() / 2 + dy, *picture, kMagenta,
              ef16);
  }
}

void DrawPaddles(TKBitmap& frame, const TRect& f, int dx, int dy) {
  const int last = std::clamp(gCom.k[gkBrickfall].playersMinusOne, 0, kPlayers - 1);
  for (int p = 0; p <= last; ++p) {
    UpdateBrickPlayerDisplays(frame, p);
    const TBrickPlayer& player = gBrick.players[p];
    if (!player.inGame) continue;
    const bool top = player.direction > 0;
    if (player.undeadBall) {
      const uint32_t first = gCom.player[p].colour, second = gCom.player[p].halfColour;
      const int y = top ? f.top : f.bottom - 2;
      DrawLine(frame, f.left, y, f.right, y, first, ef16);
      DrawLine(frame, f.left, y + 1, f.right, y + 1, second, ef16);
      DrawLine(frame, f.left, y + 2, f.right, y + 2, first, ef16);
    }
    const int size = std::clamp(player.paddleSize, 0, kPaddleSizes - 1);
    const TEffect opacity = TEffect(std::clamp(2 * player.visibility, 0, 16));
    DrawAt(frame, gBrickPictures.paddlePicture[p][size][top ? 1 : 0].get(), player.x, player.y,
           opacity, dx, dy);
  }
}

void DrawEditorMarks(TKBitmap& frame, const TRect& f) {
  const TBrickEditorView& v = gBrickEditorView;
  if (v.band) {
    const int x1 = f.left + std::min(v.bandX1, v.bandX2),
              x2 = f.left + std::max(v.bandX1, v.bandX2);
    const int y1 = f.top + std::min(v.bandY1, v.bandY2), y2 = f.top + std::max(v.bandY1, v.bandY2);
    DrawFrame(frame, x1, y1, x2, y2, kWhite, ef16);
    SetSmallFont(frame);
    TextOut(frame, x2 + 4, y2 + 2, std::to_string(v.selectedWalls.size()), kWhite);
  }
  if (v.grid && v.gridSize > 0) {
    for (int y = f.top; y <= f.bottom; y += v.gridSize)
      FillRect(frame, f.left, y, f.right, y, kWhite, ef08);
    for (int x = f.left; x <= f.right; x += v.gridSize)
      FillRect(frame, x, f.top, x, f.bottom, kWhite, ef08);
  }
}

}  // namespace

int BurstLevel(int32_t life) {
  return std::clamp((128 - std::abs(128 - life)) / 8, 0, kBurstLevels - 1);
}

void DrawBursts(TKBitmap& frame) {
  for (const TBurst& b : gCom.burst) {
    if (b.life <= 0) continue;
    const TKBitmap* sprite =
        gBrickPictures.burst[std::clamp(b.variant, 0, kBurstSizes - 1)][BurstLevel(b.life)].get();
    if (!sprite) continue;
    DrawWhole(frame, b.x - sprite->Width() / 2, b.y - sprite->Height() / 2, *sprite, clNone, efAdd);
  }
}

void DrawBrickField(TKBitmap& frame) {
  const TRect& f = gCom.k[gkBrickfall].field;
  const TLevel* level = CurrentBrickLevel();
  const bool editor = gCom.editorOpen != 0;
  const int dx = gBrick.game.shakeX, dy = gBrick.game.shakeY;
  frame.SetClip(f.left, f.top, f.right, f.bottom);

  if ((editor && gBrickEditorView.maskBackground) || !level)
    FillRect(frame, f.left, f.top, f.right, f.bottom, 0, ef16);
  else
    DrawBrickBackground(frame, *level);

  if (level) {
    const TLevelFields& l = level->f;
    uint32_t drawSeed = gCom.randSeed;  // a copy: the game's own draws stay as they are
    if (l.lighting) DrawLighting(frame, f, drawSeed);
    if (l.stars) DrawStars(frame);
    if (l.points) DrawPoints(frame, f, drawSeed);
    if (l.fire) DrawFire(frame);
  }

  DrawFieldWalls(frame, dx, dy);
  if (editor) DrawEditorWalls(frame, f, level, dx, dy);

  for (const TFallingBonus& b : gBrick.bonuses)
    if (b.alive && b.kind < kBonusKinds)
      DrawAt(frame, gBrickPictures.bonusPicture[b.kind].get(), b.x, b.y, ef16);
  for (const TBrickShot& s : gBrick.shots)
    if (s.state != kShotFree)
      DrawAt(frame, gBrickPictures.shotPicture[s.owner % kPlayers][s.velocityY > 0 ? 1 : 0].get(),
             s.x, s.y, ef16);
  for (const TBrickBall& b : gBrick.balls)
    if (b.state != kBallFree)
      DrawAt(frame, gBrickPictures.ballPicture[std::clamp(b.size, 0, kBallSizes - 1)].get(), b.x,
             b.y, ef16);

  DrawPaddles(frame, f, dx, dy);

  DrawBursts(frame);
  DrawBlasts(frame, BrickPixelX, BrickPixelY);

  if (level) {
    const TLevelFields& l = level->f;
    if (l.enemy && !editor)
      for (const TBrickEnemy& e : gBrick.enemies)
        if (e.kind != kEnemyFree && e.kind <= kEnemyKinds)
          DrawAt(frame, gBrickPictures.enemyPicture[e.kind - 1].get(), e.x, e.y, ef16);
    if (l.water) {
      const int row = BrickPixelY(gBrick.game.waterLine);
      if (row < f.bottom) FillRect(frame, f.left, row, f.right, f.bottom, kAqua, ef08);
    }
    if (l.bubble)
      for (const TBubble& b : gBrick.effects.bubbles)
        if (b.kind >= 1 && b.kind <= kBubbleKinds)
          DrawAt(frame, gBrickPictures.bubblePicture[b.kind - 1].get(), b.x, b.y, ef08);
    if (l.rain || l.snow)
      for (const TRainDrop& d : gBrick.effects.rain)
        if (d.kind >= 1 && d.kind <= kRainKinds)  // y is the particle's bottom edge
          DrawAt(frame, gBrickPictures.rainPicture[d.kind - 1].get(), d.x, d.y, ef08, 0, -d.height);
    if (l.smallSnow)
      for (const TSmallFlake& s : gBrick.effects.smallSnow)
        if (s.speed != 0) PutPixel(frame, s.x, s.y, Grey(std::min(s.speed, 255)), ef16);
  }

  DrawSparks(frame, BrickPixelX, BrickPixelY);
  if (editor) DrawEditorMarks(frame, f);

  frame.ResetClip();
  UpdateBrickPanel(frame);
}

}  // namespace kelvra
