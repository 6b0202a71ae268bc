// kelvra-cli: the headless Kelvra, for inspecting level sets, playing and measuring.
#include <iostream>
#include <string>
#include <vector>

#include "Commands.h"
#include "base/Paths.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  kelvra::SetProgramDir(kelvra::FindDataDir());
  return kelvra::RunCli(args, std::cout, std::cerr);
}
