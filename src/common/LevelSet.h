// Level-set files: the 180-byte header, loading and saving with their dialogs, new and
// close, the "Save changes" check. Level records are coded by the kinds' own modules.
#pragma once

#include <cstdint>
#include <string>

namespace kelvra {

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

// Final message scrambling as stored in the file (the length byte is kept).
void ScrambleMessage(uint8_t field[64]);
void UnscrambleMessage(uint8_t field[64]);

}  // namespace kelvra
