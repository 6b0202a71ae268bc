// The level editor's menus and controls as data: every item with its menu, caption,
// shortcut and the kinds that show it, and the whole state the editor window shows (item
// states, caption, level list, square and wall controls), which the editor computes.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "session/MenuItems.h"

namespace kelvra {

enum EditorItemId : int {
  // "Level"
  eiCutLevel,
  eiCopyLevel,
  eiPasteLevel,
  eiDeleteLevel,
  eiNewLevel,
  eiLevelName,
  eiDescription,
  eiFinalMessage,
  eiLock,
  // "Edit"
  eiUndo,
  eiRedo,
  eiCopyLeftToRight,
  eiCopyUpToDown,
  eiWallPositions,
  eiRandomWallColor,
  eiRandomWallBonus,
  eiRotate,
  eiChangeKind,
  eiSelectAll,
  eiInvertSelection,
  // "Effects": the level's effect flags, in the menu's order
  eiStars,
  eiRain,
  eiSnow,
  eiSmallSnow,
  eiFire,
  eiBubble,
  eiWater,
  eiSmoke,
  eiPoints,
  eiLighting,
  // the second "Effects" menu
  eiEnemy,
  eiEarthquake,
  eiGravity,
  eiMaxWind,
  // "Background"
  eiBackgroundEffect,
  eiFill,
  eiSelectColor,
  eiRGB,
  eiSelectTexture,
  eiPicture,
  eiSelectPicture,
  // "View"
  eiGrid,
  eiGridSize,
  eiBonuses,
  eiMaskBackground,
  eiRightIsLeft,
  eiBottomIsTop,
  eiRightBottomIsLeftTop,
  // the play field's popup menu
  eiCut,
  eiCopy,
  eiPaste,
  eiDelete,
  eiAlignToGrid,
  eiCount
};

enum EditorMenu : int {
  emLevel,
  emEdit,
  emEffects,
  emEffects2,
  emBackground,
  emView,
  emPopup,
  emCount
};

// Kinds that show an item, as a bit set by GameKind.
constexpr uint8_t kForBrickfall = 1, kForMonsters = 2, kForBurrower = 4;
constexpr uint8_t kForGrids = kForMonsters | kForBurrower;
constexpr uint8_t kForAll = kForBrickfall | kForGrids;

struct TEditorItemDef {
  EditorItemId id;
  EditorMenu menu;
  const char* caption;   // the caption before Refresh sets its own
  const char* shortcut;  // in QKeySequence's portable text form, "" for none
  uint8_t kinds;         // kForBrickfall, kForMonsters, kForBurrower
  bool checkable;
};

extern const TEditorItemDef kEditorItems[eiCount];  // in menu order, indexed by id
extern const char* const kEditorMenuTitles[emCount];

// The directions of a Monsters square, as its list shows them.
extern const char* const kDirectionNames[4];  // "Left", "Down", "Right", "Up"
// The wall colours, as the colour list shows them (index = TWall::colour).
extern const char* const kWallColourNames[6];  // "Red" .. "White"
// The square kinds of a grid kind, as its list shows them ("None" .. "No").
std::vector<std::string> SquareKindNames(int kind);

// Everything the editor window shows, recomputed by the editor after every operation.
// A list choice of -1 shows no item.
struct TEditorView {
  std::array<TMenuItemState, eiCount> item;
  std::string caption;                   // "Edit Level 3 / 12 *"
  std::vector<std::string> levels;       // the level list
  int levelIndex = 0;                    // its selection
  std::string squareLabel;               // "Walls" or "Square"
  std::vector<std::string> squareNames;  // the grid kinds' kind list
  int squareChoice = -1;
  int directionChoice = -1;  // Monsters only
  int wallCount = 0;         // Brickfall: walls of the current state
  std::vector<std::string> colourNames, bonusNames, shapeNames;  // the wall lists' items
  int colourChoice = -1;  // Brickfall wall controls, common value of the selected walls
  int bonusChoice = -1;
  int shapeChoice = -1;
  std::string editX, editY;       // common x and y, empty when they differ
  bool squareControls = false;    // the kind list (grid kinds)
  bool directionControl = false;  // the direction list (Monsters)
  bool wallControls = false;      // colour, bonus, shape, X, Y (Brickfall)

  const TMenuItemState& operator[](EditorItemId id) const { return item[size_t(id)]; }
  TMenuItemState& operator[](EditorItemId id) { return item[size_t(id)]; }
};

}  // namespace kelvra
