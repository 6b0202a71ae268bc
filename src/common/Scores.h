// High scores of the Brickfall and Burrower level sets: the ten-entry table kept in a
// 640-byte file beside each set, and the per-frame check that takes a new entry.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "common/Com.h"

namespace kelvra {

constexpr int kScoreEntries = 10;
constexpr int kScoreNameField = 48;  // length byte + up to 47 characters
constexpr int kMaxScoreName = 47;    // bytes of a stored name
constexpr int kMaxTypedName = 15;    // characters the name dialog accepts
constexpr const char* kDefaultPlayerName = "Unknown";

#pragma pack(push, 1)
// One entry, byte for byte as stored in the file.
struct TScoreEntry {
  uint32_t score;                 // 0 = empty entry
  uint32_t levelsTime;            // game time of the game in ms
  double date;                    // days since 30 December 1899, fraction = time of day
  uint8_t name[kScoreNameField];  // length byte + up to 47 characters (UTF-8)
};
// The whole file: best entry first.
struct TScoreTable {
  TScoreEntry entry[kScoreEntries];
};
#pragma pack(pop)
static_assert(sizeof(TScoreEntry) == 64);
static_assert(sizeof(TScoreTable) == 640);

// The table of each kind's current level set; Monsters' stays empty.
struct TScores {
  TScoreTable table[kKinds];
};
extern TScores gScores;

// The table file of a level set: its name with the extension replaced by ".HSc"; for a set
// installed with the program, that path below $XDG_DATA_HOME/kelvra/ instead.
std::string HighScoresFile(const std::string& levelSetFile);

// Loads the table of `kind` from beside its level set. A missing file, a set that was
// never saved and Monsters give an empty table; a damaged file is reported through the
// file error dialog and keeps only its complete entries.
void LoadHighScores(int kind);
// Writes the table of `kind` atomically; false when the user gave up after a failure.
// A set that was never saved keeps its table in memory only.
bool SaveHighScores(int kind);
// Runs on every drawn frame of `kind`: ends the game-over show once its countdown has run
// out and, in a single-player game, offers the result to the table (the name dialog is
// bracketed by Events().DialogShown; a new entry is told by Events().HighScoresChanged).
// `offerScore` false (a replay played back): the show ends, the table is left alone.
void HighScoreCheck(int kind, bool offerScore = true);

// Table rules, without dialogs or files.
// A result may enter when it beats the tenth entry (ties stay out).
bool ScoreQualifies(const TScoreTable& table, uint32_t score);
// Enters a qualifying result under `name`: a player with an entry keeps only his best
// result (names compared ignoring case), a new name goes below every entry it does not
// beat. Returns the entry's 0-based position, or -1 when the table did not change.
int EnterScore(TScoreTable& table, uint32_t score, const std::string& name, double date,
               uint32_t levelsTime);
// The table from the first `size` bytes of a file: complete entries only, the rest empty;
// name lengths limited to 47.
void DecodeScoreTable(const uint8_t* bytes, size_t size, TScoreTable& table);
// The answer of the name dialog as stored: blanks trimmed, at most 15 characters, and
// "Unknown" when nothing is left.
std::string CleanPlayerName(const std::string& typed);

// Texts and colours of the table window.
std::string ScoreName(const TScoreEntry& entry);
bool SameNameIgnoringCase(const std::string& a, const std::string& b);
std::string FormatThousands(uint32_t value);   // "1,234,567"
std::string FormatScoreDate(double dateTime);  // "2025-03-14 18:05:09"; "" when impossible
std::string FormatDuration(uint32_t ms);       // "1:02:03" (hours:minutes:seconds)
// Entry i of the table is drawn in spectrum colour i * kEntryHueStep (SpectrumColor).
constexpr int kEntryHueStep = 128;

}  // namespace kelvra
