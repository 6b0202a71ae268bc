// Level-set files: the header, loading into a fresh set that replaces the current one only
// when complete, atomic saving, new and close, and the "Save changes" check.
#include "common/LevelSet.h"

#include <algorithm>
#include <cstring>

#include "brickfall/BrickLevel.h"
#include "burrower/BurrLevel.h"
#include "common/Com.h"
#include "common/Dispatch.h"
#include "common/FileIO.h"
#include "common/Paths.h"
#include "dialogs/IOError.h"
#include "monsters/MonsLevel.h"
#include "platform/Services.h"

namespace kelvra {

TLevelSetEvents gLevelSetEvents;

namespace {

constexpr uint32_t kMinHeaderSize = 16;  // magic, version, header size, one spare word
constexpr uint32_t kHeaderSize = sizeof(TLevelSetHeader);
constexpr uint8_t kMaxTextLength = 63;  // description and final message

// The levels of one kind, read but not yet installed.
struct TLoadedLevels {
  TLevelsBrick brick;
  TLevelsMons mons;
  TLevelsBurr burr;
};

// Offers a retry for a failed file operation: an OS error or a content message.
bool RetryFault(std::string& fileName, const FileFault& fault) {
  if (fault.code != 0) return IOErrorRetry(fileName, fault.code);
  return FileErrorRetry(fileName, fault.message.empty() ? "Unexpected end of file" : fault.message);
}

bool MagicIs(const TLevelSetHeader& h, const char* magic) {
  return std::memcmp(h.magic, magic, 4) == 0;
}

// Limits the record sizes this kind reads and the level count; returns the stored level
// record size, which places the grid kinds' records.
uint32_t FixUpHeader(int kind, TLevelSetHeader& h) {
  uint32_t stored = h.levelRecordSize;
  switch (kind) {
    case gkBrickfall:
      h.levelRecordSize = std::min<uint32_t>(uint32_t(h.levelRecordSize), kBrickLevelRecordSize);
      h.elementRecordSize = std::min<uint32_t>(uint32_t(h.elementRecordSize), kBrickWallRecordSize);
      break;
    case gkMonsters:
      h.levelRecordSize = std::min<uint32_t>(uint32_t(h.levelRecordSize), kMonsLevelRecordSize);
      break;
    case gkBurrower:
      h.levelRecordSize = std::min<uint32_t>(uint32_t(h.levelRecordSize), kBurrLevelRecordSize);
      break;
  }
  h.levelCount = std::clamp(int32_t(h.levelCount), 0, kMaxLevels);
  h.description[0] = std::min(h.description[0], kMaxTextLength);
  h.finalMessage[0] = std::min(h.finalMessage[0], kMaxTextLength);
  return stored;
}

bool ReadKindLevels(int kind, FileReader& reader, TLevelSetHeader& h, uint32_t headerSize,
                    uint32_t storedRecordSize, TLoadedLevels& out, FileFault& fault) {
  bool ok = false;
  switch (kind) {
    case gkBrickfall:
      ok = ReadBrickLevels(reader, h, out.brick, fault);
      break;
    case gkMonsters:
      ok = ReadMonsLevels(reader, h, headerSize, storedRecordSize, out.mons, fault);
      break;
    case gkBurrower:
      ok = ReadBurrLevels(reader, h, headerSize, storedRecordSize, out.burr, fault);
      break;
  }
  return ok;
}

void InstallKindLevels(int kind, TLoadedLevels& in) {
  switch (kind) {
    case gkBrickfall:
      gBrickLevels.swap(in.brick);
      break;
    case gkMonsters:
      gMonsLevels.swap(in.mons);
      break;
    case gkBurrower:
      gBurrLevels.swap(in.burr);
      break;
  }
}

void WriteKindLevels(int kind, AtomicFileWriter& writer) {
  switch (kind) {
    case gkBrickfall:
      WriteBrickLevels(writer, gBrickLevels);
      break;
    case gkMonsters:
      WriteMonsLevels(writer, gMonsLevels);
      break;
    case gkBurrower:
      WriteBurrLevels(writer, gBurrLevels);
      break;
  }
}

std::string NoNameFile(int kind) {
  return AbsoluteFromProgram(std::string("Levels/") + KindName(kind) + "/NoName." +
                             KindExtension(kind));
}

void ModifiedChanged() {
  if (gLevelSetEvents.modifiedChanged) gLevelSetEvents.modifiedChanged();
}

// One attempt at reading the file: Done when the whole set is in `h` and `levels`; Retry or
// Stop as the user answered a failure.
enum class Attempt { Done, Retry, Stop };

Attempt ReadLevelSetFile(int kind, std::string& fileName, TLevelSetHeader& h,
                         TLoadedLevels& levels) {
  FileReader reader;
  if (!reader.Open(fileName))
    return IOErrorRetry(fileName, reader.fault().code) ? Attempt::Retry : Attempt::Stop;

  if (reader.Size() < int64_t(kMinHeaderSize))
    return FileErrorRetry(fileName, "Minimum size of file is 16 bytes") ? Attempt::Retry
                                                                        : Attempt::Stop;

  std::memset(&h, 0, sizeof h);
  auto* bytes = reinterpret_cast<uint8_t*>(&h);
  if (!reader.Read(bytes, kMinHeaderSize))
    return RetryFault(fileName, reader.fault()) ? Attempt::Retry : Attempt::Stop;

  if (!MagicIs(h, KindMagic(kind)) && !(kind == gkBrickfall && MagicIs(h, "BLvs")))
    return FileErrorRetry(fileName, std::string("Is not ") + KindName(kind) + " levels file")
               ? Attempt::Retry
               : Attempt::Stop;

  // Bytes from the stored header size up to 180 stay 0.
  uint32_t headerSize = std::clamp(uint32_t(h.headerSize), kMinHeaderSize, kHeaderSize);
  if (!reader.Read(bytes + kMinHeaderSize, headerSize - kMinHeaderSize))
    return RetryFault(fileName, reader.fault()) ? Attempt::Retry : Attempt::Stop;
  h.headerSize = headerSize;

  if (h.version != KindVersion(kind)) {
    std::string text = fileName + "\r\n" + "File version is " + std::to_string(h.version) + ", " +
                       "program use version " + std::to_string(KindVersion(kind));
    MsgButton answer = Platform().MessageDialog(
        text, MsgType::Warning,
        Btn(MsgButton::Retry) | Btn(MsgButton::Ignore) | Btn(MsgButton::Abort));
    if (answer == MsgButton::Retry) return Attempt::Retry;
    if (answer != MsgButton::Ignore) return Attempt::Stop;
  }

  uint32_t storedRecordSize = FixUpHeader(kind, h);
  UnscrambleMessage(h.finalMessage);

  FileFault fault;
  if (!ReadKindLevels(kind, reader, h, headerSize, storedRecordSize, levels, fault))
    return RetryFault(fileName, fault) ? Attempt::Retry : Attempt::Stop;
  return Attempt::Done;
}

}  // namespace

void ScrambleMessage(uint8_t field[64]) {
  int n = std::min<int>(field[0], kMaxTextLength);
  for (int i = 1; i <= n; ++i) field[i] = uint8_t(~uint8_t(field[i] - 15));
}

void UnscrambleMessage(uint8_t field[64]) {
  int n = std::min<int>(field[0], kMaxTextLength);
  for (int i = 1; i <= n; ++i) field[i] = uint8_t((field[i] ^ 255) + 15);
}

bool LoadLevelSet(const std::string& name) {
  if (!SaveChangesCheck()) return false;
  const int kind = gCom.kind;
  std::string fileName = name;
  bool result = false;

  for (;;) {
    TLevelSetHeader h;
    TLoadedLevels levels;
    Attempt attempt = ReadLevelSetFile(kind, fileName, h, levels);
    if (attempt == Attempt::Retry) continue;
    if (attempt == Attempt::Stop) break;

    // Complete: only now does the previous set go away.
    CloseLevelSet();
    TKindState& s = gCom.k[kind];
    InstallKindLevels(kind, levels);
    s.header = h;
    s.header.levelCount = KindLevelCount(kind);
    s.origin = loFile;
    s.fileName = fileName;
    result = true;
    break;
  }

  if (KindLevelCount(kind) == 0) NewLevelSet();
  return result;
}

bool SaveLevelSet(const std::string& name) {
  const int kind = gCom.kind;
  TKindState& s = gCom.k[kind];
  std::string fileName = name;

  for (;;) {
    TLevelSetHeader h = s.header;
    std::memcpy(h.magic, KindMagic(kind), 4);
    h.version = KindVersion(kind);
    h.headerSize = kHeaderSize;
    h.levelCount = KindLevelCount(kind);
    h.levelRecordSize = KindLevelRecordSize(kind);
    h.elementRecordSize = KindElementRecordSize(kind);
    h.saveCounter = s.header.saveCounter + 1;
    h.lastSave = Platform().NowDateTime();
    if (s.modified) {
      // The editing period runs from the first change after the last save.
      int64_t period = Platform().NowMs() - s.modifiedSinceMs;
      if (period > 0) h.editingTime += period;
    }

    TLevelSetHeader stored = h;
    ScrambleMessage(stored.finalMessage);
    AtomicFileWriter writer;
    writer.WriteValue(stored);
    WriteKindLevels(kind, writer);

    FileFault fault;
    if (!writer.Commit(fileName, fault)) {
      if (RetryFault(fileName, fault)) continue;
      return false;
    }

    s.header = h;
    if (s.origin == loFile && gLevelSetEvents.fileClosed) gLevelSetEvents.fileClosed(s.fileName);
    s.origin = loFile;
    s.fileName = fileName;
    if (gLevelSetEvents.fileOpened) gLevelSetEvents.fileOpened(fileName);
    ClearModified();
    return true;
  }
}

void NewLevelSet() {
  const int kind = gCom.kind;
  CloseLevelSet();
  TKindState& s = gCom.k[kind];
  s.fileName = NoNameFile(kind);
  s.origin = loNew;
  s.header.levelCount = 1;
  s.levelIndex = 0;
  KindNewLevelSet(kind);
}

void CloseLevelSet() {
  const int kind = gCom.kind;
  TKindState& s = gCom.k[kind];
  if (s.origin == loNone) return;
  if (s.origin == loFile && gLevelSetEvents.fileClosed) gLevelSetEvents.fileClosed(s.fileName);
  s.origin = loNone;
  KindFreeLevelSet(kind);
  std::memset(&s.header, 0, sizeof s.header);
  ClearModified();
}

bool SaveChangesCheck() {
  TKindState& s = Cur();
  if (!s.modified) return true;
  MsgButton answer =
      Platform().MessageDialog("Save changes to \r\n" + s.fileName, MsgType::Confirmation,
                               Btn(MsgButton::Yes) | Btn(MsgButton::No) | Btn(MsgButton::Cancel));
  switch (answer) {
    case MsgButton::Yes:
      if (s.origin == loNew) return gLevelSetEvents.saveAs ? gLevelSetEvents.saveAs() : false;
      return SaveLevelSet(s.fileName);
    case MsgButton::No:
      return true;
    default:
      return false;
  }
}

void MarkModified() {
  TKindState& s = Cur();
  if (s.modified) return;
  s.modified = 1;
  s.modifiedSinceMs = Platform().NowMs();
  ModifiedChanged();
}

void ClearModified() {
  TKindState& s = Cur();
  if (!s.modified) return;
  s.modified = 0;
  ModifiedChanged();
}

}  // namespace kelvra
