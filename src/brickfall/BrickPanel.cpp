// The Brickfall status panel.
#include "brickfall/BrickPanel.h"

#include <algorithm>
#include <climits>

#include "brickfall/BrickDraw.h"
#include "brickfall/BrickField.h"
#include "brickfall/BrickGame.h"
#include "brickfall/BrickPictures.h"
#include "common/Captions.h"
#include "common/ReadNumber.h"
#include "media/KBitmap.h"
#include "media/KText.h"

namespace kelvra {

namespace {

// Seven segments a..g of a digit cell 8 x 14, as rectangles: top, upper right, lower right,
// bottom, lower left, upper left, middle. The corners stay dark, as on a real display.
struct TSegment {
  int x1, y1, x2, y2;
};
constexpr TSegment kSegments[7] = {{2, 0, 5, 1},  {6, 2, 7, 5}, {6, 8, 7, 11}, {2, 12, 5, 13},
                                   {0, 8, 1, 11}, {0, 2, 1, 5}, {2, 6, 5, 7}};
constexpr uint8_t kDigitSegments[10] = {0x3F, 0x06, 0x5B, 0x4F, 0x66, 0x6D, 0x7D, 0x07, 0x7F, 0x6F};
constexpr uint8_t kMinusSegments = 0x40;
constexpr int kDigitWidth = 8, kSeparatorWidth = 2, kCellGap = 2;

// Colours of the displays above the field, of the labels and of the backdrop.
constexpr uint32_t kOn = 0x2838FF;   // RGB(255, 56, 40)
constexpr uint32_t kOff = 0x0A0E38;  // RGB(56, 14, 10)
constexpr uint32_t kLabel = 0xC0C0C0;
constexpr uint32_t kBackdrop = 0;  // black around the field
constexpr uint32_t kBlack = 0;
constexpr uint32_t kWhite = 0xFFFFFF;

// Displays above the field: all on one row, the row of the wind strip.
constexpr int kRowTop = 8;
constexpr int kLevelX = 44, kLevelTimeX = 138, kGameTimeX = 258, kDrawRateX = 500, kStepRateX = 558;
// Level numbers reach 256, so the level display has three digits.
constexpr const char* kLevelPattern = "888";
constexpr int kBezel = 2;  // the black box reaches this far around a display

// Inside a player panel (offsets from its left and top).
constexpr int kScoreDX = 15, kScoreDY = 5;
constexpr int kRowDY = 25, kShotIconDX = 6, kShotsDX = 16, kBallIconDX = 48, kBallsDX = 60;
constexpr int kRechargeDY = 45, kRechargeDX = 6, kBarDX = 28, kBarLength = 49;

constexpr int32_t kUnknown = INT32_MIN;  // "not drawn yet"

// What each display last drew: a drawing cache, not game state (see BrickState.h).
struct TPanelState {
  bool backdrop = false;
  int32_t level = kUnknown, levelSeconds = kUnknown, gameSeconds = kUnknown;
  int32_t drawRate = kUnknown, stepRate = kUnknown;
  int32_t wind = kUnknown, windMarkers = kUnknown;  // markers: Max wind in the editor, else -1
  bool panel[kPlayers] = {};
  int32_t score[kPlayers], shots[kPlayers], balls[kPlayers], recharge[kPlayers];
  TPanelState() {
    for (int p = 0; p < kPlayers; ++p) score[p] = shots[p] = balls[p] = recharge[p] = kUnknown;
  }
};
TPanelState gPanel;

// Drawing on the whole frame, whatever clip the caller has set.
class TWholeFrame {
 public:
  explicit TWholeFrame(TKBitmap& b)
      : b_(b), x1_(b.clipX1), y1_(b.clipY1), x2_(b.clipX2), y2_(b.clipY2) {
    b.ResetClip();
  }
  ~TWholeFrame() { b_.SetClip(x1_, y1_, x2_, y2_); }

 private:
  TKBitmap& b_;
  int x1_, y1_, x2_, y2_;
};

bool IsSeparator(char c) {
  return c == ':' || c == '.' || c == ',';
}

void Fill(TKBitmap& b, const TRect& r, uint32_t colour) {
  FillRect(b, r.left, r.top, r.right, r.bottom, colour, ef16);
}

// A display on its black box.
void DrawBoxedDisplay(TKBitmap& b, int x, int y, const std::string& pattern,
                      const std::string& text, uint32_t on, uint32_t off) {
  FillRect(b, x - kBezel, y - kBezel, x + SegmentDisplayWidth(pattern) - 1 + kBezel,
           y + kSegmentHeight - 1 + kBezel, kBlack, ef16);
  DrawSegmentDisplay(b, x, y, pattern, text, on, off);
}

TRect BoxOf(int x, int y, const std::string& pattern) {
  return {x - kBezel, y - kBezel, x + SegmentDisplayWidth(pattern) - 1 + kBezel,
          y + kSegmentHeight - 1 + kBezel};
}

uint32_t PlayerOn(int p) {
  const uint32_t c = ColorToRGB(gCom.player[p].colour);
  return c > 0xFFFFFF ? kWhite : c;
}

// Unlit segments: the player's colour dimmed to a sixth over a faint grey, so that they
// show even for a dark colour and never compete with the lit ones.
uint32_t PlayerOff(int p) {
  const uint32_t c = PlayerOn(p);
  return RGB(12 + RedOf(c) / 6, 12 + GreenOf(c) / 6, 12 + BlueOf(c) / 6);
}

// A label in the small font, right-aligned to end 4 pixels left of `right`, never reaching
// left of `left`.
void Label(TKBitmap& b, int left, int right, const std::string& text) {
  SetSmallFont(b);
  const int w = TextWidth(b, text), h = TextHeight(b, text);
  b.SetClip(left, 0, right - 4, 33);
  TextOut(b, std::max(left, right - 4 - w), kRowTop + (kSegmentHeight - h) / 2, text, kLabel);
  b.ResetClip();
}

void DrawBackdrop(TKBitmap& b) {
  const TRect& f = gCom.k[gkBrickfall].field;
  const int w = b.Width() - 1, h = b.Height() - 1;
  FillRect(b, 0, 0, w, f.top - 1, kBackdrop, ef16);
  FillRect(b, 0, f.bottom + 1, w, h, kBackdrop, ef16);
  FillRect(b, 0, f.top, f.left - 1, f.bottom, kBackdrop, ef16);
  FillRect(b, f.right + 1, f.top, w, f.bottom, kBackdrop, ef16);
  Label(b, 4, BrickPanelRect(bpLevel).left, "Level");
  Label(b, BrickPanelRect(bpLevel).right + 4, BrickPanelRect(bpLevelTime).left, "Level Time");
  Label(b, BrickPanelRect(bpLevelTime).right + 4, BrickPanelRect(bpGameTime).left, "Game Time");
  Label(b, BrickPanelRect(bpGameTime).right + 4, kWindLeft - 1, "Wind");
  Label(b, kWindRight + 4, BrickPanelRect(bpDrawRate).left, "F/s");
  // A dim outline shows where the wind strip lies while there is no wind.
  DrawFrame(b, kWindLeft - 1, kWindTop - 1, kWindRight + 1, kWindBottom + 1, RGB(64, 64, 64), ef16);
}

// After an invalidation the backdrop comes first, before any display is drawn on it.
void EnsureBackdrop(TKBitmap& b) {
  if (gPanel.backdrop || b.Width() < 640 || b.Height() < 440) return;
  TWholeFrame whole(b);
  DrawBackdrop(b);
  gPanel.backdrop = true;
}

void DrawPlayerFrame(TKBitmap& b, int p) {
  const TRect r = BrickPanelRect(bpPlayerPanel, p);
  Fill(b, r, kBlack);
  DrawFrame(b, r.left, r.top, r.right, r.bottom, PlayerOn(p), ef16);
  DrawFrame(b, r.left + 1, r.top + 1, r.right - 1, r.bottom - 1, gCom.player[p].halfColour, ef16);
  // The shot and the ball stand for the numbers beside them.
  if (const TKBitmap* shot = gBrickPictures.shotPicture[p][0].get())
    DrawWhole(b, r.left + kShotIconDX + 3 - shot->Width() / 2,
              r.top + kRowDY + (kSegmentHeight - shot->Height()) / 2, *shot, kMagenta, ef16);
  if (const TKBitmap* ball = gBrickPictures.ballPicture[0].get())
    DrawWhole(b, r.left + kBallIconDX, r.top + kRowDY + (kSegmentHeight - ball->Height()) / 2,
              *ball, kMagenta, ef16);
}

}  // namespace

int SegmentDisplayWidth(const std::string& pattern) {
  int w = 0;
  for (char c : pattern) w += (c == '8' ? kDigitWidth : kSeparatorWidth) + kCellGap;
  return pattern.empty() ? 0 : w - kCellGap;
}

void DrawSegmentDisplay(TKBitmap& frame, int x, int y, const std::string& pattern,
                        const std::string& text, uint32_t on, uint32_t off) {
  const int shift = int(pattern.size()) - int(text.size());  // text is right-aligned
  for (int i = 0; i < int(pattern.size()); ++i) {
    const char cell = pattern[i];
    const int t = i - shift;
    const char c = t >= 0 && t < int(text.size()) ? text[t] : ' ';
    if (cell == '8') {
      uint8_t lit = 0;
      if (c >= '0' && c <= '9') lit = kDigitSegments[c - '0'];
      if (c == '-') lit = kMinusSegments;
      for (int s = 0; s < 7; ++s) {
        const TSegment& g = kSegments[s];
        FillRect(frame, x + g.x1, y + g.y1, x + g.x2, y + g.y2, (lit >> s) & 1 ? on : off, ef16);
      }
      x += kDigitWidth + kCellGap;
      continue;
    }
    if (IsSeparator(cell)) {
      const uint32_t colour = c == cell ? on : off;
      if (cell == ':') {
        FillRect(frame, x, y + 3, x + 1, y + 4, colour, ef16);
        FillRect(frame, x, y + 9, x + 1, y + 10, colour, ef16);
      } else {
        FillRect(frame, x, y + 12, x + 1, y + 13, colour, ef16);
        if (cell == ',') PutPixel(frame, x, y + 14, colour, ef16);
      }
    }
    x += kSeparatorWidth + kCellGap;
  }
}

std::string FormatPlain(int32_t value) {
  return std::to_string(std::clamp(value, 0, 99));
}

std::string FormatLevel(int32_t value) {
  return std::to_string(std::clamp(value, 0, 999));
}

std::string FormatThousands(int32_t value) {
  const int v = std::clamp(value, 0, 999999);
  std::string s = std::to_string(v % 1000);
  if (v >= 1000) s = std::to_string(v / 1000) + "," + std::string(3 - s.size(), '0') + s;
  return s;
}

TRect BrickPanelRect(BrickPanelItem item, int player) {
  const int p = std::clamp(player, 0, kPlayers - 1);
  const int left = kPlayerPanelLeft, top = kPlayerPanelTop[p];
  switch (item) {
    case bpLevel:
      return BoxOf(kLevelX, kRowTop, kLevelPattern);
    case bpLevelTime:
      return BoxOf(kLevelTimeX, kRowTop, "888:88");
    case bpGameTime:
      return BoxOf(kGameTimeX, kRowTop, "888:88");
    case bpDrawRate:
      return BoxOf(kDrawRateX, kRowTop, "888.88");
    case bpStepRate:
      return BoxOf(kStepRateX, kRowTop, "888.88");
    case bpWind:
      return {kWindLeft, kWindTop, kWindRight, kWindBottom};
    case bpPlayerPanel:
      return {left, top, kPlayerPanelRight, top + kPlayerPanelHeight - 1};
    case bpScore:
      return BoxOf(left + kScoreDX, top + kScoreDY, "888,888");
    case bpShots:
      return BoxOf(left + kShotsDX, top + kRowDY, "88");
    case bpBalls:
      return BoxOf(left + kBallsDX, top + kRowDY, "88");
    case bpRecharge: {
      const TRect number = BoxOf(left + kRechargeDX, top + kRechargeDY, "88");
      return {number.left, number.top, left + kBarDX + kBarLength - 1 + kBezel, number.bottom};
    }
  }
  return {0, 0, -1, -1};
}

void InvalidateBrickPanel() {
  gPanel = TPanelState{};
}

void DrawBrickPanel(TKBitmap& frame) {
  InvalidateBrickPanel();
  UpdateBrickPanel(frame);
}

void UpdateWindIndicator(TKBitmap& frame) {
  const int32_t wind = gBrick.game.wind;
  int32_t markers = -1;
  const TLevel* level = CurrentBrickLevel();
  if (gCom.editorOpen && level) {
    const int32_t maxWind = level->f.maxWind;
    markers = std::clamp(maxWind, 0, 1024);
  }
  if (wind == gPanel.wind && markers == gPanel.windMarkers) return;
  EnsureBackdrop(frame);
  gPanel.wind = wind;
  gPanel.windMarkers = markers;
  TWholeFrame whole(frame);
  frame.SetClip(kWindLeft, kWindTop, kWindRight, kWindBottom);
  FillRect(frame, kWindLeft, kWindTop, kWindRight, kWindBottom, kBlack, ef16);
  if (markers >= 0) {
    const int m1 = kWindMiddle - markers / 2 - 1, m2 = kWindMiddle + markers / 2;
    FillRect(frame, m1, kWindTop, m1, kWindBottom, kLabel, ef16);
    FillRect(frame, m2, kWindTop, m2, kWindBottom, kLabel, ef16);
  }
  const int32_t w = wind / 2;
  if (w < 0)
    FillRect(frame, std::max(kWindMiddle + w, kWindLeft), kWindTop, kWindMiddle - 1, kWindBottom,
             RGB(255, 0, 0), ef16);
  else if (w > 0)
    FillRect(frame, kWindMiddle, kWindTop, std::min(kWindMiddle + w - 1, kWindRight), kWindBottom,
             RGB(0, 0, 255), ef16);
}

void UpdateBrickPlayerDisplays(TKBitmap& frame, int p) {
  if (p < 0 || p >= kPlayers) return;
  EnsureBackdrop(frame);
  TWholeFrame whole(frame);
  const bool shown = p <= gCom.k[gkBrickfall].playersMinusOne;
  if (!shown) {
    if (gPanel.panel[p]) Fill(frame, BrickPanelRect(bpPlayerPanel, p), kBackdrop);
    gPanel.panel[p] = false;
    gPanel.score[p] = gPanel.shots[p] = gPanel.balls[p] = gPanel.recharge[p] = kUnknown;
    return;
  }
  if (!gPanel.panel[p]) {
    DrawPlayerFrame(frame, p);
    gPanel.panel[p] = true;
    gPanel.score[p] = gPanel.shots[p] = gPanel.balls[p] = gPanel.recharge[p] = kUnknown;
  }
  const TBrickPlayer& player = gBrick.players[p];
  const uint32_t on = PlayerOn(p), off = PlayerOff(p);
  const int left = kPlayerPanelLeft, top = kPlayerPanelTop[p];
  if (player.shownScore != gPanel.score[p]) {
    gPanel.score[p] = player.shownScore;
    DrawBoxedDisplay(frame, left + kScoreDX, top + kScoreDY, "888,888",
                     FormatThousands(player.shownScore), on, off);
  }
  if (player.shots != gPanel.shots[p]) {
    gPanel.shots[p] = player.shots;
    DrawBoxedDisplay(frame, left + kShotsDX, top + kRowDY, "88", FormatPlain(player.shots), on,
                     off);
  }
  if (player.ballsInStock != gPanel.balls[p]) {
    gPanel.balls[p] = player.ballsInStock;
    DrawBoxedDisplay(frame, left + kBallsDX, top + kRowDY, "88", FormatPlain(player.ballsInStock),
                     on, off);
  }
  if (player.recharge != gPanel.recharge[p]) {
    gPanel.recharge[p] = player.recharge;
    DrawBoxedDisplay(frame, left + kRechargeDX, top + kRechargeDY, "88",
                     FormatTwoDigits(player.recharge), on, off);
    // The bar shows half the counter in pixels, on what is left of the box.
    const int length = std::clamp(player.recharge / 2, 0, kBarLength);
    const int x = left + kBarDX, y = top + kRechargeDY;
    FillRect(frame, x - kBezel, y - kBezel, x + kBarLength - 1 + kBezel,
             y + kSegmentHeight - 1 + kBezel, kBlack, ef16);
    FillRect(frame, x, y, x + kBarLength - 1, y + kSegmentHeight - 1, off, ef16);
    if (length > 0) FillRect(frame, x, y, x + length - 1, y + kSegmentHeight - 1, on, ef16);
  }
}

void UpdateBrickPanel(TKBitmap& frame) {
  if (frame.Width() < 640 || frame.Height() < 440) return;  // not the main frame
  EnsureBackdrop(frame);
  {
    TWholeFrame whole(frame);
    const TKindState& s = gCom.k[gkBrickfall];
    const int32_t level = s.levelIndex + 1;
    if (level != gPanel.level) {
      gPanel.level = level;
      DrawBoxedDisplay(frame, kLevelX, kRowTop, kLevelPattern, FormatLevel(level), kOn, kOff);
    }
    const int32_t levelSeconds = int32_t(s.levelTime / 1000);
    if (levelSeconds != gPanel.levelSeconds) {
      gPanel.levelSeconds = levelSeconds;
      DrawBoxedDisplay(frame, kLevelTimeX, kRowTop, "888:88", FormatMinutes(s.levelTime), kOn,
                       kOff);
    }
    const int32_t gameSeconds = int32_t(s.gameTime / 1000);
    if (gameSeconds != gPanel.gameSeconds) {
      gPanel.gameSeconds = gameSeconds;
      DrawBoxedDisplay(frame, kGameTimeX, kRowTop, "888:88", FormatMinutes(s.gameTime), kOn, kOff);
    }
    const int32_t drawRate = int32_t(std::min<uint32_t>(gFrameRates.draw, INT32_MAX));
    if (drawRate != gPanel.drawRate) {
      gPanel.drawRate = drawRate;
      DrawBoxedDisplay(frame, kDrawRateX, kRowTop, "888.88", FormatRate(gFrameRates.draw), kOn,
                       kOff);
    }
    const int32_t stepRate = int32_t(std::min<uint32_t>(gFrameRates.step, INT32_MAX));
    if (stepRate != gPanel.stepRate) {
      gPanel.stepRate = stepRate;
      DrawBoxedDisplay(frame, kStepRateX, kRowTop, "888.88", FormatRate(gFrameRates.step), kOn,
                       kOff);
    }
  }
  UpdateWindIndicator(frame);
  for (int p = 0; p < kPlayers; ++p) UpdateBrickPlayerDisplays(frame, p);
}

}  // namespace kelvra
