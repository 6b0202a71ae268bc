// The text the about box shows.
#include <QtTest>

#include "dialogs/AboutBox.h"

using namespace kelvra;

class AboutBoxTest : public QObject {
  Q_OBJECT

 private slots:
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
