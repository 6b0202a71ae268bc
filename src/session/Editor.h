// The level editor's logic without its window: the level list and the level operations,
// the per-level undo and redo, the lock, Brickfall's level properties and wall editing,
// and the square editing of the two grid kinds. The Qt window (TfEditor) shows View()
// and forwards its menu commands, list choices and the play field's mouse events here.
//
// Everything acts on the level set of the current kind (gCom.kind) and on the state at
// the history position of its current level. Every change pushes one undo state first
// and marks the set modified; the play field is rebuilt (Brickfall) or decoded (grid
// kinds) afterwards through the kind's ShowLevel.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "brickfall/BrickLevel.h"
#include "burrower/BurrLevel.h"
#include "monsters/MonsLevel.h"
#include "session/EditorItems.h"

namespace kelvra {

class TKIniFile;

// A point on the play field of the current kind, in field pixels.
struct TFieldPoint {
  int32_t x = 0, y = 0;
};

// Section "Editor" of the settings file.
struct TEditorSettings {
  int32_t left = 100, top = 228;  // window position
  bool grid = true;               // Brickfall: draw the alignment grid
  int32_t gridSize = 16;          // pixels, 2..32: the step of "Align to Grid"
  bool bonuses = true;            // Brickfall: show the walls' bonuses
  bool maskBackground = true;
};
// Loads (save false) or stores the settings; a stored grid size below 1 reads as 16.
void EditorSettingsTransfer(TKIniFile& ini, bool save, TEditorSettings& settings);

// What the editor asks of its window; unset hooks are skipped.
struct TEditorHooks {
  std::function<void()> changed;         // View() changed: show it again
  std::function<void()> fieldChanged;    // the play field must be drawn again
  std::function<void()> closeRequested;  // "Lock" closes the editor
};

// Stored coordinates of a wall the editor writes stay within +-this many pixels: the play
// field's arithmetic in 1/1024 pixel keeps such values (and their mirrored copies) inside
// 32 bits, and the file stores them as they are.
constexpr int32_t kWallCoordinateLimit = 65536;

// The geometry of a grid kind's squares: the square (x, y) is stored at index x * rows + y,
// `bytes` bytes each, and covers the field pixels (cell * x + inset, cell * y + inset) to
// (cell * x + inset + size - 1, ...).
struct TGridGeometry {
  int kind;
  int cols, rows;
  int bytes;       // per stored square: Monsters kind, variant, direction; Burrower code
  uint8_t noCode;  // the kind code of a clipboard hole ("No")
  int cell, inset, size;
  bool snap;                    // band corners snap to the top-left corner of a square (Monsters)
  int fieldWidth, fieldHeight;  // pixels

  int Squares() const { return cols * rows; }
};
const TGridGeometry& GridGeometry(int kind);  // gkMonsters or gkBurrower

// Selection marks of walls and squares.
enum : uint8_t {
  kMarkNone = 0,      // not selected
  kMarkSelected = 1,  // selected
  kMarkBand = 2,      // selected by the band being dragged
  kMarkUnband = 3,    // selected, but taken off by the band being dragged
};

// Mouse states of wall editing.
enum WallMouse : uint8_t {
  wmBand = 0,        // drawing a rubber band
  wmOnSelected = 1,  // pressed on a selected wall
  wmOnOther = 2,     // pressed on a wall that was not selected
  wmDragging = 3,    // moving the selected walls
};

class TEditor {
 public:
  TEditor();

  TEditorHooks hooks;
  TEditorSettings settings;

  // Opening: prepares the controls for the current kind and shows its state. Closing
  // asks nothing: the changes live in the level set.
  void Open();
  void Close();
  bool IsOpen() const { return open_; }
  // Recomputes the whole view from the level set (after "Last Level"/"Next Level", after
  // a level set was opened or saved, and after every operation here).
  void Refresh();
  const TEditorView& View() const { return view_; }

  // A command of the menus or the popup, by item; a disabled or hidden item does nothing.
  // Items that open a dialog ask through the platform's services (text and modal number
  // dialogs, the lock's messages). The live dialogs ("Max Wind...", "Select Texture...",
  // "Select Color...", "Grid Size...") and the picture dialog stay open beside the editor:
  // the window runs them and calls the setters below on every change.
  void Command(EditorItemId id);

  // The level list.
  void ChooseLevel(int index);

  // Level operations.
  void NewLevel();
  void CopyLevel();
  void CutLevel();
  void PasteLevel();
  void DeleteLevel();
  void Undo();
  void Redo();
  void LevelName();     // Monsters
  void Description();   // Brickfall
  void FinalMessage();  // Brickfall
  void Lock();
  bool HasLevelClipboard(int kind) const;

  // Brickfall level properties; none of them is part of the history.
  void ToggleLevelFlag(EditorItemId id);     // the effect, "Enemy" and mirror items
  void SetBackgroundKind(int kind);          // 1 Fill, 3 RGB, 4 Picture
  void SetEarthquake(int32_t value);         // 0..16
  void SetGravity(int32_t value);            // 0..16
  void SetBackgroundEffect(int32_t value);   // 0..22
  void SetMaxWind(int32_t value);            // 0..127
  void SetBackgroundTexture(int32_t value);  // 0..9
  void SetBackgroundColour(uint32_t colour);
  void SetBackgroundPicture(const std::string& stem);  // file name without folder and extension
  // "Select Picture...": the window asks for the file. A picture outside the levels' picture
  // folder is copied into it at 512 x 384 under its own name (JPEG as ".jpg", any other
  // as ".bmp"), asking first when a picture of that name is already there; then it becomes
  // the level's picture. False when nothing changed (not loaded, not replaced, not saved).
  bool SelectPicture(const std::string& chosen);
  void SetGridSize(int32_t pixels);  // 2..32

  // Brickfall wall editing; points in field pixels, ctrl = Control held.
  void WallPress(TFieldPoint p, bool ctrl);
  void WallMove(TFieldPoint p, bool ctrl);
  void WallRelease(TFieldPoint p, bool ctrl);
  void WallSecondaryPress(TFieldPoint p, bool ctrl);
  void CopyWalls();
  void CutWalls();
  void PasteWalls(TFieldPoint pointer);
  void DeleteWalls();
  void AlignToGrid();
  void RandomWallColour();
  void RandomWallBonus();
  void WallPositions();
  void CopyLeftToRightWalls();
  void SelectAllWalls();
  void InvertWallSelection();
  // The wall controls: a value applies to every selected wall that differs; -1 (no item
  // chosen) changes nothing. X and Y are typed texts read by the number reader.
  void SetWallColour(int colour);
  void SetWallBonus(int bonus);
  void SetWallShape(int shape);
  void SetWallX(const std::string& text);
  void SetWallY(const std::string& text);
  int SelectedWalls() const { return selectedWalls_; }
  uint8_t WallMark(int index) const;
  WallMouse WallMouseState() const { return wallMouse_; }
  const TWalls& WallClipboard() const { return wallClipboard_; }

  // Grid square editing (Monsters, Burrower).
  void SquarePress(TFieldPoint p, bool ctrl);
  void SquareMove(TFieldPoint p, bool ctrl);
  void SquareRelease();
  void ChooseSquareKind(int kind);
  void ChooseDirection(int direction);  // Monsters
  void CopySquares();
  void CutSquares();
  void PasteSquares();
  void DeleteSquares();
  void RotateSquares();  // Monsters
  void ChangeKind();     // Monsters
  void CopyLeftToRightSquares();
  void CopyUpToDownSquares();
  void MirrorSquares(bool leftToRight);
  void SelectAllSquares();
  void InvertSquareSelection();
  uint8_t SquareMark(int kind, int x, int y) const;

  // The play field's mouse, as the main window forwards it for the current kind:
  // button 0 primary, 2 secondary.
  void MousePress(int button, TFieldPoint p, bool ctrl);
  void MouseMove(TFieldPoint p, bool ctrl);
  void MouseRelease(int button, TFieldPoint p, bool ctrl);

 private:
  void EditHeaderText(uint8_t* field, const char* caption);
  // The current level of the current kind; the history operations by kind.
  int Kind() const;
  int LevelIndex() const;
  int LevelCount() const;
  void PushUndo();  // one undo state for the current level, before its first change
  void Modified();
  void ShowChangedLevel();  // rebuild or decode the play field, then tell the window
  void LevelShown();        // after the current level or its state changed: field, band
  void Changed();           // refresh and tell the window
  void PublishMarks();      // the selection, band and view switches the field draws

  // Brickfall.
  TLevel* BrickLevel();
  TWalls* Walls();
  void WallBox(const TWall& w, int64_t& x2, int64_t& y2) const;
  int WallAt(TFieldPoint p, bool selectedOnly) const;
  void UpdateBand(bool toggle);  // over bandAnchor_..bandCurrent_
  void CountSelectedWalls();
  void EndBand();  // marks 2 become 1, marks 3 become 0
  void MoveSelectedWalls(int32_t dx, int32_t dy);
  template <class F>
  void ChangeSelectedWalls(F change);  // push and mark before the first change
  template <class F>
  void EditSelectedWalls(F edit);  // push and mark first, whatever changes
  void RefreshWallControls();
  void ComputeBrickItems();

  // Grid kinds.
  uint8_t* GridState();  // the stored squares at the history position
  std::vector<uint8_t>& Marks(int kind);
  const std::vector<uint8_t>& Marks(int kind) const;
  TFieldPoint GridPoint(TFieldPoint p) const;  // snapped and clamped
  void ApplySquareBand(bool clear);
  void UpdateSquareLists();
  int SelectedSquares() const;
  void ComputeGridItems();
  template <class F>
  void EditSquares(F edit);  // edit(x, y, square) changes a copy; true to offer it

  bool open_ = false;
  TEditorView view_;

  // Level clipboards, one per kind, each a whole level with its history.
  std::optional<TLevel> brickClipboard_;
  std::optional<TMonsLevel> monsClipboard_;
  std::optional<TBurrLevel> burrClipboard_;

  // Brickfall wall editing.
  std::array<uint8_t, kMaxWalls> wallMarks_{};  // by position in the current wall list
  int selectedWalls_ = 0;                       // walls with mark 1 or 2
  TFieldPoint bandAnchor_, bandCurrent_;        // the rubber band's corners
  WallMouse wallMouse_ = wmBand;
  bool wallButtonDown_ = false;  // moves count only between a press and its release
  TFieldPoint lastMouse_;        // of a press on a wall and of the drag
  TWalls wallClipboard_;

  // Grid square editing, [0] Monsters, [1] Burrower.
  std::vector<uint8_t> squareMarks_[2];      // by square index x * rows + y
  std::vector<uint8_t> squareClipboard_[2];  // a whole grid of stored squares
  TFieldPoint squareAnchor_[2], squareCurrent_[2];
  bool squareButtonDown_ = false;
};

}  // namespace kelvra
