// The settings dialog offscreen: the live colour preview and Cancel, key capture through
// the Qt event path for every default key, the frequency text, and what OK stores.
#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <cstring>
#include <functional>

#include "GuiTestUtil.h"
#include "common/Com.h"
#include "common/Events.h"
#include "common/Players.h"
#include "common/Settings.h"
#include "shell/QtPlatform.h"
#include "shell/SettingsDialog.h"

using namespace kelvra;

namespace {

using test::WhenShown;

struct KeyRow {
  int qtKey;
  Qt::KeyboardModifiers modifiers;
};

// The keys a user presses for the default mappings, in mapping order.
const KeyRow kDefaultKeys[kKeyMaps][kKeysPerMap] = {
    {{Qt::Key_Left, Qt::NoModifier},
     {Qt::Key_Up, Qt::NoModifier},
     {Qt::Key_Right, Qt::NoModifier},
     {Qt::Key_Down, Qt::NoModifier},
     {Qt::Key_Control, Qt::ControlModifier},
     {Qt::Key_Shift, Qt::ShiftModifier}},
    {{Qt::Key_A, Qt::NoModifier},
     {Qt::Key_W, Qt::NoModifier},
     {Qt::Key_D, Qt::NoModifier},
     {Qt::Key_S, Qt::NoModifier},
     {Qt::Key_Tab, Qt::NoModifier},
     {Qt::Key_QuoteLeft, Qt::NoModifier}},
    {{Qt::Key_J, Qt::NoModifier},
     {Qt::Key_I, Qt::NoModifier},
     {Qt::Key_L, Qt::NoModifier},
     {Qt::Key_K, Qt::NoModifier},
     {Qt::Key_H, Qt::NoModifier},
     {Qt::Key_Y, Qt::NoModifier}},
    // The numeric pad with Num Lock on.
    {{Qt::Key_1, Qt::KeypadModifier},
     {Qt::Key_5, Qt::KeypadModifier},
     {Qt::Key_3, Qt::KeypadModifier},
     {Qt::Key_2, Qt::KeypadModifier},
     {Qt::Key_4, Qt::KeypadModifier},
     {Qt::Key_7, Qt::KeypadModifier}},
};
// The same pad keys with Num Lock off.
const KeyRow kPadWithoutNumLock[kKeysPerMap] = {
    {Qt::Key_End, Qt::KeypadModifier},      {Qt::Key_Clear, Qt::KeypadModifier},
    {Qt::Key_PageDown, Qt::KeypadModifier}, {Qt::Key_Down, Qt::KeypadModifier},
    {Qt::Key_Left, Qt::KeypadModifier},     {Qt::Key_Home, Qt::KeypadModifier},
};

}  // namespace

class SettingsDialogTest : public QObject {
  Q_OBJECT

  QtPlatform platform_;
  // Counts the redraws a colour change asks for.
  struct TRedraws : TGameEvents {
    int count = 0;
    void PlayerColourChanged(int) override { ++count; }
  } events_;
  int& redraws_ = events_.count;

  // Holds the key down, captures it for control `tag` of mapping `m`, lets it go.
  uint16_t CaptureHeld(TfSettings& dialog, int m, int tag, const KeyRow& key) {
    dialog.keyboardCombo()->setCurrentIndex(m);
    QPushButton* button = dialog.keyButton(tag);
    QTest::keyPress(button, Qt::Key(key.qtKey), key.modifiers);
    QTest::mouseClick(button, Qt::LeftButton);
    QTest::keyRelease(button, Qt::Key(key.qtKey), key.modifiers);
    return dialog.Values().keyMap[m][tag];
  }

 private slots:
  void init() {
    ResetCom();
    gOptions = TOptions{};
    gOptions.sounds = 0;  // the options the tests change are reported, not opened
    SetEvents(&events_);
    redraws_ = 0;
    platform_.ClearKeys();
    SetPlatform(&platform_);
  }
  void cleanup() {
    SetEvents(nullptr);
    SetPlatform(nullptr);
  }

  void colourPreviewAndCancelRestoresIt() {
    TfSettings dialog;
    dialog.applyPriorities = false;
    dialog.Open();
    dialog.show();
    dialog.playersCombo()->setCurrentIndex(1);
    QCOMPARE(dialog.colourButton()->text(), QStringLiteral("$00003FFF"));

    QString caption;
    uint32_t seenLive = 0;
    QString buttonLive;
    WhenShown<QColorDialog>([&](QColorDialog* d) {
      caption = d->windowTitle();
      d->setCurrentColor(QColor(255, 0, 0));
      seenLive = gCom.player[1].colour;  // changed before OK
      buttonLive = dialog.colourButton()->text();
      d->accept();
    });
    QTest::mouseClick(dialog.colourButton(), Qt::LeftButton);
    QCOMPARE(caption, QStringLiteral("Player 2 Color"));
    QCOMPARE(seenLive, 0x0000FFu);
    QCOMPARE(buttonLive, QStringLiteral("Red"));
    QCOMPARE(gCom.player[1].halfColour, 0x00007Fu);
    QVERIFY(redraws_ > 0);

    redraws_ = 0;
    dialog.reject();
    QCOMPARE(gCom.player[1].colour, 0x003FFFu);
    QCOMPARE(gCom.player[1].halfColour, 0x001F7Fu);
    QCOMPARE(redraws_, 1);  // redrawn with the colour restored
    QVERIFY(!dialog.Accepted());
  }

  void colourDialogCancelTakesThePreviewBack() {
    TfSettings dialog;
    dialog.Open();
    dialog.show();
    WhenShown<QColorDialog>([](QColorDialog* d) {
      d->setCurrentColor(QColor(0, 0, 255));
      d->reject();
    });
    QTest::mouseClick(dialog.colourButton(), Qt::LeftButton);
    QCOMPARE(gCom.player[0].colour, kDefaultPlayerColour[0]);
    QCOMPARE(dialog.colourButton()->text(), QStringLiteral("$0000DF00"));

    // The default colour is one click away.
    gCom.player[0].colour = 0x123456;
    WhenShown<QColorDialog>([](QColorDialog* d) {
      for (QPushButton* b : d->findChildren<QPushButton*>())
        if (b->text() == QStringLiteral("&Default")) b->click();
      d->accept();
    });
    QTest::mouseClick(dialog.colourButton(), Qt::LeftButton);
    QCOMPARE(gCom.player[0].colour, kDefaultPlayerColour[0]);
    dialog.accept();
    QCOMPARE(gCom.player[0].colour, kDefaultPlayerColour[0]);  // OK keeps it
  }

  void captureWhileHoldingTheLeftButtonStoresTheKey() {
    TfSettings dialog;
    dialog.applyPriorities = false;
    dialog.Open();
    dialog.show();
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
    QCOMPARE(dialog.Values().keyMap[1][ctFire2], uint16_t(0x51));
    QVERIFY(dialog.isVisible());  // the eaten press clicked nothing
    QTest::keyRelease(fire2, Qt::Key_Q);
    QTest::mouseRelease(dialog.keyButton(ctLeft), Qt::LeftButton);

    QCOMPARE(gCom.keyMap[1][ctFire2], uint16_t(0xC0));  // only OK copies it back
    dialog.accept();
    QCOMPARE(gCom.keyMap[1][ctFire2], uint16_t(0x51));
  }

  void captureWithNothingHeldKeepsTheOldKey() {
    TfSettings dialog;
    dialog.captureWaitMs = 20;
    dialog.Open();
    dialog.show();
    QTest::mouseClick(dialog.keyButton(ctFire2), Qt::LeftButton);
    QCOMPARE(dialog.keyButton(ctFire2)->text(), QStringLiteral("Shift"));
    QCOMPARE(dialog.Values().keyMap[0][ctFire2], uint16_t(0x10));
  }

  void everyDefaultKeyIsCapturedAsItsCode() {
    for (auto& map : gCom.keyMap)
      for (uint16_t& key : map) key = 0x5A;  // Z everywhere, so every capture must change it
    TfSettings dialog;
    dialog.applyPriorities = false;
    dialog.captureWaitMs = 10;
    dialog.Open();
    dialog.show();
    for (int m = 0; m < kKeyMaps; ++m)
      for (int tag = 0; tag < kKeysPerMap; ++tag) {
        const uint16_t code = CaptureHeld(dialog, m, tag, kDefaultKeys[m][tag]);
        QVERIFY2(
            code == kDefaultKeyMap[m][tag],
            qPrintable(QStringLiteral("mapping %1 control %2: %3").arg(m + 1).arg(tag).arg(code)));
        QCOMPARE(dialog.keyButton(tag)->text(),
                 QString::fromStdString(KeyName(kDefaultKeyMap[m][tag])));
      }
    for (int tag = 0; tag < kKeysPerMap; ++tag)
      QCOMPARE(CaptureHeld(dialog, 3, tag, kPadWithoutNumLock[tag]), kDefaultKeyMap[3][tag]);
    dialog.accept();
    QCOMPARE(std::memcmp(gCom.keyMap, kDefaultKeyMap, sizeof gCom.keyMap), 0);
  }

  void defaultButtonResetsTheSelectedMapping() {
    gCom.keyMap[2][ctFire1] = 0x20;
    gCom.keyMap[3][ctFire1] = 0x20;
    TfSettings dialog;
    dialog.applyPriorities = false;
    dialog.Open();
    dialog.keyboardCombo()->setCurrentIndex(2);
    QCOMPARE(dialog.keyButton(ctFire1)->text(), QStringLiteral("SC: 32"));
    QTest::mouseClick(dialog.defaultButton(), Qt::LeftButton);
    QCOMPARE(dialog.keyButton(ctFire1)->text(), QStringLiteral("H"));
    dialog.done(QDialog::Accepted);
    QCOMPARE(gCom.keyMap[2][ctFire1], uint16_t(0x48));
    QCOMPARE(gCom.keyMap[3][ctFire1], uint16_t(0x20));  // other mappings untouched
  }

  void cancelRestoresMappingsAndInputs() {
    TfSettings dialog;
    dialog.captureWaitMs = 10;
    dialog.Open();
    dialog.show();
    dialog.playersCombo()->setCurrentIndex(4);
    QCOMPARE(dialog.inputCombo()->currentText(), QStringLiteral("Mouse"));
    QCOMPARE(CaptureHeld(dialog, 0, ctLeft, {Qt::Key_B, Qt::NoModifier}), uint16_t(0x42));
    dialog.reject();
    QCOMPARE(gCom.keyMap[0][ctLeft], uint16_t(0x25));
    QCOMPARE(gCom.player[4].input, uint8_t(piMouse));
  }

  void frequencyTextThatIsNoNumberGives22050() {
    gOptions.soundFrequency = 44100;
    TfSettings dialog;
    dialog.applyPriorities = false;
    dialog.Open();
    dialog.show();
    QCOMPARE(dialog.frequencyCombo()->currentText(), QStringLiteral("44100"));
    QLineEdit* edit = dialog.frequencyCombo()->lineEdit();
    QVERIFY(edit);
    edit->selectAll();
    QTest::keyClicks(edit, QStringLiteral("abc"));
    QCOMPARE(dialog.frequencyCombo()->currentText(), QStringLiteral("abc"));
    dialog.accept();
    QCOMPARE(gOptions.soundFrequency, 22050);
    QVERIFY(dialog.Changes().reopenSound);
  }

  void okStoresOptionsAndReportsChanges() {
    TfSettings dialog;
    dialog.applyPriorities = false;
    dialog.Open();
    dialog.playersCombo()->setCurrentIndex(0);
    dialog.inputCombo()->setCurrentIndex(piJoystick);
    emit dialog.inputCombo()->activated(piJoystick);
    dialog.depthCombo()->setCurrentIndex(1);
    dialog.musicCheck()->setChecked(false);
    dialog.soundCheck()->setChecked(true);
    dialog.done(QDialog::Accepted);
    QVERIFY(dialog.Accepted());
    QCOMPARE(gCom.player[0].input, uint8_t(piJoystick));
    QCOMPARE(gOptions.fullScreenBits, 16);
    QCOMPARE(gOptions.music, uint8_t(0));
    QVERIFY(dialog.Changes().display);
    QVERIFY(dialog.Changes().music);
    QVERIFY(dialog.Changes().openSound);
    QVERIFY(!dialog.Changes().priorities);
  }

  void positionIsStoredUnderTheScoresKeys() {
    gOptions.scoresLeft = 40;
    gOptions.scoresTop = 30;
    TfSettings dialog;
    dialog.Open();
    dialog.show();
    QCOMPARE(dialog.pos(), QPoint(40, 30));
    dialog.move(60, 50);
    dialog.reject();
    QCOMPARE(gOptions.scoresLeft, 60);
    QCOMPARE(gOptions.scoresTop, 50);
  }

  void runSettingsDialogIsModalAndReportsTheResult() {
    QWidget parent;
    WhenShown<TfSettings>([](TfSettings* d) { d->reject(); });
    TSettingsResult result = RunSettingsDialog(&parent);
    QVERIFY(!result.accepted);
    WhenShown<TfSettings>([](TfSettings* d) { d->accept(); });
    result = RunSettingsDialog(&parent);  // the same dialog again
    QVERIFY(result.accepted);
    QCOMPARE(parent.findChildren<TfSettings*>().size(), 1);
  }
};

QTEST_MAIN(SettingsDialogTest)
#include "SettingsDialogTest.moc"
