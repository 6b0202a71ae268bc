// The SDL2 sound output end to end: effects played through the Qt platform services land
// in SDL's "disk" driver's file with their stereo levels; a missing device is said once.
// The FluidSynth music player: silent play without a soundfont, and
// with one play, pause with position, resume and the end of a piece.
#include <QtTest>
#include <cstring>

#include "TestUtil.h"
#include "base/IOError.h"
#include "common/Com.h"
#include "common/Settings.h"
#include "common/Sounds.h"
#include "media/Mixer.h"
#include "media/Waves.h"
#include "shell/AudioOutput.h"
#include "shell/MusicPlayer.h"
#include "shell/QtPlatform.h"

using namespace kelvra;

namespace {

using test::ConstantWave;

// The number of frames of a raw 16-bit stereo capture equal to (left, right); -1 when a
// frame is neither that nor silence.
int Count16(const std::vector<uint8_t>& raw, int16_t left, int16_t right) {
  int match = 0;
  for (size_t i = 0; i + 4 <= raw.size(); i += 4) {
    int16_t f[2];
    std::memcpy(f, raw.data() + i, 4);
    if (f[0] == left && f[1] == right)
      ++match;
    else if (f[0] != 0 || f[1] != 0)
      return -1;
  }
  return match;
}

using Bytes = std::vector<uint8_t>;

// Division 96, 120 beats per minute: a chord held for two beats, ending at 1000 ms.
Bytes TwoBeats() {
  const Bytes track = {
      0x00, 0xC0, 0x00,  // piano
      0x00, 0x90, 0x3C, 0x70, 0x00, 0x40, 0x70, 0x00,
      0x43, 0x70, 0x81, 0x40, 0x80, 0x3C, 0x00,  // 192 ticks later: off
      0x00, 0x40, 0x00, 0x00, 0x43, 0x00,        // running status
      0x00, 0xFF, 0x2F, 0x00,
  };
  Bytes b = {'M', 'T', 'h', 'd', 0,   0,   0,   6, 0, 0, 0,
             1,   0,   96,  'M', 'T', 'r', 'k', 0, 0, 0, uint8_t(track.size())};
  b.insert(b.end(), track.begin(), track.end());
  return b;
}

constexpr int kRate = 22050;
constexpr int kBlock = 551;  // 25 ms

// Renders `blocks` blocks as the audio thread does; returns the peak level.
int Render(TMusicPlayer& player, int blocks) {
  std::vector<int32_t> mixed(2 * kBlock);
  int peak = 0;
  for (int b = 0; b < blocks; ++b) {
    std::fill(mixed.begin(), mixed.end(), 0);
    player.Render(mixed.data(), kBlock, kRate);
    for (int32_t v : mixed) peak = std::max(peak, std::abs(v));
  }
  return peak;
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
    qputenv("SDL_AUDIODRIVER", "dummy");
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
    PlaySound(gkBrickfall, 19, 0);  // Brickfall's left edge: left 512, right 0
    QTRY_COMPARE_WITH_TIMEOUT(Count16(test::ReadAll(capture), 4000, 0), 2205, 10000);
    CloseSoundOutput();
    SetPlatform(nullptr);
  }

  void aMissingDeviceOrSoundfontIsSaidOnceAndPlayIsSilent() {
    qputenv("SDL_AUDIODRIVER", "no-such-driver");
    TMixer mixer;
    TAudioOutput output(mixer, nullptr);
    QStringList reports;
    output.report = [&](const std::string& text) { reports << QString::fromStdString(text); };
    TOutputFormat format;
    for (int i = 0; i < 2; ++i) QVERIFY(!output.OpenEffects(format));
    QVERIFY(!output.SetMusicActive(true, format));
    mixer.Play(ConstantWave(1, 10), 512, 512);  // nothing mixes it, nothing waits for it
    output.CloseEffects();
    QCOMPARE(reports, QStringList({reports.value(0)}));
    QVERIFY2(reports[0].startsWith("WaveOutOpen ("), qPrintable(reports[0]));

    // Without a soundfont, music opens and plays silently, said once too; bad files fail.
    test::TempDir dir;
    test::WriteAll(dir.File("a.mid"), TwoBeats());
    test::WriteAll(dir.File("text.mid"), {'h', 'e', 'l', 'l', 'o'});
    TMusicPlayer player({dir.File("none.sf2")});
    player.report = output.report;
    QVERIFY(!player.Open(dir.File("text.mid")));
    for (int i = 0; i < 2; ++i) QVERIFY(player.Open(dir.File("a.mid")));
    player.Play(0);
    QCOMPARE(Render(player, 4), 0);
    QCOMPARE(reports.size(), 2);
    QVERIFY(reports[1].contains("soundfont"));
  }

  void playsPausesResumesAndEnds() {
    if (FindSoundFont(DefaultSoundFontPaths()).empty())
      QSKIP("no General MIDI soundfont installed");
    test::TempDir dir;
    test::WriteAll(dir.File("a.mid"), TwoBeats());
    TMusicPlayer player;
    player.SetRate(kRate);
    QVERIFY(player.Open(dir.File("a.mid")));
    QVERIFY(player.WaitUntilLoaded());
    player.Play(0);
    QVERIFY(Render(player, 10) > 0);  // 250 ms of the chord
    QCOMPARE(player.PositionMs(), int64_t(10 * kBlock * 1000 / kRate));
    player.Stop();
    const int64_t paused = player.PositionMs();
    QCOMPARE(Render(player, 4), 0);
    player.Play(paused);
    int blocks = 0;
    while (!player.TakeEnded() && blocks < 200) blocks += (Render(player, 1), 1);
    // 1000 ms in all: 250 were played, the rest comes to 30 or 31 blocks.
    QVERIFY2(blocks >= 29 && blocks <= 32, qPrintable(QString::number(blocks)));
    QVERIFY(!player.Playing());
  }
};

QTEST_MAIN(AudioOutputTest)
#include "AudioOutputTest.moc"
