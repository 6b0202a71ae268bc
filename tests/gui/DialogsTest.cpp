// The dialogs driven through their controls: the number and time dialogs (typed text, the
// jump and spin buttons at the limits, the modal entries, the modeless callback), the file
// error window (history, the choice of each key and button, another file), the game
// information and about boxes, and the high-score window with its name dialog.
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QSlider>
#include <QToolButton>
#include <QtTest>
#include <cmath>
#include <limits>

#include "GuiTestUtil.h"
#include "TestUtil.h"
#include "base/IOError.h"
#include "common/Com.h"
#include "common/Scores.h"
#include "common/Settings.h"
#include "dialogs/AboutBox.h"
#include "dialogs/GetIntDialog.h"
#include "dialogs/GetTimeDialog.h"
#include "dialogs/IOErrorDialog.h"
#include "dialogs/InfoWindow.h"
#include "dialogs/ScoresWindow.h"
#include "shell/QtPlatform.h"

using namespace kelvra;
using test::OnDialog;
using test::WhenShown;

namespace {

// Replaces the text as a user would: select all, then type.
void Type(QLineEdit* edit, const QString& text) {
  edit->selectAll();
  QTest::keyClick(edit, Qt::Key_Backspace);
  QTest::keyClicks(edit, text);
}

// The enabled state of min, cur, def, max, spin up, spin down, as a string of 0 and 1.
QString States(TfGetInt& d) {
  QString s;
  for (QWidget* w : {(QWidget*)d.minButton(), (QWidget*)d.curButton(), (QWidget*)d.defButton(),
                     (QWidget*)d.maxButton(), (QWidget*)d.spinButton()->upButton(),
                     (QWidget*)d.spinButton()->downButton()})
    s += w->isEnabled() ? '1' : '0';
  return s;
}

QWidget* Focus(QWidget* dialog) {
  QWidget* f = dialog->focusWidget();
  return f ? f : dialog;
}

TScoreTable SampleTable() {
  TScoreTable t{};
  const char* names[] = {"Ann", "Bob", "J\xF6rg"};  // the last in Latin-1, not UTF-8
  const uint32_t scores[] = {1234567, 5000, 42};
  for (int i = 0; i < 3; ++i) {
    t.entry[i].score = scores[i];
    t.entry[i].levelsTime = 3723000;
    t.entry[i].date = 46000.5;
    SetShortString(t.entry[i].name, kScoreNameField, names[i]);
  }
  t.entry[2].date = std::numeric_limits<double>::quiet_NaN();  // damaged: shown empty
  return t;
}

QString Short(QDate date, QTime time) {
  return QLocale::system().toString(QDateTime(date, time), QLocale::ShortFormat);
}

}  // namespace

class DialogsTest : public QObject {
  Q_OBJECT

  QtPlatform platform_;

 private slots:
  void initTestCase() { SetPlatform(&platform_); }
  void cleanupTestCase() { SetPlatform(nullptr); }
  void init() {
    ResetCom();
    ResetIOErrors();
    gOptions = TOptions{};
    gScores = TScores{};
    test::gLeftOpen = false;
  }

  void cleanup() { QVERIFY2(!test::gLeftOpen, "the dialog stayed open"); }

  // "Score Monster": 0..1000, default 100; bad text sets the default and says why.
  void getIntTypedTextSetsTheValue_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("error");
    QTest::newRow("keyword") << "max" << 1000 << "";
    QTest::newRow("out of range") << "5000" << 100 << "Value 5000 out of range 0..1000";
    QTest::newRow("division by zero") << "1/0" << 100 << "Division by zero";
  }
  void getIntTypedTextSetsTheValue() {
    QFETCH(QString, text);
    QFETCH(int, value);
    QFETCH(QString, error);
    TfGetInt d;
    d.Setup(QStringLiteral("Score Monster"), 250, 0, 1000, 100, nullptr);
    Type(d.textEdit(), text);
    QCOMPARE(d.Value(), value);
    QCOMPARE(d.errorLabel()->text(), error);
    QCOMPARE(d.valueLabel()->text(), QString::number(value));
    QCOMPARE(d.textEdit()->text(), text);  // left as typed
  }

  void getIntJumpAndSpinButtonsAreEnabledOnlyWhereTheyChangeTheValue() {
    TfGetInt d;
    d.Setup(QStringLiteral("Grid Size"), 1, 1, 64, 8, nullptr);
    QCOMPARE(States(d), "001110");          // at the minimum, which is also the value at opening
    d.spinButton()->downButton()->click();  // refused even if clicked
    QCOMPARE(d.Value(), 1);
    d.spinButton()->upButton()->click();
    QCOMPARE(d.Value(), 2);
    QCOMPARE(States(d), "111111");
    d.defButton()->click();
    QCOMPARE(d.Value(), 8);
    d.maxButton()->click();
    QCOMPARE(d.Value(), 64);
    QCOMPARE(States(d), "111001");
    d.curButton()->click();
    QCOMPARE(d.Value(), 1);
    // Up and Down in the text field step too, within the limits.
    QTest::keyClick(d.textEdit(), Qt::Key_Down);
    QCOMPARE(d.Value(), 1);
    QTest::keyClick(d.textEdit(), Qt::Key_Up);
    QCOMPARE(d.textEdit()->text(), QStringLiteral("2"));
  }

  void getIntRangeLimits() {
    TfGetInt d;
    d.Setup(QStringLiteral("Score Monster"), 5000, 0, 1000, 100, nullptr);
    QCOMPARE(d.Value(), 1000);  // the value at opening limited to the range
    // A maximum below the minimum is raised to it; the full 32-bit range does not overflow.
    d.Setup(QStringLiteral("x"), 3, 10, 5, 0, nullptr);
    QCOMPARE(d.Value(), 10);
    d.Setup(QStringLiteral("x"), 0, INT32_MIN, INT32_MAX, 0, nullptr);
    QCOMPARE(d.slider()->tickInterval(), int((int64_t(INT32_MAX) - INT32_MIN + 19) / 20));
    Type(d.textEdit(), QStringLiteral("max"));
    QCOMPARE(d.Value(), INT32_MAX);
  }

  void getIntModalOkWritesTheValueAndCancelLeavesIt() {
    int32_t value = 90;
    OnDialog<TfGetInt>([](TfGetInt* d) {
      Type(d->textEdit(), QStringLiteral("50+25"));
      QTest::keyClick(d->textEdit(), Qt::Key_Return);  // OK is the default button
    });
    QVERIFY(platform_.NumberDialog("JPEG Quality", value, 1, 100, 90));
    QCOMPARE(value, 75);
    TfGetInt* kept = GetIntWindow();
    OnDialog<TfGetInt>([](TfGetInt* d) {
      d->maxButton()->click();
      d->cancelButton()->click();
    });
    QVERIFY(!GetInt(QStringLiteral("Score Monster"), value, 0, nullptr, 1000, 100));
    QCOMPARE(value, 75);
    QCOMPARE(GetIntWindow(), kept);  // the window of the first use is reused
    int32_t ms = 5000;
    OnDialog<TfGetTime>([](TfGetTime* d) {
      d->maxButton()->click();
      d->okButton()->click();
    });
    QVERIFY(platform_.TimeDialog("Bonus Time...", ms, 1000, 60000, 10000));
    QCOMPARE(ms, 60000);
  }

  void getIntModelessReportsEveryChangeAndCancelRestores() {
    std::vector<int32_t> reports;
    auto report = [&reports](int32_t v) { reports.push_back(v); };
    int32_t value = 30;
    QVERIFY(GetInt(QStringLiteral("Max Wind"), value, 0, report, 100, 10));
    TfGetInt* d = GetIntWindow();
    QVERIFY(d && d->isVisible() && !d->isModal());
    QVERIFY(reports.empty());  // opening reports nothing
    d->spinButton()->upButton()->click();
    d->slider()->setValue(70);
    Type(d->textEdit(), QStringLiteral("def"));
    d->defButton()->click();  // disabled: no change, no report
    d->applyButton()->click();
    QCOMPARE(reports, (std::vector<int32_t>{31, 70, 10, 10}));
    QCOMPARE(value, 30);  // the caller hears through the callback only

    // A modal request meanwhile gets its own window and leaves this one alone.
    TfGetInt* seen = nullptr;
    OnDialog<TfGetInt>([&seen](TfGetInt* modal) {
      seen = modal;
      modal->maxButton()->click();
      modal->okButton()->click();
    });
    int32_t other = 1;
    QVERIFY(GetInt(QStringLiteral("Modal"), other, 0, nullptr, 50, 1));
    QCOMPARE(other, 50);
    QVERIFY(seen && seen != d);
    QCOMPARE(reports.size(), 4u);

    d->cancelButton()->click();
    QVERIFY(!d->isVisible());
    QCOMPARE(reports.back(), 30);  // the value at opening again
    // Cancel with the value unchanged reports nothing.
    QVERIFY(GetInt(QStringLiteral("Max Wind"), value, 0, report, 100, 10));
    GetIntWindow()->cancelButton()->click();
    QCOMPARE(reports.size(), 5u);
  }

  void getTimeSlidersStayWithinTheRange() {
    TfGetTime d;
    d.Setup(QStringLiteral("Keyboard Delay..."), 5500, 100, 10000, 200);
    QCOMPARE(d.textEdit()->text(), QStringLiteral("0:00:05.500"));
    QCOMPARE(d.slider(TfGetTime::tpSeconds)->maximum(), 10);  // narrowed to the range
    d.slider(TfGetTime::tpSeconds)->setValue(10);             // 10.5 s: above the maximum
    QCOMPARE(d.Value(), 10000u);
    d.Setup(QStringLiteral("x"), 700, 100, 10000, 200);
    d.spinButton(TfGetTime::tpSeconds)->downButton()->click();  // below 0, then the minimum
    QCOMPARE(d.Value(), 100u);
    // No overflow past 2^32 in the sum of hours, minutes, seconds and milliseconds.
    d.Setup(QStringLiteral("x"), 0, 0, UINT32_MAX, 0);
    d.slider(TfGetTime::tpHours)->setValue(d.slider(TfGetTime::tpHours)->maximum());
    d.slider(TfGetTime::tpMillis)->setValue(1000);
    d.slider(TfGetTime::tpMinutes)->setValue(59);
    QCOMPARE(d.Value(), UINT32_MAX);
  }

  void ioErrorThirdReadsThreeOfThreeAndPagesBack() {
    for (int i = 0; i < 2; ++i)
      OnDialog<TfIOError>([](TfIOError* d) { d->ignoreButton()->click(); });
    ErrorMsg("first message");
    FileError("b.BrL", "second message");
    QStringList seen;
    bool refusedMove = true;
    OnDialog<TfIOError>([&](TfIOError* d) {
      for (int i = 0; i < 3; ++i) {
        seen << d->PositionText() << d->MessageText();
        d->upButton()->click();  // refused at the first
      }
      refusedMove = d->ShowEntry(-1) || d->ShowEntry(3);
      seen << d->PositionText();
      d->ignoreButton()->click();
    });
    IOError("c.BrL", EIO);
    QCOMPARE(seen.mid(2),
             QStringList({"2 / 3", "second message\nb.BrL", "1 / 3", "first message", "1 / 3"}));
    QCOMPARE(seen.first(), QStringLiteral("3 / 3"));  // the newest first
    QVERIFY(!refusedMove);
  }

  void ioErrorEachKeyAndButtonGivesItsChoice_data() {
    QTest::addColumn<QString>("press");  // a key, "window" for the close box, or a button
    QTest::addColumn<bool>("shift");
    QTest::addColumn<bool>("retry");
    QTest::addColumn<int>("choice");
    using C = IOErrorChoice;
    QTest::newRow("Enter without retry") << "Return" << false << false << int(C::Ignore);
    QTest::newRow("Enter with retry") << "Return" << false << true << int(C::Retry);
    QTest::newRow("Escape") << "Escape" << false << true << int(C::Ignore);
    QTest::newRow("close box") << "window" << false << true << int(C::Ignore);
    QTest::newRow("Shift Ignore All") << "Ignore All" << true << false << int(C::IgnoreReallyAll);
    QTest::newRow("Ignore All, no Shift left from before")
        << "Ignore All" << false << false << int(C::IgnoreAll);
    QTest::newRow("Shift Close") << "Close" << true << false << int(C::Terminate);
  }
  void ioErrorEachKeyAndButtonGivesItsChoice() {
    QFETCH(QString, press);
    QFETCH(bool, shift);
    QFETCH(bool, retry);
    QFETCH(int, choice);
    bool retryEnabled = !retry;
    OnDialog<TfIOError>([&](TfIOError* d) {
      retryEnabled = d->retryButton()->isEnabled();
      if (shift) QTest::keyPress(Focus(d), Qt::Key_Shift);
      if (press == "Return" || press == "Escape")
        QTest::keyClick(Focus(d), press == "Return" ? Qt::Key_Return : Qt::Key_Escape);
      else if (press == "window")
        d->close();
      else
        (press == "Close" ? d->closeButton() : d->ignoreAllButton())->click();
    });
    IOErrorRequest r;
    r.kind = 1;
    r.caption = "File Error";
    r.text = "text";
    r.retryOffered = r.fileButton = retry;
    IOErrorReply reply = RunIOErrorDialog(r, nullptr);
    QCOMPARE(retryEnabled, retry);
    QCOMPARE(int(reply.choice), choice);
    QVERIFY(!reply.chosenFile);
  }

  void ioErrorFileButtonRetriesWithTheChosenFile() {
    test::TempDir dir;
    const std::string chosen = dir.File("new.BrL");
    test::WriteText(chosen, "level set");
    QStringList filters;
    OnDialog<TfIOError>([&](TfIOError* d) {
      test::WhenShown<QFileDialog>([&](QFileDialog* f) {
        filters = f->nameFilters();
        auto* edit = f->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        if (!edit) return f->reject();
        edit->setText(QString::fromStdString(chosen));
        QTest::keyClick(edit, Qt::Key_Return);
      });
      d->fileButton()->click();
    });
    std::string name = dir.File("old.BrL");
    QVERIFY(FileErrorRetry(name, "Wrong magic"));
    QCOMPARE(filters, QStringList({"(*.BrL)", "Any file (*)"}));
    QCOMPARE(name, chosen);
  }

  void infoDurations_data() {
    QTest::addColumn<qint64>("ms");
    QTest::addColumn<QString>("text");
    QTest::newRow("under a second") << qint64(999) << "0:00:00";
    QTest::newRow("a day and more") << qint64(100LL * 3600000 + 59 * 60000 + 59999) << "100:59:59";
    QTest::newRow("negative") << qint64(-61000) << "-0:01:01";
    QTest::newRow("smallest") << std::numeric_limits<qint64>::min() << "-2562047788015:12:55";
  }
  void infoDurations() {
    QFETCH(qint64, ms);
    QFETCH(QString, text);
    QCOMPARE(InfoDuration(ms), text);
  }

  void infoDatesInDaysSince1899() {
    QCOMPARE(InfoDateTime(45658.0), Short(QDate(2025, 1, 1), QTime(0, 0)));
    QCOMPARE(InfoDateTime(0.0), Short(QDate(1899, 12, 30), QTime(0, 0)));
    // Before 1899 the fraction is still the time of day.
    QCOMPARE(InfoDateTime(-1.25), Short(QDate(1899, 12, 29), QTime(6, 0)));
    // A time within half a millisecond of midnight stays on its day.
    QCOMPARE(InfoDateTime(45658.9999999999), Short(QDate(2025, 1, 1), QTime(23, 59, 59, 999)));
    // Damaged headers show nothing.
    for (double bad : {std::nan(""), std::numeric_limits<double>::infinity(), -1e9})
      QCOMPARE(InfoDateTime(bad), QString());
  }

  void infoDescriptionInLatin1OrDamaged() {
    TLevelSetHeader& h = gCom.k[0].header;
    TfInfo info;
    SetShortString(h.description, sizeof h.description, "Caf\xE9");  // Latin-1, not UTF-8
    info.Fill(0);
    QCOMPARE(info.descriptionEdit()->text(), QStringLiteral("Caf\u00E9"));
    h.description[0] = 200;  // a length byte beyond the field
    info.Fill(0);
    QVERIFY(info.descriptionEdit()->text().size() <= 63);
  }

  void infoWindowFillsAndKeepsItsWindowAndPosition() {
    QWidget parent;
    gOptions.gameInfoLeft = 30;
    gOptions.gameInfoTop = 40;
    gCom.kind = gkBurrower;
    TLevelSetHeader& h = gCom.k[gkBurrower].header;
    h.version = 4;
    h.editingTime = 3723000;
    h.saveCounter = 17;
    h.lastSave = 45658.5;
    SetShortString(h.description, sizeof h.description, "Deep caves");
    QStringList shown;
    QPoint shownAt;
    test::WhenShown<TfInfo>([&](TfInfo* info) {
      for (QLabel* l : {info->gameLabel(), info->buildLabel(), info->versionLabel(),
                        info->workTimeLabel(), info->saveCountLabel(), info->modifiedLabel()})
        shown << l->text();
      shown << info->descriptionEdit()->text();
      shownAt = info->pos();
      info->move(70, 80);
      info->accept();
    });
    ShowGameInfo(&parent);
    gCom.kind = gkBrickfall;  // the same window, filled again
    test::WhenShown<TfInfo>([&](TfInfo* info) {
      shown << info->gameLabel()->text();
      info->accept();
    });
    ShowGameInfo(&parent);
    QCOMPARE(shown,
             QStringList({"Burrower 2.0", "06/1997-02/2000", "4", "1:02:03", "17",
                          Short(QDate(2025, 1, 1), QTime(12, 0)), "Deep caves", "Brickfall 1.3"}));
    QCOMPARE(parent.findChildren<TfInfo*>().size(), 1);
    QCOMPARE(shownAt, QPoint(30, 40));
    QCOMPARE(gOptions.gameInfoLeft, 70);
    QCOMPARE(gOptions.gameInfoTop, 80);
  }

  void aboutTextNamesTheProgramVersionAndLog() {
    TRunStatistics s;
    s.runs = 3;
    s.runTimeMs = 3723000;
    s.lastStart = "<today>";
    const QString text = AboutText(s);
    for (const char* piece : {"Kelvra", KELVRA_VERSION, "Runs: 3", "1:02:03", "&lt;today&gt;"})
      QVERIFY2(text.contains(QLatin1String(piece)), piece);
    QVERIFY(!AboutText(TRunStatistics{}).contains(QStringLiteral("Runs")));
  }

  void scoresGridShowsRowsAndColumns() {
    TfScores w;
    w.Refresh(SampleTable(), "/some/folder/Default.BrL");
    TScoresGrid* g = w.grid();
    const QStringList rows[] = {{"Score", "Player", "Date", "Levels Time"},
                                {"1,234,567", "Ann", "2025-12-09 12:00:00", "1:02:03"},
                                {"5,000", "Bob", "2025-12-09 12:00:00", "1:02:03"},
                                {"42", "J\u00F6rg", "", "1:02:03"},
                                {"", "", "", ""}};
    for (int row = 0; row < TScoresGrid::kRows; ++row)
      for (int c = 0; c < TScoresGrid::kColumns; ++c)
        QCOMPARE(g->CellText(row, c), rows[std::min(row, 4)][c]);

    // Rows take their colours from the wheel: red, orange, then yellow.
    QCOMPARE(g->RowColour(1), QColor(255, 0, 0));
    QCOMPARE(g->RowColour(2), QColor(255, 128, 0));
    QCOMPARE(g->RowColour(3), QColor(254, 255, 0));
  }

  void scoresWindowIsKeptRefreshedAndStoresItsPosition() {
    gOptions.scoresLeft = 120;
    gOptions.scoresTop = 80;
    gCom.kind = gkBrickfall;
    Cur().fileName = "/levels/Mine.BrL";
    gScores.table[gkBrickfall] = SampleTable();
    QStringList seen;
    QPoint shownAt;
    WhenShown<TfScores>([&](TfScores* w) {
      seen << w->windowTitle() << w->grid()->CellText(1, 1);
      shownAt = w->pos();
      w->move(150, 95);
      w->accept();
    });
    QCOMPARE(ShowScoresWindow(nullptr), int(QDialog::Accepted));
    QCOMPARE(shownAt, QPoint(120, 80));
    QCOMPARE(gOptions.scoresLeft, 150);
    QCOMPARE(gOptions.scoresTop, 95);

    // Shown again for another kind's table, the same window is refreshed.
    TfScores* first = ScoresWindow();
    gCom.kind = gkBurrower;
    Cur().fileName = "/levels/Other.BuL";
    WhenShown<TfScores>([&](TfScores* w) {
      seen << w->windowTitle() << w->grid()->CellText(1, 1);
      w->reject();
    });
    QCOMPARE(ShowScoresWindow(nullptr), int(QDialog::Rejected));
    QCOMPARE(ScoresWindow(), first);
    QCOMPARE(seen, QStringList({"High Scores - Mine.BrL", "Ann", "High Scores - Other.BuL", ""}));
    delete first;
  }

  void scoresNameDialogLimitsAndCancels() {
    WhenShown<QDialog>([](QDialog* d) {
      auto* edit = d->findChild<QLineEdit*>(QStringLiteral("nameEdit"));
      edit->clear();
      QTest::keyClicks(edit, QStringLiteral("abcdefghijklmnopqrstuvwxyz"));
      QTest::keyClick(edit, Qt::Key_Return);
    });
    std::string name = "Ann";
    QVERIFY(RunNameDialog(nullptr, "Enter Your Name", "Name:", name, "Unknown", 15));
    QCOMPARE(name, std::string("abcdefghijklmno"));

    WhenShown<QDialog>([](QDialog* d) { QTest::keyClick(d, Qt::Key_Escape); });
    name = "Kept";
    QVERIFY(!RunNameDialog(nullptr, "Enter Your Name", "Name:", name, "Unknown", 15));
    QCOMPARE(name, std::string("Kept"));
  }
};

QTEST_MAIN(DialogsTest)
#include "DialogsTest.moc"
