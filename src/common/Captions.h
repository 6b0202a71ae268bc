// The games' shared text routines on the frame bitmap: the small status font, captions on
// a darkened box, and the big message centred in the play field.
#pragma once

#include <cstdint>
#include <string>

#include "common/Com.h"
#include "media/KBitmap.h"

namespace kelvra {

// "MS Sans Serif", height 11, normal style; text is drawn with a transparent background.
void SetSmallFont(TKBitmap& b);

// The text in white at (x, y) (top of the text cell) on a box darkened to half its
// brightness (black in ef08), reaching 4 pixels beyond the text left and right and 2
// above and below.
void CaptionText(TKBitmap& b, int x, int y, const std::string& text);

// Bold "Times New Roman" at 32 points (43 pixels at 96 dots per inch), centred in the
// field with truncating division: first a shadow at (+2, +2) in BigMessageShade(colour),
// then the text in the colour. The bitmap keeps this font afterwards.
void BigMessage(TKBitmap& b, const TRect& field, const std::string& text, uint32_t colour);

// The shadow shade of a big message: halved ((c + 1) / 2 per channel) when any channel
// is above 128, otherwise doubled and limited to 255.
uint32_t BigMessageShade(uint32_t colour);

}  // namespace kelvra
