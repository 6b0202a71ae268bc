// Brickfall's wall pictures and their drawing.
#include "brickfall/BrickPictures.h"

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "common/Com.h"
#include "common/Paths.h"

namespace kelvra {

TBrickPictures gBrickPictures;

uint32_t WallTint(int hits) {
  static const uint32_t kBase[kWallColours] = {RGB(255, 0, 0),   RGB(255, 143, 0),
                                               RGB(255, 255, 0), RGB(0, 255, 0),
                                               RGB(0, 255, 255), RGB(255, 255, 255)};
  uint32_t c = kBase[std::clamp(hits, 0, kWallColours - 1)];
  return RGB(RedOf(c) * 2 / 3, GreenOf(c) * 2 / 3, BlueOf(c) * 2 / 3);
}

void LoadBrickPictures() {
  gBrickPictures = TBrickPictures{};
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
    if (!LoadFromFile(picture, file, 0, 0) || picture.Empty()) continue;
    const int s = gBrickPictures.shapes++;
    gBrickPictures.width[s] = picture.Width();
    gBrickPictures.height[s] = picture.Height();
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

void PreparePlayerPictures() {}

void DrawFieldWalls(TKBitmap& frame) {
  const TRect& f = gCom.k[gkBrickfall].field;
  frame.SetClip(f.left, f.top, f.right, f.bottom);
  for (int i = 0; i < gBrick.wallCount; ++i) {
    const TFieldWall& w = gBrick.walls[i];
    if (!w.alive || int(w.shape) >= gBrickPictures.shapes) continue;
    const TKBitmap* picture = gBrickPictures.wall[w.shape][std::min<int>(w.hits, 5)].get();
    if (!picture) continue;
    DrawWhole(frame, f.left + (w.x + 512) / 1024, f.top + (w.y + 512) / 1024, *picture,
              gBrickPictures.transparent[w.shape], ef16);
  }
  frame.ResetClip();
}

}  // namespace kelvra
