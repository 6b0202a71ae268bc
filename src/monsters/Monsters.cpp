// The Monsters game's operations. The game itself arrives with its own module; until then a
// level set can be made, shown and stepped without effect.
#include "monsters/Monsters.h"

#include "common/Com.h"
#include "common/Kinds.h"
#include "media/KBitmap.h"
#include "monsters/MonsLevel.h"

namespace kelvra {

namespace {

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
  void WriteLevels(AtomicFileWriter& writer) override { WriteMonsLevels(writer, gMonsLevels); }
  std::string DescribeLevel(int index) override {
    return "name \"" + GetShortString(gMonsLevels[size_t(index)].name, kMonsNameBytes) + "\"";
  }

  void DrawField(TKBitmap& frame) override {
    const TRect& f = gCom.k[gkMonsters].field;
    FillRect(frame, f.left, f.top, f.right, f.bottom, 0, ef16);
  }

 private:
  TLevelsMons read_;  // a set read from a file, until it is installed
};

}  // namespace

TKindOps& MonstersOps() {
  static TMonstersOps ops;
  return ops;
}

}  // namespace kelvra
