// Brickfall's part of the state digest.
#include "brickfall/BrickDigest.h"

#include <algorithm>

#include "base/Digest.h"
#include "brickfall/BrickState.h"

namespace kelvra {

namespace {

void DigestField(TDigest& d) {
  // The walls past the count are never used.
  const int walls =
      d.LiveOnly() ? std::clamp(gBrick.wallCount, 0, kBrickFieldWalls) : kBrickFieldWalls;
  d.Table(
      gBrick.walls, walls, [](const TFieldWall& w) { return w.alive != 0; },
      [&](const TFieldWall& w) {
        d.U32(w.alive);
        d.I32(w.x);
        d.I32(w.y);
        d.I32(w.width);
        d.I32(w.height);
        d.U32(w.shape);
        d.U32(w.hits);
        d.U8(w.bonus);
      });
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
  d.Table(
      gBrick.balls, [](const TBrickBall& b) { return b.state != kBallFree; },
      [&](const TBrickBall& b) {
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
      });
  d.Table(
      gBrick.bonuses, [](const TFallingBonus& b) { return b.alive != 0; },
      [&](const TFallingBonus& b) {
        d.U32(b.alive);
        d.I32(b.x);
        d.I32(b.y);
        d.I32(b.width);
        d.I32(b.height);
        d.I32(b.velocityX);
        d.I32(b.velocityY);
        d.U8(b.kind);
      });
  d.Table(
      gBrick.shots, [](const TBrickShot& s) { return s.state != kShotFree; },
      [&](const TBrickShot& s) {
        d.U8(s.state);
        d.I32(s.x);
        d.I32(s.y);
        d.I32(s.width);
        d.I32(s.height);
        d.I32(s.velocityX);
        d.I32(s.velocityY);
        d.U8(s.owner);
      });
  d.Table(
      gBrick.enemies, [](const TBrickEnemy& e) { return e.kind != kEnemyFree; },
      [&](const TBrickEnemy& e) {
        d.U8(e.kind);
        d.I32(e.x);
        d.I32(e.y);
        d.I32(e.width);
        d.I32(e.height);
        d.I32(e.velocityX);
        d.I32(e.velocityY);
        d.I32(e.targetVelocityX);
        d.I32(e.targetVelocityY);
      });
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

// A table of records of 32-bit fields alone, whose free entries `live` tells apart.
template <class T, int N, class Live>
void PlainTable(TDigest& d, const T (&entries)[N], Live live) {
  if (!d.LiveOnly()) return d.Plain32(entries, N);
  d.Table(entries, live, [&](const T& e) { d.Plain32(&e, 1); });
}

void DigestEffects(TDigest& d) {
  const TBrickEffects& e = gBrick.effects;
  d.Plain32(e.stars, kStars);  // nearly all in use at any time
  PlainTable(d, e.bubbles, [](const TBubble& b) { return b.kind != 0; });
  PlainTable(d, e.rain, [](const TRainDrop& r) { return r.kind != 0; });
  PlainTable(d, e.smallSnow, [](const TSmallFlake& f) { return f.speed != 0; });
  d.Plain32(e.fire, kFlames);  // a phase of 0 is a frame too
}

}  // namespace

void DigestBrickfall(TDigest& d) {
  DigestField(d);
  DigestGame(d);
  DigestEffects(d);
}

}  // namespace kelvra
