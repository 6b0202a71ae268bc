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

TOverlayMessage OverlayMessage(int kind) {
  if (gCom.paused) return {"Game Paused", RGB(192, 192, 192)};
  if (gCom.editorOpen || kind < 0 || kind >= kKinds) return {nullptr, 0};
  switch (gCom.k[kind].state) {
    case gsAborted:
      return {"Game Aborted", RGB(255, 0, 0)};
    case gsGameEnded:
      return {"Game Over", RGB(255, 255, 0)};
    case gsAllLevelsDone:
      return {"Levels Completed", RGB(0, 128, 0)};
    default:
      return {nullptr, 0};
  }
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
  }
  // One message at a time: a state message goes under the pointer, the pause message over
  // it (it is shown with the editor open too).
  const TOverlayMessage message = OverlayMessage(kind);
  if (message.text && !gCom.paused) BigMessage(frame, f, message.text, message.colour);

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

  if (message.text && gCom.paused) BigMessage(frame, f, message.text, message.colour);

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
