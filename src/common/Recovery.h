// Recovery copies: while a level set is modified, a copy of it is kept under
// $XDG_STATE_HOME/kelvra/ (or ~/.local/state/kelvra/), so that a signal, a crash or a power
// cut never loses the work; the next start offers it back. Saving or discarding removes it.
#pragma once

#include <cstdint>
#include <string>

namespace kelvra {

constexpr int64_t kRecoveryPeriodMs = 30000;  // at most one copy of a set per 30 s

std::string RecoveryDir();           // with a trailing '/'
std::string RecoveryFile(int kind);  // the copy: a level-set file of the kind
bool HasRecoveryCopy(int kind);

// Writes the copy of a modified set (and the name it belongs to); false when the set is not
// modified or the copy could not be written. Never asks anything: a failed copy leaves the
// previous one.
bool WriteRecoveryCopy(int kind, int64_t nowMs);
// Every modified set at once (the program is ending on a signal).
void WriteRecoveryCopies(int64_t nowMs);
// Every modified set whose last copy is kRecoveryPeriodMs old, or that has none yet; called
// often from the event loop.
void KeepRecoveryCopies(int64_t nowMs);

// Loads the copy in place of the kind's set, under the name it belonged to, marked
// modified; false (the file error already reported) when it cannot be read.
bool RestoreRecoveryCopy(int kind);
void RemoveRecoveryCopy(int kind);

}  // namespace kelvra
