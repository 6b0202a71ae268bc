// The Burrower game's operations, called by the shared code through the kinds' table.
#include "burrower/Burrower.h"

#include <initializer_list>

#include "base/Digest.h"
#include "burrower/BurrDraw.h"
#include "burrower/BurrField.h"
#include "burrower/BurrGame.h"
#include "burrower/BurrLevel.h"
#include "common/Com.h"
#include "common/Kinds.h"

namespace kelvra {

namespace {

// Every field a step reads or writes; the panel's caches of what it last drew are left out.
void DigestBurrower(TDigest& d) {
  auto i32 = [&d](std::initializer_list<int32_t> values) {
    for (int32_t v : values) d.I32(v);
  };
  for (int c = 0; c < kLatticeCols; ++c) d.Bytes(gBurr.lattice[c], kLatticeRows);
  for (const TBurrPlayer& p : gBurr.players) {
    d.Bytes(&p.active, 1);
    i32({p.frozen, p.size, p.shrinkTimer, p.walkCounter, p.x, p.y, p.faceDx, p.faceDy, p.dx, p.dy,
         p.w, p.h, p.reload, p.health, p.wound, p.armor, p.speed, p.weapon, p.invisible});
    for (int w = 0; w < kWeapons; ++w) i32({p.count[w], p.ammo[w]});
    d.Bytes(p.input, sizeof p.input);
  }
  for (const TBurrEnemy& e : gBurr.enemies)
    i32({e.state, e.type, e.frozen, e.size, e.deathTimer, e.shrinkTimer, e.animation, e.x, e.y,
         e.dx, e.dy, e.w, e.h, e.stun, e.cooldown, e.health, e.wound});
  for (const TBullet& b : gBurr.bullets) i32({b.live, b.x, b.y, b.dx, b.dy, b.owner});
  for (const TBall& b : gBurr.balls)
    i32({b.bounces, b.kind, b.x, b.y, b.w, b.h, b.dx, b.dy, b.owner});
  for (const TRocket& r : gBurr.rockets)
    i32({r.live, r.frame, r.x, r.y, r.dx, r.dy, r.w, r.h, r.owner});
  for (const TBomb& b : gBurr.bombs) i32({b.live, b.x, b.y, b.w, b.h, b.dx, b.dy, b.owner, b.fuse});
  for (const TShrinkShot& s : gBurr.shrinkShots)
    i32({s.live, s.frame, s.x, s.y, s.w, s.h, s.dx, s.dy, s.owner});
  for (const TShrinkCloud& c : gBurr.shrinkClouds) i32({c.life, c.x, c.y, c.w, c.h});
  for (const TLaserBeam& l : gBurr.lasers)
    i32({l.life, l.x, l.y, l.endX, l.endY, l.dx, l.dy, l.owner});
  for (const TFreezerShot& f : gBurr.freezerShots)
    i32({f.bounces, f.frame, f.x, f.y, f.w, f.h, f.dx, f.dy, f.owner});
  for (const TBurrBonus& b : gBurr.bonuses) i32({b.kind, b.x, b.y, b.w, b.h});
  for (const TFruit& f : gBurr.fruit) i32({f.live, f.x, f.y});
  for (const TApple& a : gBurr.apples) i32({a.live, a.wobble, a.x, a.y, a.vx, a.vy, a.w, a.h});
  for (const TBrooder& b : gBurr.brooders)
    i32({b.opening, b.openingStep, b.hold, b.eggs, b.x, b.y});
  for (const TPuff& p : gBurr.puffs) i32({p.life, int32_t(p.seed), p.x, p.y});
  for (const TStain& s : gBurr.stains) i32({s.kind, s.life, s.x, s.y});
  for (const TFire& f : gBurr.fires) i32({f.life, f.x, f.y});
  for (const TIceShard& i : gBurr.iceShards) i32({i.live, i.x, i.y, i.dx, i.dy});
  d.U8(gBurr.hadFruit);
}

class TBurrowerOps final : public TKindOps {
 public:
  int LevelCount() override { return int(gBurrLevels.size()); }
  void NewLevelSet() override {
    gBurrLevels.clear();
    gBurrLevels.resize(1);
    NewBurrLevel(gBurrLevels[0]);
  }
  void FreeLevelSet() override { gBurrLevels.clear(); }
  bool ReadLevels(FileReader& reader, const TLevelSetHeader& header, uint32_t headerSize,
                  uint32_t storedRecordSize, FileFault& fault) override {
    read_.clear();
    return ReadBurrLevels(reader, header, headerSize, storedRecordSize, read_, fault);
  }
  void InstallReadLevels() override {
    gBurrLevels.swap(read_);
    read_.clear();
  }
  void KeepLevelsAside() override {
    kept_ = std::move(gBurrLevels);
    gBurrLevels.clear();
  }
  void BringBackKeptLevels() override {
    gBurrLevels = std::move(kept_);
    kept_.clear();
  }
  void WriteLevels(AtomicFileWriter& writer) override { WriteBurrLevels(writer, gBurrLevels); }
  std::string DescribeLevel(int index) override { return "level " + std::to_string(index + 1); }

  void ShowLevel() override {
    BurrLevelStart();
    PrepareBurrEarth();
  }
  void ClearGame() override { ResetBurrState(); }
  void StartGame() override {
    BurrGameStart();
    PrepareBurrEarth();
  }
  void GameStep() override { BurrStep(); }
  void Digest(TDigest& digest) override { DigestBurrower(digest); }

  void InitKind() override { LoadBurrPictures(); }
  void ActivateKind(TKBitmap& frame) override { DrawBurrStatic(frame); }
  void LevelChanged() override {
    PrepareBurrEarth();
    InvalidateBurrPanel();
  }
  void PlayerColorChanged() override { BuildBurrPlayerPictures(); }
  void DrawField(TKBitmap& frame) override { DrawBurrFrame(frame); }

 private:
  TLevelsBurr read_;  // a set read from a file, until it is installed
  TLevelsBurr kept_;  // the user's levels while a replay plays
};

}  // namespace

TKindOps& BurrowerOps() {
  static TBurrowerOps ops;
  return ops;
}

}  // namespace kelvra
