// The settings dialog offscreen: the live colour preview and Cancel, key capture through
// the Qt event path, and what OK and Cancel store.
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include "GuiTestUtil.h"
#include "common/Com.h"
#include "common/Events.h"
#include "common/Players.h"
#include "common/Settings.h"
#include "shell/QtPlatform.h"
#include "shell/SettingsDialog.h"

using namespace kelvra;
using test::WhenShown;

class SettingsDialogTest : public QObject {
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

  void cancelRestoresColoursMappingsAndInputsAndStoresThePosition() {
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

  void captureWhileHoldingTheLeftButtonStoresTheKey() {
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
  void heldKeyIsCapturedAsItsCode_data() {
    QTest::addColumn<int>("map");
    QTest::addColumn<int>("tag");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::newRow("ctrl") << 0 << int(ctFire1) << int(Qt::Key_Control) << int(Qt::ControlModifier);
    QTest::newRow("shift") << 0 << int(ctFire2) << int(Qt::Key_Shift) << int(Qt::ShiftModifier);
    QTest::newRow("key left of 1") << 1 << int(ctFire2) << int(Qt::Key_QuoteLeft) << 0;
    QTest::newRow("pad 5") << 3 << int(ctUp) << int(Qt::Key_5) << int(Qt::KeypadModifier);
    QTest::newRow("pad begin, no Num Lock")
        << 3 << int(ctUp) << int(Qt::Key_Clear) << int(Qt::KeypadModifier);
  }
  void heldKeyIsCapturedAsItsCode() {
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

  void nothingHeldKeepsTheKeyAndDefaultResetsTheMapping() {
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

  void okStoresOptionsAndReportsChanges() {
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
};

QTEST_MAIN(SettingsDialogTest)
#include "SettingsDialogTest.moc"
