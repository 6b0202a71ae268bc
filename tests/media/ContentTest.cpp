// The generated data tree: every file the program loads is there, pictures have the sizes
// the games rely on, waves and MIDI files read back, and generation is repeatable.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
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
  files.push_back(kData + "Graphics/Logo.bmp");
  for (const char* name : {"Bubble0", "Bubble2", "Rain0", "Rain2", "Snow0", "Snow3", "Brick"})
    files.push_back(kData + "Graphics/Brickfall/" + name + ".bmp");
  for (const char* name : {"NextLevel", "IncScore1", "SwapControls"})  // first and last bonus
    files.push_back(kData + "Graphics/Bonuses/" + name + ".bmp");
  for (const std::string& f : files) EXPECT_TRUE(fs::is_regular_file(f)) << f;
  const std::string html = test::ReadText(kData + "ReadMe.htm");
  EXPECT_NE(html.find("</html>"), std::string::npos);
  EXPECT_EQ(html.find("@VERSION@"), std::string::npos);
}

TEST(Content, MusicListHasBothKindsOfFile) {
  const std::vector<std::string> list = BuildMusicList(kData + "Sounds/Music/");
  ASSERT_GE(list.size(), 4u);
  EXPECT_EQ(fs::path(list.front()).extension(), ".mid");  // ".mid" first, then ".rmi"
  EXPECT_EQ(fs::path(list.back()).extension(), ".rmi");
}

// The sizes the games draw with, and the top-left pixel: the key colour (see-through), black
// (drawn additively) or anything else (solid).
TEST(Content, PicturesHaveTheSizesAndCornersTheGamesRelyOn) {
  constexpr uint32_t kKey = 0x800080, kSolid = 1, kAny = 2;
  struct Case {
    std::vector<std::string> files;
    int width, height;
    uint32_t corner;
  };
  std::vector<std::string> cursors, enemies;
  for (const char* c : kCursors) cursors.push_back(kData + "Graphics/Cursors/" + c + ".bmp");
  for (int k = 0; k < 3; ++k)
    enemies.push_back(kData + "Graphics/Brickfall/Enem" + std::to_string(k) + ".bmp");
  const Case cases[] = {
      {cursors, 16, 16, kAny},
      {{kData + "Graphics/Cursors/Default.bmp"}, 16, 16, kSolid},  // the hot spot
      {Frames("Explos", 21), 32, 32, kKey},
      {Frames("Fire", 14), 32, 48, 0},
      {enemies, 0, 0, kKey},
  };
  for (const Case& c : cases)
    for (const std::string& f : c.files) {
      const TKBitmap b = LoadBmp(f);
      EXPECT_TRUE(!c.width || (b.Width() == c.width && b.Height() == c.height)) << f;
      if (c.corner == kSolid) {
        EXPECT_NE(b.Pixel(0, 0), kKey) << f;
      } else if (c.corner != kAny) {
        EXPECT_EQ(b.Pixel(0, 0), c.corner) << f;
      }
    }
}

uint32_t Le16(const std::vector<uint8_t>& b, size_t at) {
  return uint32_t(b[at] | b[at + 1] << 8);
}

// 16-bit mono 22050 Hz PCM with the canonical 44-byte header that the program's reader takes
// without a message; short, normalised without clipping, faded in and out.
TEST(Content, WavesAreShortCleanPcmThatTheReaderTakes) {
  for (const std::string& path : SoundFiles()) {
    SCOPED_TRACE(path);
    const std::vector<uint8_t> w = test::ReadAll(path);
    ASSERT_GT(w.size(), 44u);
    EXPECT_EQ(Le16(w, 24) | Le16(w, 26) << 16, 22050u);  // Hz
    EXPECT_EQ(Le16(w, 40) | Le16(w, 42) << 16, w.size() - 44);
#ifdef KELVRA_HAVE_WAVE_READER
    const TWaveDecode d = DecodeWave(w.data(), w.size());
    ASSERT_TRUE(d.wave);
    EXPECT_TRUE(d.messages.empty()) << d.messages.front();
    EXPECT_EQ(d.wave->bits, 16);
#endif
    const size_t n = (w.size() - 44) / 2;
    EXPECT_GT(n, 22050u / 40);  // at least 25 ms
    EXPECT_LT(n, 22050u * 3);
    int peak = 0;
    for (size_t i = 0; i < n; ++i)
      peak = std::max(peak, std::abs(int(int16_t(Le16(w, 44 + 2 * i)))));
    EXPECT_TRUE(peak > 20000 && peak < 32767) << peak;  // normalised, never clipped
    EXPECT_EQ(Le16(w, 44), 0u);                         // faded in and out: no click
    EXPECT_EQ(Le16(w, w.size() - 2), 0u);
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

// PNG files whose header gives the folder's size and RGBA (icons have see-through corners).
TEST(Content, IconsArePngsOfTheirFolderSize) {
  for (const char* icon : kIconNames)
    for (int size : kIconSizes) {
      const std::string path = kData + "Icons/hicolor/" + std::to_string(size) + "x" +
                               std::to_string(size) + "/" + icon + ".png";
      const std::vector<uint8_t> png = test::ReadAll(path);
      ASSERT_GT(png.size(), 33u) << path;
      EXPECT_EQ(std::string(png.begin() + 1, png.begin() + 4), "PNG") << path;
      EXPECT_EQ(std::string(png.begin() + 12, png.begin() + 16), "IHDR") << path;
      const uint8_t want[] = {0, 0, uint8_t(size >> 8), uint8_t(size)};
      for (int at : {16, 20}) EXPECT_EQ(0, std::memcmp(png.data() + at, want, 4)) << path;
      EXPECT_EQ(png[25], 6) << path;
    }
}

// Brickfall reads its wall list in file-name order; shape 0 is the default set's 32 x 16
// brick. Walls are grey so that the tint decides the hue; magenta marks see-through parts.
TEST(Content, BrickfallWallsAndSpritesSuitTheGame) {
  std::vector<std::string> walls;
  for (const auto& e : fs::directory_iterator(kData + "Graphics/Walls"))
    if (e.path().extension() == ".bmp") walls.push_back(e.path().string());
  std::sort(walls.begin(), walls.end());
  ASSERT_GE(walls.size(), 10u);
  ASSERT_LE(walls.size(), 16u);
  for (size_t i = 0; i < walls.size(); ++i) {
    const TKBitmap b = LoadBmp(walls[i]);
    EXPECT_TRUE(i > 0 || (b.Width() == 32 && b.Height() == 16)) << walls[i];
    EXPECT_LE(b.Width() * b.Height(), 128 * 64) << walls[i];
    for (int y = 0; y < b.Height(); ++y)
      for (int x = 0; x < b.Width(); ++x) {
        const uint32_t c = b.Pixel(x, y);
        EXPECT_TRUE(c == 0x800080 || (RedOf(c) == GreenOf(c) && GreenOf(c) == BlueOf(c)))
            << walls[i];
      }
  }
  int lastWidth = 0;
  for (int size = 0; size < 4; ++size) {  // stored at half the size they play at
    const TKBitmap b = LoadBmp(kData + "Graphics/Brickfall/Player" + std::to_string(size) + ".bmp");
    EXPECT_GT(b.Width(), lastWidth) << size;
    EXPECT_LE(b.Width(), 64) << size;
    lastWidth = b.Width();
  }
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
