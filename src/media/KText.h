// Text on bitmaps through FreeType, with faces found by fontconfig. A missing font never
// stops the program: text falls back to any face fontconfig offers, or draws nothing.
#pragma once

#include <cstdint>
#include <string>

#include "media/KBitmap.h"

namespace kelvra {

// Draws `text` with the bitmap's font at (x, y) (top-left of the text cell), clipped to
// the clip rectangle. background clNone: transparent; otherwise an opaque box first.
void TextOut(TKBitmap& b, int x, int y, const std::string& text, uint32_t colour,
             uint32_t background = clNone);
int TextWidth(const TKBitmap& b, const std::string& text);
int TextHeight(const TKBitmap& b, const std::string& text);

// The face file used for a family ("" when none is available); for tests and diagnostics.
std::string FontFileFor(const std::string& family, bool bold, bool italic);
// The family of that face: fontconfig falls back to another family without saying so.
std::string FontFamilyFor(const std::string& family, bool bold, bool italic);

}  // namespace kelvra
