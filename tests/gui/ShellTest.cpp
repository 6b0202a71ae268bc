// The Qt shell's services: the Qt-key to virtual-key table, the key state with its pressed
// bit, the save dialog, the main window's queued close, the message dialog's
// answers and the game controller's reading; the settings dialog: the colour button, the
// live colour preview, key capture through the Qt event path, the warning about shortcut
// keys, and what OK and Cancel store; and a settings file that cannot be written.
#include <QAbstractButton>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QtTest>
#include <filesystem>

#include "GuiTestUtil.h"
#include "TestUtil.h"
#include "base/FileIO.h"
#include "base/IOError.h"
#include "base/KIniFile.h"
#include "base/Paths.h"
#include "common/Com.h"
#include "common/Events.h"
#include "common/Players.h"
#include "common/Settings.h"
#include "dialogs/MessageDialog.h"
#include "shell/Gamepad.h"
#include "shell/MainWindow.h"
#include "shell/QtPlatform.h"
#include "shell/SettingsDialog.h"

using namespace kelvra;

namespace {

using test::WhenShown;

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

  // Clicks the key button of control `tag` of mapping `m`, waits `ms`, presses the key.
  static uint16_t Capture(TfSettings& dialog, int m, int tag, int key, int ms = 0) {
    dialog.keyboardCombo()->setCurrentIndex(m);
    QPushButton* button = dialog.keyButton(tag);
    QTest::mouseClick(button, Qt::LeftButton);
    if (ms) QTest::qWait(ms);
    QTest::keyClick(button, Qt::Key(key));
    return dialog.Values().keyMap[m][tag];
  }

  // Opens the dialog on the current settings, as the main window does.
  static void Show(TfSettings& dialog) {
    dialog.applyPriorities = false;
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

  void settingsCancelRestoresColoursMappingsAndInputs() {
    TfSettings dialog;
    Show(dialog);
    dialog.playersCombo()->setCurrentIndex(4);
    dialog.inputCombo()->setCurrentIndex(piJoystick);
    emit dialog.inputCombo()->activated(piJoystick);
    QCOMPARE(Capture(dialog, 0, ctLeft, Qt::Key_B), uint16_t(0x42));
    dialog.playersCombo()->setCurrentIndex(1);
    uint32_t seenLive = 0;
    WhenShown<QColorDialog>([&](QColorDialog* d) {
      d->setCurrentColor(QColor(255, 0, 0));
      seenLive = gCom.player[1].colour;  // changed before OK
      d->accept();
    });
    QTest::mouseClick(dialog.colourButton(), Qt::LeftButton);
    QCOMPARE(seenLive, 0x0000FFu);
    events_.count = 0;
    dialog.reject();
    QCOMPARE(gCom.player[1].colour, 0x003FFFu);
    QCOMPARE(events_.count, 1);  // redrawn with the colour restored
    QCOMPARE(gCom.keyMap[0][ctLeft], uint16_t(0x25));
    QCOMPARE(gCom.player[4].input, uint8_t(piMouse));
  }

  void settingsOkStoresOptionsAndReportsChanges() {
    gOptions.soundFrequency = 44100;
    QWidget parent;
    WhenShown<TfSettings>([](TfSettings* d) {
      d->frequencyCombo()->lineEdit()->selectAll();
      QTest::keyClicks(d->frequencyCombo()->lineEdit(), QStringLiteral("abc"));
      d->playersCombo()->setCurrentIndex(0);
      d->inputCombo()->setCurrentIndex(piJoystick);
      emit d->inputCombo()->activated(piJoystick);
      d->musicCheck()->setChecked(false);
      d->accept();
    });
    const TSettingsResult result = RunSettingsDialog(&parent);
    QVERIFY(result.accepted);
    QCOMPARE(gCom.player[0].input, uint8_t(piJoystick));
    QCOMPARE(gOptions.soundFrequency, 22050);  // text that is no number
    QVERIFY(result.changes.music);

    // During a replay the devices are the replay's; the rest can still be changed.
    bool inputEnabled = true;
    WhenShown<TfSettings>([&](TfSettings* d) {
      inputEnabled = d->inputCombo()->isEnabled();
      d->musicCheck()->setChecked(true);
      d->accept();
    });
    QVERIFY(RunSettingsDialog(&parent, true).accepted);
    QVERIFY(!inputEnabled);
    QCOMPARE(gOptions.music, uint8_t(1));
    WhenShown<TfSettings>([&](TfSettings* d) {
      inputEnabled = d->inputCombo()->isEnabled();
      d->reject();
    });
    RunSettingsDialog(&parent);
    QVERIFY(inputEnabled);
  }

  // The colour button shows a swatch and a name; a key is captured whenever it comes,
  // Escape cancels, and a key the program's shortcuts take is warned about.
  void settingsColourButtonKeyCaptureAndShortcutWarning() {
    TfSettings dialog;
    Show(dialog);
    QStringList names;
    for (uint32_t colour : {0x3F2010u, 0x008000u, 0x00DF00u}) {  // 0x00BBGGRR
      SetPlayerColour(0, colour);
      dialog.playersCombo()->setCurrentIndex(1);
      dialog.playersCombo()->setCurrentIndex(0);
      const QImage swatch = dialog.colourButton()->icon().pixmap(16, 16).toImage();
      QCOMPARE(swatch.pixelColor(8, 8), QColor(colour & 0xFF, colour >> 8 & 0xFF, colour >> 16));
      names << dialog.colourButton()->text();
    }
    QCOMPARE(names, QStringList({"#10203F", "Green", "#00DF00"}));
    QVERIFY(dialog.colourButton()->styleSheet().isEmpty());  // the button's own colours

    QPushButton* up = dialog.keyButton(ctUp);
    QTest::mouseClick(up, Qt::LeftButton);
    QCOMPARE(up->text(), QString::fromUtf8(TfSettings::kCapturePrompt));
    QTest::keyClick(up, Qt::Key_Escape);  // cancels, and does not close the dialog
    QVERIFY(dialog.isVisible() && dialog.Capturing() < 0);
    QCOMPARE(up->text(), QStringLiteral("Up"));
    QLabel* warning = dialog.shortcutWarning();
    QVERIFY(warning->isHidden());
    // Long after the click (the old capture gave up after half a second), F2 is taken.
    QCOMPARE(Capture(dialog, 0, ctFire1, Qt::Key_F2, 800), uint16_t(0x71));
    QCOMPARE(dialog.keyButton(ctFire1)->text() + "|" + warning->text().section('.', 0, 0),
             QStringLiteral("F2|F2 (Fire1) is the program's key for Start Game"));
    QVERIFY(warning->isVisible());
    if (!qEnvironmentVariableIsEmpty("KELVRA_SCREENSHOTS"))
      dialog.grab().save(qEnvironmentVariable("KELVRA_SCREENSHOTS") + "/settings-dialog.png");
    dialog.defaultButton()->click();
    QVERIFY(warning->isHidden());
    dialog.reject();
  }

  // The settings are written when the main window goes; a write that fails is told, naming
  // the file and the reason (the program still ends). The folder replaced by a plain file
  // refuses the write even to root; a full disk is simulated. The old file stays whole.
  void settingsSaveFailureIsTold() {
    if (!QFileInfo::exists(QStringLiteral(KELVRA_TEST_DATA_DIR "/Sounds")))
      QSKIP("the data tree (kelvra_levels, kelvra_content) is not built");
    test::TempDir dir;
    const std::string stored = "[Options]\nFullScreen=0\nSounds=0\nMusic=0\n";
    for (int code : {ENOTDIR, ENOSPC}) {
      const std::string folder = dir.File(std::to_string(code)), file = folder + "/Kelvra.ini";
      std::filesystem::create_directory(folder);
      test::WriteText(file, stored);
      SetProgramDir(KELVRA_TEST_DATA_DIR);
      QString told;
      {
        TKIniFile ini(file);  // the window's own keys are new to it: there is a change to save
        TfMain window({}, &ini, &platform_);
        if (code == ENOTDIR) {
          std::filesystem::rename(folder, folder + "-away");
          test::WriteText(folder, "a file where the folder was");
        }
        gFailWriteErrno = code == ENOSPC ? ENOSPC : 0;
        WhenShown<QMessageBox>([&told](QMessageBox* box) {
          told = box->text();
          box->accept();
        });
      }
      gFailWriteErrno = 0;
      QVERIFY2(told.contains(QString::fromStdString(file)), qPrintable(told));
      QVERIFY2(told.contains(QString::fromStdString(IOErrorMessage(code))), qPrintable(told));
      const std::string old = code == ENOSPC ? file : folder + "-away/Kelvra.ini";
      QCOMPARE(test::ReadAll(old).size(), stored.size());
    }
  }

  // Ctrl is checked through the main window's keys.
  void qtKeysToVirtualKeys() {
    QCOMPARE(QtKeyToVk(Qt::Key_Clear, kPad), int(kDefaultKeyMap[3][ctUp]));  // no Num Lock
    QCOMPARE(QtKeyToVk(Qt::Key_Left, kNone), 0x25);
    QCOMPARE(QtKeyToVk(Qt::Key_Backtab, Qt::ShiftModifier), 0x09);
    QCOMPARE(QtKeyToVk(Qt::Key_End, kPad), 0x61);
    QCOMPARE(QtKeyToVk(Qt::Key_unknown, kNone), 0);
  }

  void pressedBitClearsOnReadHeldBitFollowsTheKeyAndFocusLossDropsIt() {
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
    QCOMPARE(int(p.KeyState(256)), 0);
    // Focus lost: held keys are dropped, an unread press still counts once.
    p.KeyEvent(Qt::Key_Control, 0, Qt::ControlModifier, true);
    p.KeyEvent(Qt::Key_Up, 0, kNone, true);
    QCOMPARE(int(p.KeyState(0x26)), 0x81);
    p.ClearKeys();
    QCOMPARE(int(p.KeyState(0x26)), 0x00);
    QCOMPARE(int(p.KeyState(0x11)), 0x01);
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

  void saveDialogAddsTheExtension() {
    test::TempDir dir;
    const std::string filter = "Brickfall Levels (*.BrL)|*.BrL";
    test::TypeIntoFileDialog(QStringLiteral("fresh"));
    QCOMPARE(QtSaveFileDialog(nullptr, filter, dir.File("Set.BrL")).value_or(""),
             dir.File("fresh.BrL"));
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
  void messageDialogAnswers() {
    using B = MsgButton;
    const int yesNo = Btn(B::Yes) | Btn(B::No), del = Btn(B::Delete) | Btn(B::DeleteAll);
    const struct {
      int buttons;
      const char* press;
      B answer;
    } cases[] = {{del | Btn(B::Cancel), "click", B::DeleteAll},
                 {0, "click", B::Ok},  // an empty set offers OK
                 {yesNo, "Escape", B::No},
                 {yesNo, "Return", B::Yes}};
    for (const auto& k : cases) {
      QtPlatform p;
      const QString press = QLatin1String(k.press);
      WhenShown<QMessageBox>([&](QMessageBox* box) {
        if (press != QLatin1String("click"))
          QTest::keyClick(box, press == QLatin1String("Escape") ? Qt::Key_Escape : Qt::Key_Return);
        for (QAbstractButton* b : box->buttons())
          if (box->isVisible() && b->text().remove('&') == MsgButtonName(k.answer)) b->click();
        if (box->isVisible()) box->reject();
      });
      QCOMPARE(int(p.MessageDialog("Sure?", MsgType::Confirmation, MsgButtons(k.buttons))),
               int(k.answer));
    }
  }

  // D-pad bits 0 left, 1 up, 2 right, 3 down; 4 A (Fire1), 5 B (Fire2); no controller, no
  // input.
  void gamepadBits() {
    const int dz = TGamepad::kDeadZone;
    QCOMPARE(int(TGamepad::Bits(dz, -dz, 0, 0, 0, 0, 0, 0)), 0x00);  // inside the dead zone
    QCOMPARE(int(TGamepad::Bits(-dz - 1, 0, 0, 0, 0, 0, 0, 0)), 0x01);
    QCOMPARE(int(TGamepad::Bits(0, -32768, 0, 0, 0, 0, 0, 0)), 0x02);  // up is negative y
    QCOMPARE(int(TGamepad::Bits(-32768, 32767, 1, 1, 1, 1, 1, 1)), 0x3F);
    // The test machine has no controller; SDL may or may not start its subsystem.
    QtPlatform platform;
    for (int i = 0; i < 3; ++i) QCOMPARE(int(platform.GamepadState()), 0);
  }
};

QTEST_MAIN(ShellTest)
#include "ShellTest.moc"
