// The level editor's levels: opening, the view, the level list and level operations,
// undo and redo, the texts, the lock, Brickfall's level properties, the settings and the
// dispatch of commands and mouse events.
#include "session/Editor.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <filesystem>

#include "base/KIniFile.h"
#include "base/Paths.h"
#include "brickfall/BrickBackground.h"
#include "brickfall/BrickDraw.h"
#include "brickfall/BrickGame.h"
#include "brickfall/BrickPictures.h"
#include "burrower/BurrDraw.h"
#include "common/Com.h"
#include "common/Kinds.h"
#include "common/LevelSet.h"
#include "media/KBitmap.h"
#include "monsters/MonsDraw.h"
#include "platform/Services.h"
#include "session/EditorHistory.h"

namespace kelvra {

namespace {

constexpr const char* kSection = "Editor";
constexpr int kLevelNameChars = 31;   // Monsters level name
constexpr int kHeaderTextChars = 43;  // description and final message as typed
constexpr int32_t kMinGridSize = 2, kMaxGridSize = 32, kDefaultGridSize = 16;

// Background kinds of a Brickfall level.
constexpr uint8_t kBackgroundFill = 1, kBackgroundTexture = 3, kBackgroundPicture = 4;

// Calls `f` with the level list of `kind`.
template <class F>
decltype(auto) WithLevels(int kind, F&& f) {
  switch (kind) {
    case gkMonsters:
      return f(gMonsLevels);
    case gkBurrower:
      return f(gBurrLevels);
    default:
      return f(gBrickLevels);
  }
}

void MakeNewLevel(TLevel& level) {
  NewBrickLevel(level);
}
void MakeNewLevel(TMonsLevel& level) {
  NewMonsLevel(level);
}
void MakeNewLevel(TBurrLevel& level) {
  NewBurrLevel(level);
}

// The Brickfall level flag an item toggles; nullptr for other items.
uint8_t* LevelFlag(TLevelFields& f, EditorItemId id) {
  switch (id) {
    case eiStars:
      return &f.stars;
    case eiRain:
      return &f.rain;
    case eiSnow:
      return &f.snow;
    case eiSmallSnow:
      return &f.smallSnow;
    case eiFire:
      return &f.fire;
    case eiBubble:
      return &f.bubble;
    case eiWater:
      return &f.water;
    case eiSmoke:
      return &f.smoke;
    case eiPoints:
      return &f.points;
    case eiLighting:
      return &f.lighting;
    case eiEnemy:
      return &f.enemy;
    case eiRightIsLeft:
      return &f.rightIsLeft;
    case eiBottomIsTop:
      return &f.bottomIsTop;
    case eiRightBottomIsLeftTop:
      return &f.rightBottomIsLeftTop;
    default:
      return nullptr;
  }
}

bool IsMirrorItem(EditorItemId id) {
  return id == eiRightIsLeft || id == eiBottomIsTop || id == eiRightBottomIsLeftTop;
}

// The flags as the menu writes them: 255 for a checked item, 0 for an unchecked one.
void WriteFlagsAsMenu(TLevelFields& f) {
  for (int id = eiStars; id <= eiRightBottomIsLeftTop; ++id)
    if (uint8_t* flag = LevelFlag(f, EditorItemId(id))) *flag = *flag ? 255 : 0;
}

// Text typed for a header field: at most `chars` characters.
std::string Limited(std::string text, int chars) {
  if (int(text.size()) > chars) text.resize(size_t(chars));
  return text;
}

}  // namespace

void EditorSettingsTransfer(TKIniFile& ini, bool save, TEditorSettings& s) {
  s.left = ini.Int(kSection, "Left", save, s.left);
  s.top = ini.Int(kSection, "Top", save, s.top);
  s.grid = ini.Bool(kSection, "Grid", save, s.grid);
  s.gridSize = ini.Int(kSection, "GridSize", save, s.gridSize);
  if (s.gridSize < 1) s.gridSize = kDefaultGridSize;
  s.gridSize = std::min(s.gridSize, kMaxGridSize);
  s.bonuses = ini.Bool(kSection, "Bonuses", save, s.bonuses);
  s.maskBackground = ini.Bool(kSection, "MaskBackground", save, s.maskBackground);
}

TEditor::TEditor() {
  for (int g = 0; g < 2; ++g) {
    const TGridGeometry& grid = GridGeometry(g == 0 ? gkMonsters : gkBurrower);
    squareMarks_[g].assign(size_t(grid.Squares()), kMarkNone);
    // Nothing copied yet: all holes, so that a paste changes nothing (a grid of None
    // squares would wipe out everything from the selection to the field's corner).
    squareClipboard_[g].assign(size_t(grid.Squares() * grid.bytes), 0);
    for (size_t i = 0; i < size_t(grid.Squares()); ++i)
      squareClipboard_[g][i * size_t(grid.bytes)] = grid.noCode;
  }
  view_[eiPasteLevel].enabled = false;
}

int TEditor::Kind() const {
  return gCom.kind < kKinds ? int(gCom.kind) : int(gkBrickfall);
}

int TEditor::LevelCount() const {
  return WithLevels(Kind(), [](auto& levels) { return int(levels.size()); });
}

// The current level index, kept within the list (an empty list gives 0).
int TEditor::LevelIndex() const {
  return std::clamp(gCom.k[Kind()].levelIndex, 0, std::max(0, LevelCount() - 1));
}

void TEditor::Open() {
  open_ = true;
  WithLevels(Kind(), [](auto& levels) {
    for (auto& level : levels) NormaliseHistory(level);
  });
  Refresh();
}

void TEditor::Close() {
  open_ = false;
  wallButtonDown_ = squareButtonDown_ = false;
}

void TEditor::PushUndo() {
  if (LevelCount() == 0) return;
  const int index = LevelIndex();
  WithLevels(Kind(), [index](auto& levels) { PushHistoryState(levels[size_t(index)]); });
}

void TEditor::Modified() {
  MarkModified(Kind());
}

void TEditor::ShowChangedLevel() {
  gCom.k[Kind()].levelIndex = LevelIndex();
  KindOps(Kind()).ShowLevel();
  if (hooks.fieldChanged) hooks.fieldChanged();
}

void TEditor::LevelShown() {
  ShowChangedLevel();
  KindOps(Kind()).LevelChanged();
  if (Kind() == gkBrickfall) UpdateBand(false);
}

void TEditor::Changed() {
  Refresh();
  if (hooks.changed) hooks.changed();
}

bool TEditor::HasLevelClipboard(int kind) const {
  switch (kind) {
    case gkMonsters:
      return monsClipboard_.has_value();
    case gkBurrower:
      return burrClipboard_.has_value();
    default:
      return brickClipboard_.has_value();
  }
}

// ---- The view ----

void TEditor::Refresh() {
  const int k = Kind();
  const uint8_t kindBit = uint8_t(1u << k);
  TEditorView& v = view_;
  const int count = LevelCount();
  const int index = LevelIndex();

  for (int id = 0; id < eiCount; ++id) {
    const TEditorItemDef& def = kEditorItems[id];
    TMenuItemState& item = v.item[size_t(id)];
    item.visible = (def.kinds & kindBit) != 0;
    item.enabled = true;
    item.checked = false;
    item.caption = def.caption;
  }

  v.levels.clear();
  for (int i = 0; i < count; ++i) {
    if (k == gkMonsters)
      v.levels.push_back(GetShortString(gMonsLevels[size_t(i)].name, kMonsNameBytes));
    else
      v.levels.push_back("Level " + std::to_string(i + 1));
  }
  v.levelIndex = index;
  v.caption = "Edit Level " + std::to_string(index + 1) + " / " + std::to_string(count);
  if (gCom.k[k].modified) v.caption += " *";

  const bool full = count >= kMaxLevels;
  v[eiDeleteLevel].enabled = count > 1;
  v[eiNewLevel].enabled = !full;
  v[eiPasteLevel].enabled = HasLevelClipboard(k) && !full;
  const bool hasLevel = count > 0;
  v[eiCutLevel].enabled = v[eiCopyLevel].enabled = hasLevel;

  int undo = 0, redo = 0;
  if (hasLevel) {
    WithLevels(k, [&](auto& levels) {
      undo = UndoSteps(levels[size_t(index)]);
      redo = RedoSteps(levels[size_t(index)]);
    });
  }
  v[eiUndo].caption = "Undo (" + std::to_string(undo) + ")";
  v[eiUndo].enabled = undo > 0;
  v[eiRedo].caption = "Redo (" + std::to_string(redo) + ")";
  v[eiRedo].enabled = redo > 0;

  v.squareControls = k != gkBrickfall;
  v.directionControl = k == gkMonsters;
  v.wallControls = k == gkBrickfall;
  v.squareLabel = k == gkBrickfall ? "Walls" : "Square";
  v.squareNames = SquareKindNames(k);

  if (k == gkBrickfall) {
    // The main window may have shown another level ("Last Level", "Next Level"): marks past
    // its wall list belong to no wall.
    CountSelectedWalls();
    ComputeBrickItems();
  } else {
    ComputeGridItems();
  }
  PublishMarks();
}

// The play field's drawing reads the editor's marks from the games' own view records (the
// games cannot include the editor); every refresh copies them there.
void TEditor::PublishMarks() {
  TBrickEditorView& b = gBrickEditorView;
  b.maskBackground = settings.maskBackground;
  b.bonuses = settings.bonuses;
  b.grid = settings.grid;
  b.gridSize = settings.gridSize;
  b.selectedWalls.clear();
  for (int i = 0; i < kMaxWalls; ++i)
    if (wallMarks_[size_t(i)] == kMarkSelected || wallMarks_[size_t(i)] == kMarkBand)
      b.selectedWalls.push_back(i);
  b.band = wallButtonDown_ && wallMouse_ == wmBand;
  b.bandX1 = bandAnchor_.x, b.bandY1 = bandAnchor_.y;
  b.bandX2 = bandCurrent_.x, b.bandY2 = bandCurrent_.y;
  const auto selected = [](uint8_t m) { return m == kMarkSelected || m == kMarkBand ? 1 : 0; };
  for (size_t i = 0; i < std::size(gMonsEditorView.selected); ++i)
    gMonsEditorView.selected[i] = uint8_t(selected(squareMarks_[0][i]));
  for (size_t i = 0; i < std::size(gBurrEditorView.selected); ++i)
    gBurrEditorView.selected[i] = uint8_t(selected(squareMarks_[1][i]));
}

void TEditor::ComputeBrickItems() {
  TEditorView& v = view_;
  v.colourNames.assign(std::begin(kWallColourNames), std::end(kWallColourNames));
  v.bonusNames.clear();
  for (int b = 0; b < kBonusKinds; ++b) v.bonusNames.push_back(BonusName(b));
  // A shape without a picture file (nothing loaded yet) is listed by its number.
  v.shapeNames.clear();
  for (int s = 0; s < std::max(gBrickPictures.shapes, 1); ++s)
    v.shapeNames.push_back(!gBrickPictures.name[s].empty() ? gBrickPictures.name[s]
                                                           : "Shape " + std::to_string(s + 1));
  v[eiGrid].checked = settings.grid;
  v[eiBonuses].checked = settings.bonuses;
  v[eiMaskBackground].checked = settings.maskBackground;
  v[eiGridSize].caption = "Grid Size (" + std::to_string(settings.gridSize) + ")...";

  if (TLevel* level = BrickLevel()) {
    TLevelFields& f = level->f;
    for (int id = eiStars; id <= eiRightBottomIsLeftTop; ++id)
      if (uint8_t* flag = LevelFlag(f, EditorItemId(id))) v.item[size_t(id)].checked = *flag != 0;
    auto number = [&](EditorItemId id, const char* name, int32_t value) {
      v[id].checked = value > 0;
      if (value > 0) v[id].caption = std::string(name) + " (" + std::to_string(value) + ")...";
    };
    number(eiEarthquake, "Earthquake", f.earthquake);
    number(eiGravity, "Gravity", f.gravity);
    number(eiMaxWind, "Max Wind", f.maxWind);
    v[eiBackgroundEffect].caption = "Effect (" + std::to_string(f.backgroundEffect) + ")...";
    const std::pair<EditorItemId, uint8_t> kinds[] = {
        {eiFill, kBackgroundFill}, {eiRGB, kBackgroundTexture}, {eiPicture, kBackgroundPicture}};
    for (auto [id, kind] : kinds) {
      v[id].checked = f.backgroundKind == kind;
      v[id].enabled = !v[id].checked;
    }
  }
  RefreshWallControls();

  // The popup acts on the selection: cut, copy and delete need one, paste none.
  const int n = selectedWalls_;
  const char* s = n == 1 ? "wall" : "walls";
  v[eiCut].caption = std::string("Cu&t ") + s;
  v[eiCopy].caption = std::string("&Copy ") + s;
  v[eiDelete].caption = std::string("&Delete ") + s;
  v[eiCut].enabled = v[eiCopy].enabled = v[eiDelete].enabled = n >= 1;
  v[eiAlignToGrid].enabled = n >= 1;
  v[eiPaste].enabled = n == 0;
  v[eiPaste].caption = wallClipboard_.size() < 2 ? "&Paste wall" : "&Paste walls";
}

// ---- Commands ----

void TEditor::Command(EditorItemId id) {
  if (id < 0 || id >= eiCount) return;
  const TMenuItemState& item = view_[id];
  if (!item.visible || !item.enabled) return;
  const bool bricks = Kind() == gkBrickfall;
  switch (id) {
    case eiCutLevel:
      CutLevel();
      break;
    case eiCopyLevel:
      CopyLevel();
      break;
    case eiPasteLevel:
      PasteLevel();
      break;
    case eiDeleteLevel:
      DeleteLevel();
      break;
    case eiNewLevel:
      NewLevel();
      break;
    case eiLevelName:
      LevelName();
      break;
    case eiDescription:
      Description();
      break;
    case eiFinalMessage:
      FinalMessage();
      break;
    case eiLock:
      Lock();
      break;
    case eiUndo:
      Undo();
      break;
    case eiRedo:
      Redo();
      break;
    case eiCopyLeftToRight:
      if (bricks)
        CopyLeftToRightWalls();
      else
        CopyLeftToRightSquares();
      break;
    case eiCopyUpToDown:
      CopyUpToDownSquares();
      break;
    case eiWallPositions:
      WallPositions();
      break;
    case eiRandomWallColor:
      RandomWallColour();
      break;
    case eiRandomWallBonus:
      RandomWallBonus();
      break;
    case eiRotate:
      RotateSquares();
      break;
    case eiChangeKind:
      ChangeKind();
      break;
    case eiSelectAll:
      if (bricks)
        SelectAllWalls();
      else
        SelectAllSquares();
      break;
    case eiInvertSelection:
      if (bricks)
        InvertWallSelection();
      else
        InvertSquareSelection();
      break;
    case eiEarthquake:
    case eiGravity:
    case eiBackgroundEffect: {
      TLevel* level = BrickLevel();
      if (!level) break;
      const bool quake = id == eiEarthquake, gravity = id == eiGravity;
      int32_t value = quake     ? level->f.earthquake
                      : gravity ? level->f.gravity
                                : int32_t(level->f.backgroundEffect);
      const char* caption = quake ? "Earthquake" : gravity ? "Gravity" : "Background Effect";
      const int32_t max = quake || gravity ? 16 : 22;
      const int32_t def = quake || gravity ? 0 : 16;
      if (!Platform().NumberDialog(caption, value, 0, max, def)) break;
      if (quake)
        SetEarthquake(value);
      else if (gravity)
        SetGravity(value);
      else
        SetBackgroundEffect(value);
      break;
    }
    case eiFill:
      SetBackgroundKind(kBackgroundFill);
      break;
    case eiRGB:
      SetBackgroundKind(kBackgroundTexture);
      break;
    case eiPicture:
      SetBackgroundKind(kBackgroundPicture);
      break;
    case eiGrid:
      settings.grid = !settings.grid;
      Changed();
      if (hooks.fieldChanged) hooks.fieldChanged();
      break;
    case eiBonuses:
      settings.bonuses = !settings.bonuses;
      Changed();
      if (hooks.fieldChanged) hooks.fieldChanged();
      break;
    case eiMaskBackground:
      settings.maskBackground = !settings.maskBackground;
      Changed();
      if (hooks.fieldChanged) hooks.fieldChanged();
      break;
    case eiCut:
      if (bricks)
        CutWalls();
      else
        CutSquares();
      break;
    case eiCopy:
      if (bricks)
        CopyWalls();
      else
        CopySquares();
      break;
    case eiPaste:
      if (bricks)
        PasteWalls({gCom.mouseX, gCom.mouseY});
      else
        PasteSquares();
      break;
    case eiDelete:
      if (bricks)
        DeleteWalls();
      else
        DeleteSquares();
      break;
    case eiAlignToGrid:
      AlignToGrid();
      break;
    default:
      ToggleLevelFlag(id);  // the effect and mirror items; others it leaves alone
      break;
  }
}

// ---- Levels ----

void TEditor::ChooseLevel(int index) {
  if (index < 0 || index >= LevelCount()) return;
  if (index != LevelIndex()) {
    gCom.k[Kind()].levelIndex = index;
    if (Kind() == gkBrickfall) selectedWalls_ = 0;
    LevelShown();
  }
  Changed();
}

void TEditor::NewLevel() {
  if (LevelCount() >= kMaxLevels) return;
  TKindState& s = gCom.k[Kind()];
  const int at = WithLevels(Kind(), [&](auto& levels) {
    typename std::decay_t<decltype(levels)>::value_type level;
    MakeNewLevel(level);
    return InsertLevelAfter(levels, LevelIndex(), level);
  });
  s.levelIndex = at;
  s.header.levelCount = LevelCount();
  LevelShown();
  Modified();
  Changed();
}

void TEditor::CopyLevel() {
  if (LevelCount() == 0) return;
  const size_t index = size_t(LevelIndex());
  switch (Kind()) {
    case gkMonsters:
      monsClipboard_ = gMonsLevels[index];
      break;
    case gkBurrower:
      burrClipboard_ = gBurrLevels[index];
      break;
    default:
      brickClipboard_ = gBrickLevels[index];
      break;
  }
  Changed();
}

// A set keeps at least one level: on a set of one level, Cut Level copies it and leaves
// it in place.
void TEditor::CutLevel() {
  CopyLevel();
  if (LevelCount() > 1) DeleteLevel();
}

void TEditor::PasteLevel() {
  if (!HasLevelClipboard(Kind()) || LevelCount() >= kMaxLevels) return;
  TKindState& s = gCom.k[Kind()];
  int at = 0;
  switch (Kind()) {
    case gkMonsters:
      at = InsertLevelAfter(gMonsLevels, LevelIndex(), *monsClipboard_);
      break;
    case gkBurrower:
      at = InsertLevelAfter(gBurrLevels, LevelIndex(), *burrClipboard_);
      break;
    default:
      at = InsertLevelAfter(gBrickLevels, LevelIndex(), *brickClipboard_);
      break;
  }
  WithLevels(Kind(), [at](auto& levels) { NormaliseHistory(levels[size_t(at)]); });
  s.levelIndex = at;
  s.header.levelCount = LevelCount();
  LevelShown();
  Modified();
  Changed();
}

void TEditor::DeleteLevel() {
  const int count = LevelCount();
  if (count <= 1) return;
  TKindState& s = gCom.k[Kind()];
  const int index = LevelIndex();
  WithLevels(Kind(), [index](auto& levels) { EraseLevel(levels, index); });
  // Brickfall shows the level before the deleted one; the grid kinds the one after it,
  // or the new last one.
  if (Kind() == gkBrickfall)
    s.levelIndex = index > 0 ? index - 1 : 0;
  else
    s.levelIndex = std::min(index, count - 2);
  s.header.levelCount = LevelCount();
  Modified();
  LevelShown();
  Changed();
}

void TEditor::Undo() {
  if (LevelCount() == 0) return;
  const int index = LevelIndex();
  if (!WithLevels(Kind(), [index](auto& levels) { return MoveHistory(levels[size_t(index)], -1); }))
    return;
  // The file keeps the state at the position: a save before the undo no longer holds it.
  Modified();
  LevelShown();
  Changed();
}

void TEditor::Redo() {
  if (LevelCount() == 0) return;
  const int index = LevelIndex();
  if (!WithLevels(Kind(), [index](auto& levels) { return MoveHistory(levels[size_t(index)], 1); }))
    return;
  Modified();
  LevelShown();
  Changed();
}

void TEditor::LevelName() {
  if (Kind() != gkMonsters || LevelCount() == 0) return;
  TMonsLevel& level = gMonsLevels[size_t(LevelIndex())];
  std::string text = GetShortString(level.name, kMonsNameBytes);
  if (!Platform().LimitedTextInput("Level Name", "Level Name", text, "None", kLevelNameChars))
    return;
  SetShortString(level.name, kMonsNameBytes, Limited(text, kLevelNameChars));
  Modified();
  Changed();
}

void TEditor::Description() {
  EditHeaderText(gCom.k[gkBrickfall].header.description, "Levels Description");
}

void TEditor::FinalMessage() {
  EditHeaderText(gCom.k[gkBrickfall].header.finalMessage, "Final Message");
}

// One of the Brickfall header's 64-byte texts, typed in a dialog of that caption.
void TEditor::EditHeaderText(uint8_t* field, const char* caption) {
  if (Kind() != gkBrickfall) return;
  std::string text = GetShortString(field, 64);
  if (!Platform().LimitedTextInput(caption, caption, text, "None", kHeaderTextChars)) return;
  SetShortString(field, 64, Limited(text, kHeaderTextChars));
  Modified();
  Changed();
}

void TEditor::Lock() {
  TKindState& s = gCom.k[Kind()];
  if (s.modified) {
    Platform().MessageDialog("Can not Lock levels,\r\nfirst save levels and try again.",
                             MsgType::Information, Btn(MsgButton::Ok));
    return;
  }
  MsgButton answer = Platform().MessageDialog(
      "Lock levels ?\r\nIf you select Yes,\r\nthen you must save levels using Save As with "
      "different file name.\r\nLevels with this file name will be locked and can not be modify.",
      MsgType::Confirmation, Btn(MsgButton::Yes) | Btn(MsgButton::No));
  if (answer != MsgButton::Yes) return;
  s.header.lock = kLocked;
  if (hooks.closeRequested) hooks.closeRequested();
}

// ---- Brickfall level properties ----

TLevel* TEditor::BrickLevel() {
  if (Kind() != gkBrickfall || gBrickLevels.empty()) return nullptr;
  return &gBrickLevels[size_t(LevelIndex())];
}

void TEditor::ToggleLevelFlag(EditorItemId id) {
  TLevel* level = BrickLevel();
  uint8_t* flag = level ? LevelFlag(level->f, id) : nullptr;
  if (!flag) return;
  *flag = *flag ? 0 : 255;
  WriteFlagsAsMenu(level->f);
  Modified();
  if (IsMirrorItem(id)) ShowChangedLevel();
  Changed();
}

void TEditor::SetBackgroundKind(int kind) {
  TLevel* level = BrickLevel();
  if (!level) return;
  if (kind != kBackgroundFill && kind != kBackgroundTexture && kind != kBackgroundPicture) return;
  WriteFlagsAsMenu(level->f);
  if (level->f.backgroundKind != kind) {
    level->f.backgroundKind = uint8_t(kind);
    Modified();
  }
  KindOps(gkBrickfall).LevelChanged();  // the background
  if (hooks.fieldChanged) hooks.fieldChanged();
  Changed();
}

// The level fields are packed (the file's layout): they are read and written by value,
// never bound to a reference.
void TEditor::SetEarthquake(int32_t value) {
  TLevel* level = BrickLevel();
  const int32_t v = std::clamp(value, 0, 16);
  if (level && level->f.earthquake != v) {
    level->f.earthquake = v;
    Modified();
  }
  Changed();
}

void TEditor::SetGravity(int32_t value) {
  TLevel* level = BrickLevel();
  const int32_t v = std::clamp(value, 0, 16);
  if (level && level->f.gravity != v) {
    level->f.gravity = v;
    Modified();
  }
  Changed();
}

void TEditor::SetBackgroundEffect(int32_t value) {
  TLevel* level = BrickLevel();
  const uint8_t v = uint8_t(std::clamp(value, 0, 22));
  if (level && level->f.backgroundEffect != v) {
    level->f.backgroundEffect = v;
    Modified();
  }
  Changed();
}

void TEditor::SetMaxWind(int32_t value) {
  TLevel* level = BrickLevel();
  const int32_t v = std::clamp(value, 0, 127);
  if (!level || level->f.maxWind == v) return;
  level->f.maxWind = v;
  Modified();
  KindOps(gkBrickfall).LevelChanged();  // the wind strip shows the level's Max wind
  if (hooks.fieldChanged) hooks.fieldChanged();
  Changed();
}

void TEditor::SetBackgroundTexture(int32_t value) {
  TLevel* level = BrickLevel();
  const int32_t v = std::clamp(value, 0, 9);
  if (!level || level->f.backgroundTexture == v) return;
  level->f.backgroundTexture = v;
  Modified();
  WriteFlagsAsMenu(level->f);
  KindOps(gkBrickfall).LevelChanged();
  if (hooks.fieldChanged) hooks.fieldChanged();
  Changed();
}

void TEditor::SetBackgroundColour(uint32_t colour) {
  TLevel* level = BrickLevel();
  if (!level || level->f.backgroundColour == colour) return;
  level->f.backgroundColour = colour;
  Modified();
  if (hooks.fieldChanged) hooks.fieldChanged();
  Changed();
}

void TEditor::SetBackgroundPicture(const std::string& stem) {
  TLevel* level = BrickLevel();
  if (!level) return;
  Modified();
  SetShortString(level->f.backgroundPicture, sizeof level->f.backgroundPicture, stem);
  KindOps(gkBrickfall).LevelChanged();
  if (hooks.fieldChanged) hooks.fieldChanged();
  Changed();
}

namespace {

constexpr int kPictureWidth = 512, kPictureHeight = 384;  // the Brickfall field, pixels
constexpr size_t kPictureNameChars = 95;                  // the level's picture name field

std::string LowerCase(std::string s) {
  for (char& c : s) c = char(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

std::string FolderOf(const std::string& path) {
  const std::string native = NativePath(path);
  return native.substr(0, native.size() - ExtractFileName(native).size());
}

}  // namespace

bool TEditor::SelectPicture(const std::string& chosen) {
  if (!BrickLevel() || chosen.empty()) return false;
  const std::string folder = ProgramDir() + "Levels/Brickfall/";
  const std::string name = ExtractFileName(chosen);
  const std::string ext = LowerCase(ExtractFileExt(name));
  std::string stem = name.substr(0, name.size() - (ext.empty() ? 0 : ext.size() + 1));
  if (stem.size() > kPictureNameChars) stem.resize(kPictureNameChars);
  if (stem.empty()) return false;

  if (LowerCase(FolderOf(AbsoluteFromProgram(chosen))) != LowerCase(folder)) {
    TKBitmap source;
    if (!LoadFromFile(source, chosen, kPictureWidth, kPictureHeight)) return false;
    const std::string wantedExt = ext == "jpg" || ext == "jpeg" ? ".jpg" : ".bmp";
    std::string target = folder + stem + wantedExt;
    // The level finds its picture by name whatever the case: a file there under that name
    // belongs to other levels too, so it is replaced only when the user says so, and in
    // its own place.
    const std::string existing = FindBrickBackground(stem);
    if (!existing.empty()) {
      const MsgButton answer =
          Platform().MessageDialog(existing + "\r\nalready exists.\r\nDo you want to replace it?",
                                   MsgType::Confirmation, Btn(MsgButton::Yes) | Btn(MsgButton::No));
      if (answer != MsgButton::Yes) return false;
      if (LowerCase(ExtractFileExt(existing)) == wantedExt.substr(1)) target = existing;
    }
    TKBitmap scaled;
    ScaleBitmap(scaled, source, kPictureWidth, kPictureHeight);
    std::error_code ignored;  // a folder that cannot be made is reported by the save
    std::filesystem::create_directories(folder, ignored);
    if (!SaveToFile(scaled, target)) return false;  // written atomically; errors reported
  }
  SetBackgroundPicture(stem);
  return true;
}

void TEditor::SetGridSize(int32_t pixels) {
  settings.gridSize = std::clamp(pixels, kMinGridSize, kMaxGridSize);
  if (hooks.fieldChanged) hooks.fieldChanged();
  Changed();
}

// ---- The play field's mouse ----

void TEditor::MousePress(int button, TFieldPoint p, bool ctrl) {
  if (LevelCount() == 0) return;
  if (Kind() == gkBrickfall) {
    if (button == 0) WallPress(p, ctrl);
    if (button == 2) WallSecondaryPress(p, ctrl);
  } else if (button == 0) {
    SquarePress(p, ctrl);
  }
}

void TEditor::MouseMove(TFieldPoint p, bool ctrl) {
  if (LevelCount() == 0) return;
  if (Kind() == gkBrickfall)
    WallMove(p, ctrl);
  else
    SquareMove(p, ctrl);
}

void TEditor::MouseRelease(int button, TFieldPoint p, bool ctrl) {
  if (LevelCount() == 0) return;
  if (Kind() == gkBrickfall) {
    if (button == 0) WallRelease(p, ctrl);
  } else if (button == 0) {
    SquareRelease();
  }
  // A secondary release only opens the popup, whose items Refresh keeps.
}

}  // namespace kelvra
