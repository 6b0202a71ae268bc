// Fuzz target: arbitrary bytes loaded as the high-score table of a Brickfall set, then shown
// as the window's texts and offered a few new results; nothing may crash or misplace one.
#include <cstdint>
#include <string>

#include "FuzzInput.h"
#include "base/IOError.h"
#include "common/Com.h"
#include "common/Scores.h"
#include "platform/Headless.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace kelvra;
  static HeadlessPlatform headless;  // gives up on every file error
  // "<temp>.HSc" is the table of the level set "<temp>.BrL", which is never written.
  const std::string& table = fuzz::WriteInput(".HSc", data, size);
  const std::string levelSet = table.substr(0, table.size() - 4) + ".BrL";

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
