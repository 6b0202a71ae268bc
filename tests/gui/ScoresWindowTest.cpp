// The high-score window offscreen: the grid's cells and row colours for a table, the caption,
// the stored window position, and the name dialog's limit and "Default" choice.
#include <QApplication>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <functional>

#include "common/Com.h"
#include "common/Scores.h"
#include "common/Settings.h"
#include "dialogs/ScoresWindow.h"

using namespace kelvra;

namespace {

// Runs `act` on the active modal dialog once it is up; gives up after about two seconds.
void WhenModal(std::function<void(QDialog*)> act, int triesLeft = 400) {
  QTimer::singleShot(5, [act, triesLeft] {
    auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (d && d->isVisible())
      act(d);
    else if (triesLeft > 0)
      WhenModal(act, triesLeft - 1);
  });
}

TScoreTable SampleTable() {
  TScoreTable t{};
  const char* names[] = {"Ann", "Bob", "Cy"};
  const uint32_t scores[] = {1234567, 5000, 42};
  for (int i = 0; i < 3; ++i) {
    t.entry[i].score = scores[i];
    t.entry[i].levelsTime = 3723000;
    t.entry[i].date = 46000.5;
    SetShortString(t.entry[i].name, kScoreNameField, names[i]);
  }
  return t;
}

// True when some pixel inside `area` of `image` is close to `colour`.
bool HasColour(const QImage& image, QRect area, QColor colour) {
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x) {
      QColor c = image.pixelColor(x, y);
      if (std::abs(c.red() - colour.red()) + std::abs(c.green() - colour.green()) +
              std::abs(c.blue() - colour.blue()) <
          40)
        return true;
    }
  return false;
}

}  // namespace

class ScoresWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    ResetCom();
    gOptions = TOptions{};
    gScores = TScores{};
  }

  void gridShowsRowsAndColumns() {
    TfScores w;
    w.Refresh(SampleTable(), "/some/folder/Default.BrL");
    QCOMPARE(w.windowTitle(), QStringLiteral("High Scores - Default.BrL"));
    TScoresGrid* g = w.grid();
    QCOMPARE(g->CellText(0, 0), QStringLiteral("Score"));
    QCOMPARE(g->CellText(0, 1), QStringLiteral("Player"));
    QCOMPARE(g->CellText(0, 2), QStringLiteral("Date"));
    QCOMPARE(g->CellText(0, 3), QStringLiteral("Levels Time"));
    QCOMPARE(g->CellText(1, 0), QStringLiteral("1,234,567"));
    QCOMPARE(g->CellText(1, 1), QStringLiteral("Ann"));
    QCOMPARE(g->CellText(1, 2), QStringLiteral("2025-12-09 12:00:00"));
    QCOMPARE(g->CellText(1, 3), QStringLiteral("1:02:03"));
    QCOMPARE(g->CellText(2, 1), QStringLiteral("Bob"));
    QCOMPARE(g->CellText(3, 0), QStringLiteral("42"));
    for (int row = 4; row < TScoresGrid::kRows; ++row)
      for (int c = 0; c < TScoresGrid::kColumns; ++c) QVERIFY(g->CellText(row, c).isEmpty());

    // Rows take their colours from the wheel: red, orange, then yellow.
    QCOMPARE(g->RowColour(1), QColor(255, 0, 0));
    QCOMPARE(g->RowColour(2), QColor(255, 128, 0));
    QCOMPARE(g->RowColour(3), QColor(254, 255, 0));

    // The painted grid: each entry's text appears in its colour within its own row band,
    // nothing is drawn in the bands of empty entries.
    QImage image = g->grab().toImage();
    QVERIFY(image.width() >= TScoresGrid::kColumnX[TScoresGrid::kColumns]);
    for (int row = 1; row <= 3; ++row) {
      QRect band(2, row * TScoresGrid::kRowHeight + 2, 480, TScoresGrid::kRowHeight - 3);
      QVERIFY2(HasColour(image, band, g->RowColour(row)), qPrintable(QString::number(row)));
      QVERIFY(!HasColour(image, band, g->RowColour(row == 1 ? 2 : 1)));
    }
    QRect empty(2, 4 * TScoresGrid::kRowHeight + 2, 480, TScoresGrid::kRowHeight - 3);
    QVERIFY(!HasColour(image, empty, g->RowColour(4)));
    // Column separators: the dark line of x = 96 runs through every row.
    QColor line = image.pixelColor(96, 5 * TScoresGrid::kRowHeight + 10);
    QVERIFY(line.red() < 40 && line.green() < 40 && line.blue() < 40);
  }

  void damagedNamesStillShow() {
    TScoreTable t{};
    t.entry[0].score = 7;
    t.entry[0].date = std::numeric_limits<double>::quiet_NaN();
    const char latin1[] = "J\xF6rg";  // not UTF-8
    SetShortString(t.entry[0].name, kScoreNameField, latin1);
    TfScores w;
    w.Refresh(t, "x.BuL");
    QCOMPARE(w.grid()->CellText(1, 1), QString::fromUtf8("J\xC3\xB6rg"));
    QCOMPARE(w.grid()->CellText(1, 2), QString());
  }

  void positionIsStoredAndRestored() {
    gOptions.scoresLeft = 120;
    gOptions.scoresTop = 80;
    gCom.kind = gkBrickfall;
    Cur().fileName = "/levels/Mine.BrL";
    gScores.table[gkBrickfall] = SampleTable();

    QString title;
    QString firstName;
    QPoint shownAt;
    WhenModal([&](QDialog* d) {
      auto* w = qobject_cast<TfScores*>(d);
      QVERIFY(w);
      title = w->windowTitle();
      firstName = w->grid()->CellText(1, 1);
      shownAt = w->pos();
      w->move(150, 95);
      w->accept();
    });
    QCOMPARE(ShowScoresWindow(nullptr), int(QDialog::Accepted));
    QCOMPARE(title, QStringLiteral("High Scores - Mine.BrL"));
    QCOMPARE(firstName, QStringLiteral("Ann"));
    QCOMPARE(shownAt, QPoint(120, 80));
    QCOMPARE(gOptions.scoresLeft, 150);
    QCOMPARE(gOptions.scoresTop, 95);

    // The window is kept: shown again for another kind's table, it is refreshed.
    TfScores* first = ScoresWindow();
    gCom.kind = gkBurrower;
    Cur().fileName = "/levels/Other.BuL";
    QString secondTitle;
    QString secondName;
    WhenModal([&](QDialog* d) {
      secondTitle = d->windowTitle();
      secondName = static_cast<TfScores*>(d)->grid()->CellText(1, 1);
      d->reject();
    });
    QCOMPARE(ShowScoresWindow(nullptr), int(QDialog::Rejected));
    QCOMPARE(ScoresWindow(), first);
    QCOMPARE(secondTitle, QStringLiteral("High Scores - Other.BuL"));
    QVERIFY(secondName.isEmpty());
    delete first;
  }

  void positionOffEveryScreenIsBroughtBack() {
    gOptions.scoresLeft = 50000;
    gOptions.scoresTop = -40000;
    TfScores w;
    QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    QVERIFY(area.contains(w.pos()));
  }

  void nameDialogLimitsAndDefaults() {
    bool limited = false;
    WhenModal([&](QDialog* d) {
      auto* edit = d->findChild<QLineEdit*>(QStringLiteral("nameEdit"));
      QVERIFY(edit);
      QCOMPARE(d->windowTitle(), QStringLiteral("Enter Your Name"));
      QCOMPARE(edit->text(), QStringLiteral("Ann"));
      edit->clear();
      QTest::keyClicks(edit, QStringLiteral("abcdefghijklmnopqrstuvwxyz"));
      limited = edit->text() == QStringLiteral("abcdefghijklmno");
      QTest::keyClick(edit, Qt::Key_Return);
    });
    std::string name = "Ann";
    QVERIFY(RunNameDialog(nullptr, "Enter Your Name", "Name:", name, "Unknown", 15));
    QVERIFY(limited);
    QCOMPARE(name, std::string("abcdefghijklmno"));

    WhenModal([](QDialog* d) {
      d->findChild<QPushButton*>(QStringLiteral("defaultButton"))->click();
      d->accept();
    });
    QVERIFY(RunNameDialog(nullptr, "Enter Your Name", "Name:", name, "Unknown", 15));
    QCOMPARE(name, std::string("Unknown"));

    WhenModal([](QDialog* d) { QTest::keyClick(d, Qt::Key_Escape); });
    name = "Kept";
    QVERIFY(!RunNameDialog(nullptr, "Enter Your Name", "Name:", name, "Unknown", 15));
    QCOMPARE(name, std::string("Kept"));
  }
};

QTEST_MAIN(ScoresWindowTest)
#include "ScoresWindowTest.moc"
