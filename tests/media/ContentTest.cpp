// The generated data tree: every file the program loads is there, pictures have the sizes
// the games rely on, waves read back, and generation is repeatable.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "TestUtil.h"
#include "base/Paths.h"
#include "common/Sounds.h"
#include "media/KBitmap.h"
#include "media/Wave.h"

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

TKBitmap LoadBmp(const std::string& path) {
  const std::vector<uint8_t> bytes = test::ReadAll(path);
  TKBitmap b;
  std::string error;
  EXPECT_TRUE(DecodeBmp(bytes.data(), bytes.size(), b, error)) << path << ": " << error;
  return b;
}

// A JPEG background of the given size, dark enough for the squares drawn over it to read.
void ExpectDarkBackground(const std::string& path, int width, int height) {
  const std::vector<uint8_t> jpeg = test::ReadAll(path);
  TKBitmap back;
  std::string error;
  ASSERT_TRUE(DecodeJpeg(jpeg.data(), jpeg.size(), back, error)) << error;
  ASSERT_EQ(std::make_pair(back.Width(), back.Height()), std::make_pair(width, height)) << path;
  long sum = 0;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const uint32_t c = back.Pixel(x, y);
      sum += std::max({RedOf(c), GreenOf(c), BlueOf(c)});
    }
  EXPECT_LT(sum / (width * height), 64) << path;
}

// The files the program loads read as pictures, of the sizes the games draw with, and with
// the top-left pixel the key colour (see-through), black (drawn additively) or anything
// else (solid).
TEST(Content, PicturesHaveTheSizesAndCornersTheGamesRelyOn) {
  constexpr uint32_t kKey = 0x800080, kSolid = 1, kAny = 2;
  struct Case {
    std::vector<std::string> files;
    int width, height;
    uint32_t corner;
  };
  std::vector<std::string> cursors, enemies, others = {kData + "Graphics/Logo.bmp"};
  for (const char* name : {"Bubble0", "Bubble2", "Rain0", "Rain2", "Snow0", "Snow3", "Brick"})
    others.push_back(kData + "Graphics/Brickfall/" + name + ".bmp");
  for (const char* name : {"NextLevel", "IncScore1", "SwapControls"})  // first and last bonus
    others.push_back(kData + "Graphics/Bonuses/" + name + ".bmp");
  for (const char* c : kCursors) cursors.push_back(kData + "Graphics/Cursors/" + c + ".bmp");
  for (int k = 0; k < 3; ++k)
    enemies.push_back(kData + "Graphics/Brickfall/Enem" + std::to_string(k) + ".bmp");
  const Case cases[] = {
      {cursors, 16, 16, kAny},
      {{kData + "Graphics/Cursors/Default.bmp"}, 16, 16, kSolid},  // the hot spot
      {Frames("Explos", 21), 32, 32, kKey},
      {Frames("Fire", 14), 32, 48, 0},
      {enemies, 0, 0, kKey},
      {others, 0, 0, kAny},
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

// 16-bit PCM that the program's reader takes without a message; short.
TEST(Content, WavesAreShortPcmThatTheReaderTakes) {
  for (const std::string& path : SoundFiles()) {
    SCOPED_TRACE(path);
    const std::vector<uint8_t> w = test::ReadAll(path);
    ASSERT_GT(w.size(), 44u);
    const TWaveDecode d = DecodeWave(w.data(), w.size());
    ASSERT_TRUE(d.wave);
    EXPECT_TRUE(d.messages.empty()) << d.messages.front();
    EXPECT_EQ(d.wave->bits, 16);
    EXPECT_LT((w.size() - 44) / 2, 22050u * 3);
  }
}

// Brickfall reads its wall list in file-name order; shape 0 is the default set's 32 x 16
// brick.
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
  }
  int lastWidth = 0;
  for (int size = 0; size < 4; ++size) {  // stored at half the size they play at
    const TKBitmap b = LoadBmp(kData + "Graphics/Brickfall/Player" + std::to_string(size) + ".bmp");
    EXPECT_GT(b.Width(), lastWidth) << size;
    EXPECT_LE(b.Width(), 64) << size;
    lastWidth = b.Width();
  }
}

// Monsters cuts its sheet into 24 squares of 20 x 20, leaves black out when it draws a square
// over the floor, recolours the grey 0xA8A8A8 of the player and monster pictures, and turns
// the monster (21, 22) and the tunnel arrow (23) by quarter turns.
TEST(Content, MonstersSheetSuitsTheGame) {
  constexpr int kSide = 20;
  constexpr uint32_t kBlack = 0, kOwner = 0xA8A8A8;
  const TKBitmap sheet = LoadBmp(kData + "Graphics/Monsters/Monsters.bmp");
  ASSERT_EQ(sheet.Width(), 24 * kSide);
  ASSERT_EQ(sheet.Height(), kSide);
  const auto at = [&](int picture, int x, int y) { return sheet.Pixel(kSide * picture + x, y); };
  const auto count = [&](int picture, auto&& test) {
    int n = 0;
    for (int y = 0; y < kSide; ++y)
      for (int x = 0; x < kSide; ++x) n += test(at(picture, x, y)) ? 1 : 0;
    return n;
  };
  const auto isBlack = [](uint32_t c) { return c == kBlack; };
  // Earth and gate cover the whole square; walls are drawn without the floor under them, so
  // a see-through pixel would show whatever was drawn there before. The open square is all
  // see-through: a "No" square drawn with it looks open.
  for (int p : {1, 2, 3, 15}) EXPECT_EQ(count(p, isBlack), 0) << "picture " << p;
  EXPECT_EQ(count(0, isBlack), kSide * kSide);
  // Enough of the grey to carry the colour, and no other grey that a tinting recolour would
  // change as well.
  for (int p = 16; p <= 22; ++p) {
    EXPECT_GE(count(p, [](uint32_t c) { return c == kOwner; }), 20) << "picture " << p;
    EXPECT_EQ(count(p,
                    [](uint32_t c) {
                      return c != kBlack && c != kOwner && RedOf(c) == GreenOf(c) &&
                             GreenOf(c) == BlueOf(c);
                    }),
              0)
        << "picture " << p;
  }
  // Pictures that are turned must be their own mirror image about the middle row: the two
  // vertical turns are then each other's mirror and neither looks upside down.
  for (int p : {21, 22, 23})
    for (int y = 0; y < kSide / 2; ++y)
      for (int x = 0; x < kSide; ++x)
        ASSERT_EQ(at(p, x, y), at(p, x, kSide - 1 - y))
            << "picture " << p << " at " << x << ", " << y;

  // Code 0 means heading left, unturned: the monster's open jaws and the arrow's wide head
  // are on the left. A mirrored picture would send every monster and tunnel backwards.
  const auto opaqueInColumn = [&](int picture, int x) {
    int n = 0;
    for (int y = 0; y < kSide; ++y) n += at(picture, x, y) != kBlack ? 1 : 0;
    return n;
  };
  for (int p : {21, 22}) {
    EXPECT_EQ(at(p, 1, kSide / 2), kBlack) << "picture " << p;
    EXPECT_NE(at(p, kSide - 2, kSide / 2), kBlack) << "picture " << p;
  }
  EXPECT_GE(opaqueInColumn(23, 7), 2 * opaqueInColumn(23, 15));
  // The floors behind the fields: the fields' sizes (Burrower's down to its status band). The
  // Burrower sprites are checked as the program loads them (tests/burrower/BurrDrawTest.cpp).
  ExpectDarkBackground(kData + "Graphics/Monsters/Back.jpg", 640, 320);
  ExpectDarkBackground(kData + "Graphics/Burrower/Back.jpg", 640, 348);
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
  EXPECT_TRUE(first == second) << "two runs differ";
  // And the build's own tree is the same generation.
  for (const auto& [name, bytes] : first) {
    if (!fs::exists(kData + name)) continue;
    EXPECT_TRUE(bytes == test::ReadAll(kData + name)) << name;
  }
}

}  // namespace
}  // namespace kelvra
