// The wave file reader and the builder of new samples.
#include "media/Wave.h"

#include <cstring>

#include "base/FileIO.h"
#include "base/IOError.h"

namespace kelvra {

const char* const kWaveNotWave = "File is not wave";
const char* const kWaveNotSupported = "Wave format not supported";
const char* const kWaveRepaired = "Wave data bytes repaired";
const char* const kWaveTooLarge = "Wave file too large";
const char* const kWaveEmpty = "Wave is empty";
const char* const kWaveInvalidFormat = "Invalid wave format";

namespace {

uint16_t U16(const uint8_t* p) {
  return uint16_t(p[0] | p[1] << 8);
}
uint32_t U32(const uint8_t* p) {
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
void Put16(uint8_t* p, uint32_t v) {
  p[0] = uint8_t(v), p[1] = uint8_t(v >> 8);
}
void Put32(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = uint8_t(v >> (8 * i));
}
bool Tag(const uint8_t* p, const char* tag) {
  return std::memcmp(p, tag, 4) == 0;
}

TWaveDecode Reject(const char* message) {
  TWaveDecode result;
  result.messages.emplace_back(message);
  return result;
}

}  // namespace

TWaveDecode DecodeWave(const uint8_t* data, size_t size) {
  // The canonical header is 44 bytes; anything shorter cannot hold one.
  if (size < 44) return Reject(kWaveNotWave);
  if (int64_t(size) > kWaveMaxFileSize) return Reject(kWaveTooLarge);
  if (!Tag(data, "RIFF") || !Tag(data + 8, "WAVE") || !Tag(data + 12, "fmt ") ||
      U32(data + 4) != size - 8)
    return Reject(kWaveNotWave);

  auto wave = std::make_shared<TWave>();
  const uint32_t fmtSize = U32(data + 16);
  wave->format = U16(data + 20);
  wave->channels = U16(data + 22);
  wave->rate = U32(data + 24);
  wave->blockAlign = U16(data + 32);
  wave->bits = U16(data + 34);

  // The format chunk must hold the 16 bytes read above and leave room for a chunk header.
  if (fmtSize < 16 || uint64_t(20) + fmtSize + 8 > size) return Reject(kWaveNotWave);
  if (wave->bits != 4 && wave->bits != 8 && wave->bits != 16) return Reject(kWaveNotSupported);
  if (wave->channels < 1 || wave->channels > 2 || wave->rate < kWaveMinRate ||
      wave->rate > kWaveMaxRate)
    return Reject(kWaveNotSupported);
  const bool pcm = wave->bits != 4;
  if (pcm && (wave->format != 1 || wave->blockAlign != wave->channels * wave->bits / 8))
    return Reject(kWaveNotSupported);

  // The data chunk follows the format chunk, possibly after other chunks (chunks are padded
  // to even sizes). Canonical files have it at offset 36.
  uint64_t pos = 20 + uint64_t(fmtSize) + (fmtSize & 1);
  bool found = false;
  while (pos + 8 <= size) {
    uint32_t length = U32(data + pos + 4);
    if (Tag(data + pos, "data")) {
      found = true;
      break;
    }
    pos += 8 + uint64_t(length) + (length & 1);
  }
  if (!found) return Reject(kWaveNotWave);

  TWaveDecode result;
  const uint64_t offset = pos + 8;
  const uint64_t available = size - offset;
  uint64_t dataSize = U32(data + pos + 4);
  if (dataSize > available) {
    // 4-bit data is never read, so its size is only limited, not reported.
    if (pcm) result.messages.emplace_back(kWaveRepaired);
    dataSize = available;
  }
  wave->dataSize = uint32_t(dataSize);

  if (pcm) {
    wave->frames = uint32_t(dataSize / wave->blockAlign);
    const size_t count = size_t(wave->frames) * wave->channels;
    wave->samples.resize(count);
    const uint8_t* src = data + offset;
    if (wave->bits == 8) {
      for (size_t i = 0; i < count; ++i) wave->samples[i] = int16_t((src[i] - 128) * 256);
    } else {
      for (size_t i = 0; i < count; ++i) wave->samples[i] = int16_t(U16(src + 2 * i));
    }
  }
  result.wave = std::move(wave);
  return result;
}

std::shared_ptr<TWave> LoadWave(const std::string& fileName, bool* unreadable) {
  if (unreadable) *unreadable = true;
  FileReader file;
  if (!file.Open(fileName)) return nullptr;
  if (file.Size() > kWaveMaxFileSize) {
    if (unreadable) *unreadable = false;
    FileError(fileName, kWaveTooLarge, FileOwner::Program);
    return nullptr;
  }
  std::vector<uint8_t> image(size_t(file.Size()));
  if (!image.empty() && !file.Read(image.data(), image.size())) return nullptr;
  file.Close();
  if (unreadable) *unreadable = false;

  TWaveDecode result = DecodeWave(image.data(), image.size());
  for (const std::string& message : result.messages)
    FileError(fileName, message, FileOwner::Program);
  return result.wave;
}

std::vector<uint8_t> NewWaveImage(int bits, int channels, uint32_t rate, uint32_t samples) {
  const uint32_t dataSize = uint32_t((uint64_t(bits) * channels * samples + 7) / 8);
  const uint32_t block = uint32_t(bits * channels / 8 > 0 ? bits * channels / 8 : 1);
  std::vector<uint8_t> image(44 + size_t(dataSize), 0);
  uint8_t* p = image.data();
  std::memcpy(p, "RIFF", 4);
  Put32(p + 4, dataSize + 36);
  std::memcpy(p + 8, "WAVEfmt ", 8);
  Put32(p + 16, 16);
  Put16(p + 20, 1);
  Put16(p + 22, uint32_t(channels));
  Put32(p + 24, rate);
  Put32(p + 28, rate * block);
  Put16(p + 32, block);
  Put16(p + 34, uint32_t(bits));
  std::memcpy(p + 36, "data", 4);
  Put32(p + 40, dataSize);
  if (bits == 8) std::memset(p + 44, 128, dataSize);  // 8-bit silence is the middle value
  return image;
}

}  // namespace kelvra
