// Brickfall's wall pictures and their drawing.
#include "brickfall/BrickPictures.h"

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "base/Paths.h"
#include "brickfall/BrickGame.h"
#include "common/Com.h"

namespace kelvra {

TBrickPictures gBrickPictures;

uint32_t WallTint(int hits) {
  static const uint32_t kBase[kWallColours] = {RGB(255, 0, 0),   RGB(255, 143, 0),
                                               RGB(255, 255, 0), RGB(0, 255, 0),
                                               RGB(0, 255, 255), RGB(255, 255, 255)};
  uint32_t c = kBase[std::clamp(hits, 0, kWallColours - 1)];
  return RGB(RedOf(c) * 2 / 3, GreenOf(c) * 2 / 3, BlueOf(c) * 2 / 3);
}

namespace {

// Loads one picture of the graphics folder into `slot` (left empty when the file is missing
// or damaged; the file error dialog has then told the user). Its size goes to `size` when
// given.
bool LoadPicture(std::unique_ptr<TKBitmap>& slot, const std::string& name,
                 TPictureSize* size = nullptr) {
  slot.reset();
  auto picture = std::make_unique<TKBitmap>();
  if (!LoadFromFile(*picture, ProgramDir() + "Graphics/" + name, 0, 0, FileOwner::Program) ||
      picture->Empty())
    return false;
  if (size) *size = {picture->Width(), picture->Height()};
  slot = std::move(picture);
  return true;
}

void LoadWalls() {
  std::vector<std::string> files;
  std::error_code ec;
  for (const auto& entry :
       std::filesystem::directory_iterator(ProgramDir() + "Graphics/Walls", ec)) {
    std::string ext = ExtractFileExt(entry.path().string());
    std::transform(ext.begin(), ext.end(), ext.begin(), ::tolower);
    if (entry.is_regular_file(ec) && ext == "bmp") files.push_back(entry.path().string());
  }
  std::sort(files.begin(), files.end());
  for (const std::string& file : files) {
    if (gBrickPictures.shapes == kWallShapes) break;
    TKBitmap picture;
    if (!LoadFromFile(picture, file, 0, 0, FileOwner::Program) || picture.Empty()) continue;
    const int s = gBrickPictures.shapes++;
    gBrickPictures.width[s] = picture.Width();
    gBrickPictures.height[s] = picture.Height();
    gBrickPictures.name[s] = ChangeFileExt(ExtractFileName(file), "");
    bool hasMagenta = false;
    for (int y = 0; y < picture.Height() && !hasMagenta; ++y)
      for (int x = 0; x < picture.Width() && !hasMagenta; ++x)
        hasMagenta = picture.Pixel(x, y) == kMagenta;
    gBrickPictures.transparent[s] = hasMagenta ? kMagenta : clNone;
    for (int c = 0; c < kWallColours; ++c) {
      auto tinted = std::make_unique<TKBitmap>();
      tinted->CopyFrom(picture);
      TintBitmap(*tinted, WallTint(c), kMagenta, efAdd127);
      gBrickPictures.wall[s][c] = std::move(tinted);
    }
  }
}

void SetGrey(uint8_t* p, int v) {
  p[0] = p[1] = p[2] = uint8_t(v);
}

void SetColour(uint8_t* p, uint32_t c) {
  p[0] = uint8_t(BlueOf(c));
  p[1] = uint8_t(GreenOf(c));
  p[2] = uint8_t(RedOf(c));
}

}  // namespace

uint32_t FireRamp(int v) {
  if (v <= 255) return RGB(std::max(v, 0), 0, 0);
  if (v <= 510) return RGB(255, v - 255, 0);
  return RGB(255, 255, std::min(255, v - 510));
}

void MakeBallDisc(TKBitmap& disc, int side) {
  disc.SetSize(side, side);
  const int h = side / 2, s2 = side * side;
  for (int y = 0; y < side; ++y) {
    uint8_t* row = disc.Row(y);
    for (int x = 0; x < side; ++x) {
      const int d2 = (h - x) * (h - x) + (h - y) * (h - y);
      const int v = std::clamp(255 - d2 * 512 / s2, 0, 255);
      if (v > 128)
        SetGrey(row + 3 * x, v);
      else
        SetColour(row + 3 * x, kMagenta);
    }
  }
}

void MakeBurstSprite(TKBitmap& sprite, int side, int level) {
  sprite.SetSize(side, side);
  const int h = side / 2, s2 = side * side;
  for (int y = 0; y < side; ++y) {
    uint8_t* row = sprite.Row(y);
    for (int x = 0; x < side; ++x) {
      const int d2 = (h - x) * (h - x) + (h - y) * (h - y);
      const int v = std::max(0, (48 - d2 * 192 / s2) * (level + 1));
      SetColour(row + 3 * x, FireRamp(v));
    }
  }
}

void FlipVertical(TKBitmap& dest, const TKBitmap& source) {
  dest.SetSize(source.Width(), source.Height());
  const size_t bytes = size_t(source.Width()) * 3;
  for (int y = 0; y < source.Height(); ++y)
    std::copy_n(source.Row(y), bytes, dest.Row(source.Height() - 1 - y));
}

void DoublePicture(TKBitmap& dest, const TKBitmap& source) {
  const int w = source.Width(), h = source.Height();
  // Magenta pixels take the average of their opaque neighbours first, so the smooth
  // scaling blends the edges with the picture's own colours and not with the key colour.
  TKBitmap bled;
  bled.CopyFrom(source);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      if (source.Pixel(x, y) != kMagenta) continue;
      int sum[3] = {0, 0, 0}, n = 0;
      for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) {
          const uint32_t c = source.Pixel(x + dx, y + dy);
          if (c == clNone || c == kMagenta) continue;
          sum[0] += RedOf(c), sum[1] += GreenOf(c), sum[2] += BlueOf(c), ++n;
        }
      if (n > 0) SetColour(bled.Row(y) + 3 * x, RGB(sum[0] / n, sum[1] / n, sum[2] / n));
    }
  ScaleBitmap(dest, bled, 2 * w, 2 * h);
  // The transparent area doubles exactly; an opaque pixel that came out as magenta by
  // chance is nudged off it.
  for (int y = 0; y < dest.Height(); ++y) {
    uint8_t* row = dest.Row(y);
    for (int x = 0; x < dest.Width(); ++x) {
      if (source.Pixel(x / 2, y / 2) == kMagenta)
        SetColour(row + 3 * x, kMagenta);
      else if (row[3 * x] == 128 && row[3 * x + 1] == 0 && row[3 * x + 2] == 128)
        row[3 * x + 1] = 1;
    }
  }
}

void LoadBrickPictures() {
  gBrickPictures = TBrickPictures{};
  TBrickPictures& g = gBrickPictures;
  LoadWalls();

  for (int size = 0; size < kPaddleSizes; ++size) {
    std::unique_ptr<TKBitmap> file;
    if (!LoadPicture(file, "Brickfall/Player" + std::to_string(size) + ".bmp")) continue;
    g.paddleGrey[size] = std::make_unique<TKBitmap>();
    DoublePicture(*g.paddleGrey[size], *file);
    g.paddle[size] = {g.paddleGrey[size]->Width(), g.paddleGrey[size]->Height()};
  }
  LoadPicture(g.shotGrey, "Brickfall/Shot0.bmp", &g.shot);
  PreparePlayerPictures();

  for (int size = 0; size < kBallSizes; ++size) {
    g.ballPicture[size] = std::make_unique<TKBitmap>();
    MakeBallDisc(*g.ballPicture[size], 8 << size);
    g.ball[size] = {8 << size, 8 << size};
  }
  for (int v = 0; v < kBurstSizes; ++v)
    for (int k = 0; k < kBurstLevels; ++k) {
      g.burst[v][k] = std::make_unique<TKBitmap>();
      MakeBurstSprite(*g.burst[v][k], 16 << v, k);
    }

  for (int e = 0; e < kEnemyKinds; ++e)
    LoadPicture(g.enemyPicture[e], "Brickfall/Enem" + std::to_string(e) + ".bmp", &g.enemy[e]);
  for (int kind = 1; kind < kBonusKinds; ++kind)
    LoadPicture(g.bonusPicture[kind], std::string("Bonuses/") + BonusName(kind) + ".bmp",
                &g.bonus[kind]);
  for (int b = 0; b < kBubbleKinds; ++b)
    LoadPicture(g.bubblePicture[b], "Brickfall/Bubble" + std::to_string(b) + ".bmp", &g.bubble[b]);
  for (int r = 0; r < kRainKinds; ++r) {
    const std::string name = r < 3 ? "Rain" + std::to_string(r) : "Snow" + std::to_string(r - 3);
    LoadPicture(g.rainPicture[r], "Brickfall/" + name + ".bmp", &g.rain[r]);
  }
  LoadPicture(g.brickPattern, "Brickfall/Brick.bmp");
}

void PreparePlayerPictures() {
  TBrickPictures& g = gBrickPictures;
  for (int p = 0; p < kPlayers; ++p) {
    const TPlayer& player = gCom.player[p];
    for (int size = 0; size < kPaddleSizes; ++size) {
      for (auto& slot : g.paddlePicture[p][size]) slot.reset();
      if (!g.paddleGrey[size]) continue;
      auto bottom = std::make_unique<TKBitmap>();
      bottom->CopyFrom(*g.paddleGrey[size]);
      TintBitmap(*bottom, player.colour, kMagenta, ef10);
      auto top = std::make_unique<TKBitmap>();
      FlipVertical(*top, *bottom);
      g.paddlePicture[p][size][0] = std::move(bottom);
      g.paddlePicture[p][size][1] = std::move(top);
    }
    for (auto& slot : g.shotPicture[p]) slot.reset();
    if (!g.shotGrey) continue;
    auto up = std::make_unique<TKBitmap>();
    up->CopyFrom(*g.shotGrey);
    RecolorGreys(*up, player.halfColour);
    auto down = std::make_unique<TKBitmap>();
    FlipVertical(*down, *up);
    g.shotPicture[p][0] = std::move(up);
    g.shotPicture[p][1] = std::move(down);
  }
}

void DrawFieldWalls(TKBitmap& frame, int dx, int dy) {
  const TRect& f = gCom.k[gkBrickfall].field;
  const int count = std::clamp(gBrick.wallCount, 0, kBrickFieldWalls);
  const int x1 = frame.clipX1, y1 = frame.clipY1, x2 = frame.clipX2, y2 = frame.clipY2;
  frame.SetClip(std::max(x1, f.left), std::max(y1, f.top), std::min(x2, f.right),
                std::min(y2, f.bottom));
  for (int i = 0; i < count; ++i) {
    const TFieldWall& w = gBrick.walls[i];
    if (!w.alive || w.shape >= uint32_t(gBrickPictures.shapes)) continue;
    const TKBitmap* picture = gBrickPictures.wall[w.shape][std::min<uint32_t>(w.hits, 5)].get();
    if (!picture) continue;
    DrawWhole(frame, f.left + (w.x + 512) / 1024 + dx, f.top + (w.y + 512) / 1024 + dy, *picture,
              gBrickPictures.transparent[w.shape], ef16);
  }
  frame.SetClip(x1, y1, x2, y2);
}

}  // namespace kelvra
