// Text output on bitmaps: faces found by fontconfig, glyphs rendered anti-aliased by
// FreeType, cached per face and size, and blended into the BGR pixels inside the clip.
#include "media/KText.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SYNTHESIS_H

#include <strings.h>
#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <tuple>
#include <unordered_map>
#include <vector>

namespace kelvra {

namespace {

constexpr int kMaxPixelSize = 1000;         // larger font heights are drawn at this size
constexpr size_t kMaxGlyphBytes = 4 << 20;  // coverage of one glyph, beyond: not drawn
constexpr size_t kMaxGlyphsPerFace = 4096;  // the glyph cache of a face starts over past it

// The system's family names and the faces that stand in for them.
struct FamilyMap {
  const char* wanted;
  const char* used;
};
constexpr FamilyMap kFamilies[] = {
    {"MS Sans Serif", "Liberation Sans"},
    {"Times New Roman", "Liberation Serif"},
};

std::string MappedFamily(const std::string& family) {
  for (const FamilyMap& m : kFamilies)
    if (strcasecmp(family.c_str(), m.wanted) == 0) return m.used;
  return family;
}

struct Glyph {
  int left = 0, top = 0;  // bitmap origin relative to the pen on the baseline (top: upward)
  int width = 0, rows = 0;
  int advance = 0;                // pixels
  std::vector<uint8_t> coverage;  // rows x width, 0..255
};

// One face file opened at one pixel size.
struct Face {
  FT_Face face = nullptr;
  int ascender = 0;                            // pixels above the baseline
  int descender = 0;                           // pixels below the baseline (positive)
  std::unordered_map<uint32_t, Glyph> glyphs;  // by code point and synthetic style
};

struct Match {
  std::string file;  // "" when fontconfig found nothing
  int index = 0;
  std::string family;                 // family of the face actually matched
  bool bold = false, italic = false;  // style of the matched face
};

class FontSystem {
 public:
  ~FontSystem() {
    faces_.clear();
    if (library_) FT_Done_FreeType(library_);
    if (config_) FcConfigDestroy(config_);
  }

  std::mutex mutex;

  const Match& Find(const std::string& family, bool bold, bool italic) {
    auto key = std::make_tuple(family, bold, italic);
    auto it = matches_.find(key);
    if (it != matches_.end()) return it->second;
    return matches_.emplace(key, Lookup(family, bold, italic)).first->second;
  }

  // The face for the font at its pixel size, or nullptr when there is none.
  Face* FaceFor(const TKFont& font, int& syntheticStyle) {
    syntheticStyle = 0;
    int size = std::abs(font.height);
    if (size == 0) return nullptr;
    size = std::min(size, kMaxPixelSize);
    if (last_ && lastFamily_ == font.family && lastBold_ == font.bold &&
        lastItalic_ == font.italic && lastSize_ == size) {
      syntheticStyle = lastSynthetic_;
      return last_;
    }
    const Match& m = Find(font.family, font.bold, font.italic);
    Face* face = m.file.empty() ? nullptr : Open(m.file, m.index, size);
    // A fallback face without the wanted style gets it made by FreeType.
    if (font.bold && !m.bold) syntheticStyle |= 1;
    if (font.italic && !m.italic) syntheticStyle |= 2;
    last_ = face;
    lastFamily_ = font.family;
    lastBold_ = font.bold;
    lastItalic_ = font.italic;
    lastSize_ = size;
    lastSynthetic_ = syntheticStyle;
    return face;
  }

 private:
  struct FaceDeleter {
    void operator()(Face* f) const {
      if (f->face) FT_Done_Face(f->face);
      delete f;
    }
  };

  Match Lookup(const std::string& family, bool bold, bool italic) {
    Match result;
    // A configuration of our own, freed at exit, leaves the library's default one (which
    // the GUI toolkit uses too) alone.
    if (!fcReady_) {
      fcReady_ = true;
      config_ = FcInitLoadConfigAndFonts();
    }
    if (!config_) return result;
    const std::string wanted = MappedFamily(family);
    FcPattern* pattern = FcPatternCreate();
    if (!pattern) return result;
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(wanted.c_str()));
    FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(config_, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult status = FcResultNoMatch;
    FcPattern* found = FcFontMatch(config_, pattern, &status);
    FcPatternDestroy(pattern);
    if (!found) return result;
    FcChar8* file = nullptr;
    FcChar8* matchedFamily = nullptr;
    int index = 0, weight = FC_WEIGHT_REGULAR, slant = FC_SLANT_ROMAN;
    if (FcPatternGetString(found, FC_FILE, 0, &file) == FcResultMatch && file) {
      result.file = reinterpret_cast<const char*>(file);
      if (FcPatternGetInteger(found, FC_INDEX, 0, &index) == FcResultMatch) result.index = index;
      // fontconfig falls back to another family without saying so: the matched family is
      // kept for diagnostics, and whatever it found is drawn with.
      if (FcPatternGetString(found, FC_FAMILY, 0, &matchedFamily) == FcResultMatch && matchedFamily)
        result.family = reinterpret_cast<const char*>(matchedFamily);
      FcPatternGetInteger(found, FC_WEIGHT, 0, &weight);
      FcPatternGetInteger(found, FC_SLANT, 0, &slant);
      result.bold = weight >= FC_WEIGHT_DEMIBOLD;
      result.italic = slant != FC_SLANT_ROMAN;
    }
    FcPatternDestroy(found);
    return result;
  }

  Face* Open(const std::string& file, int index, int size) {
    auto key = std::make_tuple(file, index, size);
    auto it = faces_.find(key);
    if (it != faces_.end()) return it->second.get();
    std::unique_ptr<Face, FaceDeleter> f(new Face);
    if (!ftReady_) {
      ftReady_ = true;
      if (FT_Init_FreeType(&library_) != 0) library_ = nullptr;
    }
    if (!library_ || FT_New_Face(library_, file.c_str(), index, &f->face) != 0) {
      f->face = nullptr;
    } else if (!SetSize(f->face, size)) {
      FT_Done_Face(f->face);
      f->face = nullptr;
    } else {
      const FT_Size_Metrics& m = f->face->size->metrics;
      f->ascender = int((m.ascender + 63) >> 6);
      f->descender = int(-(m.descender >> 6));
      if (f->ascender + f->descender <= 0) f->ascender = int((m.height + 63) >> 6);
    }
    // A face that failed is remembered too, so that it is not tried on every frame.
    Face* raw = f->face ? f.get() : nullptr;
    faces_.emplace(key, std::move(f));
    return raw;
  }

  static bool SetSize(FT_Face face, int size) {
    if (FT_IS_SCALABLE(face)) return FT_Set_Pixel_Sizes(face, 0, FT_UInt(size)) == 0;
    if (face->num_fixed_sizes <= 0) return false;
    int best = 0;  // the strike nearest to the wanted height
    for (int i = 1; i < face->num_fixed_sizes; ++i)
      if (std::abs(face->available_sizes[i].height - size) <
          std::abs(face->available_sizes[best].height - size))
        best = i;
    return FT_Select_Size(face, best) == 0;
  }

  FT_Library library_ = nullptr;
  bool ftReady_ = false;
  bool fcReady_ = false;
  FcConfig* config_ = nullptr;
  std::map<std::tuple<std::string, bool, bool>, Match> matches_;
  std::map<std::tuple<std::string, int, int>, std::unique_ptr<Face, FaceDeleter>> faces_;

  Face* last_ = nullptr;  // the face of the previous call, to skip the look-ups per frame
  std::string lastFamily_;
  bool lastBold_ = false, lastItalic_ = false;
  int lastSize_ = 0, lastSynthetic_ = 0;
};

FontSystem& Fonts() {
  static FontSystem fonts;
  return fonts;
}

// The next character of a UTF-8 text; a byte that does not start a well-formed sequence
// stands for itself (Latin-1), so texts stored in either encoding come out readable.
char32_t NextChar(const std::string& s, size_t& i) {
  const auto* p = reinterpret_cast<const uint8_t*>(s.data());
  const size_t n = s.size();
  const uint8_t c = p[i];
  int length = 0;
  char32_t cp = 0, min = 0;
  if (c >= 0xC2 && c <= 0xDF)
    length = 2, cp = c & 0x1F, min = 0x80;
  else if (c >= 0xE0 && c <= 0xEF)
    length = 3, cp = c & 0x0F, min = 0x800;
  else if (c >= 0xF0 && c <= 0xF4)
    length = 4, cp = c & 0x07, min = 0x10000;
  if (length == 0 || i + length > n) return p[i++];
  for (int k = 1; k < length; ++k) {
    if ((p[i + k] & 0xC0) != 0x80) return p[i++];
    cp = (cp << 6) | (p[i + k] & 0x3F);
  }
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return p[i++];
  i += length;
  return cp;
}

const Glyph* GlyphFor(Face& f, char32_t ch, int synthetic) {
  const uint32_t key = uint32_t(ch) << 2 | uint32_t(synthetic);
  auto it = f.glyphs.find(key);
  if (it != f.glyphs.end()) return &it->second;
  if (f.glyphs.size() >= kMaxGlyphsPerFace) f.glyphs.clear();
  Glyph& g = f.glyphs[key];
  FT_Face face = f.face;
  const FT_UInt index = FT_Get_Char_Index(face, FT_ULong(ch));
  if (FT_Load_Glyph(face, index, FT_LOAD_DEFAULT) != 0) return &g;
  FT_GlyphSlot slot = face->glyph;
  if (slot->format == FT_GLYPH_FORMAT_OUTLINE) {
    if (synthetic & 1) FT_GlyphSlot_Embolden(slot);
    if (synthetic & 2) FT_GlyphSlot_Oblique(slot);
  }
  g.advance = int((slot->advance.x + 32) >> 6);
  if (FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) != 0) return &g;
  const FT_Bitmap& bm = slot->bitmap;
  if (bm.width == 0 || bm.rows == 0 || size_t(bm.width) * bm.rows > kMaxGlyphBytes) return &g;
  if (bm.pixel_mode != FT_PIXEL_MODE_GRAY && bm.pixel_mode != FT_PIXEL_MODE_MONO) return &g;
  g.left = slot->bitmap_left;
  g.top = slot->bitmap_top;
  g.width = int(bm.width);
  g.rows = int(bm.rows);
  g.coverage.resize(size_t(g.width) * g.rows);
  const int grays = bm.num_grays > 1 ? bm.num_grays - 1 : 255;
  for (int y = 0; y < g.rows; ++y) {
    const uint8_t* src = bm.buffer + ptrdiff_t(y) * bm.pitch;
    uint8_t* dst = g.coverage.data() + size_t(y) * g.width;
    for (int x = 0; x < g.width; ++x) {
      if (bm.pixel_mode == FT_PIXEL_MODE_MONO)
        dst[x] = (src[x >> 3] & (0x80 >> (x & 7))) ? 255 : 0;
      else
        dst[x] = uint8_t(grays == 255 ? src[x] : src[x] * 255 / grays);
    }
  }
  return &g;
}

int WidthLocked(Face& f, int synthetic, const std::string& text) {
  int width = 0;
  for (size_t i = 0; i < text.size();) width += GlyphFor(f, NextChar(text, i), synthetic)->advance;
  return width;
}

void BlendGlyph(TKBitmap& b, const Glyph& g, int gx, int gy, uint32_t colour) {
  const int x1 = std::max(gx, b.clipX1), x2 = std::min(gx + g.width - 1, b.clipX2);
  const int y1 = std::max(gy, b.clipY1), y2 = std::min(gy + g.rows - 1, b.clipY2);
  if (x1 > x2 || y1 > y2) return;
  const int sr = RedOf(colour), sg = GreenOf(colour), sb = BlueOf(colour);
  for (int y = y1; y <= y2; ++y) {
    const uint8_t* cov = g.coverage.data() + size_t(y - gy) * g.width + (x1 - gx);
    uint8_t* p = b.Row(y) + 3 * x1;
    for (int x = x1; x <= x2; ++x, ++cov, p += 3) {
      const int a = *cov;
      if (a == 0) continue;
      if (a == 255) {
        p[0] = uint8_t(sb), p[1] = uint8_t(sg), p[2] = uint8_t(sr);
        continue;
      }
      const int r = 255 - a;
      p[0] = uint8_t((p[0] * r + sb * a + 127) / 255);
      p[1] = uint8_t((p[1] * r + sg * a + 127) / 255);
      p[2] = uint8_t((p[2] * r + sr * a + 127) / 255);
    }
  }
}

}  // namespace

void TextOut(TKBitmap& b, int x, int y, const std::string& text, uint32_t colour,
             uint32_t background) {
  if (b.Empty() || text.empty()) return;
  FontSystem& fonts = Fonts();
  std::lock_guard<std::mutex> lock(fonts.mutex);
  int synthetic = 0;
  Face* f = fonts.FaceFor(b.font, synthetic);
  if (!f) return;
  if (background != clNone) {
    const int width = WidthLocked(*f, synthetic, text);
    FillRect(b, x, y, x + width - 1, y + f->ascender + f->descender - 1, background, ef16);
  }
  if (colour == clNone) return;
  const int baseline = y + f->ascender;
  int pen = x;
  for (size_t i = 0; i < text.size();) {
    const Glyph* g = GlyphFor(*f, NextChar(text, i), synthetic);
    if (g->width > 0) BlendGlyph(b, *g, pen + g->left, baseline - g->top, colour);
    pen += g->advance;
  }
}

int TextWidth(const TKBitmap& b, const std::string& text) {
  if (text.empty()) return 0;
  FontSystem& fonts = Fonts();
  std::lock_guard<std::mutex> lock(fonts.mutex);
  int synthetic = 0;
  Face* f = fonts.FaceFor(b.font, synthetic);
  return f ? WidthLocked(*f, synthetic, text) : 0;
}

int TextHeight(const TKBitmap& b, const std::string& /*text*/) {
  FontSystem& fonts = Fonts();
  std::lock_guard<std::mutex> lock(fonts.mutex);
  int synthetic = 0;
  Face* f = fonts.FaceFor(b.font, synthetic);
  return f ? f->ascender + f->descender : 0;
}

std::string FontFileFor(const std::string& family, bool bold, bool italic) {
  FontSystem& fonts = Fonts();
  std::lock_guard<std::mutex> lock(fonts.mutex);
  return fonts.Find(family, bold, italic).file;
}

std::string FontFamilyFor(const std::string& family, bool bold, bool italic) {
  FontSystem& fonts = Fonts();
  std::lock_guard<std::mutex> lock(fonts.mutex);
  return fonts.Find(family, bold, italic).family;
}

}  // namespace kelvra
