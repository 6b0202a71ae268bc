// The Brickfall background: the picture lookup ("jpg" before "bmp", case ignored as a
// fallback), scaling to the field, keeping the previous picture, refusing damaged and huge
// files, textured backgrounds with the brick pattern, and the drawing of every kind.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <filesystem>

#include "HeadlessTest.h"
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
    NewBrickLevel(level);
  }
  void TearDown() override {
    gBrickBackground = TBrickBackground{};
    gBrickPictures.brickPattern.reset();
    SetProgramDir("./");
    HeadlessTest::TearDown();
  }

  std::string Levels(const std::string& name) { return dir.File("Levels/Brickfall/" + name); }

  void SetPicture(const std::string& name) {
    level.f.backgroundKind = 4;
    std::memset(level.f.backgroundPicture, 0, sizeof level.f.backgroundPicture);
    level.f.backgroundPicture[0] = uint8_t(name.size());
    std::memcpy(level.f.backgroundPicture + 1, name.data(), std::min<size_t>(name.size(), 95));
  }

  TLevel level;
};

TEST_F(BrickBackground, PictureNamesLoseTheirFolderAndExtension) {
  const std::pair<const char*, const char*> cases[] = {
      {"Pics\\Sea.BMP", "Sea"}, {"x/y/Dawn.old.jpg", "Dawn.old"}, {"dir\\", ""}};
  for (auto [name, stem] : cases) {
    SetPicture(name);
    EXPECT_EQ(BrickBackgroundStem(level.f), stem) << name;
  }
  // A length byte beyond the field's 95 characters reads no further than the field.
  std::memset(level.f.backgroundPicture, 'A', sizeof level.f.backgroundPicture);
  level.f.backgroundPicture[0] = 255;
  EXPECT_EQ(BrickBackgroundStem(level.f), std::string(95, 'A'));
}

TEST_F(BrickBackground, JpegIsLookedUpBeforeBmpAndCaseIsIgnoredAsAFallback) {
  test::WriteText(Levels("Sea.bmp"), "-");
  EXPECT_EQ(FindBrickBackground("Sea"), Levels("Sea.bmp"));
  test::WriteText(Levels("SEA.JPG"), "-");
  EXPECT_EQ(FindBrickBackground("Sea"), Levels("SEA.JPG"));  // any jpg before the bmp
  test::WriteText(Levels("Sea.jpg"), "-");
  EXPECT_EQ(FindBrickBackground("Sea"), Levels("Sea.jpg"));  // the exact name first
  EXPECT_EQ(FindBrickBackground("sea"), Levels("SEA.JPG"));
}

// A picture is scaled to the field; a missing one keeps the previous silently, a damaged or
// huge one is reported (huge ones before anything is decoded) and keeps it too.
TEST_F(BrickBackground, PicturesAreScaledAndABadOneKeepsThePrevious) {
  TKBitmap red(64, 48);
  FillBitmap(red, RGB(200, 0, 0), ef16);
  test::WriteAll(Levels("Red.bmp"), EncodeBmp(red));
  SetPicture("Pics\\Red.png");
  PrepareBrickBackground(level);
  const TKBitmap& p = gBrickBackground.picture;
  ASSERT_EQ(p.Width(), 512);
  ASSERT_EQ(p.Height(), 384);
  EXPECT_EQ(p.Pixel(511, 383), RGB(200, 0, 0));

  test::WriteText(Levels("Junk.jpg"), "not a picture at all");
  std::vector<uint8_t> bmp = EncodeBmp(TKBitmap(2, 2));
  const int32_t big = 20000;
  std::memcpy(bmp.data() + 18, &big, 4);
  std::memcpy(bmp.data() + 22, &big, 4);
  test::WriteAll(Levels("Huge.bmp"), bmp);
  test::WriteAll(Levels("Huge2.jpg"),
                 {0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x04, 0x00, 0x00, 0xFF, 0xC0, 0x00,
                  0x0B, 0x08, 0x7F, 0xFF, 0x7F, 0xFF, 0x01, 0x01, 0x11, 0x00});
  const struct {
    const char* name;
    const char* error;  // nullptr: none
  } cases[] = {{"Missing", nullptr}, {"Junk", ""}, {"Huge", "too large"}, {"Huge2", "too large"}};
  for (const auto& c : cases) {
    headless.ClearLog();
    SetPicture(c.name);
    PrepareBrickBackground(level);
    EXPECT_EQ(p.Pixel(300, 200), RGB(200, 0, 0)) << c.name;
    EXPECT_EQ(headless.fileErrors.size(), c.error ? 1u : 0u) << c.name;
    if (c.error) {
      EXPECT_NE(gIOError.history.back().find(c.error), std::string::npos) << c.name;
    }
  }
}

TEST_F(BrickBackground, TextureNumbersAreFoldedIntoTheTen) {
  level.f.backgroundKind = 3;
  TKBitmap expected(512, 384);
  MakeTexture(expected, 2);
  for (int32_t number : {-8, INT_MIN}) {  // INT_MIN folds to 2 as well
    level.f.backgroundTexture = number;
    gBrickBackground = TBrickBackground{};
    PrepareBrickBackground(level);
    EXPECT_EQ(gBrickBackground.preparedTexture, 2) << number;
  }
  EXPECT_EQ(gBrickBackground.picture.Pixel(200, 100), expected.Pixel(200, 100));
}

TEST_F(BrickBackground, EachKindDrawsOnlyInsideTheField) {
  const TRect& f = gCom.k[gkBrickfall].field;
  TKBitmap frame(640, 440);
  const uint32_t grey = RGB(100, 100, 100);
  FillBitmap(frame, grey, ef16);
  level.f.backgroundKind = 1;
  level.f.backgroundColour = RGB(200, 0, 50);
  level.f.backgroundEffect = 8;  // average
  DrawBrickBackground(frame, level);
  EXPECT_EQ(frame.Pixel(f.right, f.bottom), RGB(150, 50, 75));
  EXPECT_EQ(frame.Pixel(f.right + 1, f.bottom + 1), grey);
  EXPECT_EQ(frame.clipX2, 639);           // the caller's clip comes back
  level.f.backgroundEffect = 200;         // beyond the modes: drawn opaque
  level.f.backgroundColour = 0xAB0000FF;  // junk above 24 bits: its colour part
  DrawBrickBackground(frame, level);
  EXPECT_EQ(frame.Pixel(f.left + 5, f.top + 5), RGB(255, 0, 0));

  // A picture kind with nothing prepared clears the field; a prepared one is drawn at the
  // field's corner, within the caller's clip.
  level.f.backgroundKind = 4;
  level.f.backgroundEffect = 16;
  DrawBrickBackground(frame, level);
  EXPECT_EQ(frame.Pixel(f.left + 9, f.top + 9), 0u);
  gBrickBackground.picture.SetSize(512, 384);
  FillBitmap(gBrickBackground.picture, RGB(1, 2, 3), ef16);
  FillBitmap(frame, grey, ef16);
  frame.SetClip(0, 0, 300, 439);
  DrawBrickBackground(frame, level);
  EXPECT_EQ(frame.Pixel(f.left, f.top), RGB(1, 2, 3));
  EXPECT_EQ(frame.Pixel(f.right, f.bottom), grey);

  FillBitmap(frame, grey, ef16);
  for (uint8_t kind : {0, 5, 255}) {  // other kinds draw nothing
    level.f.backgroundKind = kind;
    DrawBrickBackground(frame, level);
    PrepareBrickBackground(level);
  }
  EXPECT_EQ(frame.Pixel(f.left + 9, f.top + 9), grey);
}

}  // namespace
}  // namespace kelvra
