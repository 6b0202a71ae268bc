// Burrower scenes for measurements.
#include "session/BurrScenes.h"

#include "burrower/BurrField.h"

namespace kelvra {

void FillBurrowerPools() {
  // Spread over the field's squares, each pool from its own corner.
  int n = 0;
  auto place = [&n](int32_t& x, int32_t& y) {
    x = LatticeStart(2 * (n % kBurrCols) + 1) + kSquareCentre;
    y = LatticeStart(2 * ((n / kBurrCols) % kBurrRows) + 1) + kSquareCentre;
    ++n;
  };
  for (TBurrEnemy& e : gBurr.enemies) {
    e = TBurrEnemy{
        esAlive, uint8_t(n % kEnemyTypes), 0, 2, 0, 0, 0, 0, 0, 32, 0, 288, 288, 0, 0, kFullHealth,
        0};
    place(e.x, e.y);
  }
  for (TBullet& b : gBurr.bullets) b = TBullet{1, 0, 0, 512, 0, n % kBurrPlayers}, place(b.x, b.y);
  for (TBall& b : gBurr.balls) b = TBall{64, 1, 0, 0, 128, 128, 32, 32, 0}, place(b.x, b.y);
  for (TRocket& r : gBurr.rockets) r = TRocket{1, 0, 0, 0, 80, 0, 256, 128, 0}, place(r.x, r.y);
  for (TBomb& b : gBurr.bombs) b = TBomb{16, 0, 0, 320, 160, 0, 0, 0, 64}, place(b.x, b.y);
  for (TShrinkShot& s : gBurr.shrinkShots)
    s = TShrinkShot{16, 0, 0, 0, 160, 160, 0, 128, 0}, place(s.x, s.y);
  for (TShrinkCloud& c : gBurr.shrinkClouds) c = TShrinkCloud{16, 0, 0, 384, 384}, place(c.x, c.y);
  for (TLaserBeam& l : gBurr.lasers) l = TLaserBeam{16, 0, 0, 0, 0, 16, 0, 0}, place(l.x, l.y);
  for (TFreezerShot& f : gBurr.freezerShots)
    f = TFreezerShot{16, 0, 0, 0, 160, 160, 96, 0, 0}, place(f.x, f.y);
  for (TBurrBonus& b : gBurr.bonuses)
    b = TBurrBonus{uint8_t(1 + n % kBurrBonusKinds), 0, 0, 224, 224}, place(b.x, b.y);
  for (TPuff& p : gBurr.puffs) p = TPuff{16, uint32_t(n), 0, 0}, place(p.x, p.y);
  for (TStain& s : gBurr.stains) s = TStain{1 + n % 3, 255, 0, 0}, place(s.x, s.y);
  for (TFire& f : gBurr.fires) f = TFire{1024, 0, 0}, place(f.x, f.y);
  for (TIceShard& i : gBurr.iceShards) i = TIceShard{64, 0, 0, 16, 16}, place(i.x, i.y);
  for (TBlast& b : gCom.blast) b = TBlast{kBlastLife, -1, 24, 0, 0}, place(b.x, b.y);
  for (TSpark& s : gCom.spark) s = TSpark{32, 0, 0, 0, 0}, place(s.x, s.y);
}

}  // namespace kelvra
