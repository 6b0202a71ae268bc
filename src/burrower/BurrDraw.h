// Burrower's pictures and drawing: the pictures loaded from "Graphics/Burrower" with the sets
// derived from them, one frame of the field in its eighteen layers, the status band below it
// and the status line above it. Drawing only reads the game (gBurr, gCom); it writes nothing
// but its own pictures, its own caches and the "shown" caches of the player records.
#pragma once

#include <cstdint>

#include "burrower/BurrState.h"
#include "media/KBitmap.h"

namespace kelvra {

constexpr uint32_t kBurrKey = 0x800080;  // RGB(128, 0, 128): transparent in every sprite

// Frame counts of the animated pictures.
constexpr int kEggFrames = 3;
constexpr int kAmmoFrames = 3;  // the Shrinker's and the Freezer's ammunition
constexpr int kMedicKits = 3;
constexpr int kFreezerFrames = 3, kShrinkFrames = 4, kBallKinds = 2;
constexpr int kPlayerFrames = 3;
constexpr int kMaxWalkFrames = 5;   // an enemy's frames per direction (Assault)
constexpr int kMaxDeathFrames = 8;  // Commander
constexpr int kDirections = 4;      // 0 left, 1 down, 2 right, 3 up (DirectionOf)
constexpr int kSizes = 2;           // index 0 half size (size 1), index 1 full size (size 2)
// Per enemy type: frames per direction while alive, frames of dying (0: none).
constexpr int kEnemyWalkFrames[kEnemyTypes] = {3, 1, 5, 1, 1, 4};
constexpr int kEnemyDeathFrames[kEnemyTypes] = {0, 0, 4, 8, 6, 6};

// Screen layout (frame pixels).
constexpr int kBurrFrameW = 640, kBurrFrameH = 440;
constexpr int kBurrBackTop = 16, kBurrBackBottom = 347;  // the background's rows on the frame
constexpr int kBurrBandH = 91;
constexpr int kBurrBandTop = kBurrFrameH - kBurrBandH;        // 349: the status band, to the bottom
constexpr int kBurrColumnW = 128;                             // each player's column of the band
constexpr int kBurrWeaponRowTop = 352, kBurrWeaponRowH = 12;  // weapon w at 352 + 12w
constexpr int kBurrBarLength = 64, kBurrBarH = 12;
constexpr int kBurrBarX = 60;                    // from the column's left
constexpr int kBurrBarTop[3] = {364, 380, 396};  // health, wound, armor
constexpr int kBurrIconX = 2, kBurrIconW = 22;   // the weapon's icon box in its row
constexpr int kBurrAmmoX = 24, kBurrAmmoW = 26;  // the ammunition box in its row

struct TBurrPictures {
  TKBitmap back;                                     // the frame's background, 640 x 348 (opaque)
  TKBitmap earth, wall;                              // squares, 24 x 24 (opaque)
  TKBitmap levelEarth;                               // earth tinted toward the current level's hue
  TKBitmap egg[kEggFrames];                          // a brooder opening, frame 0 closed
  TKBitmap bonus[kBurrBonusKinds + 1][kAmmoFrames];  // [kind][frame]; kind 0 unused
  TKBitmap fruit, apple;
  TKBitmap stain[4];  // [kind 1..3]: player remains, enemy remains, blood
  TKBitmap freezerShot[kFreezerFrames], shrinkShot[kShrinkFrames], shrinkCloud[kShrinkFrames];
  TKBitmap rocket[kDirections];  // the left one as loaded, the others turned from it
  TKBitmap ball[kBallKinds];     // ball kind k is ball[k - 1]
  // [type][frame][direction]; type 0 has one picture for every direction (direction 0).
  TKBitmap enemy[kEnemyTypes][kMaxWalkFrames][kDirections];
  TKBitmap death[kEnemyTypes][kMaxDeathFrames];
  TKBitmap playerSource[kDirections][kPlayerFrames];  // the files, grey where they take colour
  // [player][size index][direction][frame], recoloured in the player's colour.
  TKBitmap player[kBurrPlayers][kSizes][kDirections][kPlayerFrames];
  TKBitmap panel;  // the status band, 640 x 91, each player's column in his colour
};
extern TBurrPictures gBurrPictures;

// The editor's view of the field: the squares selected in the editor, lightened while the
// editor is open. The editor owns the contents; drawing only reads them.
struct TBurrEditorView {
  uint8_t selected[kBurrLevelRecordSize];  // square (x, y) at x * 12 + y; non-zero: selected
};
extern TBurrEditorView gBurrEditorView;

// Loads every picture of the Burrower folder (and "Bonuses/PlayerBlink.bmp" of the shared
// one). A missing or damaged file goes through the file error dialog; on giving up it becomes
// a picture of its usual size that draws nothing (transparent; the earth, the wall and the
// background a flat colour). Derives the turned, mirrored and player sets, sets gBurrSizes
// from the pictures and rebuilds the level's earth. For InitKind.
void LoadBurrPictures();
// The players' sets (full and half size) and the band's columns in the players' current
// colours; the band is repainted with the next frame. For PlayerColorChanged.
void BuildBurrPlayerPictures();
// The earth of the current level: "Earth.bmp" combined with the hue of level index x 128
// in ef08. At every level start and LevelChanged.
void PrepareBurrEarth();

// The frame around the field: the status line's captions and values and the whole status
// band; every value of the band is drawn again by the next frame. For ActivateKind.
void DrawBurrStatic(TKBitmap& frame);
// One frame: the background and the eighteen layers of the field (clipped to the field),
// then the band's values that changed and the status line's. Draws the static frame first
// when it is not on the frame yet. Gives the caller's clip rectangle back.
void DrawBurrFrame(TKBitmap& frame);
// Forgets what the band and the status line show: the next frame draws them whole.
void InvalidateBurrPanel();

// Pieces of the frame, for the tests and the editor.
int32_t BurrPixelX(int64_t v);  // field units to frame pixels: (v + 8) / 16 + 8
int32_t BurrPixelY(int64_t v);  // (v + 8) / 16 + 19
// 0, 1, .., n, n - 1, .., 1, 0, 1, ..: a frame that runs forth and back (any v, n >= 1).
int PingPong(int32_t v, int n);
// The picture an enemy shows now; nullptr for a record that cannot be shown (type out of
// range). Never out of its tables whatever the record holds.
const TKBitmap* BurrEnemyPicture(const TBurrEnemy& e);
// The picture player p shows now (direction of facing, walking frame, size).
const TKBitmap* BurrPlayerPicture(int p);

}  // namespace kelvra
