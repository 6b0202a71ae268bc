// The game controller's reading: stick and d-pad directions with the dead zone, the fire
// buttons, and no input (and no failure) when no controller is plugged in.
#include <QtTest>

#include "shell/Gamepad.h"
#include "shell/QtPlatform.h"

using namespace kelvra;

class GamepadTest : public QObject {
  Q_OBJECT

 private slots:
  void bits_data() {
    QTest::addColumn<int>("x");
    QTest::addColumn<int>("y");
    QTest::addColumn<int>("dpad");     // bit 0 left, 1 up, 2 right, 3 down
    QTest::addColumn<int>("buttons");  // bit 0 A, 1 B
    QTest::addColumn<int>("bits");
    const int dz = TGamepad::kDeadZone;
    QTest::newRow("centre") << 0 << 0 << 0 << 0 << 0x00;
    QTest::newRow("inside the dead zone") << dz << -dz << 0 << 0 << 0x00;
    QTest::newRow("just beyond left") << -dz - 1 << 0 << 0 << 0 << 0x01;
    QTest::newRow("stick up is negative y") << 0 << -32768 << 0 << 0 << 0x02;
    QTest::newRow("stick down right") << 32767 << 32767 << 0 << 0 << 0x0C;
    QTest::newRow("d-pad left and up") << 0 << 0 << 0x3 << 0 << 0x03;
    QTest::newRow("d-pad and stick agree") << 32767 << 0 << 0x4 << 0 << 0x04;
    QTest::newRow("A is Fire1") << 0 << 0 << 0 << 0x1 << 0x10;
    QTest::newRow("B is Fire2") << 0 << 0 << 0 << 0x2 << 0x20;
    QTest::newRow("everything") << -32768 << 32767 << 0xF << 0x3 << 0x3F;
  }
  void bits() {
    QFETCH(int, x);
    QFETCH(int, y);
    QFETCH(int, dpad);
    QFETCH(int, buttons);
    QFETCH(int, bits);
    QCOMPARE(
        int(TGamepad::Bits(x, y, dpad & 1, dpad & 2, dpad & 4, dpad & 8, buttons & 1, buttons & 2)),
        bits);
  }

  void noControllerGivesNoInput() {
    // The test machine has no controller; SDL may or may not start its subsystem.
    QtPlatform platform;
    for (int i = 0; i < 3; ++i) QCOMPARE(int(platform.GamepadState()), 0);
  }
};

QTEST_MAIN(GamepadTest)
#include "GamepadTest.moc"
