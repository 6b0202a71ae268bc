// Pixel comparison shared by the picture tests.
#pragma once

#include "media/KBitmap.h"

namespace kelvra::test {

// Same size and the same colour at every pixel (the row padding is not compared).
inline bool SamePixels(const TKBitmap& a, const TKBitmap& b) {
  if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
  for (int y = 0; y < a.Height(); ++y)
    for (int x = 0; x < a.Width(); ++x)
      if (a.Pixel(x, y) != b.Pixel(x, y)) return false;
  return true;
}

}  // namespace kelvra::test
