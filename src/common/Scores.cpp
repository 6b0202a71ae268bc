// High-score tables: the table file with its retry loops, the entry rules (ties, one entry
// per player), the per-frame check that ends the game-over show, and the window's texts.
#include "common/Scores.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "base/FileIO.h"
#include "base/IOError.h"
#include "base/Paths.h"
#include "common/Events.h"
#include "common/Kinds.h"
#include "common/Settings.h"
#include "platform/Services.h"

namespace kelvra {

TScores gScores;

namespace {

constexpr size_t kTableBytes = sizeof(TScoreTable);

bool IsContinuationByte(char c) {
  return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// At most `maxBytes` bytes of `text`, cut before a UTF-8 character that would not fit.
std::string CutBytes(const std::string& text, size_t maxBytes) {
  if (text.size() <= maxBytes) return text;
  size_t n = maxBytes;
  while (n > 0 && IsContinuationByte(text[n])) --n;
  return text.substr(0, n);
}

// At most `maxChars` UTF-8 characters of `text`.
std::string CutChars(const std::string& text, int maxChars) {
  int chars = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (IsContinuationByte(text[i])) continue;
    if (chars == maxChars) return text.substr(0, i);
    ++chars;
  }
  return text;
}

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

std::string Trim(const std::string& text) {
  size_t b = 0, e = text.size();
  while (b < e && IsBlank(text[b])) ++b;
  while (e > b && IsBlank(text[e - 1])) --e;
  return text.substr(b, e - b);
}

void SetEntry(TScoreEntry& e, uint32_t score, const std::string& name, double date,
              uint32_t levelsTime) {
  e.score = score;
  e.levelsTime = levelsTime;
  e.date = date;
  SetShortString(e.name, kScoreNameField, CutBytes(name, kMaxScoreName));
}

void Pause(bool begin) {
  Events().DialogShown(begin);
}

// Only a set with a file of its own has a table file; a new unnamed set shares its name
// with every other new set, so its table lives in memory only.
bool HasTableFile(int kind) {
  const TKindState& s = gCom.k[kind];
  return KindTraits(kind).hasHighScores && s.origin == loFile && !s.fileName.empty();
}

}  // namespace

std::string HighScoresFile(const std::string& levelSetFile) {
  const std::string beside = ChangeFileExt(levelSetFile, ".HSc");
  // The sets installed with the program (its data folder .../share/kelvra/, owned by the
  // package manager and shared by every user) keep their tables in the user's data folder,
  // at the same path below $XDG_DATA_HOME/kelvra/.
  const std::string& dir = ProgramDir();
  const std::string installed = "/share/kelvra/";
  const std::string inside = RelativeToProgram(beside);
  if (dir.size() < installed.size() ||
      dir.compare(dir.size() - installed.size(), installed.size(), installed) != 0 ||
      inside == NativePath(beside))
    return beside;
  return XdgHome("XDG_DATA_HOME", ".local/share") + "/kelvra/" + inside;
}

void LoadHighScores(int kind) {
  TScoreTable& table = gScores.table[kind];
  // Whatever happens below, nothing of the previous set's table stays.
  std::memset(&table, 0, sizeof table);
  if (!HasTableFile(kind)) return;
  std::string fileName = HighScoresFile(gCom.k[kind].fileName);
  if (!FileExists(fileName)) return;

  for (;;) {
    std::memset(&table, 0, sizeof table);
    FileReader reader;
    if (!reader.Open(fileName)) {
      if (IOErrorRetry(fileName, reader.fault().code)) continue;
      return;
    }
    uint8_t bytes[kTableBytes] = {};
    size_t size = size_t(std::min<int64_t>(reader.Size(), int64_t(kTableBytes)));
    if (!reader.Read(bytes, size)) {
      if (RetryFault(fileName, reader.fault())) continue;
      return;
    }
    DecodeScoreTable(bytes, size, table);
    if (size < kTableBytes) {
      std::string message = "High scores file is damaged: " + std::to_string(reader.Size()) +
                            " bytes instead of " + std::to_string(kTableBytes);
      if (FileErrorRetry(fileName, message)) continue;
    }
    return;
  }
}

bool SaveHighScores(int kind) {
  if (!HasTableFile(kind)) return true;
  std::string fileName = HighScoresFile(gCom.k[kind].fileName);
  std::error_code ec;  // the user's folder of an installed set's table may be new
  std::filesystem::create_directories(std::filesystem::path(fileName).parent_path(), ec);
  for (;;) {
    AtomicFileWriter writer;
    writer.WriteValue(gScores.table[kind]);
    FileFault fault;
    if (writer.Commit(fileName, fault)) return true;
    if (!RetryFault(fileName, fault)) return false;
  }
}

void HighScoreCheck(int kind, bool offerScore) {
  TKindState& s = gCom.k[kind];
  if (s.state != gsGameOverShow || gCom.countdown != 0) return;
  s.state = gsGameEnded;
  Events().GameEnded(kind);

  if (!offerScore || s.playersMinusOne != 0) return;
  // Reborn players never run out: their score is no result for the table.
  if (KindTraits(kind).hasReborn && gOptions.burr.reborn) return;
  // Neither reaches the game-over show by the rules; a table of theirs would be wrong.
  if (!KindTraits(kind).hasHighScores || s.testGame) return;
  // Scores are counts; one below 0 would pass every entry as a huge unsigned value.
  if (s.score[0] <= 0) return;
  const uint32_t score = uint32_t(s.score[0]);
  TScoreTable& table = gScores.table[kind];
  if (!ScoreQualifies(table, score)) return;

  Pause(true);
  std::string name = gOptions.playerName;
  if (!Platform().LimitedTextInput("Enter Your Name", "Name:", name, kDefaultPlayerName,
                                   kMaxTypedName)) {
    Pause(false);
    return;
  }
  name = CleanPlayerName(name);
  gOptions.playerName = name;
  if (EnterScore(table, score, name, Platform().NowDateTime(), s.gameTime) < 0) {
    Pause(false);
    return;
  }
  SaveHighScores(kind);
  Events().HighScoresChanged(kind);
  Pause(false);
}

bool ScoreQualifies(const TScoreTable& table, uint32_t score) {
  return score > table.entry[kScoreEntries - 1].score;
}

int EnterScore(TScoreTable& table, uint32_t score, const std::string& name, double date,
               uint32_t levelsTime) {
  if (!ScoreQualifies(table, score)) return -1;
  TScoreEntry* e = table.entry;

  // The lowest entry of the same player counts.
  for (int i = kScoreEntries - 1; i >= 0; --i) {
    if (!SameNameIgnoringCase(ScoreName(e[i]), name)) continue;
    if (score <= e[i].score) return -1;
    SetEntry(e[i], score, name, date, levelsTime);
    int at = i;
    for (int j = i - 1; j >= 0; --j) {
      if (e[j + 1].score > e[j].score) {
        std::swap(e[j], e[j + 1]);
        if (at == j + 1) at = j;
      }
    }
    return at;
  }

  int n = 0;
  while (n < kScoreEntries - 1 && e[n].score >= score) ++n;
  std::memmove(&e[n + 1], &e[n], sizeof(TScoreEntry) * size_t(kScoreEntries - 1 - n));
  SetEntry(e[n], score, name, date, levelsTime);
  return n;
}

void DecodeScoreTable(const uint8_t* bytes, size_t size, TScoreTable& table) {
  std::memset(&table, 0, sizeof table);
  size_t whole = std::min(size, kTableBytes) / sizeof(TScoreEntry) * sizeof(TScoreEntry);
  if (whole > 0) std::memcpy(&table, bytes, whole);
  for (TScoreEntry& e : table.entry) e.name[0] = std::min<uint8_t>(e.name[0], kMaxScoreName);
}

std::string CleanPlayerName(const std::string& typed) {
  std::string name = typed;
  // One line of text: control characters become blanks.
  for (char& c : name)
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = ' ';
  name = Trim(CutChars(Trim(name), kMaxTypedName));
  return name.empty() ? std::string(kDefaultPlayerName) : name;
}

std::string ScoreName(const TScoreEntry& entry) {
  return GetShortString(entry.name, kScoreNameField);
}

bool SameNameIgnoringCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
    if (x >= 'A' && x <= 'Z') x = uint8_t(x + 32);
    if (y >= 'A' && y <= 'Z') y = uint8_t(y + 32);
    if (x != y) return false;
  }
  return true;
}

std::string FormatThousands(uint32_t value) {
  std::string digits = std::to_string(value);
  std::string out;
  for (size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) out += ',';
    out += digits[i];
  }
  return out;
}

std::string FormatScoreDate(double dateTime) {
  // Years 100 to 9999, the range such dates are defined for.
  constexpr double kFirst = -657434.0, kEnd = 2958466.0;
  if (!std::isfinite(dateTime) || dateTime < kFirst || dateTime >= kEnd) return "";
  double whole = std::trunc(dateTime);
  int64_t days = int64_t(whole) - 25569;  // days from 1 January 1970
  int64_t seconds = std::min<int64_t>(std::llround(std::fabs(dateTime - whole) * 86400.0), 86399);

  // Civil date from a day count (proleptic Gregorian calendar).
  int64_t z = days + 719468;
  int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  int64_t doe = z - era * 146097;
  int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  int64_t mp = (5 * doy + 2) / 153;
  int64_t day = doy - (153 * mp + 2) / 5 + 1;
  int64_t month = mp < 10 ? mp + 3 : mp - 9;
  int64_t year = yoe + era * 400 + (month <= 2 ? 1 : 0);

  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", int(year), int(month), int(day),
                int(seconds / 3600), int(seconds / 60 % 60), int(seconds % 60));
  return text;
}

std::string FormatDuration(uint32_t ms) {
  uint32_t seconds = ms / 1000;
  char text[32];
  std::snprintf(text, sizeof text, "%u:%02u:%02u", seconds / 3600, seconds / 60 % 60, seconds % 60);
  return text;
}

}  // namespace kelvra
