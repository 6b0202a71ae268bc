// The contact sheet: every picture made in this run, enlarged and labelled with its file
// name on one page, so that the art can be reviewed at a glance. See-through pixels show
// as a dark checkerboard, the kind of ground the games draw these pictures on.
#include <algorithm>
#include <cctype>

#include "Content.h"
#include "Paint.h"
#include "Palette.h"

namespace kelvra::content {

namespace {

constexpr int kSheetWidth = 1280;
constexpr int kMargin = 12, kGap = 14, kLabelHeight = 12;

int ScaleFor(const TRgbaImage& img) {
  const int side = std::max(img.width, img.height);
  // Large icons are shown as they are; the logo is enlarged to show its pixels.
  return side <= 24 ? 4 : side <= 64 ? 3 : side <= 128 ? 2 : side <= 256 ? 1 : 2;
}

void MakeContactSheet(TContent& content) {
  const std::vector<TSheetEntry>& entries = content.Sheet();
  // Lay out rows left to right; a new group (another folder) starts a new row.
  struct TPlace {
    int x, y, scale;
  };
  std::vector<TPlace> places;
  int x = kMargin, y = kMargin + 16, rowHeight = 0;
  std::string lastFolder;
  for (const TSheetEntry& e : entries) {
    const int scale = ScaleFor(e.image);
    const int w = std::max(e.image.width * scale, TextWidth5x7(e.name));
    const int h = e.image.height * scale + kLabelHeight;
    // The sizes of one icon share a row: the size folders count as one.
    std::string folder = e.name.substr(0, e.name.rfind('\\'));
    folder.erase(std::remove_if(folder.begin(), folder.end(), ::isdigit), folder.end());
    if (x > kMargin && (x + w > kSheetWidth - kMargin || folder != lastFolder)) {
      x = kMargin;
      y += rowHeight + kGap;
      rowHeight = 0;
    }
    lastFolder = folder;
    places.push_back({x, y, scale});
    x += w + kGap;
    rowHeight = std::max(rowHeight, h);
  }
  TKBitmap sheet(kSheetWidth, y + rowHeight + kMargin);
  FillBitmap(sheet, pal::kGrey[1], ef16);
  DrawText5x7(sheet, kMargin, kMargin - 4, "Kelvra generated pictures", pal::kGrey[5], 2);
  for (size_t i = 0; i < entries.size(); ++i) {
    const TRgbaImage& img = entries[i].image;
    const TPlace& p = places[i];
    for (int iy = 0; iy < img.height * p.scale; ++iy)
      for (int ix = 0; ix < img.width * p.scale; ++ix) {
        const uint8_t* s = img.At(ix / p.scale, iy / p.scale);
        const bool light = ((ix / 4) + (iy / 4)) & 1;
        const uint32_t ground = light ? pal::kGrey[0] : pal::kInk;
        const int a = s[3];
        const auto mix = [&](int c, int g) { return (c * a + g * (255 - a) + 127) / 255; };
        PutPixel(
            sheet, p.x + ix, p.y + iy,
            Rgb(mix(s[0], RedOf(ground)), mix(s[1], GreenOf(ground)), mix(s[2], BlueOf(ground))),
            ef16);
      }
    DrawText5x7(sheet, p.x, p.y + img.height * p.scale + 3, entries[i].name, pal::kGrey[4]);
  }
  TRgbaImage out = ToRgba(sheet, clNone, false);
  content.WriteBytes("ContactSheet.png", EncodePng(out));
}

TRegisterGenerator registerSheet("contact sheet", 900, MakeContactSheet);

}  // namespace

}  // namespace kelvra::content
