// The about box's run-statistics log: runs counted, run time summed across runs, damaged
// values read as a fresh log, and the text the box shows.
#include <QtTest>

#include "TestUtil.h"
#include "dialogs/AboutBox.h"
#include "shell/KIniFile.h"

using namespace kelvra;

class AboutBoxTest : public QObject {
  Q_OBJECT

 private slots:
  void runsAndRunTimeAddUpOverRuns() {
    test::TempDir dir;
    const std::string file = dir.File("Kelvra.ini");
    {
      TKIniFile ini(file);
      StartRunStatistics(ini, 1000, "2025-01-01 10:00:00");
      QCOMPARE(CurrentRunStatistics(61000).runTimeMs, int64_t(60000));
      FinishRunStatistics(ini, 91000, "2025-01-01 10:01:30");
    }
    {
      TKIniFile ini(file);
      StartRunStatistics(ini, 5, "2025-01-02 09:00:00");
      const TRunStatistics s = CurrentRunStatistics(10005);
      QCOMPARE(s.runs, 2);
      QCOMPARE(s.runTimeMs, int64_t(100000));
      QCOMPARE(s.lastStart, std::string("2025-01-02 09:00:00"));
      QCOMPARE(s.lastFinish, std::string("2025-01-01 10:01:30"));
      FinishRunStatistics(ini, 2005, "2025-01-02 09:00:02");
      FinishRunStatistics(ini, 9999, "later");  // only once per run
    }
    TKIniFile ini(file);
    QCOMPARE(ini.Int64("Statistics", "RunTime", false, -1), int64_t(92000));
    QCOMPARE(ini.Str("Statistics", "LastFinish", false, ""), std::string("2025-01-02 09:00:02"));
  }

  void damagedValuesStartAfreshLog() {
    test::TempDir dir;
    test::WriteText(dir.File("Kelvra.ini"),
                    "[Statistics]\nRunCount=many\nRunTime=-50\nLastFinish=x\n");
    TKIniFile ini(dir.File("Kelvra.ini"));
    StartRunStatistics(ini, 0, "now");
    const TRunStatistics s = CurrentRunStatistics(0);
    QCOMPARE(s.runs, 1);
    QCOMPARE(s.runTimeMs, int64_t(0));
    FinishRunStatistics(ini, 0, "now");
  }

  void textNamesTheProgramVersionAndLog() {
    TRunStatistics s;
    s.runs = 3;
    s.runTimeMs = 3723000;
    s.lastStart = "<today>";
    const QString text = AboutText(s);
    QVERIFY(text.contains(QStringLiteral("Kelvra")));
    QVERIFY(text.contains(QStringLiteral(KELVRA_VERSION)));
    QVERIFY(text.contains(QStringLiteral("Runs: 3")));
    QVERIFY(text.contains(QStringLiteral("1:02:03")));
    QVERIFY(text.contains(QStringLiteral("&lt;today&gt;")));
    QVERIFY(!AboutText(TRunStatistics{}).contains(QStringLiteral("Runs")));
  }
};

QTEST_MAIN(AboutBoxTest)
#include "AboutBoxTest.moc"
