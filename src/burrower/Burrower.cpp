// The Burrower game's operations. The game itself arrives with its own module; until then a
// level set can be made, shown and stepped without effect.
#include "burrower/Burrower.h"

#include "burrower/BurrLevel.h"
#include "common/Com.h"
#include "common/Kinds.h"
#include "media/KBitmap.h"

namespace kelvra {

namespace {

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
  void WriteLevels(AtomicFileWriter& writer) override { WriteBurrLevels(writer, gBurrLevels); }
  std::string DescribeLevel(int index) override { return "level " + std::to_string(index + 1); }

  void DrawField(TKBitmap& frame) override {
    const TRect& f = gCom.k[gkBurrower].field;
    FillRect(frame, f.left, f.top, f.right, f.bottom, 0, ef16);
  }

 private:
  TLevelsBurr read_;  // a set read from a file, until it is installed
};

}  // namespace

TKindOps& BurrowerOps() {
  static TBurrowerOps ops;
  return ops;
}

}  // namespace kelvra
