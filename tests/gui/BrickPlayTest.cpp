// Playing Brickfall in the main window: the clocks run the game, the arrow keys and the
// launch key move the paddle and the ball, and a mouse player's paddle follows the pointer.
#include <QtTest>

#include "TestUtil.h"
#include "base/IOError.h"
#include "base/Paths.h"
#include "brickfall/BrickState.h"
#include "common/Com.h"
#include "common/Players.h"
#include "common/Settings.h"
#include "shell/MainWindow.h"
#include "shell/QtPlatform.h"

using namespace kelvra;

class BrickPlayTest : public QObject {
  Q_OBJECT

 private:
  test::TempDir dir_;
  QtPlatform platform_;

  std::unique_ptr<TfMain> StartGame(uint8_t input) {
    ResetCom();
    ResetIOErrors();
    gOptions = TOptions{};
    gOptions.fullScreen = 0;
    gOptions.zoom = 1;
    gOptions.music = 0;
    // Without a sound device, opening the output would stop the test at a modal error box.
    gOptions.sounds = 0;
    SetProgramDir(KELVRA_TEST_DATA_DIR);
    SetPlatform(&platform_);
    const QString set = QString(KELVRA_TEST_DATA_DIR) + "/Levels/Brickfall/Default.BrL";
    auto w = std::make_unique<TfMain>(QStringList{set}, nullptr, &platform_);
    w->show();
    w->activateWindow();
    gCom.k[gkBrickfall].playersMinusOne = 0;
    gCom.player[0].ai = 0;
    gCom.player[0].input = input;
    w->action(miStartGame)->trigger();
    [&] { QVERIFY(QTest::qWaitFor([] { return gCom.stepCounter > 5; }, 5000)); }();
    return w;
  }

  static const TBrickPlayer& Paddle() { return gBrick.players[0]; }

 private slots:
  void cleanup() { SetPlatform(nullptr); }

  void keyboardMovesThePaddleAndLaunches() {
    auto w = StartGame(piKeyboard1);
    QCOMPARE(int(gCom.k[gkBrickfall].state), int(gsPlaying));
    const int32_t start = Paddle().x;
    QTest::keyPress(w.get(), Qt::Key_Left);
    QTest::qWait(300);
    QTest::keyRelease(w.get(), Qt::Key_Left);
    QVERIFY(Paddle().x < start);
    const int32_t left = Paddle().x;
    QTest::keyPress(w.get(), Qt::Key_Right);
    QTest::qWait(300);
    QTest::keyRelease(w.get(), Qt::Key_Right);
    QVERIFY(Paddle().x > left);

    QCOMPARE(int(gBrick.balls[0].state), int(kBallHeld));
    QTest::keyClick(w.get(), Qt::Key_Control);  // the launch key of the first key set
    QVERIFY(QTest::qWaitFor([] { return gBrick.balls[0].state == kBallFlying; }, 2000));
    QCOMPARE(Paddle().ballsInStock, 2);
  }

  void mousePlayerFollowsThePointerAndClickLaunches() {
    auto w = StartGame(piMouse);
    // Far right of the field: frame pixel (500, 300).
    QTest::mouseMove(w->playArea(), QPoint(500, 300));
    QVERIFY(QTest::qWaitFor([] { return Paddle().x + Paddle().width > 480 * kFxOne; }, 3000));
    QTest::mouseMove(w->playArea(), QPoint(40, 300));
    QVERIFY(QTest::qWaitFor([] { return Paddle().x < 60 * kFxOne; }, 3000));
    QTest::mouseClick(w->playArea(), Qt::LeftButton, {}, QPoint(40, 300));
    QVERIFY(QTest::qWaitFor([] { return gBrick.balls[0].state == kBallFlying; }, 2000));
  }
};

QTEST_MAIN(BrickPlayTest)
#include "BrickPlayTest.moc"
