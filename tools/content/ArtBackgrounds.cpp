// Brickfall's background pictures: six painted scenes of 512 x 384, written as JPEG files to
// "Levels\Brickfall\". They are kept dark and quiet, so that the bright walls, balls and
// paddles drawn over them stay easy to read.
#include <algorithm>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "Content.h"
#include "Paint.h"
#include "Palette.h"

namespace kelvra::content {

namespace {

constexpr int kW = 512, kH = 384;  // the play field
constexpr int kJpegQuality = 90;

struct TCol {
  double r = 0, g = 0, b = 0;
};

TCol C(int r, int g, int b) {
  return {double(r), double(g), double(b)};
}
TCol operator+(TCol a, TCol b) {
  return {a.r + b.r, a.g + b.g, a.b + b.b};
}
TCol operator*(TCol a, double k) {
  return {a.r * k, a.g * k, a.b * k};
}
TCol Mix(TCol a, TCol b, double t) {
  t = std::clamp(t, 0.0, 1.0);
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}
double Smooth(double e0, double e1, double v) {
  const double t = std::clamp((v - e0) / (e1 - e0), 0.0, 1.0);
  return t * t * (3 - 2 * t);
}
double Unit(uint32_t h) {
  return double(h >> 8) / 16777216.0;
}

// A gradient through stops (position, colour) at t.
TCol Gradient(std::initializer_list<std::pair<double, TCol>> stops, double t) {
  const auto* s = stops.begin();
  const size_t n = stops.size();
  if (t <= s[0].first) return s[0].second;
  for (size_t k = 0; k + 1 < n; ++k)
    if (t <= s[k + 1].first)
      return Mix(s[k].second, s[k + 1].second, (t - s[k].first) / (s[k + 1].first - s[k].first));
  return s[n - 1].second;
}

// A picture in progress: one colour per pixel, rows top first.
struct TScene {
  std::vector<TCol> px = std::vector<TCol>(size_t(kW) * kH);
  TCol& At(int x, int y) { return px[size_t(y) * kW + x]; }
  void Each(const std::function<TCol(int x, int y, TCol c)>& f) {
    for (int y = 0; y < kH; ++y)
      for (int x = 0; x < kW; ++x) At(x, y) = f(x, y, At(x, y));
  }
};

// Stars: about one pixel in `rarity` above the row `bottom`, faint ones many, bright few;
// `mask` (0..1) dims them where something lies in front (gas, aurora).
void AddStars(TScene& s, uint32_t seed, int rarity, int bottom, double strength) {
  for (int y = 0; y < bottom; ++y)
    for (int x = 0; x < kW; ++x) {
      const uint32_t h = HashMix(uint32_t(y * kW + x) ^ seed * 0x9E3779B9u);
      if (h % uint32_t(rarity) != 0) continue;
      const double v = std::pow(Unit(HashMix(h)), 3.0) * strength;
      const TCol tint = Mix(C(200, 210, 255), C(255, 230, 200), Unit(HashMix(h + 1)));
      s.At(x, y) = s.At(x, y) + tint * v;
      if (v > 0.6 * strength)  // the brightest ones bleed into their neighbours
        for (auto [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}})
          if (x + dx >= 0 && x + dx < kW && y + dy >= 0 && y + dy < kH)
            s.At(x + dx, y + dy) = s.At(x + dx, y + dy) + tint * (v * 0.3);
    }
}

// A round glow of light added around (cx, cy): a core of `radius` and a soft halo.
void AddGlow(TScene& s, double cx, double cy, double radius, TCol core, TCol halo,
             double haloSize) {
  s.Each([&](int x, int y, TCol c) {
    const double d = std::hypot(x + 0.5 - cx, y + 0.5 - cy);
    c = c + halo * std::exp(-d / haloSize);
    return Mix(c, core, Smooth(radius + 1.0, radius - 1.0, d));
  });
}

// The finished picture: dithered to bytes with every channel at most `ceiling`, so that no
// part of a background competes with the game's bright objects.
TKBitmap Finish(TScene& s, double ceiling) {
  TKBitmap b(kW, kH);
  for (int y = 0; y < kH; ++y) {
    uint8_t* row = b.Row(y);
    for (int x = 0; x < kW; ++x) {
      const TCol c = s.At(x, y);
      const double d = Bayer(x, y) - 0.5;
      auto channel = [&](double v) {
        return uint8_t(std::clamp(int(std::lround(std::min(v, ceiling) + d)), 0, 255));
      };
      row[3 * x] = channel(c.b);
      row[3 * x + 1] = channel(c.g);
      row[3 * x + 2] = channel(c.r);
    }
  }
  return b;
}

void WriteJpeg(TContent& content, const std::string& name, const TKBitmap& b) {
  std::vector<uint8_t> bytes;
  if (EncodeJpeg(b, kJpegQuality, bytes)) content.WriteBytes("Levels\\Brickfall\\" + name, bytes);
}

// A ridge line: the height in pixels above a baseline at column x.
double Ridge(double x, uint32_t seed, double scale, double amplitude) {
  const double n = FractalNoise(x / scale, 0.5, seed, 5);
  const double sharp = 1.0 - std::fabs(2.0 * FractalNoise(x / (scale * 0.7), 3.5, seed + 7, 4) - 1);
  const double h = 0.55 * n + 0.45 * sharp;
  return amplitude * 1.6 * h * h;  // squared: sharper peaks, wider saddles
}

// Dawn: a clear sky warming toward the horizon, the sun rising behind low hills, long
// clouds lit from below.
TKBitmap Dawn() {
  TScene s;
  constexpr double kHorizon = 292, kSunX = 356, kSunY = 286;
  s.Each([&](int x, int y, TCol) {
    const double t = y / kHorizon;
    TCol sky = Gradient({{0.0, C(18, 24, 58)},
                         {0.45, C(52, 52, 100)},
                         {0.78, C(128, 84, 108)},
                         {1.0, C(206, 134, 96)}},
                        t);
    const double near = std::exp(-std::hypot(x - kSunX, (y - kSunY) * 1.6) / 160.0);
    sky = sky + C(90, 50, 20) * near;
    // Long clouds: lattices stretched across, thicker in the middle height.
    const double n = FractalNoise(x / 150.0, y / 26.0, 301, 5);
    const double band = Smooth(40, 130, y) * Smooth(280, 200, y);
    const double cloud = Smooth(0.5, 0.72, n) * band;
    const TCol shade = Mix(C(62, 52, 86), C(226, 150, 120), 0.25 + 0.75 * near + 0.3 * t);
    return Mix(sky, shade, cloud * 0.85);
  });
  AddGlow(s, kSunX, kSunY, 15, C(255, 226, 170), C(120, 70, 30), 40);
  // Two ranges of hills in front of the sun.
  s.Each([&](int x, int y, TCol c) {
    const double far = kHorizon - 10 - Ridge(x, 311, 140, 34);
    const double near = kHorizon + 18 - Ridge(x + 900, 312, 110, 46);
    if (y >= near) return Mix(C(26, 20, 30), C(12, 10, 16), (y - near) / 80.0);
    if (y >= far) return Mix(C(70, 50, 66), C(44, 34, 50), (y - far) / 50.0);
    return c;
  });
  return Finish(s, 200);
}

// Nebula: coloured gas torn by dark dust in deep space, with stars in front.
TKBitmap Nebula() {
  TScene s;
  s.Each([&](int x, int y, TCol) {
    const double q = FractalNoise(x / 170.0, y / 170.0, 401, 4);
    const double r = FractalNoise(x / 170.0 + 5.2, y / 170.0 + 1.3, 402, 4);
    const double gas = FractalNoise(x / 140.0 + 2.4 * q, y / 140.0 + 2.4 * r, 403, 6);
    const double hue = FractalNoise(x / 260.0, y / 260.0, 404, 3);
    const double density = std::pow(Smooth(0.3, 0.78, gas), 1.2);
    const double dust = Smooth(0.52, 0.7, FractalNoise(x / 80.0, y / 80.0, 405, 5));
    TCol glow = Mix(C(30, 96, 140), C(126, 42, 140), Smooth(0.35, 0.65, hue));
    glow = Mix(glow, C(224, 120, 150), Smooth(0.7, 0.95, gas) * 0.7);
    const TCol space = Mix(C(4, 5, 14), C(10, 8, 26), y / double(kH));
    return Mix(space, glow, density * (1.0 - 0.6 * dust));
  });
  AddStars(s, 406, 420, kH, 190);
  AddGlow(s, 118, 96, 1.5, C(240, 236, 255), C(70, 60, 110), 9);
  AddGlow(s, 402, 258, 1.2, C(255, 236, 220), C(80, 50, 60), 7);
  return Finish(s, 215);
}

// Mountains: ranges fading into the evening haze, snow on the far peaks, mist in the
// valleys.
TKBitmap Mountains() {
  TScene s;
  s.Each([&](int, int y, TCol) {
    return Gradient({{0.0, C(22, 30, 66)}, {0.5, C(70, 74, 116)}, {1.0, C(150, 126, 140)}},
                    y / 230.0);
  });
  AddGlow(s, 392, 62, 11, C(232, 230, 214), C(40, 40, 60), 30);  // the moon
  constexpr int kLayers = 5;
  const TCol haze = C(112, 104, 134);
  for (int k = 0; k < kLayers; ++k) {
    const double depth = double(k) / (kLayers - 1);  // 0 far .. 1 near
    const double base = 200 + 44 * k;
    const double amplitude = 120 - 16 * k;
    const TCol rock = Mix(C(74, 74, 108), C(16, 18, 26), depth);
    s.Each([&](int x, int y, TCol c) {
      auto height = [&](double at) {
        return Ridge(at + 500.0 * k, 500 + k, 150 - 18 * k, amplitude);
      };
      const double top = base - height(x);
      if (y < top) return c;
      const double below = y - top;
      TCol col = rock * (0.9 + 0.25 * FractalNoise(x / 30.0, y / 30.0, 520 + k, 3));
      // Snow above the snow line on the far ranges, its edge broken by the rock.
      if (k < 2) {
        const double line =
            base - amplitude * 0.62 + 16 * (FractalNoise(x / 14.0, y / 10.0, 530 + k, 3) - 0.5);
        col = Mix(col, C(150, 150, 178), Smooth(line + 3, line - 3, y) * (1.0 - 0.4 * k));
      }
      col = Mix(col, rock * 1.3, Smooth(3, 0, below) * 0.5);  // a lit edge on the ridge
      const double mist = Smooth(base - 20, base + 40, y) * (1.0 - depth * 0.7) * 0.4;
      return Mix(col, haze * (1.0 - 0.4 * depth), mist);
    });
  }
  return Finish(s, 190);
}

// Sea: the moon over a calm sea at night, its light broken on the waves.
TKBitmap Sea() {
  TScene s;
  constexpr double kHorizon = 196, kMoonX = 162, kMoonY = 84;
  s.Each([&](int x, int y, TCol) {
    if (y < kHorizon) {
      TCol sky = Gradient({{0.0, C(10, 16, 42)}, {0.6, C(34, 46, 86)}, {1.0, C(86, 96, 128)}},
                          y / kHorizon);
      const double cloud =
          Smooth(0.55, 0.78, FractalNoise(x / 120.0, y / 22.0, 601, 5)) * Smooth(20, 90, y);
      return Mix(sky, C(96, 102, 132), cloud * 0.6);
    }
    // Perspective: rows near the horizon hold far water.
    const double z = 60.0 / (y - kHorizon + 3.0);
    const double u = (x - kW / 2.0) * z / 60.0, v = z * 4.0;
    const double wave = FractalNoise(u * 1.5, v * 6.0, 602, 5);
    const double t = (y - kHorizon) / (kH - kHorizon);
    TCol sea = Mix(C(52, 62, 96), C(6, 16, 34), std::pow(t, 0.6));
    sea = sea * (0.8 + 0.45 * (wave - 0.5) * 2.0);
    // The moon's road: a column widening toward the viewer, glittering on wave crests.
    const double width = 10 + 70 * t;
    const double road = std::exp(-std::pow((x - kMoonX) / width, 2.0));
    const double glitter = Smooth(0.55, 0.75, wave) * road;
    return sea + C(210, 210, 190) * (glitter * 0.8) + C(40, 44, 60) * (road * 0.4);
  });
  AddGlow(s, kMoonX, kMoonY, 17, C(236, 232, 210), C(60, 64, 84), 60);
  AddStars(s, 603, 420, int(kHorizon) - 30, 130);
  return Finish(s, 210);
}

// Aurora: green and violet curtains over snowy hills and dark pines.
TKBitmap Aurora() {
  TScene s;
  constexpr double kGround = 300;
  s.Each([&](int, int y, TCol) {
    return Gradient({{0.0, C(4, 8, 20)}, {1.0, C(14, 30, 46)}}, y / kGround);
  });
  AddStars(s, 701, 320, int(kGround), 150);
  struct TCurtain {
    double base, swing, height;
    uint32_t seed;
    double strength;
  };
  const TCurtain curtains[] = {{118, 22, 70, 720, 0.45}, {172, 44, 95, 710, 0.9}};
  for (const TCurtain& c : curtains) {
    s.Each([&](int x, int y, TCol col) {
      const double line = c.base + c.swing * std::sin(x / 80.0 + std::sin(x / 47.0) + c.seed) +
                          40 * (FractalNoise(x / 140.0, 0.5, c.seed, 4) - 0.5);
      if (y > line + 24) return col;
      const double above = line - y;
      const double rays = FractalNoise(x / 5.0, y / 260.0, c.seed + 1, 3);
      const double fold = 0.55 + 0.45 * FractalNoise(x / 60.0, 2.5, c.seed + 2, 3);
      const double glow =
          Smooth(24, -4, -above) * std::exp(-std::max(above, 0.0) / c.height) * fold;
      const TCol hue = Mix(C(60, 210, 130), C(130, 70, 180), Smooth(10, c.height * 1.6, above));
      return col + hue * (glow * (0.3 + 0.7 * rays) * c.strength * 0.85);
    });
  }
  // Snowy hills and a line of pines in front of them.
  s.Each([&](int x, int y, TCol c) {
    const double hill = kGround - Ridge(x, 730, 200, 40);
    if (y < hill) return c;
    TCol snow = Mix(C(52, 72, 92), C(22, 30, 46), (y - hill) / 90.0);
    snow = snow + C(20, 50, 36) * (0.5 * Smooth(hill + 40, hill, y));  // the aurora's light
    return snow;
  });
  for (int i = 0; i < 26; ++i) {
    const uint32_t h = HashMix(740 + i);
    const double px = Unit(h) * kW, tall = 30 + 50 * Unit(HashMix(h)), half = tall * 0.24;
    const double foot = kGround - Ridge(px, 730, 200, 40) + 16 + 40 * Unit(HashMix(h + 3));
    for (int y = std::max(0, int(foot - tall)); y < std::min(kH, int(foot) + 4); ++y)
      for (int x = std::max(0, int(px - half - 2)); x <= std::min(kW - 1, int(px + half + 2));
           ++x) {
        const double t = (y - (foot - tall)) / tall;               // 0 tip .. 1 foot
        const double tiers = 0.7 + 0.3 * std::fmod(t * 5.0, 1.0);  // branches in tiers
        const double w = half * t * tiers;
        const double inside = Smooth(w + 0.8, w - 0.8, std::fabs(x + 0.5 - px));
        if (y >= foot) continue;
        s.At(x, y) = Mix(s.At(x, y), C(6, 10, 14), inside);
      }
  }
  return Finish(s, 200);
}

// Desert: dunes under a warm evening sky, each with a lit and a shaded face.
TKBitmap Desert() {
  TScene s;
  s.Each([&](int x, int y, TCol) {
    TCol sky = Gradient({{0.0, C(34, 36, 76)}, {0.55, C(110, 82, 108)}, {1.0, C(206, 140, 96)}},
                        y / 200.0);
    return sky + C(80, 40, 10) * std::exp(-std::hypot(x - 90.0, (y - 190.0) * 1.5) / 120.0);
  });
  AddGlow(s, 90, 178, 14, C(255, 214, 150), C(110, 60, 20), 36);
  constexpr int kLayers = 4;
  for (int k = 0; k < kLayers; ++k) {
    const double depth = double(k) / (kLayers - 1);
    const double base = 190 + 52 * k, amplitude = 40 + 14 * k, scale = 120 + 40 * k;
    const uint32_t seed = 800 + 10 * k;
    auto crest = [&](double x) {
      const double n = FractalNoise(x / scale, 1.5, seed, 3);
      const double swell = 0.5 + 0.5 * std::sin(x / (scale * 0.45) + k * 1.7);
      return base - amplitude * (0.55 * swell + 0.45 * n);
    };
    const TCol lit = Mix(C(168, 112, 72), C(146, 90, 52), depth);
    const TCol shade = Mix(C(98, 68, 72), C(56, 34, 30), depth);
    const TCol haze = C(150, 104, 90);
    s.Each([&](int x, int y, TCol c) {
      const double top = crest(x);
      if (y < top) return c;
      // The face toward the low sun (on the left) is lit near the crest; further down the
      // dune's body turns to one middle tone.
      const double below = y - top;
      const double slope = crest(x + 10.0) - crest(x - 10.0);
      const double face = Smooth(-8.0, 8.0, slope);
      const TCol middle = Mix(shade, lit, 0.55);
      TCol col = Mix(middle, Mix(shade, lit, face), std::exp(-below / 30.0));
      // Ripples run along the crest.
      const double ripple =
          std::sin(below * 0.7 + 5 * FractalNoise(x / 50.0, y / 50.0, seed + 1, 3));
      col = col * (0.95 + 0.05 * ripple);
      col = col * (1.0 - 0.25 * Smooth(0, 120, below));  // darker toward the dune's foot
      return Mix(col, haze, (1.0 - depth) * 0.45);
    });
  }
  return Finish(s, 190);
}

void MakeBackgrounds(TContent& content) {
  WriteJpeg(content, "Dawn.jpg", Dawn());
  WriteJpeg(content, "Nebula.jpg", Nebula());
  WriteJpeg(content, "Mountains.jpg", Mountains());
  WriteJpeg(content, "Sea.jpg", Sea());
  WriteJpeg(content, "Aurora.jpg", Aurora());
  WriteJpeg(content, "Desert.jpg", Desert());
}

TRegisterGenerator registerBackgrounds("Brickfall backgrounds", 120, MakeBackgrounds);

}  // namespace

}  // namespace kelvra::content
