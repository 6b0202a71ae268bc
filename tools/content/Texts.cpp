// The text files of the data tree: the user manual, made from its HTML source with the
// program's version filled in.
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>

#include "Content.h"

namespace kelvra::content {

namespace {

std::string ReadSource(const TContent& content, const std::string& name) {
  const std::string path = content.SourceDir() + "/" + name;
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void Replace(std::string& text, const std::string& from, const std::string& to) {
  for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
    text.replace(at, from.size(), to);
}

void MakeTexts(TContent& content) {
  std::string manual = ReadSource(content, "ReadMe.htm.in");
  Replace(manual, "@VERSION@", KELVRA_VERSION);
  content.WriteBytes("ReadMe.htm", std::vector<uint8_t>(manual.begin(), manual.end()));
}

TRegisterGenerator registerTexts("texts", 500, MakeTexts);

}  // namespace

}  // namespace kelvra::content
