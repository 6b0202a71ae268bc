// The program's folder and file-name helpers.
#include "base/Paths.h"

#include <algorithm>
#include <cstdlib>

namespace kelvra {

namespace {
std::string& ProgramDirRef() {
  static std::string dir = "./";
  return dir;
}
}  // namespace

const std::string& ProgramDir() {
  return ProgramDirRef();
}

void SetProgramDir(const std::string& dir) {
  std::string d = NativePath(dir);
  if (d.empty()) d = "./";
  if (d.back() != '/') d += '/';
  ProgramDirRef() = d;
}

std::string NativePath(const std::string& name) {
  std::string s = name;
  std::replace(s.begin(), s.end(), '\\', '/');
  return s;
}

std::string AbsoluteFromProgram(const std::string& name) {
  std::string s = NativePath(name);
  if (s.empty() || s[0] == '/') return s;
  return ProgramDir() + s;
}

std::string RelativeToProgram(const std::string& name) {
  std::string s = NativePath(name);
  const std::string& dir = ProgramDir();
  if (s.size() > dir.size() && s.compare(0, dir.size(), dir) == 0) return s.substr(dir.size());
  return s;
}

std::string ExtractFileName(const std::string& path) {
  std::string s = NativePath(path);
  size_t slash = s.rfind('/');
  return slash == std::string::npos ? s : s.substr(slash + 1);
}

std::string ExtractFileExt(const std::string& path) {
  std::string name = ExtractFileName(path);
  size_t dot = name.rfind('.');
  return dot == std::string::npos ? std::string() : name.substr(dot + 1);
}

std::string ChangeFileExt(const std::string& path, const std::string& extWithDot) {
  std::string name = ExtractFileName(path);
  size_t dot = name.rfind('.');
  if (dot == std::string::npos) return path + extWithDot;
  return path.substr(0, path.size() - (name.size() - dot)) + extWithDot;
}

std::string XdgHome(const char* variable, const char* belowHome) {
  const char* xdg = std::getenv(variable);
  if (xdg && xdg[0] == '/') return xdg;
  const char* home = std::getenv("HOME");
  return std::string(home && home[0] ? home : ".") + "/" + belowHome;
}

}  // namespace kelvra
