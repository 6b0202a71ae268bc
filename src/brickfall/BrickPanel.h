// The Brickfall status panel around the play field: the labelled seven-segment displays
// and the wind strip above the field, and the five player panels in the column to its
// right. Every display keeps the value it last drew and is redrawn only when that value
// changed.
#pragma once

#include <cstdint>
#include <string>

#include "common/Com.h"

namespace kelvra {

class TKBitmap;

// The panel's items, for their places on the frame.
enum BrickPanelItem : int {
  bpLevel = 0,
  bpLevelTime,
  bpGameTime,
  bpDrawRate,
  bpStepRate,
  bpWind,
  bpPlayerPanel,  // a whole player panel
  bpScore,
  bpShots,
  bpBalls,
  bpRecharge,  // the number and its bar
};
// The inclusive frame rectangle an item covers (player items of player `player`).
TRect BrickPanelRect(BrickPanelItem item, int player = 0);

// The wind strip and its middle.
constexpr int kWindLeft = 344, kWindRight = 471, kWindTop = 8, kWindBottom = 21;
constexpr int kWindMiddle = 408;
// The player panels: a column right of the field, one panel per player.
constexpr int kPlayerPanelLeft = 542, kPlayerPanelRight = 633, kPlayerPanelHeight = 64;
constexpr int kPlayerPanelTop[kPlayers] = {34, 114, 194, 274, 354};

// Draws the whole panel afresh (when Brickfall becomes current).
void DrawBrickPanel(TKBitmap& frame);
// Redraws what changed since it was last drawn: the backdrop and labels (after an
// invalidation), the level, time and rate displays, the wind strip and the player panels.
void UpdateBrickPanel(TKBitmap& frame);
// The displays of one player's panel (score, shots, balls, recharge) where they changed;
// a player beyond the last player has no panel, and a panel left over is cleared.
void UpdateBrickPlayerDisplays(TKBitmap& frame, int player);
// The wind strip, when the wind (or, in the editor, the level's Max wind) changed.
void UpdateWindIndicator(TKBitmap& frame);
// Forgets what was drawn, so the next update redraws everything.
void InvalidateBrickPanel();

// Seven-segment displays. `text` is laid right-aligned on `pattern`: each '8' of the
// pattern is a digit cell, each ':', '.' or ',' a separator cell, lit where `text` has a
// digit or that separator; cells without one show all their segments in the off colour.
void DrawSegmentDisplay(TKBitmap& frame, int x, int y, const std::string& pattern,
                        const std::string& text, uint32_t on, uint32_t off);
int SegmentDisplayWidth(const std::string& pattern);
constexpr int kSegmentHeight = 14;

// Number formats of the displays.
std::string FormatPlain(int32_t value);      // "#0"
std::string FormatLevel(int32_t value);      // "##0": levels go up to 256
std::string FormatThousands(int32_t value);  // "###,##0"

}  // namespace kelvra
