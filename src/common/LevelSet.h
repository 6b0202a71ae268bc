// Level-set files: the 180-byte header, loading and saving with their dialogs, new and
// close, the "Save changes" check. Level records are coded by the kinds' own modules.
#pragma once

#include <functional>
#include <string>

namespace kelvra {

// Reports the level-set service gives to the shell; unset ones are skipped.
struct TLevelSetEvents {
  std::function<void(const std::string&)> fileOpened;  // to the recently-opened list
  std::function<void(const std::string&)> fileClosed;
  std::function<void()> modifiedChanged;  // caption and editor refresh
  // "Save As" of the shell for a new unnamed set: true when saved.
  std::function<bool()> saveAs;
};
extern TLevelSetEvents gLevelSetEvents;

// All operate on the current kind (gCom.kind).
bool LoadLevelSet(const std::string& fileName);
bool SaveLevelSet(const std::string& fileName);
void NewLevelSet();
void CloseLevelSet();
bool SaveChangesCheck();
void MarkModified();
void ClearModified();

// Final message scrambling as stored in the file (the length byte is kept).
void ScrambleMessage(uint8_t field[64]);
void UnscrambleMessage(uint8_t field[64]);

}  // namespace kelvra
