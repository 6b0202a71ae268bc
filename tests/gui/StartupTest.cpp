// Start-up as the user meets it: a level-set file of the command line that cannot be opened
// is named in the file error dialog; Ignore starts on the set used last, Close ends the
// program before its window shows (main() then exits with a failure status). And the
// program's own options: --help, --version and an unknown one.
#include <QProcess>
#include <QPushButton>
#include <QtTest>

#include "GuiTestUtil.h"
#include "TestUtil.h"
#include "base/IOError.h"
#include "base/Paths.h"
#include "common/Com.h"
#include "common/Kinds.h"
#include "common/Settings.h"
#include "dialogs/IOErrorDialog.h"
#include "shell/MainWindow.h"
#include "shell/QtPlatform.h"

using namespace kelvra;

class StartupTest : public QObject {
  Q_OBJECT

 private:
  test::TempDir dir_;
  QtPlatform platform_;

 private slots:
  void init() {
    ResetCom();
    ResetIOErrors();
    gOptions = TOptions{};
    gOptions.fullScreen = 0;
    gOptions.sounds = 0;  // no sound device on the test machine
    gOptions.music = 0;
    SetProgramDir(KELVRA_TEST_DATA_DIR);
    SetPlatform(&platform_);
  }
  void cleanup() { SetPlatform(nullptr); }

  void fileThatCannotBeOpened_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("close");
    for (bool close : {false, true}) {
      QTest::newRow(close ? "missing, Close" : "missing, Ignore") << "missing.BrL" << close;
      QTest::newRow(close ? "damaged, Close" : "damaged, Ignore") << "damaged.BuL" << close;
    }
  }
  void fileThatCannotBeOpened() {
    QFETCH(QString, name);
    QFETCH(bool, close);
    test::WriteText(dir_.File("damaged.BuL"), "GBuL");  // shorter than a header
    const QString file = QString::fromStdString(dir_.File(name.toStdString()));
    QString shown;
    test::OnDialog<TfIOError>([&](TfIOError* d) {
      shown = d->MessageText();
      (close ? d->closeButton() : d->ignoreButton())->click();
    });
    {
      TfMain window({file}, nullptr, &platform_);
      QVERIFY2(shown.contains(file), qPrintable(shown));
      QCOMPARE(platform_.ClosedBeforeShown(), close);
      QVERIFY(!test::gLeftOpen && !window.isVisible());
      // The file's kind is shown, with its set of the last run.
      const int kind = name.endsWith("BuL") ? gkBurrower : gkBrickfall;
      QCOMPARE(int(gCom.kind), kind);
      QCOMPARE(Cur().fileName, DefaultLevelsFile(kind));
      QCOMPARE(int(Cur().origin), int(loFile));
    }
  }

  void programOptions() {
    const struct {
      QString option;
      int code;
      QString text;
    } cases[] = {{"--help", 0, "[FILE...]"},
                 {"--version", 0, "Kelvra " KELVRA_VERSION},
                 {"--bogus", 1, "Unknown option 'bogus'"}};
    for (const auto& c : cases) {
      QProcess kelvra;
      kelvra.start(KELVRA_TEST_BIN_DIR "/kelvra", {c.option});
      QVERIFY(kelvra.waitForFinished(30000));
      const QString said = kelvra.readAllStandardOutput() + kelvra.readAllStandardError();
      QCOMPARE(kelvra.exitCode(), c.code);
      QVERIFY2(said.contains(c.text), qPrintable(c.option + ": " + said));
    }
  }
};

QTEST_MAIN(StartupTest)
#include "StartupTest.moc"
