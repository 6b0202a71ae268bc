// The start logo shown while the program starts in full-screen mode: the name spelt in
// bevelled bricks over a night sky, a ball and paddle, and the names of the three games.
#include <algorithm>
#include <cmath>
#include <string>

#include "Content.h"
#include "Paint.h"
#include "Palette.h"

namespace kelvra::content {

namespace {

constexpr int kLogoWidth = 448, kLogoHeight = 224;
constexpr int kCellW = 10, kCellH = 9;  // brick pitch; bricks share their outline

// One brick of a letter: ink outline, a light top and left edge, a dark bottom and right.
void Brick(TKBitmap& b, int x, int y, const uint32_t* ramp) {
  FillRect(b, x, y, x + kCellW, y + kCellH, pal::kInk, ef16);
  FillRect(b, x + 1, y + 1, x + kCellW - 1, y + kCellH - 1, ramp[2], ef16);
  FillRect(b, x + 1, y + 1, x + kCellW - 1, y + 1, ramp[4], ef16);
  FillRect(b, x + 1, y + 2, x + 1, y + kCellH - 1, ramp[3], ef16);
  FillRect(b, x + 2, y + kCellH - 1, x + kCellW - 1, y + kCellH - 1, ramp[1], ef16);
  FillRect(b, x + kCellW - 1, y + 2, x + kCellW - 1, y + kCellH - 2, ramp[1], ef16);
  PutPixel(b, x + 2, y + 2, pal::kGrey[5], ef16);  // glint
}

void Ball(TKBitmap& b, double cx, double cy, double r) {
  for (int y = int(cy - r - 2); y <= int(cy + r + 2); ++y)
    for (int x = int(cx - r - 2); x <= int(cx + r + 2); ++x) {
      const double d = SdCircle(x + 0.5, y + 0.5, cx, cy, r);
      if (d < 0)
        PutPixel(b, x, y, RampDither(pal::kGrey, 6, SphereLight(x + 0.5, y + 0.5, cx, cy, r), x, y),
                 ef16);
      else if (d < 1.0)
        PutPixel(b, x, y, pal::kInk, ef16);
    }
}

void MakeLogo(TContent& content) {
  TKBitmap b(kLogoWidth, kLogoHeight);
  // Night sky, darkest at the top, with a sprinkle of stars.
  const uint32_t sky[] = {pal::kInk, pal::kBlue[0], pal::kBlue[1]};
  for (int y = 0; y < kLogoHeight; ++y)
    for (int x = 0; x < kLogoWidth; ++x)
      PutPixel(b, x, y, RampDither(sky, 3, 0.1 + 0.85 * y / kLogoHeight, x, y), ef16);
  for (int i = 0; i < 90; ++i) {
    const int x = int(HashMix(i * 2 + 1) % kLogoWidth), y = int(HashMix(i * 2 + 2) % kLogoHeight);
    PutPixel(b, x, y, pal::kGrey[2 + HashMix(i + 500) % 4], ef16);
  }
  DrawBorder3D(b, 0, 0, kLogoWidth - 1, kLogoHeight - 1, pal::kBlue[3], pal::kInk, 2, ef16);

  const std::string title = "KELVRA";
  const uint32_t* ramps[] = {pal::kRed,  pal::kGold,   pal::kGreen,
                             pal::kBlue, pal::kViolet, pal::kRed};
  constexpr int kLetterGap = 12;
  const int letterW = 5 * kCellW + 1;
  const int titleW = int(title.size()) * letterW + int(title.size() - 1) * kLetterGap;
  const int x0 = (kLogoWidth - titleW) / 2, y0 = 34;
  // Shadows first, half dark, so every brick seems to float above the sky.
  for (int pass = 0; pass < 2; ++pass)
    for (size_t i = 0; i < title.size(); ++i)
      for (int col = 0; col < 5; ++col)
        for (int row = 0; row < 7; ++row) {
          if (!(FontColumn(title[i], col) >> row & 1)) continue;
          const int x = x0 + int(i) * (letterW + kLetterGap) + col * kCellW;
          const int y = y0 + row * kCellH;
          if (pass == 0)
            FillRect(b, x + 4, y + 4, x + kCellW + 4, y + kCellH + 4, 0, ef08);
          else
            Brick(b, x, y, ramps[i]);
        }

  // The ball on its way up from the paddle, with a fading trail.
  const int paddleY = 128;
  for (int t = 6; t >= 1; --t)
    FillRect(b, 300 - t * 9, paddleY - 10 - t * 5, 301 - t * 9, paddleY - 9 - t * 5,
             pal::kBlue[std::min(5, 6 - t / 2)], ef08);
  Ball(b, 306.5, paddleY - 12.5, 5.5);
  FillRect(b, 282, paddleY, 350, paddleY + 6, pal::kInk, ef16);
  FillRect(b, 283, paddleY + 1, 349, paddleY + 5, pal::kGold[2], ef16);
  FillRect(b, 283, paddleY + 1, 349, paddleY + 1, pal::kGold[4], ef16);
  FillRect(b, 283, paddleY + 5, 349, paddleY + 5, pal::kGold[1], ef16);

  const auto centred = [&](const std::string& text, int y, int scale, uint32_t colour) {
    const int x = (kLogoWidth - TextWidth5x7(text, scale)) / 2;
    DrawText5x7(b, x + scale, y + scale, text, pal::kInk, scale);
    DrawText5x7(b, x, y, text, colour, scale);
  };
  centred("Brickfall  -  Monsters  -  Burrower", 154, 2, pal::kGold[3]);
  centred("three arcade games and their level editor", 184, 1, pal::kGrey[4]);
  centred("version " KELVRA_VERSION, 200, 1, pal::kGrey[3]);
  content.WriteBmp("Graphics\\Logo.bmp", b);
}

TRegisterGenerator registerLogo("logo", 210, MakeLogo);

}  // namespace

}  // namespace kelvra::content
