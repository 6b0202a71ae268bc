// Generated pictures of the software bitmap: the family of procedural textures behind
// generated backgrounds, the shaded fill, soft lights and glow discs, and the hash-based
// noise they are made of.
#pragma once

#include <cstdint>

#include "media/KBitmap.h"

namespace kelvra {

// Numbered textures. The first kBackgroundTextures are the ones levels choose by number.
constexpr int kTextureCount = 17;
constexpr int kBackgroundTextures = 10;

enum TTexture : int {
  txDusk = 0,      // evening sky gradient with faint haze
  txClouds,        // soft sky clouds
  txMarble,        // veined stone
  txWood,          // rings and grain of cut wood
  txPlasma,        // interfering waves in cool colours
  txCobbles,       // cells of stone with dark joints
  txLava,          // glowing cracks in dark rock
  txWater,         // deep water with caustic light
  txGranite,       // speckled stone
  txNebula,        // coloured gas with stars
  txRust,          // corroded metal
  txMoss,          // mossy cells
  txBrushedMetal,  // steel brushed left to right
  txRipples,       // rings on a pond
  txWeave,         // woven cloth
  txSand,          // wind ripples in sand
  txIce,           // cracked ice
};

// The name of a texture ("Marble"), "" for a number outside 0..kTextureCount - 1.
const char* TextureName(int number);

// Fills the whole bitmap (not only its clip rectangle) with the texture at the bitmap's
// size. Every texture is a pure function of its number and the size: the same call gives
// the same pixels from run to run (nothing depends on the games' random generator or the
// clock). Their noise repeats across the edges. A number outside 0..kTextureCount - 1 leaves the
// bitmap unchanged and returns false.
bool MakeTexture(TKBitmap& b, int number);

// The shaded fill: the rectangle (clipped) in `colour` at full strength on its top row,
// darkening smoothly to a quarter of it on its bottom row, combined in `mode`. Nothing for
// clNone or a mode that draws nothing.
void ShadedFill(TKBitmap& b, int x1, int y1, int x2, int y2, uint32_t colour, TEffect mode = ef16);

// A soft round light: `colour` scaled by a smooth falloff from full at (cx, cy) to nothing
// at `radius` pixels, combined into the clip rectangle in `mode` (efAdd to light up,
// efSub to shade). Pixels outside the radius are untouched.
void SoftLight(TKBitmap& b, int cx, int cy, int radius, uint32_t colour, TEffect mode = efAdd);

// Noise. Lattice values come from a hash of the cell and the seed only (never from the
// games' shared generator). With a period above 0 a lattice repeats every that many cells.
uint32_t HashMix(uint32_t x);  // a well-mixing 32-bit integer hash
uint32_t NoiseHash(int32_t x, int32_t y, uint32_t seed);
float ValueNoise(float x, float y, uint32_t seed, int periodX = 0, int periodY = 0);  // 0..1
// Octaves of value noise at twice the frequency and half the weight, scaled to 0..1.
float FractalNoise(float x, float y, uint32_t seed, int octaves, int periodX = 0, int periodY = 0);
// Cellular noise: distances (in cells) to the nearest and second-nearest feature point, one
// point per cell; `cell` gets a hash of the nearest point's cell when not null.
void CellNoise(float x, float y, uint32_t seed, int periodX, int periodY, float& nearest,
               float& second, uint32_t* cell = nullptr);

}  // namespace kelvra
