// Fuzz target: arbitrary bytes loaded as the high-score table of a Brickfall set, then shown
// as the window's texts and offered a few new results; nothing may crash or misplace one.
#include <stdlib.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "base/IOError.h"
#include "common/Com.h"
#include "common/Scores.h"
#include "platform/Headless.h"

namespace {

std::string& BaseName() {
  static std::string name;
  return name;
}

// "<temp>.BrL" names the level set (never written); its table is "<temp>.HSc".
const std::string& LevelSetName() {
  static std::string levelSet;
  if (levelSet.empty()) {
    std::string pattern = "/tmp/kelvra-fuzz-scores-XXXXXX";
    int fd = mkstemp(pattern.data());
    if (fd >= 0) close(fd);
    BaseName() = pattern;
    levelSet = pattern + ".BrL";
    std::atexit([] {
      std::remove(BaseName().c_str());
      std::remove((BaseName() + ".HSc").c_str());
    });
  }
  return levelSet;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace kelvra;
  static HeadlessPlatform headless;  // gives up on every file error
  const std::string& levelSet = LevelSetName();
  const std::string table = HighScoresFile(levelSet);
  if (FILE* f = std::fopen(table.c_str(), "wb")) {
    if (size > 0) std::fwrite(data, 1, size, f);
    std::fclose(f);
  }

  SetPlatform(&headless);
  ResetIOErrors();
  headless.ClearLog();
  gCom.kind = gkBrickfall;
  Cur().origin = loFile;
  Cur().fileName = levelSet;
  LoadHighScores(gCom.kind);

  TScoreTable& t = gScores.table[gkBrickfall];
  size_t textBytes = 0;
  for (const TScoreEntry& e : t.entry) {
    if (e.name[0] > kMaxScoreName) __builtin_trap();
    textBytes += ScoreName(e).size() + FormatThousands(e.score).size() +
                 FormatScoreDate(e.date).size() + FormatDuration(e.levelsTime).size();
  }
  if (textBytes > 10 * 120) __builtin_trap();

  // New results from the input's own values and names.
  const char* names[] = {"Ann", "ANN", "", "Unknown"};
  for (int i = 0; i < 4; ++i) {
    uint32_t score = t.entry[(i * 3) % kScoreEntries].score + uint32_t(i);
    std::string name = i == 2 ? ScoreName(t.entry[9]) : names[i];
    if (!ScoreQualifies(t, score)) continue;
    int at = EnterScore(t, score, name, 45000.0, 1000);
    if (at >= kScoreEntries || (at >= 0 && t.entry[at].score != score)) __builtin_trap();
  }
  SetPlatform(nullptr);
  return 0;
}
