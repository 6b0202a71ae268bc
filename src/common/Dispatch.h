// Per-kind operations: each game provides them, the shared code calls them by a switch on
// the game kind. Hooks let the shared code reach the shell without depending on it.
#pragma once

#include <functional>
#include <string>

namespace kelvra {

class FileReader;
class FileWriter;
struct TLevelSetHeader;

// Hooks the shell installs; unset hooks do nothing.
struct TComHooks {
  std::function<void()> endGame;  // the game of the current kind ends
  // x: the sound's horizontal position in the current kind's own units, or kSoundNoPlace.
  std::function<void(int sound, int x)> playSound;
};
extern TComHooks gComHooks;

void EndGameHook();

// Sound ids used by the shared code, and the position of a sound with no place.
constexpr int kSoundNoPlace = 2147483647;
constexpr int kSoundGameStartBase = 2;  // + kind
constexpr int kSoundGameOver = 25;
constexpr int kSoundWin = 26;

void PlaySoundHook(int sound, int x = kSoundNoPlace);

// Dispatch by kind (the current kind unless one is given).
void KindNewLevelSet(int kind);
void KindFreeLevelSet(int kind);
void KindShowLevel(int kind);
void KindStartGame(int kind);
void KindGameStep(int kind);
void KindInitKind(int kind);
void KindActivateKind(int kind);
void KindSecondTick(int kind);
void KindLevelChanged(int kind);
void KindPlayerColorChanged(int kind);
void KindDrawField(int kind);  // into gCom.frame
int KindLevelCount(int kind);  // levels held in memory

}  // namespace kelvra
