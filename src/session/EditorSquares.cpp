// Square editing of the grid kinds (Monsters, Burrower): the selection marks with their
// rubber band, the kind and direction lists, the square clipboard and the square
// commands. Every change is made on the state at the history position after one push.
#include <algorithm>
#include <cstring>

#include "common/Com.h"
#include "common/Kinds.h"
#include "monsters/MonsState.h"
#include "session/Editor.h"

namespace kelvra {

namespace {

constexpr int kMaxSquareBytes = 3;
constexpr int kKindByte = 0, kVariantByte = 1, kDirectionByte = 2;  // Monsters squares
constexpr uint8_t kMaxDirection = 3;                                // Up; then Left again
constexpr uint8_t kMaxMonsterType = 5;                              // then type 0 again
constexpr uint8_t kMaxOwner = 3;  // players and houses, then player 0 again

bool Selected(uint8_t mark) {
  return mark == kMarkSelected || mark == kMarkBand;
}

TGridGeometry MakeGeometry(int kind) {
  const TRect& f = KindTraits(kind).field;
  TGridGeometry g{};
  g.kind = kind;
  if (kind == gkMonsters) {
    g.cols = kMonsCols, g.rows = kMonsRows, g.bytes = 3, g.noCode = mkNo;
    g.cell = 20, g.inset = 0, g.size = 20, g.snap = true;
  } else {
    g.cols = kBurrCols, g.rows = kBurrRows, g.bytes = 1, g.noCode = 7;
    g.cell = 27, g.inset = 3, g.size = 24, g.snap = false;  // the square cells of the lattice
  }
  g.fieldWidth = f.right - f.left + 1;
  g.fieldHeight = f.bottom - f.top + 1;
  return g;
}

}  // namespace

const TGridGeometry& GridGeometry(int kind) {
  static const TGridGeometry monsters = MakeGeometry(gkMonsters);
  static const TGridGeometry burrower = MakeGeometry(gkBurrower);
  return kind == gkMonsters ? monsters : burrower;
}

std::vector<uint8_t>& TEditor::Marks(int kind) {
  return squareMarks_[kind == gkMonsters ? 0 : 1];
}

const std::vector<uint8_t>& TEditor::Marks(int kind) const {
  return squareMarks_[kind == gkMonsters ? 0 : 1];
}

uint8_t TEditor::SquareMark(int kind, int x, int y) const {
  if (kind != gkMonsters && kind != gkBurrower) return kMarkNone;
  const TGridGeometry& g = GridGeometry(kind);
  if (x < 0 || x >= g.cols || y < 0 || y >= g.rows) return kMarkNone;
  return Marks(kind)[size_t(x * g.rows + y)];
}

uint8_t* TEditor::GridState() {
  if (LevelCount() == 0) return nullptr;
  const size_t index = size_t(LevelIndex());
  switch (Kind()) {
    case gkMonsters:
      return gMonsLevels[index].Grid().data();
    case gkBurrower:
      return gBurrLevels[index].Record().data();
    default:
      return nullptr;
  }
}

TFieldPoint TEditor::GridPoint(TFieldPoint p) const {
  const TGridGeometry& g = GridGeometry(Kind());
  p.x = std::clamp(p.x, 0, g.fieldWidth);
  p.y = std::clamp(p.y, 0, g.fieldHeight);
  if (g.snap) {
    p.x = p.x / g.cell * g.cell;
    p.y = p.y / g.cell * g.cell;
  }
  return p;
}

int TEditor::SelectedSquares() const {
  if (Kind() == gkBrickfall) return 0;
  const std::vector<uint8_t>& marks = Marks(Kind());
  return int(std::count_if(marks.begin(), marks.end(), Selected));
}

// ---- The band ----

void TEditor::ApplySquareBand(bool clear) {
  const int k = Kind();
  const TGridGeometry& g = GridGeometry(k);
  std::vector<uint8_t>& marks = Marks(k);
  for (uint8_t& m : marks) {
    if (clear || m == kMarkBand) m = kMarkNone;
    if (m == kMarkUnband) m = kMarkSelected;
  }
  const int g2 = k == gkMonsters ? 0 : 1;
  const TFieldPoint a = squareAnchor_[g2], b = squareCurrent_[g2];
  const int left = std::min(a.x, b.x), right = std::max(a.x, b.x);
  const int top = std::min(a.y, b.y), bottom = std::max(a.y, b.y);
  for (int x = 0; x < g.cols; ++x) {
    const int sx = g.cell * x + g.inset;
    if (sx > right || sx + g.size - 1 < left) continue;
    for (int y = 0; y < g.rows; ++y) {
      const int sy = g.cell * y + g.inset;
      if (sy > bottom || sy + g.size - 1 < top) continue;
      uint8_t& m = marks[size_t(x * g.rows + y)];
      if (m == kMarkNone)
        m = kMarkBand;
      else if (m == kMarkSelected)
        m = kMarkUnband;
    }
  }
}

void TEditor::SquarePress(TFieldPoint p, bool ctrl) {
  if (!GridState()) return;
  const int g2 = Kind() == gkMonsters ? 0 : 1;
  squareButtonDown_ = true;
  squareAnchor_[g2] = squareCurrent_[g2] = GridPoint(p);
  ApplySquareBand(!ctrl);
  Changed();
}

void TEditor::SquareMove(TFieldPoint p, bool ctrl) {
  if (!squareButtonDown_ || !GridState()) return;
  squareCurrent_[Kind() == gkMonsters ? 0 : 1] = GridPoint(p);
  ApplySquareBand(!ctrl);
  Changed();
}

void TEditor::SquareRelease() {
  if (!squareButtonDown_ || Kind() == gkBrickfall) return;
  squareButtonDown_ = false;
  for (uint8_t& m : Marks(Kind())) {
    if (m == kMarkBand) m = kMarkSelected;
    if (m == kMarkUnband) m = kMarkNone;
  }
  Changed();
}

void TEditor::SelectAllSquares() {
  if (Kind() == gkBrickfall) return;
  std::vector<uint8_t>& marks = Marks(Kind());
  std::fill(marks.begin(), marks.end(), kMarkSelected);
  Changed();
}

void TEditor::InvertSquareSelection() {
  if (Kind() == gkBrickfall) return;
  for (uint8_t& m : Marks(Kind()))
    m = (m == kMarkNone || m == kMarkUnband) ? kMarkSelected : kMarkNone;
  Changed();
}

// ---- Changes ----

namespace {

// Offers every square of the current state to `edit`, which may change the copy it is
// given; the first real change pushes the undo state and marks the set. Returns whether
// anything changed.
template <class Push, class State, class F>
bool EditGrid(const TGridGeometry& g, Push push, State state, F edit) {
  uint8_t* s = state();
  if (!s) return false;
  bool changed = false;
  for (int i = 0; i < g.Squares(); ++i) {
    uint8_t square[kMaxSquareBytes];
    uint8_t* at = s + size_t(i) * size_t(g.bytes);
    std::memcpy(square, at, size_t(g.bytes));
    if (!edit(i / g.rows, i % g.rows, square)) continue;
    if (std::memcmp(square, at, size_t(g.bytes)) == 0) continue;
    if (!changed) {
      push();
      s = state();  // the pushed copy is the state now
      at = s + size_t(i) * size_t(g.bytes);
      changed = true;
    }
    std::memcpy(at, square, size_t(g.bytes));
  }
  return changed;
}

}  // namespace

// Runs EditGrid on the current level and decodes the level when it changed.
template <class F>
void TEditor::EditSquares(F edit) {
  const bool changed = EditGrid(
      GridGeometry(Kind()),
      [this] {
        PushUndo();
        Modified();
      },
      [this] { return GridState(); }, edit);
  if (changed) ShowChangedLevel();
  Changed();
}

void TEditor::ChooseSquareKind(int kind) {
  if (Kind() == gkBrickfall) return;
  const TGridGeometry& g = GridGeometry(Kind());
  // "No" marks the holes of the clipboard: a level square of that kind would be lost by the
  // next copy and paste, and Burrower's level start ignores the code.
  if (kind < 0 || kind >= g.noCode) return;
  const std::vector<uint8_t>& marks = Marks(Kind());
  EditSquares([&](int x, int y, uint8_t* sq) {
    if (!Selected(marks[size_t(x * g.rows + y)])) return false;
    sq[kKindByte] = uint8_t(kind);
    return true;
  });
}

void TEditor::ChooseDirection(int direction) {
  if (Kind() != gkMonsters || direction < 0 || direction > kMaxDirection) return;
  const TGridGeometry& g = GridGeometry(Kind());
  const std::vector<uint8_t>& marks = Marks(Kind());
  EditSquares([&](int x, int y, uint8_t* sq) {
    if (!Selected(marks[size_t(x * g.rows + y)])) return false;
    sq[kDirectionByte] = uint8_t(direction);
    return true;
  });
}

void TEditor::DeleteSquares() {
  if (Kind() == gkBrickfall) return;
  const TGridGeometry& g = GridGeometry(Kind());
  const std::vector<uint8_t>& marks = Marks(Kind());
  EditSquares([&](int x, int y, uint8_t* sq) {
    if (!Selected(marks[size_t(x * g.rows + y)])) return false;
    sq[kKindByte] = 0;
    return true;
  });
}

void TEditor::CopySquares() {
  const uint8_t* state = GridState();
  if (!state) return;
  const TGridGeometry& g = GridGeometry(Kind());
  const std::vector<uint8_t>& marks = Marks(Kind());
  std::vector<uint8_t>& clip = squareClipboard_[Kind() == gkMonsters ? 0 : 1];
  for (int i = 0; i < g.Squares(); ++i) {
    const size_t at = size_t(i) * size_t(g.bytes);
    if (Selected(marks[size_t(i)]))
      std::memcpy(&clip[at], state + at, size_t(g.bytes));
    else
      clip[at + kKindByte] = g.noCode;
  }
  Changed();
}

void TEditor::CutSquares() {
  CopySquares();
  DeleteSquares();
}

// The clipboard's occupied rectangle is laid with its top-left corner on the selection's
// top-left corner and clipped at the right and bottom edges; holes keep what is below.
void TEditor::PasteSquares() {
  if (!GridState()) return;
  const TGridGeometry& g = GridGeometry(Kind());
  const std::vector<uint8_t>& marks = Marks(Kind());
  const std::vector<uint8_t>& clip = squareClipboard_[Kind() == gkMonsters ? 0 : 1];
  int tx0 = g.cols, ty0 = g.rows, sx0 = g.cols, sy0 = g.rows;
  for (int i = 0; i < g.Squares(); ++i) {
    const int x = i / g.rows, y = i % g.rows;
    if (Selected(marks[size_t(i)])) tx0 = std::min(tx0, x), ty0 = std::min(ty0, y);
    if (clip[size_t(i) * size_t(g.bytes)] != g.noCode)
      sx0 = std::min(sx0, x), sy0 = std::min(sy0, y);
  }
  if (tx0 == g.cols || sx0 == g.cols) {
    Changed();
    return;
  }
  EditSquares([&](int x, int y, uint8_t* sq) {
    if (x < tx0 || y < ty0) return false;
    const int sx = x - tx0 + sx0, sy = y - ty0 + sy0;
    if (sx >= g.cols || sy >= g.rows) return false;
    const uint8_t* src = &clip[size_t(sx * g.rows + sy) * size_t(g.bytes)];
    if (src[kKindByte] == g.noCode) return false;
    std::memcpy(sq, src, size_t(g.bytes));
    return true;
  });
}

void TEditor::RotateSquares() {
  if (Kind() != gkMonsters) return;
  const TGridGeometry& g = GridGeometry(Kind());
  const std::vector<uint8_t>& marks = Marks(Kind());
  EditSquares([&](int x, int y, uint8_t* sq) {
    if (!Selected(marks[size_t(x * g.rows + y)])) return false;
    uint8_t& d = sq[kDirectionByte];
    d = d >= kMaxDirection ? 0 : uint8_t(d + 1);
    return true;
  });
}

void TEditor::ChangeKind() {
  if (Kind() != gkMonsters) return;
  const TGridGeometry& g = GridGeometry(Kind());
  const std::vector<uint8_t>& marks = Marks(Kind());
  EditSquares([&](int x, int y, uint8_t* sq) {
    if (!Selected(marks[size_t(x * g.rows + y)])) return false;
    uint8_t& v = sq[kVariantByte];
    if (sq[kKindByte] == mkMonster)
      v = v >= kMaxMonsterType ? 0 : uint8_t(v + 1);
    else if (sq[kKindByte] == mkPlayer || sq[kKindByte] == mkHouse)
      v = v >= kMaxOwner ? 0 : uint8_t(v + 1);
    else
      return false;
    return true;
  });
}

// The selected squares of the left half (Burrower's middle column onto itself), or of the
// upper half, are copied onto their mirror images; directions are copied as they are.
void TEditor::MirrorSquares(bool leftToRight) {
  if (!GridState()) return;
  const TGridGeometry& g = GridGeometry(Kind());
  const std::vector<uint8_t>& marks = Marks(Kind());
  EditSquares([&](int x, int y, uint8_t* sq) {
    const int sx = leftToRight ? g.cols - 1 - x : x, sy = leftToRight ? y : g.rows - 1 - y;
    const bool inSourceHalf = leftToRight ? sx < (g.cols + 1) / 2 : sy < (g.rows + 1) / 2;
    if (!inSourceHalf || !Selected(marks[size_t(sx * g.rows + sy)])) return false;
    std::memcpy(sq, GridState() + size_t(sx * g.rows + sy) * size_t(g.bytes), size_t(g.bytes));
    return true;
  });
}

void TEditor::CopyLeftToRightSquares() {
  MirrorSquares(true);
}

void TEditor::CopyUpToDownSquares() {
  MirrorSquares(false);
}

// ---- The view ----

void TEditor::UpdateSquareLists() {
  const uint8_t* state = GridState();
  view_.squareChoice = view_.directionChoice = -1;
  if (!state) return;
  const TGridGeometry& g = GridGeometry(Kind());
  const std::vector<uint8_t>& marks = Marks(Kind());
  int kind = -1, direction = -1;
  bool first = true;
  for (int i = 0; i < g.Squares(); ++i) {
    if (!Selected(marks[size_t(i)])) continue;
    const uint8_t* sq = state + size_t(i) * size_t(g.bytes);
    const int d = g.bytes > kDirectionByte ? sq[kDirectionByte] : -1;
    if (first) {
      kind = sq[kKindByte], direction = d;
      first = false;
    } else {
      if (sq[kKindByte] != kind) kind = -1;
      if (d != direction) direction = -1;
    }
  }
  view_.squareChoice = kind < int(view_.squareNames.size()) ? kind : -1;
  view_.directionChoice = Kind() == gkMonsters && direction <= kMaxDirection ? direction : -1;
}

void TEditor::ComputeGridItems() {
  TEditorView& v = view_;
  UpdateSquareLists();
  const int n = SelectedSquares();
  const char* s = n == 1 ? "square" : "squares";
  v[eiCut].caption = std::string("Cu&t ") + s;
  v[eiCopy].caption = std::string("&Copy ") + s;
  v[eiDelete].caption = std::string("&Delete ") + s;
  v[eiCut].enabled = v[eiCopy].enabled = v[eiDelete].enabled = n >= 1;
  v[eiPaste].caption = "&Paste square(s)";
  v[eiPaste].enabled = true;
}

}  // namespace kelvra
