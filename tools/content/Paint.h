// Drawing aids shared by the picture groups: hand-drawn pixel maps, ordered dithering over
// palette ramps, tileable value noise, a small shape renderer with outlines, and a 5 x 7
// pixel font for labels.
#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "Content.h"
#include "media/KBitmap.h"
#include "media/Textures.h"

namespace kelvra::content {

// Draws rows of characters; each character is looked up in `legend` (character, colour);
// characters not in the legend are left untouched.
void DrawPixelMap(TKBitmap& b, int x0, int y0, const std::vector<std::string>& rows,
                  std::initializer_list<std::pair<char, uint32_t>> legend);

// 4 x 4 ordered-dither threshold for pixel (x, y), in (0, 1).
double Bayer(int x, int y);
// The ramp entry for v in 0..1 (0 the first, 1 the last entry), dithered between the two
// nearest entries by the pixel's threshold.
uint32_t RampDither(const uint32_t* ramp, int count, double v, int x, int y);

// Smooth value noise in 0..1 from an integer lattice hashed with `seed`; the lattice
// repeats every `periodX` and `periodY` cells (0: no repeat).
double ValueNoise(double x, double y, uint32_t seed, int periodX = 0, int periodY = 0);
// Several octaves of the above, each at twice the frequency and half the weight.
double FractalNoise(double x, double y, uint32_t seed, int octaves, int periodX = 0,
                    int periodY = 0);

// Signed distances (negative inside) in picture pixels.
double SdCircle(double x, double y, double cx, double cy, double r);
double SdBox(double x, double y, double x1, double y1, double x2, double y2, double radius = 0);
double SdSegment(double x, double y, double ax, double ay, double bx, double by, double r);
double SdPolygon(double x, double y, const std::vector<std::pair<double, double>>& points);

// A layer of a drawing: where it is (distance), how its inside is coloured (at the pixel
// (px, py) for a point (x, y) at distance d) and its outline band outside the shape.
struct TShape {
  std::function<double(double x, double y)> distance;
  std::function<uint32_t(double x, double y, double d, int px, int py)> fill;
  double outline = 0;  // width in pixels; 0 for none
  uint32_t outlineColour = 0;
};

// Renders the shapes, the last on top, with samples x samples points a pixel (1 gives hard
// pixel-art edges, more gives smooth edges in the alpha channel). Pixels no shape covers
// keep what the image held.
void RenderShapes(TRgbaImage& img, const std::vector<TShape>& shapes, int samples);

// The 5 x 7 font (printable ASCII) in cells 6 pixels wide; `scale` multiplies each pixel.
void DrawText5x7(TKBitmap& b, int x, int y, const std::string& text, uint32_t colour,
                 int scale = 1);
int TextWidth5x7(const std::string& text, int scale = 1);
// Column `col` (0..4) of a character of that font: bit 0 the top row, bit 6 the bottom.
uint8_t FontColumn(char c, int col);

// Shading helper: light from the upper left on a sphere of centre (cx, cy) and radius r;
// 0 (darkest) to 1 (highlight) at (x, y).
double SphereLight(double x, double y, double cx, double cy, double r);

}  // namespace kelvra::content
