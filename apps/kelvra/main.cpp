// The Kelvra program: settings, platform services and the main window.
#include <QApplication>
#include <QDir>
#include <QFileInfo>

#include "base/KIniFile.h"
#include "base/Paths.h"
#include "common/Settings.h"
#include "dialogs/AboutBox.h"
#include "shell/MainWindow.h"
#include "shell/QtPlatform.h"
#include "shell/SignalWatcher.h"

namespace {

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

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("Kelvra");
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
    QStringList args = app.arguments();
    args.removeFirst();
    kelvra::StartRunStatistics(ini);
    {
      kelvra::TfMain window(args, &ini, &platform);  // saves its settings into ini when destroyed
      window.control().reportRates = !qEnvironmentVariableIsEmpty("KELVRA_REPORT_RATES");
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
      result = window.ending() ? 0 : app.exec();
    }
    kelvra::FinishRunStatistics(ini);
  }
  kelvra::SetPlatform(nullptr);
  return result;
}
