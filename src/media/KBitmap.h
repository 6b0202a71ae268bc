// The 24-bit software bitmap through which all drawing goes: bottom-up rows of BGR pixels
// with a 4-byte row stride, a clip rectangle, 23 drawing modes, and its file formats.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/IOError.h"

namespace kelvra {

constexpr uint32_t clNone = 0x1FFFFFFF;  // no colour: no fill, or no transparent pixel
constexpr int kMaxBitmapWidth = 16384;
constexpr int kMaxBitmapHeight = 32767;

// Drawing modes, per colour channel with d the destination and s the source byte.
enum TEffect : uint8_t {
  ef00 = 0,  // nothing is drawn
  ef01,
  ef02,
  ef03,
  ef04,
  ef05,
  ef06,
  ef07,
  ef08,
  ef09,
  ef10,
  ef11,
  ef12,
  ef13,
  ef14,
  ef15,
  ef16 = 16,      // s (plain copy); 1..15: (d * (16 - k) + s * k) / 16
  efAdd = 17,     // min(d + s, 255)
  efSub = 18,     // max(d - s, 0)
  efAdd127 = 19,  // d + s - 127 clamped
  efSub127 = 20,  // d - s + 127 clamped
  efXor = 21,     // d ^ s
  efNeg = 22,     // 255 when d < 127, else 0
};
constexpr int kEffects = 23;

// Colours are 0x00BBGGRR (red in the low byte).
inline uint32_t RGB(int r, int g, int b) {
  return uint32_t(r) | uint32_t(g) << 8 | uint32_t(b) << 16;
}
inline int RedOf(uint32_t c) {
  return c & 0xFF;
}
inline int GreenOf(uint32_t c) {
  return (c >> 8) & 0xFF;
}
inline int BlueOf(uint32_t c) {
  return (c >> 16) & 0xFF;
}

// System colours: 0x80000000 + the platform's colour index. The routines turn them into
// their red, green and blue (ColorToRGB) before use; any other value above 0xFFFFFF
// (clNone among them) is no colour.
constexpr uint32_t clWindow = 0x80000005;
constexpr uint32_t clWindowText = 0x80000008;
constexpr uint32_t clBtnFace = 0x8000000F;
constexpr uint32_t clBtnShadow = 0x80000010;
constexpr uint32_t clBtnText = 0x80000012;
constexpr uint32_t clBtnHighlight = 0x80000014;
uint32_t ColorToRGB(uint32_t colour);  // system colours to 0x00BBGGRR; others unchanged

// The bitmap's current font for text output. Families are the system's names:
// "MS Sans Serif" is drawn with a sans-serif face, "Times New Roman" with a serif face.
struct TKFont {
  std::string family = "MS Sans Serif";
  int height = 11;  // character cell height in pixels
  bool bold = false;
  bool italic = false;
  uint32_t colour = 0;  // text colour
};

class TKBitmap {
 public:
  TKBitmap() = default;
  TKBitmap(int width, int height) { SetSize(width, height); }

  int Width() const { return width_; }
  int Height() const { return height_; }
  int Stride() const { return stride_; }  // (3 * width + 3) & ~3
  bool Empty() const { return width_ == 0 || height_ == 0; }
  uint8_t* Bits() { return bits_.data(); }
  const uint8_t* Bits() const { return bits_.data(); }
  // Row y counted from the top (rows are stored bottom-up). y must be in 0..height-1.
  uint8_t* Row(int y) { return bits_.data() + size_t(height_ - 1 - y) * stride_; }
  const uint8_t* Row(int y) const { return bits_.data() + size_t(height_ - 1 - y) * stride_; }
  uint32_t Pixel(int x, int y) const;  // colour value, clNone outside the bitmap

  // A no-op when unchanged; otherwise clamps (0..16384 x 0..32767), remakes the pixels
  // (zeroed) and resets the clip rectangle.
  void SetSize(int width, int height);
  void CopyFrom(const TKBitmap& source);  // size and pixels

  // Inclusive clip rectangle, limited to the bitmap.
  int clipX1 = 0, clipY1 = 0, clipX2 = -1, clipY2 = -1;
  void SetClip(int x1, int y1, int x2, int y2);
  void ResetClip();

  TKFont font;

 private:
  int width_ = 0, height_ = 0, stride_ = 0;
  std::vector<uint8_t> bits_;
};

// Whole-picture arithmetic (any size; the source is left alone).
void MirrorBitmap(TKBitmap& dest, const TKBitmap& source);  // left to right
// Turned by `quarterTurns` (any sign) counter-clockwise on the screen: a picture facing left
// faces down after one turn. Width and height exchange for odd turns.
void TurnBitmap(TKBitmap& dest, const TKBitmap& source, int quarterTurns);
// Half width and height (at least 1) by taking every second pixel of every second row, so
// that the key colour and the greys come through unchanged.
void HalveBitmap(TKBitmap& dest, const TKBitmap& source);

// Draws with its own clip rectangle, giving the caller's back afterwards.
class TClipTo {
 public:
  TClipTo(TKBitmap& b, int x1, int y1, int x2, int y2)
      : b_(b), x1_(b.clipX1), y1_(b.clipY1), x2_(b.clipX2), y2_(b.clipY2) {
    b.SetClip(x1, y1, x2, y2);
  }
  ~TClipTo() { b_.SetClip(x1_, y1_, x2_, y2_); }
  TClipTo(const TClipTo&) = delete;
  TClipTo& operator=(const TClipTo&) = delete;

 private:
  TKBitmap& b_;
  int x1_, y1_, x2_, y2_;
};

// Pixel routines; all clip to the clip rectangle.
void PutPixel(TKBitmap& b, int x, int y, uint32_t colour, TEffect mode);
void FillRect(TKBitmap& b, int x1, int y1, int x2, int y2, uint32_t colour, TEffect mode);
void FillBitmap(TKBitmap& b, uint32_t colour, TEffect mode);
void DrawBitmap(TKBitmap& dest, int x, int y, const TKBitmap& source, int sx1, int sy1, int sx2,
                int sy2, uint32_t transparent, TEffect mode);
void DrawWhole(TKBitmap& dest, int x, int y, const TKBitmap& source, uint32_t transparent,
               TEffect mode);
void DrawLine(TKBitmap& b, int x1, int y1, int x2, int y2, uint32_t colour, TEffect mode);
void DrawFrame(TKBitmap& b, int x1, int y1, int x2, int y2, uint32_t colour, TEffect mode);
void DrawBorder3D(TKBitmap& b, int x1, int y1, int x2, int y2, uint32_t light, uint32_t dark,
                  int width, TEffect mode);
void TileBitmap(TKBitmap& dest, const TKBitmap& source, uint32_t transparent, TEffect mode);
// A smooth resample of the source (area averaging when shrinking, bilinear when growing).
void ScaleBitmap(TKBitmap& dest, const TKBitmap& source, int newWidth, int newHeight);
// Every grey pixel (red = green = blue) gets each channel c replaced by
// c * (that channel of `colour`) / 256; other pixels keep their colour.
void RecolorGreys(TKBitmap& b, uint32_t colour);
// Combines every pixel that is not `transparent` with `colour` in `mode`.
void TintBitmap(TKBitmap& b, uint32_t colour, uint32_t transparent, TEffect mode);

// Colour functions.
uint32_t ContrastColor(uint32_t colour);           // per channel: 255 where below 128, else 0
uint32_t ScaleColor(uint32_t colour, int factor);  // factor in 1/65536
// Colour wheel of kSpectrumSteps (red, yellow, green, cyan, blue, magenta, 255 steps each);
// any n counts round the circle.
constexpr int kSpectrumSteps = 1530;
uint32_t SpectrumColor(int n);

// Files. The reader is chosen by extension (".BMP", ".JPG"/".JPEG", ".PPM", any case).
// A failure goes through the file error dialog with retry; on giving up the bitmap gets
// the fallback size and false is returned. `owner`: the program's own pictures are not the
// user's to quit over (see FileOwner).
bool LoadFromFile(TKBitmap& b, const std::string& fileName, int fallbackWidth, int fallbackHeight,
                  FileOwner owner = FileOwner::User);
// ".JPG"/".JPEG" asks for "JPEG Quality" (1..100, default 90; cancel cancels the save);
// any other name is written as a 24-bit BMP. Written atomically; errors are reported.
bool SaveToFile(const TKBitmap& b, const std::string& fileName);

// Decoders and encoders on memory, for the file routines, tests and fuzzing. The decoders
// check every header field against the data before writing a pixel; on failure they
// leave `out` empty and set `error` to a message for the file error dialog.
bool DecodeBmp(const uint8_t* data, size_t size, TKBitmap& out, std::string& error);
bool DecodePpm(const uint8_t* data, size_t size, TKBitmap& out, std::string& error);
bool DecodeJpeg(const uint8_t* data, size_t size, TKBitmap& out, std::string& error);
std::vector<uint8_t> EncodeBmp(const TKBitmap& b);
bool EncodeJpeg(const TKBitmap& b, int quality, std::vector<uint8_t>& out);
// PNG, written only (nothing in the program reads one): 8-bit RGB, or RGBA with straight
// alpha when `alpha`, from tightly packed rows top down.
std::vector<uint8_t> EncodePng(const uint8_t* pixels, int width, int height, bool alpha);
std::vector<uint8_t> EncodePng(const TKBitmap& b);

}  // namespace kelvra
