// The digest of the shared game state and of the current kind's own state.
#include "common/GameDigest.h"

#include "common/Com.h"
#include "common/Kinds.h"

namespace kelvra {

void DigestShared(TDigest& d) {
  const TKindState& s = gCom.k[gCom.kind < kKinds ? gCom.kind : 0];
  d.U8(gCom.kind);
  d.U8(s.state);
  d.U8(s.running);
  d.U8(s.testGame);
  d.I32(s.levelIndex);
  d.U32(s.gameTime);
  d.U32(s.levelTime);
  for (int32_t score : s.score) d.I32(score);
  d.I32(s.playersMinusOne);
  d.I32(gCom.countdown);
  d.U32(gCom.stepCounter);
  d.U32(gCom.randSeed);
  for (const TBurst& b : gCom.burst) {
    d.I32(b.life);
    d.I32(b.variant);
    d.I32(b.x);
    d.I32(b.y);
  }
  for (const TSpark& sp : gCom.spark) {
    d.I32(sp.life);
    d.I32(sp.x);
    d.I32(sp.y);
    d.I32(sp.extra);
    d.I32(sp.vy);
  }
  for (const TBlast& b : gCom.blast) {
    d.U16(b.life);
    d.I32(b.owner);
    d.I32(b.radius);
    d.I32(b.x);
    d.I32(b.y);
  }
  d.U8(gCom.cursorShape);
}

void DigestKind(TDigest& d, int kind) {
  KindOps(kind).Digest(d);
}

uint64_t GameDigest(TDigest::Mode mode) {
  TDigest d(mode);
  DigestShared(d);
  DigestKind(d, gCom.kind);
  return d.Value();
}

}  // namespace kelvra
