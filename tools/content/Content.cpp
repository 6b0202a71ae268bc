// The output tree of the content generator: file writing, wave and picture encoding, and
// the list of generated pictures that the contact sheet shows.
#include "Content.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

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

namespace {
void Put16(std::vector<uint8_t>& v, uint32_t x) {
  v.push_back(uint8_t(x));
  v.push_back(uint8_t(x >> 8));
}
void Put32(std::vector<uint8_t>& v, uint32_t x) {
  Put16(v, x & 0xFFFF);
  Put16(v, x >> 16);
}
void PutTag(std::vector<uint8_t>& v, const char* tag) {
  for (int i = 0; i < 4; ++i) v.push_back(uint8_t(tag[i]));
}
}  // namespace

std::vector<uint8_t> EncodeWave16(const std::vector<int16_t>& samples, int rate) {
  const uint32_t dataSize = uint32_t(samples.size() * 2);
  std::vector<uint8_t> v;
  v.reserve(44 + dataSize);
  PutTag(v, "RIFF");
  Put32(v, 36 + dataSize);
  PutTag(v, "WAVE");
  PutTag(v, "fmt ");
  Put32(v, 16);
  Put16(v, 1);  // PCM
  Put16(v, 1);  // mono
  Put32(v, uint32_t(rate));
  Put32(v, uint32_t(rate) * 2);  // bytes per second
  Put16(v, 2);                   // block align
  Put16(v, 16);                  // bits per sample
  PutTag(v, "data");
  Put32(v, dataSize);
  for (int16_t s : samples) Put16(v, uint16_t(s));
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
