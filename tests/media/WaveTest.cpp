// The wave reader: every message, the header checks against the file size, decoding of 8-
// and 16-bit data, 4-bit waves, and the builder of new samples.
#include <gtest/gtest.h>

#include "HeadlessTest.h"

#include <cstring>
#include <functional>
#include <string>
#include <tuple>

#include "media/Wave.h"

namespace kelvra {
namespace {

void Put16(std::vector<uint8_t>& v, size_t at, uint32_t x) {
  v[at] = uint8_t(x), v[at + 1] = uint8_t(x >> 8);
}
void Put32(std::vector<uint8_t>& v, size_t at, uint32_t x) {
  for (int i = 0; i < 4; ++i) v[at + i] = uint8_t(x >> (8 * i));
}

// A canonical wave with `frames` frames whose bytes count up from 0.
std::vector<uint8_t> Wave(int bits, int channels, uint32_t frames, uint32_t rate = 22050) {
  std::vector<uint8_t> image = NewWaveImage(bits, channels, rate, frames);
  for (size_t i = 44; i < image.size(); ++i) image[i] = uint8_t(i - 44);
  return image;
}

TWaveDecode Decode(const std::vector<uint8_t>& image) {
  return DecodeWave(image.data(), image.size());
}

uint32_t Le32(const std::vector<uint8_t>& v, size_t at) {
  return uint32_t(v[at] | v[at + 1] << 8 | v[at + 2] << 16 | uint32_t(v[at + 3]) << 24);
}

TEST(WaveTest, NewImageHeaderArithmetic) {
  struct Case {
    int bits, channels;
    uint32_t samples, dataSize, block;
  };
  const Case cases[] = {
      {8, 1, 10, 10, 1}, {16, 2, 10, 40, 4}, {4, 1, 3, 2, 1}, {4, 2, 5, 5, 1}, {16, 1, 0, 0, 2},
  };
  for (const Case& c : cases) {
    std::vector<uint8_t> image = NewWaveImage(c.bits, c.channels, 11025, c.samples);
    SCOPED_TRACE(std::to_string(c.bits) + " bits, " + std::to_string(c.channels) + " channels");
    ASSERT_EQ(image.size(), 44u + c.dataSize);
    EXPECT_EQ(std::string(image.begin(), image.begin() + 4) +
                  std::string(image.begin() + 8, image.begin() + 16) +
                  std::string(image.begin() + 36, image.begin() + 40),
              "RIFFWAVEfmt data");
    // RIFF size, data size, block size, bytes per second
    EXPECT_EQ(
        std::make_tuple(Le32(image, 4), Le32(image, 40), uint32_t(image[32]), Le32(image, 28)),
        std::make_tuple(c.dataSize + 36, c.dataSize, c.block, 11025 * c.block));
  }
}

TEST(WaveTest, Decodes8BitAroundTheMiddleAnd16BitLittleEndian) {
  std::vector<uint8_t> eight = NewWaveImage(8, 1, 1000, 4);  // the lowest rate taken
  eight[44] = 0, eight[45] = 128, eight[46] = 255, eight[47] = 127;
  TWaveDecode a = Decode(eight);
  ASSERT_TRUE(a.wave);
  EXPECT_EQ(
      std::make_tuple(a.messages.empty(), a.wave->samples, a.wave->frames, a.wave->Playable()),
      std::make_tuple(true, std::vector<int16_t>{-32768, 0, 32512, -256}, 4u, true));

  std::vector<uint8_t> sixteen = NewWaveImage(16, 2, 192000, 2);
  const int16_t values[4] = {-32768, 32767, 1, -2};
  std::memcpy(sixteen.data() + 44, values, sizeof values);
  TWaveDecode b = Decode(sixteen);
  ASSERT_TRUE(b.wave);
  EXPECT_EQ(std::make_tuple(b.wave->samples, b.wave->frames, int(b.wave->channels), b.wave->rate),
            std::make_tuple(std::vector<int16_t>{-32768, 32767, 1, -2}, 2u, 2, 192000u));
}

TEST(WaveTest, RejectsBrokenHeadersBeforeTrustingThem) {
  struct Case {
    const char* what;
    std::function<void(std::vector<uint8_t>&)> damage;
    const char* message;
  };
  const Case cases[] = {
      {"RIFF size one byte more", [](auto& v) { Put32(v, 4, uint32_t(v.size() - 8 + 1)); },
       kWaveNotWave},
      {"RIFF size one byte less", [](auto& v) { Put32(v, 4, uint32_t(v.size() - 8 - 1)); },
       kWaveNotWave},
      {"shorter than a header", [](auto& v) { v.resize(43), Put32(v, 4, 35); }, kWaveNotWave},
      {"no RIFF", [](auto& v) { v[0] = 'X'; }, kWaveNotWave},
      {"no WAVE", [](auto& v) { v[8] = 'X'; }, kWaveNotWave},
      {"no fmt", [](auto& v) { v[12] = 'X'; }, kWaveNotWave},
      {"format chunk too small", [](auto& v) { Put32(v, 16, 14); }, kWaveNotWave},
      {"format chunk past the end", [](auto& v) { Put32(v, 16, 0xFFFFFFF0); }, kWaveNotWave},
      {"no data chunk", [](auto& v) { v[36] = 'X'; }, kWaveNotWave},
      {"12 bits", [](auto& v) { Put16(v, 34, 12); }, kWaveNotSupported},
      {"0 bits", [](auto& v) { Put16(v, 34, 0); }, kWaveNotSupported},
      {"no channel", [](auto& v) { Put16(v, 22, 0); }, kWaveNotSupported},
      {"six channels", [](auto& v) { Put16(v, 22, 6), Put16(v, 32, 12); }, kWaveNotSupported},
      {"rate 999", [](auto& v) { Put32(v, 24, 999); }, kWaveNotSupported},
      {"rate 192001", [](auto& v) { Put32(v, 24, 192001); }, kWaveNotSupported},
      {"block size 0", [](auto& v) { Put16(v, 32, 0); }, kWaveNotSupported},
      {"block size 3 for 16-bit stereo", [](auto& v) { Put16(v, 32, 3); }, kWaveNotSupported},
      {"not PCM", [](auto& v) { Put16(v, 20, 3); }, kWaveNotSupported},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<uint8_t> image = Wave(16, 2, 8);
    c.damage(image);
    TWaveDecode result = Decode(image);
    EXPECT_TRUE(!result.wave && result.messages == std::vector<std::string>{c.message});
  }
}

TEST(WaveTest, RepairsADataSizeLargerThanTheFile) {
  for (uint32_t claimed : {21u, 0xFFFFFFFFu}) {
    SCOPED_TRACE(claimed);
    std::vector<uint8_t> image = Wave(8, 1, 20);
    Put32(image, 40, claimed);
    TWaveDecode result = Decode(image);
    ASSERT_TRUE(result.wave);
    EXPECT_EQ(result.messages, std::vector<std::string>{kWaveRepaired});
    // the bytes that are there play
    EXPECT_EQ(std::make_pair(result.wave->dataSize, result.wave->frames), std::make_pair(20u, 20u));
  }
  // A smaller data size is taken as it stands; a half frame at the end is not played.
  std::vector<uint8_t> image = Wave(16, 2, 4);
  Put32(image, 40, 10);
  TWaveDecode result = Decode(image);
  ASSERT_TRUE(result.wave);
  EXPECT_TRUE(result.messages.empty() && result.wave->frames == 2u);
}

TEST(WaveTest, FourBitWavesAreKeptButNotPlayable) {
  std::vector<uint8_t> image = Wave(4, 1, 100);
  Put16(image, 20, 0x11);  // IMA ADPCM
  Put16(image, 32, 256);
  Put32(image, 40, 5000);  // more than the file holds: limited, not reported
  TWaveDecode result = Decode(image);
  ASSERT_TRUE(result.wave);
  EXPECT_EQ(std::make_tuple(result.messages.empty(), int(result.wave->bits),
                            result.wave->Playable(), result.wave->samples.size()),
            std::make_tuple(true, 4, false, size_t(0)));
}

TEST(WaveTest, FindsTheDataChunkAfterOtherChunks) {
  // fmt chunk of 18 bytes, then an odd-sized LIST chunk with its pad byte, then data.
  std::vector<uint8_t> image(20 + 18 + 8 + 3 + 1 + 8 + 4, 0);
  std::memcpy(image.data(), "RIFF", 4);
  Put32(image, 4, uint32_t(image.size() - 8));
  std::memcpy(image.data() + 8, "WAVEfmt ", 8);
  Put32(image, 16, 18);
  Put16(image, 20, 1), Put16(image, 22, 1), Put32(image, 24, 8000), Put32(image, 28, 16000);
  Put16(image, 32, 2), Put16(image, 34, 16);
  std::memcpy(image.data() + 38, "LIST", 4);
  Put32(image, 42, 3);
  std::memcpy(image.data() + 50, "data", 4);
  Put32(image, 54, 4);
  Put16(image, 58, 0x1234), Put16(image, 60, 0xFFFF);
  TWaveDecode result = Decode(image);
  ASSERT_TRUE(result.wave);
  EXPECT_EQ(result.wave->samples, (std::vector<int16_t>{0x1234, -1}));
}

class WaveFileTest : public test::HeadlessTest {};

TEST_F(WaveFileTest, LoadShowsEachMessageWithTheFileNameButNotAMissingFile) {
  const std::string bad = dir.File("bad.wav"), repaired = dir.File("repaired.wav");
  std::vector<uint8_t> image = Wave(8, 1, 10);
  Put32(image, 4, uint32_t(image.size() - 8 + 1));
  test::WriteAll(bad, image);
  image = Wave(8, 1, 10);
  Put32(image, 40, 11);
  test::WriteAll(repaired, image);

  bool unreadable = true;
  EXPECT_FALSE(LoadWave(bad, &unreadable) || unreadable);
  std::shared_ptr<TWave> wave = LoadWave(repaired);
  ASSERT_TRUE(wave);
  EXPECT_EQ(wave->frames, 10u);
  EXPECT_TRUE(!LoadWave(dir.File("none.wav"), &unreadable) && unreadable);
  EXPECT_EQ(headless.log, (std::vector<std::string>{
                              "file error: File Error: File is not wave\r\n" + bad,
                              "file error: File Error: Wave data bytes repaired\r\n" + repaired,
                          }));
  ASSERT_EQ(headless.fileErrors.size(), 2u);
  EXPECT_FALSE(headless.fileErrors[0].retryOffered);
}

}  // namespace
}  // namespace kelvra
