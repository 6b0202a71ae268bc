// The Burrower level list and the coding of its 276-byte level records.
#include "burrower/BurrLevel.h"

#include <algorithm>

#include "base/FileIO.h"

namespace kelvra {

TLevelsBurr gBurrLevels;

void NewBurrLevel(TBurrLevel& level) {
  level.historyIndex = 0;
  level.historyLength = 1;
  level.history.assign(1, TBurrRecord{});
}

bool ReadBurrLevels(FileReader& reader, const TLevelSetHeader& header, uint32_t headerSize,
                    uint32_t storedRecordSize, TLevelsBurr& levels, FileFault& fault) {
  const uint32_t recordSize =
      std::min<uint32_t>(uint32_t(header.levelRecordSize), kBurrLevelRecordSize);
  const int count = std::clamp(int32_t(header.levelCount), 0, kMaxLevels);

  levels.clear();
  levels.resize(size_t(count));
  for (int i = 0; i < count; ++i) {
    TBurrLevel& level = levels[size_t(i)];
    NewBurrLevel(level);
    // Records lie at fixed places given by the stored size; a shorter record leaves the
    // rest of the squares "None".
    const int64_t offset = int64_t(headerSize) + int64_t(i) * int64_t(storedRecordSize);
    if (!reader.Seek(offset) || !reader.Read(level.Record().data(), recordSize)) {
      fault = reader.fault();
      if (!fault.failed()) fault.message = "Unexpected end of file";
      return false;
    }
  }
  return true;
}

void WriteBurrLevels(AtomicFileWriter& writer, const TLevelsBurr& levels) {
  for (const TBurrLevel& level : levels) writer.Write(level.Record().data(), kBurrLevelRecordSize);
}

}  // namespace kelvra
