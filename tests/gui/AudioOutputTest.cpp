// The SDL2 sound output end to end: effects played through the Qt platform services land
// in SDL's "disk" driver's file with their stereo levels; a missing device is said once.
#include <QtTest>
#include <cstdlib>
#include <cstring>

#include "TestUtil.h"
#include "base/IOError.h"
#include "common/Com.h"
#include "common/Settings.h"
#include "common/Sounds.h"
#include "media/Mixer.h"
#include "shell/AudioOutput.h"
#include "shell/QtPlatform.h"

using namespace kelvra;

namespace {

std::shared_ptr<TWave> ConstantWave(int16_t value, int frames) {
  auto w = std::make_shared<TWave>();
  w->bits = 16;
  w->blockAlign = 2;
  w->rate = 22050;
  w->frames = uint32_t(frames);
  w->dataSize = uint32_t(2 * frames);
  w->samples.assign(size_t(frames), value);
  return w;
}

// Counts the frames of a raw 16-bit stereo capture equal to (left, right), and those that
// are neither that nor silence.
void Count16(const std::vector<uint8_t>& raw, int16_t left, int16_t right, int& match, int& other) {
  match = other = 0;
  for (size_t i = 0; i + 4 <= raw.size(); i += 4) {
    int16_t f[2];
    std::memcpy(f, raw.data() + i, 4);
    if (f[0] == left && f[1] == right)
      ++match;
    else if (f[0] != 0 || f[1] != 0)
      ++other;
  }
}

}  // namespace

class AudioOutputTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    gOptions = TOptions{};
    gSounds = TSounds{};
    gCom.kind = gkBrickfall;
    ResetIOErrors();
  }
  void cleanup() {
    gSounds = TSounds{};
    qunsetenv("SDL_AUDIODRIVER");
    qunsetenv("SDL_DISKAUDIOFILE");
  }

  void anEffectReachesTheDeviceWithItsStereoLevels() {
    test::TempDir dir;
    const std::string capture = dir.File("out.raw");
    qputenv("SDL_AUDIODRIVER", "disk");
    qputenv("SDL_DISKAUDIOFILE", capture.c_str());
    QtPlatform platform;
    SetPlatform(&platform);

    gOptions.sound16bits = 1;
    gSounds.wave[19] = ConstantWave(8000, 2205);  // 100 ms
    QVERIFY(OpenSoundOutput());
    QCOMPARE(Audio().output.BufferFrames(), 551);
    PlaySound(gkBrickfall, 19, 0);  // Brickfall's left edge: left 512, right 0
    int match = 0, other = 0;
    QTRY_VERIFY_WITH_TIMEOUT(
        (Count16(test::ReadAll(capture), 4000, 0, match, other), match == 2205), 10000);
    CloseSoundOutput();
    Count16(test::ReadAll(capture), 4000, 0, match, other);
    QCOMPARE(match, 2205);
    QCOMPARE(other, 0);

    // 8-bit mono, unplaced: both channels at 512, averaged, then (v + 32768) / 256.
    gOptions.sound16bits = 0;
    gOptions.soundStereo = 0;
    ClearSoundMarks();
    QVERIFY(OpenSoundOutput());
    PlaySound(gkBrickfall, 19);
    auto count8 = [&](uint8_t value) {
      std::vector<uint8_t> raw = test::ReadAll(capture);
      return int(std::count(raw.begin(), raw.end(), value));
    };
    QTRY_COMPARE_WITH_TIMEOUT(count8(143), 2205, 10000);
    CloseSoundOutput();
    std::vector<uint8_t> raw = test::ReadAll(capture);
    QCOMPARE(int(raw.size()) - count8(143), count8(128));  // silence elsewhere
    SetPlatform(nullptr);
  }

  void aMissingDeviceIsSaidOnceAndTheProgramGoesOnSilently() {
    qputenv("SDL_AUDIODRIVER", "no-such-driver");
    TMixer mixer;
    TAudioOutput output(mixer, nullptr);
    QStringList reports;
    output.report = [&](const std::string& text) { reports << QString::fromStdString(text); };
    TOutputFormat format;
    QVERIFY(!output.OpenEffects(format));
    QVERIFY(!output.OpenEffects(format));
    QVERIFY(!output.SetMusicActive(true, format));
    QVERIFY(!output.IsOpen());
    QCOMPARE(reports.size(), 1);
    QVERIFY2(reports[0].startsWith("WaveOutOpen ("), qPrintable(reports[0]));
    mixer.Play(ConstantWave(1, 10), 512, 512);  // nothing mixes it, nothing waits for it
    output.CloseEffects();
  }

  void theDummyDriverRunsTheCallbackWithoutBlockingTheCaller() {
    qputenv("SDL_AUDIODRIVER", "dummy");
    TMixer mixer;
    TAudioOutput output(mixer, nullptr);
    TOutputFormat format;
    format.rate = 44100;
    QVERIFY(output.OpenEffects(format));
    QCOMPARE(output.BufferFrames(), 1103);
    // The effects and the music share the device: closing one keeps it for the other.
    QVERIFY(output.SetMusicActive(true, format));
    output.CloseEffects();
    QVERIFY(output.IsOpen());
    output.SetMusicActive(false, format);
    QVERIFY(!output.IsOpen());
  }
};

QTEST_MAIN(AudioOutputTest)
#include "AudioOutputTest.moc"
