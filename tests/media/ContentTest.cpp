// The generated data tree: every file the program loads is there, pictures have the sizes
// the games rely on, waves and MIDI files read back, and generation is repeatable.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "TestUtil.h"
#include "base/Paths.h"
#include "common/Sounds.h"
#include "media/KBitmap.h"
#include "media/MidiFile.h"
#include "media/MusicList.h"
#if __has_include("media/Wave.h")
#include "media/Wave.h"
#define KELVRA_HAVE_WAVE_READER 1
#endif

namespace kelvra {
namespace {

namespace fs = std::filesystem;

const std::string kData = std::string(KELVRA_TEST_DATA_DIR) + "/";

// The program's own table of sound files, so that a renamed file or entry shows here.
std::vector<std::string> SoundFiles() {
  std::vector<std::string> out;
  for (const char* n : kSoundFiles) out.push_back(kData + "Sounds/" + NativePath(n) + ".wav");
  return out;
}

std::vector<std::string> Frames(const char* stem, int count) {
  std::vector<std::string> out;
  for (int i = 0; i < count; ++i) {
    char name[64];
    std::snprintf(name, sizeof name, "Graphics/Anim/%s%02d.bmp", stem, i);
    out.push_back(kData + name);
  }
  return out;
}

const char* const kCursors[] = {"Default", "Left", "Right", "Up", "Down"};
const char* const kIconNames[] = {"apps/kelvra", "mimetypes/kelvra-brickfall",
                                  "mimetypes/kelvra-monsters", "mimetypes/kelvra-burrower",
                                  "mimetypes/kelvra-high-scores"};
const int kIconSizes[] = {16, 24, 32, 48, 64, 128, 256};

TKBitmap LoadBmp(const std::string& path) {
  const std::vector<uint8_t> bytes = test::ReadAll(path);
  TKBitmap b;
  std::string error;
  EXPECT_TRUE(DecodeBmp(bytes.data(), bytes.size(), b, error)) << path << ": " << error;
  return b;
}

TEST(Content, EveryFileTheProgramLoadsExists) {
  std::vector<std::string> files = SoundFiles();
  for (const char* c : kCursors) files.push_back(kData + "Graphics/Cursors/" + c + ".bmp");
  for (const auto& f : Frames("Explos", 21)) files.push_back(f);
  for (const auto& f : Frames("Fire", 14)) files.push_back(f);
  files.push_back(kData + "Graphics/Logo.bmp");
  files.push_back(kData + "ReadMe.htm");
  for (const char* icon : kIconNames)
    for (int size : kIconSizes)
      files.push_back(kData + "Icons/hicolor/" + std::to_string(size) + "x" + std::to_string(size) +
                      "/" + icon + ".png");
  for (const std::string& f : files) EXPECT_TRUE(fs::is_regular_file(f)) << f;
}

TEST(Content, MusicListHasBothKindsOfFile) {
  const std::vector<std::string> list = BuildMusicList(kData + "Sounds/Music/");
  ASSERT_GE(list.size(), 4u);
  EXPECT_EQ(fs::path(list.front()).extension(), ".mid");  // ".mid" first, then ".rmi"
  EXPECT_EQ(fs::path(list.back()).extension(), ".rmi");
}

TEST(Content, CursorsAreSmallSquaresWithTheTransparentColour) {
  for (const char* c : kCursors) {
    const TKBitmap b = LoadBmp(kData + "Graphics/Cursors/" + c + ".bmp");
    EXPECT_EQ(b.Width(), 16) << c;
    EXPECT_EQ(b.Height(), 16) << c;
    int key = 0, ink = 0;
    for (int y = 0; y < b.Height(); ++y)
      for (int x = 0; x < b.Width(); ++x) (b.Pixel(x, y) == 0x800080 ? key : ink)++;
    EXPECT_GT(key, 100) << c;  // mostly see-through
    EXPECT_GT(ink, 30) << c;   // but a visible arrow
  }
  // The arrow pointer's hot spot is its top-left pixel.
  EXPECT_NE(LoadBmp(kData + "Graphics/Cursors/Default.bmp").Pixel(0, 0), 0x800080u);
}

TEST(Content, AnimationFramesShareTheirSize) {
  struct TCase {
    const char* stem;
    int count, width, height;
    uint32_t ground;  // what the program treats as empty: the key colour, or black (additive)
  };
  for (const TCase& c : {TCase{"Explos", 21, 32, 32, 0x800080}, TCase{"Fire", 14, 32, 48, 0}}) {
    const std::vector<std::string> frames = Frames(c.stem, c.count);
    std::vector<int> lit;
    for (const std::string& f : frames) {
      const TKBitmap b = LoadBmp(f);
      EXPECT_EQ(b.Width(), c.width) << f;
      EXPECT_EQ(b.Height(), c.height) << f;
      EXPECT_EQ(b.Pixel(0, 0), c.ground) << f;  // corners are empty
      int n = 0;
      for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x) n += b.Pixel(x, y) != c.ground;
      lit.push_back(n);
    }
    if (std::string(c.stem) == "Explos") {
      // Grows to its largest, then burns out.
      const auto peak = std::max_element(lit.begin(), lit.end()) - lit.begin();
      EXPECT_GT(peak, 2);
      EXPECT_LT(peak, 15);
      EXPECT_GT(lit.front(), 0);
      EXPECT_LT(lit.back(), lit[peak] / 10);
    } else {
      for (int n : lit) EXPECT_GT(n, 200);  // every flame frame burns
    }
  }
}

// The canonical 44-byte header of a 16-bit mono 22050 Hz PCM wave, read by hand.
uint32_t Le(const std::vector<uint8_t>& b, size_t at, int n) {
  uint32_t v = 0;
  for (int i = n - 1; i >= 0; --i) v = v << 8 | b[at + i];
  return v;
}

// 16-bit mono 22050 Hz PCM with the canonical 44-byte header: the program's reader takes
// them without a message, and the samples are short, normalised and faded.
TEST(Content, WavesAreShortCleanPcmThatTheReaderTakes) {
  for (const std::string& path : SoundFiles()) {
    SCOPED_TRACE(path);
    const std::vector<uint8_t> w = test::ReadAll(path);
    ASSERT_GT(w.size(), 44u);
    EXPECT_EQ(Le(w, 24, 4), 22050u);  // Hz
    ASSERT_EQ(Le(w, 40, 4), w.size() - 44);
#ifdef KELVRA_HAVE_WAVE_READER
    const TWaveDecode d = DecodeWave(w.data(), w.size());
    ASSERT_TRUE(d.wave);
    EXPECT_TRUE(d.messages.empty()) << d.messages.front();
    EXPECT_TRUE(d.wave->Playable());
    EXPECT_EQ(d.wave->bits, 16);
    EXPECT_EQ(d.wave->frames, (w.size() - 44) / 2);
#endif
    const size_t n = (w.size() - 44) / 2;
    EXPECT_GT(n, 22050u / 40);  // at least 25 ms
    EXPECT_LT(n, 22050u * 3);   // effects are short
    int peak = 0;
    for (size_t i = 0; i < n; ++i)
      peak = std::max(peak, std::abs(int(int16_t(Le(w, 44 + 2 * i, 2)))));
    EXPECT_GT(peak, 20000);               // normalised
    EXPECT_LT(peak, 32767);               // with headroom, never clipped
    EXPECT_EQ(int16_t(Le(w, 44, 2)), 0);  // faded in and out
    EXPECT_EQ(int16_t(Le(w, w.size() - 2, 2)), 0);
  }
}

TEST(Content, MusicLastsOneToThreeMinutesAndLoopsOnABarLine) {
  for (const std::string& path : BuildMusicList(kData + "Sounds/Music/")) {
    SCOPED_TRACE(path);
    const std::vector<uint8_t> raw = test::ReadAll(path);
    const std::vector<uint8_t> smf = UnwrapMidi(raw.data(), raw.size());
    TMidiTiming t;
    ASSERT_TRUE(ReadMidiTiming(smf.data(), smf.size(), t));
    EXPECT_GE(smf[11], 4);  // conductor and at least three instruments
    EXPECT_GE(t.TicksToMs(t.totalTicks), 60000);
    EXPECT_LE(t.TicksToMs(t.totalTicks), 180000);
    EXPECT_EQ(t.totalTicks % (4 * t.division), 0);  // the piece loops without a seam
  }
}

uint32_t Be(const std::vector<uint8_t>& b, size_t at, int n) {
  uint32_t v = 0;
  for (int i = 0; i < n; ++i) v = v << 8 | b[at + i];
  return v;
}

TEST(Content, IconsArePngsOfTheirFolderSize) {
  for (const char* icon : kIconNames)
    for (int size : kIconSizes) {
      const std::string path = kData + "Icons/hicolor/" + std::to_string(size) + "x" +
                               std::to_string(size) + "/" + icon + ".png";
      const std::vector<uint8_t> png = test::ReadAll(path);
      ASSERT_GT(png.size(), 33u) << path;
      EXPECT_EQ(std::vector<uint8_t>(png.begin(), png.begin() + 8),
                (std::vector<uint8_t>{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'}));
      EXPECT_EQ(std::string(png.begin() + 12, png.begin() + 16), "IHDR");
      EXPECT_EQ(Be(png, 16, 4), uint32_t(size)) << path;
      EXPECT_EQ(Be(png, 20, 4), uint32_t(size)) << path;
      EXPECT_EQ(png[25], 6) << path;  // RGBA: icons have see-through corners
      EXPECT_EQ(std::string(png.end() - 8, png.end() - 4), "IEND");
    }
}

// Brickfall reads its wall list in file-name order; shape 0 is the default set's 32 x 16
// brick, and most shapes must be small enough for the ordinary ball to break (2,304 px²).
TEST(Content, BrickfallWallShapesSuitTheSizeClasses) {
  std::vector<std::string> walls;
  for (const auto& e : fs::directory_iterator(kData + "Graphics/Walls"))
    if (e.path().extension() == ".bmp") walls.push_back(e.path().string());
  std::sort(walls.begin(), walls.end());
  ASSERT_GE(walls.size(), 10u);
  ASSERT_LE(walls.size(), 16u);
  int small = 0, withKey = 0;
  for (size_t i = 0; i < walls.size(); ++i) {
    const TKBitmap b = LoadBmp(walls[i]);
    if (i == 0) {
      EXPECT_EQ(b.Width(), 32) << walls[i];
      EXPECT_EQ(b.Height(), 16) << walls[i];
    }
    EXPECT_GE(b.Width(), 8) << walls[i];
    EXPECT_GE(b.Height(), 8) << walls[i];
    EXPECT_LE(b.Width() * b.Height(), 128 * 64) << walls[i];
    small += b.Width() * b.Height() <= 2304;
    // Grey so that the colour tint decides the hue; magenta only outside round shapes.
    bool key = false;
    for (int y = 0; y < b.Height(); ++y)
      for (int x = 0; x < b.Width(); ++x) {
        const uint32_t c = b.Pixel(x, y);
        if (c == 0x800080) {
          key = true;
          continue;
        }
        EXPECT_TRUE(RedOf(c) == GreenOf(c) && GreenOf(c) == BlueOf(c)) << walls[i];
      }
    withKey += key;
  }
  EXPECT_GT(small * 3, int(walls.size()) * 2);
  EXPECT_LT(small, int(walls.size()));                  // a few deliberately tough walls
  EXPECT_NE(LoadBmp(walls[0]).Pixel(0, 0), 0x800080u);  // the plain brick is solid
  EXPECT_LT(withKey, int(walls.size()));
}

TEST(Content, BrickfallSpritesHavePlayableSizes) {
  const std::string dir = kData + "Graphics/Brickfall/";
  int lastWidth = 0;
  for (int size = 0; size < 4; ++size) {  // stored at half the size they play at
    const TKBitmap b = LoadBmp(dir + "Player" + std::to_string(size) + ".bmp");
    EXPECT_GT(b.Width(), lastWidth) << size;
    EXPECT_GT(b.Width(), 2 * b.Height()) << size;
    EXPECT_GE(b.Height(), 4) << size;
    EXPECT_LE(b.Width(), 64) << size;
    lastWidth = b.Width();
  }
  const TKBitmap shot = LoadBmp(dir + "Shot0.bmp");
  EXPECT_GT(shot.Height(), shot.Width());
  EXPECT_LE(shot.Height(), 24);
  int greys = 0;  // the part that takes the player's colour
  for (int y = 0; y < shot.Height(); ++y)
    for (int x = 0; x < shot.Width(); ++x) {
      const uint32_t c = shot.Pixel(x, y);
      greys += RedOf(c) == GreenOf(c) && GreenOf(c) == BlueOf(c);
    }
  EXPECT_GT(greys, 10);
  for (int k = 0; k < 3; ++k) {
    const TKBitmap b = LoadBmp(dir + "Enem" + std::to_string(k) + ".bmp");
    EXPECT_GE(b.Width(), 12) << k;
    EXPECT_LE(b.Width(), 48) << k;
    EXPECT_GE(b.Height(), 12) << k;
    EXPECT_LE(b.Height(), 48) << k;
    EXPECT_EQ(b.Pixel(0, 0), 0x800080u) << k;  // corners see-through
  }
  for (const char* name : {"Bubble0", "Bubble2", "Rain0", "Rain2", "Snow0", "Snow3", "Brick"})
    EXPECT_TRUE(fs::is_regular_file(dir + name + ".bmp")) << name;
  // Bonus pictures carry the kind's name, first and last of the 26.
  for (const char* name : {"NextLevel", "IncScore1", "SwapControls"})
    EXPECT_TRUE(fs::is_regular_file(kData + "Graphics/Bonuses/" + name + ".bmp")) << name;
}

TEST(Content, ManualDescribesTheGamesAndTheirKeys) {
  const std::string html = test::ReadText(kData + "ReadMe.htm");
  EXPECT_EQ(html.find("@VERSION@"), std::string::npos);
  for (const char* s : {"<html", "Brickfall", "Monsters", "Burrower", "level editor", "Keyboard 4",
                        "Num 7", "kelvra.ini", ".HSc", "</html>"})
    EXPECT_NE(html.find(s), std::string::npos) << s;
}

std::map<std::string, std::vector<uint8_t>> ReadTree(const std::string& root) {
  std::map<std::string, std::vector<uint8_t>> files;
  for (const auto& e : fs::recursive_directory_iterator(root))
    if (e.is_regular_file()) files[fs::relative(e.path(), root).string()] = test::ReadAll(e.path());
  return files;
}

TEST(Content, GenerationIsRepeatable) {
  const std::string tool = std::string(KELVRA_TEST_BIN_DIR) + "/kelvra-content";
  ASSERT_TRUE(fs::exists(tool));
  test::TempDir a, b;
  for (const test::TempDir* d : {&a, &b}) {
    const std::string command = "\"" + tool + "\" \"" + d->path() + "\" > /dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0);
  }
  const auto first = ReadTree(a.path()), second = ReadTree(b.path());
  EXPECT_GT(first.size(), 100u);
  ASSERT_EQ(first.size(), second.size());
  for (const auto& [name, bytes] : first) {
    const auto other = second.find(name);
    ASSERT_NE(other, second.end()) << name;
    EXPECT_TRUE(bytes == other->second) << name << " differs between two runs";
  }
  // And the build's own tree is the same generation.
  for (const auto& [name, bytes] : first) {
    if (!fs::exists(kData + name)) continue;
    EXPECT_TRUE(bytes == test::ReadAll(kData + name)) << name;
  }
}

}  // namespace
}  // namespace kelvra
