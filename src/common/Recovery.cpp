// Recovery copies of modified level sets: where they live, when they are written, restoring
// and removing them.
#include "common/Recovery.h"

#include <cstdlib>
#include <filesystem>
#include <limits>

#include "base/FileIO.h"
#include "base/Paths.h"
#include "common/Com.h"
#include "common/Kinds.h"
#include "common/LevelSet.h"

namespace kelvra {

namespace {

// The one record of this module: when each kind's copy was last written.
struct TRecovery {
  int64_t writtenMs[kKinds];  // NowMs of the last copy; kNever when none since the start
};
constexpr int64_t kNever = std::numeric_limits<int64_t>::min();
TRecovery gRecovery = {{kNever, kNever, kNever}};

// Beside the copy: "file" or "new" on the first line, the set's own file name on the second.
std::string NameFile(int kind) {
  return RecoveryDir() + KindName(kind) + ".name";
}

bool Due(int kind, int64_t nowMs) {
  return gRecovery.writtenMs[kind] == kNever ||
         nowMs - gRecovery.writtenMs[kind] >= kRecoveryPeriodMs;
}

}  // namespace

std::string RecoveryDir() {
  return XdgHome("XDG_STATE_HOME", ".local/state") + "/kelvra/";
}

std::string RecoveryFile(int kind) {
  return RecoveryDir() + KindName(kind) + "." + KindExtension(kind);
}

bool HasRecoveryCopy(int kind) {
  return FileExists(RecoveryFile(kind));
}

bool WriteRecoveryCopy(int kind, int64_t nowMs) {
  const TKindState& s = gCom.k[kind];
  if (!s.modified || s.origin == loNone) return false;
  std::error_code ec;
  std::filesystem::create_directories(RecoveryDir(), ec);
  // The name first: a copy is never left beside another set's name.
  const std::string name = std::string(s.origin == loFile ? "file" : "new") + "\n" + s.fileName;
  AtomicFileWriter nameWriter;
  nameWriter.Write(name.data(), name.size());
  FileFault fault;
  if (!nameWriter.Commit(NameFile(kind), fault)) return false;
  if (!WriteLevelSetCopy(kind, RecoveryFile(kind), fault)) return false;
  gRecovery.writtenMs[kind] = nowMs;
  return true;
}

void WriteRecoveryCopies(int64_t nowMs) {
  for (int k = 0; k < kKinds; ++k) WriteRecoveryCopy(k, nowMs);
}

void KeepRecoveryCopies(int64_t nowMs) {
  for (int k = 0; k < kKinds; ++k)
    if (gCom.k[k].modified && Due(k, nowMs)) WriteRecoveryCopy(k, nowMs);
}

bool RestoreRecoveryCopy(int kind) {
  if (!LoadLevelSet(kind, RecoveryFile(kind))) return false;
  TKindState& s = gCom.k[kind];
  // A missing or damaged name file gives an unnamed set: the levels are what matters.
  std::string text;
  FileReader reader;
  if (reader.Open(NameFile(kind)) && reader.Size() > 0 && reader.Size() < 65536) {
    text.resize(size_t(reader.Size()));
    if (!reader.Read(reinterpret_cast<uint8_t*>(text.data()), text.size())) text.clear();
  }
  const size_t eol = text.find('\n');
  if (eol != std::string::npos && text.compare(0, eol, "file") == 0 && eol + 1 < text.size()) {
    s.fileName = text.substr(eol + 1);
    s.origin = loFile;
  } else {
    s.fileName = NoNameLevelSetFile(kind);
    s.origin = loNew;
  }
  MarkModified(kind);
  return true;
}

void RemoveRecoveryCopy(int kind) {
  std::error_code ec;
  std::filesystem::remove(RecoveryFile(kind), ec);
  std::filesystem::remove(NameFile(kind), ec);
  gRecovery.writtenMs[kind] = kNever;
}

}  // namespace kelvra
