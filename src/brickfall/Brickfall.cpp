// The Brickfall game's operations, called by the shared code through the kinds' table.
#include "brickfall/Brickfall.h"

#include <string>

#include "brickfall/BrickBackground.h"
#include "brickfall/BrickDigest.h"
#include "brickfall/BrickDraw.h"
#include "brickfall/BrickField.h"
#include "brickfall/BrickGame.h"
#include "brickfall/BrickLevel.h"
#include "brickfall/BrickPanel.h"
#include "brickfall/BrickPictures.h"
#include "common/Com.h"
#include "common/Kinds.h"
#include "media/KBitmap.h"

namespace kelvra {

namespace {

// The names of the level effects that are on, or "none".
std::string FlagNames(const TLevelFields& f) {
  struct Flag {
    uint8_t value;
    const char* name;
  };
  const Flag flags[] = {{f.stars, "stars"},
                        {f.rain, "rain"},
                        {f.snow, "snow"},
                        {f.smallSnow, "small-snow"},
                        {f.bubble, "bubbles"},
                        {f.fire, "fire"},
                        {f.water, "water"},
                        {f.smoke, "smoke"},
                        {f.points, "points"},
                        {f.enemy, "enemies"},
                        {f.lighting, "lighting"},
                        {f.rightIsLeft, "mirror-x"},
                        {f.bottomIsTop, "mirror-y"},
                        {f.rightBottomIsLeftTop, "mirror-xy"}};
  std::string s;
  for (const Flag& flag : flags)
    if (flag.value) s += std::string(s.empty() ? "" : " ") + flag.name;
  return s.empty() ? "none" : s;
}

void BuildBrickPlayField() {
  if (const TLevel* level = CurrentBrickLevel())
    BuildPlayField(*level, gBrickPictures.width, gBrickPictures.height, gBrickPictures.shapes);
}

class TBrickfallOps final : public TKindOps {
 public:
  int LevelCount() override { return int(gBrickLevels.size()); }
  void NewLevelSet() override {
    gBrickLevels.clear();
    gBrickLevels.resize(1);
    NewBrickLevel(gBrickLevels[0]);
  }
  void FreeLevelSet() override { gBrickLevels.clear(); }
  bool ReadLevels(FileReader& reader, const TLevelSetHeader& header, uint32_t headerSize,
                  uint32_t storedRecordSize, FileFault& fault) override {
    read_.clear();
    return ReadBrickLevels(reader, header, read_, fault);
  }
  void InstallReadLevels() override {
    gBrickLevels.swap(read_);
    read_.clear();
  }
  void KeepLevelsAside() override {
    kept_ = std::move(gBrickLevels);
    gBrickLevels.clear();
  }
  void BringBackKeptLevels() override {
    gBrickLevels = std::move(kept_);
    kept_.clear();
  }
  void WriteLevels(AtomicFileWriter& writer) override { WriteBrickLevels(writer, gBrickLevels); }
  std::string DescribeLevel(int index) override {
    const TLevel& level = gBrickLevels[size_t(index)];
    return "walls " + std::to_string(level.Walls().size()) + ", flags " + FlagNames(level.f);
  }

  void ShowLevel() override {
    BrickStartLevel();
    BuildBrickPlayField();
  }
  void ClearGame() override { ResetBrickState(TBrickReset::kAll); }
  void StartGame() override {
    BrickStartGameRules();
    BuildBrickPlayField();
  }
  void GameStep() override { BrickStep(); }
  void InitKind() override { LoadBrickPictures(); }
  void ActivateKind(TKBitmap& frame) override {
    InvalidateBrickPanel();
    DrawBrickPanel(frame);
  }
  void SecondTick() override {}
  void LevelChanged() override {
    if (const TLevel* level = CurrentBrickLevel()) PrepareBrickBackground(*level);
    InvalidateBrickPanel();
  }
  void PlayerColorChanged() override {
    PreparePlayerPictures();
    InvalidateBrickPanel();
  }
  void DrawField(TKBitmap& frame) override { DrawBrickField(frame); }
  void Digest(TDigest& digest) override { DigestBrickfall(digest); }

 private:
  TLevelsBrick read_;  // a set read from a file, until it is installed
  TLevelsBrick kept_;  // the user's levels while a replay plays
};

}  // namespace

TKindOps& BrickfallOps() {
  static TBrickfallOps ops;
  return ops;
}

}  // namespace kelvra
