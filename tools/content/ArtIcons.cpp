// The desktop icons in the hicolor theme sizes: the program's icon and one per file type
// (the three level-set kinds and the high-score files). Each is drawn on a 16-unit design
// grid and rendered at every size with smooth edges and a dark outline.
#include <algorithm>
#include <cmath>
#include <string>

#include "Content.h"
#include "Paint.h"
#include "Palette.h"

namespace kelvra::content {

namespace {

const int kIconSizes[] = {16, 24, 32, 48, 64, 128, 256};

// Shapes on the 16-unit grid for an icon of `size` pixels.
class TIcon {
 public:
  explicit TIcon(int size) : size_(size), k_(size / 16.0), line_(std::max(1.0, size / 36.0)) {}

  // A box lit from above: the top is the ramp's light end, the bottom its dark end.
  void Box(const uint32_t* ramp, int n, double x1, double y1, double x2, double y2, double radius,
           double top = 0.95, double bottom = 0.25) {
    const double k = k_, line = line_;
    Add([=](double x, double y) { return SdBox(x / k, y / k, x1, y1, x2, y2, radius) * k; },
        [=](double, double y, double d, int px, int py) {
          const double t = std::clamp((y / k - y1) / (y2 - y1), 0.0, 1.0);
          double v = top + (bottom - top) * t;
          if (-d < line * 1.2 && t < 0.5) v = std::min(1.0, v + 0.2);  // lit rim
          return RampDither(ramp, n, v, px, py);
        });
  }
  // A ball lit from the upper left.
  void Ball(const uint32_t* ramp, int n, double cx, double cy, double r) {
    const double k = k_;
    Add([=](double x, double y) { return SdCircle(x / k, y / k, cx, cy, r) * k; },
        [=](double x, double y, double, int px, int py) {
          return RampDither(ramp, n, SphereLight(x / k, y / k, cx, cy, r), px, py);
        });
  }
  void Polygon(const uint32_t* ramp, int n, std::vector<std::pair<double, double>> points,
               double top, double bottom, double y1, double y2) {
    const double k = k_;
    Add([=](double x, double y) { return SdPolygon(x / k, y / k, points) * k; },
        [=](double, double y, double, int px, int py) {
          const double t = std::clamp((y / k - y1) / (y2 - y1), 0.0, 1.0);
          return RampDither(ramp, n, top + (bottom - top) * t, px, py);
        });
  }
  void Add(std::function<double(double, double)> distance,
           std::function<uint32_t(double, double, double, int, int)> fill, bool outline = true) {
    shapes_.push_back({std::move(distance), std::move(fill), outline ? line_ : 0, pal::kInk});
  }
  double Scale() const { return k_; }

  TRgbaImage Render() const {
    TRgbaImage img(size_, size_);
    RenderShapes(img, shapes_, 4);
    return img;
  }

 private:
  int size_;
  double k_, line_;
  std::vector<TShape> shapes_;
};

// The program's icon: a night-blue tile with a wall of bricks, a ball and a paddle.
TRgbaImage ProgramIcon(int size) {
  TIcon icon(size);
  icon.Box(pal::kBlue, 6, 0.6, 0.6, 15.4, 15.4, 3, 0.62, 0.05);
  icon.Box(pal::kRed, 5, 2, 2.4, 5.6, 4.6, 0.4);
  icon.Box(pal::kGold, 5, 6.2, 2.4, 9.8, 4.6, 0.4);
  icon.Box(pal::kGreen, 5, 10.4, 2.4, 14, 4.6, 0.4);
  icon.Box(pal::kViolet, 4, 4.1, 5.3, 7.7, 7.5, 0.4);
  icon.Box(pal::kBlue, 6, 8.3, 5.3, 11.9, 7.5, 0.4, 1.0, 0.5);
  icon.Ball(pal::kGrey, 6, 9.6, 10.2, 1.7);
  icon.Box(pal::kGold, 5, 4.2, 12.6, 11.8, 14.2, 0.8);
  return icon.Render();
}

// A sheet of paper with a folded corner, the common shape of document icons; the emblem
// of the file's kind is drawn on it.
void Page(TIcon& icon) {
  icon.Polygon(pal::kPaper, 3, {{2.6, 0.8}, {10.4, 0.8}, {13.6, 4.0}, {13.6, 15.2}, {2.6, 15.2}},
               1.0, 0.2, 0.8, 15.2);
  icon.Polygon(pal::kGrey, 6, {{10.4, 0.8}, {10.4, 4.0}, {13.6, 4.0}}, 0.75, 0.6, 0.8, 4);
}

TRgbaImage BrickfallIcon(int size) {
  TIcon icon(size);
  Page(icon);
  icon.Box(pal::kRed, 5, 4.0, 5.2, 7.9, 7.4, 0.4);
  icon.Box(pal::kGold, 5, 8.3, 5.2, 12.2, 7.4, 0.4);
  icon.Ball(pal::kBlue, 6, 8.6, 10.2, 1.5);
  icon.Box(pal::kGreen, 5, 4.6, 12.2, 11.6, 13.8, 0.8);
  return icon.Render();
}

TRgbaImage MonstersIcon(int size) {
  TIcon icon(size);
  Page(icon);
  const double k = icon.Scale();
  // A round-headed monster with a ragged hem, lit from the upper left.
  icon.Add(
      [k](double x, double y) {
        x /= k;
        y /= k;
        double d = std::min(SdCircle(x, y, 8.1, 8.9, 3.7), SdBox(x, y, 4.4, 8.9, 11.8, 13.6, 0));
        for (int i = 0; i < 3; ++i) d = std::max(d, -SdCircle(x, y, 5.6 + i * 2.5, 14.1, 0.9));
        return d * k;
      },
      [k](double x, double y, double, int px, int py) {
        return RampDither(pal::kGreen, 5, SphereLight(x / k, y / k, 8.1, 9.6, 5.0), px, py);
      });
  icon.Ball(pal::kGrey, 6, 6.8, 9.0, 1.05);
  icon.Ball(pal::kGrey, 6, 9.6, 9.0, 1.05);
  const auto pupil = [&](double cx) {
    icon.Add([=](double x, double y) { return SdCircle(x / k, y / k, cx, 9.3, 0.5) * k; },
             [](double, double, double, int, int) { return pal::kInk; }, false);
  };
  pupil(7.1);
  pupil(9.9);
  return icon.Render();
}

TRgbaImage BurrowerIcon(int size) {
  TIcon icon(size);
  Page(icon);
  const double k = icon.Scale();
  icon.Box(pal::kEarth, 5, 3.6, 10.2, 12.6, 14.4, 0.5, 0.7, 0.15);
  // A dug tunnel running through the earth.
  icon.Add(
      [k](double x, double y) { return SdSegment(x / k, y / k, 4.8, 12.7, 11.4, 12.7, 0.7) * k; },
      [](double, double, double, int, int) { return pal::kEarth[0]; }, false);
  icon.Ball(pal::kGreen, 5, 10.7, 4.3, 1.0);
  icon.Ball(pal::kRed, 5, 8.4, 8.1, 2.9);
  icon.Add([k](double x, double y) { return SdSegment(x / k, y / k, 8.6, 5.6, 9.3, 3.9, 0.3) * k; },
           [](double, double, double, int, int) { return pal::kEarth[1]; });
  return icon.Render();
}

TRgbaImage HighScoresIcon(int size) {
  TIcon icon(size);
  Page(icon);
  const double k = icon.Scale();
  // A trophy: two handles, a round cup, a stem and a plinth.
  for (double cx : {5.0, 11.4})
    icon.Add(
        [=](double x, double y) {
          const double ring = std::abs(SdCircle(x / k, y / k, cx, 7.0, 1.3)) - 0.4;
          return ring * k;
        },
        [](double, double, double, int px, int py) {
          return RampDither(pal::kGold, 5, 0.5, px, py);
        });
  icon.Add(
      [k](double x, double y) {
        x /= k;
        y /= k;
        const double bowl = std::max(SdCircle(x, y, 8.2, 6.6, 3.3), 5.4 - y);
        return std::min(bowl, SdBox(x, y, 4.9, 4.6, 11.5, 6.6, 0.2)) * k;
      },
      [k](double x, double y, double, int px, int py) {
        return RampDither(pal::kGold, 5, SphereLight(x / k, y / k, 8.2, 6.6, 4.0), px, py);
      });
  icon.Box(pal::kGold, 5, 7.5, 9.6, 8.9, 11.8, 0.2, 0.6, 0.3);
  icon.Box(pal::kEarth, 5, 5.4, 11.8, 11.0, 14.0, 0.4, 0.8, 0.3);
  return icon.Render();
}

void MakeIcons(TContent& content) {
  struct TKindIcon {
    const char* folder;
    const char* name;
    TRgbaImage (*draw)(int);
  };
  const TKindIcon icons[] = {
      {"apps", "kelvra", ProgramIcon},
      {"mimetypes", "kelvra-brickfall", BrickfallIcon},
      {"mimetypes", "kelvra-monsters", MonstersIcon},
      {"mimetypes", "kelvra-burrower", BurrowerIcon},
      {"mimetypes", "kelvra-high-scores", HighScoresIcon},
  };
  for (const TKindIcon& icon : icons)
    for (int size : kIconSizes) {
      const std::string dim = std::to_string(size) + "x" + std::to_string(size);
      content.WritePng("Icons\\hicolor\\" + dim + "\\" + icon.folder + "\\" + icon.name + ".png",
                       icon.draw(size));
    }
}

TRegisterGenerator registerIcons("icons", 200, MakeIcons);

}  // namespace

}  // namespace kelvra::content
