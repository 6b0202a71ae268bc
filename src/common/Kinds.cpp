// The kinds' traits and the table of their operations.
#include "common/Kinds.h"

#include "common/Events.h"

namespace kelvra {

namespace {

constexpr TKindTraits kTraits[kKinds] = {
    {.name = "Brickfall",
     .extension = "BrL",
     .magic = "GBrL",
     .oldMagic = "BLvs",
     .version = 4,
     .levelRecordSize = 140,
     .elementRecordSize = 16,
     .field = {10, 34, 521, 417},  // 512 x 384
     .soundUnit = 1024,            // 1/1024 pixel
     .soundSpan = 512,
     .blastRise = 1024,  // 1 pixel
     .maxPlayers = 5,
     .startKeepsLevel = 0,
     .showsNextLevel = 1,
     .hasHighScores = 1,
     .hasComputerPlayers = 1,
     .hasMirrorGame = 1,
     .hasReborn = 0,
     .showsDescription = 1,
     .playersOutSound = kSoundGameOver},
    {.name = "Monsters",
     .extension = "MoL",
     .magic = "GMoL",
     .oldMagic = nullptr,
     .version = 1,
     .levelRecordSize = 1568,
     .elementRecordSize = 0,
     .field = {0, 20, 639, 339},  // 640 x 320
     .soundUnit = 1,              // columns 0..31
     .soundSpan = 31,
     .blastRise = 0,
     .maxPlayers = 4,
     .startKeepsLevel = 1,
     .showsNextLevel = 0,
     .hasHighScores = 0,
     .hasComputerPlayers = 1,
     .hasMirrorGame = 0,
     .hasReborn = 0,
     .showsDescription = 0,
     .playersOutSound = kSoundWin},
    {.name = "Burrower",
     .extension = "BuL",
     .magic = "GBuL",
     .oldMagic = nullptr,
     .version = 1,
     .levelRecordSize = 276,
     .elementRecordSize = 0,
     .field = {8, 19, 631, 345},  // cell (0, 0) to one pixel before cell (47, 25)
     .soundUnit = 16,             // 1/16 pixel
     .soundSpan = 624,
     .blastRise = 16,  // 1 pixel
     .maxPlayers = 5,
     .startKeepsLevel = 0,
     .showsNextLevel = 1,
     .hasHighScores = 1,
     .hasComputerPlayers = 1,
     .hasMirrorGame = 0,
     .hasReborn = 1,
     .showsDescription = 0,
     .playersOutSound = kSoundWin},
};

// A kind without a game installed: no levels, nothing to do.
class TNoGame final : public TKindOps {
 public:
  int LevelCount() override { return 0; }
  void NewLevelSet() override {}
  void FreeLevelSet() override {}
  bool ReadLevels(FileReader&, const TLevelSetHeader&, uint32_t, uint32_t, FileFault&) override {
    return true;
  }
  void InstallReadLevels() override {}
  void KeepLevelsAside() override {}
  void BringBackKeptLevels() override {}
  void WriteLevels(AtomicFileWriter&) override {}
  std::string DescribeLevel(int) override { return std::string(); }
};

TNoGame gNoGame;
TKindOps* gOps[kKinds] = {&gNoGame, &gNoGame, &gNoGame};

}  // namespace

const TKindTraits& KindTraits(int kind) {
  return kTraits[kind >= 0 && kind < kKinds ? kind : 0];
}

TKindOps& KindOps(int kind) {
  return kind >= 0 && kind < kKinds ? *gOps[kind] : static_cast<TKindOps&>(gNoGame);
}

void SetKindOps(int kind, TKindOps* ops) {
  if (kind >= 0 && kind < kKinds) gOps[kind] = ops ? ops : &gNoGame;
}

}  // namespace kelvra
