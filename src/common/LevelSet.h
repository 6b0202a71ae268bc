// Level-set files: the 180-byte header, loading and saving with their dialogs, new and
// close, the "Save changes" check. Level records are coded by the kinds' own modules.
#pragma once

#include <cstdint>
#include <string>

namespace kelvra {

struct FileFault;

// Each works on the level set of `kind` and tells the session through Events(): a set
// opened or saved, closed, the modified flag changed, and "Save As" for a new set.
bool LoadLevelSet(int kind, const std::string& fileName);
bool SaveLevelSet(int kind, const std::string& fileName);
void NewLevelSet(int kind);
void CloseLevelSet(int kind);
// Offers to save unsaved changes: true when the caller may go on (saved, or not wanted).
bool SaveChangesCheck(int kind);
void MarkModified(int kind);
void ClearModified(int kind);
// The set as the next save would store it, written to `fileName` without asking anything and
// without touching the set (its name, counters and mark stay): the recovery copy.
bool WriteLevelSetCopy(int kind, const std::string& fileName, FileFault& fault);
std::string NoNameLevelSetFile(int kind);  // the name of a new, unsaved set

// Final message scrambling as stored in the file (the length byte is kept).
void ScrambleMessage(uint8_t field[64]);
void UnscrambleMessage(uint8_t field[64]);

}  // namespace kelvra
