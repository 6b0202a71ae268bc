// The real program under SIGTERM and SIGINT: it ends as a closed window does, settings saved.
// And its options: --help, --version and an unknown one.
#include <QFile>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QtTest>
#include <csignal>
#include <tuple>

namespace {

// True once the process catches `signal` (its handler is installed), per /proc's SigCgt mask.
bool Catches(qint64 pid, int signal) {
  QFile status(QString("/proc/%1/status").arg(pid));
  if (!status.open(QIODevice::ReadOnly)) return false;
  for (const QByteArray& line : status.readAll().split('\n'))
    if (line.startsWith("SigCgt:"))
      return (line.mid(7).trimmed().toULongLong(nullptr, 16) >> (signal - 1)) & 1;
  return false;
}

}  // namespace

class SignalsTest : public QObject {
  Q_OBJECT

 private slots:
  void endsOnSignal_data() {
    QTest::addColumn<int>("signal");
    QTest::addColumn<bool>("missingFile");  // the start-up's file error dialog is open
    QTest::newRow("SIGTERM") << int(SIGTERM) << false;
    QTest::newRow("SIGINT") << int(SIGINT) << false;
    QTest::newRow("SIGTERM at start-up") << int(SIGTERM) << true;
  }

  void endsOnSignal() {
    QFETCH(int, signal);
    QFETCH(bool, missingFile);
    QTemporaryDir home;
    QVERIFY(home.isValid());
    const QString settings = home.filePath("kelvra.ini");
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("SDL_AUDIODRIVER", "dummy");
    env.insert("HOME", home.path());
    env.insert("XDG_CONFIG_HOME", home.filePath("config"));
    env.insert("XDG_STATE_HOME", home.filePath("state"));
    env.insert("KELVRA_SETTINGS", settings);
    QProcess kelvra;
    kelvra.setProcessEnvironment(env);
    kelvra.setProcessChannelMode(QProcess::ForwardedChannels);
    kelvra.start(KELVRA_TEST_BIN_DIR "/kelvra",
                 missingFile ? QStringList{home.filePath("missing.BrL")} : QStringList{});
    QVERIFY(kelvra.waitForStarted());
    auto stop = qScopeGuard([&] {  // a failed check leaves no program behind
      kelvra.kill();
      kelvra.waitForFinished();
    });
    // The handlers are installed before the window is made, and a signal that comes before
    // the event loop runs waits in the pipe; so once they are there, the signal may go.
    QTRY_VERIFY_WITH_TIMEOUT(Catches(kelvra.processId(), signal), 30000);
    QVERIFY(!QFile::exists(settings));
    ::kill(pid_t(kelvra.processId()), signal);
    QVERIFY(kelvra.waitForFinished(2000));
    QCOMPARE(kelvra.exitStatus(), QProcess::NormalExit);
    QCOMPARE(kelvra.exitCode(), 0);
    QVERIFY(QFile::exists(settings));
  }

  void answersItsOptions() {
    for (auto [option, code, text] : {std::tuple{"--help", 0, "[FILE...]"},
                                      {"--version", 0, "Kelvra " KELVRA_VERSION},
                                      {"--bogus", 1, "Unknown option 'bogus'"}}) {
      QProcess kelvra;
      kelvra.start(KELVRA_TEST_BIN_DIR "/kelvra", {option});
      QVERIFY(kelvra.waitForFinished(30000));
      const QString said = kelvra.readAllStandardOutput() + kelvra.readAllStandardError();
      QVERIFY2(kelvra.exitCode() == code && said.contains(text), qPrintable(said));
    }
    // Without a display the same answers, and a message instead of the window system's abort.
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* variable : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
      env.remove(variable);
    for (auto [options, code, text] :
         {std::tuple{QStringList{}, 1, "no display to show the window on"},
          {QStringList{"Levels.BrL"}, 1, "no display to show the window on"},
          {QStringList{"--bogus"}, 1, "Unknown option 'bogus'"},
          {QStringList{"--version"}, 0, "Kelvra " KELVRA_VERSION}}) {
      QProcess kelvra;
      kelvra.setProcessEnvironment(env);
      kelvra.start(KELVRA_TEST_BIN_DIR "/kelvra", options);
      QVERIFY(kelvra.waitForFinished(30000));
      const QString said = kelvra.readAllStandardOutput() + kelvra.readAllStandardError();
      QCOMPARE(kelvra.exitStatus(), QProcess::NormalExit);
      QVERIFY2(kelvra.exitCode() == code && said.contains(text), qPrintable(said));
    }
  }
};

QTEST_GUILESS_MAIN(SignalsTest)
#include "SignalsTest.moc"
