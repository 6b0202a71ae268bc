// The layers of the source tree: every #include of src/, apps/, tools/ and bench/ names a
// folder that the including folder may use. A core folder reaches only its own layer and
// the ones below; a game never reaches another game; nothing below the Qt shell names it.
#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

namespace kelvra {
namespace {

namespace fs = std::filesystem;

// The folders each folder's sources may include from (their own folder always).
const std::map<std::string, std::set<std::string>>& Allowed() {
  static const std::set<std::string> base = {"base", "platform"};
  static const std::set<std::string> media = {"base", "platform", "media"};
  static const std::set<std::string> model = {"base", "platform", "media", "common"};
  static const std::set<std::string> session = {"base",      "platform", "media",    "common",
                                                "brickfall", "monsters", "burrower", "session"};
  static const std::set<std::string> qt = {"base",      "platform", "media",    "common",
                                           "brickfall", "monsters", "burrower", "session",
                                           "shell",     "dialogs",  "editor"};
  static const std::map<std::string, std::set<std::string>> table = {
      {"src/base", base},
      {"src/platform", base},
      {"src/media", media},
      {"src/common", model},
      {"src/brickfall", {"base", "platform", "media", "common", "brickfall"}},
      {"src/monsters", {"base", "platform", "media", "common", "monsters"}},
      {"src/burrower", {"base", "platform", "media", "common", "burrower"}},
      {"src/session", session},
      {"src/shell", qt},
      {"src/dialogs", qt},
      {"src/editor", qt},
      {"tools/content", media},
      {"tools/levelc", session},
      {"apps/kelvra-cli", session},
      {"apps/kelvra", qt},
      {"bench", session},
  };
  return table;
}

// The folder of the first path component of an include ("common/Com.h" -> "common"), or
// "" for a local include without a folder.
std::string IncludedFolder(const std::string& name) {
  const size_t slash = name.find('/');
  return slash == std::string::npos ? std::string() : name.substr(0, slash);
}

struct TViolation {
  std::string file;
  std::string include;
};

// The include lines' names: 1 is '"' or '<', 2 the name.
const std::regex kInclude(R"(^\s*#\s*include\s*(["<])([^">]*)[">])");

// A header of Qt, SDL or FluidSynth.
bool IsPlatformHeader(const std::string& name) {
  return (name.size() > 1 && name[0] == 'Q' && std::isupper(static_cast<unsigned char>(name[1]))) ||
         name.rfind("SDL", 0) == 0 || name.rfind("fluidsynth", 0) == 0;
}

std::vector<TViolation> Violations(const fs::path& root) {
  std::vector<TViolation> found;
  for (const auto& [folder, allowed] : Allowed()) {
    const fs::path dir = root / folder;
    if (!fs::is_directory(dir)) continue;
    const std::string own = fs::path(folder).filename().string();
    const bool qtFolder = allowed.count("shell") != 0;
    for (const auto& entry : fs::recursive_directory_iterator(dir)) {
      const std::string ext = entry.path().extension().string();
      if (ext != ".h" && ext != ".cpp") continue;
      std::ifstream in(entry.path());
      std::string line;
      std::smatch m;
      while (std::getline(in, line)) {
        if (!std::regex_search(line, m, kInclude)) continue;
        const std::string local = m[1] == "\"" ? m[2].str() : "", system = m[2];
        if (!local.empty()) {
          const std::string to = IncludedFolder(local);
          if (to.empty() || to == own || allowed.count(to)) continue;
          found.push_back({fs::relative(entry.path(), root).string(), local});
        } else if (!qtFolder && IsPlatformHeader(system)) {
          found.push_back({fs::relative(entry.path(), root).string(), system});
        }
      }
    }
  }
  return found;
}

TEST(Layers, NoIncludeGoesUpALayerOrAcrossToAnotherGame) {
  const fs::path root = KELVRA_SOURCE_DIR;
  ASSERT_TRUE(fs::is_directory(root / "src" / "common")) << root;
  for (const TViolation& v : Violations(root))
    ADD_FAILURE() << v.file << " includes \"" << v.include << "\", outside its layer";
}

// Every folder of src/ has a row: a new folder must be placed in a layer.
TEST(Layers, EveryCoreFolderHasALayer) {
  const fs::path src = fs::path(KELVRA_SOURCE_DIR) / "src";
  for (const auto& entry : fs::directory_iterator(src)) {
    if (entry.is_directory()) {
      EXPECT_TRUE(Allowed().count("src/" + entry.path().filename().string()))
          << entry.path().filename() << " has no layer";
    }
  }
}

}  // namespace
}  // namespace kelvra
