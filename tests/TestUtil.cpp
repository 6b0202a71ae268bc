// Helpers shared by the tests.
#include "TestUtil.h"

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "common/Com.h"
#include "common/LevelSet.h"
#include "session/Dispatch.h"

namespace kelvra::test {

namespace {
// Every test runs with the three games in the kinds' table, as the program does.
const bool kGamesInstalled = (InstallGames(), true);
}  // namespace

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "kelvra-test-XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
  path_ = pattern + "/";
}

TempDir::~TempDir() {
  std::error_code ec;
  std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                               std::filesystem::perm_options::add, ec);
  std::filesystem::remove_all(path_, ec);
}

std::vector<uint8_t> ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)),
                              std::istreambuf_iterator<char>());
}

void WriteAll(const std::string& path, const std::vector<uint8_t>& data) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(data.data()), std::streamsize(data.size()));
}

void WriteText(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
}

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::string SaveNewSet(int kind, const std::string& file, const std::function<void()>& fill) {
  gCom.kind = uint8_t(kind);
  NewLevelSet(kind);
  fill();
  if (!SaveLevelSet(kind, file)) throw std::runtime_error("cannot save " + file);
  CloseLevelSet(kind);
  return file;
}

}  // namespace kelvra::test
