// Dispatch of the per-kind operations: a switch on the game kind.
#include "common/Dispatch.h"

#include "brickfall/Brickfall.h"
#include "burrower/Burrower.h"
#include "common/Com.h"
#include "monsters/Monsters.h"

namespace kelvra {

TComHooks gComHooks;

void EndGameHook() {
  if (gComHooks.endGame) gComHooks.endGame();
}

void PlaySoundHook(int sound, int pan) {
  if (gComHooks.playSound) gComHooks.playSound(sound, pan);
}

#define KELVRA_DISPATCH(kind, op) \
  switch (kind) {                 \
    case gkBrickfall:             \
      return Brick##op();         \
    case gkMonsters:              \
      return Mons##op();          \
    case gkBurrower:              \
      return Burr##op();          \
  }

void KindNewLevelSet(int kind) {
  KELVRA_DISPATCH(kind, NewLevelSet)
}
void KindFreeLevelSet(int kind) {
  KELVRA_DISPATCH(kind, FreeLevelSet)
}
void KindShowLevel(int kind) {
  KELVRA_DISPATCH(kind, ShowLevel)
}
void KindStartGame(int kind) {
  KELVRA_DISPATCH(kind, StartGame)
}
void KindGameStep(int kind) {
  KELVRA_DISPATCH(kind, GameStep)
}
void KindInitKind(int kind) {
  KELVRA_DISPATCH(kind, InitKind)
}
void KindActivateKind(int kind) {
  KELVRA_DISPATCH(kind, ActivateKind)
}
void KindSecondTick(int kind) {
  KELVRA_DISPATCH(kind, SecondTick)
}
void KindLevelChanged(int kind) {
  KELVRA_DISPATCH(kind, LevelChanged)
}
void KindPlayerColorChanged(int kind) {
  KELVRA_DISPATCH(kind, PlayerColorChanged)
}
void KindDrawField(int kind) {
  KELVRA_DISPATCH(kind, DrawField)
}

int KindLevelCount(int kind) {
  KELVRA_DISPATCH(kind, LevelCount)
  return 0;
}

#undef KELVRA_DISPATCH

}  // namespace kelvra
