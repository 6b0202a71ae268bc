// What differs between the game kinds: one row of traits per kind (names, file formats,
// field, rules the shared code applies), and the table of operations through which the
// shared code reaches each game. The session layer installs the games' operations.
#pragma once

#include <cstdint>
#include <string>

#include "common/Com.h"
#include "common/Kinds.h"

namespace kelvra {

class FileReader;
class AtomicFileWriter;
class TDigest;
class TKBitmap;
struct FileFault;

struct TKindTraits {
  const char* name;       // "Brickfall", "Monsters", "Burrower"
  const char* extension;  // of its level-set files: "BrL", "MoL", "BuL"
  const char* magic;      // of its level-set files: "GBrL", "GMoL", "GBuL"
  const char* oldMagic;   // also accepted when reading, or nullptr ("BLvs": Brickfall's first sets)
  uint32_t version;       // level-set file version: 4, 1, 1
  uint32_t levelRecordSize;    // bytes: 140, 1568, 276
  uint32_t elementRecordSize;  // bytes of a wall record (Brickfall 16), 0 for the grid kinds
  TRect field;                 // play field in the frame bitmap
  // A sound's stereo position: (x / soundUnit) * 1024 / soundSpan, x in the game's own
  // units, soundUnit of them to a pixel (or a column), soundSpan pixels (columns) wide.
  int32_t soundUnit;
  int32_t soundSpan;
  int32_t blastRise;           // the blast's rise per step in the game's own units
  int32_t maxPlayers;          // 5, 4, 5
  uint8_t startKeepsLevel;     // Start Game keeps the level index (Monsters); else level 0
  uint8_t showsNextLevel;      // advancing shows the next level through ShowLevel
  uint8_t hasHighScores;       // keeps a high-score table beside its sets
  uint8_t hasComputerPlayers;  // the players' AI switches apply
  uint8_t hasMirrorGame;       // the "Mirror Game" option applies
  uint8_t hasReborn;           // the "Reborn" option applies (players never run out)
  uint8_t showsDescription;    // the overlay writes the description and final message
  int32_t playersOutSound;     // the sound when the players are out: game over, or win
};

const TKindTraits& KindTraits(int kind);  // a kind outside 0..2 gives Brickfall's row

inline const char* KindName(int kind) {
  return KindTraits(kind).name;
}
inline const char* KindExtension(int kind) {
  return KindTraits(kind).extension;
}
inline const char* KindMagic(int kind) {
  return KindTraits(kind).magic;
}
inline uint32_t KindVersion(int kind) {
  return KindTraits(kind).version;
}
inline uint32_t KindLevelRecordSize(int kind) {
  return KindTraits(kind).levelRecordSize;
}
inline uint32_t KindElementRecordSize(int kind) {
  return KindTraits(kind).elementRecordSize;
}

// A game's operations. Each game implements them once; the shared code calls them through
// the table below and never names a game.
class TKindOps {
 public:
  virtual ~TKindOps() = default;

  // Level records in memory.
  virtual int LevelCount() = 0;
  virtual void NewLevelSet() = 0;  // one new empty level
  virtual void FreeLevelSet() = 0;
  // Reads the records after the header (the reader at the first record) into a set kept
  // aside; the levels in play stay as they are until InstallReadLevels.
  virtual bool ReadLevels(FileReader& reader, const TLevelSetHeader& header, uint32_t headerSize,
                          uint32_t storedRecordSize, FileFault& fault) = 0;
  virtual void InstallReadLevels() = 0;  // the set read aside replaces the levels in play
  // The levels in play, with their editing history, wait aside while a replay plays its own
  // set (the kind has none in play meanwhile); BringBackKeptLevels puts them back in place
  // of the levels in play.
  virtual void KeepLevelsAside() = 0;
  virtual void BringBackKeptLevels() = 0;
  virtual void WriteLevels(AtomicFileWriter& writer) = 0;
  // One line on level `index` (0-based, within LevelCount) for a listing.
  virtual std::string DescribeLevel(int index) = 0;

  // The game; a game without an action for one of them leaves it as it is.
  virtual void ShowLevel() {}
  // Forgets what the last game left in the game's own state (players, balls, shots,
  // enemies, panel values), so that the next ShowLevel shows the level as it is before
  // a game starts. Never called while a game of the kind runs.
  virtual void ClearGame() {}
  virtual void StartGame() {}
  virtual void GameStep() {}
  virtual void InitKind() {}  // once per run, when the kind is first selected
  virtual void ActivateKind(TKBitmap& frame) {}
  virtual void SecondTick() {}
  virtual void LevelChanged() {}
  virtual void PlayerColorChanged() {}
  virtual void DrawField(TKBitmap& frame) {}  // the play field into the frame bitmap
  // One of the game's own options (common/Options.h OptionId) was changed from its menu.
  virtual void OptionChanged(int option) {}
  // The game's move clock is stopped (false) or set going (true) from its menu.
  virtual void ClockCommand(bool run) {}
  virtual void Digest(TDigest& digest) {}  // the game's own run-time state
};

// The operations of `kind`; a kind with none installed has no levels and does nothing.
TKindOps& KindOps(int kind);
void SetKindOps(int kind, TKindOps* ops);  // nullptr: the empty operations

inline int KindLevelCount(int kind) {
  return KindOps(kind).LevelCount();
}

}  // namespace kelvra
