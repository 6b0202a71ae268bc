// Brickfall's particle effects.
#include "brickfall/BrickEffects.h"

#include <algorithm>

#include "brickfall/BrickField.h"
#include "brickfall/BrickPictures.h"
#include "brickfall/BrickState.h"
#include "common/Com.h"

namespace kelvra {

namespace {

// Frame-bitmap rows and columns of the play field.
constexpr int32_t kLeft = 10, kTop = 34, kBottom = 417;
constexpr int32_t kFireFrameCount = 14;
constexpr int32_t kFirePhaseWrap = kFireFrameCount * 1024;  // 14336

constexpr int32_t kStarApproach = 2;  // depth units per step
constexpr int32_t kBubblePeriod = 8;  // steps between new bubbles, 224 ms
// Bubbles rise and rain falls at a base speed per kind plus up to half a pixel.
constexpr int32_t kDropSpeedPerKind = 1024;  // fx per step
constexpr int32_t kDropSpeedSpread = 512;    // fx per step
constexpr int32_t kFlakeBirths = 8;          // new small flakes per step at most
constexpr int32_t kFlakeSpeedUnit = 64;      // a flake's speed counts 1/64 pixel per step:
                                             // 128..255, so 2 to 4 pixels
constexpr int32_t kFlameSpeed = 512;         // 1/1024 frame per step, and a random extra of
                                             // up to one frame
constexpr int32_t kSmokePeriod = 16;         // steps between sparks, 448 ms
constexpr int32_t kSmokeRiseSpeed = 8192;    // fx per step: 8 pixels

}  // namespace

void StandFlames() {
  for (int i = 0; i < kFlamesShown; ++i) {
    TFlame& f = gBrick.effects.fire[i];
    f.x = kLeft + 32 * i;
    f.y = kBottom;
    f.phase = Random(kFireFrameCount) * 1024;
  }
}

namespace {

constexpr int32_t kStarCentreX = 260, kStarCentreY = 208;  // frame pixels
constexpr int32_t kStarScale = 8;                          // star space to pixels at depth 1

}  // namespace

bool StarInSight(const TStar& s) {
  if (s.z <= 0) return false;
  int x, y;
  StarPixel(s, x, y);
  const TRect& f = gCom.k[gkBrickfall].field;
  return x >= f.left && x <= f.right && y >= f.top && y <= f.bottom;
}

void StarPixel(const TStar& s, int& x, int& y) {
  x = s.x * kStarScale / s.z + kStarCentreX;
  y = s.y * kStarScale / s.z + kStarCentreY;
}

void StarsStep() {
  for (TStar& s : gBrick.effects.stars) {
    if (s.z < 3) {
      s.z = 255;
      s.x = Random(16681 + 16662 + 1) - 16662;
      s.y = Random(13377 + 13310 + 1) - 13310;
    } else {
      s.z -= kStarApproach;
    }
    if (!StarInSight(s)) s.z = 0;  // out of sight: the next step gives it a new place
  }
}

void BubblesStep() {
  for (TBubble& b : gBrick.effects.bubbles) {
    if (b.kind == 0) continue;
    b.x = std::clamp(b.x + gBrick.game.wind, -b.width, kBrickFieldWidthFx);
    b.y += b.velocityY;
    if (b.y <= -b.height) b = TBubble{};
  }
  if (gCom.stepCounter % kBubblePeriod != 0) return;
  for (TBubble& b : gBrick.effects.bubbles) {
    if (b.kind != 0) continue;
    b.kind = Random(3) + 1;
    b.width = gBrickPictures.bubble[b.kind - 1].width * kFxOne;
    b.height = gBrickPictures.bubble[b.kind - 1].height * kFxOne;
    // Bigger bubbles rise faster.
    b.velocityY = Random(kDropSpeedSpread + 1) - kDropSpeedPerKind * b.kind - kDropSpeedPerKind;
    b.y = kBrickFieldHeightFx - 1;
    b.x = Random(kBrickFieldWidthFx - b.width);
    return;
  }
}

void RainSnowStep(bool rain, bool snow) {
  for (TRainDrop& d : gBrick.effects.rain) {
    if (d.kind == 0) continue;
    if (d.kind <= 3) {
      d.x += gBrick.game.wind;
      d.y += d.velocityY;
    } else {  // snow drifts at half the speed
      d.x += gBrick.game.wind / 2;
      d.y += d.velocityY / 2;
    }
    if (d.y >= kBrickFieldHeightFx) d = TRainDrop{};
  }
  if (!rain && !snow) return;
  for (TRainDrop& d : gBrick.effects.rain) {
    if (d.kind != 0) continue;
    d.kind = rain ? Random(snow ? 7 : 3) + 1 : 4 + Random(4);
    d.velocityY = kDropSpeedPerKind * d.kind + Random(kDropSpeedSpread + 1);
    const TPictureSize& size = gBrickPictures.rain[d.kind - 1];
    d.width = size.width;
    d.height = size.height;
    // Born across three field widths, so that the wind blows drops in from the side.
    d.x = Random(d.width / 2 + 1048575 + 1) + d.width / 2 - 524287;
    d.y = d.height * kFxOne;
    return;
  }
}

void SmallSnowStep() {
  int born = 0;
  for (TSmallFlake& f : gBrick.effects.smallSnow) {
    if (f.speed != 0) {
      f.y += f.speed / kFlakeSpeedUnit;
      if (f.y >= kBottom) f = TSmallFlake{};
    }
    if (f.speed == 0 && born < kFlakeBirths) {
      ++born;
      f.speed = 128 + Random(128);
      f.x = kLeft + Random(512);
      f.y = kTop;
    }
  }
}

void FireStep() {
  for (TFlame& f : gBrick.effects.fire) {
    f.phase += kFlameSpeed + Random(1024);
    if (f.phase >= kFirePhaseWrap) f.phase -= kFirePhaseWrap;
  }
}

void SmokeStep() {
  if (gCom.stepCounter % kSmokePeriod != 0) return;
  const int32_t x = Random(491) * kFxOne;
  const int32_t life = 2 * (Random(32) + 1);
  AddSpark(x, 427008, life, 0, -kSmokeRiseSpeed);
}

}  // namespace kelvra
