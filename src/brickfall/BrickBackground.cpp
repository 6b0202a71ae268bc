// The Brickfall background: the prepared picture of textured and picture backgrounds, and
// the drawing of every background kind into the play field.
#include "brickfall/BrickBackground.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <memory>
#include <system_error>

#include "base/FileIO.h"
#include "base/IOError.h"
#include "base/Paths.h"
#include "brickfall/BrickLevel.h"
#include "brickfall/BrickPictures.h"
#include "common/Com.h"
#include "media/Textures.h"

namespace kelvra {

TBrickBackground gBrickBackground;

namespace {

constexpr int kMaxPictureName = 95;  // characters after the length byte

// The drawing mode of a level's Background effect; a value beyond the modes (a damaged
// file) draws opaque, so that the field is still cleared every frame.
TEffect BackgroundMode(uint8_t effect) {
  return effect < kEffects ? TEffect(effect) : ef16;
}

// The level's Background colour: clNone stays no colour, system colours become their
// current colour, and any other value above 24 bits (a damaged file) keeps its low 24 bits.
uint32_t BackgroundColour(uint32_t colour) {
  if (colour == clNone) return clNone;
  const uint32_t c = ColorToRGB(colour);
  return c > 0xFFFFFF ? c & 0xFFFFFF : c;
}

std::string Lower(std::string s) {
  for (char& c : s) c = char(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

// The file `name` in `dir`, first as written, then the first entry (in name order) equal
// to it when case is ignored; "" when there is none.
std::string FindIgnoringCase(const std::string& dir, const std::string& name) {
  if (FileExists(dir + name)) return dir + name;
  const std::string wanted = Lower(name);
  std::error_code ec;
  std::string found;
  for (const auto& entry : std::filesystem::directory_iterator(dir, ec)) {
    const std::string entryName = entry.path().filename().string();
    if (Lower(entryName) != wanted || !entry.is_regular_file(ec)) continue;
    if (found.empty() || entryName < ExtractFileName(found)) found = dir + entryName;
  }
  return found;
}

uint32_t Be16(const uint8_t* p) {
  return uint32_t(p[0]) << 8 | p[1];
}
uint32_t Le32(const uint8_t* p) {
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

// The size a BMP or JPEG file declares in its header, read without decoding the picture;
// false when the header cannot be read (the decoder then reports what is wrong).
bool DeclaredSize(const std::string& path, int64_t& width, int64_t& height) {
  FileReader r;
  if (!r.Open(path)) return false;
  uint8_t h[26];
  if (!r.Read(h, 2)) return false;
  if (h[0] == 'B' && h[1] == 'M') {
    if (!r.Read(h + 2, 24)) return false;
    if (Le32(h + 14) == 12) {  // the old core header with 16-bit sizes
      width = h[18] | h[19] << 8;
      height = h[20] | h[21] << 8;
    } else {
      width = int32_t(Le32(h + 18));
      height = std::abs(int64_t(int32_t(Le32(h + 22))));
    }
    return true;
  }
  if (h[0] != 0xFF || h[1] != 0xD8) return false;
  // JPEG: walk the marker segments up to the first start of frame.
  for (int segments = 0; segments < 4096; ++segments) {
    uint8_t m[2];
    if (!r.Read(m, 2) || m[0] != 0xFF) return false;
    while (m[1] == 0xFF)
      if (!r.Read(m + 1, 1)) return false;  // fill bytes
    const uint8_t marker = m[1];
    if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD8)) continue;  // no length
    uint8_t len[2];
    if (!r.Read(len, 2) || Be16(len) < 2) return false;
    const bool frame =
        marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
    if (frame) {
      uint8_t f[5];
      if (!r.Read(f, 5)) return false;
      height = Be16(f + 1);
      width = Be16(f + 3);
      return true;
    }
    if (!r.Skip(Be16(len) - 2)) return false;
  }
  return false;
}

// Loads the background picture file and brings it to the field's size; false (with the
// previous picture kept) when it cannot be used.
bool LoadBackgroundPicture(const std::string& path) {
  int64_t w = 0, h = 0;
  if (DeclaredSize(path, w, h) && w * h > kMaxBackgroundPixels) {
    FileError(path, "Background picture too large: " + std::to_string(w) + " x " +
                        std::to_string(h) + " pixels (at most " +
                        std::to_string(kMaxBackgroundPixels / 1000000) + " million)");
    return false;
  }
  TKBitmap loaded;
  if (!LoadFromFile(loaded, path, 0, 0) || loaded.Empty()) return false;
  if (loaded.Width() == kBackgroundWidth && loaded.Height() == kBackgroundHeight)
    gBrickBackground.picture = std::move(loaded);
  else
    ScaleBitmap(gBrickBackground.picture, loaded, kBackgroundWidth, kBackgroundHeight);
  gBrickBackground.picture.ResetClip();
  gBrickBackground.preparedTexture = -1;
  return true;
}

// The brick pattern laid over textures; loaded here when the kind's pictures did not bring
// it. A missing file leaves the textures bare; a damaged one is reported once.
const TKBitmap* BrickPattern() {
  if (!gBrickPictures.brickPattern) {
    auto pattern = std::make_unique<TKBitmap>();
    const std::string file = ProgramDir() + "Graphics/Brickfall/Brick.bmp";
    if (FileExists(file)) LoadFromFile(*pattern, file, 0, 0, FileOwner::Program);
    gBrickPictures.brickPattern = std::move(pattern);
  }
  return gBrickPictures.brickPattern->Empty() ? nullptr : gBrickPictures.brickPattern.get();
}

void PrepareTexture(int32_t number) {
  // Texture numbers of levels are 0..9; a damaged value is folded into that range.
  const int texture =
      int(((int64_t(number) % kBackgroundTextures) + kBackgroundTextures) % kBackgroundTextures);
  TKBitmap& picture = gBrickBackground.picture;
  picture.SetSize(kBackgroundWidth, kBackgroundHeight);
  picture.ResetClip();
  MakeTexture(picture, texture);
  if (const TKBitmap* pattern = BrickPattern()) TileBitmap(picture, *pattern, clNone, ef12);
  gBrickBackground.preparedTexture = texture;
}

}  // namespace

std::string BrickBackgroundStem(const TLevelFields& fields) {
  const int length = std::min<int>(fields.backgroundPicture[0], kMaxPictureName);
  std::string name(reinterpret_cast<const char*>(fields.backgroundPicture + 1), size_t(length));
  name = name.substr(0, name.find('\0'));
  const size_t slash = name.find_last_of("\\/");
  if (slash != std::string::npos) name.erase(0, slash + 1);
  const size_t dot = name.rfind('.');
  if (dot != std::string::npos) name.erase(dot);
  return name;
}

std::string FindBrickBackground(const std::string& stem) {
  if (stem.empty()) return "";
  const std::string dir = ProgramDir() + "Levels/Brickfall/";
  for (const char* ext : {".jpg", ".bmp"}) {
    const std::string found = FindIgnoringCase(dir, stem + ext);
    if (!found.empty()) return found;
  }
  return "";
}

void PrepareBrickBackground(const TLevel& level) {
  switch (level.f.backgroundKind) {
    case 3:
      PrepareTexture(level.f.backgroundTexture);
      break;
    case 4: {
      const std::string file = FindBrickBackground(BrickBackgroundStem(level.f));
      if (!file.empty()) LoadBackgroundPicture(file);
      break;
    }
    default:
      break;  // fills are drawn directly; nothing to prepare
  }
}

void DrawBrickBackground(TKBitmap& frame, const TLevel& level) {
  const TRect& f = gCom.k[gkBrickfall].field;
  const int cx1 = frame.clipX1, cy1 = frame.clipY1, cx2 = frame.clipX2, cy2 = frame.clipY2;
  frame.SetClip(std::max(f.left, cx1), std::max(f.top, cy1), std::min(f.right, cx2),
                std::min(f.bottom, cy2));
  const TEffect mode = BackgroundMode(level.f.backgroundEffect);
  switch (level.f.backgroundKind) {
    case 1:
      FillRect(frame, f.left, f.top, f.right, f.bottom, BackgroundColour(level.f.backgroundColour),
               mode);
      break;
    case 2: {
      uint32_t colour = BackgroundColour(level.f.backgroundColour);
      if (colour == 0) colour = SpectrumColor(int(uint64_t(gCom.frameCounter) * 32 % 1530));
      ShadedFill(frame, f.left, f.top, f.right, f.bottom, colour, ef16);
      break;
    }
    case 3:
    case 4:
      // With nothing prepared yet (a picture level whose file is missing) the field is
      // cleared, so that earlier frames do not stay behind the game.
      if (gBrickBackground.picture.Empty())
        FillRect(frame, f.left, f.top, f.right, f.bottom, 0, ef16);
      else
        DrawWhole(frame, f.left, f.top, gBrickBackground.picture, clNone, mode);
      break;
    default:
      break;
  }
  frame.SetClip(cx1, cy1, cx2, cy2);
}

}  // namespace kelvra
