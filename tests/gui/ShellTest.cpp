// The Qt shell's services: the Qt-key to virtual-key table, the key state with its pressed
// bit, file filters and dialogs, the main window's queued close, the message dialog's
// answers and the game controller's reading; and the settings dialog: the live colour
// preview and Cancel, key capture through the Qt event path, and what OK and Cancel store.
#include <QAbstractButton>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QtTest>

#include "GuiTestUtil.h"
#include "TestUtil.h"
#include "common/Com.h"
#include "common/Events.h"
#include "common/Players.h"
#include "common/Settings.h"
#include "dialogs/MessageDialog.h"
#include "shell/Gamepad.h"
#include "shell/QtPlatform.h"
#include "shell/SettingsDialog.h"

using namespace kelvra;

namespace {

using test::WhenShown;

// Types a name into Qt's own file dialog and presses Return; with `asked`, answers Yes to
// the overwrite question and notes that it came.
void TypeIntoFileDialog(const QString& name, bool* asked = nullptr) {
  WhenShown<QFileDialog>([name, asked](QFileDialog* f) {
    if (asked)
      WhenShown<QMessageBox>([asked](QMessageBox* box) {
        *asked = true;
        box->button(QMessageBox::Yes)->click();
      });
    auto* edit = f->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    if (!edit) return f->reject();
    edit->setText(name);
    QTest::keyClick(edit, Qt::Key_Return);
    if (f->isVisible()) f->reject();
  });
}

constexpr auto kNone = Qt::NoModifier;
constexpr auto kPad = Qt::KeypadModifier;

}  // namespace

class ShellTest : public QObject {
  Q_OBJECT

  QtPlatform platform_;
  // Counts the redraws a colour change asks for.
  struct TRedraws : TGameEvents {
    int count = 0;
    void PlayerColourChanged(int) override { ++count; }
  } events_;

  // Holds the key down, captures it for control `tag` of mapping `m`, lets it go.
  static uint16_t CaptureHeld(TfSettings& dialog, int m, int tag, int key,
                              Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    dialog.keyboardCombo()->setCurrentIndex(m);
    QPushButton* button = dialog.keyButton(tag);
    QTest::keyPress(button, Qt::Key(key), modifiers);
    QTest::mouseClick(button, Qt::LeftButton);
    QTest::keyRelease(button, Qt::Key(key), modifiers);
    return dialog.Values().keyMap[m][tag];
  }

  // Opens the dialog on the current settings, as the main window does.
  static void Show(TfSettings& dialog, int captureWaitMs = 10) {
    dialog.applyPriorities = false;
    if (captureWaitMs) dialog.captureWaitMs = captureWaitMs;
    dialog.Open();
    dialog.show();
  }

 private slots:
  void init() {
    ResetCom();
    gOptions = TOptions{};
    gOptions.sounds = 0;  // the options the tests change are reported, not opened
    SetEvents(&events_);
    events_.count = 0;
    platform_.ClearKeys();
    SetPlatform(&platform_);
  }
  void cleanup() {
    SetEvents(nullptr);
    SetPlatform(nullptr);
  }

  void settingsCancelRestoresColoursMappingsAndInputsAndStoresThePosition() {
    gOptions.scoresLeft = 40;
    gOptions.scoresTop = 30;
    TfSettings dialog;
    Show(dialog);
    QCOMPARE(dialog.pos(), QPoint(40, 30));
    dialog.playersCombo()->setCurrentIndex(4);
    QCOMPARE(dialog.inputCombo()->currentText(), QStringLiteral("Mouse"));
    dialog.inputCombo()->setCurrentIndex(piJoystick);
    emit dialog.inputCombo()->activated(piJoystick);
    QCOMPARE(CaptureHeld(dialog, 0, ctLeft, Qt::Key_B), uint16_t(0x42));
    dialog.playersCombo()->setCurrentIndex(1);
    QCOMPARE(dialog.colourButton()->text(), QStringLiteral("$00003FFF"));
    uint32_t seenLive = 0;
    WhenShown<QColorDialog>([&](QColorDialog* d) {
      d->setCurrentColor(QColor(255, 0, 0));
      seenLive = gCom.player[1].colour;  // changed before OK
      d->accept();
    });
    QTest::mouseClick(dialog.colourButton(), Qt::LeftButton);
    QCOMPARE(seenLive, 0x0000FFu);
    QCOMPARE(dialog.colourButton()->text(), QStringLiteral("Red"));
    QCOMPARE(gCom.player[1].halfColour, 0x00007Fu);
    // The colour dialog's own Cancel takes its preview back.
    WhenShown<QColorDialog>([](QColorDialog* d) {
      d->setCurrentColor(QColor(0, 255, 0));
      d->reject();
    });
    QTest::mouseClick(dialog.colourButton(), Qt::LeftButton);
    QCOMPARE(gCom.player[1].colour, 0x0000FFu);
    QVERIFY(events_.count > 0);

    events_.count = 0;
    dialog.move(60, 50);
    dialog.reject();
    QCOMPARE(gCom.player[1].colour, 0x003FFFu);
    QCOMPARE(gCom.player[1].halfColour, 0x001F7Fu);
    QCOMPARE(events_.count, 1);  // redrawn with the colour restored
    QVERIFY(!dialog.Accepted());
    QCOMPARE(gCom.keyMap[0][ctLeft], uint16_t(0x25));
    QCOMPARE(gCom.player[4].input, uint8_t(piMouse));
    // The position is kept under the scores window's keys.
    QCOMPARE(gOptions.scoresLeft, 60);
    QCOMPARE(gOptions.scoresTop, 50);
  }

  void settingsCaptureWhileHoldingTheLeftButtonStoresTheKey() {
    TfSettings dialog;
    Show(dialog, 0);
    dialog.keyboardCombo()->setCurrentIndex(1);
    QPushButton* fire2 = dialog.keyButton(ctFire2);
    QCOMPARE(fire2->text(), QStringLiteral("~"));
    // During the half second: the left button goes down on the dialog and Q is pressed.
    QTimer::singleShot(100, [&] {
      QTest::mousePress(dialog.keyButton(ctLeft), Qt::LeftButton);
      QTest::keyPress(fire2, Qt::Key_Q);
    });
    QTest::mouseClick(fire2, Qt::LeftButton);
    QCOMPARE(fire2->text(), QStringLiteral("Q"));
    QVERIFY(dialog.isVisible());  // the eaten press clicked nothing
    QTest::keyRelease(fire2, Qt::Key_Q);
    QTest::mouseRelease(dialog.keyButton(ctLeft), Qt::LeftButton);
    QCOMPARE(gCom.keyMap[1][ctFire2], uint16_t(0xC0));  // only OK copies it back
    dialog.accept();
    QCOMPARE(gCom.keyMap[1][ctFire2], uint16_t(0x51));
  }

  // The keys a user presses for some default mappings, modifiers and the pad included.
  void settingsHeldKeyIsCapturedAsItsCode_data() {
    QTest::addColumn<int>("map");
    QTest::addColumn<int>("tag");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::newRow("ctrl") << 0 << int(ctFire1) << int(Qt::Key_Control) << int(Qt::ControlModifier);
    QTest::newRow("shift") << 0 << int(ctFire2) << int(Qt::Key_Shift) << int(Qt::ShiftModifier);
    QTest::newRow("key left of 1") << 1 << int(ctFire2) << int(Qt::Key_QuoteLeft) << 0;
    QTest::newRow("pad begin, no Num Lock")
        << 3 << int(ctUp) << int(Qt::Key_Clear) << int(Qt::KeypadModifier);
  }
  void settingsHeldKeyIsCapturedAsItsCode() {
    QFETCH(int, map);
    QFETCH(int, tag);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    gCom.keyMap[map][tag] = 0x5A;  // Z, so that the capture must change it
    TfSettings dialog;
    Show(dialog);
    QCOMPARE(CaptureHeld(dialog, map, tag, key, Qt::KeyboardModifiers(modifiers)),
             kDefaultKeyMap[map][tag]);
    QCOMPARE(dialog.keyButton(tag)->text(),
             QString::fromStdString(KeyName(kDefaultKeyMap[map][tag])));
    dialog.accept();
    QCOMPARE(gCom.keyMap[map][tag], kDefaultKeyMap[map][tag]);
  }

  void settingsNothingHeldKeepsTheKeyAndDefaultResetsTheMapping() {
    gCom.keyMap[2][ctFire1] = 0x20;
    gCom.keyMap[3][ctFire1] = 0x20;
    TfSettings dialog;
    Show(dialog, 20);
    dialog.keyboardCombo()->setCurrentIndex(2);
    QTest::mouseClick(dialog.keyButton(ctFire1), Qt::LeftButton);  // nothing held
    QCOMPARE(dialog.keyButton(ctFire1)->text(), QStringLiteral("SC: 32"));
    QTest::mouseClick(dialog.defaultButton(), Qt::LeftButton);
    QCOMPARE(dialog.keyButton(ctFire1)->text(), QStringLiteral("H"));
    dialog.done(QDialog::Accepted);
    QCOMPARE(gCom.keyMap[2][ctFire1], uint16_t(0x48));
    QCOMPARE(gCom.keyMap[3][ctFire1], uint16_t(0x20));  // other mappings untouched
  }

  void settingsOkStoresOptionsAndReportsChanges() {
    gOptions.soundFrequency = 44100;
    QWidget parent;
    WhenShown<TfSettings>([](TfSettings* d) { d->reject(); });
    QVERIFY(!RunSettingsDialog(&parent).accepted);
    QString shownFrequency;
    WhenShown<TfSettings>([&shownFrequency](TfSettings* d) {
      shownFrequency = d->frequencyCombo()->currentText();
      d->frequencyCombo()->lineEdit()->selectAll();
      QTest::keyClicks(d->frequencyCombo()->lineEdit(), QStringLiteral("abc"));
      d->playersCombo()->setCurrentIndex(0);
      d->inputCombo()->setCurrentIndex(piJoystick);
      emit d->inputCombo()->activated(piJoystick);
      d->depthCombo()->setCurrentIndex(1);
      d->musicCheck()->setChecked(false);
      d->soundCheck()->setChecked(true);
      d->accept();
    });
    const TSettingsResult result = RunSettingsDialog(&parent);  // the same dialog again
    QCOMPARE(parent.findChildren<TfSettings*>().size(), 1);
    QVERIFY(result.accepted);
    QCOMPARE(shownFrequency, QStringLiteral("44100"));
    QCOMPARE(gCom.player[0].input, uint8_t(piJoystick));
    QCOMPARE(gOptions.fullScreenBits, 16);
    QCOMPARE(gOptions.music, uint8_t(0));
    QCOMPARE(gOptions.soundFrequency, 22050);  // text that is no number
    QVERIFY(result.changes.display && result.changes.music && result.changes.openSound);
  }

  // Ctrl, Shift, the key left of 1 and the pad's middle key are checked through the
  // settings dialog's key capture.
  void qtKeysToVirtualKeys_data() {
    QTest::addColumn<int>("qtKey");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<int>("vk");
    QTest::newRow("left arrow") << int(Qt::Key_Left) << 0 << 0x25;
    QTest::newRow("shift+tab") << int(Qt::Key_Backtab) << int(Qt::ShiftModifier) << 0x09;
    QTest::newRow("pad 1") << int(Qt::Key_1) << int(kPad) << 0x61;
    QTest::newRow("pad end") << int(Qt::Key_End) << int(kPad) << 0x61;
    QTest::newRow("shifted 1") << int(Qt::Key_Exclam) << int(Qt::ShiftModifier) << 0x31;
    QTest::newRow("semicolon") << int(Qt::Key_Semicolon) << 0 << 0xBA;
    QTest::newRow("unknown") << int(Qt::Key_unknown) << 0 << 0;
  }
  void qtKeysToVirtualKeys() {
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
    // A tap between two queries still counts once, a mouse button's too.
    p.KeyEvent(Qt::Key_Space, 0, kNone, true);
    p.KeyEvent(Qt::Key_Space, 0, kNone, false);
    p.MouseButton(1, true);
    p.MouseButton(1, false);
    QCOMPARE(int(p.KeyState(0x20)), 0x01);
    QCOMPARE(int(p.KeyState(1)), 0x01);
    QCOMPARE(int(p.KeyState(-1)), 0);
    QCOMPARE(int(p.KeyState(256)), 0);
  }

  void releaseClearsTheCodeTheKeyWasPressedAs() {
    QtPlatform p;
    auto pressRelease = [&p](int press, int release, Qt::KeyboardModifiers mods, bool repeat) {
      QKeyEvent down(QEvent::KeyPress, press, mods & kPad, 10, 0, 0);
      QKeyEvent up(QEvent::KeyRelease, release, mods, 10, 0, 0, QString(), repeat);
      p.KeyEvent(&down, true);
      p.KeyEvent(&up, false);
    };
    pressRelease(Qt::Key_1, Qt::Key_Exclam, Qt::ShiftModifier, false);  // "1", then Shift
    QCOMPARE(int(p.KeyState('1')), 0x01);
    pressRelease(Qt::Key_1, Qt::Key_End, kPad, false);  // pad 1, then Num Lock off
    QCOMPARE(int(p.KeyState(0x61)), 0x01);
    pressRelease(Qt::Key_Left, Qt::Key_Left, kNone, true);  // an auto-repeat is no release
    QCOMPARE(int(p.KeyState(0x25)), 0x81);
  }

  void clearKeysDropsHeldKeys() {
    QtPlatform p;
    p.KeyEvent(Qt::Key_Control, 0, Qt::ControlModifier, true);
    p.KeyEvent(Qt::Key_Up, 0, kNone, true);
    QCOMPARE(int(p.KeyState(0x26)), 0x81);
    uint8_t snap[256];
    p.KeySnapshot(snap);
    QCOMPARE(int(snap[0x11]) + int(snap[0x26]) + int(snap[0x41]), 0x100);  // held, held, not
    p.ClearKeys();  // focus lost: the releases go elsewhere
    QCOMPARE(int(p.KeyState(0x26)), 0x00);
    QCOMPARE(int(p.KeyState(0x11)), 0x01);  // the unread press still counts once
    p.KeySnapshot(snap);
    QCOMPARE(std::count(snap, snap + 256, 0), 256);
  }

  void fileFiltersBecomeQtNameFilters() {
    QCOMPARE(QtFileFilter("Brickfall Levels (*.BrL)|*.BrL|Any file (*.*)|*.*"),
             QStringLiteral("Brickfall Levels (*.BrL);;Any file (*)"));
    QCOMPARE(QtFileFilter("Pictures|*.bmp;*.jpg|Levels|*.BrL;*.MoL;*.BuL"),
             QStringLiteral("Pictures (*.bmp *.jpg);;Levels (*.BrL *.MoL *.BuL)"));
    QCOMPARE(QtFileFilter(""), QString());
    QCOMPARE(QtFileFilter("dangling"), QString());
  }

  void saveDialogAddsTheExtensionAndAsksBeforeOverwriting() {
    test::TempDir dir;
    const std::string filter = "Brickfall Levels (*.BrL)|*.BrL";
    TypeIntoFileDialog(QStringLiteral("fresh"));
    QCOMPARE(QtSaveFileDialog(nullptr, filter, dir.File("Set.BrL")).value_or(""),
             dir.File("fresh.BrL"));
    test::WriteText(dir.File("old.BrL"), "x");
    bool asked = false;
    TypeIntoFileDialog(QStringLiteral("old.BrL"), &asked);
    QCOMPARE(QtSaveFileDialog(nullptr, filter, dir.File("Set.BrL")).value_or(""),
             dir.File("old.BrL"));
    QVERIFY(asked);
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

  // Clicking a button answers it, Escape the escape button, Return the default one.
  void messageDialogAnswers_data() {
    QTest::addColumn<int>("buttons");
    QTest::addColumn<QString>("press");
    QTest::addColumn<int>("answer");
    using B = MsgButton;
    const int yesNo = Btn(B::Yes) | Btn(B::No),
              ari = Btn(B::Abort) | Btn(B::Retry) | Btn(B::Ignore);
    const int del = Btn(B::Delete) | Btn(B::DeleteAll);
    QTest::newRow("Delete All") << (del | Btn(B::Cancel)) << "click" << int(B::DeleteAll);
    QTest::newRow("empty set offers OK") << 0 << "click" << int(B::Ok);
    QTest::newRow("Escape is Cancel") << (yesNo | Btn(B::Cancel)) << "Escape" << int(B::Cancel);
    QTest::newRow("Escape is No") << yesNo << "Escape" << int(B::No);
    QTest::newRow("Escape is Abort") << ari << "Escape" << int(B::Abort);
    QTest::newRow("Escape is the last") << del << "Escape" << int(B::DeleteAll);
    QTest::newRow("Return is Yes") << yesNo << "Return" << int(B::Yes);
  }
  void messageDialogAnswers() {
    QFETCH(int, buttons);
    QFETCH(QString, press);
    QFETCH(int, answer);
    QtPlatform p;
    QString text;
    WhenShown<QMessageBox>([&](QMessageBox* box) {
      text = box->text();
      if (press != QLatin1String("click"))
        QTest::keyClick(box, press == QLatin1String("Escape") ? Qt::Key_Escape : Qt::Key_Return);
      for (QAbstractButton* b : box->buttons())
        if (box->isVisible() && b->text().remove('&') == MsgButtonName(MsgButton(answer)))
          b->click();
      if (box->isVisible()) box->reject();
    });
    QCOMPARE(int(p.MessageDialog("Sure?", MsgType::Confirmation, MsgButtons(buttons))), answer);
    QCOMPARE(text, QStringLiteral("Sure?"));
  }

  void gamepadBits_data() {
    QTest::addColumn<int>("x");
    QTest::addColumn<int>("y");
    QTest::addColumn<int>("pad");  // d-pad bits 0 left, 1 up, 2 right, 3 down; 4 A, 5 B
    QTest::addColumn<int>("bits");
    const int dz = TGamepad::kDeadZone;
    QTest::newRow("inside the dead zone") << dz << -dz << 0 << 0x00;
    QTest::newRow("just beyond left") << -dz - 1 << 0 << 0 << 0x01;
    QTest::newRow("stick up is negative y") << 0 << -32768 << 0 << 0x02;
    QTest::newRow("stick down right") << 32767 << 32767 << 0 << 0x0C;
    QTest::newRow("d-pad left and up") << 0 << 0 << 0x3 << 0x03;
    QTest::newRow("d-pad and stick agree") << 32767 << 0 << 0x4 << 0x04;
    QTest::newRow("A is Fire1, B Fire2") << -32768 << 32767 << 0x3F << 0x3F;
  }
  void gamepadBits() {
    QFETCH(int, x);
    QFETCH(int, y);
    QFETCH(int, pad);
    QFETCH(int, bits);
    QCOMPARE(int(TGamepad::Bits(x, y, pad & 1, pad & 2, pad & 4, pad & 8, pad & 16, pad & 32)),
             bits);
  }

  void noControllerGivesNoInput() {
    // The test machine has no controller; SDL may or may not start its subsystem.
    QtPlatform platform;
    for (int i = 0; i < 3; ++i) QCOMPARE(int(platform.GamepadState()), 0);
  }
};

QTEST_MAIN(ShellTest)
#include "ShellTest.moc"
