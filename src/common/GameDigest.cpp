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
  d.Table(
      gCom.burst, [](const TBurst& b) { return b.life != 0; },
      [&](const TBurst& b) {
        d.I32(b.life);
        d.I32(b.variant);
        d.I32(b.x);
        d.I32(b.y);
      });
  d.Table(
      gCom.spark, [](const TSpark& s) { return s.life != 0; },
      [&](const TSpark& s) {
        d.I32(s.life);
        d.I32(s.x);
        d.I32(s.y);
        d.I32(s.extra);
        d.I32(s.vy);
      });
  d.Table(
      gCom.blast, [](const TBlast& b) { return b.life != 0; },
      [&](const TBlast& b) {
        d.U16(b.life);
        d.I32(b.owner);
        d.I32(b.radius);
        d.I32(b.x);
        d.I32(b.y);
      });
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
