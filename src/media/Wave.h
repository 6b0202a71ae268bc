// Wave files: the reader with its checks and messages, the builder of new empty samples,
// and the decoded form the mixer plays (16-bit scale, interleaved channels).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace kelvra {

// Message texts of the reader (file errors, shown with the file name).
extern const char* const kWaveNotWave;       // "File is not wave"
extern const char* const kWaveNotSupported;  // "Wave format not supported"
extern const char* const kWaveRepaired;      // "Wave data bytes repaired"
extern const char* const kWaveTooLarge;      // files above kWaveMaxFileSize
// Texts of the sound table's load report (a slot that cannot be played).
extern const char* const kWaveEmpty;          // "Wave is empty"
extern const char* const kWaveInvalidFormat;  // "Invalid wave format"

constexpr int64_t kWaveMaxFileSize = 64 << 20;  // bytes; effects are far smaller
constexpr uint32_t kWaveMinRate = 1000;         // samples per second accepted
constexpr uint32_t kWaveMaxRate = 192000;

struct TWave {
  // Header fields as read (after the checks).
  uint16_t format = 1;      // 1 PCM
  uint16_t channels = 1;    // 1 or 2
  uint32_t rate = 22050;    // sample frames per second
  uint16_t blockAlign = 1;  // bytes per sample frame
  uint16_t bits = 8;        // 4, 8 or 16
  uint32_t dataSize = 0;    // bytes of sample data, after any repair
  // The decoded samples of 8- and 16-bit waves on the 16-bit scale, channels interleaved;
  // empty for 4-bit waves, which are kept but never played.
  std::vector<int16_t> samples;
  uint32_t frames = 0;  // sample frames in `samples`

  bool Playable() const { return (bits == 8 || bits == 16) && frames > 0; }
};

// Result of decoding a file image: the sample (or none) and the messages in the order they
// were found; a message with a sample is a repair, one without is a rejection.
struct TWaveDecode {
  std::shared_ptr<TWave> wave;
  std::vector<std::string> messages;
};

// Checks and decodes a whole file image. Never trusts a size before checking it against
// `size`; any input gives a result or a message, never a crash.
TWaveDecode DecodeWave(const uint8_t* data, size_t size);

// Reads and decodes a file, showing each message through the file error dialog (no retry,
// with the file name). A file that cannot be opened or read gives no sample and no message;
// `unreadable` (when given) tells that case apart. The files are the program's own sounds.
std::shared_ptr<TWave> LoadWave(const std::string& fileName, bool* unreadable = nullptr);

// The canonical 44-byte header and silent data of a new sample: data size rounded up to
// whole bytes ((bits × channels × samples + 7) / 8), RIFF size = data size + 36.
std::vector<uint8_t> NewWaveImage(int bits, int channels, uint32_t rate, uint32_t samples);

}  // namespace kelvra
