// The games' shared text routines: small font, darkened captions and the big message.
#include "common/Captions.h"

#include <algorithm>

#include "media/KText.h"

namespace kelvra {

namespace {
constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kBlack = 0;
constexpr int kBigMessageHeight = 43;  // 32 points at 96 dots per inch, rounded
}  // namespace

void SetSmallFont(TKBitmap& b) {
  b.font.family = "MS Sans Serif";
  b.font.height = 11;
  b.font.bold = false;
  b.font.italic = false;
}

void CaptionText(TKBitmap& b, int x, int y, const std::string& text) {
  const int w = TextWidth(b, text), h = TextHeight(b, text);
  FillRect(b, x - 4, y - 2, x + w + 4, y + h + 2, kBlack, ef08);
  TextOut(b, x, y, text, kWhite);
}

uint32_t BigMessageShade(uint32_t colour) {
  if (colour == clNone) return clNone;
  int c[3] = {RedOf(colour), GreenOf(colour), BlueOf(colour)};
  const bool bright = c[0] > 128 || c[1] > 128 || c[2] > 128;
  for (int& v : c) v = bright ? (v + 1) / 2 : std::min(2 * v, 255);
  return RGB(c[0], c[1], c[2]);
}

void BigMessage(TKBitmap& b, const TRect& field, const std::string& text, uint32_t colour) {
  b.font.family = "Times New Roman";
  b.font.height = kBigMessageHeight;
  b.font.bold = true;
  b.font.italic = false;
  const int x = field.left + (field.right - field.left + 1 - TextWidth(b, text)) / 2;
  const int y = field.top + (field.bottom - field.top + 1 - TextHeight(b, text)) / 2;
  TextOut(b, x + 2, y + 2, text, BigMessageShade(colour));
  TextOut(b, x, y, text, colour);
}

}  // namespace kelvra
