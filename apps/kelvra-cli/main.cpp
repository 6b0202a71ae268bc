// kelvra-cli: the headless Kelvra, for inspecting level sets, playing and measuring.
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "Commands.h"
#include "common/Paths.h"

namespace {

// The data tree: $KELVRA_DATA_DIR, the build tree's data/ beside bin/, or share/kelvra/.
std::string FindDataDir() {
  if (const char* env = std::getenv("KELVRA_DATA_DIR"); env && *env) return env;
  std::error_code ec;
  std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) return ".";
  for (const char* candidate : {"../data", "../share/kelvra"}) {
    std::filesystem::path dir = exe.parent_path() / candidate;
    if (std::filesystem::is_directory(dir, ec)) return dir.lexically_normal().string();
  }
  return exe.parent_path().string();
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  kelvra::SetProgramDir(FindDataDir());
  return kelvra::RunCli(args, std::cout, std::cerr);
}
