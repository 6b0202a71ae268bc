// The Kelvra program: its command line, settings, platform services and the main window.
#include <QApplication>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <cstdio>
#include <cstring>
#include <memory>

#include "base/KIniFile.h"
#include "base/Paths.h"
#include "common/Settings.h"
#include "dialogs/AboutBox.h"
#include "shell/MainWindow.h"
#include "shell/QtPlatform.h"
#include "shell/SignalWatcher.h"

namespace {

// The exit status when the user chose to leave in a dialog at start-up (a level-set file of
// the command line that could not be opened): the program did not do what it was asked.
constexpr int kExitNotStarted = 1;

// The data tree: $KELVRA_DATA_DIR, the build tree's data/ beside bin/, or the installed
// share/kelvra/.
QString FindDataDir() {
  QByteArray env = qgetenv("KELVRA_DATA_DIR");
  if (!env.isEmpty()) return QString::fromLocal8Bit(env);
  QDir bin(QCoreApplication::applicationDirPath());
  for (const char* candidate : {"../data", "../share/kelvra"})
    if (QFileInfo(bin.filePath(candidate)).isDir()) return QDir::cleanPath(bin.filePath(candidate));
  return bin.path();
}

// --help and --version are answered without the window system, so they work where there is
// no display; but not beside another option, which may be one of the window system's own
// ("-platform offscreen") that only QApplication knows.
bool OnlyAsksForText(int argc, char** argv) {
  bool asks = false;
  for (int i = 1; i < argc; ++i) {
    bool text = false;
    for (const char* option : {"-h", "--help", "--help-all", "-v", "--version"})
      text |= std::strcmp(argv[i], option) == 0;
    if (!text && argv[i][0] == '-') return false;
    asks |= text;
  }
  return asks;
}

// Whether the window system has somewhere to show the window. Without it QApplication would
// abort; the command line is then still read (its answers and refusals need no display)
// and the program ends with a message.
bool HasDisplay(int argc, char** argv) {
  for (const char* variable : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
    if (!qEnvironmentVariableIsEmpty(variable)) return true;
  for (int i = 1; i < argc; ++i)
    if (std::strcmp(argv[i], "-platform") == 0 || std::strcmp(argv[i], "--platform") == 0)
      return true;
  return false;
}

// The command line: --help, --version, and the level-set files. Answers and refusals (an
// unknown option) end the program here, with status 0 and 1.
QStringList ParseCommandLine(const QCoreApplication& app) {
  QCommandLineParser parser;
  parser.setApplicationDescription(
      "Kelvra: three arcade games, Brickfall, Monsters and Burrower, with their level editor.");
  parser.addHelpOption();
  parser.addVersionOption();
  parser.addPositionalArgument(
      "files",
      "Level sets to open at start. The extension chooses the game: .BrL Brickfall, .MoL "
      "Monsters, .BuL Burrower (in any case); the game of the last file is shown. A file that "
      "cannot be opened is reported, and its game keeps the set used last.",
      "[FILE...]");
  parser.process(app);
  return parser.positionalArguments();
}

}  // namespace

int main(int argc, char** argv) {
  const bool display = HasDisplay(argc, argv);
  std::unique_ptr<QCoreApplication> textOnly;
  if (OnlyAsksForText(argc, argv) || !display)
    textOnly = std::make_unique<QCoreApplication>(argc, argv);
  std::unique_ptr<QApplication> gui;
  if (!textOnly) gui = std::make_unique<QApplication>(argc, argv);
  QCoreApplication::setApplicationName("Kelvra");
  QCoreApplication::setApplicationVersion(KELVRA_VERSION);
  const QStringList files = ParseCommandLine(*QCoreApplication::instance());
  if (!display) {
    std::fprintf(stderr,
                 "kelvra: no display to show the window on (DISPLAY and WAYLAND_DISPLAY are "
                 "not set); kelvra-cli plays the games without one\n");
    return 1;
  }
  if (textOnly) return 0;  // not reached: the parser answered and ended the program
  kelvra::SetProgramDir(FindDataDir().toStdString());

  // Before any SDL subsystem starts: SDL leaves handlers that are already there alone.
  kelvra::TSignalWatcher signalWatcher;
  kelvra::QtPlatform platform;
  kelvra::SetPlatform(&platform);
  int result;
  {
    // $KELVRA_SETTINGS names another settings file (measurements, trying things out).
    QString settings = qEnvironmentVariable("KELVRA_SETTINGS");
    kelvra::TKIniFile ini(
        settings.isEmpty()
            ? kelvra::SettingsFilePath(QCoreApplication::applicationFilePath().toStdString())
            : settings.toStdString());
    kelvra::StartRunStatistics(ini);
    {
      // A signal while the window is being made, with a dialog of the start-up open (a file
      // of the command line that cannot be opened): every event loop ends, so the dialogs
      // return at once; the window then ends without running its own (below).
      QMetaObject::Connection whileMade = QObject::connect(
          &signalWatcher, &kelvra::TSignalWatcher::signalled, [] { QCoreApplication::exit(0); });
      kelvra::TfMain window(files, &ini, &platform);  // saves its settings into ini when destroyed
      QObject::disconnect(whileMade);
      window.control().reportRates = !qEnvironmentVariableIsEmpty("KELVRA_REPORT_RATES");
      if (platform.ClosedBeforeShown()) {
        result = kExitNotStarted;
      } else {
        if (!window.isVisible()) window.show();
        window.activateWindow();
        QObject::connect(&signalWatcher, &kelvra::TSignalWatcher::signalled, &window,
                         &kelvra::TfMain::EndBySignal);
        // A signal while the window was made, or during the questions before the loop, ends
        // the program without running the loop.
        if (signalWatcher.received())
          window.EndBySignal();
        else
          window.StartRecovery();
        result = window.ending() ? 0 : QApplication::exec();
      }
    }
    kelvra::FinishRunStatistics(ini);
  }
  kelvra::SetPlatform(nullptr);
  return result;
}
