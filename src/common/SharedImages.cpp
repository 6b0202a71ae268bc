// The shared pictures and the drawing of the spark and blast pools.
#include "common/SharedImages.h"

#include <algorithm>
#include <cstdio>

#include "base/FileIO.h"
#include "base/Paths.h"
#include "common/Com.h"

namespace kelvra {

TSharedImages gImages;

namespace {

void LoadSlot(std::unique_ptr<TKBitmap>& slot, const std::string& name) {
  slot.reset();
  std::string file = ProgramDir() + "Graphics/" + name;
  if (!FileExists(file)) return;  // the slot stays empty and the game goes on
  auto bitmap = std::make_unique<TKBitmap>();
  if (LoadFromFile(*bitmap, file, 0, 0, FileOwner::Program) && !bitmap->Empty())
    slot = std::move(bitmap);
}

std::string Numbered(const char* prefix, int i) {
  char name[32];
  std::snprintf(name, sizeof name, "%s%02d.bmp", prefix, i);
  return name;
}

}  // namespace

void MakeGlowDiscs() {
  for (int i = 1; i <= kGlowDiscs; ++i) {
    const int side = 2 * i;
    auto disc = std::make_unique<TKBitmap>(side, side);
    for (int y = 0; y < side; ++y) {
      uint8_t* row = disc->Row(y);
      for (int x = 0; x < side; ++x) {
        int d = (x - i) * (x - i) + (y - i) * (y - i);
        int v = 255 - (d * 1024) / (side * side) + Random(65) - 32;
        uint8_t grey = uint8_t(std::clamp(v, 0, 255));
        row[3 * x] = row[3 * x + 1] = row[3 * x + 2] = grey;
      }
    }
    gImages.glow[i] = std::move(disc);
  }
}

void LoadSharedImages() {
  static const char* const kCursorNames[kCursors] = {"Default", "Left", "Right", "Up", "Down"};
  for (int i = 0; i < kCursors; ++i)
    LoadSlot(gImages.cursor[i], std::string("Cursors/") + kCursorNames[i] + ".bmp");
  for (int i = 0; i < kExplosionFrames; ++i)
    LoadSlot(gImages.explosion[i], Numbered("Anim/Explos", i));
  for (int i = 0; i < kFireFrames; ++i) LoadSlot(gImages.fire[i], Numbered("Anim/Fire", i));
  MakeGlowDiscs();
}

void FreeSharedImages() {
  gImages = TSharedImages{};
}

void DrawSparks(TKBitmap& frame, int32_t (*toPixelX)(int64_t), int32_t (*toPixelY)(int64_t)) {
  for (const TSpark& s : gCom.spark) {
    if (s.life <= 0) continue;
    int index = std::clamp((s.life + 1) / 2, 1, kGlowDiscs);
    const TKBitmap* disc = gImages.glow[index].get();
    if (!disc) continue;
    DrawWhole(frame, toPixelX(s.x) - disc->Width() / 2, toPixelY(s.y) - disc->Height() / 2, *disc,
              clNone, efAdd);
  }
}

void DrawBlasts(TKBitmap& frame, int32_t (*toPixelX)(int64_t), int32_t (*toPixelY)(int64_t)) {
  for (const TBlast& b : gCom.blast) {
    if (b.life == 0) continue;
    int index = std::clamp((kBlastLife - b.life) / 1024, 0, kExplosionFrames - 1);
    const TKBitmap* picture = gImages.explosion[index].get();
    if (!picture) continue;
    DrawWhole(frame, toPixelX(b.x) - picture->Width() / 2, toPixelY(b.y) - 16, *picture,
              kTransparentMagenta, efAdd);
  }
}

}  // namespace kelvra
