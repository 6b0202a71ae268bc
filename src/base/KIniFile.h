// The settings file: sections of key=value lines, held in memory in file order and
// written back (atomically) when anything changed.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace kelvra {

class TKIniFile {
 public:
  explicit TKIniFile(std::string path);
  ~TKIniFile();  // saves when changed
  TKIniFile(const TKIniFile&) = delete;
  TKIniFile& operator=(const TKIniFile&) = delete;

  // Raw access; names compare exactly, including case.
  bool Find(const std::string& section, const std::string& key, std::string& value);
  void Put(const std::string& section, const std::string& key, const std::string& value);
  bool Erase(const std::string& section, const std::string& key);  // false when absent

  // Typed transfer: load returns the stored value or the default; save stores value.
  int32_t Int(const std::string& section, const std::string& key, bool save, int32_t value);
  bool Bool(const std::string& section, const std::string& key, bool save, bool value);
  std::string Str(const std::string& section, const std::string& key, bool save,
                  const std::string& value);
  int64_t Int64(const std::string& section, const std::string& key, bool save, int64_t value);

  // Writes the file now when anything changed; false when the write failed, and also
  // when the file exists but could not be read (it is then never overwritten). The old
  // file stays whole either way (written beside it, then renamed over it).
  bool Save();
  bool Changed() const { return changed_; }
  const std::string& Path() const { return path_; }
  // Why the last Save failed, as the user is told: the system's text of the error code and
  // the code ("No space left on device (28)"), or a sentence. Empty after a good save.
  const std::string& SaveError() const { return saveError_; }

 private:
  struct Section {
    std::string name;
    std::vector<std::pair<std::string, std::string>> keys;
  };
  void EnsureLoaded();

  std::string path_;
  std::vector<Section> sections_;
  bool loaded_ = false;
  bool changed_ = false;
  bool readFailed_ = false;  // the file exists but was unreadable or implausibly large
  std::string saveError_;
};

}  // namespace kelvra
