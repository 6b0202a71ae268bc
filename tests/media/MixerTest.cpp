// The mixer on known vectors: volumes in 1/1024, both channels of mono and stereo waves at
// the output rate and resampled, sums and clamping, mono averaging, the 8- and 16-bit output
// conversions, buffer arithmetic, and the request queue used from another thread.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <tuple>
#include <vector>

#include "Waves.h"
#include "media/Mixer.h"

namespace kelvra {
namespace {

using test::ConstantWave;
using test::Wave;

TOutputFormat Format(bool bits16, bool stereo, int rate = 22050) {
  TOutputFormat f;
  f.rate = rate;
  f.bits16 = bits16;
  f.stereo = stereo;
  return f;
}

// The samples of `frames` frames; a guard sample after them must stay untouched.
std::vector<int16_t> Mix16(TMixer& mixer, int frames, bool stereo = true) {
  std::vector<int16_t> out(size_t(frames) * (stereo ? 2 : 1) + 1, 0x5A5A);
  mixer.Mix(Format(true, stereo), out.data(), frames);
  EXPECT_EQ(out.back(), 0x5A5A) << "written past the buffer";
  out.pop_back();
  return out;
}

TEST(MixerTest, BufferLengthAndSize) {
  // 551.25, 1102.5 (halves away from zero), 275.625, 0.5 and 0.475 frames
  EXPECT_EQ(std::make_tuple(BufferFrames(22050), BufferFrames(44100), BufferFrames(11025),
                            BufferFrames(20), BufferFrames(19)),
            std::make_tuple(551, 1103, 276, 1, 0));
  EXPECT_EQ(
      std::make_tuple(BufferBytes(Format(true, true), 551), BufferBytes(Format(false, true), 551),
                      BufferBytes(Format(false, false), 551)),
      std::make_tuple(2204, 1102, 551));
}

TEST(MixerTest, OutputSampleConversions) {
  struct Case {
    int32_t v;
    uint8_t eight;
    int16_t sixteen;
  };
  const Case cases[] = {
      {-32768, 0, -32768}, {32767, 255, 32767}, {0, 128, 0},         {-1, 127, -1},
      {255, 128, 255},     {256, 129, 256},     {-40000, 0, -32768}, {40000, 255, 32767},
      {-32769, 0, -32768}, {-33024, 0, -32768},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.v);
    EXPECT_EQ(std::make_pair(OutputSample8(c.v), OutputSample16(c.v)),
              std::make_pair(c.eight, c.sixteen));
  }
}

TEST(MixerTest, VolumesScaleEachChannelTruncatingTowardZero) {
  struct Case {
    int16_t value;
    int left, right;
    int16_t outLeft, outRight;
  };
  const Case cases[] = {
      {8000, 512, 0, 4000, 0},     {8000, 0, 512, 0, 4000},           {8000, 256, 256, 2000, 2000},
      {-1001, 3, 1024, -2, -1001}, {32767, 1024, 1024, 32767, 32767}, {-3, 1, 1, 0, 0},
      {100, 2000, -5, 100, 0},  // volumes are limited to 0..1024
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.value) + " at " + std::to_string(c.left) + "/" +
                 std::to_string(c.right));
    TMixer mixer;
    ASSERT_TRUE(mixer.Play(ConstantWave(c.value, 2), c.left, c.right));
    EXPECT_EQ(Mix16(mixer, 2),
              (std::vector<int16_t>{c.outLeft, c.outRight, c.outLeft, c.outRight}));
  }
}

// Left at full volume, right at half, so that a sample landing in the wrong channel shows.
// A slower wave is interpolated halfway between its frames and its last frame held; a faster
// one skips frames; then silence.
TEST(MixerTest, EachChannelGetsItsOwnSamplesAtEveryRate) {
  struct Case {
    const char* what;
    std::shared_ptr<TWave> wave;
    std::vector<int16_t> out;  // 16-bit stereo at 22050 Hz, left then right
  };
  const Case cases[] = {
      {"mono", Wave({1000, -2000, 3000}), {1000, 500, -2000, -1000, 3000, 1500, 0, 0}},
      {"stereo", Wave({100, 200, -300, 400, 500, -600}, 2), {100, 100, -300, 200, 500, -300, 0, 0}},
      {"mono at half the rate",
       Wave({0, 1000, -1000}, 1, 11025),
       {0, 0, 500, 250, 1000, 500, 0, 0, -1000, -500, -1000, -500, 0, 0}},
      {"stereo at half the rate",
       Wave({0, 2000, 1000, 0, -1000, 400}, 2, 11025),
       {0, 1000, 500, 500, 1000, 0, 0, 100, -1000, 200, -1000, 200, 0, 0}},
      {"mono at twice the rate",
       Wave({0, 100, 200, 300, 400, 500, 600, 700, 800, 900, 1000, 1100}, 1, 44100),
       {0, 0, 200, 100, 400, 200, 600, 300, 800, 400, 1000, 500, 0, 0}},
      {"stereo at twice the rate",
       Wave({10, 20, 30, 40, 50, 60}, 2, 44100),
       {10, 10, 50, 30, 0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TMixer mixer;
    ASSERT_TRUE(mixer.Play(c.wave, 1024, 512));
    EXPECT_EQ(Mix16(mixer, int(c.out.size() / 2)), c.out);
    EXPECT_EQ(mixer.ActiveVoices(), 0);
  }
}

TEST(MixerTest, VoicesSumAndClampAtTheSampleRange) {
  TMixer mixer;
  for (int i = 0; i < 4; ++i) mixer.Play(ConstantWave(30000, 2), 1024, 1024);
  mixer.Play(ConstantWave(-30000, 2), 1024, 0);
  EXPECT_EQ(Mix16(mixer, 2), std::vector<int16_t>(4, 32767));  // left 90000, right 120000

  TMixer low;
  for (int i = 0; i < 3; ++i) low.Play(ConstantWave(-20000, 1), 1024, 1024);
  uint8_t eight[3] = {1, 1, 0x5A};  // the last one a guard
  low.Mix(Format(false, true), eight, 1);
  EXPECT_EQ(std::vector<uint8_t>(eight, eight + 3), (std::vector<uint8_t>{0, 0, 0x5A}));
}

TEST(MixerTest, MonoOutputAveragesTheChannelSums) {
  TMixer mixer;
  mixer.Play(ConstantWave(8000, 2), 512, 0);                              // left 4000, right 0
  mixer.Play(ConstantWave(-301, 2), 0, 1024);                             // right -301
  EXPECT_EQ(Mix16(mixer, 2, false), (std::vector<int16_t>{1849, 1849}));  // (4000 - 301) / 2

  TMixer odd;
  odd.Play(ConstantWave(-3, 1), 1024, 0);
  EXPECT_EQ(Mix16(odd, 1, false)[0], -1);  // -3 / 2 toward zero

  TMixer eight;
  eight.Play(ConstantWave(32767, 1), 1024, 1024);
  uint8_t out8[2] = {0, 0x5A};
  eight.Mix(Format(false, false), out8, 1);
  EXPECT_EQ(std::vector<uint8_t>(out8, out8 + 2), (std::vector<uint8_t>{255, 0x5A}));
}

TEST(MixerTest, AVoiceThatSpansBuffersGoesOnWhereItStopped) {
  TMixer mixer;
  mixer.Play(ConstantWave(7, 700), 1024, 1024);
  Mix16(mixer, 551);
  EXPECT_EQ(mixer.ActiveVoices(), 1);
  std::vector<int16_t> out = Mix16(mixer, 551);
  EXPECT_EQ(std::make_tuple(out[2 * 148], out[2 * 149], mixer.ActiveVoices()),
            std::make_tuple(int16_t(7), int16_t(0), 0));
}

TEST(MixerTest, StopAllEndsEveryVoiceAskedForBefore) {
  TMixer mixer;
  mixer.Play(ConstantWave(100, 1000), 1024, 1024);
  Mix16(mixer, 10);
  mixer.Play(ConstantWave(100, 1000), 1024, 1024);  // still in the queue
  mixer.StopAll();
  mixer.Play(ConstantWave(5, 1000), 1024, 1024);  // after the stop: plays
  EXPECT_EQ(Mix16(mixer, 2)[0], 5);
  EXPECT_EQ(mixer.ActiveVoices(), 1);
}

TEST(MixerTest, RequestsBeyondTheQueueOrTheVoicesAreDropped) {
  TMixer mixer;
  int accepted = 0;
  for (int i = 0; i < TMixer::kQueueSize + 5; ++i)
    accepted += mixer.Play(ConstantWave(1, 100), 1024, 1024);
  EXPECT_EQ(accepted, TMixer::kQueueSize);
  Mix16(mixer, 1);
  for (int i = 0; i < 10; ++i) mixer.Play(ConstantWave(1, 100), 1024, 1024);
  Mix16(mixer, 1);
  EXPECT_EQ(mixer.ActiveVoices(), TMixer::kMaxVoices);

  EXPECT_FALSE(mixer.Play(nullptr, 512, 512));
  auto fourBit = std::make_shared<TWave>();
  fourBit->bits = 4;
  EXPECT_FALSE(mixer.Play(fourBit, 512, 512));
}

// Voices asked for on one thread while another mixes: every request either plays or is
// dropped whole (run under ThreadSanitizer to check the handover).
TEST(MixerTest, RequestsFromAnotherThreadReachTheMixer) {
  TMixer mixer;
  std::atomic<bool> done{false};
  std::thread audio([&] {
    std::vector<int16_t> out(2 * 551);
    while (!done.load()) mixer.Mix(Format(true, true), out.data(), 551);
    mixer.Mix(Format(true, true), out.data(), 551);
  });
  auto wave = ConstantWave(1, 300);
  for (int i = 0; i < 20000; ++i) {
    mixer.Play(wave, 512, 512);
    if (i % 1000 == 999) mixer.StopAll();
  }
  done.store(true);
  audio.join();
  EXPECT_LE(mixer.ActiveVoices(), TMixer::kMaxVoices);
}

}  // namespace
}  // namespace kelvra
