// Fuzz target: arbitrary bytes loaded as a Monsters level-set file, and the first levels
// that loaded played for a while by four computer players, in real time and turn by turn:
// whatever a level holds, the game never reads outside its tables.
#include "LevelSetFuzz.h"
#include "common/Options.h"
#include "monsters/MonsGame.h"
#include "monsters/MonsLevel.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace kelvra;
  fuzz::LoadLevelSetInput(gkMonsters, data, size);
  TKindState& s = gCom.k[gkMonsters];
  const int levels = std::min<int>(int(gMonsLevels.size()), 2);
  for (int i = 0; i < levels; ++i) {
    for (int turn = 0; turn < 2; ++turn) {
      gOptions.mons.realTime = uint8_t(!turn);
      s.levelIndex = i;
      s.playersMinusOne = 3;
      s.state = gsPlaying;
      s.levelTime = 0;
      for (int p = 0; p < kPlayers; ++p) gCom.player[p].ai = 1;
      MonsLevelStart();
      for (int step = 0; step < 200 && s.state == gsPlaying; ++step) {
        MonsStep();
        s.levelTime += 28;
      }
      ComputeMonsTimeScores();
    }
  }
  KindOps(gkMonsters).FreeLevelSet();
  return 0;
}
