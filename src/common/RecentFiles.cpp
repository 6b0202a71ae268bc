// The recently-opened list of one game kind and its transfer to the settings file.
#include "common/RecentFiles.h"

#include <algorithm>

#include "base/KIniFile.h"
#include "common/Settings.h"

namespace kelvra {

namespace {
bool Blank(const std::string& s) {
  return s.find_first_not_of(" \t") == std::string::npos;
}
}  // namespace

void TRecentFiles::Opened(const std::string& fileName) {
  if (Blank(fileName)) return;
  std::string name = FromSettingsName(fileName);
  files_.erase(std::remove(files_.begin(), files_.end(), name), files_.end());
  files_.insert(files_.begin(), name);
  if (files_.size() > size_t(kMaxCount)) files_.resize(kMaxCount);
  open_ = name;
}

void TRecentFiles::Closed(const std::string& fileName) {
  if (!open_.empty() && !Blank(fileName) && FromSettingsName(fileName) == open_) open_.clear();
}

std::vector<std::string> TRecentFiles::Shown() const {
  size_t n = std::min(files_.size(), size_t(std::max(limit_, 0)));
  return std::vector<std::string>(files_.begin(), files_.begin() + n);
}

void TRecentFiles::Transfer(TKIniFile& ini, const std::string& kindName, bool save) {
  const std::string sec = "Reopen" + kindName;
  if (save) {
    // Entries of a longer list saved before are dropped so that the section holds exactly
    // the names counted.
    int oldCount = ini.Int(sec, "ReopenCount", false, 0);
    ini.Int(sec, "ReopenCount", true, int32_t(files_.size()));
    ini.Int(sec, "ReopenLimit", true, limit_);
    for (size_t i = 0; i < files_.size(); ++i)
      ini.Str(sec, "Reopen" + std::to_string(i), true, ToSettingsName(files_[i]));
    for (int i = int(files_.size()); i < std::min(oldCount, kMaxCount); ++i)
      ini.Erase(sec, "Reopen" + std::to_string(i));
    return;
  }

  // A count beyond the list's capacity reads the first kMaxCount names; a limit outside
  // 0..kMaxCount gives the default of 10.
  int count = std::clamp(ini.Int(sec, "ReopenCount", false, 0), 0, kMaxCount);
  int limit = ini.Int(sec, "ReopenLimit", false, 10);
  limit_ = limit < 0 || limit > kMaxCount ? 10 : limit;
  files_.clear();
  open_.clear();
  for (int i = 0; i < count; ++i) {
    std::string stored = ini.Str(sec, "Reopen" + std::to_string(i), false, std::string());
    if (Blank(stored)) continue;
    std::string name = FromSettingsName(stored);
    if (std::find(files_.begin(), files_.end(), name) == files_.end()) files_.push_back(name);
  }
}

}  // namespace kelvra
