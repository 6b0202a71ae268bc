// Monsters' drawing on a sheet made here: the picture of each square, the strip's colours and
// turns, the field's drawing modes, the score graph's limits and the panel's values.
#include "monsters/MonsDraw.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <tuple>

#include "HeadlessTest.h"
#include "base/Paths.h"
#include "common/Options.h"

namespace kelvra {
namespace {

constexpr uint32_t kMarker = 0xFFFFFF;  // top row, third column of every sheet picture
const uint32_t kPlayerColours[4] = {RGB(255, 0, 0), RGB(0, 0, 255), RGB(255, 255, 0),
                                    RGB(255, 0, 255)};

// Sheet picture i: its own colour, a grey band over rows 14..19, a black (transparent) pixel
// at (10, 10) and the marker. Picture 23 (the tunnel's arrow) is black but for its marker.
uint32_t SheetColour(int i) {
  return RGB(20 + 9 * i, 230 - 8 * i, 40 + 5 * i);
}

TKBitmap MakeSheet() {
  TKBitmap sheet(kMonsSheetPictures * 20, 20);
  for (int i = 0; i < kMonsSheetPictures; ++i) {
    const int x = 20 * i;
    if (i != 23) {
      FillRect(sheet, x, 0, x + 19, 19, SheetColour(i), ef16);
      FillRect(sheet, x, 14, x + 19, 19, kMonsSheetGrey, ef16);
    }
    PutPixel(sheet, x + 10, 10, 0, ef16);
    PutPixel(sheet, x + 2, 0, kMarker, ef16);
  }
  return sheet;
}

uint32_t StripPixel(int index, int x, int y) {
  return gMonsPictures.strip.Pixel(20 * index + x, y);
}

class MonsDraw : public test::HeadlessTest {
 protected:
  void SetUp() override {
    test::HeadlessTest::SetUp();
    ResetCom();
    ResetMonsState();
    savedOptions = gOptions;
    gOptions.mons = TMonstersOptions{};
    gCom.k[gkMonsters].playersMinusOne = 1;
    for (int p = 0; p < 4; ++p) gCom.player[p].colour = kPlayerColours[p];
    gMonsPictures.sheet = MakeSheet();
    gMonsPictures.back.SetSize(640, 320);
    for (int y = 0; y < 320; ++y)
      for (int x = 0; x < 640; ++x)
        PutPixel(gMonsPictures.back, x, y, RGB(x & 255, y & 255, 77), ef16);
    BuildMonsPictureStrip();
    frame.SetSize(640, 440);
  }
  void TearDown() override {
    gOptions = savedOptions;
    gMonsPictures = TMonsPictures{};
    gMonsEditorView = TMonsEditorView{};
    InvalidateMonsPanel();
    test::HeadlessTest::TearDown();
  }
  static void Put(int x, int y, uint8_t kind, uint8_t variant = 0, uint8_t direction = 0,
                  uint8_t flash = 0) {
    MonsAt(x, y) = TMonsSquare{kind, variant, direction, 0, flash};
  }
  // A pixel of square (x, y) in the frame.
  uint32_t At(int x, int y, int px, int py) const {
    return frame.Pixel(20 * x + px, kMonsFieldTop + 20 * y + py);
  }
  TOptions savedOptions;
  TKBitmap frame;
};

TEST_F(MonsDraw, SquarePictures) {
  struct Case {
    uint8_t kind, variant, direction, flash;
    int picture;
  };
  // The last seven hold bytes a file may hold that no table may be indexed with: they show as
  // open squares.
  const Case cases[] = {
      {mkNone, 0, 0, 0, 0},     {mkNo, 0, 0, 5, 0},       {mkEarth, 0, 0, 9, 1},
      {mkGate, 0, 0, 0, 2},     {mkGate, 0, 0, 1, 9},     {mkWall, 0, 0, 0, 15},
      {mkMoney, 0, 0, 0, 14},   {mkTunnel, 0, 2, 0, 86},  {mkPit, 0, 0, 0, 13},
      {mkPlayer, 3, 0, 0, 19},  {mkPlayer, 1, 0, 16, 21}, {mkHouse, 2, 0, 16, 30},
      {mkMonster, 0, 0, 0, 36}, {mkMonster, 5, 3, 0, 59}, {mkMonster, 2, 1, 4, 69},
      {mkGhost, 0, 0, 0, 10},   {mkGhost, 0, 0, 2, 11},   {12, 0, 0, 0, 0},
      {255, 0, 0, 16, 0},       {mkPlayer, 4, 0, 0, 0},   {mkHouse, 200, 0, 0, 0},
      {mkMonster, 6, 0, 0, 0},  {mkMonster, 0, 4, 16, 0}, {mkTunnel, 0, 4, 0, 0},
  };
  for (const Case& c : cases) {
    Put(10, 5, c.kind, c.variant, c.direction, c.flash);
    EXPECT_EQ(MonsSquarePicture(10, 5), c.picture) << int(c.kind) << " " << int(c.variant);
  }
  EXPECT_EQ(std::make_tuple(MonsSquarePicture(-1, 5), MonsSquarePicture(32, 0)),
            std::make_tuple(mpOpen, mpOpen));
}

TEST_F(MonsDraw, WallsOnTheBorderOrTouchingAnotherUseTheJoinedPicture) {
  // A wall, the second wall or -1, and the picture.
  const int cases[][5] = {
      {10, 5, -1, -1, 15}, {0, 5, -1, -1, 3},  {31, 5, -1, -1, 3}, {10, 0, -1, -1, 3},
      {10, 15, -1, -1, 3}, {10, 5, 11, 5, 3},  {10, 5, 9, 5, 3},   {10, 5, 10, 4, 3},
      {10, 5, 10, 6, 3},   {10, 5, 11, 6, 15},  // a diagonal neighbour does not join
  };
  for (const auto& [x, y, otherX, otherY, picture] : cases) {
    ResetMonsState();
    Put(x, y, mkWall);
    if (otherX >= 0) Put(otherX, otherY, mkWall);
    EXPECT_EQ(MonsSquarePicture(x, y), picture) << x << "," << y << " " << otherX;
  }
}

TEST_F(MonsDraw, StripTakesThePlayersAndTypesColoursOnTheGreyOnly) {
  struct Case {
    int index, sheet;
    uint32_t grey;  // what the sheet's grey became
  };
  const Case cases[] = {
      {3, 3, kMonsSheetGrey},      {15, 15, kMonsSheetGrey},    {16, 16, kPlayerColours[0]},
      {19, 16, kPlayerColours[3]}, {21, 17, kPlayerColours[1]}, {28, 19, kPlayerColours[0]},
      {35, 20, kPlayerColours[3]}, {36, 21, RGB(0, 255, 0)},    {40, 21, RGB(0, 255, 255)},
      {44, 21, kPlayerColours[0]}, {80, 22, kPlayerColours[3]},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(StripPixel(c.index, 7, 16), c.grey) << c.index;
    EXPECT_EQ(StripPixel(c.index, 7, 5), SheetColour(c.sheet)) << c.index;
    EXPECT_EQ(StripPixel(c.index, 2, 0), kMarker) << c.index;
  }
}

TEST_F(MonsDraw, MonstersAndTunnelsTurnInOppositeSenses) {
  // Direction, and where the marker (2, 0) ends up on the monster and on the tunnel.
  const int cases[][5] = {
      {0, 2, 0, 2, 0}, {1, 0, 17, 19, 2}, {2, 17, 19, 17, 19}, {3, 19, 2, 0, 17}};
  for (const auto& [d, monsterX, monsterY, tunnelX, tunnelY] : cases) {
    EXPECT_EQ(StripPixel(mpMonster + d, monsterX, monsterY), kMarker) << d;
    EXPECT_EQ(StripPixel(mpMonsterHit + 20 + d, monsterX, monsterY), kMarker) << d;
    EXPECT_EQ(StripPixel(mpTunnel + d, tunnelX, tunnelY), kMarker) << d;
    // The arrow's black lets the wall through.
    EXPECT_EQ(StripPixel(mpTunnel + d, 7, 5), SheetColour(3)) << d;
  }
  // A monster facing down (code 1) has its grey band turned onto its right-hand columns.
  EXPECT_EQ(StripPixel(mpMonster + 1, 16, 5), RGB(0, 255, 0));
}

TEST_F(MonsDraw, FieldModesBlackSquaresFlashAndFrames) {
  const uint32_t back55 = gMonsPictures.back.Pixel(20 * 4 + 5, 20 * 3 + 5);
  const uint32_t back1010 = gMonsPictures.back.Pixel(20 * 4 + 10, 20 * 3 + 10);
  const uint32_t trace = SheetColour(8), traceHalf = RGB((RedOf(back55) + RedOf(trace)) / 2,
                                                         (GreenOf(back55) + GreenOf(trace)) / 2,
                                                         (BlueOf(back55) + BlueOf(trace)) / 2);
  struct Case {
    uint8_t black, kind, flash;
    uint32_t at55, at1010;  // pixels (5, 5) and (10, 10) of the square
  };
  const Case cases[] = {
      {0, mkNone, 0, back55, back1010},
      {1, mkNone, 0, SheetColour(0), 0},  // picture 0 instead of the background
      {0, mkNo, 0, SheetColour(0), back1010},
      {0, mkEarth, 0, SheetColour(1), back1010},
      {1, mkEarth, 0, SheetColour(1), 0},
      {0, mkEarth, 16, 0xFFFFFF, RGB(255, 255, 255)},
      {0, mkNone, 16, SheetColour(8), back1010},
      {0, mkNone, 8, traceHalf, back1010},
      {0, mkNone, 200, SheetColour(8), back1010},  // never another drawing mode
      {0, 42, 0, back55, back1010},                // an unknown kind is open
  };
  for (const Case& c : cases) {
    gOptions.mons.blackSquares = c.black;
    Put(4, 3, c.kind, 0, 0, c.flash);
    DrawMonsField(frame);
    EXPECT_EQ(std::make_pair(At(4, 3, 5, 5), At(4, 3, 10, 10)), std::make_pair(c.at55, c.at1010))
        << int(c.kind) << " " << int(c.flash);
  }
  gOptions.mons = TMonstersOptions{};
  Put(4, 3, mkNone);
  gMonsEditorView.selected[MonsIndex(6, 7)] = 1;
  struct Frames {
    uint8_t grating, editor;
    bool plain, selected;  // white corner on (4, 3) and on (6, 7)
  };
  for (const Frames f :
       {Frames{0, 0, false, false}, Frames{1, 0, true, true}, Frames{0, 1, false, true}}) {
    gOptions.mons.grating = f.grating;
    gCom.editorOpen = f.editor;
    DrawMonsFrame(frame);
    EXPECT_EQ(At(4, 3, 0, 0) == 0xFFFFFF, f.plain) << int(f.grating) << int(f.editor);
    EXPECT_EQ(At(6, 7, 19, 19) == 0xFFFFFF, f.selected) << int(f.grating) << int(f.editor);
  }
}

TEST_F(MonsDraw, GraphValuesScaleIn64BitsAndNothingLeavesTheArea) {
  // Low, high, value, and the row drawn (-1: none). Without a range (equal, or a maximum below
  // the minimum) every value is on the bottom row.
  const int32_t cases[][4] = {{INT32_MIN, INT32_MAX, INT32_MIN, 437},
                              {INT32_MIN, INT32_MAX, INT32_MAX, 382},
                              {INT32_MIN, INT32_MAX, 0, 410},
                              {0, 0, 123, 437},
                              {100, -100, 0, 437},
                              {0, 10, 11, -1},
                              {0, 10, -1, -1},
                              {0, 10, 5, 410}};
  DrawMonsStatic(frame);
  const TKBitmap before = frame;
  gMons.game.historyCount = 1, gCom.k[gkMonsters].playersMinusOne = 0;
  for (const auto& [low, high, value, row] : cases) {
    gMons.game.historyMin[0] = low, gMons.game.historyMax[0] = high;
    gMons.history[0].score[0] = value;
    frame = before;
    DrawMonsGraph(frame);
    for (int y = 0; y < 440; ++y)
      for (int x = 0; x < 640; ++x) {
        const bool drawn = frame.Pixel(x, y) != before.Pixel(x, y);
        ASSERT_EQ(drawn, x == 2 && y == row) << low << " " << value << " at " << x << "," << y;
      }
  }
}

TEST_F(MonsDraw, GraphShowsAtMost636StepsAndSilverWhereTwoPlayersMeet) {
  gMons.game.historyMin[0] = 0, gMons.game.historyMax[0] = 55;
  for (TMonsHistoryEntry& e : gMons.history) {
    e.score[0] = (&e - gMons.history) % 2 ? 10 : 20;
    e.score[1] = 20;
  }
  DrawMonsStatic(frame);
  const TKBitmap empty = frame;
  struct Case {
    uint32_t count;
    int lastColumn;  // the last step drawn
  };
  for (const Case c : {Case{635, 636}, Case{636, 637}, Case{UINT32_MAX, 637}}) {
    gMons.game.historyCount = c.count;
    frame = empty;
    DrawMonsGraph(frame);
    EXPECT_NE(frame.Pixel(c.lastColumn, 437 - 20), empty.Pixel(c.lastColumn, 437 - 20)) << c.count;
    EXPECT_EQ(frame.Pixel(c.lastColumn + 1, 437 - 20), empty.Pixel(c.lastColumn + 1, 437 - 20));
  }
  EXPECT_EQ(frame.Pixel(2, 437 - 20), kMonsSilver);        // step 0: both at 20
  EXPECT_EQ(frame.Pixel(3, 437 - 10), kPlayerColours[0]);  // step 1: apart
  EXPECT_EQ(frame.Pixel(3, 437 - 20), kPlayerColours[1]);
}

TEST_F(MonsDraw, PanelShowsTheTurnPlayerRedrawsShortenedValuesAndLeavesTheGameAlone) {
  struct Case {
    uint8_t realTime;
    int32_t current;
    uint32_t colour;  // 0: blank
  };
  for (const Case c :
       {Case{1, 1, 0}, Case{0, 1, kPlayerColours[1]}, Case{0, 9, 0}, Case{1, 0, 0}}) {
    gOptions.mons.realTime = c.realTime, gMons.game.currentPlayer = c.current;
    DrawMonsFrame(frame);
    int lit = 0;
    for (int y = 360; y < 368; ++y)
      for (int x = 472; x < 478; ++x) lit += frame.Pixel(x, y) == c.colour;
    if (c.colour != 0)
      EXPECT_GT(lit, 0) << c.current;
    else
      EXPECT_EQ(lit, 48) << int(c.realTime) << " " << c.current << ": blank on black";
  }
  // A score that shrinks from five characters to one leaves none of the old ones.
  gMons.players[0].score = 88888;
  DrawMonsFrame(frame);
  gMons.players[0].score = 1;
  DrawMonsFrame(frame);
  for (int y = 344; y < 352; ++y)
    for (int x = 2 + 6; x < 50; ++x) ASSERT_EQ(frame.Pixel(x, y), 0u) << x << "," << y;
  // With "Time" on the panel shows the time-adjusted score, which drawing only reads.
  gOptions.mons.times = 1, gMons.players[1].timeScore = 3000;
  TMonsState before;
  std::memcpy(&before, &gMons, sizeof gMons);
  DrawMonsFrame(frame);
  EXPECT_EQ(std::memcmp(&before, &gMons, sizeof gMons), 0);
  const TKBitmap adjusted = frame;
  gOptions.mons.times = 0, gMons.players[1].score = 3000;
  InvalidateMonsPanel();
  DrawMonsFrame(frame);
  for (int x = 2; x < 50; ++x) ASSERT_EQ(frame.Pixel(x, 352 + 3), adjusted.Pixel(x, 352 + 3)) << x;
}

TEST_F(MonsDraw, MissingFilesGiveBlankPicturesOfTheRightSize) {
  SetProgramDir(dir.path());
  LoadMonsPictures();
  SetProgramDir("./");
  EXPECT_EQ(std::make_tuple(headless.fileErrors.size(), gMonsPictures.back.Width(),
                            gMonsPictures.back.Height(), gMonsPictures.strip.Width(),
                            gMonsPictures.strip.Pixel(20 * 87 + 7, 5)),
            std::make_tuple(2u, 640, 320, kMonsPictures * 20, 0u));
  DrawMonsFrame(frame);  // draws on regardless
}

}  // namespace
}  // namespace kelvra
