// The level editor's logic through the headless services: history, level operations, the
// lock, grid square editing, Brickfall wall editing, and long random editing sessions.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <random>

#include "TestUtil.h"
#include "base/FileIO.h"
#include "base/KIniFile.h"
#include "base/Paths.h"
#include "brickfall/BrickDraw.h"
#include "brickfall/BrickPictures.h"
#include "burrower/BurrDraw.h"
#include "common/Com.h"
#include "common/Kinds.h"
#include "common/LevelSet.h"
#include "media/KBitmap.h"
#include "monsters/MonsDraw.h"
#include "monsters/MonsState.h"
#include "platform/Headless.h"
#include "session/Dispatch.h"
#include "session/Editor.h"
#include "session/EditorHistory.h"

namespace kelvra {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes StateBytes(const TWalls& w) {
  const auto* p = reinterpret_cast<const uint8_t*>(w.data());
  return Bytes(p, p + w.size() * sizeof(TWall));
}
template <size_t N>
Bytes StateBytes(const std::array<uint8_t, N>& a) {
  return Bytes(a.begin(), a.end());
}

// Calls f with the level list of `kind`.
template <class F>
decltype(auto) Levels(int kind, F&& f) {
  if (kind == gkMonsters) return f(gMonsLevels);
  if (kind == gkBurrower) return f(gBurrLevels);
  return f(gBrickLevels);
}

class EditorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetCom();
    InstallGames();
    SetProgramDir(dir.path());
    SetPlatform(&platform);
    // Two wall shapes, 32 x 16 and 16 x 8 pixels, without pictures.
    gBrickPictures.shapes = 2;
    gBrickPictures.width[0] = 32, gBrickPictures.height[0] = 16;
    gBrickPictures.width[1] = 16, gBrickPictures.height[1] = 8;
  }
  void TearDown() override {
    for (int k = 0; k < kKinds; ++k) CloseLevelSet(k);
    gBrickPictures.shapes = 0;
    SetPlatform(nullptr);
  }

  // A new set of `levels` empty levels of `kind`, current and open in the editor.
  void Start(int kind, int levels = 1) {
    CloseLevelSet(kind);
    gCom.kind = uint8_t(kind);
    NewLevelSet(kind);
    Levels(kind, [&](auto& list) { list.resize(size_t(levels), list[0]); });  // new levels
    Cur().header.levelCount = levels;
    editor.Open();
  }
  const TEditorView& V() { return editor.View(); }
  int Index() { return Cur().levelIndex; }
  int Count() { return KindLevelCount(gCom.kind); }
  int Position() {
    return Levels(gCom.kind, [&](auto& l) { return HistoryPosition(l[size_t(Index())]); });
  }
  int Length() {
    return Levels(gCom.kind, [&](auto& l) { return HistoryLength(l[size_t(Index())]); });
  }
  Bytes State() {
    return Levels(gCom.kind, [&](auto& l) {
      return StateBytes(l[size_t(Index())].history[size_t(Position())]);
    });
  }

  // Monsters square (x, y): byte b; Burrower: the code.
  uint8_t& Mons(int x, int y, int b = 0) {
    return gMonsLevels[size_t(Index())].Grid()[size_t((x * kMonsRows + y) * 3 + b)];
  }
  uint8_t& Burr(int x, int y) {
    return gBurrLevels[size_t(Index())].Record()[size_t(x * kBurrRows + y)];
  }
  // A press, a drag to and a release on squares, in field pixels of their middles.
  TFieldPoint Square(int x, int y) {
    const TGridGeometry& g = GridGeometry(gCom.kind);
    return {g.cell * x + g.inset + g.size / 2, g.cell * y + g.inset + g.size / 2};
  }
  void DragSquares(int x1, int y1, int x2, int y2, bool ctrl = false) {
    editor.MousePress(0, Square(x1, y1), ctrl);
    editor.MouseMove(Square(x2, y2), ctrl);
    editor.MouseRelease(0, Square(x2, y2), ctrl);
  }
  int SelectedSquares() {
    const TGridGeometry& g = GridGeometry(gCom.kind);
    int n = 0;
    for (int x = 0; x < g.cols; ++x)
      for (int y = 0; y < g.rows; ++y) n += editor.SquareMark(gCom.kind, x, y) == kMarkSelected;
    return n;
  }

  TWalls& Walls() { return gBrickLevels[size_t(Index())].Walls(); }
  void AddWall(int32_t x, int32_t y, uint16_t shape = 0) {
    TWall w{};
    w.x = x, w.y = y, w.shape = shape;
    Walls().push_back(w);
  }
  // A Brickfall level with walls at (x, y) of shape 0 or the one given third.
  void StartWalls(std::initializer_list<std::array<int32_t, 3>> walls) {
    Start(gkBrickfall);
    for (const auto& w : walls) AddWall(w[0], w[1], uint16_t(w[2]));
  }
  void Click(int32_t x, int32_t y, bool ctrl = false) {
    editor.MousePress(0, {x, y}, ctrl);
    editor.MouseRelease(0, {x, y}, ctrl);
  }
  bool LogHas(const std::string& part) {
    for (const std::string& line : platform.log)
      if (line.find(part) != std::string::npos) return true;
    return false;
  }

  test::TempDir dir;
  HeadlessPlatform platform;
  TEditor editor;
};

// One change of the current level's state that any kind takes.
void Change(TEditor& e, int kind) {
  if (kind == gkBrickfall) return e.Command(eiWallPositions);  // always one state
  e.SelectAllSquares();
  if (kind == gkMonsters) return e.Command(eiRotate);
  e.ChooseSquareKind(e.View().squareChoice == 1 ? 2 : 1);
}

// ---- History and level operations ----

TEST_F(EditorTest, UndoRedoCountsAfterChangesUndosAndANewChange) {
  for (int kind : {gkBrickfall, gkMonsters, gkBurrower}) {
    SCOPED_TRACE(kind);
    Start(kind);
    const int before = Length();
    for (int i = 0; i < 3; ++i) Change(editor, kind);
    ASSERT_EQ(Length(), before + 3);
    editor.Command(eiUndo);
    editor.Command(eiUndo);
    EXPECT_EQ(V()[eiUndo].caption + V()[eiRedo].caption,
              "Undo (" + std::to_string(before) + ")Redo (2)");
    Change(editor, kind);
    EXPECT_EQ(std::make_tuple(V()[eiUndo].caption + V()[eiRedo].caption, V()[eiRedo].enabled),
              std::make_tuple("Undo (" + std::to_string(before + 1) + ")Redo (0)", false));
    ClearModified(kind);  // as after a save: the file no longer holds what undo shows
    editor.Command(eiUndo);
    EXPECT_TRUE(Cur().modified);
  }
}

TEST_F(EditorTest, HistoryKeepsTheNewestStatesUpToItsLimit) {
  TBurrLevel level;
  NewBurrLevel(level);
  for (size_t i = 1; i <= kMaxHistoryStates + 10; ++i) {
    PushHistoryState(level);
    level.Record()[0] = uint8_t(i);
  }
  EXPECT_EQ(std::make_tuple(level.history.size(), size_t(level.historyLength),
                            size_t(level.historyIndex), level.Record()[0]),
            std::make_tuple(kMaxHistoryStates, kMaxHistoryStates, kMaxHistoryStates - 1,
                            uint8_t(kMaxHistoryStates + 10)));
  EXPECT_EQ(level.history.front()[0], uint8_t(11));  // the oldest kept
}

TEST_F(EditorTest, PastedLevelUndoesAsFarAsTheCopiedOne) {
  Start(gkMonsters, 2);
  const Bytes first = State();
  for (int i = 0; i < 5; ++i) Change(editor, gkMonsters);
  editor.Command(eiCopyLevel);
  editor.ChooseLevel(1);
  editor.Command(eiPasteLevel);
  EXPECT_EQ(std::make_tuple(Count(), Index(), V()[eiUndo].caption),
            std::make_tuple(3, 2, std::string("Undo (5)")));
  for (int i = 0; i < 5; ++i) editor.Command(eiUndo);
  EXPECT_EQ(State(), first);
  EXPECT_FALSE(V()[eiUndo].enabled);
}

struct DeleteCase {
  int kind, levels, deleted, current;
};

TEST_F(EditorTest, DeleteLevelChoosesTheKindsNextLevel) {
  const DeleteCase cases[] = {
      {gkMonsters, 3, 2, 1},  {gkMonsters, 3, 0, 0},  {gkMonsters, 3, 1, 1},  {gkBurrower, 3, 2, 1},
      {gkBrickfall, 3, 0, 0}, {gkBrickfall, 3, 2, 1}, {gkBrickfall, 3, 1, 0},
  };
  for (const DeleteCase& c : cases) {
    SCOPED_TRACE(testing::Message() << c.kind << " delete " << c.deleted);
    Start(c.kind, c.levels);
    // Each level marked by its undo count: level i has i + 1 states.
    for (int i = 0; i < c.levels; ++i) {
      editor.ChooseLevel(i);
      for (int j = 0; j < i; ++j) Change(editor, c.kind);
    }
    editor.ChooseLevel(c.deleted);
    editor.Command(eiDeleteLevel);
    const int former = c.current < c.deleted ? c.current : c.current + 1;
    EXPECT_EQ(std::make_tuple(Count(), int(Cur().header.levelCount), Index(), Length()),
              std::make_tuple(c.levels - 1, c.levels - 1, c.current, former + 1));
    EXPECT_EQ(V().caption, "Edit Level " + std::to_string(c.current + 1) + " / " +
                               std::to_string(c.levels - 1) + " *");
  }
}

TEST_F(EditorTest, ASetKeepsOneLevel) {
  Start(gkMonsters);
  EXPECT_EQ(std::make_pair(V()[eiDeleteLevel].enabled, V()[eiPasteLevel].enabled),
            std::make_pair(false, false));
  Change(editor, gkMonsters);
  const Bytes state = State();
  editor.Command(eiCutLevel);  // copies, and leaves the only level in place
  EXPECT_EQ(std::make_tuple(Count(), State(), V()[eiPasteLevel].enabled),
            std::make_tuple(1, state, true));
  editor.Command(eiPasteLevel);
  EXPECT_EQ(std::make_tuple(Count(), State(), V()[eiDeleteLevel].enabled),
            std::make_tuple(2, state, true));
}

TEST_F(EditorTest, NewAndPasteLevelStopAtTheFilesLevelLimit) {
  for (int kind : {gkBrickfall, gkMonsters, gkBurrower}) {
    SCOPED_TRACE(kind);
    Start(kind, kMaxLevels - 1);
    editor.Command(eiCopyLevel);
    EXPECT_TRUE(V()[eiNewLevel].enabled && V()[eiPasteLevel].enabled);
    editor.Command(eiPasteLevel);
    EXPECT_EQ(std::make_tuple(Count(), V()[eiNewLevel].enabled, V()[eiPasteLevel].enabled),
              std::make_tuple(kMaxLevels, false, false));
    editor.NewLevel();
    editor.PasteLevel();
    EXPECT_EQ(std::make_pair(Count(), int(Cur().header.levelCount)),
              std::make_pair(kMaxLevels, kMaxLevels));
  }
}

TEST_F(EditorTest, LockIsRefusedOnAModifiedSetAndClosesTheEditorOtherwise) {
  Start(gkBurrower);
  int closes = 0;
  editor.hooks.closeRequested = [&] { ++closes; };
  Change(editor, gkBurrower);
  ASSERT_TRUE(V().caption.ends_with(" *"));
  editor.Command(eiLock);
  EXPECT_TRUE(LogHas("Can not Lock levels"));
  EXPECT_EQ(std::make_pair(Cur().header.lock, closes), std::make_pair(0u, 0));

  ClearModified(gkBurrower);
  editor.Refresh();
  platform.messageAnswers = {MsgButton::Yes};
  editor.Command(eiLock);
  EXPECT_EQ(std::make_tuple(Cur().header.lock, closes, Cur().modified),
            std::make_tuple(kLocked, 1, false));
}

TEST_F(EditorTest, LevelListShowsMonstersNamesAndNumbersOtherwise) {
  Start(gkMonsters, 2);
  platform.textAnswers = {std::string(40, 'c')};  // kept to the name field's 31 characters
  editor.Command(eiLevelName);
  EXPECT_EQ(V().levels, (std::vector<std::string>{std::string(31, 'c'), ""}));
  Start(gkBurrower, 2);
  EXPECT_EQ(V().levels, (std::vector<std::string>{"Level 1", "Level 2"}));
  EXPECT_FALSE(V()[eiLevelName].visible);
}

TEST_F(EditorTest, SettingsKeepTheGridSizeUsable) {
  const std::pair<const char*, int32_t> cases[] = {{"0", 16},  {"-3", 16}, {"1", 1},
                                                   {"32", 32}, {"33", 32}, {"2147483647", 32}};
  for (const auto& [stored, expected] : cases) {
    TKIniFile ini(dir.File("k.ini"));
    ini.Put("Editor", "GridSize", stored);
    TEditorSettings settings;
    EditorSettingsTransfer(ini, false, settings);
    EXPECT_EQ(settings.gridSize, expected) << stored;
    EditorSettingsTransfer(ini, true, settings);
    std::string written;
    ASSERT_TRUE(ini.Find("Editor", "GridSize", written));
    EXPECT_EQ(written, std::to_string(expected));
  }
}

// ---- Grid squares ----

TEST_F(EditorTest, DragSelectsABlockAndCtrlDragTogglesIt) {
  for (int kind : {gkMonsters, gkBurrower}) {
    SCOPED_TRACE(kind);
    Start(kind);
    DragSquares(2, 3, 5, 1);
    EXPECT_EQ(SelectedSquares(), 12);
    for (int x = 2; x <= 5; ++x)
      for (int y = 1; y <= 3; ++y) EXPECT_EQ(editor.SquareMark(kind, x, y), kMarkSelected);
    DragSquares(5, 1, 6, 1, true);
    EXPECT_EQ(std::make_tuple(editor.SquareMark(kind, 5, 1), editor.SquareMark(kind, 6, 1),
                              SelectedSquares()),
              std::make_tuple(kMarkNone, kMarkSelected, 12));
    editor.Command(eiSelectAll);
    DragSquares(0, 0, 1, 0, true);
    const TGridGeometry& g = GridGeometry(kind);
    EXPECT_EQ(SelectedSquares(), g.Squares() - 2);
    editor.Command(eiInvertSelection);
    EXPECT_EQ(SelectedSquares(), 2);
  }
}

// The field draws the selection from the games' view records: a band being dragged shows
// what it would select, and a finished selection stays framed.
TEST_F(EditorTest, TheFieldDrawsTheSelectionAndTheViewSwitches) {
  Start(gkMonsters);
  editor.MousePress(0, Square(2, 3), false);
  editor.MouseMove(Square(3, 3), false);
  EXPECT_EQ(gMonsEditorView.selected[2 * kMonsRows + 3], 1);  // mark 2, in the band
  editor.MouseRelease(0, Square(3, 3), false);
  int framed = 0;
  for (uint8_t s : gMonsEditorView.selected) framed += s;
  EXPECT_EQ(std::make_pair(framed, int(gMonsEditorView.selected[3 * kMonsRows + 3])),
            std::make_pair(2, 1));

  Start(gkBurrower);
  DragSquares(0, 0, 0, 1);
  EXPECT_EQ(gBurrEditorView.selected[1], 1);

  StartWalls({{100, 100}, {200, 100}});
  editor.MousePress(0, {190, 90}, false);
  editor.MouseMove({250, 130}, false);
  EXPECT_EQ(std::make_tuple(bool(gBrickEditorView.band), gBrickEditorView.bandX2,
                            gBrickEditorView.selectedWalls),
            std::make_tuple(true, 250, std::vector<int32_t>{1}));
  editor.MouseRelease(0, {250, 130}, false);
  EXPECT_EQ(std::make_pair(bool(gBrickEditorView.band), gBrickEditorView.selectedWalls),
            std::make_pair(false, std::vector<int32_t>{1}));
  editor.Command(eiGrid);
  EXPECT_EQ(gBrickEditorView.grid, editor.settings.grid);
  editor.SetGridSize(24);
  EXPECT_EQ(gBrickEditorView.gridSize, 24);
}

struct PasteCase {
  int kind;
  int copyX1, copyY1, copyX2, copyY2;  // the copied block
  int toX, toY;                        // the selection's top-left
  int changed;                         // squares that take the clipboard
};

TEST_F(EditorTest, PasteLaysTheClipboardOnTheSelectionAndClipsIt) {
  const PasteCase cases[] = {
      {gkMonsters, 10, 5, 10, 5, 0, 0, 1},  // one wall square at (0, 0) only
      {gkMonsters, 4, 2, 6, 2, 30, 7, 2},   // three columns at column 30: 30 and 31
      {gkMonsters, 4, 2, 6, 3, 1, 15, 3},   // two rows at the last row: one row
      {gkBurrower, 10, 5, 10, 5, 0, 0, 1}, {gkBurrower, 4, 2, 6, 2, 21, 0, 2},
  };
  for (const PasteCase& c : cases) {
    SCOPED_TRACE(testing::Message() << c.kind << " to " << c.toX << "," << c.toY);
    Start(c.kind);
    const uint8_t wall = c.kind == gkMonsters ? mkWall : 2;
    DragSquares(c.copyX1, c.copyY1, c.copyX2, c.copyY2);
    editor.ChooseSquareKind(wall);
    editor.Command(eiCopy);
    DragSquares(c.toX, c.toY, c.toX, c.toY);
    const Bytes before = State();
    const int length = Length();
    editor.Command(eiPaste);
    EXPECT_EQ(Length(), length + 1);
    const Bytes after = State();
    const TGridGeometry& g = GridGeometry(c.kind);
    int changed = 0;
    for (int i = 0; i < g.Squares(); ++i) {
      if (before[size_t(i * g.bytes)] == after[size_t(i * g.bytes)]) continue;
      ++changed;
      const int x = i / g.rows, y = i % g.rows;
      EXPECT_TRUE(x >= c.toX && y >= c.toY && after[size_t(i * g.bytes)] == wall) << x << "," << y;
    }
    EXPECT_EQ(changed, c.changed);
  }
}

TEST_F(EditorTest, SquareCommandsPushOnlyWhenTheyChangeSomething) {
  Start(gkMonsters);
  DragSquares(0, 0, 3, 3);
  const int length = Length();
  editor.Command(eiDelete);  // all None already
  EXPECT_EQ(Length(), length);
  Mons(1, 1) = mkEarth;
  editor.Command(eiPaste);  // nothing copied yet
  EXPECT_EQ(std::make_pair(Length(), Mons(1, 1)), std::make_pair(length, uint8_t(mkEarth)));
  editor.ChooseSquareKind(mkWall);
  editor.ChooseSquareKind(mkWall);  // the second changes nothing
  EXPECT_EQ(Length(), length + 1);
  editor.Command(eiRotate);  // walls ignore directions, still one state
  EXPECT_EQ(std::make_pair(Length(), Mons(1, 1, 2)), std::make_pair(length + 2, uint8_t(1)));
  editor.ChooseSquareKind(mkNo);  // the clipboard's hole code is not a square of a level
  EXPECT_EQ(Mons(1, 1), mkWall);
  editor.Command(eiChangeKind);  // no Monster, Player or House selected
  EXPECT_EQ(Length(), length + 2);
  editor.Command(eiCopyUpToDown);  // rows 0..3 onto 15..12
  EXPECT_EQ(std::make_pair(Mons(2, 12), Mons(2, 12, 2)),
            std::make_pair(uint8_t(mkWall), uint8_t(1)));
  const int mirrored = Length();
  DragSquares(0, 8, 31, 15);
  editor.Command(eiCopyUpToDown);  // only the lower half selected
  EXPECT_EQ(Length(), mirrored);
  EXPECT_EQ(V()[eiDelete].caption, "&Delete squares");
}

TEST_F(EditorTest, ChangeKindWrapsEachVariant) {
  Start(gkMonsters);
  const uint8_t squares[][2] = {
      {mkMonster, 5}, {mkMonster, 2}, {mkPlayer, 3}, {mkHouse, 1}, {mkEarth, 4}};
  for (int i = 0; i < 5; ++i) Mons(i, 0) = squares[i][0], Mons(i, 0, 1) = squares[i][1];
  DragSquares(0, 0, 4, 0);
  editor.Command(eiChangeKind);
  const uint8_t expected[] = {0, 3, 0, 2, 4};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(Mons(i, 0, 1), expected[i]) << i;
}

TEST_F(EditorTest, CopyLeftToRightMirrorsTheSelectedHalf) {
  Start(gkBurrower);
  Burr(0, 4) = 2, Burr(11, 4) = 3, Burr(12, 4) = 1;
  editor.Command(eiSelectAll);
  editor.Command(eiCopyLeftToRight);
  // The middle column onto itself, and a None copied over column 12.
  EXPECT_EQ(std::make_tuple(Burr(22, 4), Burr(11, 4), Burr(12, 4)),
            std::make_tuple(uint8_t(2), uint8_t(3), uint8_t(0)));
}

// ---- Brickfall walls ----

TEST_F(EditorTest, DragMovesOnlyFromFourPixels) {
  StartWalls({{100, 100}});
  const int length = Length();
  editor.MousePress(0, {110, 105}, false);
  editor.MouseMove({113, 102}, false);
  editor.MouseRelease(0, {113, 102}, false);
  EXPECT_EQ(std::make_tuple(Length(), Walls()[0].x, editor.SelectedWalls()),
            std::make_tuple(length, 100, 1));
  editor.MousePress(0, {110, 105}, false);
  editor.MouseMove({114, 105}, false);  // starts the drag
  editor.MouseMove({120, 95}, false);
  editor.MouseRelease(0, {120, 95}, false);
  EXPECT_EQ(std::make_tuple(Length(), Walls()[0].x, Walls()[0].y),
            std::make_tuple(length + 1, 110, 90));
  editor.Command(eiUndo);
  EXPECT_EQ(Walls()[0].x, 100);
}

TEST_F(EditorTest, DraggedAndTypedCoordinatesStayInRange) {
  StartWalls({{0, 0}, {-60000, 0}});
  editor.Command(eiSelectAll);
  editor.MousePress(0, {5, 5}, false);
  editor.MouseMove({0, 100}, false);
  editor.MouseMove({-100000, 100}, false);  // the group stops where its first wall must
  EXPECT_EQ(std::make_pair(Walls()[1].x, Walls()[0].x),
            std::make_pair(-kWallCoordinateLimit, -kWallCoordinateLimit + 60000));
  editor.MouseRelease(0, {-100000, 100}, false);
  editor.SetWallX("2147483647");
  editor.SetWallY("ten");
  EXPECT_EQ(std::make_pair(Walls()[0].x, Walls()[1].y), std::make_pair(kWallCoordinateLimit, 0));
}

TEST_F(EditorTest, CtrlBandTogglesTheWallsItCovers) {
  StartWalls({{100, 100}, {200, 100}});
  Click(110, 105);
  ASSERT_EQ(editor.WallMark(0), kMarkSelected);
  editor.MousePress(0, {90, 90}, true);
  editor.MouseMove({250, 130}, true);
  EXPECT_EQ(editor.SelectedWalls(), 1);  // the second, while the first is taken off
  editor.MouseRelease(0, {250, 130}, true);
  EXPECT_EQ(std::make_pair(editor.WallMark(0), editor.WallMark(1)),
            std::make_pair(uint8_t(kMarkNone), uint8_t(kMarkSelected)));
  Click(210, 105, true);  // Ctrl on a selected wall takes it off
  EXPECT_EQ(editor.SelectedWalls(), 0);
}

TEST_F(EditorTest, PasteKeepsOffsetsFromThePointer) {
  StartWalls({{100, 50}, {140, 50, 1}, {120, 80}, {300, 300}});
  Click(305, 305);
  EXPECT_EQ(V()[eiCut].caption, "Cu&t wall");
  editor.Command(eiInvertSelection);
  EXPECT_EQ(editor.SelectedWalls(), 3);
  editor.Command(eiCopy);
  editor.MousePress(2, {500, 380}, false);  // empty space
  EXPECT_EQ(std::make_tuple(editor.SelectedWalls(), V()[eiPaste].enabled, V()[eiPaste].caption),
            std::make_tuple(0, true, std::string("&Paste walls")));
  gCom.mouseX = 10, gCom.mouseY = 10;
  editor.Command(eiPaste);
  ASSERT_EQ(Walls().size(), 7u);
  const int32_t expected[][2] = {{10, 10}, {50, 10}, {30, 40}};
  for (int i = 0; i < 3; ++i)
    EXPECT_EQ(
        std::make_tuple(Walls()[size_t(4 + i)].x, Walls()[size_t(4 + i)].y, editor.WallMark(4 + i)),
        std::make_tuple(expected[i][0], expected[i][1], uint8_t(kMarkSelected)));
  EXPECT_EQ(std::make_pair(editor.SelectedWalls(), V().wallCount), std::make_pair(3, 7));
}

TEST_F(EditorTest, AlignToGridRoundsToTheNearestLine) {
  Start(gkBrickfall);
  const int32_t cases[][2] = {{23, 16}, {24, 32}, {0, 0}, {8, 16}, {7, 0}, {511, 512}};
  for (const auto& c : cases) AddWall(c[0], c[0]);
  editor.Command(eiSelectAll);
  editor.Command(eiAlignToGrid);
  for (size_t i = 0; i < std::size(cases); ++i)
    EXPECT_EQ(std::make_pair(Walls()[i].x, Walls()[i].y), std::make_pair(cases[i][1], cases[i][1]))
        << cases[i][0];
}

TEST_F(EditorTest, RightClickSelectsTheWallOrClearsOnEmptySpace) {
  StartWalls({{100, 100}, {200, 100}});
  editor.Command(eiSelectAll);
  editor.MousePress(2, {105, 105}, false);  // on a selected wall: kept as it is
  EXPECT_EQ(editor.SelectedWalls(), 2);
  editor.MousePress(2, {10, 300}, false);
  EXPECT_EQ(
      std::make_tuple(editor.SelectedWalls(), V()[eiPaste].enabled, V()[eiAlignToGrid].enabled),
      std::make_tuple(0, true, false));
  editor.MousePress(2, {205, 105}, false);
  EXPECT_EQ(std::make_pair(editor.WallMark(1), editor.SelectedWalls()),
            std::make_pair(uint8_t(kMarkSelected), 1));
  EXPECT_EQ(V().editX, "200");
  editor.MousePress(2, {10, 300}, false);
  EXPECT_EQ(V().editX, "");  // the controls show no wall
}

TEST_F(EditorTest, WallsNeverGoBeyondTheLevelLimit) {
  Start(gkBrickfall);
  for (int i = 0; i < 3; ++i) AddWall(10 * i, 10);
  editor.Command(eiSelectAll);
  editor.Command(eiCopy);
  Walls().resize(kMaxWalls - 1, Walls()[0]);
  editor.MousePress(2, {500, 380}, false);
  editor.PasteWalls({300, 300});  // one of three fits
  EXPECT_EQ(std::make_tuple(int(Walls().size()), editor.SelectedWalls(), LogHas("Only 1 of 3")),
            std::make_tuple(kMaxWalls, 1, true));
  const int length = Length();
  editor.PasteWalls({300, 300});
  EXPECT_EQ(Length(), length);
  editor.Command(eiCopyLeftToRight);  // every wall is left of the middle: refused
  EXPECT_EQ(std::make_tuple(int(Walls().size()), Length(), LogHas("Can not copy left to right")),
            std::make_tuple(kMaxWalls, length, true));
}

TEST_F(EditorTest, CopyLeftToRightMirrorsTheLeftHalfOfTheField) {
  // The first is copied to 512 - 10 - 32 = 470, the second (right half) removed, the third
  // (across the middle) kept, the fourth (ending at 255) copied to 257.
  StartWalls({{10, 20}, {300, 20}, {240, 40}, {223, 60}});
  editor.Command(eiCopyLeftToRight);
  ASSERT_EQ(Walls().size(), 5u);
  const int32_t xs[] = {10, 240, 223, 470, 257};
  for (size_t i = 0; i < 5; ++i) EXPECT_EQ(Walls()[i].x, xs[i]) << i;
}

TEST_F(EditorTest, SelectPictureCopiesIntoTheFolderAndAsksBeforeReplacing) {
  Start(gkBrickfall);
  const std::string folder = dir.File("Levels/Brickfall/");  // made by the first copy
  std::filesystem::create_directories(dir.File("elsewhere"));
  auto picture = [](int width, uint32_t colour) {
    TKBitmap b(width, 30);
    for (int y = 0; y < 30; ++y)
      for (int x = 0; x < width; ++x) std::memcpy(b.Row(y) + 3 * x, &colour, 3);
    return EncodeBmp(b);
  };
  test::WriteAll(dir.File("elsewhere/Sky.bmp"), picture(40, 0x0000FF));
  test::WriteAll(dir.File("sky.bmp"), picture(20, 0x00FF00));
  EXPECT_TRUE(editor.SelectPicture(dir.File("elsewhere/Sky.bmp")));
  TKBitmap copy;
  ASSERT_TRUE(LoadFromFile(copy, folder + "Sky.bmp", 0, 0));
  EXPECT_EQ(
      std::make_tuple(copy.Width(), copy.Height(),
                      GetShortString(gBrickLevels[0].f.backgroundPicture, 96), Cur().modified),
      std::make_tuple(512, 384, std::string("Sky"), true));

  const std::vector<uint8_t> kept = test::ReadAll(folder + "Sky.bmp");
  platform.messageAnswers = {MsgButton::No};
  EXPECT_FALSE(editor.SelectPicture(dir.File("sky.bmp")));  // same name, other case
  EXPECT_TRUE(LogHas("already exists") && test::ReadAll(folder + "Sky.bmp") == kept);
  platform.messageAnswers = {MsgButton::Yes};
  EXPECT_TRUE(editor.SelectPicture(dir.File("sky.bmp")));
  // Replaced in its own place.
  EXPECT_TRUE(test::ReadAll(folder + "Sky.bmp") != kept &&
              !std::filesystem::exists(folder + "sky.bmp"));

  platform.ClearLog();
  EXPECT_TRUE(editor.SelectPicture(folder + "Sky.bmp"));  // already there: no copy
  EXPECT_TRUE(platform.log.empty());
}

// ---- Random sessions ----

// The levels of `kind` as a file of the kind writes them, read back.
template <class Level>
void ExpectSavedEqual(const std::vector<Level>& levels, const std::string& file) {
  FileReader reader;
  ASSERT_TRUE(reader.Open(file));
  TLevelSetHeader h;
  ASSERT_TRUE(reader.Read(&h, sizeof h));
  ASSERT_EQ(h.levelCount, int32_t(levels.size()));
  std::vector<Level> read;
  FileFault fault;
  if constexpr (std::is_same_v<Level, TLevel>) {
    ASSERT_TRUE(ReadBrickLevels(reader, h, read, fault));
  } else if constexpr (std::is_same_v<Level, TMonsLevel>) {
    ASSERT_TRUE(ReadMonsLevels(reader, h, h.headerSize, h.levelRecordSize, read, fault));
  } else {
    ASSERT_TRUE(ReadBurrLevels(reader, h, h.headerSize, h.levelRecordSize, read, fault));
  }
  ASSERT_EQ(read.size(), levels.size());
  for (size_t i = 0; i < levels.size(); ++i) {
    const auto& a = levels[i];
    const auto& b = read[i];
    ASSERT_EQ(StateBytes(a.history[size_t(a.historyIndex)]), StateBytes(b.history[0])) << i;
    if constexpr (std::is_same_v<Level, TLevel>) {
      ASSERT_EQ(std::memcmp(&a.f, &b.f, sizeof a.f), 0) << i;
    }
    if constexpr (std::is_same_v<Level, TMonsLevel>) {
      ASSERT_EQ(std::memcmp(a.name, b.name, sizeof a.name), 0) << i;
    }
  }
}

TEST_F(EditorTest, RandomSessionsKeepEveryInvariant) {
  for (int kind : {gkBrickfall, gkMonsters, gkBurrower}) {
    SCOPED_TRACE(kind);
    std::mt19937 rng(20261207u + unsigned(kind));
    auto pick = [&](int n) { return int(rng() % unsigned(n)); };
    Start(kind, 2);
    // Both levels filled with random content.
    for (int level = 0; level < 2; ++level) {
      editor.ChooseLevel(level);
      if (kind == gkBrickfall)
        for (int i = 0; i < 80; ++i) AddWall(pick(560) - 20, pick(420) - 20, uint16_t(pick(2)));
      else if (kind == gkMonsters)
        for (uint8_t& b : gMonsLevels[size_t(level)].Grid()) b = uint8_t(pick(4));
      else
        for (uint8_t& b : gBurrLevels[size_t(level)].Record()) b = uint8_t(pick(7));
    }
    editor.Refresh();
    const TRect& f = KindTraits(kind).field;
    const int width = f.right - f.left + 1, height = f.bottom - f.top + 1;
    const std::string file = dir.File("random");
    platform.textAnswers.assign(1000, std::string("Name"));
    platform.numberAnswers.assign(1000, std::optional<int32_t>(3));

    for (int step = 0; step < 600; ++step) {
      SCOPED_TRACE(step);
      const int levelBefore = Index(), countBefore = Count(), positionBefore = Position();
      const Bytes stateBefore = State();
      const TFieldPoint p{pick(width + 40) - 20, pick(height + 40) - 20};
      const bool ctrl = pick(4) == 0;
      const int op = pick(16);
      if (op < 3) {
        const EditorItemId id = EditorItemId(pick(eiCount));
        if (id != eiNewLevel && id != eiPasteLevel) editor.Command(id);
      } else if (op < 5) {
        editor.Command(pick(2) ? eiUndo : eiRedo);
      } else if (op < 7) {
        editor.MousePress(pick(3) ? 0 : 2, p, ctrl);
      } else if (op == 7) {
        editor.MouseMove(p, ctrl);
      } else if (op == 8) {  // a whole drag, now and then far outside the field
        const int reach = pick(8) ? 12 : 200000;
        TFieldPoint q = p;
        if (kind == gkBrickfall && !Walls().empty() && pick(2)) {  // on a wall
          const TWall& w = Walls()[size_t(pick(int(Walls().size())))];
          q = {w.x + 1, w.y + 1};
        }
        editor.MousePress(0, q, ctrl);
        for (int i = pick(4); i >= 0; --i) {
          q = {q.x + pick(2 * reach + 1) - reach, q.y + pick(2 * reach + 1) - reach};
          editor.MouseMove(q, ctrl);
        }
        editor.MouseRelease(0, q, ctrl);
      } else if (op == 9) {
        editor.MouseRelease(0, p, ctrl);
      } else if (op == 10) {
        editor.ChooseLevel(pick(Count() + 1) - 1 + pick(2));
      } else if (op == 11) {
        editor.ChooseSquareKind(pick(14) - 1);
        editor.ChooseDirection(pick(6) - 1);
      } else if (op == 12) {
        editor.SetWallColour(pick(8) - 1);
        editor.SetWallShape(pick(4) - 1);
        editor.SetWallX(std::to_string(pick(200000) - 100000));
        editor.SetMaxWind(pick(300) - 50);
        editor.SetBackgroundTexture(pick(14) - 2);
        editor.SetBackgroundColour(uint32_t(rng()));
      } else if (op == 13) {
        gCom.mouseX = p.x, gCom.mouseY = p.y;
        editor.Command(eiPaste);
      } else if (op == 14) {
        editor.Command(pick(2) ? eiCopy : eiSelectAll);
      } else if (pick(3) == 0) {
        const EditorItemId ops[] = {eiNewLevel, eiPasteLevel, eiDeleteLevel, eiCopyLevel,
                                    eiCutLevel, eiCopyLevel,  eiPasteLevel,  eiPasteLevel};
        editor.Command(ops[pick(8)]);
      }
      // An edit goes to a new state and leaves the one before as it was.
      if (Index() == levelBefore && Count() == countBefore && Position() == positionBefore + 1) {
        Levels(kind, [&](auto& l) {
          ASSERT_EQ(StateBytes(l[size_t(Index())].history[size_t(positionBefore)]), stateBefore);
        });
      }
      ASSERT_TRUE(Count() >= 1 && Count() <= kMaxLevels && Cur().header.levelCount == Count());
      ASSERT_EQ(std::make_pair(V().levels.size(), V().levelIndex),
                std::make_pair(size_t(Count()), Index()));
      Levels(kind, [&](auto& levels) {
        for (const auto& level : levels) {
          ASSERT_LT(HistoryPosition(level), HistoryLength(level));
          ASSERT_EQ(int(level.historyLength), HistoryLength(level));
          ASSERT_LE(size_t(HistoryLength(level)), kMaxHistoryStates);
        }
      });
      if (kind == gkBrickfall) {
        ASSERT_LE(Walls().size(), size_t(kMaxWalls));
        int marked = 0;
        for (int i = 0; i < kMaxWalls; ++i) {
          const uint8_t m = editor.WallMark(i);
          if (i >= int(Walls().size())) {
            ASSERT_EQ(m, kMarkNone);
          }
          marked += m == kMarkSelected || m == kMarkBand;
        }
        ASSERT_EQ(editor.SelectedWalls(), marked);
        for (const TWall& w : Walls()) {
          ASSERT_LE(std::abs(w.x), kWallCoordinateLimit);
          ASSERT_LE(std::abs(w.y), kWallCoordinateLimit);
        }
      }
      if (step % 10 == 0) {
        ASSERT_TRUE(SaveLevelSet(kind, file));
        Levels(kind, [&](auto& levels) { ExpectSavedEqual(levels, file); });
      }
    }
    // Undo to the first state and redo to the last go through the same states.
    Levels(kind, [&](auto& levels) {
      auto& level = levels[size_t(Index())];
      const auto history = level.history;
      const int position = HistoryPosition(level);
      while (V()[eiUndo].enabled) editor.Command(eiUndo);
      ASSERT_EQ(HistoryPosition(level), 0);
      while (V()[eiRedo].enabled) editor.Command(eiRedo);
      ASSERT_EQ(HistoryPosition(level), HistoryLength(level) - 1);
      ASSERT_EQ(level.history.size(), history.size());
      for (size_t i = 0; i < history.size(); ++i)
        ASSERT_EQ(StateBytes(level.history[i]), StateBytes(history[i]));
      while (HistoryPosition(level) > position) editor.Command(eiUndo);
    });
  }
}

}  // namespace
}  // namespace kelvra
