// The game information window: its duration and date formats, the fields of each kind,
// the description's encodings and the stored position.
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QTimer>
#include <QtTest>
#include <cmath>
#include <cstring>
#include <limits>

#include "common/Com.h"
#include "common/Settings.h"
#include "dialogs/InfoWindow.h"

using namespace kelvra;

class InfoWindowTest : public QObject {
  Q_OBJECT

  static QString Short(QDate date, QTime time) {
    return QLocale::system().toString(QDateTime(date, time), QLocale::ShortFormat);
  }

 private slots:
  void init() {
    ResetCom();
    gOptions = TOptions{};
  }

  void durations_data() {
    QTest::addColumn<qint64>("ms");
    QTest::addColumn<QString>("text");
    QTest::newRow("under a second") << qint64(999) << "0:00:00";
    QTest::newRow("h m s") << qint64(3723000) << "1:02:03";
    QTest::newRow("a day and more") << qint64(100LL * 3600000 + 59 * 60000 + 59999) << "100:59:59";
    QTest::newRow("negative") << qint64(-61000) << "-0:01:01";
    QTest::newRow("largest") << std::numeric_limits<qint64>::max() << "2562047788015:12:55";
    QTest::newRow("smallest") << std::numeric_limits<qint64>::min() << "-2562047788015:12:55";
  }
  void durations() {
    QFETCH(qint64, ms);
    QFETCH(QString, text);
    QCOMPARE(InfoDuration(ms), text);
  }

  void datesInDaysSince1899() {
    // 45658 is 1 January 2025.
    QCOMPARE(InfoDateTime(45658.0), Short(QDate(2025, 1, 1), QTime(0, 0)));
    QCOMPARE(InfoDateTime(0.0), Short(QDate(1899, 12, 30), QTime(0, 0)));
    // Before 1899 the fraction is still the time of day.
    QCOMPARE(InfoDateTime(-1.25), Short(QDate(1899, 12, 29), QTime(6, 0)));
    // A time within half a millisecond of midnight stays on its day.
    QCOMPARE(InfoDateTime(45658.9999999999), Short(QDate(2025, 1, 1), QTime(23, 59, 59, 999)));
    // Damaged headers show nothing.
    QCOMPARE(InfoDateTime(std::nan("")), QString());
    QCOMPARE(InfoDateTime(std::numeric_limits<double>::infinity()), QString());
    QCOMPARE(InfoDateTime(-1e9), QString());
  }

  void fieldsOfEachKind_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("game");
    QTest::addColumn<QString>("build");
    QTest::newRow("Brickfall") << 0 << "Brickfall 1.3"
                               << "04/1999-02/2000";
    QTest::newRow("Monsters") << 1 << "Monsters 4.0"
                              << "01/1997-02/2000";
    QTest::newRow("Burrower") << 2 << "Burrower 2.0"
                              << "06/1997-02/2000";
  }
  void fieldsOfEachKind() {
    QFETCH(int, kind);
    QFETCH(QString, game);
    QFETCH(QString, build);
    gCom.kind = uint8_t(kind);
    TLevelSetHeader& h = gCom.k[kind].header;
    h.version = 4;
    h.editingTime = 3723000;
    h.saveCounter = 17;
    h.lastSave = 45658.5;
    SetShortString(h.description, sizeof h.description, "Deep caves");

    TfInfo info;
    info.Fill();
    QCOMPARE(info.windowTitle(), QStringLiteral("Game Info"));
    QCOMPARE(info.gameLabel()->text(), game);
    QCOMPARE(info.buildLabel()->text(), build);
    QCOMPARE(info.versionLabel()->text(), QStringLiteral("4"));
    QCOMPARE(info.workTimeLabel()->text(), QStringLiteral("1:02:03"));
    QCOMPARE(info.saveCountLabel()->text(), QStringLiteral("17"));
    QCOMPARE(info.modifiedLabel()->text(), Short(QDate(2025, 1, 1), QTime(12, 0)));
    QCOMPARE(info.descriptionEdit()->text(), QStringLiteral("Deep caves"));
    QVERIFY(info.descriptionEdit()->isReadOnly());
  }

  void descriptionInUtf8OrLatin1() {
    TLevelSetHeader& h = gCom.k[0].header;
    TfInfo info;
    SetShortString(h.description, sizeof h.description, "Caf\xC3\xA9");
    info.Fill(0);
    QCOMPARE(info.descriptionEdit()->text(), QStringLiteral("Caf\u00E9"));
    SetShortString(h.description, sizeof h.description, "Caf\xE9");
    info.Fill(0);
    QCOMPARE(info.descriptionEdit()->text(), QStringLiteral("Caf\u00E9"));
    h.description[0] = 200;  // a length byte beyond the field
    info.Fill(0);
    QVERIFY(info.descriptionEdit()->text().size() <= 63);
  }

  void positionIsReadAndStoredUnderItsKeys() {
    gOptions.gameInfoLeft = 30;
    gOptions.gameInfoTop = 40;
    TfInfo info;
    QCOMPARE(info.pos(), QPoint(30, 40));
    info.show();
    info.move(70, 80);
    info.reject();
    QCOMPARE(gOptions.gameInfoLeft, 70);
    QCOMPARE(gOptions.gameInfoTop, 80);
  }

  void showGameInfoIsModalAndKeepsItsWindow() {
    QWidget parent;
    gCom.kind = 2;
    QString shown;
    auto closeWhenUp = [&shown] {
      QTimer::singleShot(10, [&shown] {
        auto* info = qobject_cast<TfInfo*>(QApplication::activeModalWidget());
        if (!info) {
          for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* t = qobject_cast<TfInfo*>(w); t && t->isVisible()) info = t;
        }
        if (!info) return;
        shown = info->gameLabel()->text();
        info->accept();
      });
    };
    closeWhenUp();
    ShowGameInfo(&parent);
    QCOMPARE(shown, QStringLiteral("Burrower 2.0"));
    gCom.kind = 0;
    closeWhenUp();
    ShowGameInfo(&parent);
    QCOMPARE(shown, QStringLiteral("Brickfall 1.3"));
    QCOMPARE(parent.findChildren<TfInfo*>().size(), 1);
  }
};

QTEST_MAIN(InfoWindowTest)
#include "InfoWindowTest.moc"
