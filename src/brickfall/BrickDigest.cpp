// Brickfall's part of the state digest.
#include "brickfall/BrickDigest.h"

#include "base/Digest.h"
#include "brickfall/BrickState.h"

namespace kelvra {

namespace {

void DigestField(TDigest& d) {
  for (const TFieldWall& w : gBrick.walls) {
    d.U32(w.alive);
    d.I32(w.x);
    d.I32(w.y);
    d.I32(w.width);
    d.I32(w.height);
    d.U32(w.shape);
    d.U32(w.hits);
    d.U8(w.bonus);
  }
  d.I32(gBrick.wallCount);
  for (const TBrickPlayer& p : gBrick.players) {
    d.I32(p.x);
    d.I32(p.y);
    d.I32(p.previousX);
    d.I32(p.previousY);
    d.I32(p.width);
    d.I32(p.height);
    d.I32(p.velocityX);
    d.I32(p.velocityY);
    d.I32(p.speed);
    d.I32(p.inertia);
    d.U8(p.swapControls);
    d.U8(p.left);
    d.U8(p.up);
    d.U8(p.right);
    d.U8(p.down);
    d.U8(p.launch);
    d.U8(p.fire);
    d.I32(p.shownScore);
    d.I32(p.ballsInStock);
    d.I32(p.ballsInFlight);
    d.I32(p.recharge);
    d.I32(p.shots);
    d.I32(p.visibility);
    d.I32(p.blinkDirection);
    d.I32(p.paddleSize);
    d.U8(p.inGame);
    d.I32(p.direction);
    d.I32(p.guide);
    d.I32(p.verticalMovement);
    d.U8(p.canShoot);
    d.U8(p.ballCanBeSmall);
    d.U8(p.undeadBall);
  }
  for (const TBrickBall& b : gBrick.balls) {
    d.U8(b.state);
    d.I32(b.x);
    d.I32(b.y);
    d.I32(b.width);
    d.I32(b.height);
    d.I32(b.size);
    d.I32(b.velocityX);
    d.I32(b.velocityY);
    d.I32(b.speedSquared);
    d.I32(b.owner);
  }
  for (const TFallingBonus& b : gBrick.bonuses) {
    d.U32(b.alive);
    d.I32(b.x);
    d.I32(b.y);
    d.I32(b.width);
    d.I32(b.height);
    d.I32(b.velocityX);
    d.I32(b.velocityY);
    d.U8(b.kind);
  }
  for (const TBrickShot& s : gBrick.shots) {
    d.U8(s.state);
    d.I32(s.x);
    d.I32(s.y);
    d.I32(s.width);
    d.I32(s.height);
    d.I32(s.velocityX);
    d.I32(s.velocityY);
    d.U8(s.owner);
  }
  for (const TBrickEnemy& e : gBrick.enemies) {
    d.U8(e.kind);
    d.I32(e.x);
    d.I32(e.y);
    d.I32(e.width);
    d.I32(e.height);
    d.I32(e.velocityX);
    d.I32(e.velocityY);
    d.I32(e.targetVelocityX);
    d.I32(e.targetVelocityY);
  }
}

void DigestGame(TDigest& d) {
  const TBrickGame& g = gBrick.game;
  d.I32(g.wind);
  d.I32(g.targetWind);
  d.U32(g.lastDamageTime);
  d.I32(g.shakeX);
  d.I32(g.shakeY);
  d.I32(g.waterLine);
  d.I32(g.waterDrift);
}

void DigestEffects(TDigest& d) {
  const TBrickEffects& e = gBrick.effects;
  for (const TStar& s : e.stars) {
    d.I32(s.z);
    d.I32(s.x);
    d.I32(s.y);
  }
  for (const TBubble& b : e.bubbles) {
    d.I32(b.kind);
    d.I32(b.x);
    d.I32(b.y);
    d.I32(b.width);
    d.I32(b.height);
    d.I32(b.velocityY);
  }
  for (const TRainDrop& r : e.rain) {
    d.I32(r.kind);
    d.I32(r.x);
    d.I32(r.y);
    d.I32(r.width);
    d.I32(r.height);
    d.I32(r.velocityY);
  }
  for (const TSmallFlake& f : e.smallSnow) {
    d.I32(f.speed);
    d.I32(f.x);
    d.I32(f.y);
  }
  for (const TFlame& f : e.fire) {
    d.I32(f.phase);
    d.I32(f.x);
    d.I32(f.y);
  }
}

}  // namespace

void DigestBrickfall(TDigest& d) {
  DigestField(d);
  DigestGame(d);
  DigestEffects(d);
}

}  // namespace kelvra
