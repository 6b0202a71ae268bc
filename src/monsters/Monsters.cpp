// The Monsters game's operations, called by the shared code through the kinds' table.
#include "monsters/Monsters.h"

#include <algorithm>
#include <string>

#include "base/Digest.h"
#include "common/Com.h"
#include "common/Kinds.h"
#include "common/Options.h"
#include "monsters/MonsDraw.h"
#include "monsters/MonsGame.h"
#include "monsters/MonsLevel.h"
#include "monsters/MonsState.h"

namespace kelvra {

namespace {

void DigestMonsters(TDigest& d) {
  for (const TMonsSquare& q : gMons.grid) {
    d.U8(q.kind);
    d.U8(q.variant);
    d.U8(q.direction);
    d.U16(q.slot);
    d.U8(q.flash);
  }
  for (const TMonsSlot& m : gMons.monster) {
    d.U8(m.type);
    d.U8(uint8_t(m.dx));
    d.U8(uint8_t(m.dy));
    d.U8(m.x);
    d.U8(m.y);
  }
  for (const TMonsPlayer& p : gMons.players) {
    d.U8(p.x);
    d.U8(p.y);
    d.U8(p.present);
    d.U8(uint8_t(p.requestDx));
    d.U8(uint8_t(p.requestDy));
    d.U8(uint8_t(p.lastDx));
    d.U8(uint8_t(p.lastDy));
    d.U32(p.lastAttempt);
    d.I32(p.score);
    d.I32(p.timeScore);
    d.I32(p.killed);
    d.I32(p.caught);
    d.I32(p.houseHits);
    d.I32(p.overtime);
    d.I32(p.moveTime);
  }
  const TMonsGame& g = gMons.game;
  d.I32(g.currentPlayer);
  d.I32(g.moveCounter);
  d.U8(g.clockRunning);
  d.U32(g.moveStart);
  d.U32(g.lastMonsterStep);
  d.I32(g.slotsInUse);
  d.I32(g.alive);
  for (int t = 0; t < kMonsTypes; ++t) {
    d.I32(g.alivePerType[t]);
    d.I32(g.bredPerType[t]);
  }
  d.U32(g.historyCount);
  for (int i = 0; i < 2; ++i) {
    d.I32(g.historyMin[i]);
    d.I32(g.historyMax[i]);
  }
  const uint32_t kept = std::min<uint32_t>(g.historyCount, kMonsHistoryKept);
  for (uint32_t i = 0; i < kept; ++i)
    for (int p = 0; p < kMonsPlayers; ++p) {
      d.I32(gMons.history[i].score[p]);
      d.I32(gMons.history[i].timeScore[p]);
    }
}

class TMonstersOps final : public TKindOps {
 public:
  int LevelCount() override { return int(gMonsLevels.size()); }
  void NewLevelSet() override {
    gMonsLevels.clear();
    gMonsLevels.resize(1);
    NewMonsLevel(gMonsLevels[0]);
  }
  void FreeLevelSet() override { gMonsLevels.clear(); }
  bool ReadLevels(FileReader& reader, const TLevelSetHeader& header, uint32_t headerSize,
                  uint32_t storedRecordSize, FileFault& fault) override {
    read_.clear();
    return ReadMonsLevels(reader, header, headerSize, storedRecordSize, read_, fault);
  }
  void InstallReadLevels() override {
    gMonsLevels.swap(read_);
    read_.clear();
  }
  void KeepLevelsAside() override {
    kept_ = std::move(gMonsLevels);
    gMonsLevels.clear();
  }
  void BringBackKeptLevels() override {
    gMonsLevels = std::move(kept_);
    kept_.clear();
  }
  void WriteLevels(AtomicFileWriter& writer) override { WriteMonsLevels(writer, gMonsLevels); }
  std::string DescribeLevel(int index) override {
    return "name \"" + GetShortString(gMonsLevels[size_t(index)].name, kMonsNameBytes) + "\"";
  }

  void ShowLevel() override { MonsDecodeLevel(); }
  void ClearGame() override { ResetMonsState(); }
  void StartGame() override { MonsLevelStart(); }
  void GameStep() override { MonsStep(); }
  void Digest(TDigest& digest) override { DigestMonsters(digest); }

  void InitKind() override { LoadMonsPictures(); }
  void ActivateKind(TKBitmap& frame) override { DrawMonsStatic(frame); }
  void LevelChanged() override { InvalidateMonsPanel(); }
  void PlayerColorChanged() override { BuildMonsPictureStrip(); }
  void DrawField(TKBitmap& frame) override { DrawMonsFrame(frame); }

  void OptionChanged(int option) override {
    if (option == opRealTime) {
      MonsRealTimeChanged();
    } else if (option == opMonstersDelay) {
      MonsDelayChanged();
    } else if (option == opTimes) {
      ComputeMonsTimeScores();
      InvalidateMonsPanel();  // the panel and the graph show the other series
    }
  }
  void ClockCommand(bool run) override {
    if (run) {
      MonsGoClock();
    } else {
      MonsStopClock();
    }
  }

 private:
  TLevelsMons read_;  // a set read from a file, until it is installed
  TLevelsMons kept_;  // the user's levels while a replay plays
};

}  // namespace

TKindOps& MonstersOps() {
  static TMonstersOps ops;
  return ops;
}

}  // namespace kelvra
