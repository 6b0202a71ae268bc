// Helpers shared by the tests: private temporary folders and whole-file access.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace kelvra::test {

// A fresh empty folder under the system's temporary folder, removed on destruction.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& path() const { return path_; }  // ends with '/'
  std::string File(const std::string& name) const { return path_ + name; }

 private:
  std::string path_;
};

std::vector<uint8_t> ReadAll(const std::string& path);
void WriteAll(const std::string& path, const std::vector<uint8_t>& data);
void WriteText(const std::string& path, const std::string& text);
std::string ReadText(const std::string& path);

// A new level set of `kind`, changed by `fill`, saved as `file` through the platform in use
// and closed again; returns `file`.
std::string SaveNewSet(int kind, const std::string& file, const std::function<void()>& fill);

}  // namespace kelvra::test
