// The mixer on known vectors: volumes in 1/1024, sums and clamping, mono averaging, the 8-
// and 16-bit output conversions, buffer arithmetic, resampling, and the request queue used
// from another thread.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "media/Mixer.h"

namespace kelvra {
namespace {

// A mono or stereo wave of constant value(s), `frames` frames long.
std::shared_ptr<TWave> Constant(int16_t left, int frames, int rate = 22050, int channels = 1,
                                int16_t right = 0) {
  auto w = std::make_shared<TWave>();
  w->bits = 16;
  w->channels = uint16_t(channels);
  w->blockAlign = uint16_t(2 * channels);
  w->rate = uint32_t(rate);
  w->frames = uint32_t(frames);
  w->dataSize = uint32_t(frames * 2 * channels);
  for (int i = 0; i < frames; ++i) {
    w->samples.push_back(left);
    if (channels == 2) w->samples.push_back(right);
  }
  return w;
}

TOutputFormat Format(bool bits16, bool stereo, int rate = 22050) {
  TOutputFormat f;
  f.rate = rate;
  f.bits16 = bits16;
  f.stereo = stereo;
  return f;
}

std::vector<int16_t> Mix16(TMixer& mixer, int frames, bool stereo = true, int rate = 22050) {
  std::vector<int16_t> out(size_t(frames) * (stereo ? 2 : 1));
  mixer.Mix(Format(true, stereo, rate), out.data(), frames);
  return out;
}

TEST(MixerTest, BufferLengthAndSize) {
  EXPECT_EQ(BufferFrames(22050), 551);   // 551.25
  EXPECT_EQ(BufferFrames(44100), 1103);  // 1102.5: halves away from zero
  EXPECT_EQ(BufferFrames(11025), 276);   // 275.625
  EXPECT_EQ(BufferFrames(8000), 200);
  EXPECT_EQ(BufferFrames(20), 1);  // 0.5
  EXPECT_EQ(BufferFrames(19), 0);
  EXPECT_EQ(BufferBytes(Format(true, true), 551), 2204);
  EXPECT_EQ(BufferBytes(Format(false, true), 551), 1102);
  EXPECT_EQ(BufferBytes(Format(false, false), 551), 551);
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
    EXPECT_EQ(OutputSample8(c.v), c.eight);
    EXPECT_EQ(OutputSample16(c.v), c.sixteen);
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
    ASSERT_TRUE(mixer.Play(Constant(c.value, 4), c.left, c.right));
    std::vector<int16_t> out = Mix16(mixer, 4);
    for (int i = 0; i < 4; ++i) {
      EXPECT_EQ(out[2 * i], c.outLeft);
      EXPECT_EQ(out[2 * i + 1], c.outRight);
    }
  }
}

TEST(MixerTest, StereoWavesKeepTheirChannels) {
  TMixer mixer;
  mixer.Play(Constant(1000, 3, 22050, 2, -2000), 1024, 512);
  std::vector<int16_t> out = Mix16(mixer, 3);
  EXPECT_EQ(out, (std::vector<int16_t>{1000, -1000, 1000, -1000, 1000, -1000}));
}

TEST(MixerTest, VoicesSumAndClampAtTheSampleRange) {
  TMixer mixer;
  for (int i = 0; i < 4; ++i) mixer.Play(Constant(30000, 2), 1024, 1024);
  mixer.Play(Constant(-30000, 2), 1024, 0);
  std::vector<int16_t> out = Mix16(mixer, 2);
  EXPECT_EQ(out[0], 32767);  // 90000
  EXPECT_EQ(out[1], 32767);  // 120000

  TMixer low;
  for (int i = 0; i < 3; ++i) low.Play(Constant(-20000, 1), 1024, 1024);
  uint8_t eight[2];
  low.Mix(Format(false, true), eight, 1);
  EXPECT_EQ(eight[0], 0);
  EXPECT_EQ(eight[1], 0);
}

TEST(MixerTest, MonoOutputAveragesTheChannelSums) {
  TMixer mixer;
  mixer.Play(Constant(8000, 2), 512, 0);   // left 4000, right 0
  mixer.Play(Constant(-301, 2), 0, 1024);  // right -301
  std::vector<int16_t> out = Mix16(mixer, 2, false);
  EXPECT_EQ(out, (std::vector<int16_t>{1849, 1849}));  // (4000 - 301) / 2 truncated

  TMixer odd;
  odd.Play(Constant(-3, 1), 1024, 0);
  EXPECT_EQ(Mix16(odd, 1, false)[0], -1);  // -3 / 2 toward zero

  TMixer eight;
  eight.Play(Constant(32767, 1), 1024, 1024);
  uint8_t out8 = 0;
  eight.Mix(Format(false, false), &out8, 1);
  EXPECT_EQ(out8, 255);
}

TEST(MixerTest, VoicesEndAtTheirLastFrameAndSilenceFollows) {
  TMixer mixer;
  mixer.Play(Constant(1000, 3), 1024, 1024);
  std::vector<int16_t> out = Mix16(mixer, 5);
  EXPECT_EQ(out, (std::vector<int16_t>{1000, 1000, 1000, 1000, 1000, 1000, 0, 0, 0, 0}));
  EXPECT_EQ(mixer.ActiveVoices(), 0);
  // A voice that spans buffers goes on where it stopped.
  mixer.Play(Constant(7, 700), 1024, 1024);
  Mix16(mixer, 551);
  EXPECT_EQ(mixer.ActiveVoices(), 1);
  out = Mix16(mixer, 551);
  EXPECT_EQ(out[2 * 148], 7);
  EXPECT_EQ(out[2 * 149], 0);
  EXPECT_EQ(mixer.ActiveVoices(), 0);
}

TEST(MixerTest, ResamplesLinearlyToTheOutputRate) {
  auto ramp = std::make_shared<TWave>(*Constant(0, 3, 11025));
  ramp->samples = {0, 1000, -1000};
  TMixer mixer;
  mixer.Play(ramp, 1024, 1024);
  std::vector<int16_t> out = Mix16(mixer, 7, false, 22050);
  // Twice the rate: every frame, then the midpoint to the next; the last frame is held.
  EXPECT_EQ(out, (std::vector<int16_t>{0, 500, 1000, 0, -1000, -1000, 0}));

  TMixer fast;
  auto twelve = std::make_shared<TWave>(*Constant(0, 12, 44100));
  for (int i = 0; i < 12; ++i) twelve->samples[i] = int16_t(100 * i);
  fast.Play(twelve, 1024, 1024);
  out = Mix16(fast, 7, false, 22050);
  EXPECT_EQ(out, (std::vector<int16_t>{0, 200, 400, 600, 800, 1000, 0}));
}

TEST(MixerTest, StopAllEndsEveryVoiceAskedForBefore) {
  TMixer mixer;
  mixer.Play(Constant(100, 1000), 1024, 1024);
  Mix16(mixer, 10);
  mixer.Play(Constant(100, 1000), 1024, 1024);  // still in the queue
  mixer.StopAll();
  mixer.Play(Constant(5, 1000), 1024, 1024);  // after the stop: plays
  std::vector<int16_t> out = Mix16(mixer, 2);
  EXPECT_EQ(out[0], 5);
  EXPECT_EQ(mixer.ActiveVoices(), 1);
}

TEST(MixerTest, RequestsBeyondTheQueueOrTheVoicesAreDropped) {
  TMixer mixer;
  int accepted = 0;
  for (int i = 0; i < TMixer::kQueueSize + 5; ++i)
    accepted += mixer.Play(Constant(1, 100), 1024, 1024);
  EXPECT_EQ(accepted, TMixer::kQueueSize);
  Mix16(mixer, 1);
  for (int i = 0; i < 10; ++i) mixer.Play(Constant(1, 100), 1024, 1024);
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
  auto wave = Constant(1, 300);
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
