// The overlay painter.
#include "common/Overlay.h"

#include <algorithm>
#include <string>

#include "common/Captions.h"
#include "common/Com.h"
#include "common/Kinds.h"
#include "common/SharedImages.h"
#include "media/KBitmap.h"

namespace kelvra {

int FadeAmount(int state, int countdown) {
  int s = 0;
  if (state == gsLevelDone)
    s = 15 * (16 - countdown);
  else if (state == gsLevelStarting)
    s = 15 * countdown;
  return std::clamp(s, 0, 240);  // the countdown is shared and may hold any value
}

TOverlayResult DrawOverlay(TKBitmap& frame, int kind, bool fill) {
  TOverlayResult result{false};
  if (!fill || kind < 0 || kind >= kKinds) return result;
  TKindState& s = gCom.k[kind];
  const TRect& f = s.field;

  if (s.lastDrawnLevel != s.levelIndex) {
    KindOps(kind).LevelChanged();
    s.lastDrawnLevel = s.levelIndex;
  }
  KindOps(kind).DrawField(frame);

  if (!gCom.editorOpen) {
    SetSmallFont(frame);
    if (KindTraits(kind).showsDescription) {
      if (!s.running)
        CaptionText(frame, f.left + 8, f.top + 8,
                    ("Description: " + GetShortString(s.header.description, 64)).substr(0, 76));
      // The set's final message belongs to its end, not to a tested level before the last.
      const bool setDone = !s.testGame || s.levelIndex >= KindLevelCount(kind) - 1;
      if (s.state == gsAllLevelsDone && s.playersMinusOne == 0 && setDone)
        CaptionText(frame, f.left + 8, f.top + 40,
                    ("Final Message: " + GetShortString(s.header.finalMessage, 64)).substr(0, 78));
    }
    int fade = FadeAmount(s.state, gCom.countdown);
    if (fade > 0) FillRect(frame, f.left, f.top, f.right, f.bottom, RGB(fade, fade, fade), efSub);
    if (s.state == gsAborted) BigMessage(frame, f, "Game Aborted", RGB(255, 0, 0));
    if (s.state == gsGameEnded) BigMessage(frame, f, "Game Over", RGB(255, 255, 0));
    if (s.state == gsAllLevelsDone) BigMessage(frame, f, "Levels Completed", RGB(0, 128, 0));
  }

  const int mx = gCom.mouseX, my = gCom.mouseY;
  if (mx >= 0 && mx <= f.right - f.left && my >= 0 && my <= f.bottom - f.top) {
    result.pointerInField = true;
    const TKBitmap* cursor = gImages.cursor[std::min<int>(gCom.cursorShape, kCursors - 1)].get();
    if (cursor) {
      frame.SetClip(f.left, f.top, f.right, f.bottom);
      DrawWhole(frame, f.left + mx, f.top + my, *cursor, kTransparentMagenta, ef16);
      frame.ResetClip();
    }
  }

  if (gCom.paused) BigMessage(frame, f, "Game Paused", RGB(192, 192, 192));

  // The time displays change once per whole second of game or level time.
  bool gameSecond = s.gameTime / 1000 != s.shownGameTime / 1000;
  bool levelSecond = s.levelTime / 1000 != s.shownLevelTime / 1000;
  if (gameSecond || levelSecond)
    for (TKindState& other : gCom.k) {
      if (gameSecond) other.shownGameTime = other.gameTime;
      if (levelSecond) other.shownLevelTime = other.levelTime;
    }

  return result;
}

}  // namespace kelvra
