// Brickfall wall editing on the play field: the selection by click and rubber band, the
// drag, the wall clipboard, the popup's wall commands, the wall controls and "Copy Left
// to Right". Walls are compared by their box, x to x + width and y to y + height of
// their shape's picture, edges included.
#include <algorithm>
#include <cstdlib>

#include "brickfall/BrickPictures.h"
#include "common/Com.h"
#include "common/LevelSet.h"
#include "common/ReadNumber.h"
#include "platform/Services.h"
#include "session/Editor.h"

namespace kelvra {

namespace {

constexpr int32_t kFieldWidth = 512, kFieldHeight = 384;  // Brickfall field, pixels
constexpr int32_t kDragThreshold = 4;  // pixels on either axis before a press becomes a drag

int32_t ShapeWidth(const TWall& w) {
  return w.shape < gBrickPictures.shapes ? std::max(gBrickPictures.width[w.shape], 0) : 0;
}
int32_t ShapeHeight(const TWall& w) {
  return w.shape < gBrickPictures.shapes ? std::max(gBrickPictures.height[w.shape], 0) : 0;
}

int32_t LimitCoordinate(int64_t v) {
  return int32_t(std::clamp<int64_t>(v, -kWallCoordinateLimit, kWallCoordinateLimit));
}

TFieldPoint InsideField(TFieldPoint p) {
  return {std::clamp(p.x, 0, kFieldWidth), std::clamp(p.y, 0, kFieldHeight)};
}

bool Selected(uint8_t mark) {
  return mark == kMarkSelected || mark == kMarkBand;
}

void Message(const std::string& text) {
  Platform().MessageDialog(text, MsgType::Information, Btn(MsgButton::Ok));
}

}  // namespace

TWalls* TEditor::Walls() {
  TLevel* level = BrickLevel();
  return level ? &level->Walls() : nullptr;
}

uint8_t TEditor::WallMark(int index) const {
  return index >= 0 && index < kMaxWalls ? int(wallMarks_[size_t(index)]) : int(kMarkNone);
}

void TEditor::WallBox(const TWall& w, int64_t& x2, int64_t& y2) const {
  x2 = int64_t(w.x) + ShapeWidth(w);
  y2 = int64_t(w.y) + ShapeHeight(w);
}

// The first wall (or the first selected wall) whose box holds p; -1 for none.
int TEditor::WallAt(TFieldPoint p, bool selectedOnly) const {
  const TLevel* level = const_cast<TEditor*>(this)->BrickLevel();
  if (!level) return -1;
  const TWalls& walls = level->Walls();
  const int n = std::min<int>(int(walls.size()), kMaxWalls);
  for (int i = 0; i < n; ++i) {
    if (selectedOnly && !Selected(wallMarks_[size_t(i)])) continue;
    const TWall& w = walls[size_t(i)];
    int64_t x2, y2;
    WallBox(w, x2, y2);
    if (p.x >= w.x && p.x <= x2 && p.y >= w.y && p.y <= y2) return i;
  }
  return -1;
}

void TEditor::CountSelectedWalls() {
  const TWalls* walls = Walls();
  const size_t n = walls ? std::min<size_t>(walls->size(), kMaxWalls) : 0;
  // Marks beyond the list belong to no wall.
  std::fill(wallMarks_.begin() + std::ptrdiff_t(n), wallMarks_.end(), kMarkNone);
  selectedWalls_ = int(std::count_if(wallMarks_.begin(), wallMarks_.end(), Selected));
}

// The selected count is recounted from the marks rather than kept by each step, so that it
// cannot drift from them when the band takes back what it marked before.
void TEditor::UpdateBand(bool toggle) {
  if (toggle) {
    for (uint8_t& m : wallMarks_) {
      if (m == kMarkBand) m = kMarkNone;
      if (m == kMarkUnband) m = kMarkSelected;
    }
  } else {
    wallMarks_.fill(kMarkNone);
  }
  if (const TWalls* walls = Walls()) {
    const int64_t left = std::min(bandAnchor_.x, bandCurrent_.x);
    const int64_t right = std::max(bandAnchor_.x, bandCurrent_.x);
    const int64_t top = std::min(bandAnchor_.y, bandCurrent_.y);
    const int64_t bottom = std::max(bandAnchor_.y, bandCurrent_.y);
    const size_t n = std::min<size_t>(walls->size(), kMaxWalls);
    for (size_t i = 0; i < n; ++i) {
      const TWall& w = (*walls)[i];
      int64_t x2, y2;
      WallBox(w, x2, y2);
      if (w.x > right || x2 < left || w.y > bottom || y2 < top) continue;
      uint8_t& m = wallMarks_[i];
      if (!toggle)
        m = kMarkSelected;
      else if (m == kMarkNone)
        m = kMarkBand;
      else if (m == kMarkSelected)
        m = kMarkUnband;
    }
  }
  CountSelectedWalls();
}

void TEditor::EndBand() {
  for (uint8_t& m : wallMarks_) {
    if (m == kMarkBand) m = kMarkSelected;
    if (m == kMarkUnband) m = kMarkNone;
  }
  CountSelectedWalls();
}

void TEditor::WallPress(TFieldPoint p, bool ctrl) {
  if (!Walls()) return;
  wallButtonDown_ = true;
  if (WallAt(p, false) < 0) {
    wallMouse_ = wmBand;
    bandAnchor_ = bandCurrent_ = InsideField(p);
    UpdateBand(ctrl);
  } else {
    lastMouse_ = p;
    if (WallAt(p, true) < 0) {
      wallMouse_ = wmOnOther;
      bandAnchor_ = bandCurrent_ = p;
      UpdateBand(ctrl);
    } else {
      wallMouse_ = wmOnSelected;
    }
  }
  Changed();
}

void TEditor::WallMove(TFieldPoint p, bool ctrl) {
  if (!wallButtonDown_ || !Walls()) return;
  switch (wallMouse_) {
    case wmBand:
      bandCurrent_ = InsideField(p);
      UpdateBand(ctrl);
      Changed();
      break;
    case wmOnSelected:
    case wmOnOther:
      if (std::abs(p.x - lastMouse_.x) >= kDragThreshold ||
          std::abs(p.y - lastMouse_.y) >= kDragThreshold) {
        wallMouse_ = wmDragging;
        PushUndo();
        Changed();
      }
      break;
    case wmDragging:
      MoveSelectedWalls(p.x - lastMouse_.x, p.y - lastMouse_.y);
      lastMouse_ = p;
      break;
  }
}

// Moves the selected walls together; at the coordinate limit the whole group stops, so
// that it keeps its shape.
void TEditor::MoveSelectedWalls(int32_t dx, int32_t dy) {
  TWalls* walls = Walls();
  if (!walls || (dx == 0 && dy == 0)) return;
  int64_t mdx = dx, mdy = dy;
  bool any = false;
  for (size_t i = 0; i < walls->size() && i < size_t(kMaxWalls); ++i) {
    if (!Selected(wallMarks_[i])) continue;
    const TWall& w = (*walls)[i];
    any = true;
    mdx = std::clamp<int64_t>(mdx, -kWallCoordinateLimit - int64_t(w.x),
                              kWallCoordinateLimit - int64_t(w.x));
    mdy = std::clamp<int64_t>(mdy, -kWallCoordinateLimit - int64_t(w.y),
                              kWallCoordinateLimit - int64_t(w.y));
  }
  if (!any) return;
  for (size_t i = 0; i < walls->size() && i < size_t(kMaxWalls); ++i) {
    if (!Selected(wallMarks_[i])) continue;
    TWall& w = (*walls)[i];
    w.x = LimitCoordinate(w.x + mdx);
    w.y = LimitCoordinate(w.y + mdy);
  }
  ShowChangedLevel();
  Modified();
  Changed();
}

void TEditor::WallRelease(TFieldPoint p, bool ctrl) {
  if (!wallButtonDown_) return;
  wallButtonDown_ = false;
  if (wallMouse_ == wmOnSelected && WallAt(p, true) >= 0) {
    bandAnchor_ = bandCurrent_ = p;
    UpdateBand(ctrl);
  }
  EndBand();
  wallMouse_ = wmBand;
  Changed();
}

void TEditor::WallSecondaryPress(TFieldPoint p, bool ctrl) {
  if (ctrl || !Walls()) return;
  const bool onWall = WallAt(p, false) >= 0;
  if (!onWall || WallAt(p, true) < 0) {
    // Empty space clears the selection; an unselected wall becomes the selection.
    bandAnchor_ = bandCurrent_ = onWall ? p : InsideField(p);
    UpdateBand(false);
  }
  Changed();
}

// ---- Commands on the selected walls ----

void TEditor::CopyWalls() {
  const TWalls* walls = Walls();
  if (!walls || selectedWalls_ == 0) return;
  wallClipboard_.clear();
  for (size_t i = 0; i < walls->size() && i < size_t(kMaxWalls); ++i)
    if (Selected(wallMarks_[i])) wallClipboard_.push_back((*walls)[i]);
  Changed();
}

void TEditor::CutWalls() {
  CopyWalls();
  DeleteWalls();
}

// A level holds at most kMaxWalls walls (the selection marks and the play field's table
// have no more places): a paste that would go beyond takes the first walls that fit and
// says so.
void TEditor::PasteWalls(TFieldPoint pointer) {
  if (!Walls() || wallClipboard_.empty()) return;
  const size_t room = kMaxWalls - std::min<size_t>(Walls()->size(), kMaxWalls);
  const size_t count = std::min(room, wallClipboard_.size());
  if (count < wallClipboard_.size()) {
    Message("Only " + std::to_string(count) + " of " + std::to_string(wallClipboard_.size()) +
            " walls can be pasted:\r\na level holds at most " + std::to_string(kMaxWalls) +
            " walls.");
    if (count == 0) return;
  }
  int64_t mx = wallClipboard_[0].x, my = wallClipboard_[0].y;
  for (const TWall& w : wallClipboard_) {
    mx = std::min<int64_t>(mx, w.x);
    my = std::min<int64_t>(my, w.y);
  }
  PushUndo();
  TWalls& walls = *Walls();
  wallMarks_.fill(kMarkNone);
  for (size_t i = 0; i < count; ++i) {
    TWall w = wallClipboard_[i];
    w.x = LimitCoordinate(w.x - mx + pointer.x);
    w.y = LimitCoordinate(w.y - my + pointer.y);
    wallMarks_[walls.size()] = kMarkSelected;
    walls.push_back(w);
  }
  CountSelectedWalls();
  ShowChangedLevel();
  Modified();
  Changed();
}

void TEditor::DeleteWalls() {
  if (!Walls() || selectedWalls_ == 0) return;
  PushUndo();
  TWalls& walls = *Walls();
  TWalls kept;
  kept.reserve(walls.size());
  for (size_t i = 0; i < walls.size(); ++i)
    if (i >= size_t(kMaxWalls) || !Selected(wallMarks_[i])) kept.push_back(walls[i]);
  walls.swap(kept);
  wallMarks_.fill(kMarkNone);
  CountSelectedWalls();
  ShowChangedLevel();
  Modified();
  Changed();
}

// Calls change(wall) for every selected wall; change returns true when it changed the
// wall. The undo state is pushed and the set marked before the first change.
template <class F>
void TEditor::ChangeSelectedWalls(F change) {
  if (!Walls()) return;
  bool changed = false;
  const size_t n = std::min<size_t>(Walls()->size(), kMaxWalls);
  for (size_t i = 0; i < n; ++i) {
    if (!Selected(wallMarks_[i])) continue;
    TWall w = (*Walls())[i];
    if (!change(w)) continue;
    if (!changed) {
      PushUndo();
      Modified();
      changed = true;
    }
    (*Walls())[i] = w;
  }
  if (changed) ShowChangedLevel();
  Changed();
}

// Calls edit(wall) for every selected wall, after one undo state, whatever it changes.
template <class F>
void TEditor::EditSelectedWalls(F edit) {
  if (!Walls() || selectedWalls_ == 0) return;
  PushUndo();
  Modified();
  const size_t n = std::min<size_t>(Walls()->size(), kMaxWalls);
  for (size_t i = 0; i < n; ++i)
    if (Selected(wallMarks_[i])) edit((*Walls())[i]);
  ShowChangedLevel();
  Changed();
}

void TEditor::AlignToGrid() {
  const int64_t g = std::clamp(settings.gridSize, 1, 32);
  // The nearest multiple of g, halves up (division truncating toward zero).
  auto align = [g](int32_t v) { return LimitCoordinate((int64_t(v) + g / 2) / g * g); };
  EditSelectedWalls([&](TWall& w) { w.x = align(w.x), w.y = align(w.y); });
}

void TEditor::RandomWallColour() {
  EditSelectedWalls([](TWall& w) { w.colour = uint8_t(Random(kWallColours)); });
}

void TEditor::RandomWallBonus() {
  EditSelectedWalls([](TWall& w) { w.bonus = uint8_t(Random(kBonusKinds)); });
}

void TEditor::WallPositions() {
  if (!Walls()) return;
  PushUndo();
  Modified();
  for (TWall& w : *Walls()) {
    w.x = std::clamp(int32_t(w.x), 0, std::max(0, kFieldWidth - ShapeWidth(w)));
    w.y = std::clamp(int32_t(w.y), 0, std::max(0, kFieldHeight - ShapeHeight(w)));
  }
  ShowChangedLevel();
  Changed();
}

// Mirrors the left half onto the right half over all walls, selected or not. A result
// beyond kMaxWalls walls is refused with a message, before anything changes.
void TEditor::CopyLeftToRightWalls() {
  const TWalls* walls = Walls();
  if (!walls) return;
  constexpr int32_t kMiddle = kFieldWidth / 2;
  TWalls kept, copies;
  for (const TWall& w : *walls) {
    const int64_t width = ShapeWidth(w);
    if (int64_t(w.x) + width < kMiddle) {
      kept.push_back(w);
      TWall copy = w;
      copy.x = LimitCoordinate(int64_t(kFieldWidth) - w.x - width);
      copies.push_back(copy);
    } else if (w.x < kMiddle) {
      kept.push_back(w);  // across the middle
    }
  }
  if (kept.size() + copies.size() > size_t(kMaxWalls)) {
    Message("Can not copy left to right:\r\nthe level would have more than " +
            std::to_string(kMaxWalls) + " walls.");
    return;
  }
  PushUndo();
  TWalls& current = *Walls();
  current = std::move(kept);
  current.insert(current.end(), copies.begin(), copies.end());
  Modified();
  ShowChangedLevel();
  UpdateBand(false);
  Changed();
}

void TEditor::SelectAllWalls() {
  const TWalls* walls = Walls();
  if (!walls) return;
  wallMarks_.fill(kMarkNone);
  std::fill_n(wallMarks_.begin(), std::min<size_t>(walls->size(), kMaxWalls), kMarkSelected);
  CountSelectedWalls();
  Changed();
}

void TEditor::InvertWallSelection() {
  const TWalls* walls = Walls();
  if (!walls) return;
  const size_t n = std::min<size_t>(walls->size(), kMaxWalls);
  for (size_t i = 0; i < n; ++i) {
    uint8_t& m = wallMarks_[i];
    m = (m == kMarkNone || m == kMarkUnband) ? kMarkSelected : kMarkNone;
  }
  CountSelectedWalls();
  Changed();
}

// ---- The wall controls ----

void TEditor::SetWallColour(int colour) {
  if (colour < 0 || colour >= kWallColours) return;
  ChangeSelectedWalls([colour](TWall& w) {
    if (w.colour == colour) return false;
    w.colour = uint8_t(colour);
    return true;
  });
}

void TEditor::SetWallBonus(int bonus) {
  if (bonus < 0 || bonus >= kBonusKinds) return;
  ChangeSelectedWalls([bonus](TWall& w) {
    if (w.bonus == bonus) return false;
    w.bonus = uint8_t(bonus);
    return true;
  });
}

void TEditor::SetWallShape(int shape) {
  if (shape < 0 || shape >= std::max(gBrickPictures.shapes, 1) || shape > 0xFFFF) return;
  ChangeSelectedWalls([shape](TWall& w) {
    if (w.shape == shape) return false;
    w.shape = uint16_t(shape);
    return true;
  });
}

namespace {

int32_t TypedCoordinate(const std::string& text) {
  TReadNumberResult r = ReadNumber(text, INT32_MIN, INT32_MAX, 0);
  return LimitCoordinate(r.error.empty() ? r.value : 0);
}

}  // namespace

void TEditor::SetWallX(const std::string& text) {
  const int32_t x = TypedCoordinate(text);
  ChangeSelectedWalls([x](TWall& w) {
    if (w.x == x) return false;
    w.x = x;
    return true;
  });
}

void TEditor::SetWallY(const std::string& text) {
  const int32_t y = TypedCoordinate(text);
  ChangeSelectedWalls([y](TWall& w) {
    if (w.y == y) return false;
    w.y = y;
    return true;
  });
}

void TEditor::RefreshWallControls() {
  const TWalls* walls = Walls();
  view_.wallCount = walls ? int(walls->size()) : 0;
  view_.colourChoice = view_.bonusChoice = view_.shapeChoice = -1;
  view_.editX.clear();
  view_.editY.clear();
  if (!walls || selectedWalls_ == 0) return;
  bool first = true;
  int colour = -1, bonus = -1, shape = -1;
  int64_t x = 0, y = 0;
  bool sameX = true, sameY = true;
  const size_t n = std::min<size_t>(walls->size(), kMaxWalls);
  for (size_t i = 0; i < n; ++i) {
    if (!Selected(wallMarks_[i])) continue;
    const TWall& w = (*walls)[i];
    if (first) {
      colour = w.colour, bonus = w.bonus, shape = w.shape, x = w.x, y = w.y;
      first = false;
      continue;
    }
    if (w.colour != colour) colour = -1;
    if (w.bonus != bonus) bonus = -1;
    if (w.shape != shape) shape = -1;
    sameX = sameX && w.x == x;
    sameY = sameY && w.y == y;
  }
  view_.colourChoice = colour;
  view_.bonusChoice = bonus;
  view_.shapeChoice = shape;
  view_.editX = sameX ? std::to_string(x) : "";
  view_.editY = sameY ? std::to_string(y) : "";
}

}  // namespace kelvra
