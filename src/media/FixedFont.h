// The fixed text cell of the status panels: 5 x 7 glyphs of printable ASCII in cells of
// 6 x 8 pixels, drawn straight into a bitmap without the platform's text output.
#pragma once

#include <cstdint>
#include <string_view>

namespace kelvra {

class TKBitmap;

constexpr int kFixedCellWidth = 6;   // pixels per character
constexpr int kFixedCellHeight = 8;  // pixels per text row

// Column `col` (0..4) of the glyph of `c`: bit 0 the top row, bit 6 the bottom one. A
// character outside 32..126 shows as '?'; a column outside 0..4 is empty.
uint8_t FixedGlyphColumn(unsigned char c, int col);

// Sets the glyph pixels of `text` in `colour` (mode ef16), the first cell's top-left corner
// at (x, y); the background is left as it is. Clipped to the clip rectangle.
void DrawFixedText(TKBitmap& b, int x, int y, std::string_view text, uint32_t colour);

// Pixels `text` covers: 6 per character.
inline int FixedTextWidth(std::string_view text) {
  return int(text.size()) * kFixedCellWidth;
}

}  // namespace kelvra
