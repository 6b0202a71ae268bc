// The main window as a user sees it: size and zoom, menus, and commands reaching
// the controller, on the offscreen platform with scripted dialogs; and Brickfall played in
// it: the clocks run the game, the keys and a mouse player's pointer move the paddle. Its
// keyboard: the focus back after every dialog (also run on Xvfb without a window manager),
// access keys, radio items, shortcuts and the players' keys that no shortcut may take.
#include <QAction>
#include <QActionGroup>
#include <QDesktopServices>
#include <QFileInfo>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
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
#include "common/Overlay.h"
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
    [&] { QVERIFY(QTest::qWaitFor([] { return gCom.stepCounter > 5; }, 20000)); }();
    return w;
  }

  // A new set of `kind` changed by `fill`, saved under `name`.
  std::string SaveSet(int kind, const char* name, const std::function<void()>& fill) {
    SetPlatform(&platform_);
    return test::SaveNewSet(kind, dir_.File(name), fill);
  }

  static const TBrickPlayer& Paddle() { return gBrick.players[0]; }

  // The frame drawn from the game state alone: counters, rates, generator, pointer fixed.
  static QByteArray Frame(TfMain& w) {
    gFrameRates = {};
    gCom.randSeed = gCom.frameCounter = gCom.stepCounter = 0;
    gCom.mouseX = -1;
    w.control().DrawOverlayOnce();
    const TKBitmap& f = w.control().frame;
    return QByteArray(reinterpret_cast<const char*>(f.Bits()), f.Stride() * f.Height());
  }
  // A key as the user types it: to the window that has the keyboard.
  static void Type(QKeyCombination k) {
    if (QWindow* focus = QGuiApplication::focusWindow())
      QTest::keyClick(focus, k.key(), k.keyboardModifiers());
  }

 private slots:
  void cleanup() { SetPlatform(nullptr); }

  // On the 1600 x 1000 screen (main below) the frame fits at 2x, in a window and full screen,
  // but not at 3x: that item is disabled and a stored 3x shows 2x. Full screen shows the
  // chosen zoom when it fits, else the largest that does; the shortcuts respect the same.
  void zoomAndFullScreenFitTheScreen() {
    auto w = MakeWindow();
    QVERIFY(QTest::qWaitForWindowActive(w.get()));  // shortcuts go to the active window
    auto shown = [&] { return std::pair(w->playArea()->Zoom(), w->control().zoom); };
    auto key = [&](int key) { QTest::keyClick(w.get(), Qt::Key(key), Qt::ControlModifier); };
    QVERIFY(w->action(miZoom2)->isEnabled() && !w->action(miZoom3)->isEnabled());
    key(Qt::Key_Plus);
    key(Qt::Key_Equal);  // 3x does not fit
    QCOMPARE(w->playArea()->size(), QSize(1280, 880));
    QVERIFY(w->screen()->availableGeometry().contains(w->frameGeometry()));
    key(Qt::Key_Minus);
    QCOMPARE(shown(), std::pair(1, 1));
    gOptions.zoom = 3;  // as from a settings file made on a larger screen
    w->control().hooks.zoomChanged();
    QCOMPARE(shown(), std::pair(2, 2));
    QTest::keyClick(w.get(), Qt::Key_F11);
    QVERIFY(w->isFullScreen() && gOptions.fullScreen && !w->action(miZoom3)->isEnabled());
    QCOMPARE(shown(), std::pair(2, 2));
    key(Qt::Key_0);
    QCOMPARE(shown(), std::pair(1, 1));
    gOptions.zoom = 0;  // automatic: the largest that fits
    w->control().hooks.zoomChanged();
    QCOMPARE(shown(), std::pair(2, 2));
    QTest::keyClick(w.get(), Qt::Key_F11);
    QVERIFY(!w->isFullScreen() && !gOptions.fullScreen);
    QCOMPARE(w->playArea()->size(), QSize(1280, 880));
  }

  // The pointer lands on the frame pixel under it, full screen with the frame centred too,
  // and the half pixels of a device pixel ratio of 2 are floored, never rounded. `at`
  // counts from the frame's corner; the Brickfall field starts at frame pixel (10, 34).
  void pointerMapsToFramePixels() {
    const struct {
      int zoom;
      bool fullScreen;
      QPointF at;
      QPoint field;
    } cases[] = {{1, false, {110.5, 133.5}, {100, 99}},
                 {2, false, {221.5, 269.5}, {100, 100}},
                 {2, true, {221, 268}, {100, 100}},
                 {2, true, {-1, -0.5}, {-11, -35}}};  // on the black around the frame
    for (const auto& c : cases) {
      auto w = MakeWindow();
      if (c.fullScreen) w->control().hooks.fullScreen(true);
      w->control().Command(MenuId(miZoom1 + c.zoom - 1));
      TPlayArea* area = w->playArea();
      const QPointF p =
          QPointF((area->width() - 640 * c.zoom) / 2, (area->height() - 440 * c.zoom) / 2) + c.at;
      QMouseEvent move(QEvent::MouseMove, p, area->mapToGlobal(p), Qt::NoButton, Qt::NoButton,
                       Qt::NoModifier);
      QApplication::sendEvent(area, &move);
      QCOMPARE(QPoint(gCom.mouseX, gCom.mouseY), c.field);
    }
  }

  // A frame is repainted where it differs from the one shown, nothing when it is the same,
  // and the picture is the frame scaled, pixel for pixel.
  void onlyChangedPixelsArePresented() {
    auto w = MakeWindow();
    w->control().Command(miZoom2);
    TPlayArea* area = w->playArea();
    w->control().DrawOverlayOnce();
    QVERIFY(area->Present().isEmpty());
    TKBitmap& frame = w->control().frame;
    frame.Row(21)[3 * 300] ^= 0xFF;
    QCOMPARE(area->Present(), QRegion(600, 32, 2, 16));  // pixel (300, 21): rows 16..23
    QVERIFY(area->Present().isEmpty());
    const QImage bitmap(frame.Row(439), 640, 440, frame.Stride(), QImage::Format_BGR888);
    QCOMPARE(area->grab().toImage().convertToFormat(QImage::Format_RGB32),
             bitmap.mirrored().scaled(1280, 880).convertToFormat(QImage::Format_RGB32));
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
    QVERIFY(QTest::qWaitFor([] { return gBrick.balls[0].state == kBallFlying; }, 20000));
  }

  void mousePlayerFollowsThePointerAndClickLaunches() {
    auto w = StartGame(piMouse);
    QVERIFY2(w, "the data tree is not built");
    QTest::mouseMove(w->playArea(), QPoint(40, 300));
    QVERIFY(QTest::qWaitFor([] { return Paddle().x < 60 * kFxOne; }, 20000));
    QTest::mouseClick(w->playArea(), Qt::LeftButton, {}, QPoint(40, 300));
    QVERIFY(QTest::qWaitFor([] { return gBrick.balls[0].state == kBallFlying; }, 20000));
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
    QVERIFY(QTest::qWaitFor([] { return gCom.k[gkMonsters].state == gsGameEnded; }, 20000));
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
    QVERIFY(QTest::qWaitFor([] { return CellAt(3, 1) == lcOpen; }, 20000));
    QTest::keyRelease(w.get(), Qt::Key_Right);
    QVERIFY(gBurr.players[0].x > LatticeStart(1) + kSquareCentre);
  }

  // A paused game aborted shows "Game Aborted" alone (a new set's empty level ends at once
  // in "Levels Completed"), and each way of showing a level then shows it as before the game;
  // behind a modal question the game stands still, then goes on as it was.
  // Test Level plays the level shown and ends with it: the second of three Burrower levels
  // without fruit is done at once, and the game ends there in "Levels Completed".
  void testLevelEndsWithTheLevelShown() {
    const std::string file =
        SaveSet(gkBurrower, "three.BuL", [] { gBurrLevels.resize(3, gBurrLevels[0]); });
    auto w = MakeWindow({QString::fromStdString(file)}, &qtPlatform_);
    QCOMPARE(int(gCom.kind), int(gkBurrower));
    w->action(miNextLevel)->trigger();
    w->action(miTestLevel)->trigger();
    QVERIFY(QTest::qWaitFor([] { return Cur().state == gsAllLevelsDone; }, 20000));
    QTest::qWait(300);  // a game going on would be in the next level by now
    QCOMPARE(std::make_pair(int(Cur().state), int(Cur().levelIndex)),
             std::make_pair(int(gsAllLevelsDone), 1));
    QCOMPARE(OverlayMessage(gkBurrower).text, "Levels Completed");
  }

  void gamesLeaveNothingBehindAndStandStillBehindQuestions() {
    auto w = StartGame(piKeyboard1);
    QVERIFY2(w, "the data tree is not built");
    auto act = [&](int id) { w->action(MenuId(id))->trigger(); };
    const std::function<void()> shows[] = {
        [&] { w->control().Reopen(Cur().fileName); }, [&] { act(miNew); },
        [&] { act(miEditor), act(miEditor); },
        [&, k = 0]() mutable {
          k = gCom.kind, act(miBrickfall + (k + 1) % 3), act(miBrickfall + k);
        }};
    gCom.player[0].ai = 1;
    for (int kind : {miMonsters, miBurrower, miBrickfall})
      for (int show = 0; show < 4; ++show) {
        act(miAbortGame), act(kind), shows[show]();
        const QByteArray before = Frame(*w);
        QVERIFY(!w->action(miPauseGame)->isEnabled());
        act(miStartGame);
        QVERIFY(!gCom.paused && w->action(miPauseGame)->isEnabled());
        QVERIFY(QTest::qWaitFor([] { return Cur().gameTime >= 300 || !Cur().running; }, 5000));
        act(miPauseGame), act(miAbortGame);
        QCOMPARE(OverlayMessage(gCom.kind).text,
                 Cur().state == gsAborted ? "Game Aborted" : "Levels Completed");
        shows[show]();
        QVERIFY2(Frame(*w) == before && !OverlayMessage(gCom.kind).text, kMenuItems[kind].caption);
      }
    w->control().Reopen(DefaultLevelsFile(gkBrickfall)), act(miStartGame);
    for (bool paused : {false, true}) {
      if (paused) act(miPauseGame);
      uint32_t atOpen = 0, later = 1;
      test::WhenShown<QMessageBox>([&](QMessageBox* box) {
        atOpen = gCom.stepCounter;
        QTest::qWait(300);
        later = gCom.stepCounter;
        QTest::keyClick(box, Qt::Key_Escape);  // No
      });
      QVERIFY(!w->close());
      QCOMPARE(later, atOpen);
      QCOMPARE(QTest::qWaitFor([&] { return gCom.stepCounter > later + 2; }, 1000), !paused);
    }
    act(miAbortGame), act(miMirrorGame), act(miPlayers3);
    QCOMPARE(w->action(miStartGame)->toolTip(), "Mirror Game needs 2 or 4 players");
    KindOps(gCom.kind).FreeLevelSet(), act(miPlayers2);
    QCOMPARE(w->action(miStartGame)->statusTip(), "The level set has no levels");
  }

  // Every kind of dialog closed: P and Ctrl+2 (player 2's AI) reach the main window at once.
  void keysReachTheWindowAfterEveryDialog() {
    for (MenuId item : {miAbout, miCustomGameDelay, miKeyboardDelay, miHighScores, miSettings,
                        miGameInfo, miOpen, miExit}) {  // "Exit" asks "Abort Brickfall Game ?"
      auto w = MakeWindow({}, &qtPlatform_);
      QVERIFY(QTest::qWaitForWindowActive(w.get()));
      if (item == miExit) w->action(miStartGame)->trigger();
      bool shown = false;
      test::WhenShown<QDialog>([&shown](QDialog* d) { shown = true, d->close(); });
      w->action(item)->trigger();
      QTRY_VERIFY2(shown, kMenuItems[item].caption);
      QTest::qWait(200);  // on X, a keyboard gone to the root window shows after 100 ms
      if (item != miExit) w->action(miStartGame)->trigger();  // P pauses only a running game
      Type(Qt::Key_P);
      Type(Qt::CTRL | Qt::Key_2);
      QVERIFY2(gCom.paused && gCom.player[1].ai == !DefaultPlayerAI(1), kMenuItems[item].caption);
    }
  }

  // Access keys, radio groups, plain commands, the new caption on the old settings key.
  void menusShowWhatTheyDo() {
    QString keys;  // none missing, none twice
    for (QString title : kMenuTitles) keys += title.section('&', 1).left(1).toLower();
    QCOMPARE(QSet<QChar>(keys.begin(), keys.end()).size(), int(mbCount));
    auto w = MakeWindow();
    QVERIFY(!w->action(miRegister)->isCheckable() && !w->action(miUnregister)->isCheckable());
    for (MenuId first : {miSlow, miMaxFps, miZoom1}) {
      const QActionGroup* radio = w->action(first)->actionGroup();
      QVERIFY(radio && radio->isExclusive());
      // The presets (3x does not fit the test's 1600 x 1000 screen).
      for (QAction* pick : radio->actions().mid(0, first == miZoom1 ? 2 : 3)) {
        pick->trigger();
        for (QAction* a : radio->actions())
          QVERIFY((a->isEnabled() || first == miZoom1) && a->isChecked() == (a == pick));
        QVERIFY(pick->isEnabled());
      }
    }
    QCOMPARE(w->action(miAggressiveMonsters)->text(), "Aggressive Monsters");
    QCOMPARE(kOptions[FindOptionItem(miAggressiveMonsters)->option].key, "AgressiveMonsters");
  }

  // No key of a default mapping is a shortcut on its own, and during a game each reaches the
  // game also with Ctrl held (player 1's fire): Ctrl+S stays player 2's Down and Ctrl+pad 1
  // player 4's Left, while Ctrl+2 of the main row still switches player 2's AI. The
  // desktop's shortcuts run their commands.
  void shortcutsLeaveThePlayersKeysToTheGame() {
    constexpr auto kPad = Qt::KeypadModifier;
    const QKeyCombination keys[4][6] = {
        {Qt::Key_Left, Qt::Key_Up, Qt::Key_Right, Qt::Key_Down, Qt::Key_Control, Qt::Key_Shift},
        {Qt::Key_A, Qt::Key_W, Qt::Key_D, Qt::Key_S, Qt::Key_Tab, Qt::Key_QuoteLeft},
        {Qt::Key_J, Qt::Key_I, Qt::Key_L, Qt::Key_K, Qt::Key_H, Qt::Key_Y},
        {kPad | Qt::Key_1, kPad | Qt::Key_5, kPad | Qt::Key_3, kPad | Qt::Key_2, kPad | Qt::Key_4,
         kPad | Qt::Key_7}};
    const std::string set = dir_.File("set.BrL");
    QVERIFY(QFile::copy(KELVRA_TEST_DATA_DIR "/Levels/Brickfall/Default.BrL", set.c_str()));
    auto w = MakeWindow({QString::fromStdString(set)}, &qtPlatform_);
    QVERIFY(QTest::qWaitForWindowActive(w.get()));
    int fired = 0;  // commands run by the players' keys
    for (QAction* a : w->actions()) connect(a, &QAction::triggered, this, [&fired] { ++fired; });
    const auto typePlayersKeys = [&](Qt::KeyboardModifiers held) {
      for (int m = 0; m < 4; ++m)
        for (int c = 0; c < 6; ++c) {
          Type(QKeyCombination(keys[m][c].keyboardModifiers() | held, keys[m][c].key()));
          QVERIFY2(qtPlatform_.KeyState(kDefaultKeyMap[m][c]) & 1,
                   qPrintable(QKeySequence(keys[m][c].key() | held).toString()));
        }
      QCOMPARE(fired, 0);
    };
    typePlayersKeys(Qt::NoModifier);
    w->action(miPlayers4)->trigger();
    for (int p = 0; p < 4; ++p) gCom.player[p] = {0, uint8_t(p), 0, 0};
    QString manual;
    const std::pair<MenuId, QKeyCombination> cases[] = {
        {miReadMe, Qt::Key_F1},         {miOpen, Qt::CTRL | Qt::Key_O},
        {miSave, Qt::CTRL | Qt::Key_S}, {miSaveAs, Qt::CTRL | Qt::SHIFT | Qt::Key_S},
        {miStartGame, Qt::Key_F2},      {miExit, Qt::CTRL | Qt::Key_Q}};  // No to "Abort ... ?"
    for (auto [id, shortcut] : cases) {
      Cur().modified = 1;  // "Save" enabled, also in the game below: Ctrl+S could save
      w->control().UpdateMenus();
      QSignalSpy spy(w->action(id), &QAction::triggered);
      if (id == miOpen || id == miSaveAs || id == miExit)
        test::WhenShown<QDialog>([](QDialog* d) { d->close(); });
      Type(shortcut);
      QVERIFY2(spy.count() == 1, kMenuItems[id].caption);
      if (id == miReadMe) {  // the manual's own window: closed, the keyboard comes back
        QTRY_VERIFY(QApplication::activeWindow() && QApplication::activeWindow() != w.get());
        manual = QApplication::activeWindow()->windowTitle();
        QApplication::activeWindow()->close();
        QTRY_VERIFY(QApplication::activeWindow() == w.get());
      }
    }
    QVERIFY(manual.startsWith("Kelvra") && Cur().running && w->isVisible());
    fired = 0;
    typePlayersKeys(Qt::ControlModifier);
    Type(Qt::CTRL | Qt::Key_2);
    QVERIFY(Cur().running && !gCom.paused && gCom.player[1].ai);
    qtPlatform_.ClearKeys();
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

// The offscreen platform with one 1600 x 1000 screen: the frame fits on it at 2x, not at 3x.
int main(int argc, char** argv) {
  QTemporaryDir dir;
  if (qgetenv("QT_QPA_PLATFORM") == "offscreen" && dir.isValid()) {
    QFile config(dir.filePath("screens.json"));
    if (config.open(QIODevice::WriteOnly))
      config.write(R"({"screens": [{"name": "test", "x": 0, "y": 0, "width": 1600,)"
                   R"( "height": 1000, "logicalDpi": 96}]})");
    config.close();
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + config.fileName().toLocal8Bit());
  }
  QApplication app(argc, argv);
  MainWindowTest test;
  return QTest::qExec(&test, argc, argv);
}
#include "MainWindowTest.moc"
