// Drawing aids for the picture groups: pixel maps, dithered ramps, value noise, the shape
// renderer and the 5 x 7 label font.
#include "Paint.h"

#include <algorithm>
#include <cmath>

#include "media/FixedFont.h"

namespace kelvra::content {

void DrawPixelMap(TKBitmap& b, int x0, int y0, const std::vector<std::string>& rows,
                  std::initializer_list<std::pair<char, uint32_t>> legend) {
  for (size_t r = 0; r < rows.size(); ++r)
    for (size_t c = 0; c < rows[r].size(); ++c)
      for (const auto& [ch, colour] : legend)
        if (rows[r][c] == ch) PutPixel(b, x0 + int(c), y0 + int(r), colour, ef16);
}

double Bayer(int x, int y) {
  static const int m[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
  return (m[y & 3][x & 3] + 0.5) / 16.0;
}

uint32_t RampDither(const uint32_t* ramp, int count, double v, int x, int y) {
  const double f = std::clamp(v, 0.0, 1.0) * (count - 1);
  int i = int(f);
  if (i >= count - 1) return ramp[count - 1];
  if (f - i > Bayer(x, y)) ++i;
  return ramp[i];
}

namespace {
double Lattice(int x, int y, uint32_t seed, int px, int py) {
  if (px > 0) x = ((x % px) + px) % px;
  if (py > 0) y = ((y % py) + py) % py;
  return HashMix(uint32_t(x) * 0x9E3779B1u ^ HashMix(uint32_t(y) + seed * 0x85EBCA77u)) /
         4294967295.0;
}
double Smooth(double t) {
  return t * t * (3 - 2 * t);
}
}  // namespace

double ValueNoise(double x, double y, uint32_t seed, int periodX, int periodY) {
  const int x0 = int(std::floor(x)), y0 = int(std::floor(y));
  const double fx = Smooth(x - x0), fy = Smooth(y - y0);
  const double a = Lattice(x0, y0, seed, periodX, periodY);
  const double b = Lattice(x0 + 1, y0, seed, periodX, periodY);
  const double c = Lattice(x0, y0 + 1, seed, periodX, periodY);
  const double d = Lattice(x0 + 1, y0 + 1, seed, periodX, periodY);
  return (a + (b - a) * fx) * (1 - fy) + (c + (d - c) * fx) * fy;
}

double FractalNoise(double x, double y, uint32_t seed, int octaves, int periodX, int periodY) {
  double sum = 0, weight = 0, w = 1;
  for (int o = 0; o < octaves; ++o) {
    sum += w * ValueNoise(x, y, seed + uint32_t(o) * 101, periodX, periodY);
    weight += w;
    x *= 2;
    y *= 2;
    periodX *= 2;
    periodY *= 2;
    w /= 2;
  }
  return sum / weight;
}

double SdCircle(double x, double y, double cx, double cy, double r) {
  return std::hypot(x - cx, y - cy) - r;
}

double SdBox(double x, double y, double x1, double y1, double x2, double y2, double radius) {
  const double cx = (x1 + x2) / 2, cy = (y1 + y2) / 2;
  const double hx = (x2 - x1) / 2 - radius, hy = (y2 - y1) / 2 - radius;
  const double qx = std::abs(x - cx) - hx, qy = std::abs(y - cy) - hy;
  return std::hypot(std::max(qx, 0.0), std::max(qy, 0.0)) + std::min(std::max(qx, qy), 0.0) -
         radius;
}

double SdSegment(double x, double y, double ax, double ay, double bx, double by, double r) {
  const double px = x - ax, py = y - ay, dx = bx - ax, dy = by - ay;
  const double h = std::clamp((px * dx + py * dy) / (dx * dx + dy * dy), 0.0, 1.0);
  return std::hypot(px - dx * h, py - dy * h) - r;
}

double SdPolygon(double x, double y, const std::vector<std::pair<double, double>>& v) {
  double d = 1e18;
  bool inside = false;
  for (size_t i = 0, j = v.size() - 1; i < v.size(); j = i++) {
    const double ex = v[j].first - v[i].first, ey = v[j].second - v[i].second;
    const double wx = x - v[i].first, wy = y - v[i].second;
    const double h = std::clamp((wx * ex + wy * ey) / (ex * ex + ey * ey), 0.0, 1.0);
    d = std::min(d, std::hypot(wx - ex * h, wy - ey * h));
    if ((v[i].second > y) != (v[j].second > y) &&
        x < (v[j].first - v[i].first) * (y - v[i].second) / (v[j].second - v[i].second) +
                v[i].first)
      inside = !inside;
  }
  return inside ? -d : d;
}

void RenderShapes(TRgbaImage& img, const std::vector<TShape>& shapes, int samples) {
  for (int py = 0; py < img.height; ++py)
    for (int px = 0; px < img.width; ++px) {
      double r = 0, g = 0, b = 0, a = 0;
      for (int sy = 0; sy < samples; ++sy)
        for (int sx = 0; sx < samples; ++sx) {
          const double x = px + (sx + 0.5) / samples, y = py + (sy + 0.5) / samples;
          for (auto s = shapes.rbegin(); s != shapes.rend(); ++s) {
            const double d = s->distance(x, y);
            uint32_t c;
            if (d < 0)
              c = s->fill(x, y, d, px, py);
            else if (d < s->outline)
              c = s->outlineColour;
            else
              continue;
            r += RedOf(c);
            g += GreenOf(c);
            b += BlueOf(c);
            a += 1;
            break;
          }
        }
      if (a == 0) continue;
      const double n = samples * samples;
      uint8_t* p = img.At(px, py);
      // Partly covered pixels mix over what the image held.
      const double cover = a / n, old = p[3] / 255.0;
      const double outA = cover + old * (1 - cover);
      for (int ch = 0; ch < 3; ++ch) {
        const double mine = (ch == 0 ? r : ch == 1 ? g : b) / a;
        p[ch] = uint8_t(std::lround((mine * cover + p[ch] * old * (1 - cover)) / outA));
      }
      p[3] = uint8_t(std::lround(outA * 255));
    }
}

double SphereLight(double x, double y, double cx, double cy, double r) {
  const double nx = (x - cx) / r, ny = (y - cy) / r;
  const double nz = std::sqrt(std::max(0.0, 1 - nx * nx - ny * ny));
  // Light from the upper left and in front.
  const double l = (-0.5 * nx - 0.6 * ny + 0.62 * nz);
  return std::clamp(0.5 + 0.55 * l, 0.0, 1.0);
}

void DrawText5x7(TKBitmap& b, int x, int y, const std::string& text, uint32_t colour, int scale) {
  for (unsigned char ch : text) {
    for (int col = 0; col < 5; ++col)
      for (int row = 0; row < 7; ++row)
        if (FixedGlyphColumn(ch, col) >> row & 1)
          FillRect(b, x + col * scale, y + row * scale, x + (col + 1) * scale - 1,
                   y + (row + 1) * scale - 1, colour, ef16);
    x += 6 * scale;
  }
}

uint8_t FontColumn(char c, int col) {
  const unsigned char ch = static_cast<unsigned char>(c);
  return (ch >= 32 && ch <= 126) ? FixedGlyphColumn(ch, col) : 0;
}

int TextWidth5x7(const std::string& text, int scale) {
  return text.empty() ? 0 : (int(text.size()) * 6 - 1) * scale;
}

}  // namespace kelvra::content
