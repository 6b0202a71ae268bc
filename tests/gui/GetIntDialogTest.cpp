// The number and time dialogs driven through their controls: typed keywords and formulas,
// out-of-range text, the jump and spin buttons at the limits, the modal entries, the
// modeless callback, and the time dialog's sliders, spin buttons and text.
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTimer>
#include <QToolButton>
#include <QtTest>
#include <functional>
#include <vector>

#include "dialogs/GetIntDialog.h"
#include "dialogs/GetTimeDialog.h"
#include "shell/QtPlatform.h"

using namespace kelvra;

namespace {

// Runs `act` on the visible window of type T once it is up (a modal dialog opened from a
// timer needs a few turns of the event loop); gives up after about two seconds.
template <class T>
void WhenShown(std::function<void(T*)> act, int triesLeft = 400) {
  QTimer::singleShot(5, [act, triesLeft] {
    T* found = qobject_cast<T*>(QApplication::activeModalWidget());
    if (found && !found->isVisible()) found = nullptr;
    if (found)
      act(found);
    else if (triesLeft > 0)
      WhenShown<T>(act, triesLeft - 1);
  });
}

bool gLeftOpen = false;  // an action meant to end the dialog did not

// Runs `act` on the modal dialog; one that `act` left open is closed and noted, so that a
// broken button fails the test instead of hanging it.
template <class T>
void OnDialog(std::function<void(T*)> act) {
  WhenShown<T>([act](T* d) {
    act(d);
    if (d->isVisible()) {
      gLeftOpen = true;
      d->reject();
    }
  });
}

// Replaces the text as a user would: select all, then type.
void Type(QLineEdit* edit, const QString& text) {
  edit->selectAll();
  QTest::keyClick(edit, Qt::Key_Backspace);
  QTest::keyClicks(edit, text);
}

struct Enabled {
  bool min, cur, def, max, up, down;
};

Enabled States(TfGetInt& d) {
  return {d.minButton()->isEnabled(),
          d.curButton()->isEnabled(),
          d.defButton()->isEnabled(),
          d.maxButton()->isEnabled(),
          d.spinButton()->upButton()->isEnabled(),
          d.spinButton()->downButton()->isEnabled()};
}

}  // namespace

class GetIntDialogTest : public QObject {
  Q_OBJECT

 private slots:
  void init() { gLeftOpen = false; }
  void cleanup() { QVERIFY2(!gLeftOpen, "the dialog stayed open"); }

  // "Score Monster": 0..1000, default 100.
  void typedKeywordsGiveTheLimitsAndTheDefault() {
    TfGetInt d;
    d.Setup(QStringLiteral("Score Monster"), 250, 0, 1000, 100, nullptr);
    QCOMPARE(d.errorLabel()->text(), QStringLiteral("No Error"));
    Type(d.textEdit(), QStringLiteral("max"));
    QCOMPARE(d.Value(), 1000);
    QCOMPARE(d.errorLabel()->text(), QString());
    QCOMPARE(d.slider()->value(), 1000);
    QCOMPARE(d.valueLabel()->text(), QStringLiteral("1000"));
    QCOMPARE(d.textEdit()->text(), QStringLiteral("max"));  // left as typed
    Type(d.textEdit(), QStringLiteral("DEF"));
    QCOMPARE(d.Value(), 100);
    Type(d.textEdit(), QStringLiteral("Min"));
    QCOMPARE(d.Value(), 0);
    Type(d.textEdit(), QStringLiteral("(3+4)*10"));
    QCOMPARE(d.Value(), 70);
  }

  void badTextShowsItsMessageAndSetsTheDefault() {
    struct Case {
      const char* text;
      const char* error;
    };
    const Case cases[] = {
        {"5000", "Value 5000 out of range 0..1000"},
        {"", "Line too short"},
        {"1/0", "Division by zero"},
    };
    TfGetInt d;
    for (const Case& c : cases) {
      d.Setup(QStringLiteral("Score Monster"), 250, 0, 1000, 100, nullptr);
      Type(d.textEdit(), QString::fromLatin1(c.text));
      QCOMPARE(d.errorLabel()->text(), QString::fromLatin1(c.error));
      QCOMPARE(d.Value(), 100);
      QCOMPARE(d.valueLabel()->text(), QStringLiteral("100"));
    }
    QCOMPARE(d.textEdit()->maxLength(), 15);
  }

  void jumpAndSpinButtonsAreEnabledOnlyWhereTheyChangeTheValue() {
    TfGetInt d;
    d.Setup(QStringLiteral("Grid Size"), 1, 1, 64, 8, nullptr);
    Enabled e = States(d);  // at the minimum, which is also the value at opening
    QVERIFY(!e.min && !e.cur && e.def && e.max && e.up && !e.down);
    d.spinButton()->downButton()->click();  // refused even if clicked
    QCOMPARE(d.Value(), 1);

    d.spinButton()->upButton()->click();
    QCOMPARE(d.Value(), 2);
    e = States(d);
    QVERIFY(e.min && e.cur && e.def && e.max && e.up && e.down);

    d.defButton()->click();
    QCOMPARE(d.Value(), 8);
    QVERIFY(!d.defButton()->isEnabled());

    d.maxButton()->click();
    QCOMPARE(d.Value(), 64);
    e = States(d);
    QVERIFY(e.min && e.cur && e.def && !e.max && !e.up && e.down);
    d.spinButton()->upButton()->click();
    QCOMPARE(d.Value(), 64);

    d.curButton()->click();
    QCOMPARE(d.Value(), 1);
    d.minButton()->click();
    QCOMPARE(d.Value(), 1);

    // Up and Down in the text field step too, within the limits.
    QTest::keyClick(d.textEdit(), Qt::Key_Down);
    QCOMPARE(d.Value(), 1);
    QTest::keyClick(d.textEdit(), Qt::Key_Up);
    QCOMPARE(d.textEdit()->text(), QStringLiteral("2"));
  }

  void sliderCoversTheRangeInTwentySteps() {
    TfGetInt d;
    d.Setup(QStringLiteral("Score Monster"), 5000, 0, 1000, 100, nullptr);
    QCOMPARE(d.Value(), 1000);  // the value at opening limited to the range
    QCOMPARE(d.slider()->minimum(), 0);
    QCOMPARE(d.slider()->maximum(), 1000);
    QCOMPARE(d.slider()->tickInterval(), 50);  // (1000 - 0 + 19) / 20
    QCOMPARE(d.slider()->pageStep(), 50);
    QCOMPARE(d.slider()->Mark(), 1000);
    d.slider()->setValue(420);
    QCOMPARE(d.Value(), 420);
    QCOMPARE(d.textEdit()->text(), QStringLiteral("420"));
    QCOMPARE(d.minLabel()->text(), QStringLiteral("0"));
    QCOMPARE(d.maxLabel()->text(), QStringLiteral("1000"));

    // A maximum below the minimum is raised to it; the full 32-bit range does not overflow.
    d.Setup(QStringLiteral("x"), 3, 10, 5, 0, nullptr);
    QCOMPARE(d.Maximum(), 10);
    QCOMPARE(d.Value(), 10);
    d.Setup(QStringLiteral("x"), 0, INT32_MIN, INT32_MAX, 0, nullptr);
    QCOMPARE(d.slider()->tickInterval(), int((int64_t(INT32_MAX) - INT32_MIN + 19) / 20));
    Type(d.textEdit(), QStringLiteral("max"));
    QCOMPARE(d.Value(), INT32_MAX);
  }

  void modalOkWritesTheValueAndCancelLeavesIt() {
    int32_t value = 250;
    OnDialog<TfGetInt>([](TfGetInt* d) {
      Type(d->textEdit(), QStringLiteral("max"));
      QTest::keyClick(d->textEdit(), Qt::Key_Return);  // OK is the default button
    });
    QVERIFY(GetInt(QStringLiteral("Score Monster"), value, 0, nullptr, 1000, 100));
    QCOMPARE(value, 1000);
    TfGetInt* kept = GetIntWindow();
    QVERIFY(kept);

    OnDialog<TfGetInt>([](TfGetInt* d) {
      d->maxButton()->click();
      d->cancelButton()->click();
    });
    value = 250;
    QVERIFY(!GetInt(QStringLiteral("Score Monster"), value, 0, nullptr, 1000, 100));
    QCOMPARE(value, 250);
    QCOMPARE(GetIntWindow(), kept);  // the window of the first use is reused
  }

  void platformNumberAndTimeDialogsUseTheseWindows() {
    QtPlatform platform;
    int32_t value = 90;
    QString caption;
    OnDialog<TfGetInt>([&](TfGetInt* d) {
      caption = d->windowTitle();
      Type(d->textEdit(), QStringLiteral("50+25"));
      d->okButton()->click();
    });
    QVERIFY(platform.NumberDialog("JPEG Quality", value, 1, 100, 90));
    QCOMPARE(value, 75);
    QCOMPARE(caption, QStringLiteral("JPEG Quality"));

    int32_t ms = 5000;
    OnDialog<TfGetTime>([](TfGetTime* d) {
      d->maxButton()->click();
      d->okButton()->click();
    });
    QVERIFY(platform.TimeDialog("Bonus Time...", ms, 1000, 60000, 10000));
    QCOMPARE(ms, 60000);

    OnDialog<TfGetTime>([](TfGetTime* d) {
      d->minButton()->click();
      d->cancelButton()->click();
    });
    QVERIFY(!platform.TimeDialog("Bonus Time...", ms, 1000, 60000, 10000));
    QCOMPARE(ms, 60000);
  }

  void modelessDialogReportsEveryChangeAndCancelRestores() {
    std::vector<int32_t> reports;
    int32_t value = 30;
    QVERIFY(GetInt(
        QStringLiteral("Max Wind"), value, 0, [&reports](int32_t v) { reports.push_back(v); }, 100,
        10));
    TfGetInt* d = GetIntWindow();
    QVERIFY(d);
    QVERIFY(d->isVisible());
    QVERIFY(!d->isModal());
    QVERIFY(d->windowFlags() & Qt::WindowStaysOnTopHint);
    QVERIFY(d->applyButton()->isEnabled());
    QVERIFY(reports.empty());  // opening reports nothing

    d->spinButton()->upButton()->click();
    d->slider()->setValue(70);
    Type(d->textEdit(), QStringLiteral("def"));
    d->defButton()->click();  // disabled: no change, no report
    d->applyButton()->click();
    QCOMPARE(reports, (std::vector<int32_t>{31, 70, 10, 10}));
    QCOMPARE(value, 30);  // the caller hears through the callback only

    d->cancelButton()->click();
    QVERIFY(!d->isVisible());
    QCOMPARE(reports.back(), 30);  // the value at opening again
    const size_t count = reports.size();

    // Cancel with the value unchanged reports nothing; the window keeps no callback.
    QVERIFY(GetInt(
        QStringLiteral("Max Wind"), value, 0, [&reports](int32_t v) { reports.push_back(v); }, 100,
        10));
    d = GetIntWindow();
    d->cancelButton()->click();
    QCOMPARE(reports.size(), count);
    QVERIFY(!d->Modeless());
  }

  void modalRequestWhileModelessIsOpenGetsItsOwnWindow() {
    std::vector<int32_t> reports;
    int32_t value = 5;
    QVERIFY(GetInt(
        QStringLiteral("Modeless"), value, 0, [&reports](int32_t v) { reports.push_back(v); }, 10,
        5));
    TfGetInt* modeless = GetIntWindow();
    TfGetInt* seen = nullptr;
    OnDialog<TfGetInt>([&seen](TfGetInt* d) {
      seen = d;
      d->maxButton()->click();
      d->okButton()->click();
    });
    int32_t other = 1;
    QVERIFY(GetInt(QStringLiteral("Modal"), other, 0, nullptr, 50, 1));
    QCOMPARE(other, 50);
    QVERIFY(seen && seen != modeless);
    QVERIFY(reports.empty());
    QCOMPARE(modeless->Value(), 5);
    modeless->okButton()->click();
    QVERIFY(!modeless->isVisible());
  }

  void timeDialogShortMaximumNarrowsItsSliders() {
    TfGetTime d;
    d.Setup(QStringLiteral("Keyboard Delay..."), 5500, 0, 10000, 200);
    const int ranges[4][2] = {{0, 0}, {0, 0}, {0, 10}, {0, 1000}};
    for (int i = 0; i < TfGetTime::kParts; ++i) {
      QCOMPARE(d.slider(i)->minimum(), ranges[i][0]);
      QCOMPARE(d.slider(i)->maximum(), ranges[i][1]);
    }
    QCOMPARE(d.slider(TfGetTime::tpSeconds)->value(), 5);
    QCOMPARE(d.slider(TfGetTime::tpMillis)->value(), 500);
    QCOMPARE(d.partLabel(TfGetTime::tpSeconds)->text(), QStringLiteral("5"));
    QCOMPARE(d.textEdit()->text(), QStringLiteral("0:00:05.500"));

    d.slider(TfGetTime::tpSeconds)->setValue(10);  // 10.5 s: above the maximum
    QCOMPARE(d.Value(), 10000u);
    QCOMPARE(d.slider(TfGetTime::tpMillis)->value(), 0);
    QVERIFY(!d.maxButton()->isEnabled());
    QVERIFY(!d.spinButton(TfGetTime::tpMillis)->upButton()->isEnabled());

    d.spinButton(TfGetTime::tpSeconds)->downButton()->click();
    QCOMPARE(d.Value(), 9000u);
    d.slider(TfGetTime::tpMillis)->setValue(250);
    QCOMPARE(d.Value(), 9250u);

    // Subtracting more than the value gives 0, then the minimum applies.
    d.Setup(QStringLiteral("x"), 700, 100, 10000, 200);
    d.spinButton(TfGetTime::tpSeconds)->downButton()->click();
    QCOMPARE(d.Value(), 100u);
    QVERIFY(!d.minButton()->isEnabled());
    QVERIFY(!d.spinButton(TfGetTime::tpHours)->downButton()->isEnabled());

    // Below one second the millisecond slider covers the range itself.
    d.Setup(QStringLiteral("x"), 300, 100, 500, 200);
    QCOMPARE(d.slider(TfGetTime::tpMillis)->minimum(), 100);
    QCOMPARE(d.slider(TfGetTime::tpMillis)->maximum(), 500);
    QCOMPARE(d.slider(TfGetTime::tpMillis)->value(), 300);
  }

  void timeDialogLongRangesAndTypedText() {
    TfGetTime d;
    d.Setup(QStringLiteral("Monster's Delay..."), 3723004, 0, 10 * 3600000, 1000);
    QCOMPARE(d.slider(TfGetTime::tpHours)->maximum(), 10);
    QCOMPARE(d.slider(TfGetTime::tpMinutes)->maximum(), 59);
    QCOMPARE(d.slider(TfGetTime::tpSeconds)->maximum(), 59);
    QCOMPARE(d.slider(TfGetTime::tpHours)->tickPosition(), QSlider::TicksBelow);
    const int parts[4] = {1, 2, 3, 4};
    for (int i = 0; i < TfGetTime::kParts; ++i) QCOMPARE(d.slider(i)->value(), parts[i]);

    Type(d.textEdit(), QStringLiteral("2:30"));  // minutes and seconds
    QCOMPARE(d.Value(), 150000u);
    QCOMPARE(d.slider(TfGetTime::tpMinutes)->value(), 2);
    QCOMPARE(d.textEdit()->text(), QStringLiteral("2:30"));  // left as typed
    Type(d.textEdit(), QStringLiteral("99:00:00"));
    QCOMPARE(d.Value(), 36000000u);  // limited to the maximum
    Type(d.textEdit(), QStringLiteral("nonsense"));
    QCOMPARE(d.Value(), 36000000u);  // unreadable text changes nothing
    d.defButton()->click();
    QCOMPARE(d.Value(), 1000u);
    QCOMPARE(d.textEdit()->text(), QStringLiteral("0:00:01.000"));

    d.Setup(QStringLiteral("x"), 0, 0, 200u * 3600000u, 0);
    QCOMPARE(d.slider(TfGetTime::tpHours)->tickPosition(), QSlider::NoTicks);  // 200 steps
    d.Setup(QStringLiteral("x"), 0, 0, UINT32_MAX, 0);
    d.slider(TfGetTime::tpHours)->setValue(d.slider(TfGetTime::tpHours)->maximum());
    d.slider(TfGetTime::tpMillis)->setValue(1000);
    d.slider(TfGetTime::tpMinutes)->setValue(59);
    QCOMPARE(d.Value(), UINT32_MAX);  // past 2^32 in the sum, limited to the maximum
  }
};

QTEST_MAIN(GetIntDialogTest)
#include "GetIntDialogTest.moc"
