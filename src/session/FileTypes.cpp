// The desktop entry and the shared-mime-info package of Kelvra's file types.
#include "session/FileTypes.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "base/FileIO.h"
#include "common/Com.h"
#include "common/Kinds.h"

extern char** environ;

namespace kelvra {

namespace {

const char* const kDesktopFile = "applications/kelvra.desktop";
const char* const kMimeFile = "mime/packages/kelvra.xml";

std::string MimeType(int kind) {
  return std::string("application/x-kelvra-") + KindExtension(kind);
}
const char* const kScoresMime = "application/x-kelvra-hsc";

std::string Lower(std::string s) {
  for (char& c : s) c = char(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

// Quotes a path for a desktop entry's Exec key.
std::string ExecQuote(const std::string& path) {
  std::string q = "\"";
  for (char c : path) {
    if (c == '"' || c == '`' || c == '$' || c == '\\') q += '\\';
    q += c;
  }
  return q + "\"";
}

std::string XmlEscape(const std::string& s) {
  std::string out;
  for (char c : s) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

std::string MimePackage() {
  std::string xml =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n";
  auto type = [&xml](const std::string& mime, const std::string& comment, const std::string& ext,
                     const std::string& icon) {
    xml += "  <mime-type type=\"" + mime + "\">\n    <comment>" + XmlEscape(comment) +
           "</comment>\n    <icon name=\"" + icon + "\"/>\n    <glob pattern=\"*." + ext +
           "\" case-sensitive=\"false\"/>\n  </mime-type>\n";
  };
  for (int k = 0; k < kKinds; ++k)
    type(MimeType(k), std::string(KindName(k)) + " Levels", KindExtension(k),
         "kelvra-" + Lower(KindName(k)));
  type(kScoresMime, "Kelvra High Scores", "HSc", "kelvra-high-scores");
  return xml + "</mime-info>\n";
}

std::string DesktopEntry(const std::string& program) {
  std::string mimes;
  for (int k = 0; k < kKinds; ++k) mimes += MimeType(k) + ";";
  mimes += std::string(kScoresMime) + ";";
  return "[Desktop Entry]\nType=Application\nName=Kelvra\n"
         "Comment=Brickfall, Monsters and Burrower with a level editor\n"
         "Exec=" +
         ExecQuote(program) +
         " %f\nIcon=kelvra\nTerminal=false\n"
         "Categories=Game;ArcadeGame;\nMimeType=" +
         mimes + "\n";
}

bool WriteText(const std::string& path, const std::string& text) {
  std::error_code ec;
  std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ec);
  AtomicFileWriter writer;
  writer.Write(text.data(), text.size());
  FileFault fault;
  return writer.Commit(path, fault);
}

// Runs a desktop database tool when it is installed; its outcome does not matter.
void RunTool(const char* tool, const std::string& folder) {
  pid_t pid;
  const char* argv[] = {tool, folder.c_str(), nullptr};
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", 1, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", 1, 0);
  if (posix_spawnp(&pid, tool, &actions, nullptr, const_cast<char**>(argv), environ) == 0) {
    int status;
    waitpid(pid, &status, 0);
  }
  posix_spawn_file_actions_destroy(&actions);
}

}  // namespace

std::string UserDataHome() {
  const char* xdg = std::getenv("XDG_DATA_HOME");
  std::string home;
  if (xdg && *xdg == '/')
    home = xdg;
  else if (const char* h = std::getenv("HOME"))
    home = std::string(h) + "/.local/share";
  else
    home = "/tmp";
  if (home.back() != '/') home += '/';
  return home;
}

bool FileTypesRegistered(const std::string& dataHome) {
  return FileExists(dataHome + kDesktopFile) && FileExists(dataHome + kMimeFile);
}

bool RegisterFileTypes(const std::string& dataHome, const std::string& program, bool doRegister,
                       bool refresh) {
  bool ok;
  if (doRegister) {
    ok = WriteText(dataHome + kMimeFile, MimePackage()) &&
         WriteText(dataHome + kDesktopFile, DesktopEntry(program));
  } else {
    std::error_code ec;
    std::filesystem::remove(dataHome + kMimeFile, ec);
    ok = !ec;
    std::filesystem::remove(dataHome + kDesktopFile, ec);
    ok = ok && !ec;
  }
  if (refresh) {
    RunTool("update-mime-database", dataHome + "mime");
    RunTool("update-desktop-database", dataHome + "applications");
  }
  return ok;
}

}  // namespace kelvra
