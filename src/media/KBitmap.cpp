// The software bitmap: sizes and clipping, the pixel routines in all 23 drawing modes,
// resampling, quarter turns, mirroring, recolouring, the colour functions and effect tables.
#include "media/KBitmap.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <type_traits>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace kelvra {

// ---------------------------------------------------------------------------------------
// The bitmap itself

uint32_t TKBitmap::Pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return clNone;
  const uint8_t* p = Row(y) + 3 * x;
  return RGB(p[2], p[1], p[0]);
}

void TKBitmap::SetSize(int width, int height) {
  width = std::clamp(width, 0, kMaxBitmapWidth);
  height = std::clamp(height, 0, kMaxBitmapHeight);
  if (width == width_ && height == height_) return;
  width_ = width;
  height_ = height;
  stride_ = (3 * width + 3) & ~3;
  // A fresh block, so that shrinking also gives the memory back.
  std::vector<uint8_t>(size_t(stride_) * size_t(height)).swap(bits_);
  ResetClip();
}

void TKBitmap::CopyFrom(const TKBitmap& source) {
  if (this == &source) return;
  SetSize(source.width_, source.height_);
  bits_ = source.bits_;
}

void TKBitmap::SetClip(int x1, int y1, int x2, int y2) {
  clipX1 = std::max(x1, 0);
  clipY1 = std::max(y1, 0);
  clipX2 = std::min(x2, width_ - 1);
  clipY2 = std::min(y2, height_ - 1);
}

void TKBitmap::ResetClip() {
  clipX1 = 0;
  clipY1 = 0;
  clipX2 = width_ - 1;
  clipY2 = height_ - 1;
}

// ---------------------------------------------------------------------------------------
// Colours

uint32_t ColorToRGB(uint32_t colour) {
  if ((colour & 0xFF000000u) != 0x80000000u) return colour;
  // The classic desktop scheme, indexed by the platform's system colour number.
  static const uint32_t kSystem[31] = {
      0xC8C8C8, 0x000000, 0x6A240A, 0x808080, 0xC8D0D4, 0xFFFFFF, 0x000000, 0x000000,
      0x000000, 0xFFFFFF, 0xC8D0D4, 0xC8D0D4, 0x808080, 0x6A240A, 0xFFFFFF, 0xC8D0D4,
      0x808080, 0x808080, 0x000000, 0xC8D0D4, 0xFFFFFF, 0x404040, 0xC8D0D4, 0x000000,
      0xE1FFFF, 0xB5B5B5, 0x800000, 0xF0CAA6, 0xC0C0C0, 0xD77800, 0xC8D0D4};
  uint32_t index = colour & 0xFF;
  return index < std::size(kSystem) ? kSystem[index] : 0x808080;
}

uint32_t ContrastColor(uint32_t colour) {
  uint32_t c = ColorToRGB(colour);
  if (c > 0xFFFFFF) return clNone;
  auto flip = [](int v) { return v < 128 ? 255 : 0; };
  return RGB(flip(RedOf(c)), flip(GreenOf(c)), flip(BlueOf(c)));
}

uint32_t ScaleColor(uint32_t colour, int factor) {
  uint32_t c = ColorToRGB(colour);
  if (c > 0xFFFFFF) return colour;
  int64_t f = std::max(factor, 0);
  auto scale = [f](int v) { return int(std::min<int64_t>(v * f / 65536, 255)); };
  return RGB(scale(RedOf(c)), scale(GreenOf(c)), scale(BlueOf(c)));
}

uint32_t SpectrumColor(int n) {
  int m = n % kSpectrumSteps;
  if (m < 0) m += kSpectrumSteps;
  int t = m % 255;
  switch (m / 255) {
    case 0:
      return RGB(255, t, 0);  // red to yellow
    case 1:
      return RGB(255 - t, 255, 0);  // yellow to green
    case 2:
      return RGB(0, 255, t);  // green to cyan
    case 3:
      return RGB(0, 255 - t, 255);  // cyan to blue
    case 4:
      return RGB(t, 0, 255);  // blue to magenta
    default:
      return RGB(255, 0, 255 - t);  // magenta to red
  }
}

// ---------------------------------------------------------------------------------------
// Pixel arithmetic

namespace {

// Channel operations, one per family of modes, each in a scalar form and (with SSE2) a
// 16-byte form; the row loops are instantiated per operation so that the inner loops carry
// no per-pixel switch.
#if defined(__SSE2__)
#define KELVRA_SIMD 1
using V = __m128i;
inline V Bytes(int v) {
  return _mm_set1_epi8(char(v));
}
// Applies f to the sixteen bytes widened to 16-bit lanes, packing back with 0..255 clamping.
template <class F>
inline V Wide(V d, V s, F f) {
  const V zero = _mm_setzero_si128();
  return _mm_packus_epi16(f(_mm_unpacklo_epi8(d, zero), _mm_unpacklo_epi8(s, zero)),
                          f(_mm_unpackhi_epi8(d, zero), _mm_unpackhi_epi8(s, zero)));
}
#define KELVRA_VEC(body)  \
  V Vec(V d, V s) const { \
    body                  \
  }
#else
#define KELVRA_SIMD 0
#define KELVRA_VEC(body)
#endif

struct OpCopy {
  uint8_t operator()(int, int s) const { return uint8_t(s); }
  KELVRA_VEC(return s;)
};
struct OpHalf {
  uint8_t operator()(int d, int s) const { return uint8_t((d + s) >> 1); }
  // The rounding-up average, less one where the sum is odd.
  KELVRA_VEC(return _mm_sub_epi8(_mm_avg_epu8(d, s), _mm_and_si128(_mm_xor_si128(d, s), Bytes(1)));)
};
struct OpMix {  // modes 1..15
  int k;
  uint8_t operator()(int d, int s) const { return uint8_t((d * (16 - k) + s * k) >> 4); }
  KELVRA_VEC(const V kd = _mm_set1_epi16(short(16 - k)); const V ks = _mm_set1_epi16(short(k));
             return Wide(d, s, [&](V a, V b) {
               return _mm_srli_epi16(_mm_add_epi16(_mm_mullo_epi16(a, kd), _mm_mullo_epi16(b, ks)),
                                     4);
             });)
};
struct OpAdd {
  uint8_t operator()(int d, int s) const { return uint8_t(std::min(d + s, 255)); }
  KELVRA_VEC(return _mm_adds_epu8(d, s);)
};
struct OpSub {
  uint8_t operator()(int d, int s) const { return uint8_t(std::max(d - s, 0)); }
  KELVRA_VEC(return _mm_subs_epu8(d, s);)
};
struct OpAdd127 {
  uint8_t operator()(int d, int s) const { return uint8_t(std::clamp(d + s - 127, 0, 255)); }
  KELVRA_VEC(return Wide(d, s, [](V a, V b) {
                      return _mm_sub_epi16(_mm_add_epi16(a, b), _mm_set1_epi16(127));
                    });)
};
struct OpSub127 {
  uint8_t operator()(int d, int s) const { return uint8_t(std::clamp(d - s + 127, 0, 255)); }
  KELVRA_VEC(return Wide(d, s, [](V a, V b) {
                      return _mm_add_epi16(_mm_sub_epi16(a, b), _mm_set1_epi16(127));
                    });)
};
struct OpXor {
  uint8_t operator()(int d, int s) const { return uint8_t(d ^ s); }
  KELVRA_VEC(return _mm_xor_si128(d, s);)
};
struct OpNeg {
  uint8_t operator()(int d, int) const { return d < 127 ? 255 : 0; }
  KELVRA_VEC((void)s; return _mm_cmpeq_epi8(_mm_min_epu8(d, Bytes(126)), d);)  // d <= 126
};

bool Draws(TEffect mode) {
  return mode != ef00 && mode < kEffects;
}

// Calls f with the operation of a drawing mode (which must draw).
template <class F>
void WithOp(TEffect mode, F&& f) {
  switch (mode) {
    case ef08:
      f(OpHalf{});
      break;
    case ef16:
      f(OpCopy{});
      break;
    case efAdd:
      f(OpAdd{});
      break;
    case efSub:
      f(OpSub{});
      break;
    case efAdd127:
      f(OpAdd127{});
      break;
    case efSub127:
      f(OpSub127{});
      break;
    case efXor:
      f(OpXor{});
      break;
    case efNeg:
      f(OpNeg{});
      break;
    default:
      f(OpMix{int(mode)});
      break;
  }
}

// One channel combined in a mode; for single pixels and tables.
uint8_t Combine(TEffect mode, int d, int s) {
  uint8_t r = uint8_t(d);
  if (Draws(mode)) WithOp(mode, [&](auto op) { r = op(d, s); });
  return r;
}

// The pixel bytes (blue, green, red) of a colour; false for no colour.
bool ColourBytes(uint32_t colour, uint8_t out[3]) {
  uint32_t c = ColorToRGB(colour);
  if (c > 0xFFFFFF) return false;
  out[0] = uint8_t(c >> 16);
  out[1] = uint8_t(c >> 8);
  out[2] = uint8_t(c);
  return true;
}

// A pixel's three bytes read as one value (blue low), for transparent-colour tests.
inline uint32_t PixelKey(const uint8_t* p) {
  return p[0] | p[1] << 8 | p[2] << 16;
}
constexpr uint32_t kNoKey = 0xFFFFFFFF;  // matches no pixel

uint32_t TransparentKey(uint32_t transparent) {
  uint8_t c[3];
  if (!ColourBytes(transparent, c)) return kNoKey;
  return PixelKey(c);
}

// The clip rectangle limited to the bitmap (the fields are public and may be anything).
struct Box {
  int x1, y1, x2, y2;
  bool Empty() const { return x1 > x2 || y1 > y2; }
};

Box ClipBox(const TKBitmap& b) {
  return {std::max(b.clipX1, 0), std::max(b.clipY1, 0), std::min(b.clipX2, b.Width() - 1),
          std::min(b.clipY2, b.Height() - 1)};
}

template <class Op>
void BlendBytes(uint8_t* d, const uint8_t* s, size_t n, Op op) {
  if constexpr (std::is_same_v<Op, OpCopy>) {
    std::memcpy(d, s, n);
    return;
  }
  size_t i = 0;
#if KELVRA_SIMD
  for (; i + 16 <= n; i += 16) {
    const V a = _mm_loadu_si128(reinterpret_cast<const V*>(d + i));
    const V b = _mm_loadu_si128(reinterpret_cast<const V*>(s + i));
    _mm_storeu_si128(reinterpret_cast<V*>(d + i), op.Vec(a, b));
  }
#endif
  for (; i < n; ++i) d[i] = op(d[i], s[i]);
}

// With a transparent colour: the runs of pixels between transparent ones are combined as
// whole byte runs (sprites are mostly long opaque or transparent stretches). Every pixel
// but the last is tested with one 4-byte load, whose fourth byte is the next pixel's.
inline uint32_t PixelKey4(const uint8_t* p) {
  if constexpr (std::endian::native != std::endian::little) return PixelKey(p);
  uint32_t v;
  std::memcpy(&v, p, 4);
  return v & 0xFFFFFF;  // blue in the low byte, as PixelKey
}

template <class Op>
void BlendKeyed(uint8_t* d, const uint8_t* s, int pixels, uint32_t key, Op op) {
  const int fast = pixels - 1;
  int i = 0;
  while (i < fast) {
    while (i < fast && PixelKey4(s + 3 * i) == key) ++i;
    const int start = i;
    while (i < fast && PixelKey4(s + 3 * i) != key) ++i;
    if (i > start) BlendBytes(d + 3 * start, s + 3 * start, size_t(i - start) * 3, op);
  }
  if (fast >= 0 && PixelKey(s + 3 * fast) != key) {
    uint8_t* p = d + 3 * fast;
    const uint8_t* q = s + 3 * fast;
    p[0] = op(p[0], q[0]), p[1] = op(p[1], q[1]), p[2] = op(p[2], q[2]);
  }
}

// Combines n bytes of a row with a colour; c repeats the colour's three bytes 16 times, so
// that each 48-byte block starts on a pixel.
template <class Op>
void FillBytes(uint8_t* d, size_t n, const uint8_t (&c)[48], Op op) {
  size_t i = 0;
#if KELVRA_SIMD
  const V c0 = _mm_loadu_si128(reinterpret_cast<const V*>(c));
  const V c1 = _mm_loadu_si128(reinterpret_cast<const V*>(c + 16));
  const V c2 = _mm_loadu_si128(reinterpret_cast<const V*>(c + 32));
  for (; i + 48 <= n; i += 48) {
    V* p = reinterpret_cast<V*>(d + i);
    _mm_storeu_si128(p, op.Vec(_mm_loadu_si128(p), c0));
    _mm_storeu_si128(p + 1, op.Vec(_mm_loadu_si128(p + 1), c1));
    _mm_storeu_si128(p + 2, op.Vec(_mm_loadu_si128(p + 2), c2));
  }
#endif
  for (; i < n; ++i) d[i] = op(d[i], c[i % 3]);
}

}  // namespace

// ---------------------------------------------------------------------------------------
// Pixel routines

void PutPixel(TKBitmap& b, int x, int y, uint32_t colour, TEffect mode) {
  uint8_t c[3];
  if (!Draws(mode) || !ColourBytes(colour, c)) return;
  Box box = ClipBox(b);
  if (x < box.x1 || x > box.x2 || y < box.y1 || y > box.y2) return;
  uint8_t* p = b.Row(y) + 3 * x;
  for (int k = 0; k < 3; ++k) p[k] = Combine(mode, p[k], c[k]);
}

void FillRect(TKBitmap& b, int x1, int y1, int x2, int y2, uint32_t colour, TEffect mode) {
  uint8_t c[3];
  if (!Draws(mode) || !ColourBytes(colour, c)) return;
  Box box = ClipBox(b);
  x1 = std::max(x1, box.x1);
  y1 = std::max(y1, box.y1);
  x2 = std::min(x2, box.x2);
  y2 = std::min(y2, box.y2);
  if (x1 > x2 || y1 > y2) return;
  const size_t n = size_t(x2 - x1 + 1) * 3;

  if (mode == ef16) {
    uint8_t* first = b.Row(y1) + 3 * x1;
    if (c[0] == c[1] && c[1] == c[2]) {
      for (int y = y1; y <= y2; ++y) std::memset(b.Row(y) + 3 * x1, c[0], n);
      return;
    }
    for (size_t i = 0; i < n; i += 3) std::memcpy(first + i, c, 3);
    for (int y = y1 + 1; y <= y2; ++y) std::memcpy(b.Row(y) + 3 * x1, first, n);
    return;
  }

  uint8_t pattern[48];
  for (int i = 0; i < 48; ++i) pattern[i] = c[i % 3];
  WithOp(mode, [&](auto op) {
    for (int y = y1; y <= y2; ++y) FillBytes(b.Row(y) + 3 * x1, n, pattern, op);
  });
}

void FillBitmap(TKBitmap& b, uint32_t colour, TEffect mode) {
  FillRect(b, b.clipX1, b.clipY1, b.clipX2, b.clipY2, colour, mode);
}

namespace {

// A routine whose source is also its destination would overwrite pixels it has still to
// read, so it draws from this copy (pixels and clip rectangle) instead.
TKBitmap SourceCopy(const TKBitmap& source) {
  return source;
}

}  // namespace

void DrawBitmap(TKBitmap& dest, int x, int y, const TKBitmap& source, int sx1, int sy1, int sx2,
                int sy2, uint32_t transparent, TEffect mode) {
  if (!Draws(mode)) return;
  if (&dest == &source)
    return DrawBitmap(dest, x, y, SourceCopy(source), sx1, sy1, sx2, sy2, transparent, mode);
  // 64-bit so that extreme coordinates cannot overflow while clipping.
  int64_t dx = x, dy = y, ax1 = sx1, ay1 = sy1, ax2 = sx2, ay2 = sy2;
  Box sc = ClipBox(source);
  if (ax1 < sc.x1) dx += sc.x1 - ax1, ax1 = sc.x1;
  if (ay1 < sc.y1) dy += sc.y1 - ay1, ay1 = sc.y1;
  ax2 = std::min<int64_t>(ax2, sc.x2);
  ay2 = std::min<int64_t>(ay2, sc.y2);
  Box dc = ClipBox(dest);
  if (dx < dc.x1) ax1 += dc.x1 - dx, dx = dc.x1;
  if (dy < dc.y1) ay1 += dc.y1 - dy, dy = dc.y1;
  const int64_t w = std::min<int64_t>(ax2 - ax1, dc.x2 - dx) + 1;
  const int64_t h = std::min<int64_t>(ay2 - ay1, dc.y2 - dy) + 1;
  if (w <= 0 || h <= 0) return;

  const uint32_t key = TransparentKey(transparent);
  const int px = int(dx), py = int(dy), qx = int(ax1), qy = int(ay1);
  WithOp(mode, [&](auto op) {
    for (int j = 0; j < h; ++j) {
      uint8_t* d = dest.Row(py + j) + 3 * px;
      const uint8_t* s = source.Row(qy + j) + 3 * qx;
      if (key == kNoKey)
        BlendBytes(d, s, size_t(w) * 3, op);
      else
        BlendKeyed(d, s, int(w), key, op);
    }
  });
}

void DrawWhole(TKBitmap& dest, int x, int y, const TKBitmap& source, uint32_t transparent,
               TEffect mode) {
  if (dest.Empty() || source.Empty()) return;
  DrawBitmap(dest, x, y, source, 0, 0, source.Width() - 1, source.Height() - 1, transparent, mode);
}

void DrawLine(TKBitmap& b, int x1, int y1, int x2, int y2, uint32_t colour, TEffect mode) {
  uint8_t c[3];
  if (!Draws(mode) || !ColourBytes(colour, c)) return;
  Box box = ClipBox(b);
  if (box.Empty()) return;
  // Walk the longer axis as "u", the shorter as "v"; only the steps whose u lies inside the
  // clip rectangle are visited, the v of the first one found from the error term.
  const bool xMajor = std::abs(int64_t(x2) - x1) >= std::abs(int64_t(y2) - y1);
  const int64_t u1 = xMajor ? x1 : y1, u2 = xMajor ? x2 : y2;
  const int64_t v1 = xMajor ? y1 : x1, v2 = xMajor ? y2 : x2;
  const int64_t du = std::abs(u2 - u1), dv = std::abs(v2 - v1);
  const int su = u2 >= u1 ? 1 : -1, sv = v2 >= v1 ? 1 : -1;
  const int64_t lo = xMajor ? box.x1 : box.y1, hi = xMajor ? box.x2 : box.y2;
  // Step indices i (0..du) with u1 + su * i inside lo..hi.
  int64_t first = su > 0 ? lo - u1 : u1 - hi;
  int64_t last = su > 0 ? hi - u1 : u1 - lo;
  first = std::max<int64_t>(first, 0);
  last = std::min<int64_t>(last, du);
  if (first > last) return;
  // After i steps the error is du / 2 - i * dv + k * du with the least k that keeps it >= 0.
  int64_t k = 0;
  int64_t need = first * dv - du / 2;
  if (need > 0) k = (need + du - 1) / du;
  int64_t err = du / 2 - first * dv + k * du;
  int64_t v = v1 + sv * k;
  for (int64_t i = first; i <= last; ++i) {
    const int64_t u = u1 + su * i;
    const int64_t px = xMajor ? u : v, py = xMajor ? v : u;
    if (px >= box.x1 && px <= box.x2 && py >= box.y1 && py <= box.y2) {
      uint8_t* p = b.Row(int(py)) + 3 * px;
      for (int ch = 0; ch < 3; ++ch) p[ch] = Combine(mode, p[ch], c[ch]);
    }
    err -= dv;
    if (err < 0) {
      v += sv;
      err += du;
    }
  }
}

void DrawFrame(TKBitmap& b, int x1, int y1, int x2, int y2, uint32_t colour, TEffect mode) {
  if (x1 > x2) std::swap(x1, x2);
  if (y1 > y2) std::swap(y1, y2);
  if (x1 == x2 || y1 == y2) return;
  FillRect(b, x1, y1, x2 - 1, y1, colour, mode);  // top
  FillRect(b, x1, y1 + 1, x1, y2, colour, mode);  // left
  FillRect(b, x1 + 1, y2, x2, y2, colour, mode);  // bottom
  FillRect(b, x2, y1, x2, y2 - 1, colour, mode);  // right
}

void DrawBorder3D(TKBitmap& b, int x1, int y1, int x2, int y2, uint32_t light, uint32_t dark,
                  int width, TEffect mode) {
  uint8_t l[3], d[3];
  uint32_t corner = clNone;
  if (ColourBytes(light, l) && ColourBytes(dark, d))
    corner = RGB((l[2] + d[2]) / 2, (l[1] + d[1]) / 2, (l[0] + d[0]) / 2);
  for (int i = 0; i < width; ++i) {
    const int xa = x1 + i, ya = y1 + i, xb = x2 - i, yb = y2 - i;
    if (xa > xb || ya > yb) break;                     // the rings have met in the middle
    FillRect(b, xa, ya, xb - 1, ya, light, mode);      // top
    FillRect(b, xa, ya + 1, xa, yb - 1, light, mode);  // left
    FillRect(b, xa + 1, yb, xb, yb, dark, mode);       // bottom
    FillRect(b, xb, ya + 1, xb, yb - 1, dark, mode);   // right
    PutPixel(b, xa, yb, corner, mode);
    PutPixel(b, xb, ya, corner, mode);
  }
}

void TileBitmap(TKBitmap& dest, const TKBitmap& source, uint32_t transparent, TEffect mode) {
  if (dest.Empty() || source.Empty()) return;
  for (int y = 0; y < dest.Height(); y += source.Height())
    for (int x = 0; x < dest.Width(); x += source.Width())
      DrawWhole(dest, x, y, source, transparent, mode);
}

// ---------------------------------------------------------------------------------------
// Resampling and recolouring

namespace {

// Source taps of each output position along one axis; weights in 1/65536, summing to
// exactly 65536 so that a flat colour stays flat.
struct Taps {
  std::vector<int> start;  // first tap of output i; start[i + 1] ends it
  std::vector<int> index;
  std::vector<int> weight;
};

Taps MakeTaps(int from, int to) {
  Taps t;
  t.start.reserve(to + 1);
  std::vector<std::pair<int, double>> taps;
  for (int i = 0; i < to; ++i) {
    taps.clear();
    if (to < from) {  // shrinking: the area each output pixel covers, averaged
      const double scale = double(from) / to;
      const double a = i * scale, b = (i + 1) * scale;
      for (int j = int(a); j < from && j < b; ++j) {
        const double overlap = std::min<double>(b, j + 1) - std::max<double>(a, j);
        if (overlap > 0) taps.push_back({j, overlap / scale});
      }
    } else {  // growing: bilinear between the two nearest source pixel centres
      double centre = (i + 0.5) * from / to - 0.5;
      centre = std::clamp(centre, 0.0, double(from - 1));
      const int j = int(centre);
      const double f = centre - j;
      taps.push_back({j, 1.0 - f});
      if (f > 0 && j + 1 < from) taps.push_back({j + 1, f});
    }
    t.start.push_back(int(t.index.size()));
    int sum = 0;
    size_t largest = 0;
    for (size_t k = 0; k < taps.size(); ++k) {
      const int w = int(std::lround(taps[k].second * 65536));
      t.index.push_back(taps[k].first);
      t.weight.push_back(w);
      sum += w;
      if (w > t.weight[t.start.back() + largest]) largest = k;
    }
    t.weight[t.start.back() + largest] += 65536 - sum;
  }
  t.start.push_back(int(t.index.size()));
  return t;
}

}  // namespace

void ScaleBitmap(TKBitmap& dest, const TKBitmap& source, int newWidth, int newHeight) {
  if (&dest == &source) return ScaleBitmap(dest, SourceCopy(source), newWidth, newHeight);
  dest.SetSize(newWidth, newHeight);
  const int dw = dest.Width(), dh = dest.Height(), sw = source.Width(), sh = source.Height();
  if (dest.Empty()) return;
  if (source.Empty()) {
    std::memset(dest.Bits(), 0, size_t(dest.Stride()) * dh);
    return;
  }
  const Taps tx = MakeTaps(sw, dw), ty = MakeTaps(sh, dh);
  // Horizontal pass into a packed dw x sh buffer (rows top first), then vertical.
  std::vector<uint8_t> mid(size_t(dw) * 3 * sh);
  for (int y = 0; y < sh; ++y) {
    const uint8_t* s = source.Row(y);
    uint8_t* m = mid.data() + size_t(y) * dw * 3;
    for (int x = 0; x < dw; ++x) {
      int acc[3] = {32768, 32768, 32768};
      for (int k = tx.start[x]; k < tx.start[x + 1]; ++k) {
        const uint8_t* p = s + 3 * tx.index[k];
        const int w = tx.weight[k];
        acc[0] += p[0] * w;
        acc[1] += p[1] * w;
        acc[2] += p[2] * w;
      }
      for (int c = 0; c < 3; ++c) m[3 * x + c] = uint8_t(std::clamp(acc[c] >> 16, 0, 255));
    }
  }
  std::vector<int> acc(size_t(dw) * 3);
  for (int y = 0; y < dh; ++y) {
    std::fill(acc.begin(), acc.end(), 32768);
    for (int k = ty.start[y]; k < ty.start[y + 1]; ++k) {
      const uint8_t* m = mid.data() + size_t(ty.index[k]) * dw * 3;
      const int w = ty.weight[k];
      for (size_t i = 0; i < acc.size(); ++i) acc[i] += m[i] * w;
    }
    uint8_t* d = dest.Row(y);
    for (size_t i = 0; i < acc.size(); ++i) d[i] = uint8_t(std::clamp(acc[i] >> 16, 0, 255));
  }
}

namespace {
// Calls f(pixel) for every pixel inside the clip rectangle.
template <class F>
void ForClipped(TKBitmap& b, F&& f) {
  Box box = ClipBox(b);
  for (int y = box.y1; y <= box.y2; ++y) {
    uint8_t* p = b.Row(y) + 3 * box.x1;
    for (int x = box.x1; x <= box.x2; ++x, p += 3) f(p);
  }
}
}  // namespace

void RecolorGreys(TKBitmap& b, uint32_t colour) {
  uint8_t c[3];
  if (!ColourBytes(colour, c)) return;
  ForClipped(b, [&](uint8_t* p) {
    if (p[0] != p[1] || p[1] != p[2]) return;
    for (int k = 0; k < 3; ++k) p[k] = uint8_t(p[k] * c[k] / 256);
  });
}

void TintBitmap(TKBitmap& b, uint32_t colour, uint32_t transparent, TEffect mode) {
  uint8_t c[3];
  if (!Draws(mode) || !ColourBytes(colour, c)) return;
  const uint32_t key = TransparentKey(transparent);
  WithOp(mode, [&](auto op) {
    ForClipped(b, [&](uint8_t* p) {
      if (PixelKey(p) == key) return;
      for (int k = 0; k < 3; ++k) p[k] = op(p[k], c[k]);
    });
  });
}

void MirrorBitmap(TKBitmap& dest, const TKBitmap& source) {
  const int w = source.Width(), h = source.Height();
  dest.SetSize(w, h);
  dest.ResetClip();
  for (int y = 0; y < h; ++y) {
    const uint8_t* s = source.Row(y);
    uint8_t* d = dest.Row(y);
    for (int x = 0; x < w; ++x) std::copy_n(s + 3 * x, 3, d + 3 * (w - 1 - x));
  }
}

void TurnBitmap(TKBitmap& dest, const TKBitmap& source, int quarterTurns) {
  const int turns = (quarterTurns % 4 + 4) % 4;
  const int w = source.Width(), h = source.Height();
  const bool odd = turns % 2 == 1;
  dest.SetSize(odd ? h : w, odd ? w : h);
  dest.ResetClip();
  for (int y = 0; y < h; ++y) {
    const uint8_t* s = source.Row(y);
    for (int x = 0; x < w; ++x) {
      int tx = x, ty = y;
      if (turns == 1) tx = y, ty = w - 1 - x;
      if (turns == 2) tx = w - 1 - x, ty = h - 1 - y;
      if (turns == 3) tx = h - 1 - y, ty = x;
      std::copy_n(s + 3 * x, 3, dest.Row(ty) + 3 * tx);
    }
  }
}

void HalveBitmap(TKBitmap& dest, const TKBitmap& source) {
  if (source.Empty()) {
    dest.SetSize(0, 0);
    return;
  }
  const int w = std::max(1, source.Width() / 2), h = std::max(1, source.Height() / 2);
  dest.SetSize(w, h);
  dest.ResetClip();
  for (int y = 0; y < h; ++y) {
    const uint8_t* s = source.Row(2 * y < source.Height() ? 2 * y : 0);
    uint8_t* d = dest.Row(y);
    for (int x = 0; x < w; ++x)
      std::copy_n(s + 3 * std::min(2 * x, source.Width() - 1), 3, d + 3 * x);
  }
}

}  // namespace kelvra
