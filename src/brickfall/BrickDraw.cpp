// Drawing of the Brickfall play field.
#include "brickfall/BrickDraw.h"

#include "brickfall/BrickBackground.h"
#include "brickfall/BrickGame.h"
#include "brickfall/BrickPictures.h"
#include "common/Com.h"
#include "media/KBitmap.h"

namespace kelvra {

TBrickEditorView gBrickEditorView;

void DrawBrickField(TKBitmap& frame) {
  const TRect& f = gCom.k[gkBrickfall].field;
  if (const TLevel* level = CurrentBrickLevel())
    DrawBrickBackground(frame, *level);
  else
    FillRect(frame, f.left, f.top, f.right, f.bottom, 0, ef16);
  DrawFieldWalls(frame);
}

}  // namespace kelvra
