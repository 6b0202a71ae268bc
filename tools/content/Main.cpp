// kelvra-content: writes the program's data tree (pictures, icons, sound effects, music and
// the manual) from the drawing, synthesis and composition code of this folder.
//
// Usage: kelvra-content DATA_FOLDER [SOURCE_FOLDER]
//
// SOURCE_FOLDER holds the text sources (the manual); it defaults to the folder this tool
// was built from. The same sources always give the same bytes; files whose bytes are
// already on disk are not rewritten.
#include <algorithm>
#include <cstdio>
#include <exception>
#include <string>

#include "Content.h"

#ifndef KELVRA_CONTENT_SOURCE_DIR
#define KELVRA_CONTENT_SOURCE_DIR "."
#endif

int main(int argc, char** argv) {
  using namespace kelvra::content;
  if (argc < 2 || argc > 3) {
    std::fprintf(stderr, "usage: kelvra-content DATA_FOLDER [SOURCE_FOLDER]\n");
    return 2;
  }
  TContent content(argv[1], argc == 3 ? argv[2] : KELVRA_CONTENT_SOURCE_DIR);
  std::vector<TGenerator> groups = Generators();
  std::sort(groups.begin(), groups.end(), [](const TGenerator& a, const TGenerator& b) {
    return a.order != b.order ? a.order < b.order : std::string(a.name) < b.name;
  });
  for (const TGenerator& g : groups) {
    try {
      g.run(content);
    } catch (const std::exception& e) {
      std::fprintf(stderr, "kelvra-content: %s: %s\n", g.name, e.what());
      return 1;
    }
  }
  std::printf("kelvra-content: %d files, %d rewritten\n", content.FilesTotal(),
              content.FilesWritten());
  return 0;
}
