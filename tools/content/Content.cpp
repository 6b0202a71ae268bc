// The output tree of the content generator: file writing, wave and picture encoding, and
// the list of generated pictures that the contact sheet shows.
#include "Content.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "media/Wave.h"

namespace kelvra::content {

namespace fs = std::filesystem;

std::vector<TGenerator>& Generators() {
  static std::vector<TGenerator> list;
  return list;
}

TContent::TContent(std::string root, std::string sourceDir)
    : root_(std::move(root)), sourceDir_(std::move(sourceDir)) {}

void TContent::WriteBytes(const std::string& name, const std::vector<uint8_t>& bytes) {
  std::string rel = name;
  for (char& c : rel)
    if (c == '\\') c = '/';
  const fs::path path = fs::path(root_) / rel;
  ++total_;
  {
    std::ifstream in(path, std::ios::binary);
    if (in) {
      std::vector<uint8_t> old((std::istreambuf_iterator<char>(in)),
                               std::istreambuf_iterator<char>());
      if (old == bytes) return;
    }
  }
  fs::create_directories(path.parent_path());
  // Written under a temporary name and renamed, so an interrupted run leaves no torn file.
  const fs::path temp = path.string() + ".tmp";
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + temp.string());
  }
  fs::rename(temp, path);
  ++written_;
}

void TContent::WriteBmp(const std::string& name, const TKBitmap& b, uint32_t transparent,
                        bool additive) {
  WriteBytes(name, EncodeBmp(b));
  sheet_.push_back({name, ToRgba(b, transparent, additive)});
}

void TContent::WritePng(const std::string& name, const TRgbaImage& image) {
  WriteBytes(name, EncodePng(image));
  sheet_.push_back({name, image});
}

void TContent::WriteWave(const std::string& name, const std::vector<int16_t>& samples, int rate) {
  WriteBytes(name, EncodeWave16(samples, rate));
}

std::vector<uint8_t> EncodeWave16(const std::vector<int16_t>& samples, int rate) {
  std::vector<uint8_t> v = NewWaveImage(16, 1, uint32_t(rate), uint32_t(samples.size()));
  uint8_t* data = v.data() + 44;  // little-endian samples after the canonical header
  for (int16_t s : samples) {
    *data++ = uint8_t(uint16_t(s));
    *data++ = uint8_t(uint16_t(s) >> 8);
  }
  return v;
}

TRgbaImage ToRgba(const TKBitmap& b, uint32_t transparent, bool additive) {
  TRgbaImage img(b.Width(), b.Height());
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x) {
      const uint32_t c = b.Pixel(x, y);
      uint8_t* p = img.At(x, y);
      p[0] = uint8_t(RedOf(c));
      p[1] = uint8_t(GreenOf(c));
      p[2] = uint8_t(BlueOf(c));
      p[3] = (c == transparent || (additive && c == 0)) ? 0 : 255;
    }
  return img;
}

}  // namespace kelvra::content
