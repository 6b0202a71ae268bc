// Tests of the Burrower level records: placement by the stored record size and short records.
#include "burrower/BurrLevel.h"

#include <gtest/gtest.h>

#include "TestUtil.h"
#include "base/FileIO.h"

namespace kelvra {
namespace {

TEST(BurrLevel, StoredRecordSizePlacesTheLevels) {
  test::TempDir dir;
  const struct {
    uint32_t stored;
    int filled;  // bytes of each record read
  } cases[] = {{276, 276}, {400, 276}, {100, 100}, {0, 0}};
  for (const auto& c : cases) {
    std::vector<uint8_t> bytes(180, 0);
    for (int i = 0; i < 3; ++i) bytes.insert(bytes.end(), c.stored, uint8_t(i + 1));
    test::WriteAll(dir.File("b.bin"), bytes);
    FileReader reader;
    ASSERT_TRUE(reader.Open(dir.File("b.bin")));
    TLevelSetHeader h{};
    h.levelCount = 3, h.levelRecordSize = std::min<uint32_t>(c.stored, kBurrLevelRecordSize);
    TLevelsBurr levels;
    FileFault fault;
    ASSERT_TRUE(ReadBurrLevels(reader, h, 180, c.stored, levels, fault)) << c.stored;
    ASSERT_EQ(levels.size(), 3u);
    for (int i = 0; i < 3; ++i) {
      const TBurrRecord& r = levels[i].Record();
      for (int s = 0; s < kBurrLevelRecordSize; ++s)
        ASSERT_EQ(r[s], s < c.filled ? i + 1 : 0) << c.stored << " level " << i << " byte " << s;
    }
  }
}

}  // namespace
}  // namespace kelvra
