// Tests of text on bitmaps (font matching, metrics, clipping, blending, shadows) and of the
// games' shared caption and big-message routines.
#include "media/KText.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "common/Captions.h"

namespace kelvra {
namespace {

constexpr uint32_t kWhite = 0xFFFFFF;

struct Box {
  int x1 = 1 << 30, y1 = 1 << 30, x2 = -1, y2 = -1;
  int count = 0;
  bool Empty() const { return count == 0; }
};

// The bounding box of the pixels that differ between two bitmaps of one size.
Box ChangedPixels(const TKBitmap& a, const TKBitmap& b) {
  Box box;
  for (int y = 0; y < a.Height(); ++y)
    for (int x = 0; x < a.Width(); ++x)
      if (a.Pixel(x, y) != b.Pixel(x, y)) {
        box.x1 = std::min(box.x1, x), box.y1 = std::min(box.y1, y);
        box.x2 = std::max(box.x2, x), box.y2 = std::max(box.y2, y);
        ++box.count;
      }
  return box;
}

TKBitmap Filled(int w, int h, uint32_t colour, int fontHeight = 11) {
  TKBitmap b(w, h);
  FillBitmap(b, colour, ef16);
  b.font.height = fontHeight;
  return b;
}

TEST(KText, SystemFamiliesUseTheLiberationFaces) {
  struct Case {
    const char* family;
    bool bold;
    const char* file;
    const char* matched;
  };
  const Case cases[] = {
      {"MS Sans Serif", false, "LiberationSans-Regular", "Liberation Sans"},
      {"ms sans serif", false, "LiberationSans-Regular", "Liberation Sans"},
      {"Times New Roman", true, "LiberationSerif-Bold", "Liberation Serif"},
  };
  for (const Case& k : cases) {
    EXPECT_NE(FontFileFor(k.family, k.bold, false).find(k.file), std::string::npos) << k.family;
    EXPECT_EQ(FontFamilyFor(k.family, k.bold, false), k.matched);
  }
}

TEST(KText, WidthsAndCellHeights) {
  TKBitmap b(1, 1);
  SetSmallFont(b);
  EXPECT_EQ(TextWidth(b, ""), 0);
  const int i = TextWidth(b, "i");
  EXPECT_GT(i, 0);
  EXPECT_EQ(TextWidth(b, "ii"), 2 * i);
  EXPECT_GT(TextWidth(b, "iiW"), 3 * i);
  // Latin-1 bytes and their UTF-8 spelling are the same characters; a byte that does not
  // start valid UTF-8 stands for itself.
  EXPECT_EQ(TextWidth(b, "caf\xE9"), TextWidth(b, "caf\xC3\xA9"));
  EXPECT_EQ(TextWidth(b, "\xC3("), TextWidth(b, "\xC3\x83("));
  EXPECT_EQ(TextWidth(b, "\xE2\x82"), TextWidth(b, "\xC3\xA2\xC2\x82"));
  // A three-byte character is one glyph; U+10FFFF is the last character, one past it four bytes.
  EXPECT_LT(TextWidth(b, "\xE2\x82\xAC"), TextWidth(b, "\xC3\xA2\xC2\x82\xC2\xAC"));
  EXPECT_EQ(TextWidth(b, "\xF4\x8F\xBF\xBF"), TextWidth(b, "\xF4\x8F\xBF\xBE"));
  EXPECT_EQ(TextWidth(b, "\xF4\x90\x80\x80"), TextWidth(b, "\xC3\xB4\xC2\x90\xC2\x80\xC2\x80"));
  EXPECT_GE(TextHeight(b, "Ag"), 11);
  EXPECT_LE(TextHeight(b, "Ag"), 14);
  EXPECT_EQ(TextHeight(b, ""), TextHeight(b, "Ag"));  // the cell, whatever the text
  b.font.height = -11;                                // the sign is not a size
  EXPECT_EQ(TextHeight(b, "x"), TextHeight(TKBitmap(1, 1), "x"));
  b.font = TKFont{"Times New Roman", 43, true};
  EXPECT_GE(TextHeight(b, "x"), 45);
  EXPECT_LE(TextHeight(b, "x"), 53);
}

TEST(KText, OddFontsAndBitmapsDrawNothingOrSomethingButNeverCrash) {
  TKBitmap b = Filled(80, 20, 0), before;
  b.font.height = 0;
  EXPECT_EQ(TextWidth(b, "abc"), 0);
  EXPECT_EQ(TextHeight(b, "abc"), 0);
  before.CopyFrom(b);
  TextOut(b, 2, 2, "abc", kWhite, 0x00FF00);
  EXPECT_TRUE(ChangedPixels(before, b).Empty());

  b.font = TKFont{"Kelvra No Such Family", 11, false};  // another face stands in
  TextOut(b, 2, 2, "Hello", kWhite);
  EXPECT_GT(ChangedPixels(before, b).count, 10);

  b.font.height = 1000000;  // drawn at the largest size
  EXPECT_GT(TextWidth(b, "W"), 500);
  TextOut(b, -400, -300, "W", kWhite);
  TKBitmap empty(0, 10);
  TextOut(empty, 0, 0, "abc", kWhite, 0);
  TextOut(b, 0, 0, std::string("a\0b\x01\xFF", 5), kWhite);
}

TEST(KText, DrawingStaysInsideTheClipRectangle) {
  struct Case {
    int x, y;  // text position crossing one edge of the clip rectangle 20, 10 .. 59, 29
  };
  const Case cases[] = {{10, 12}, {30, 2}, {45, 12}, {30, 20}, {5, 0}, {50, 25}};
  for (const Case& k : cases) {
    TKBitmap b = Filled(80, 40, 0x102030, 16);
    b.SetClip(20, 10, 59, 29);
    TKBitmap before;
    before.CopyFrom(b);
    TextOut(b, k.x, k.y, "WMWMW", kWhite, 0x0000FF);
    const Box box = ChangedPixels(before, b);
    ASSERT_FALSE(box.Empty()) << k.x << "," << k.y;
    EXPECT_GE(box.x1, 20);
    EXPECT_GE(box.y1, 10);
    EXPECT_LE(box.x2, 59);
    EXPECT_LE(box.y2, 29);
    // The box reaches the clipped edge that the text crosses.
    EXPECT_TRUE(box.x1 == 20 || box.y1 == 10 || box.x2 == 59 || box.y2 == 29);
  }
  // A clip rectangle one column wide still shows that column.
  TKBitmap one = Filled(40, 20, 0, 16), before;
  one.SetClip(6, 0, 6, 19);
  before.CopyFrom(one);
  TextOut(one, 0, 0, "WWW", kWhite);
  const Box box = ChangedPixels(before, one);
  EXPECT_TRUE(!box.Empty() && box.x1 == 6 && box.x2 == 6);
}

TEST(KText, TransparentTextLeavesTheBackgroundAlone) {
  TKBitmap b(120, 30);
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 120; ++x) PutPixel(b, x, y, RGB(x * 2, y * 8, 100), ef16);
  SetSmallFont(b);
  TKBitmap before;
  before.CopyFrom(b);
  const int x = 10, y = 8, w = TextWidth(b, "Hello, World"), h = TextHeight(b, "H");
  TextOut(b, x, y, "Hello, World", RGB(255, 0, 0));
  const Box box = ChangedPixels(before, b);
  ASSERT_FALSE(box.Empty());
  EXPECT_GE(box.x1, x - 1);
  EXPECT_LE(box.x2, x + w);
  EXPECT_GE(box.y1, y);
  EXPECT_LE(box.y2, y + h - 1);
  EXPECT_LT(box.count, w * h / 2);  // only glyph pixels
  // Every pixel lies between what was there and the text colour (anti-aliased blend).
  for (int py = 0; py < 30; ++py)
    for (int px = 0; px < 120; ++px) {
      const uint32_t o = before.Pixel(px, py), n = b.Pixel(px, py);
      EXPECT_GE(RedOf(n), RedOf(o));
      EXPECT_LE(GreenOf(n), GreenOf(o));
      EXPECT_LE(BlueOf(n), BlueOf(o));
    }
}

TEST(KText, OpaqueBackgroundFillsTheTextBox) {
  TKBitmap b = Filled(100, 30, RGB(0, 255, 0));
  SetSmallFont(b);
  TKBitmap before;
  before.CopyFrom(b);
  const int x = 7, y = 5, w = TextWidth(b, "Level 1"), h = TextHeight(b, "Level 1");
  TextOut(b, x, y, "Level 1", kWhite, RGB(0, 0, 255));
  const Box box = ChangedPixels(before, b);
  EXPECT_EQ(box.x1, x);
  EXPECT_EQ(box.y1, y);
  EXPECT_EQ(box.x2, x + w - 1);
  EXPECT_EQ(box.y2, y + h - 1);
  EXPECT_EQ(box.count, w * h);
  int white = 0;
  for (int py = y; py < y + h; ++py)
    for (int px = x; px < x + w; ++px) {
      const uint32_t c = b.Pixel(px, py);
      EXPECT_EQ(RedOf(c), GreenOf(c));  // blue box blended with white text, no green left
      EXPECT_EQ(BlueOf(c), 255);
      white += c == kWhite;
    }
  EXPECT_GT(white, 10);
}

TEST(Captions, CaptionTextDarkensItsBox) {
  TKBitmap b = Filled(120, 40, RGB(200, 100, 50));
  SetSmallFont(b);
  EXPECT_EQ(b.font.family, "MS Sans Serif");
  EXPECT_EQ(b.font.height, 11);
  const int x = 20, y = 10, w = TextWidth(b, "Score"), h = TextHeight(b, "Score");
  CaptionText(b, x, y, "Score");
  const uint32_t dark = RGB(100, 50, 25), plain = RGB(200, 100, 50);
  EXPECT_EQ(b.Pixel(x - 4, y - 2), dark);
  EXPECT_EQ(b.Pixel(x + w + 4, y + h + 2), dark);
  EXPECT_EQ(b.Pixel(x - 4, y + h + 2), dark);
  EXPECT_EQ(b.Pixel(x - 5, y), plain);
  EXPECT_EQ(b.Pixel(x + w + 5, y), plain);
  EXPECT_EQ(b.Pixel(x, y - 3), plain);
  EXPECT_EQ(b.Pixel(x, y + h + 3), plain);
  int light = 0;  // glyph pixels, mostly anti-aliased at this size
  for (int py = y; py < y + h; ++py)
    for (int px = x; px < x + w; ++px) {
      const uint32_t c = b.Pixel(px, py);
      light += RedOf(c) > 180 && GreenOf(c) > 180 && BlueOf(c) > 180;
    }
  EXPECT_GT(light, 15);
}

TEST(Captions, BigMessageShade) {
  struct Case {
    uint32_t colour, shade;
  };
  const Case cases[] = {
      {RGB(255, 0, 10), RGB(128, 0, 5)},
      {RGB(129, 0, 0), RGB(65, 0, 0)},
      {RGB(0, 128, 64), RGB(0, 255, 128)},
      {clNone, clNone},
  };
  for (const Case& k : cases) EXPECT_EQ(BigMessageShade(k.colour), k.shade) << k.colour;
}

TEST(Captions, BigMessageIsCentredInThePlayField) {
  const TRect fields[] = {{10, 34, 521, 417}, {0, 20, 639, 339}};
  for (const TRect& f : fields) {
    TKBitmap b = Filled(640, 440, 0), before;
    before.CopyFrom(b);
    BigMessage(b, f, "Game Over", kWhite);
    EXPECT_EQ(b.font.family, "Times New Roman");
    EXPECT_TRUE(b.font.bold);
    const Box box = ChangedPixels(before, b);
    ASSERT_FALSE(box.Empty());
    // The ink, shadow included, sits in the middle of the field within a few pixels.
    EXPECT_NEAR((box.x1 + box.x2) / 2.0, (f.left + f.right) / 2.0, 4);
    EXPECT_NEAR((box.y1 + box.y2) / 2.0, (f.top + f.bottom) / 2.0, 4);
    EXPECT_GT(box.x2 - box.x1, 150);
    int shadow = 0;
    for (int y = box.y1; y <= box.y2; ++y)
      for (int x = box.x1; x <= box.x2; ++x) shadow += b.Pixel(x, y) == RGB(128, 128, 128);
    EXPECT_GT(shadow, 20);
  }
}

}  // namespace
}  // namespace kelvra
