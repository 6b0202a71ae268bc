// kelvra-desktop-files: writes the installed desktop entry (kelvra.desktop) and MIME package
// (kelvra.xml) into a folder, from the code that "Register" writes them with, so that the
// installed files and the registered ones never differ.
//
// Usage: kelvra-desktop-files FOLDER
#include <cstdio>
#include <string>

#include "base/FileIO.h"
#include "session/FileTypes.h"

namespace {

bool Write(const std::string& path, const std::string& text) {
  kelvra::AtomicFileWriter writer;
  writer.Write(text.data(), text.size());
  kelvra::FileFault fault;
  if (writer.Commit(path, fault)) return true;
  std::fprintf(stderr, "kelvra-desktop-files: cannot write %s\n", path.c_str());
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: kelvra-desktop-files FOLDER\n");
    return 2;
  }
  const std::string folder = std::string(argv[1]) + "/";
  // Installed, the program is found on the PATH.
  const bool ok = Write(folder + "kelvra.desktop", kelvra::DesktopEntry("kelvra")) &&
                  Write(folder + "kelvra.xml", kelvra::MimePackage());
  return ok ? 0 : 1;
}
