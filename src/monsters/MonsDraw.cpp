// Monsters' drawing.
#include "monsters/MonsDraw.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <utility>

#include "base/Paths.h"
#include "common/Com.h"
#include "common/Options.h"
#include "common/ReadNumber.h"
#include "media/FixedFont.h"
#include "monsters/MonsGame.h"

namespace kelvra {

TMonsPictures gMonsPictures;
TMonsEditorView gMonsEditorView;

namespace {

constexpr int kSize = kMonsSquareSize;  // pixels of a square and of a picture
constexpr int kFrameWidth = 640, kFrameHeight = 440;
constexpr int kFieldWidth = kMonsCols * kSize, kFieldHeight = kMonsRows * kSize;
constexpr int kFieldBottom = kMonsFieldTop + kFieldHeight - 1;  // 339

constexpr uint32_t kBlack = 0;
constexpr uint32_t kWhite = 0xFFFFFF;

// The panel boxes: sunken wells with a bevel two pixels wide, black inside.
struct TBox {
  int x1, y1, x2, y2;
};
constexpr int kBevel = 2;
constexpr TBox kScoreBox = {0, 342, 402, 378};
constexpr TBox kCountBox = {404, 342, 639, 378};
constexpr TBox kGraphBox = {0, 380, 639, 439};
static_assert(kGraphBox.x1 + kBevel == kMonsGraphLeft && kGraphBox.y1 + kBevel == kMonsGraphTop &&
                  kGraphBox.y2 - kBevel == kMonsGraphBottom,
              "the graph fills its box's well");
constexpr int kGraphRight = kMonsGraphLeft + kMonsGraphSteps - 1;  // 637
static_assert(kGraphRight == kGraphBox.x2 - kBevel);
// The scale runs from the series' minimum on the bottom row to its maximum this many rows
// higher.
constexpr int64_t kGraphScale = kMonsGraphBottom - kMonsGraphTop;  // 55

// A value's place: its text starts at (x, y); when it changes, columns x..right of its text
// row are restored from the backdrop first, so a shorter text leaves nothing of a longer one.
struct TField {
  int x, y, right;
};
constexpr TField kCaption = {40, 5, 271};  // up to the "Level Time" label
constexpr TField kLevelTime = {340, 5, 403};
constexpr TField kDrawRate = {430, 5, 511};
constexpr TField kStepRate = {514, 5, 637};
constexpr TField kCurrentPlayer = {472, 360, kCountBox.x2 - kBevel};
constexpr TField kMoveCount = {436, 368, kCountBox.x2 - kBevel};

// Player rows of the score panel: score (or time-adjusted score), monsters killed, times
// caught, house hits, overtime, current move time.
constexpr int kPlayerValues = 6;
constexpr int kPlayerRowTop = 344;
constexpr int kValueX[kPlayerValues + 1] = {2, 50, 98, 146, 194, 272, kScoreBox.x2 - kBevel + 1};
// Monster type columns: alive above, bred below.
constexpr int kTypeX = 406, kTypeWidth = 24, kAliveY = 344, kBredY = 352;

struct TLabel {
  int x, y;
  const char* text;
  bool onPanel;  // silver on the panel's black, else button text on the status bar
};
constexpr TLabel kLabels[] = {{4, 5, "Level", false},
                              {274, 5, "Level Time", false},
                              {406, 5, "F/s", false},
                              {406, 360, "Player", true},
                              {406, 368, "Move", true}};

constexpr int64_t kUnknown = INT64_MIN;  // "not drawn yet": differs from every value

// What the panel shows, so that only changed values are drawn.
struct TShownValues {
  bool onFrame = false;  // the static frame is on the frame bitmap
  bool captionKnown = false;
  std::string caption;
  int64_t levelSeconds = kUnknown, drawRate = kUnknown, stepRate = kUnknown;
  int64_t currentPlayer = kUnknown;  // -1: the blank of the real-time game
  int64_t moveCount = kUnknown;
  bool row[kMonsPlayers] = {};  // a player row is on the panel
  int64_t value[kMonsPlayers][kPlayerValues];
  int64_t alive[kMonsTypes], bred[kMonsTypes];
  int64_t graphCount = kUnknown, graphTimes = kUnknown, graphPlayers = kUnknown;
  TShownValues() {
    std::fill(&value[0][0], &value[0][0] + kMonsPlayers * kPlayerValues, kUnknown);
    std::fill(alive, alive + kMonsTypes, kUnknown);
    std::fill(bred, bred + kMonsTypes, kUnknown);
  }
};

// Drawing's own state: the static frame as last drawn (values are restored from it) and
// what the panel shows.
struct TMonsPanel {
  TKBitmap backdrop;  // kFrameWidth x kFrameHeight; the field's rows are unused
  TShownValues shown;
};
TMonsPanel gPanel;

// A colour to draw with: a system colour becomes its red, green and blue, and what is no
// colour at all gives `otherwise`.
uint32_t Shown(uint32_t colour, uint32_t otherwise) {
  const uint32_t c = ColorToRGB(colour);
  return c > 0xFFFFFF ? otherwise : c;
}

uint32_t PlayerColour(int p) {
  return Shown(gCom.player[p].colour, kWhite);
}

void SetBytes(uint8_t* p, uint32_t c) {
  p[0] = uint8_t(BlueOf(c));
  p[1] = uint8_t(GreenOf(c));
  p[2] = uint8_t(RedOf(c));
}

uint32_t BytesColour(const uint8_t* p) {
  return RGB(p[2], p[1], p[0]);
}

// Size and black pixels, whatever the bitmap held.
void Blank(TKBitmap& b, int width, int height) {
  b.SetSize(width, height);
  b.ResetClip();
  FillBitmap(b, kBlack, ef16);
}

// --- The picture strip -------------------------------------------------------------------

uint8_t* StripPixel(int index, int x, int y) {
  return gMonsPictures.strip.Row(y) + 3 * (index * kSize + x);
}

void CopySheetPicture(int index, int sheetPicture) {
  TMonsPictures& g = gMonsPictures;
  DrawBitmap(g.strip, index * kSize, 0, g.sheet, sheetPicture * kSize, 0,
             sheetPicture * kSize + kSize - 1, kSize - 1, clNone, ef16);
}

// Sheet picture `sheetPicture` turned by `quarterTurns` (any sign) into strip picture
// `index`. A positive quarter turn is counter-clockwise on the screen: with the picture
// facing left, one turn faces down (toward row 15). With `overlay` the black pixels of the
// sheet picture leave the strip's pixels as they were.
void TurnSheetPicture(int index, int sheetPicture, int quarterTurns, bool overlay) {
  TKBitmap picture, turned;
  Blank(picture, kSize, kSize);  // black beyond a short sheet
  DrawBitmap(picture, 0, 0, gMonsPictures.sheet, sheetPicture * kSize, 0,
             sheetPicture * kSize + kSize - 1, kSize - 1, clNone, ef16);
  TurnBitmap(turned, picture, quarterTurns);
  DrawBitmap(gMonsPictures.strip, index * kSize, 0, turned, 0, 0, kSize - 1, kSize - 1,
             overlay ? kBlack : clNone, ef16);
}

// The sheet's grey in strip picture `index` becomes `colour` (kept when it is no colour).
void Recolour(int index, uint32_t colour) {
  const uint32_t c = ColorToRGB(colour);
  if (c > 0xFFFFFF) return;
  for (int y = 0; y < kSize; ++y)
    for (int x = 0; x < kSize; ++x) {
      uint8_t* p = StripPixel(index, x, y);
      if (BytesColour(p) == kMonsSheetGrey) SetBytes(p, c);
    }
}

// --- Squares -----------------------------------------------------------------------------

// A wall stands alone when it is off the border and none of its four neighbours is a wall.
bool WallStandsAlone(int x, int y) {
  if (x == 0 || y == 0 || x == kMonsCols - 1 || y == kMonsRows - 1) return false;
  return MonsAt(x - 1, y).kind != mkWall && MonsAt(x + 1, y).kind != mkWall &&
         MonsAt(x, y - 1).kind != mkWall && MonsAt(x, y + 1).kind != mkWall;
}

// Strip picture `index` at (x, y) of the frame.
void DrawPicture(TKBitmap& frame, int x, int y, int index, uint32_t transparent, TEffect mode) {
  DrawBitmap(frame, x, y, gMonsPictures.strip, index * kSize, 0, index * kSize + kSize - 1,
             kSize - 1, transparent, mode);
}

void FrameSquare(TKBitmap& frame, int x, int y) {
  const int sx = x * kSize, sy = kMonsFieldTop + y * kSize;
  DrawFrame(frame, sx, sy, sx + kSize - 1, sy + kSize - 1, kWhite, ef16);
}

// --- The panel ---------------------------------------------------------------------------

void BuildBackdrop() {
  TKBitmap& b = gPanel.backdrop;
  b.SetSize(kFrameWidth, kFrameHeight);
  b.ResetClip();
  FillBitmap(b, Shown(clBtnFace, kBlack), ef16);
  FillRect(b, 0, kMonsFieldTop, kFieldWidth - 1, kFieldBottom, kBlack, ef16);
  const uint32_t light = Shown(clBtnHighlight, kWhite), dark = Shown(clBtnShadow, kBlack);
  for (const TBox& box : {kScoreBox, kCountBox, kGraphBox}) {
    FillRect(b, box.x1, box.y1, box.x2, box.y2, kBlack, ef16);
    DrawBorder3D(b, box.x1, box.y1, box.x2, box.y2, dark, light, kBevel, ef16);
  }
  const uint32_t text = Shown(clBtnText, kBlack);
  for (const TLabel& label : kLabels)
    DrawFixedText(b, label.x, label.y, label.text, label.onPanel ? kMonsSilver : text);
}

// The backdrop's pixels of the rectangle back on the frame.
void Restore(TKBitmap& frame, int x1, int y1, int x2, int y2) {
  DrawBitmap(frame, x1, y1, gPanel.backdrop, x1, y1, x2, y2, clNone, ef16);
}

void DrawValue(TKBitmap& frame, const TField& f, const std::string& text, uint32_t colour) {
  const int bottom = f.y + kFixedCellHeight - 1;
  TClipTo clip(frame, f.x, f.y, f.right, bottom);
  Restore(frame, f.x, f.y, f.right, bottom);
  DrawFixedText(frame, f.x, f.y, text, colour);
}

std::string LevelCaption() {
  const int32_t index = gCom.k[gkMonsters].levelIndex;
  const int64_t count = int64_t(gMonsLevels.size());
  std::string name;
  if (index >= 0 && index < count)
    name = GetShortString(gMonsLevels[size_t(index)].name, kMonsNameBytes);
  return std::to_string(int64_t(index) + 1) + "/" + std::to_string(count) + " " + name;
}

void DrawPlayerRows(TKBitmap& frame) {
  TShownValues& shown = gPanel.shown;
  const int n = MonsPlayerCount();
  const bool times = gOptions.mons.times;
  for (int p = 0; p < kMonsPlayers; ++p) {
    const int y = kPlayerRowTop + p * kFixedCellHeight;
    if (p >= n) {
      if (shown.row[p]) Restore(frame, kValueX[0], y, kValueX[kPlayerValues] - 1, y + 7);
      shown.row[p] = false;
      std::fill(shown.value[p], shown.value[p] + kPlayerValues, kUnknown);
      continue;
    }
    shown.row[p] = true;
    const TMonsPlayer& pl = gMons.players[p];
    const int64_t values[kPlayerValues] = {times ? pl.timeScore : pl.score,
                                           pl.killed,
                                           pl.caught,
                                           pl.houseHits,
                                           pl.overtime,
                                           pl.moveTime};
    for (int i = 0; i < kPlayerValues; ++i) {
      if (values[i] == shown.value[p][i]) continue;
      shown.value[p][i] = values[i];
      const bool isTime = i >= 4;
      DrawValue(frame, {kValueX[i], y, kValueX[i + 1] - 1},
                isTime ? FormatMinutes(uint32_t(std::clamp<int64_t>(values[i], 0, UINT32_MAX)))
                       : std::to_string(values[i]),
                PlayerColour(p));
    }
  }
}

void DrawTypeCounts(TKBitmap& frame) {
  TShownValues& shown = gPanel.shown;
  for (int t = 0; t < kMonsTypes; ++t) {
    const int x = kTypeX + t * kTypeWidth;
    const int64_t alive = gMons.game.alivePerType[t], bred = gMons.game.bredPerType[t];
    if (alive != shown.alive[t]) {
      shown.alive[t] = alive;
      DrawValue(frame, {x, kAliveY, x + kTypeWidth - 1}, std::to_string(alive), MonsTypeColour(t));
    }
    if (bred != shown.bred[t]) {
      shown.bred[t] = bred;
      DrawValue(frame, {x, kBredY, x + kTypeWidth - 1}, std::to_string(bred), MonsTypeColour(t));
    }
  }
}

void DrawRatesIfChanged(TKBitmap& frame, bool always) {
  TShownValues& shown = gPanel.shown;
  const uint32_t text = Shown(clBtnText, kBlack);
  if (always || gFrameRates.draw != shown.drawRate) {
    shown.drawRate = gFrameRates.draw;
    DrawValue(frame, kDrawRate, FormatRate(gFrameRates.draw), text);
  }
  if (always || gFrameRates.step != shown.stepRate) {
    shown.stepRate = gFrameRates.step;
    DrawValue(frame, kStepRate, FormatRate(gFrameRates.step), text);
  }
}

void EnsureStatic(TKBitmap& frame) {
  if (!gPanel.shown.onFrame || gPanel.backdrop.Empty()) DrawMonsStatic(frame);
}

}  // namespace

// --- Pictures ------------------------------------------------------------------------------

uint32_t MonsTypeColour(int type) {
  if (type == 0) return RGB(0, 255, 0);    // lime
  if (type == 1) return RGB(0, 255, 255);  // aqua
  if (type >= 2 && type < kMonsTypes) return PlayerColour(type - 2);
  return kWhite;
}

void LoadMonsPictures() {
  TMonsPictures& g = gMonsPictures;
  const std::string dir = ProgramDir() + "Graphics/Monsters/";
  if (!LoadFromFile(g.sheet, dir + "Monsters.bmp", kMonsSheetPictures * kSize, kSize,
                    FileOwner::Program))
    Blank(g.sheet, kMonsSheetPictures * kSize, kSize);
  if (!LoadFromFile(g.back, dir + "Back.jpg", kFieldWidth, kFieldHeight, FileOwner::Program) ||
      g.back.Empty()) {
    Blank(g.back, kFieldWidth, kFieldHeight);
  } else if (g.back.Width() != kFieldWidth || g.back.Height() != kFieldHeight) {
    TKBitmap scaled;
    ScaleBitmap(scaled, g.back, kFieldWidth, kFieldHeight);
    g.back = std::move(scaled);
  }
  BuildMonsPictureStrip();
}

void BuildMonsPictureStrip() {
  TMonsPictures& g = gMonsPictures;
  Blank(g.strip, kMonsPictures * kSize, kSize);
  if (g.sheet.Empty()) Blank(g.sheet, kMonsSheetPictures * kSize, kSize);
  g.sheet.ResetClip();
  // Pictures 0..15 as they are.
  for (int i = 0; i < mpPlayer; ++i) CopySheetPicture(i, i);
  // Sheet pictures 16..20 once per player, in his colour.
  for (int s = 16; s <= 20; ++s)
    for (int p = 0; p < kMonsPlayers; ++p) {
      const int index = mpPlayer + (s - 16) * kMonsPlayers + p;
      CopySheetPicture(index, s);
      Recolour(index, gCom.player[p].colour);
    }
  // Monsters, and monsters being hit, per type and direction code.
  for (int t = 0; t < kMonsTypes; ++t)
    for (int d = 0; d < 4; ++d) {
      TurnSheetPicture(mpMonster + 4 * t + d, 21, d, false);
      Recolour(mpMonster + 4 * t + d, MonsTypeColour(t));
      TurnSheetPicture(mpMonsterHit + 4 * t + d, 22, d, false);
      Recolour(mpMonsterHit + 4 * t + d, MonsTypeColour(t));
    }
  // Tunnels: the wall with the arrow over it, turned the other way round than the monsters,
  // because the tunnels' codes decode to steps with the vertical ones swapped.
  for (int d = 0; d < 4; ++d) {
    CopySheetPicture(mpTunnel + d, mpWall);
    TurnSheetPicture(mpTunnel + d, 23, -d, true);
  }
  InvalidateMonsPanel();  // the panel shows the colours too
}

int MonsSquarePicture(int x, int y) {
  if (x < 0 || x >= kMonsCols || y < 0 || y >= kMonsRows) return mpOpen;
  const TMonsSquare& q = MonsAt(x, y);
  const bool flashing = q.flash > 0;
  switch (q.kind) {
    case mkEarth:
      return mpEarth;
    case mkGate:
      return flashing ? mpGateFlash : mpGate;
    case mkWall:
      return WallStandsAlone(x, y) ? mpWallAlone : mpWall;
    case mkMoney:
      return mpMoney;
    case mkTunnel:
      return q.direction < 4 ? mpTunnel + q.direction : mpOpen;
    case mkPit:
      return mpPit;
    case mkPlayer:
      return q.variant < kMonsPlayers ? (flashing ? mpPlayerFlash : mpPlayer) + q.variant : mpOpen;
    case mkHouse:
      return q.variant < kMonsPlayers ? mpHouse + q.variant : mpOpen;
    case mkMonster:
      if (q.variant >= kMonsTypes || q.direction >= 4) return mpOpen;
      return (flashing ? mpMonsterHit : mpMonster) + 4 * q.variant + q.direction;
    case mkGhost:
      return flashing ? mpGhostFlash : mpGhost;
    default:  // None, "No", and a kind no square may have
      return mpOpen;
  }
}

// --- Drawing -------------------------------------------------------------------------------

void DrawMonsField(TKBitmap& frame) {
  TClipTo clip(frame, 0, kMonsFieldTop, kFieldWidth - 1, kFieldBottom);
  const TMonsPictures& g = gMonsPictures;
  const bool black = gOptions.mons.blackSquares;
  const bool grating = gOptions.mons.grating;
  // The background of the whole field in one copy; the squares' pictures come over it.
  if (!black) {
    if (g.back.Empty())
      FillRect(frame, 0, kMonsFieldTop, kFieldWidth - 1, kFieldBottom, kBlack, ef16);
    else
      DrawBitmap(frame, 0, kMonsFieldTop, g.back, 0, 0, kFieldWidth - 1, kFieldHeight - 1, clNone,
                 ef16);
  }
  for (int x = 0; x < kMonsCols; ++x)
    for (int y = 0; y < kMonsRows; ++y) {
      const TMonsSquare& q = gMons.grid[MonsIndex(x, y)];
      const int picture = MonsSquarePicture(x, y);
      // A square that cannot be shown is drawn as the open square it is in play.
      const bool open = picture == mpOpen && q.kind != mkNo;
      const int sx = x * kSize, sy = kMonsFieldTop + y * kSize;
      if (black)
        DrawPicture(frame, sx, sy, picture, clNone, ef16);
      else if (!open)
        DrawPicture(frame, sx, sy, picture, kBlack, ef16);
      if (q.flash > 0) {
        if (!open) {
          const int h = std::min(q.flash * 255 / kFlashStart, 255);
          FillRect(frame, sx, sy, sx + kSize - 1, sy + kSize - 1, RGB(h, h, h), efAdd);
        } else {
          // Strength 1..16 of 16: a larger counter must not pick another drawing mode.
          const TEffect mode = TEffect(std::min<int>(q.flash, ef16));
          DrawPicture(frame, sx, sy, mpTrace, kBlack, mode);
        }
      }
      if (grating) FrameSquare(frame, x, y);
    }
}

void DrawMonsStatic(TKBitmap& frame) {
  BuildBackdrop();
  InvalidateMonsPanel();
  {
    TClipTo whole(frame, 0, 0, kFrameWidth - 1, kFrameHeight - 1);
    Restore(frame, 0, 0, kFrameWidth - 1, kMonsFieldTop - 1);
    Restore(frame, 0, kFieldBottom + 1, kFrameWidth - 1, kFrameHeight - 1);
  }
  gPanel.shown.onFrame = true;
  DrawMonsGraph(frame);
}

void DrawMonsGraph(TKBitmap& frame) {
  if (gPanel.backdrop.Empty()) BuildBackdrop();
  TClipTo clip(frame, kMonsGraphLeft, kMonsGraphTop, kGraphRight, kMonsGraphBottom);
  Restore(frame, kMonsGraphLeft, kMonsGraphTop, kGraphRight, kMonsGraphBottom);
  const TMonsGame& game = gMons.game;
  const int n = MonsPlayerCount();
  const bool times = gOptions.mons.times;
  TShownValues& shown = gPanel.shown;
  shown.graphCount = game.historyCount;
  shown.graphTimes = times;
  shown.graphPlayers = n;

  // In 64 bits: the series may span the whole 32-bit range.
  const int series = times ? 1 : 0;
  const int64_t low = game.historyMin[series];
  const int64_t range = int64_t(game.historyMax[series]) - low;
  const int steps = int(std::min<uint32_t>(game.historyCount, kMonsGraphSteps));
  uint32_t colour[kMonsPlayers];
  for (int p = 0; p < n; ++p) colour[p] = PlayerColour(p);
  for (int s = 0; s < steps; ++s) {
    const TMonsHistoryEntry& e = gMons.history[s];
    int64_t y[kMonsPlayers];
    for (int p = 0; p < n; ++p) {
      const int64_t v = times ? e.timeScore[p] : e.score[p];
      y[p] = range > 0 ? kMonsGraphBottom - (v - low) * kGraphScale / range : kMonsGraphBottom;
    }
    for (int p = 0; p < n; ++p) {
      if (y[p] < kMonsGraphTop || y[p] > kMonsGraphBottom) continue;
      bool shared = false;
      for (int q = 0; q < n; ++q) shared |= q != p && y[q] == y[p];
      PutPixel(frame, kMonsGraphLeft + s, int(y[p]), shared ? kMonsSilver : colour[p], ef16);
    }
  }
}

void DrawMonsRates(TKBitmap& frame) {
  EnsureStatic(frame);
  DrawRatesIfChanged(frame, true);
}

void DrawMonsFrame(TKBitmap& frame) {
  EnsureStatic(frame);
  TShownValues& shown = gPanel.shown;

  const std::string caption = LevelCaption();
  if (!shown.captionKnown || caption != shown.caption) {
    shown.captionKnown = true;
    shown.caption = caption;
    DrawValue(frame, kCaption, caption, Shown(clBtnText, kBlack));
  }
  const uint32_t levelTime = gCom.k[gkMonsters].levelTime;
  if (levelTime / 1000 != shown.levelSeconds) {
    shown.levelSeconds = levelTime / 1000;
    DrawValue(frame, kLevelTime, FormatMinutes(levelTime), Shown(clBtnText, kBlack));
  }
  DrawRatesIfChanged(frame, false);

  // The real-time game has no turns: its current player is a blank.
  const int64_t current = gOptions.mons.realTime ? -1 : gMons.game.currentPlayer;
  if (current != shown.currentPlayer) {
    shown.currentPlayer = current;
    const bool valid = current >= 0 && current < kMonsPlayers;
    DrawValue(frame, kCurrentPlayer, valid ? std::to_string(current + 1) : "",
              valid ? PlayerColour(int(current)) : kMonsSilver);
  }
  const uint32_t moves = gMons.game.historyCount;
  if (moves != shown.moveCount) {
    shown.moveCount = moves;
    DrawValue(frame, kMoveCount, std::to_string(moves), kMonsSilver);
  }
  if (moves != shown.graphCount || gOptions.mons.times != shown.graphTimes ||
      MonsPlayerCount() != shown.graphPlayers)
    DrawMonsGraph(frame);

  {
    TClipTo whole(frame, 0, 0, kFrameWidth - 1, kFrameHeight - 1);
    DrawPlayerRows(frame);
    DrawTypeCounts(frame);
  }

  DrawMonsField(frame);
  if (gCom.editorOpen) {
    TClipTo clip(frame, 0, kMonsFieldTop, kFieldWidth - 1, kFieldBottom);
    for (int i = 0; i < kMonsSquares; ++i)
      if (gMonsEditorView.selected[i]) FrameSquare(frame, i / kMonsRows, i % kMonsRows);
  }
}

void InvalidateMonsPanel() {
  gPanel.shown = TShownValues{};
}

}  // namespace kelvra
