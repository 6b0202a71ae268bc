// The recently-opened list of one game kind: most recent first, stored in the settings
// file under "Reopen" + kind name, names relative to the program's folder when inside it.
#pragma once

#include <string>
#include <vector>

namespace kelvra {

class TKIniFile;

class TRecentFiles {
 public:
  static constexpr int kMaxCount = 100;

  void Opened(const std::string& fileName);  // moves or adds it to the top, marks it open
  void Closed(const std::string& fileName);  // clears the open mark
  const std::vector<std::string>& Files() const { return files_; }  // absolute names
  std::vector<std::string> Shown() const;  // at most limit entries, for the menu
  int Limit() const { return limit_; }
  const std::string& OpenFile() const { return open_; }

  // Load or save under section "Reopen" + kindName.
  void Transfer(TKIniFile& ini, const std::string& kindName, bool save);

 private:
  std::vector<std::string> files_;
  std::string open_;
  int limit_ = 10;
};

}  // namespace kelvra
