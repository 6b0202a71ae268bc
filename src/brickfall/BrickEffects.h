// Brickfall's cosmetic particle effects: stars, bubbles, rain and snow, small snow and the
// fire at the bottom edge. Nothing in the game reads them, but they draw from the shared
// random generator, so they step in a fixed order like everything else.
#pragma once

#include <cstdint>

namespace kelvra {

constexpr int kStars = 1024, kBubbles = 64, kRainDrops = 256, kSmallFlakes = 4096, kFlames = 32;
constexpr int kFlamesShown = 17;  // flames 0..16 stand along the bottom edge

struct TStar {
  int32_t z;     // depth; 0 = free
  int32_t x, y;  // star-space units
};
struct TBubble {
  int32_t kind;                 // 1..3; 0 = free
  int32_t x, y, width, height;  // fx
  int32_t velocityY;            // fx per step
};
struct TRainDrop {
  int32_t kind;           // 1..3 rain, 4..7 snow; 0 = free
  int32_t x, y;           // fx
  int32_t width, height;  // pixels
  int32_t velocityY;      // fx per step
};
struct TSmallFlake {
  int32_t speed;  // 128..255; 0 = free
  int32_t x, y;   // frame-bitmap pixels
};
struct TFlame {
  int32_t phase;  // fx of an animation frame: frame = phase / 1024, 0..13
  int32_t x, y;   // frame-bitmap pixels, bottom centre
};

// Part of the step state, gBrick.effects (BrickState.h).
struct TBrickEffects {
  TStar stars[kStars];
  TBubble bubbles[kBubbles];
  TRainDrop rain[kRainDrops];
  TSmallFlake smallSnow[kSmallFlakes];
  TFlame fire[kFlames];
};

// At level start, after the reset has cleared every table: stands the flames along the
// bottom edge with a random phase each.
void StandFlames();

// Whether a star is in use and its pixel inside the play field; the pixel of one that is.
bool StarInSight(const TStar& s);
void StarPixel(const TStar& s, int& x, int& y);
void StarsStep();
void BubblesStep();
void RainSnowStep(bool rain, bool snow);
void SmallSnowStep();
void FireStep();
void SmokeStep();  // every 16 steps a rising spark from the bottom edge

}  // namespace kelvra
