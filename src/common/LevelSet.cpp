// Level-set files: the header, loading into a fresh set that replaces the current one only
// when complete, atomic saving, new and close, and the "Save changes" check.
#include "common/LevelSet.h"

#include <algorithm>
#include <cstring>

#include "base/FileIO.h"
#include "base/IOError.h"
#include "base/Paths.h"
#include "common/Com.h"
#include "common/Events.h"
#include "common/Kinds.h"
#include "common/Recovery.h"
#include "platform/Services.h"

namespace kelvra {

namespace {

constexpr uint32_t kMinHeaderSize = 16;  // magic, version, header size, one spare word
constexpr uint32_t kHeaderSize = sizeof(TLevelSetHeader);
constexpr uint8_t kMaxTextLength = 63;  // description and final message

bool MagicIs(const TLevelSetHeader& h, const char* magic) {
  return std::memcmp(h.magic, magic, 4) == 0;
}

// Limits the record sizes this kind reads and the level count; returns the stored level
// record size, which places the grid kinds' records.
uint32_t FixUpHeader(int kind, TLevelSetHeader& h) {
  const TKindTraits& t = KindTraits(kind);
  uint32_t stored = h.levelRecordSize;
  h.levelRecordSize = std::min<uint32_t>(uint32_t(h.levelRecordSize), t.levelRecordSize);
  if (t.elementRecordSize > 0)
    h.elementRecordSize = std::min<uint32_t>(uint32_t(h.elementRecordSize), t.elementRecordSize);
  h.levelCount = std::clamp(int32_t(h.levelCount), 0, kMaxLevels);
  h.description[0] = std::min(h.description[0], kMaxTextLength);
  h.finalMessage[0] = std::min(h.finalMessage[0], kMaxTextLength);
  return stored;
}

std::string NoNameFile(int kind) {
  return AbsoluteFromProgram(std::string("Levels/") + KindName(kind) + "/NoName." +
                             KindExtension(kind));
}

// One attempt at reading the file: Done when the whole set is in `h` and `levels`; Retry or
// Stop as the user answered a failure.
enum class Attempt { Done, Retry, Stop };

Attempt ReadLevelSetFile(int kind, std::string& fileName, TLevelSetHeader& h) {
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

  const char* oldMagic = KindTraits(kind).oldMagic;
  if (!MagicIs(h, KindMagic(kind)) && !(oldMagic && MagicIs(h, oldMagic)))
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
  if (!KindOps(kind).ReadLevels(reader, h, headerSize, storedRecordSize, fault))
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

bool LoadLevelSet(int kind, const std::string& name) {
  if (!SaveChangesCheck(kind)) return false;
  std::string fileName = name;
  bool result = false;

  for (;;) {
    TLevelSetHeader h;
    Attempt attempt = ReadLevelSetFile(kind, fileName, h);
    if (attempt == Attempt::Retry) continue;
    if (attempt == Attempt::Stop) break;

    // Complete: only now does the previous set go away.
    CloseLevelSet(kind);
    TKindState& s = gCom.k[kind];
    KindOps(kind).InstallReadLevels();
    s.header = h;
    s.header.levelCount = KindLevelCount(kind);
    s.origin = loFile;
    s.fileName = fileName;
    result = true;
    break;
  }

  if (KindLevelCount(kind) == 0) NewLevelSet(kind);
  return result;
}

namespace {

// The header the next save stores, counted as saved once more.
TLevelSetHeader HeaderToSave(int kind) {
  const TKindState& s = gCom.k[kind];
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
  return h;
}

bool WriteLevelSetFile(int kind, const TLevelSetHeader& h, const std::string& fileName,
                       FileFault& fault) {
  TLevelSetHeader stored = h;
  ScrambleMessage(stored.finalMessage);
  AtomicFileWriter writer;
  writer.WriteValue(stored);
  KindOps(kind).WriteLevels(writer);
  return writer.Commit(fileName, fault);
}

}  // namespace

bool SaveLevelSet(int kind, const std::string& name) {
  TKindState& s = gCom.k[kind];
  std::string fileName = name;

  for (;;) {
    TLevelSetHeader h = HeaderToSave(kind);
    FileFault fault;
    if (!WriteLevelSetFile(kind, h, fileName, fault)) {
      if (RetryFault(fileName, fault)) continue;
      return false;
    }

    s.header = h;
    if (s.origin == loFile) Events().LevelSetClosed(kind, s.fileName);
    s.origin = loFile;
    s.fileName = fileName;
    Events().LevelSetOpened(kind, fileName);
    ClearModified(kind);
    RemoveRecoveryCopy(kind);  // the work is in its file now
    return true;
  }
}

bool WriteLevelSetCopy(int kind, const std::string& fileName, FileFault& fault) {
  TLevelSetHeader h = HeaderToSave(kind);
  h.saveCounter = gCom.k[kind].header.saveCounter;  // a copy is not a save
  return WriteLevelSetFile(kind, h, fileName, fault);
}

std::string NoNameLevelSetFile(int kind) {
  return NoNameFile(kind);
}

void NewLevelSet(int kind) {
  CloseLevelSet(kind);
  TKindState& s = gCom.k[kind];
  s.fileName = NoNameFile(kind);
  s.origin = loNew;
  s.header.levelCount = 1;
  s.levelIndex = 0;
  KindOps(kind).NewLevelSet();
}

void CloseLevelSet(int kind) {
  TKindState& s = gCom.k[kind];
  if (s.origin == loNone) return;
  if (s.origin == loFile) Events().LevelSetClosed(kind, s.fileName);
  s.origin = loNone;
  KindOps(kind).FreeLevelSet();
  std::memset(&s.header, 0, sizeof s.header);
  ClearModified(kind);
}

bool SaveChangesCheck(int kind) {
  TKindState& s = gCom.k[kind];
  if (!s.modified) return true;
  MsgButton answer =
      Platform().MessageDialog("Save changes to \r\n" + s.fileName, MsgType::Confirmation,
                               Btn(MsgButton::Yes) | Btn(MsgButton::No) | Btn(MsgButton::Cancel));
  switch (answer) {
    case MsgButton::Yes:
      if (s.origin == loNew) return Events().SaveAsRequested(kind);
      return SaveLevelSet(kind, s.fileName);
    case MsgButton::No:
      RemoveRecoveryCopy(kind);  // the changes are discarded
      return true;
    default:
      return false;
  }
}

void MarkModified(int kind) {
  TKindState& s = gCom.k[kind];
  if (s.modified) return;
  s.modified = 1;
  s.modifiedSinceMs = Platform().NowMs();
  Events().ModifiedChanged(kind);
}

void ClearModified(int kind) {
  TKindState& s = gCom.k[kind];
  if (!s.modified) return;
  s.modified = 0;
  Events().ModifiedChanged(kind);
}

}  // namespace kelvra
