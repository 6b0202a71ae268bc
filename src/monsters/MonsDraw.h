// Monsters' drawing: the picture strip built from the sheet file, the picture of each
// square, the field, the status bar, the score panel and the score graph. Drawing only reads
// the game (gMons, gCom, gOptions); what it keeps is its own: the pictures and the panel's
// cache of the values last drawn.
#pragma once

#include <cstdint>

#include "media/KBitmap.h"
#include "monsters/MonsState.h"

namespace kelvra {

// The sheet file holds kMonsSheetPictures pictures of 20 x 20 side by side; its grey areas
// take the colour of a player or of a monster type in the strip.
constexpr int kMonsSheetPictures = 24;
constexpr uint32_t kMonsSheetGrey = 0xA8A8A8;
constexpr uint32_t kMonsSilver = 0xC0C0C0;  // the move count, and graph points players share

// Strip indexes (kMonsPictures pictures of 20 x 20 side by side).
enum MonsPicture : int {
  mpOpen = 0,  // None and "No" squares, and anything that cannot be shown
  mpEarth = 1,
  mpGate = 2,
  mpWall = 3,   // a wall on the border or touching another wall
  mpTrace = 8,  // blended over an open square that flashes
  mpGateFlash = 9,
  mpGhost = 10,
  mpGhostFlash = 11,
  mpPit = 13,
  mpMoney = 14,
  mpWallAlone = 15,
  mpPlayer = 16,       // + player
  mpPlayerFlash = 20,  // + player
  mpHouse = 28,        // + owner
  mpMonster = 36,      // + 4 * type + direction code
  mpMonsterHit = 60,   // + 4 * type + direction code
  mpTunnel = 84,       // + direction code
};

// Screen layout (frame pixels).
constexpr int kMonsFieldTop = 20;  // the field is rows 20..339, columns 0..639
constexpr int kMonsGraphLeft = 2, kMonsGraphTop = 382, kMonsGraphBottom = 437;
constexpr int kMonsGraphSteps = kMonsHistoryKept;  // one column per monster step

struct TMonsPictures {
  TKBitmap sheet;  // the sheet file as loaded (blank where the file had nothing)
  TKBitmap strip;  // kMonsPictures * 20 x 20
  TKBitmap back;   // the field's background, 640 x 320
};
extern TMonsPictures gMonsPictures;

// The editor's view of the grid: the squares selected in the editor, framed in white while
// the editor is open. The editor owns the contents; drawing only reads them.
struct TMonsEditorView {
  uint8_t selected[kMonsSquares];  // square (x, y) at x * 16 + y; non-zero: selected
};
extern TMonsEditorView gMonsEditorView;

// Loads "Monsters\Monsters.bmp" and "Monsters\Back.jpg" from the graphics folder and builds
// the strip. A missing or damaged file goes through the file error dialog; on giving up its
// pictures stay blank (black) and the game goes on. A background of another size is scaled
// to the field.
void LoadMonsPictures();
// Builds the strip from the loaded sheet in the players' current colours; also after a
// colour change. The panel is redrawn in the new colours with the next frame.
void BuildMonsPictureStrip();

// The colour of monster type 0..5: lime, aqua, then the colours of players 0..3.
uint32_t MonsTypeColour(int type);
// The strip index of square (x, y) of the play grid; mpOpen outside the grid and for a
// square whose kind, owner, type or direction is out of range.
int MonsSquarePicture(int x, int y);

// The static frame (status bar, panel boxes, labels, graph); everything the panel shows is
// drawn again by the next DrawMonsFrame. For the kind's activation.
void DrawMonsStatic(TKBitmap& frame);
// One frame: the panel values that changed since they were last drawn, the graph when the
// move count changed, then every square, and the editor's selection while it is open.
// Draws the static frame first when it is not on the frame yet.
void DrawMonsFrame(TKBitmap& frame);
// Only the squares of the field (a part of DrawMonsFrame).
void DrawMonsField(TKBitmap& frame);
// The score graph afresh: at most kMonsGraphSteps steps of the score, or of the
// time-adjusted score while "Time" is on. Touches only columns 2..637 of rows 382..437.
void DrawMonsGraph(TKBitmap& frame);
// The measured draw and step rates, drawn at once.
void DrawMonsRates(TKBitmap& frame);
// Forgets what the panel shows: the next DrawMonsFrame draws the static frame and every value.
void InvalidateMonsPanel();

}  // namespace kelvra
