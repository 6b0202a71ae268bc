// The FluidSynth music player: the soundfont search, silent play without a soundfont, and
// with one play, pause with position, resume and the end of a piece, ".rmi" files too.
#include <QtTest>
#include <string>
#include <vector>

#include "TestUtil.h"
#include "shell/MusicPlayer.h"

using namespace kelvra;

namespace {

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

Bytes Rmi(const Bytes& smf) {
  auto le32 = [](Bytes& b, uint32_t v) {
    for (int i = 0; i < 4; ++i) b.push_back(uint8_t(v >> (8 * i)));
  };
  Bytes b = {'R', 'I', 'F', 'F'};
  le32(b, uint32_t(4 + 8 + smf.size()));
  b.insert(b.end(), {'R', 'M', 'I', 'D', 'd', 'a', 't', 'a'});
  le32(b, uint32_t(smf.size()));
  b.insert(b.end(), smf.begin(), smf.end());
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

class MusicPlayerTest : public QObject {
  Q_OBJECT

 private slots:
  void theSoundfontSearchTakesTheFirstReadableFile() {
    test::TempDir dir;
    test::WriteAll(dir.File("empty.sf2"), {});
    test::WriteAll(dir.File("real.sf2"), {'R', 'I', 'F', 'F'});
    QCOMPARE(FindSoundFont({}), std::string());
    QCOMPARE(FindSoundFont({dir.File("none.sf2"), dir.File("empty.sf2")}), std::string());
    QCOMPARE(FindSoundFont({dir.File("none.sf2"), dir.File("real.sf2")}), dir.File("real.sf2"));
    QVERIFY(!DefaultSoundFontPaths().empty());
  }

  void withoutASoundfontMusicIsSilentAndSaidOnce() {
    test::TempDir dir;
    test::WriteAll(dir.File("a.mid"), TwoBeats());
    TMusicPlayer player({dir.File("none.sf2")});
    QStringList reports;
    player.report = [&](const std::string& text) { reports << QString::fromStdString(text); };
    QVERIFY(player.Open(dir.File("a.mid")));
    player.Play(0);
    QVERIFY(player.Playing());
    QCOMPARE(Render(player, 4), 0);
    QCOMPARE(player.PositionMs(), int64_t(0));
    QVERIFY(player.Open(dir.File("a.mid")));
    QCOMPARE(reports.size(), 1);
    QVERIFY(reports[0].contains("soundfont"));
  }

  void filesThatAreNotMusicDoNotOpen() {
    test::TempDir dir;
    test::WriteAll(dir.File("text.mid"), {'h', 'e', 'l', 'l', 'o'});
    test::WriteAll(dir.File("empty.rmi"), {});
    TMusicPlayer player({dir.File("none.sf2")});
    player.report = [](const std::string&) {};
    QVERIFY(!player.Open(dir.File("text.mid")));
    QVERIFY(!player.Open(dir.File("empty.rmi")));
    QVERIFY(!player.Open(dir.File("missing.mid")));
    QVERIFY(!player.Loaded());
  }

  void playsPausesResumesAndEnds() {
    if (FindSoundFont(DefaultSoundFontPaths()).empty())
      QSKIP("no General MIDI soundfont installed");
    test::TempDir dir;
    test::WriteAll(dir.File("a.rmi"), Rmi(TwoBeats()));
    TMusicPlayer player;
    player.SetRate(kRate);
    QVERIFY(player.Open(dir.File("a.rmi")));
    QVERIFY(player.WaitUntilLoaded());
    QVERIFY(player.Loaded());
    QVERIFY(!player.Playing());

    player.Play(0);
    QVERIFY(Render(player, 10) > 0);  // 250 ms of the chord
    QCOMPARE(player.PositionMs(), int64_t(10 * kBlock * 1000 / kRate));

    player.Stop();
    const int64_t paused = player.PositionMs();
    QVERIFY(!player.Playing());
    QCOMPARE(Render(player, 4), 0);
    QCOMPARE(player.PositionMs(), paused);

    player.Play(paused);
    QVERIFY(player.Playing());
    QVERIFY(Render(player, 4) > 0);
    QVERIFY(!player.TakeEnded());
    int blocks = 0;
    while (!player.TakeEnded() && blocks < 200) blocks += (Render(player, 1), 1);
    // 1000 ms in all: 350 were played, the rest comes to 26 or 27 blocks.
    QVERIFY2(blocks >= 25 && blocks <= 28, qPrintable(QString::number(blocks)));
    QVERIFY(!player.Playing());
    QVERIFY(!player.TakeEnded());

    // Played from its end, a piece ends at once; closing drops an end not yet taken.
    player.Play(5000);
    Render(player, 1);
    player.Close();
    QVERIFY(!player.TakeEnded());
    QVERIFY(!player.Loaded());
  }
};

QTEST_MAIN(MusicPlayerTest)
#include "MusicPlayerTest.moc"
