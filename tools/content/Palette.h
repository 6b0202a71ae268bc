// The one palette every generated picture is drawn from: short ramps, dark to light, each a
// hue family, plus the colour the program treats as transparent.
#pragma once

#include <cstdint>

namespace kelvra::content {

// 0x00BBGGRR, red in the low byte, as the bitmap's colour values.
constexpr uint32_t Rgb(int r, int g, int b) {
  return uint32_t(r) | uint32_t(g) << 8 | uint32_t(b) << 16;
}

constexpr uint32_t kKey = Rgb(128, 0, 128);  // transparent in cursors and explosion frames

namespace pal {
// Outline and neutrals: a cool dark for outlines, greys with a slight blue cast.
constexpr uint32_t kInk = Rgb(20, 16, 28);
constexpr uint32_t kGrey[6] = {Rgb(44, 40, 58),    Rgb(78, 76, 98),    Rgb(120, 120, 140),
                               Rgb(168, 170, 186), Rgb(216, 220, 230), Rgb(255, 255, 255)};
// Flame: smouldering red to white heat.
constexpr uint32_t kFire[8] = {Rgb(40, 8, 12),     Rgb(96, 16, 20),   Rgb(156, 30, 22),
                               Rgb(212, 62, 24),   Rgb(244, 118, 32), Rgb(252, 178, 54),
                               Rgb(255, 226, 118), Rgb(255, 250, 218)};
constexpr uint32_t kRed[5] = {Rgb(70, 14, 24), Rgb(130, 24, 38), Rgb(198, 44, 50), Rgb(238, 98, 88),
                              Rgb(255, 170, 152)};
constexpr uint32_t kGold[5] = {Rgb(98, 62, 10), Rgb(168, 114, 18), Rgb(228, 170, 34),
                               Rgb(252, 218, 82), Rgb(255, 244, 172)};
constexpr uint32_t kGreen[5] = {Rgb(18, 50, 30), Rgb(34, 94, 44), Rgb(58, 150, 58),
                                Rgb(114, 202, 74), Rgb(188, 238, 124)};
constexpr uint32_t kBlue[6] = {Rgb(16, 22, 56),   Rgb(28, 46, 104),   Rgb(40, 82, 160),
                               Rgb(64, 130, 212), Rgb(122, 184, 240), Rgb(198, 228, 255)};
constexpr uint32_t kEarth[5] = {Rgb(50, 30, 20), Rgb(90, 58, 34), Rgb(138, 94, 54),
                                Rgb(186, 138, 86), Rgb(226, 190, 134)};
constexpr uint32_t kViolet[5] = {Rgb(50, 22, 66), Rgb(94, 46, 122), Rgb(150, 82, 182),
                                 Rgb(202, 142, 230), Rgb(236, 198, 252)};
constexpr uint32_t kPaper[3] = {Rgb(196, 202, 214), Rgb(232, 236, 242), Rgb(252, 252, 255)};
}  // namespace pal

}  // namespace kelvra::content
