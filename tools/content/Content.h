// The content generator's framework: the output tree, the file writers every art, sound and
// music group uses, and the registry through which the groups join the generator.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "media/KBitmap.h"

namespace kelvra::content {

// A picture with straight (not premultiplied) alpha, rows top-down, 4 bytes a pixel in the
// order red, green, blue, alpha. Icons are made in this form; BMP pictures are not.
struct TRgbaImage {
  int width = 0, height = 0;
  std::vector<uint8_t> pixels;

  TRgbaImage() = default;
  TRgbaImage(int w, int h) : width(w), height(h), pixels(size_t(w) * h * 4, 0) {}
  uint8_t* At(int x, int y) { return pixels.data() + (size_t(y) * width + x) * 4; }
  const uint8_t* At(int x, int y) const { return pixels.data() + (size_t(y) * width + x) * 4; }
};

// One picture for the contact sheet: its file name as the program names it, an opaque
// copy, and which pixels are see-through (the transparent colour, alpha below 128, or
// black for pictures drawn additively).
struct TSheetEntry {
  std::string name;
  TRgbaImage image;
};

class TContent {
 public:
  // `root` is the data folder; `sourceDir` holds the text sources (the manual).
  TContent(std::string root, std::string sourceDir);

  const std::string& SourceDir() const { return sourceDir_; }

  // Names use '\' as the program's tables do; they are written below the root with '/'.
  // A file whose bytes are already on disk is left untouched, so its time stays.
  void WriteBytes(const std::string& name, const std::vector<uint8_t>& bytes);
  // A 24-bit BMP. `transparent` is the colour the program skips when drawing it (clNone
  // for none); `additive` marks pictures drawn by adding light, where black shows nothing.
  void WriteBmp(const std::string& name, const TKBitmap& b, uint32_t transparent = clNone,
                bool additive = false);
  void WritePng(const std::string& name, const TRgbaImage& image);
  // 16-bit mono PCM samples as a canonical wave file.
  void WriteWave(const std::string& name, const std::vector<int16_t>& samples, int rate);

  const std::vector<TSheetEntry>& Sheet() const { return sheet_; }
  int FilesWritten() const { return written_; }
  int FilesTotal() const { return total_; }

 private:
  std::string root_, sourceDir_;
  std::vector<TSheetEntry> sheet_;
  int written_ = 0, total_ = 0;
};

// A group of generated files. Groups run in the order of their `order` value, then name,
// so the output never depends on the link order of the generator's units.
struct TGenerator {
  const char* name;
  int order;  // 100 pictures, 200 icons and logo, 300 sounds, 400 music, 500 texts,
              // 900 the contact sheet (it shows every picture made before it)
  void (*run)(TContent& content);
};
std::vector<TGenerator>& Generators();

struct TRegisterGenerator {
  TRegisterGenerator(const char* name, int order, void (*run)(TContent&)) {
    Generators().push_back({name, order, run});
  }
};

// Encoders shared by the groups and the tests.
inline std::vector<uint8_t> EncodePng(const TRgbaImage& image) {
  return kelvra::EncodePng(image.pixels.data(), image.width, image.height, true);
}
std::vector<uint8_t> EncodeWave16(const std::vector<int16_t>& samples, int rate);
TRgbaImage ToRgba(const TKBitmap& b, uint32_t transparent, bool additive);

}  // namespace kelvra::content
