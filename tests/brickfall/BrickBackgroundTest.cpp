// The Brickfall background: the picture lookup ("jpg" before "bmp", case ignored as a
// fallback), scaling to the field, keeping the previous picture, refusing damaged and huge
// files, textured backgrounds with the brick pattern, and the drawing of every kind.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <filesystem>

#include "HeadlessTest.h"
#include "base/IOError.h"
#include "base/Paths.h"
#include "brickfall/BrickBackground.h"
#include "brickfall/BrickLevel.h"
#include "brickfall/BrickPictures.h"
#include "common/Com.h"
#include "media/Textures.h"

namespace kelvra {
namespace {

class BrickBackground : public test::HeadlessTest {
 protected:
  void SetUp() override {
    HeadlessTest::SetUp();
    ResetCom();
    SetProgramDir(dir.path());
    std::filesystem::create_directories(dir.File("Levels/Brickfall"));
    std::filesystem::create_directories(dir.File("Graphics/Brickfall"));
    gBrickBackground = TBrickBackground{};
    gBrickPictures.brickPattern.reset();
    NewBrickLevel(level);
  }
  void TearDown() override {
    gBrickBackground = TBrickBackground{};
    gBrickPictures.brickPattern.reset();
    SetProgramDir("./");
    HeadlessTest::TearDown();
  }

  std::string Levels(const std::string& name) { return dir.File("Levels/Brickfall/" + name); }

  void WritePicture(const std::string& path, int w, int h, uint32_t colour, bool jpeg) {
    TKBitmap b(w, h);
    FillBitmap(b, colour, ef16);
    std::vector<uint8_t> bytes;
    if (jpeg)
      ASSERT_TRUE(EncodeJpeg(b, 95, bytes));
    else
      bytes = EncodeBmp(b);
    test::WriteAll(path, bytes);
  }

  void SetPicture(const std::string& name) {
    level.f.backgroundKind = 4;
    std::memset(level.f.backgroundPicture, 0, sizeof level.f.backgroundPicture);
    level.f.backgroundPicture[0] = uint8_t(name.size());
    std::memcpy(level.f.backgroundPicture + 1, name.data(), std::min<size_t>(name.size(), 95));
  }

  static bool Near(uint32_t a, uint32_t b, int tolerance) {
    return std::abs(RedOf(a) - RedOf(b)) <= tolerance &&
           std::abs(GreenOf(a) - GreenOf(b)) <= tolerance &&
           std::abs(BlueOf(a) - BlueOf(b)) <= tolerance;
  }

  TLevel level;
};

TEST_F(BrickBackground, PictureNamesLoseTheirFolderAndExtension) {
  const std::pair<const char*, const char*> cases[] = {{"Sea", "Sea"},
                                                       {"Sea.jpg", "Sea"},
                                                       {"Pics\\Sea.BMP", "Sea"},
                                                       {"C:\\a.b\\Dawn", "Dawn"},
                                                       {"x/y/Dawn.old.jpg", "Dawn.old"},
                                                       {"", ""},
                                                       {"dir\\", ""},
                                                       {".jpg", ""}};
  for (auto [name, stem] : cases) {
    SetPicture(name);
    EXPECT_EQ(BrickBackgroundStem(level.f), stem) << name;
  }
  // A length byte beyond the field's 95 characters reads no further than the field.
  std::memset(level.f.backgroundPicture, 'A', sizeof level.f.backgroundPicture);
  level.f.backgroundPicture[0] = 255;
  EXPECT_EQ(BrickBackgroundStem(level.f), std::string(95, 'A'));
  SetPicture("Se");
  level.f.backgroundPicture[3] = 'a';  // past the length: not part of the name
  EXPECT_EQ(BrickBackgroundStem(level.f), "Se");
  SetPicture(std::string("Se\0a", 4));
  EXPECT_EQ(BrickBackgroundStem(level.f), "Se");
}

TEST_F(BrickBackground, JpegIsLookedUpBeforeBmpAndCaseIsIgnoredAsAFallback) {
  EXPECT_EQ(FindBrickBackground("Sea"), "");
  EXPECT_EQ(FindBrickBackground(""), "");
  WritePicture(Levels("Sea.bmp"), 8, 8, RGB(0, 0, 255), false);
  EXPECT_EQ(FindBrickBackground("Sea"), Levels("Sea.bmp"));
  WritePicture(Levels("SEA.JPG"), 8, 8, RGB(0, 0, 255), true);
  EXPECT_EQ(FindBrickBackground("Sea"), Levels("SEA.JPG"));  // any jpg before the bmp
  WritePicture(Levels("Sea.jpg"), 8, 8, RGB(0, 0, 255), true);
  EXPECT_EQ(FindBrickBackground("Sea"), Levels("Sea.jpg"));  // the exact name first
  EXPECT_EQ(FindBrickBackground("sea"), Levels("SEA.JPG"));
  std::filesystem::create_directories(Levels("Dir.jpg"));  // a folder is no picture
  WritePicture(Levels("Dir.bmp"), 8, 8, RGB(0, 0, 255), false);
  EXPECT_EQ(FindBrickBackground("dir"), Levels("Dir.bmp"));
}

TEST_F(BrickBackground, PicturesAreScaledToTheFieldAndAMissingOneKeepsThePrevious) {
  WritePicture(Levels("Red.bmp"), 64, 48, RGB(200, 0, 0), false);
  WritePicture(Levels("Exact.bmp"), 512, 384, RGB(0, 200, 0), false);
  SetPicture("Pics\\Red.png");
  PrepareBrickBackground(level);
  const TKBitmap& p = gBrickBackground.picture;
  ASSERT_EQ(p.Width(), 512);
  ASSERT_EQ(p.Height(), 384);
  EXPECT_EQ(p.Pixel(0, 0), RGB(200, 0, 0));
  EXPECT_EQ(p.Pixel(511, 383), RGB(200, 0, 0));

  SetPicture("Missing");
  PrepareBrickBackground(level);
  EXPECT_EQ(p.Pixel(300, 200), RGB(200, 0, 0));
  EXPECT_TRUE(headless.fileErrors.empty());  // a missing picture is no error

  SetPicture("Exact");
  PrepareBrickBackground(level);
  EXPECT_EQ(p.Pixel(300, 200), RGB(0, 200, 0));
  EXPECT_TRUE(headless.fileErrors.empty());
}

TEST_F(BrickBackground, DamagedAndHugePicturesAreRefusedAndThePreviousStays) {
  WritePicture(Levels("Good.jpg"), 512, 384, RGB(0, 0, 200), true);
  SetPicture("Good");
  PrepareBrickBackground(level);
  const uint32_t good = gBrickBackground.picture.Pixel(10, 10);
  ASSERT_TRUE(Near(good, RGB(0, 0, 200), 4));

  test::WriteText(Levels("Junk.jpg"), "not a picture at all");
  SetPicture("Junk");
  PrepareBrickBackground(level);
  EXPECT_EQ(headless.fileErrors.size(), 1u);  // reported, then given up
  EXPECT_EQ(gBrickBackground.picture.Pixel(10, 10), good);

  // Headers that declare pictures far beyond what a background may be: refused before
  // anything is decoded.
  std::vector<uint8_t> bmp = EncodeBmp(TKBitmap(2, 2));
  const int32_t big = 20000;
  std::memcpy(bmp.data() + 18, &big, 4);
  std::memcpy(bmp.data() + 22, &big, 4);
  test::WriteAll(Levels("Huge.bmp"), bmp);
  const std::vector<uint8_t> jpeg = {0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x04, 0x00,
                                     0x00, 0xFF, 0xC0, 0x00, 0x0B, 0x08, 0x7F,
                                     0xFF, 0x7F, 0xFF, 0x01, 0x01, 0x11, 0x00};
  test::WriteAll(Levels("Huge2.jpg"), jpeg);
  for (const char* name : {"Huge", "Huge2"}) {
    const size_t before = headless.fileErrors.size();
    SetPicture(name);
    PrepareBrickBackground(level);
    EXPECT_EQ(headless.fileErrors.size(), before + 1) << name;
    ASSERT_FALSE(gIOError.history.empty());
    EXPECT_NE(gIOError.history.back().find("too large"), std::string::npos)
        << gIOError.history.back();
    EXPECT_EQ(gBrickBackground.picture.Pixel(10, 10), good);
  }
}

TEST_F(BrickBackground, TexturesAreFoldedIntoTheTenAndCoveredWithTheBrickPattern) {
  level.f.backgroundKind = 3;
  TKBitmap expected(512, 384);
  for (int32_t number : {2, 12, -8, INT_MIN}) {  // INT_MIN folds to 2 as well
    level.f.backgroundTexture = number;
    gBrickBackground = TBrickBackground{};
    PrepareBrickBackground(level);
    MakeTexture(expected, 2);
    EXPECT_EQ(std::memcmp(gBrickBackground.picture.Bits(), expected.Bits(),
                          size_t(expected.Stride()) * 384),
              0)
        << number;
  }
  EXPECT_EQ(gBrickBackground.preparedTexture, 2);

  // With a pattern of white, every pixel is at least three quarters white (mode 12).
  TKBitmap white(4, 4);
  FillBitmap(white, RGB(255, 255, 255), ef16);
  test::WriteAll(dir.File("Graphics/Brickfall/Brick.bmp"), EncodeBmp(white));
  gBrickBackground = TBrickBackground{};
  gBrickPictures.brickPattern.reset();
  level.f.backgroundTexture = 9;
  PrepareBrickBackground(level);
  MakeTexture(expected, 9);
  for (auto [x, y] : {std::pair{0, 0}, {511, 383}, {200, 100}}) {
    const uint32_t t = expected.Pixel(x, y), p = gBrickBackground.picture.Pixel(x, y);
    EXPECT_EQ(RedOf(p), (RedOf(t) + 3 * 255) / 4);
    EXPECT_EQ(BlueOf(p), (BlueOf(t) + 3 * 255) / 4);
  }
}

TEST_F(BrickBackground, EachKindDrawsOnlyInsideTheField) {
  const TRect& f = gCom.k[gkBrickfall].field;
  TKBitmap frame(640, 440);
  auto reset = [&] { FillBitmap(frame, RGB(100, 100, 100), ef16); };

  reset();
  level.f.backgroundKind = 1;
  level.f.backgroundColour = RGB(200, 0, 50);
  level.f.backgroundEffect = 8;  // average
  DrawBrickBackground(frame, level);
  EXPECT_EQ(frame.Pixel(f.left, f.top), RGB(150, 50, 75));
  EXPECT_EQ(frame.Pixel(f.right, f.bottom), RGB(150, 50, 75));
  EXPECT_EQ(frame.Pixel(f.left - 1, f.top), RGB(100, 100, 100));
  EXPECT_EQ(frame.Pixel(f.right + 1, f.bottom + 1), RGB(100, 100, 100));
  EXPECT_EQ(frame.clipX1, 0);  // the caller's clip comes back
  EXPECT_EQ(frame.clipX2, 639);

  reset();
  level.f.backgroundEffect = 200;         // beyond the modes: drawn opaque
  level.f.backgroundColour = 0xAB0000FF;  // junk above 24 bits: its colour part
  DrawBrickBackground(frame, level);
  EXPECT_EQ(frame.Pixel(f.left + 5, f.top + 5), RGB(255, 0, 0));

  reset();
  level.f.backgroundKind = 2;
  level.f.backgroundColour = 0;  // the hue wheel, turning with the frame counter
  gCom.frameCounter = 1;
  DrawBrickBackground(frame, level);
  EXPECT_EQ(frame.Pixel(f.left, f.top), SpectrumColor(32));
  gCom.frameCounter = 0xFFFFFFFFu;  // (2^32 - 1) * 32 mod 1530, without overflow
  DrawBrickBackground(frame, level);
  EXPECT_EQ(frame.Pixel(f.right, f.top), SpectrumColor(int(uint64_t(0xFFFFFFFFu) * 32 % 1530)));
  level.f.backgroundColour = RGB(0, 0, 240);
  DrawBrickBackground(frame, level);
  EXPECT_EQ(frame.Pixel(f.left, f.top), RGB(0, 0, 240));
  EXPECT_EQ(frame.Pixel(f.left, f.bottom), RGB(0, 0, 60));
  EXPECT_EQ(frame.Pixel(f.left, f.bottom + 1), RGB(100, 100, 100));

  // A picture kind with nothing prepared clears the field; a prepared one is drawn at the
  // field's corner in the level's mode.
  reset();
  level.f.backgroundKind = 4;
  level.f.backgroundEffect = 16;
  DrawBrickBackground(frame, level);
  EXPECT_EQ(frame.Pixel(f.left + 9, f.top + 9), 0u);
  WritePicture(Levels("Corner.bmp"), 512, 384, RGB(0, 0, 0), false);
  SetPicture("Corner");
  PrepareBrickBackground(level);
  PutPixel(gBrickBackground.picture, 0, 0, RGB(1, 2, 3), ef16);
  PutPixel(gBrickBackground.picture, 511, 383, RGB(4, 5, 6), ef16);
  reset();
  frame.SetClip(0, 0, 300, 439);  // drawing also keeps within the caller's clip
  DrawBrickBackground(frame, level);
  EXPECT_EQ(frame.Pixel(f.left, f.top), RGB(1, 2, 3));
  EXPECT_EQ(frame.Pixel(f.right, f.bottom), RGB(100, 100, 100));
  frame.ResetClip();
  DrawBrickBackground(frame, level);
  EXPECT_EQ(frame.Pixel(f.right, f.bottom), RGB(4, 5, 6));

  reset();
  for (uint8_t kind : {0, 5, 255}) {  // other kinds draw nothing
    level.f.backgroundKind = kind;
    DrawBrickBackground(frame, level);
    PrepareBrickBackground(level);
  }
  EXPECT_EQ(frame.Pixel(f.left + 9, f.top + 9), RGB(100, 100, 100));
}

// The scenes made with the program's data: found by their bare names, exactly field-sized
// (so they are drawn without resampling), and dark enough that bright walls and balls stand
// out in front of them.
TEST(BackgroundPictures, TheGeneratedScenesAreFieldSizedAndQuiet) {
  SetProgramDir(std::string(KELVRA_TEST_DATA_DIR) + "/");
  for (const char* name : {"Dawn", "Nebula", "Mountains", "Sea", "Aurora", "Desert"}) {
    SCOPED_TRACE(name);
    const std::string file = FindBrickBackground(name);
    ASSERT_EQ(file, ProgramDir() + "Levels/Brickfall/" + name + ".jpg");
    const std::vector<uint8_t> bytes = test::ReadAll(file);
    TKBitmap b;
    std::string error;
    ASSERT_TRUE(DecodeJpeg(bytes.data(), bytes.size(), b, error)) << error;
    EXPECT_EQ(b.Width(), kBackgroundWidth);
    EXPECT_EQ(b.Height(), kBackgroundHeight);
    double sum = 0;
    int bright = 0;
    for (int y = 0; y < b.Height(); ++y)
      for (int x = 0; x < b.Width(); ++x) {
        const uint32_t c = b.Pixel(x, y);
        const int v = (RedOf(c) + GreenOf(c) + BlueOf(c)) / 3;
        sum += v;
        bright += v > 200;
      }
    EXPECT_LT(sum / (b.Width() * b.Height()), 110.0);
    EXPECT_LT(bright, b.Width() * b.Height() / 100);  // highlights stay small: moon, sun, stars
  }
  SetProgramDir("./");
}

}  // namespace
}  // namespace kelvra
