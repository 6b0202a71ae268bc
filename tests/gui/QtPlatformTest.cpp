// The Qt platform services: the Qt-key to virtual-key table, the key state with its
// pressed bit, file filters and dialogs, the clock, the shell's "open", the main window's
// queued close, and the message dialog's buttons.
#include <QAbstractItemView>
#include <QApplication>
#include <QDateTime>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <cerrno>
#include <functional>

#include "GuiTestUtil.h"
#include "TestUtil.h"
#include "dialogs/MessageDialog.h"
#include "shell/QtPlatform.h"

using namespace kelvra;

namespace {

using test::WhenShown;

// Types a name into Qt's own file dialog and presses Return.
void TypeIntoFileDialog(const QString& name) {
  WhenShown<QFileDialog>([name](QFileDialog* f) {
    auto* edit = f->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    if (!edit) {
      f->reject();
      return;
    }
    edit->setText(name);
    QTest::keyClick(edit, Qt::Key_Return);
  });
}

constexpr auto kNone = Qt::NoModifier;
constexpr auto kPad = Qt::KeypadModifier;

}  // namespace

class QtPlatformTest : public QObject {
  Q_OBJECT

 private slots:
  void defaultKeysOfTheFourMappings_data() {
    QTest::addColumn<int>("qtKey");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<int>("vk");
    const struct {
      const char* name;
      int key;
      Qt::KeyboardModifiers mods;
      int vk;
    } rows[] = {
        // Keyboard 1
        {"left arrow", Qt::Key_Left, kNone, 0x25},
        {"up arrow", Qt::Key_Up, kNone, 0x26},
        {"right arrow", Qt::Key_Right, kNone, 0x27},
        {"down arrow", Qt::Key_Down, kNone, 0x28},
        {"ctrl", Qt::Key_Control, Qt::ControlModifier, 0x11},
        {"shift", Qt::Key_Shift, Qt::ShiftModifier, 0x10},
        // Keyboard 2
        {"A", Qt::Key_A, kNone, 0x41},
        {"tab", Qt::Key_Tab, kNone, 0x09},
        {"shift+tab", Qt::Key_Backtab, Qt::ShiftModifier, 0x09},
        {"key left of 1", Qt::Key_QuoteLeft, kNone, 0xC0},
        {"key left of 1 shifted", Qt::Key_AsciiTilde, Qt::ShiftModifier, 0xC0},
        // Keyboard 3
        {"J", Qt::Key_J, kNone, 0x4A},
        // Keyboard 4, Num Lock on and off
        {"pad 1", Qt::Key_1, kPad, 0x61},
        {"pad end", Qt::Key_End, kPad, 0x61},
        {"pad begin", Qt::Key_Clear, kPad, 0x65},
        {"pad page down", Qt::Key_PageDown, kPad, 0x63},
        {"pad down", Qt::Key_Down, kPad, 0x62},
        {"pad left", Qt::Key_Left, kPad, 0x64},
        {"pad home", Qt::Key_Home, kPad, 0x67},
        // Others the games and the dialogs meet
        {"digit 1", Qt::Key_1, kNone, 0x31},
        {"shifted 1", Qt::Key_Exclam, Qt::ShiftModifier, 0x31},
        {"pad 0", Qt::Key_0, kPad, 0x60},
        {"pad 9", Qt::Key_9, kPad, 0x69},
        {"return", Qt::Key_Return, kNone, 0x0D},
        {"escape", Qt::Key_Escape, kNone, 0x1B},
        {"space", Qt::Key_Space, kNone, 0x20},
        {"alt", Qt::Key_Alt, Qt::AltModifier, 0x12},
        {"F1", Qt::Key_F1, kNone, 0x70},
        {"F12", Qt::Key_F12, kNone, 0x7B},
        {"page up", Qt::Key_PageUp, kNone, 0x21},
        {"page down", Qt::Key_PageDown, kNone, 0x22},
        {"home", Qt::Key_Home, kNone, 0x24},
        {"end", Qt::Key_End, kNone, 0x23},
        {"insert", Qt::Key_Insert, kNone, 0x2D},
        {"delete", Qt::Key_Delete, kNone, 0x2E},
        {"semicolon", Qt::Key_Semicolon, kNone, 0xBA},
        {"unknown", Qt::Key_unknown, kNone, 0},
    };
    for (const auto& r : rows) QTest::newRow(r.name) << r.key << int(r.mods) << r.vk;
  }
  void defaultKeysOfTheFourMappings() {
    QFETCH(int, qtKey);
    QFETCH(int, modifiers);
    QFETCH(int, vk);
    QCOMPARE(QtKeyToVk(qtKey, Qt::KeyboardModifiers(modifiers)), vk);
  }

  void keypadIsRecognisedByItsKeysymToo() {
    QCOMPARE(QtKeyToVk(Qt::Key_End, kNone, 0xFF9C), 0x61);  // KP_End
    QCOMPARE(QtKeyToVk(Qt::Key_End, kNone, 0xFF57), 0x23);  // the End key itself
  }

  void pressedBitClearsOnReadHeldBitFollowsTheKey() {
    QtPlatform p;
    p.KeyEvent(Qt::Key_A, 0, kNone, true);
    QCOMPARE(int(p.KeyState(0x41)), 0x81);
    QCOMPARE(int(p.KeyState(0x41)), 0x80);  // still held, press already counted
    p.KeyEvent(Qt::Key_A, 0, kNone, false);
    QCOMPARE(int(p.KeyState(0x41)), 0x00);

    // A tap between two queries still counts once.
    p.KeyEvent(Qt::Key_Space, 0, kNone, true);
    p.KeyEvent(Qt::Key_Space, 0, kNone, false);
    QCOMPARE(int(p.KeyState(0x20)), 0x01);
    QCOMPARE(int(p.KeyState(0x20)), 0x00);

    p.MouseButton(1, true);
    QCOMPARE(int(p.KeyState(1)), 0x81);
    p.MouseButton(1, false);
    QCOMPARE(int(p.KeyState(1)), 0x00);

    QCOMPARE(int(p.KeyState(-1)), 0);
    QCOMPARE(int(p.KeyState(256)), 0);
  }

  void releaseClearsTheCodeTheKeyWasPressedAs() {
    QtPlatform p;
    // "1" pressed, then Shift: the release arrives as "!" from the same physical key.
    QKeyEvent press(QEvent::KeyPress, Qt::Key_1, kNone, 10, 0, 0);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Exclam, Qt::ShiftModifier, 10, 0, 0);
    p.KeyEvent(&press, true);
    p.KeyEvent(&release, false);
    QCOMPARE(int(p.KeyState('1')), 0x01);

    // Pad 1 pressed with Num Lock on and released with it off.
    QKeyEvent padPress(QEvent::KeyPress, Qt::Key_1, kPad, 87, 0, 0);
    QKeyEvent padRelease(QEvent::KeyRelease, Qt::Key_End, kPad, 87, 0, 0);
    p.KeyEvent(&padPress, true);
    QCOMPARE(int(p.KeyState(0x61)), 0x81);
    p.KeyEvent(&padRelease, false);
    QCOMPARE(int(p.KeyState(0x61)), 0x00);

    // An auto-repeated release is not a release.
    QKeyEvent hold(QEvent::KeyPress, Qt::Key_Left, kNone, 113, 0, 0);
    QKeyEvent repeat(QEvent::KeyRelease, Qt::Key_Left, kNone, 113, 0, 0, QString(), true);
    p.KeyEvent(&hold, true);
    p.KeyEvent(&repeat, false);
    QCOMPARE(int(p.KeyState(0x25)), 0x81);
  }

  void clearKeysDropsHeldKeys() {
    QtPlatform p;
    p.KeyEvent(Qt::Key_Control, 0, Qt::ControlModifier, true);
    p.KeyEvent(Qt::Key_Up, 0, kNone, true);
    QCOMPARE(int(p.KeyState(0x26)), 0x81);
    uint8_t snap[256];
    p.KeySnapshot(snap);
    QCOMPARE(int(snap[0x11]), 0x80);
    QCOMPARE(int(snap[0x26]), 0x80);
    QCOMPARE(int(snap[0x41]), 0x00);

    p.ClearKeys();  // focus lost: the releases go elsewhere
    QCOMPARE(int(p.KeyState(0x26)), 0x00);
    QCOMPARE(int(p.KeyState(0x11)), 0x01);  // the unread press still counts once
    QCOMPARE(int(p.KeyState(0x11)), 0x00);
    p.KeySnapshot(snap);
    for (int i = 0; i < 256; ++i) QCOMPARE(int(snap[i]), 0);
  }

  void fileFiltersBecomeQtNameFilters() {
    QCOMPARE(QtFileFilter("Brickfall Levels (*.BrL)|*.BrL|Any file (*.*)|*.*"),
             QStringLiteral("Brickfall Levels (*.BrL);;Any file (*)"));
    QCOMPARE(QtFileFilter("(*.MoL)|*.MoL|Any file (*.*)|*.*"),
             QStringLiteral("(*.MoL);;Any file (*)"));
    QCOMPARE(QtFileFilter("Pictures|*.bmp;*.jpg|Levels|*.BrL;*.MoL;*.BuL"),
             QStringLiteral("Pictures (*.bmp *.jpg);;Levels (*.BrL *.MoL *.BuL)"));
    QCOMPARE(QtFileFilter(""), QString());
    QCOMPARE(QtFileFilter("dangling"), QString());
  }

  void openDialogMatchesExtensionsWhateverTheirCase() {
    test::TempDir dir;
    test::WriteText(dir.File("UPPER.BRL"), "x");
    QStringList shown;
    WhenShown<QFileDialog>([&](QFileDialog* f) {
      auto* view = f->findChild<QAbstractItemView*>(QStringLiteral("listView"));
      if (view) {
        // The list fills from a worker thread: wait for it before reading.
        (void)QTest::qWaitFor([view] { return view->model()->rowCount(view->rootIndex()) > 0; },
                              2000);
        QModelIndex root = view->rootIndex();
        for (int i = 0; i < view->model()->rowCount(root); ++i)
          shown << view->model()->index(i, 0, root).data().toString();
      }
      f->reject();
    });
    auto result = QtOpenFileDialog(nullptr, "Brickfall Levels (*.BrL)|*.BrL", dir.File("Set.BrL"));
    QVERIFY(!result);
    QCOMPARE(shown, QStringList({"UPPER.BRL"}));
  }

  void saveDialogAddsTheExtensionAndAsksBeforeOverwriting() {
    test::TempDir dir;
    const std::string filter = "Brickfall Levels (*.BrL)|*.BrL";
    TypeIntoFileDialog(QStringLiteral("fresh"));
    auto result = QtSaveFileDialog(nullptr, filter, dir.File("Set.BrL"));
    QVERIFY(result);
    QCOMPARE(QString::fromStdString(*result), QString::fromStdString(dir.File("fresh.BrL")));

    test::WriteText(dir.File("old.BrL"), "x");
    bool asked = false;
    WhenShown<QFileDialog>([&](QFileDialog* f) {
      WhenShown<QMessageBox>([&](QMessageBox* box) {
        asked = true;
        box->button(QMessageBox::Yes)->click();
      });
      auto* edit = f->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
      if (!edit) {
        f->reject();
        return;
      }
      edit->setText(QStringLiteral("old.BrL"));
      QTest::keyClick(edit, Qt::Key_Return);
      if (f->isVisible()) f->reject();
    });
    result = QtSaveFileDialog(nullptr, filter, dir.File("Set.BrL"));
    QVERIFY(asked);
    QVERIFY(result);
    QCOMPARE(QString::fromStdString(*result), QString::fromStdString(dir.File("old.BrL")));
  }

  void clockAndDate() {
    QtPlatform p;
    int64_t a = p.NowNs(), b = p.NowNs();
    QVERIFY(b >= a);
    const QDate epoch(1899, 12, 30);
    double before = double(epoch.daysTo(QDate::currentDate()));
    double now = p.NowDateTime();
    double after = double(epoch.daysTo(QDate::currentDate())) + 1.0;
    QVERIFY(now >= before);
    QVERIFY(now < after);
  }

  void shellOpenOfAMissingFileIsENOENT() {
    QtPlatform p;
    test::TempDir dir;
    QCOMPARE(p.ShellOpen(dir.File("ReadMe.htm")), ENOENT);
    QCOMPARE(p.ShellOpen(""), ENOENT);
  }

  void mainCloseIsQueued() {
    QtPlatform p;
    QWidget window;
    window.show();
    p.SetMainWindow(&window);
    p.RequestMainClose();
    QVERIFY(window.isVisible());  // not inside the caller
    QTRY_VERIFY_WITH_TIMEOUT(!window.isVisible(), 2000);
  }

  void messageDialogAnswersTheButtonClicked_data() {
    QTest::addColumn<int>("buttons");
    QTest::addColumn<int>("click");
    const MsgButtons deleteSet =
        Btn(MsgButton::Delete) | Btn(MsgButton::DeleteAll) | Btn(MsgButton::Cancel);
    const MsgButtons yesSet = Btn(MsgButton::Yes) | Btn(MsgButton::YesToAll) | Btn(MsgButton::No) |
                              Btn(MsgButton::NoToAll) | Btn(MsgButton::Cancel);
    QTest::newRow("Delete All") << int(deleteSet) << int(MsgButton::DeleteAll);
    QTest::newRow("Yes to All") << int(yesSet) << int(MsgButton::YesToAll);
    QTest::newRow("Retry") << int(Btn(MsgButton::Abort) | Btn(MsgButton::Retry) |
                                  Btn(MsgButton::Ignore))
                           << int(MsgButton::Retry);
  }
  void messageDialogAnswersTheButtonClicked() {
    QFETCH(int, buttons);
    QFETCH(int, click);
    TMessageDialog dialog("Delete the level?", MsgType::Confirmation, MsgButtons(buttons));
    QAbstractButton* button = dialog.Button(MsgButton(click));
    QVERIFY(button);
    QCOMPARE(button->text().remove('&'), QString::fromLatin1(MsgButtonName(MsgButton(click))));
    QTimer::singleShot(0, button, [button] { button->click(); });
    QCOMPARE(int(dialog.Exec()), click);
  }

  void messageDialogEscapeAndLook() {
    const struct {
      MsgButtons buttons;
      MsgButton escape;
    } cases[] = {
        {Btn(MsgButton::Yes) | Btn(MsgButton::No) | Btn(MsgButton::Cancel), MsgButton::Cancel},
        {Btn(MsgButton::Yes) | Btn(MsgButton::No), MsgButton::No},
        {Btn(MsgButton::Abort) | Btn(MsgButton::Retry) | Btn(MsgButton::Ignore), MsgButton::Abort},
        {Btn(MsgButton::Delete) | Btn(MsgButton::DeleteAll), MsgButton::DeleteAll},
        {Btn(MsgButton::Ok), MsgButton::Ok},
    };
    for (const auto& c : cases) QCOMPARE(int(MessageEscapeButton(c.buttons)), int(c.escape));

    TMessageDialog dialog("Version 3 file", MsgType::Warning,
                          Btn(MsgButton::Yes) | Btn(MsgButton::No));
    QCOMPARE(dialog.Box().icon(), QMessageBox::Warning);
    QCOMPARE(int(dialog.DefaultButton()), int(MsgButton::Yes));
    QTimer::singleShot(0, &dialog.Box(), [&] { QTest::keyClick(&dialog.Box(), Qt::Key_Escape); });
    QCOMPARE(int(dialog.Exec()), int(MsgButton::No));

    TMessageDialog error("Disk full", MsgType::Error, 0);
    QCOMPARE(error.Box().icon(), QMessageBox::Critical);
    QVERIFY(error.Button(MsgButton::Ok));  // an empty set still offers OK
  }

  void platformMessageDialogShowsTheBox() {
    QtPlatform p;
    QString text;
    WhenShown<QMessageBox>([&](QMessageBox* box) {
      text = box->text();
      for (QAbstractButton* b : box->buttons())
        if (b->text() == QLatin1String("Delete All")) b->click();
      if (box->isVisible()) box->reject();
    });
    MsgButton answer = p.MessageDialog("Delete all levels?", MsgType::Confirmation,
                                       Btn(MsgButton::DeleteAll) | Btn(MsgButton::Cancel));
    QCOMPARE(text, QStringLiteral("Delete all levels?"));
    QCOMPARE(int(answer), int(MsgButton::DeleteAll));
  }
};

QTEST_MAIN(QtPlatformTest)
#include "QtPlatformTest.moc"
