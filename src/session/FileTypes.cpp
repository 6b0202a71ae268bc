// The desktop entry, the shared-mime-info package and the icons of Kelvra's file types.
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
const char* const kIconFolder = "icons/hicolor/";

// The hicolor sizes the content generator draws every icon in (tools/content/ArtIcons.cpp).
const int kIconSizes[] = {16, 24, 32, 48, 64, 128, 256};
const char* const kProgramIcon = "kelvra";
const char* const kScoresIcon = "kelvra-high-scores";

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

// A level-set kind's icon: "kelvra-brickfall", ...
std::string KindIcon(int kind) {
  return "kelvra-" + Lower(KindName(kind));
}

}  // namespace

std::string MimePackage() {
  std::string xml =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n";
  auto type = [&xml](const std::string& mime, const std::string& comment, const std::string& ext,
                     const std::string& icon, std::vector<const char*> magics) {
    xml += "  <mime-type type=\"" + mime + "\">\n    <comment>" + XmlEscape(comment) +
           "</comment>\n    <icon name=\"" + icon + "\"/>\n";
    // Priority 80: the four bytes at the start decide over the extension, so a level set
    // saved under another kind's extension is still told by its content.
    if (!magics.empty()) {
      xml += "    <magic priority=\"80\">\n";
      for (const char* magic : magics)
        xml += "      <match type=\"string\" offset=\"0\" value=\"" + XmlEscape(magic) + "\"/>\n";
      xml += "    </magic>\n";
    }
    xml += "    <glob pattern=\"*." + ext + "\" case-sensitive=\"false\"/>\n  </mime-type>\n";
  };
  for (int k = 0; k < kKinds; ++k) {
    std::vector<const char*> magics{KindMagic(k)};
    if (KindTraits(k).oldMagic) magics.push_back(KindTraits(k).oldMagic);
    type(MimeType(k), std::string(KindName(k)) + " Levels", KindExtension(k), KindIcon(k), magics);
  }
  // High-score files have no magic of their own: the extension alone tells them.
  type(kScoresMime, "Kelvra High Scores", "HSc", kScoresIcon, {});
  return xml + "</mime-info>\n";
}

std::string DesktopEntry(const std::string& program) {
  std::string mimes;
  for (int k = 0; k < kKinds; ++k) mimes += MimeType(k) + ";";
  mimes += std::string(kScoresMime) + ";";
  return "[Desktop Entry]\nType=Application\nName=Kelvra\n"
         "Comment=Brickfall, Monsters and Burrower with a level editor\n"
         "Exec=" +
         ExecQuote(program) + " %f\nIcon=" + kProgramIcon +
         "\nTerminal=false\n"
         "Categories=Game;ArcadeGame;\n"
         "Keywords=arcade;bricks;paddle;ball;monsters;digging;level editor;\nMimeType=" +
         mimes + "\n";
}

std::vector<std::string> IconFiles() {
  std::vector<std::string> names{std::string("apps/") + kProgramIcon};
  for (int k = 0; k < kKinds; ++k) names.push_back("mimetypes/" + KindIcon(k));
  names.push_back(std::string("mimetypes/") + kScoresIcon);
  std::vector<std::string> files;
  for (int size : kIconSizes)
    for (const std::string& name : names)
      files.push_back(std::to_string(size) + "x" + std::to_string(size) + "/" + name + ".png");
  return files;
}

namespace {

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

bool RegisterFileTypes(const std::string& dataHome, const std::string& program,
                       const std::string& iconTheme, bool doRegister, bool refresh) {
  namespace fs = std::filesystem;
  bool ok = true;
  if (doRegister) {
    // The icons first: the entry and the package that name them come after, so a desktop
    // that reads them at once finds their pictures.
    for (const std::string& icon : IconFiles()) {
      const fs::path target = dataHome + kIconFolder + icon;
      std::error_code ec;
      fs::create_directories(target.parent_path(), ec);
      fs::copy_file(fs::path(iconTheme) / icon, target, fs::copy_options::overwrite_existing, ec);
      ok = !ec && ok;
    }
    // Without a picture the types still work: the entry and the package are written anyway.
    ok = WriteText(dataHome + kMimeFile, MimePackage()) && ok;
    ok = WriteText(dataHome + kDesktopFile, DesktopEntry(program)) && ok;
  } else {
    // Only our own files go; the folders are shared with other programs and stay.
    std::vector<std::string> files{kMimeFile, kDesktopFile};
    for (const std::string& icon : IconFiles()) files.push_back(kIconFolder + icon);
    for (const std::string& file : files) {
      std::error_code ec;
      fs::remove(dataHome + file, ec);
      ok = ok && !ec;
    }
  }
  if (refresh) {
    RunTool("update-mime-database", dataHome + "mime");
    RunTool("update-desktop-database", dataHome + "applications");
  }
  return ok;
}

}  // namespace kelvra
