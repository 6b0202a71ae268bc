// The main window as a user sees it: size and zoom, menus, and commands reaching
// the controller, on the offscreen platform with scripted dialogs; and Brickfall played in
// it: the clocks run the game, the keys and a mouse player's pointer move the paddle.
#include <QAction>
#include <QFileInfo>
#include <QMenu>
#include <QPushButton>
#include <QtTest>

#include "GuiTestUtil.h"
#include "TestUtil.h"
#include "base/IOError.h"
#include "base/Paths.h"
#include "brickfall/BrickState.h"
#include "burrower/BurrField.h"
#include "burrower/BurrLevel.h"
#include "common/Com.h"
#include "common/Kinds.h"
#include "common/LevelSet.h"
#include "common/Players.h"
#include "common/Settings.h"
#include "dialogs/IOErrorDialog.h"
#include "monsters/MonsLevel.h"
#include "monsters/MonsState.h"
#include "platform/Headless.h"
#include "shell/MainWindow.h"
#include "shell/QtPlatform.h"

using namespace kelvra;

class MainWindowTest : public QObject {
  Q_OBJECT

 private:
  test::TempDir dir_;
  HeadlessPlatform platform_;
  QtPlatform qtPlatform_;

  // Without `qt` the window runs on the headless platform with scripted dialogs; with it
  // on the Qt one, so that keys and the mouse reach the game as they do for a user.
  std::unique_ptr<TfMain> MakeWindow(const QStringList& args = {}, QtPlatform* qt = nullptr) {
    ResetCom();
    ResetIOErrors();
    gOptions = TOptions{};
    gOptions.fullScreen = 0;
    gOptions.zoom = 1;
    gOptions.sounds = 0;  // no sound device on the test machine
    gOptions.music = 0;
    SetProgramDir(qt ? std::string(KELVRA_TEST_DATA_DIR) : dir_.path());
    SetPlatform(qt ? static_cast<PlatformServices*>(qt) : &platform_);
    auto w = std::make_unique<TfMain>(args, nullptr, qt);
    w->show();
    w->activateWindow();
    return w;
  }

  // A one-player game with the first key set, of the test data's Brickfall set or of `file`
  // shown by `item` after the window came up on Brickfall.
  std::unique_ptr<TfMain> StartGame(uint8_t input, const std::string& file = {},
                                    MenuId item = miBrickfall) {
    // Without the data tree (kelvra_levels, kelvra_content) the window would wait on a
    // modal file error box at startup.
    if (!QFileInfo::exists(QString(KELVRA_TEST_DATA_DIR) + "/Sounds")) return nullptr;
    const std::string set =
        file.empty() ? std::string(KELVRA_TEST_DATA_DIR) + "/Levels/Brickfall/Default.BrL" : file;
    auto w = MakeWindow({QString::fromStdString(set)}, &qtPlatform_);
    w->action(miBrickfall)->trigger();
    if (item != miBrickfall) w->action(item)->trigger();
    gCom.k[gCom.kind].playersMinusOne = 0;
    gCom.player[0].ai = 0;
    gCom.player[0].input = input;
    w->action(miStartGame)->trigger();
    [&] { QVERIFY(QTest::qWaitFor([] { return gCom.stepCounter > 5; }, 5000)); }();
    return w;
  }

  // A new set of `kind` changed by `fill`, saved under `name`.
  std::string SaveSet(int kind, const char* name, const std::function<void()>& fill) {
    SetPlatform(&platform_);
    return test::SaveNewSet(kind, dir_.File(name), fill);
  }

  static const TBrickPlayer& Paddle() { return gBrick.players[0]; }

 private slots:
  void cleanup() { SetPlatform(nullptr); }

  void zoomScalesTheFrameAndThePointerByWholeFactors() {
    auto w = MakeWindow();
    w->action(miZoom2)->trigger();
    QCOMPARE(w->playArea()->size(), QSize(1280, 880));
    // A click at frame pixel (110, 134) is (100, 100) in the Brickfall field.
    QTest::mouseMove(w->playArea(), QPoint(220, 268));
    QCOMPARE(gCom.mouseX, 100);
    QCOMPARE(gCom.mouseY, 100);
  }

  // The menus follow the commands; closing asks about the running game and may be refused.
  void commandsUpdateTheMenusAndCloseAsksForTheGame() {
    auto w = MakeWindow();
    w->action(miMirrorGame)->trigger();  // a mirrored game needs an even number of players
    w->action(miPlayers3)->trigger();
    QVERIFY(!w->action(miStartGame)->isEnabled());
    w->action(miPlayers4)->trigger();
    w->action(miStartGame)->trigger();
    w->action(miAbortGame)->trigger();
    QVERIFY(!w->action(miStartGame)->isChecked());
    w->action(miStartGame)->trigger();
    platform_.messageAnswers = {MsgButton::No};
    QVERIFY(!w->close());
    QVERIFY(gCom.k[gkBrickfall].running);
    platform_.messageAnswers = {MsgButton::Yes};
    QVERIFY(w->close());
  }

  void reopenListsTheSavedFile() {
    auto w = MakeWindow();
    std::string file = dir_.File("one.BrL");
    platform_.saveAnswers.push_back(file);
    w->action(miSaveAs)->trigger();
    QCOMPARE(w->reopenMenu()->actions().first()->text(), QString("&1 one.BrL"));
    w->reopenMenu()->actions().first()->trigger();
    QCOMPARE(Cur().fileName, file);
  }

  void keyboardMovesThePaddleAndLaunches() {
    auto w = StartGame(piKeyboard1);
    QVERIFY2(w, "the data tree is not built");
    QCOMPARE(int(gCom.k[gkBrickfall].state), int(gsPlaying));
    const int32_t start = Paddle().x;
    QTest::keyPress(w.get(), Qt::Key_Left);
    QTest::qWait(300);
    QTest::keyRelease(w.get(), Qt::Key_Left);
    QVERIFY(Paddle().x < start);
    QTest::keyClick(w.get(), Qt::Key_Control);  // the launch key of the first key set
    QVERIFY(QTest::qWaitFor([] { return gBrick.balls[0].state == kBallFlying; }, 2000));
  }

  void mousePlayerFollowsThePointerAndClickLaunches() {
    auto w = StartGame(piMouse);
    QVERIFY2(w, "the data tree is not built");
    QTest::mouseMove(w->playArea(), QPoint(40, 300));
    QVERIFY(QTest::qWaitFor([] { return Paddle().x < 60 * kFxOne; }, 3000));
    QTest::mouseClick(w->playArea(), Qt::LeftButton, {}, QPoint(40, 300));
    QVERIFY(QTest::qWaitFor([] { return gBrick.balls[0].state == kBallFlying; }, 2000));
  }

  // Monsters chosen from the File menu, a game started, the figure moved with the arrow
  // keys: it digs through the earth and kills the one monster, which ends the level.
  void monstersIsPlayedWithTheArrowKeys() {
    const std::string file = SaveSet(gkMonsters, "one.MoL", [] {
      TMonsGrid& g = gMonsLevels[0].Grid();
      auto put = [&](int x, int y, uint8_t kind) { g[size_t(x * kMonsRows + y) * 3] = kind; };
      for (int x = 0; x < kMonsCols; ++x)
        for (int y = 0; y < kMonsRows; ++y) put(x, y, mkWall);
      put(1, 1, mkPlayer);
      put(2, 1, mkEarth);
      put(3, 1, mkMonster);  // boxed in, it turns on the spot
    });
    auto w = StartGame(piKeyboard1, file, miMonsters);
    QVERIFY2(w, "the data tree is not built");
    QVERIFY(gCom.kind == gkMonsters && gCom.k[gkMonsters].running);
    QTest::keyPress(w.get(), Qt::Key_Right);
    QVERIFY(QTest::qWaitFor([] { return gCom.k[gkMonsters].state == gsGameEnded; }, 5000));
    QTest::keyRelease(w.get(), Qt::Key_Right);
    QCOMPARE(int(gMons.players[0].x), 3);
    QCOMPARE(gMons.players[0].killed, 1);
    QVERIFY(!gCom.k[gkMonsters].running);
    QVERIFY(w->action(miStartGame)->isEnabled());
  }

  // Burrower chosen from the File menu, a game started, the figure driven right with the
  // arrow key: it digs into the earth square beside it.
  void burrowerDigsWithTheArrowKeys() {
    const std::string file = SaveSet(gkBurrower, "one.BuL", [] {
      TBurrRecord& r = gBurrLevels[0].Record();
      r.fill(bsEarth);
      r[0] = bsPlayer;                  // (0, 0)
      r[10 * kBurrRows + 5] = bsFruit;  // far away: the level goes on
    });
    auto w = StartGame(piKeyboard1, file, miBurrower);
    QVERIFY2(w, "the data tree is not built");
    QCOMPARE(int(gCom.kind), int(gkBurrower));
    QCOMPARE(int(CellAt(3, 1)), int(lcEarth));
    QTest::keyPress(w.get(), Qt::Key_Right);
    QVERIFY(QTest::qWaitFor([] { return CellAt(3, 1) == lcOpen; }, 5000));
    QTest::keyRelease(w.get(), Qt::Key_Right);
    QVERIFY(gBurr.players[0].x > LatticeStart(1) + kSquareCentre);
  }

  // A command-line file that is missing or damaged is named in the file error dialog; Ignore
  // starts on the set used last, Close ends the program before its window shows.
  void commandLineFileThatCannotBeOpened() {
    test::WriteText(dir_.File("damaged.BuL"), "GBuL");
    for (const char* name : {"missing.BrL", "damaged.BuL"})
      for (bool close : {false, true}) {
        const QString file = QString::fromStdString(dir_.File(name));
        QString shown;
        test::OnDialog<TfIOError>([&](TfIOError* d) {
          shown = d->MessageText();
          (close ? d->closeButton() : d->ignoreButton())->click();
        });
        auto w = MakeWindow({file}, &qtPlatform_);
        QVERIFY2(shown.contains(file), qPrintable(shown));
        QCOMPARE(qtPlatform_.ClosedBeforeShown(), close);
        QVERIFY(file.endsWith(KindExtension(gCom.kind)));
        QCOMPARE(Cur().fileName, DefaultLevelsFile(gCom.kind));
      }
  }
};

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
