// The sound effects: stereo placement over each kind's field, the reduce rule over one
// frame, the options, empty and 4-bit slots during play, loading the table with its
// reports, and opening the output.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <tuple>

#include "HeadlessTest.h"
#include "base/Paths.h"
#include "common/Com.h"
#include "common/Settings.h"
#include "common/Sounds.h"
#include "media/Mixer.h"
#include "media/Waves.h"

namespace kelvra {
namespace {

using test::ConstantWave;

class SoundsTest : public test::HeadlessTest {
 protected:
  void SetUp() override {
    HeadlessTest::SetUp();
    gOptions = TOptions{};
    gSounds = TSounds{};
    gCom.kind = gkBrickfall;
    Mixer().StopAll();
    Drain();
  }
  void TearDown() override {
    CloseSoundOutput();
    Drain();
    gSounds = TSounds{};
    HeadlessTest::TearDown();
  }
  // Runs the mixer as the audio thread would; returns the first frame (left, right).
  std::pair<int, int> Drain(int frames = 1) {
    std::vector<int16_t> out(2 * size_t(frames));
    TOutputFormat f;
    f.bits16 = true;
    Mixer().Mix(f, out.data(), frames);
    return {out[0], out[1]};
  }
};

// Brickfall's x is divided by 1024 first; a place outside the field is its nearer edge.
TEST_F(SoundsTest, PlacementAtTheEdgesAndCentreOfEachFieldAndStereoOff) {
  struct Case {
    int kind, x, left, right;
  };
  const Case cases[] = {{gkBrickfall, 0, 512, 0},
                        {gkBrickfall, 512 * 1024, 0, 512},
                        {gkBrickfall, 256 * 1024, 256, 256},
                        {gkBrickfall, 1023, 512, 0},
                        {gkBrickfall, -5000, 512, 0},
                        {gkBrickfall, 2000000000, 0, 512},
                        {gkMonsters, 0, 512, 0},
                        {gkMonsters, 31, 0, 512},
                        {gkMonsters, 15, 264, 247},
                        {gkMonsters, 40, 0, 512},
                        {gkBurrower, 624 * 16, 0, 512},
                        {gkBurrower, 312 * 16, 256, 256},
                        {gkBurrower, 700 * 16, 0, 512},
                        {gkBrickfall, kSoundNoPlace, 512, 512}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.kind) + " at " + std::to_string(c.x));
    int left = -1, right = -1;
    SoundVolumes(c.kind, c.x, left, right);
    EXPECT_EQ(std::make_pair(left, right), std::make_pair(c.left, c.right));
    gOptions.soundStereo = 0;  // stereo off: every effect at 512 on both channels
    SoundVolumes(c.kind, c.x, left, right);
    EXPECT_EQ(left, 512);
    gOptions.soundStereo = 1;
  }
}

TEST_F(SoundsTest, ReduceSoundsPlaysAnIdOncePerDrawnFrame) {
  gSounds.wave[19] = ConstantWave(1000, 100);
  gSounds.wave[20] = ConstantWave(1000, 100);
  gSounds.outputOpen = true;
  struct Case {
    bool reduce;
    int voices;
  };
  for (Case c : {Case{true, 1}, Case{false, 10}}) {
    SCOPED_TRACE(c.reduce);
    gOptions.reduceSounds = c.reduce;
    ClearSoundMarks();
    Mixer().StopAll();
    for (int i = 0; i < 10; ++i) PlaySound(gkBrickfall, 19, 256 * 1024);
    Drain();
    EXPECT_EQ(Mixer().ActiveVoices(), c.voices);
  }
  // Another id in the same frame, and the same id after the frame's marks are cleared.
  gOptions.reduceSounds = 1;
  Mixer().StopAll();
  PlaySound(gkBrickfall, 20, kSoundNoPlace);
  PlaySound(gkBrickfall, 19);
  ClearSoundMarks();
  PlaySound(gkBrickfall, 19);
  Drain();
  EXPECT_EQ(Mixer().ActiveVoices(), 2);
}

TEST_F(SoundsTest, AnEffectReachesTheMixerWithItsVolumes) {
  gSounds.wave[8] = ConstantWave(8000, 10);
  gSounds.outputOpen = true;
  PlaySound(gkBrickfall, 8, 0);
  EXPECT_EQ(Drain(), std::make_pair(4000, 0));
  ClearSoundMarks();
  StopSounds();
  PlaySound(gkBrickfall, 8 + 128, 512 * 1024);  // ids are taken modulo 128
  EXPECT_EQ(Drain(), std::make_pair(0, 4000));
}

// Sounds off, a closed output, empty and 4-bit slots and ids out of range: nothing plays,
// and nothing is said during the game.
TEST_F(SoundsTest, SilentCasesPlayNothingAndShowNoDialog) {
  gSounds.wave[8] = ConstantWave(8000, 10);
  auto fourBit = std::make_shared<TWave>();
  fourBit->bits = 4;
  gSounds.wave[5] = fourBit;
  gOptions.sounds = 0;
  gSounds.outputOpen = true;
  PlaySound(gkBrickfall, 8);
  EXPECT_EQ(gSounds.mark[8], 0);
  gOptions.sounds = 1;
  for (int id : {5, 6, 30, 127, -1}) PlaySound(gkBrickfall, id, 100);
  gSounds.outputOpen = false;
  PlaySound(gkBrickfall, 8);
  EXPECT_EQ(gSounds.mark[8], 1);
  Drain();
  EXPECT_EQ(std::make_pair(Mixer().ActiveVoices(), headless.log.size()),
            std::make_pair(0, size_t(0)));
}

TEST_F(SoundsTest, OpeningTheOutputUsesTheSoundOptions) {
  gOptions.soundFrequency = 44100;
  gOptions.sound16bits = 1;
  gOptions.soundStereo = 0;
  EXPECT_TRUE(OpenSoundOutput());
  EXPECT_EQ(std::make_tuple(headless.soundOpen, headless.soundFrequency, headless.sound16bits,
                            headless.soundStereo, gSounds.outputOpen),
            std::make_tuple(true, 44100, true, false, true));
  CloseSoundOutput();
  EXPECT_FALSE(headless.soundOpen || gSounds.outputOpen);

  headless.soundOpenResult = false;  // no device
  EXPECT_FALSE(OpenSoundOutput());
  EXPECT_FALSE(gSounds.outputOpen);
}

TEST_F(SoundsTest, ARateOutsideTheDevicesRangeIsReportedOnce) {
  gOptions.soundFrequency = 1;  // a buffer of 0 frames
  EXPECT_FALSE(OpenSoundOutput());
  EXPECT_FALSE(OpenSoundOutput());
  EXPECT_EQ(headless.soundOpens, 0);
  EXPECT_EQ(headless.log, std::vector<std::string>{"file error: Internal Error: Play format not "
                                                   "supported (1 Hz is outside 4000..192000 Hz)"});
}

class LoadSoundsTest : public SoundsTest {
 protected:
  void SetUp() override {
    SoundsTest::SetUp();
    saved = ProgramDir();
    SetProgramDir(dir.path());
  }
  void TearDown() override {
    SetProgramDir(saved);
    SoundsTest::TearDown();
  }
  void Write(int id, const std::vector<uint8_t>& image) {
    const std::string name = Name(id);
    std::filesystem::create_directories(std::filesystem::path(name).parent_path());
    test::WriteAll(name, image);
  }
  std::string Name(int id) { return dir.path() + "Sounds/" + NativePath(kSoundFiles[id]) + ".wav"; }

  std::string saved;
};

TEST_F(LoadSoundsTest, LoadsEveryFileAndReportsProblemsOnce) {
  for (int id = 0; id < kSoundCount; ++id) Write(id, NewWaveImage(8, 1, 22050, 50));
  std::vector<uint8_t> fourBit = NewWaveImage(4, 1, 22050, 50);
  Write(5, fourBit);
  std::vector<uint8_t> notWave = NewWaveImage(8, 1, 22050, 50);
  notWave[8] = 'X';
  Write(6, notWave);
  std::filesystem::remove(Name(11));
  std::filesystem::remove(Name(14));

  LoadSounds();
  EXPECT_EQ(headless.log, (std::vector<std::string>{
                              "file error: File Error: Invalid wave format\r\n" + Name(5),
                              "file error: File Error: File is not wave\r\n" + Name(6),
                              "file error: File Error: Wave is empty\r\n" + Name(11),
                          }));
  for (int id = 0; id < kSoundCount; ++id)
    EXPECT_EQ(gSounds.wave[id] == nullptr, id == 6 || id == 11 || id == 14) << id;
  EXPECT_TRUE(gSounds.wave[0]->Playable());
  FreeSounds();
  for (const auto& wave : gSounds.wave) EXPECT_FALSE(wave);
}

}  // namespace
}  // namespace kelvra
