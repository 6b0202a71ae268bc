// Tests of text on bitmaps (font matching, metrics, clipping, blending, shadows) and of the
// games' shared big-message routines.
#include "media/KText.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <tuple>

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

TEST(KText, WidthsAndCellHeights) {
  TKBitmap b(1, 1);
  SetSmallFont(b);
  EXPECT_EQ(TextWidth(b, ""), 0);
  const int i = TextWidth(b, "i");
  EXPECT_GT(i, 0);
  // Latin-1 bytes and their UTF-8 spelling are the same characters; a byte that does not
  // start valid UTF-8 stands for itself.
  EXPECT_EQ(TextWidth(b, "caf\xE9"), TextWidth(b, "caf\xC3\xA9"));
  EXPECT_EQ(TextWidth(b, "\xE2\x82"), TextWidth(b, "\xC3\xA2\xC2\x82"));
  EXPECT_EQ(TextHeight(b, ""), TextHeight(b, "Ag"));  // the cell, whatever the text
  b.font.height = -11;                                // the sign is not a size
  EXPECT_EQ(TextHeight(b, "x"), TextHeight(TKBitmap(1, 1), "x"));
}

TEST(KText, OddFontsAndBitmapsDrawNothingOrSomethingButNeverCrash) {
  TKBitmap b = Filled(80, 20, 0), before;
  b.font.height = 0;
  EXPECT_EQ(std::make_pair(TextWidth(b, "abc"), TextHeight(b, "abc")), std::make_pair(0, 0));
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
  const Case cases[] = {{10, 12}, {30, 2}, {45, 12}, {30, 20}};
  for (const Case& k : cases) {
    TKBitmap b = Filled(80, 40, 0x102030, 16);
    b.SetClip(20, 10, 59, 29);
    TKBitmap before;
    before.CopyFrom(b);
    TextOut(b, k.x, k.y, "WMWMW", kWhite, 0x0000FF);
    const Box box = ChangedPixels(before, b);
    ASSERT_FALSE(box.Empty()) << k.x << "," << k.y;
    EXPECT_TRUE(box.x1 >= 20 && box.y1 >= 10 && box.x2 <= 59 && box.y2 <= 29)
        << box.x1 << "," << box.y1 << " " << box.x2 << "," << box.y2;
  }
  // A clip rectangle one column wide still shows that column.
  TKBitmap one = Filled(40, 20, 0, 16), before;
  one.SetClip(6, 0, 6, 19);
  before.CopyFrom(one);
  TextOut(one, 0, 0, "WWW", kWhite);
  const Box box = ChangedPixels(before, one);
  EXPECT_TRUE(!box.Empty() && box.x1 == 6 && box.x2 == 6);
}

TEST(KText, OpaqueBackgroundFillsTheTextBox) {
  TKBitmap b = Filled(100, 30, RGB(0, 255, 0));
  SetSmallFont(b);
  TKBitmap before;
  before.CopyFrom(b);
  const int x = 7, y = 5, w = TextWidth(b, "Level 1"), h = TextHeight(b, "Level 1");
  TextOut(b, x, y, "Level 1", kWhite, RGB(0, 0, 255));
  const Box box = ChangedPixels(before, b);
  EXPECT_EQ(std::make_tuple(box.x1, box.y1, box.x2, box.y2, box.count),
            std::make_tuple(x, y, x + w - 1, y + h - 1, w * h));
}

TEST(Captions, BigMessageIsCentredInThePlayField) {
  const TRect f{10, 34, 521, 417};
  TKBitmap b = Filled(640, 440, 0), before;
  before.CopyFrom(b);
  BigMessage(b, f, "Game Over", kWhite);
  const Box box = ChangedPixels(before, b);
  ASSERT_FALSE(box.Empty());
  // The ink, shadow included, sits in the middle of the field within a few pixels.
  EXPECT_NEAR((box.x1 + box.x2) / 2.0, (f.left + f.right) / 2.0, 4);
  EXPECT_NEAR((box.y1 + box.y2) / 2.0, (f.top + f.bottom) / 2.0, 4);
  EXPECT_GT(box.x2 - box.x1, 150);
}

}  // namespace
}  // namespace kelvra
