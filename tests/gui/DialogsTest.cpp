// The dialogs driven through their controls: the number and time dialogs (typed text, the
// range limits, bad text refused, the modal entries, the modeless callback), the file error
// window (the choices, another file, no quitting over the program's own files), the help
// window, game information, and the high-score window with its name dialog.
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QSlider>
#include <QTextBrowser>
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
#include "dialogs/HelpWindow.h"
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

// Pastes `bad` (at once: typing passes through its prefixes) and tries OK by Return and by
// a click (the focus leaves the text), notes what the window shows, then types `good` and
// clicks OK. "open|value|slider|message".
template <class Dialog>
QString RefuseThenMend(Dialog* d, QSlider* slider, const char* bad, const char* good) {
  d->textEdit()->selectAll();
  QTest::sendKeyEvent(QTest::Click, d->textEdit(), Qt::Key_unknown, bad, Qt::NoModifier);
  QTest::keyClick(d->textEdit(), Qt::Key_Return);
  QTest::mouseClick(d->okButton(), Qt::LeftButton);
  const QString seen = QStringLiteral("%1|%2|%3|%4")
                           .arg(int(d->isVisible()))
                           .arg(d->Value())
                           .arg(slider->value())
                           .arg(d->errorLabel()->text());
  Type(d->textEdit(), QString::fromLatin1(good));
  QTest::mouseClick(d->okButton(), Qt::LeftButton);
  return seen;
}

QWidget* Focus(QWidget* dialog) {
  QWidget* f = dialog->focusWidget();
  return f ? f : dialog;
}

TScoreTable SampleTable() {
  TScoreTable t{};
  const char* names[] = {"Ann", "J\xF6rg"};  // the last in Latin-1, not UTF-8
  const uint32_t scores[] = {1234567, 42};
  for (int i = 0; i < 2; ++i) {
    t.entry[i].score = scores[i];
    t.entry[i].levelsTime = 3723000;
    t.entry[i].date = 46000.5;
    SetShortString(t.entry[i].name, kScoreNameField, names[i]);
  }
  t.entry[1].date = std::numeric_limits<double>::quiet_NaN();  // damaged: shown empty
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

  // "Score Monster": 0..1000, default 100.
  void getIntTypedTextAndRangeLimits() {
    TfGetInt d;
    d.Setup(QStringLiteral("Score Monster"), 5000, 0, 1000, 100, nullptr);
    QCOMPARE(d.Value(), 1000);  // the value at opening limited to the range
    // A maximum below the minimum is raised to it; the full 32-bit range does not overflow.
    d.Setup(QStringLiteral("x"), 3, 10, 5, 0, nullptr);
    QCOMPARE(d.Value(), 10);
    d.Setup(QStringLiteral("x"), 0, INT32_MIN, INT32_MAX, 0, nullptr);
    Type(d.textEdit(), QStringLiteral("max"));
    QCOMPARE(d.Value(), INT32_MAX);
  }

  // Modal OK writes the value; the time dialog sums its parts without overflow.
  void getIntAndGetTimeModalOkWriteTheValue() {
    int32_t value = 90;
    OnDialog<TfGetInt>([](TfGetInt* d) {
      Type(d->textEdit(), QStringLiteral("50+25"));
      QTest::keyClick(d->textEdit(), Qt::Key_Return);  // OK is the default button
    });
    QVERIFY(platform_.NumberDialog("JPEG Quality", value, 1, 100, 90));
    QCOMPARE(value, 75);
    int32_t ms = 5000;
    OnDialog<TfGetTime>([](TfGetTime* d) {
      d->maxButton()->click();
      d->okButton()->click();
    });
    QVERIFY(platform_.TimeDialog("Bonus Time...", ms, 1000, 60000, 10000));
    QCOMPARE(ms, 60000);

    // No overflow past 2^32 in the sum of hours, minutes, seconds and milliseconds.
    TfGetTime d;
    d.Setup(QStringLiteral("Keyboard Delay..."), 0, 0, UINT32_MAX, 0);
    d.slider(TfGetTime::tpHours)->setValue(d.slider(TfGetTime::tpHours)->maximum());
    d.slider(TfGetTime::tpMillis)->setValue(1000);
    d.slider(TfGetTime::tpMinutes)->setValue(59);
    QCOMPARE(d.Value(), UINT32_MAX);
  }

  // Text out of range or no number at all keeps the dialog open with the reason, the value
  // and the slider where they were; OK stores nothing until the text is mended.
  void numberAndTimeDialogsRefuseBadTextAndStayOpen() {
    const struct {
      bool time;
      const char *bad, *good, *seen;  // seen: open, value, slider and message with the bad text
      int32_t stored;
    } cases[] = {{false, "5000", "750", "1|90|90|Value 5000 out of range 1..1000", 750},
                 {false, "abc", "max", "1|90|90|Invalid identifier 'abc'", 1000},
                 {true, "2:00", "0:45",
                  "1|5000|5|Value 0:02:00.000 out of range 0:00:01.000..0:01:00.000", 45000},
                 {true, "1:2x", "30",
                  "1|5000|5|Not a time; type H:MM:SS.DDD, M:SS, seconds, or "
                  "milliseconds with \"ms\"",
                  30000}};
    for (const auto& k : cases) {
      QString seen;
      int32_t value = k.time ? 5000 : 90;
      bool ok = false;
      if (k.time) {
        OnDialog<TfGetTime>([&](TfGetTime* d) {
          seen = RefuseThenMend(d, d->slider(TfGetTime::tpSeconds), k.bad, k.good);
        });
        ok = platform_.TimeDialog("Bonus Time...", value, 1000, 60000, 10000);
      } else {
        OnDialog<TfGetInt>(
            [&](TfGetInt* d) { seen = RefuseThenMend(d, d->slider(), k.bad, k.good); });
        ok = platform_.NumberDialog("Score Monster", value, 1, 1000, 100);
      }
      QCOMPARE(seen, QString::fromLatin1(k.seen));
      QVERIFY(ok);
      QCOMPARE(value, k.stored);
    }
  }

  void getIntModelessReportsEveryChangeAndCancelRestores() {
    std::vector<int32_t> reports;
    auto report = [&reports](int32_t v) { reports.push_back(v); };
    int32_t value = 30;
    QVERIFY(GetInt(QStringLiteral("Max Wind"), value, 0, report, 100, 10));
    TfGetInt* d = GetIntWindow();
    QVERIFY(d && d->isVisible() && !d->isModal());
    d->slider()->setValue(70);
    QCOMPARE(reports, (std::vector<int32_t>{70}));  // opening reported nothing
    d->cancelButton()->click();
    QCOMPARE(reports.back(), 30);  // the value at opening again
  }

  void ioErrorEachKeyAndButtonGivesItsChoice() {
    using C = IOErrorChoice;
    struct Case {
      const char* press;  // Return, "window" for the close box, or a button
      bool shift, retry;
      C choice;
      bool userFile = true;  // else the program's own (the manual): no quitting offered
    };
    const Case cases[] = {
        {"Return", false, false, C::Ignore},  {"Return", false, true, C::Retry},
        {"window", false, true, C::Ignore},   {"Ignore All", true, false, C::IgnoreReallyAll},
        {"Close", true, false, C::Terminate}, {"Return", true, false, C::Ignore, false}};
    for (const Case& k : cases) {
      const QString press = QLatin1String(k.press);
      bool retryEnabled = !k.retry;
      QString quit;
      OnDialog<TfIOError>([&](TfIOError* d) {
        retryEnabled = d->retryButton()->isEnabled();
        if (k.shift) QTest::keyPress(Focus(d), Qt::Key_Shift);
        quit = d->closeButton()->isVisible() ? d->closeButton()->text() : "none";
        if (press == "Return")
          QTest::keyClick(Focus(d), Qt::Key_Return);
        else if (press == "window")
          d->close();
        else
          (press == "Close" ? d->closeButton() : d->ignoreAllButton())->click();
      });
      IOErrorRequest r;
      r.kind = 1;
      r.caption = "File Error";
      r.text = "text";
      r.retryOffered = r.fileButton = k.retry;
      r.quitOffered = k.userFile;
      IOErrorReply reply = RunIOErrorDialog(r, nullptr);
      QCOMPARE(retryEnabled, k.retry);
      QCOMPARE(quit, !k.userFile ? "none" : k.shift ? "Terimante" : "&Quit Kelvra");
      QCOMPARE(int(reply.choice), int(k.choice));
      QVERIFY(!reply.chosenFile);
    }
  }

  // "Read Me" shows the manual in the program's own window: links are followed there and
  // Back returns; a second "Read Me" raises the same window.
  void helpWindowShowsTheManualWithLinksAndBack() {
    const QString manual = QStringLiteral(KELVRA_TEST_DATA_DIR "/ReadMe.htm");
    if (!QFileInfo::exists(manual)) QSKIP("the data tree (kelvra_content) is not built");
    QCOMPARE(platform_.ShowManual(manual.toStdString()), 0);
    TfHelp* help = HelpWindow();
    QVERIFY(help && help->isVisible() && !help->isModal() &&
            help->windowTitle().contains("User Manual"));
    QTextBrowser* b = help->browser();
    // Clicks the first link of the contents, where it is drawn.
    QTextCursor link = b->document()->find(QStringLiteral("The menus"));
    QVERIFY(link.charFormat().isAnchor());
    link.setPosition(link.selectionStart() + 2);  // inside the link's text
    QTest::mouseClick(b->viewport(), Qt::LeftButton, {}, b->cursorRect(link).center());
    QCOMPARE(b->source().fragment(), QStringLiteral("menus"));
    QTest::mouseClick(help->backButton(), Qt::LeftButton);
    QCOMPARE(b->source(), QUrl::fromLocalFile(manual));
    if (!qEnvironmentVariableIsEmpty("KELVRA_SCREENSHOTS"))
      help->grab().save(qEnvironmentVariable("KELVRA_SCREENSHOTS") + "/help-window.png");

    QCOMPARE(platform_.ShowManual(manual.toStdString()), 0);
    QCOMPARE(HelpWindow(), help);
    QCOMPARE(platform_.ShowManual("/nonexistent/ReadMe.htm"), ENOENT);
    QCOMPARE(HelpWindow(), help);
    delete help;
  }

  void ioErrorFileButtonRetriesWithTheChosenFile() {
    test::TempDir dir;
    const std::string chosen = dir.File("new.BrL");
    test::WriteText(chosen, "level set");
    OnDialog<TfIOError>([&](TfIOError* d) {
      test::TypeIntoFileDialog(QString::fromStdString(chosen));
      d->fileButton()->click();
    });
    std::string name = dir.File("old.BrL");
    QVERIFY(FileErrorRetry(name, "Wrong magic"));
    QCOMPARE(name, chosen);
  }

  void infoWindowFillsAndStoresItsPosition() {
    QWidget parent;
    gCom.kind = gkBurrower;
    TLevelSetHeader& h = gCom.k[gkBurrower].header;
    h.editingTime = 3723000;
    h.lastSave = 45658.5;
    SetShortString(h.description, sizeof h.description, "Deep <b>caves</b> & more");
    QStringList shown;
    test::WhenShown<TfInfo>([&](TfInfo* info) {
      for (QLabel* l : {info->gameLabel(), info->workTimeLabel(), info->modifiedLabel(),
                        info->descriptionLabel()})
        shown << l->text();
      QList<QPushButton*> buttons = info->findChildren<QPushButton*>();
      shown << QString::number(buttons.size()) << buttons.value(0)->text()
            << QString::number(info->findChildren<QLineEdit*>().size());
      shown << QString(info->buildLabel()->text()).replace(QRegularExpression("\\d"), "9");
      info->move(70, 80);
      QTest::keyClick(info, Qt::Key_Escape);
    });
    ShowGameInfo(&parent);
    QCOMPARE(shown, QStringList({"Burrower " KELVRA_VERSION, "1:02:03",
                                 Short(QDate(2025, 1, 1), QTime(12, 0)), "Deep <b>caves</b> & more",
                                 "1", "Close", "0", "9999-99-99"}));
    QCOMPARE(gOptions.gameInfoLeft, 70);

    // Damaged headers: a length byte beyond the field, times and dates out of range.
    h.description[0] = 200;
    TfInfo info;
    info.Fill(gkBurrower);
    QVERIFY(info.descriptionLabel()->text().size() <= 63);
    QCOMPARE(InfoDuration(std::numeric_limits<qint64>::min()),
             QStringLiteral("-2562047788015:12:55"));
    for (double bad : {std::nan(""), std::numeric_limits<double>::infinity(), -1e9})
      QCOMPARE(InfoDateTime(bad), QString());
  }

  void scoresWindowShowsTheTable() {
    gCom.kind = gkBrickfall;
    Cur().fileName = "/levels/Mine.BrL";
    gScores.table[gkBrickfall] = SampleTable();
    QStringList seen;
    WhenShown<TfScores>([&](TfScores* w) {
      seen << w->windowTitle();
      for (int row = 0; row < 4; ++row) {
        QStringList cells;
        for (int c = 0; c < TScoresGrid::kColumns; ++c) cells << w->grid()->CellText(row, c);
        seen << cells.join('|');
      }
      w->accept();
    });
    QCOMPARE(ShowScoresWindow(nullptr), int(QDialog::Accepted));
    QCOMPARE(seen, QStringList({"High Scores - Mine.BrL", "Score|Player|Date|Levels Time",
                                "1,234,567|Ann|2025-12-09 12:00:00|1:02:03",
                                "42|J\u00F6rg||1:02:03", "|||"}));
    delete ScoresWindow();

    TRunStatistics stats;  // the about box, a text window too, escapes the log's text
    stats.runs = 3;
    stats.lastStart = "<today>";
    QVERIFY(AboutText(stats).contains("&lt;today&gt;"));
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
