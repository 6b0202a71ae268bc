// The file error window driven through its keys and buttons: history paging, Enter and
// Escape, the Shift captions and the choice of another file with "&File...".
#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <QtTest>
#include <functional>

#include "GuiTestUtil.h"
#include "TestUtil.h"
#include "base/IOError.h"
#include "dialogs/IOErrorDialog.h"
#include "shell/QtPlatform.h"

using namespace kelvra;

namespace {

using test::WhenShown;

bool gLeftOpen = false;  // an action meant to end the dialog did not

// Runs `act` on the error window; a window that `act` left open is closed and noted, so
// that a broken key or button fails the test instead of hanging it.
void OnErrorWindow(std::function<void(TfIOError*)> act) {
  WhenShown<TfIOError>([act](TfIOError* d) {
    act(d);
    if (d->isVisible()) {
      gLeftOpen = true;
      d->reject();
    }
  });
}

QWidget* Focus(QWidget* dialog) {
  QWidget* f = dialog->focusWidget();
  return f ? f : dialog;
}

IOErrorRequest Request(const std::string& text, bool retry, const std::string& fileName = "") {
  IOErrorRequest r;
  r.kind = 1;
  r.caption = "File Error";
  r.text = text;
  r.retryOffered = retry;
  r.fileButton = retry;
  r.fileName = fileName;
  return r;
}

}  // namespace

class IOErrorDialogTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { SetPlatform(&platform_); }
  void cleanupTestCase() { SetPlatform(nullptr); }
  void init() {
    ResetIOErrors();
    gLeftOpen = false;
  }
  void cleanup() { QVERIFY2(!gLeftOpen, "the dialog stayed open"); }

  void thirdErrorReadsThreeOfThreeAndPagesBack() {
    for (int i = 0; i < 2; ++i) OnErrorWindow([](TfIOError* d) { d->ignoreButton()->click(); });
    ErrorMsg("first message");
    FileError("b.BrL", "second message");

    QString caption, atEnd, second, first, refused, msgSecond, msgFirst;
    bool upEnabledAtFirst = true, refusedMove = true;
    OnErrorWindow([&](TfIOError* d) {
      caption = d->windowTitle();
      atEnd = d->PositionText();
      d->upButton()->click();
      second = d->PositionText();
      msgSecond = d->MessageText();
      d->upButton()->click();
      first = d->PositionText();
      msgFirst = d->MessageText();
      upEnabledAtFirst = d->upButton()->isEnabled();
      refusedMove = d->ShowEntry(-1) || d->ShowEntry(3);
      refused = d->PositionText();
      d->ignoreButton()->click();
    });
    IOError("c.BrL", EIO);

    QCOMPARE(caption, QStringLiteral("IO Error"));
    QCOMPARE(atEnd, QStringLiteral("3 / 3"));
    QCOMPARE(second, QStringLiteral("2 / 3"));
    QCOMPARE(msgSecond, QStringLiteral("second message\nb.BrL"));
    QCOMPARE(first, QStringLiteral("1 / 3"));
    QCOMPARE(msgFirst, QStringLiteral("first message"));
    QVERIFY(!upEnabledAtFirst);
    QVERIFY(!refusedMove);
    QCOMPARE(refused, QStringLiteral("1 / 3"));
  }

  void enterChoosesIgnoreWithoutRetryAndRetryWithIt() {
    bool retryEnabled = true;
    OnErrorWindow([&](TfIOError* d) {
      retryEnabled = d->retryButton()->isEnabled();
      QTest::keyClick(Focus(d), Qt::Key_Return);
    });
    IOErrorReply r = RunIOErrorDialog(Request("no retry", false), nullptr);
    QVERIFY(!retryEnabled);
    QCOMPARE(int(r.choice), int(IOErrorChoice::Ignore));

    OnErrorWindow([](TfIOError* d) { QTest::keyClick(Focus(d), Qt::Key_Return); });
    r = RunIOErrorDialog(Request("with retry", true), nullptr);
    QCOMPARE(int(r.choice), int(IOErrorChoice::Retry));
    QVERIFY(!r.chosenFile);
  }

  void escapeAndClosingChooseIgnore() {
    OnErrorWindow([](TfIOError* d) { QTest::keyClick(Focus(d), Qt::Key_Escape); });
    IOErrorReply r = RunIOErrorDialog(Request("escape", true), nullptr);
    QCOMPARE(int(r.choice), int(IOErrorChoice::Ignore));

    OnErrorWindow([](TfIOError* d) { d->close(); });
    r = RunIOErrorDialog(Request("close box", true), nullptr);
    QCOMPARE(int(r.choice), int(IOErrorChoice::Ignore));
  }

  void shiftRenamesTheButtonsAndTheChoiceFollowsTheCaption() {
    QString heldAll, heldClose, freeAll, freeClose;
    OnErrorWindow([&](TfIOError* d) {
      QTest::keyPress(Focus(d), Qt::Key_Shift);
      heldAll = d->ignoreAllButton()->text();
      heldClose = d->closeButton()->text();
      QTest::keyRelease(Focus(d), Qt::Key_Shift);
      freeAll = d->ignoreAllButton()->text();
      freeClose = d->closeButton()->text();
      QTest::keyPress(Focus(d), Qt::Key_Shift);
      d->ignoreAllButton()->click();
    });
    IOErrorReply r = RunIOErrorDialog(Request("shift", false), nullptr);
    QCOMPARE(heldAll, QStringLiteral("Ignore Realy All"));
    QCOMPARE(heldClose, QStringLiteral("Terimante"));
    QCOMPARE(freeAll, QStringLiteral("Ignore &All"));
    QCOMPARE(freeClose, QStringLiteral("&Close"));
    QCOMPARE(int(r.choice), int(IOErrorChoice::IgnoreReallyAll));

    // The next showing starts with the plain captions.
    QString nextAll;
    OnErrorWindow([&](TfIOError* d) {
      nextAll = d->ignoreAllButton()->text();
      QTest::keyPress(Focus(d), Qt::Key_Shift);
      d->closeButton()->click();
    });
    r = RunIOErrorDialog(Request("shift close", false), nullptr);
    QCOMPARE(nextAll, QStringLiteral("Ignore &All"));
    QCOMPARE(int(r.choice), int(IOErrorChoice::Terminate));

    OnErrorWindow([](TfIOError* d) { d->ignoreAllButton()->click(); });
    r = RunIOErrorDialog(Request("plain", false), nullptr);
    QCOMPARE(int(r.choice), int(IOErrorChoice::IgnoreAll));
  }

  void ignoreReallyAllThroughTheCoreSilencesTheRun() {
    OnErrorWindow([](TfIOError* d) {
      QTest::keyPress(Focus(d), Qt::Key_Shift);
      d->ignoreAllButton()->click();
    });
    std::string name = "x.BrL";
    QVERIFY(!IOErrorRetry(name, ENOENT));
    QCOMPARE(gIOError.ignoreMode, 2);
    QVERIFY(!IOErrorRetry(name, ENOENT));  // would hang here if the window came up again
  }

  void fileButtonRetriesWithTheChosenFile() {
    test::TempDir dir;
    const std::string chosen = dir.File("new.BrL");
    test::WriteText(chosen, "level set");
    QStringList filters;
    bool fileEnabled = false;
    OnErrorWindow([&](TfIOError* d) {
      fileEnabled = d->fileButton()->isEnabled();
      WhenShown<QFileDialog>([&](QFileDialog* f) {
        filters = f->nameFilters();
        auto* edit = f->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        if (!edit) {
          f->reject();
          return;
        }
        edit->setText(QString::fromStdString(chosen));
        QTest::keyClick(edit, Qt::Key_Return);
      });
      d->fileButton()->click();
    });
    std::string name = dir.File("old.BrL");
    bool retry = FileErrorRetry(name, "Wrong magic");
    QVERIFY(fileEnabled);
    QCOMPARE(filters, QStringList({"(*.BrL)", "Any file (*)"}));
    QVERIFY(retry);
    QCOMPARE(name, chosen);
  }

 private:
  QtPlatform platform_;
};

QTEST_MAIN(IOErrorDialogTest)
#include "IOErrorDialogTest.moc"
