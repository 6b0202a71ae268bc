// The main window as a user sees it: size, menus, captions, shortcuts, and commands
// reaching the controller, on the offscreen platform with scripted dialogs.
#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QtTest>

#include "TestUtil.h"
#include "base/IOError.h"
#include "base/Paths.h"
#include "common/Com.h"
#include "common/LevelSet.h"
#include "common/Settings.h"
#include "editor/EditorWindow.h"
#include "platform/Headless.h"
#include "shell/MainWindow.h"

using namespace kelvra;

class MainWindowTest : public QObject {
  Q_OBJECT

 private:
  test::TempDir dir_;
  HeadlessPlatform platform_;

  std::unique_ptr<TfMain> MakeWindow(const QStringList& args = {}) {
    ResetCom();
    ResetIOErrors();
    gOptions = TOptions{};
    gOptions.fullScreen = 0;
    gOptions.zoom = 1;
    SetProgramDir(dir_.path());
    SetPlatform(&platform_);
    auto w = std::make_unique<TfMain>(args, nullptr, nullptr);
    w->show();
    return w;
  }

  QStringList MenuTexts(QMenu* menu) {
    QStringList texts;
    for (QAction* a : menu->actions())
      if (!a->isSeparator()) texts << a->text();
    return texts;
  }

 private slots:
  void cleanup() { SetPlatform(nullptr); }

  void clientAreaIs640By440() {
    auto w = MakeWindow();
    QCOMPARE(w->playArea()->size(), QSize(640, 440));
    QCOMPARE(w->centralWidget(), w->playArea());
  }

  void zoomScalesTheFrameByWholeFactors() {
    auto w = MakeWindow();
    QVERIFY(w->action(miZoom1)->isChecked());
    w->action(miZoom2)->trigger();
    QCOMPARE(gOptions.zoom, 2);
    QCOMPARE(w->playArea()->size(), QSize(1280, 880));
    QVERIFY(w->action(miZoom2)->isChecked());
    QVERIFY(!w->action(miZoom1)->isChecked());
    // A click at frame pixel (110, 134) is (100, 100) in the Brickfall field.
    QTest::mouseMove(w->playArea(), QPoint(220, 268));
    QCOMPARE(gCom.mouseX, 100);
    QCOMPARE(gCom.mouseY, 100);
  }

  void menusHaveTheirItemsInOrder() {
    auto w = MakeWindow();
    QStringList titles;
    for (QAction* a : w->menuBar()->actions()) titles << a->text();
    QCOMPARE(titles, QStringList({"&File", "&Game", "&Options", "Brickfall", "&Monsters",
                                  "Burrower", "Help"}));
    QCOMPARE(MenuTexts(w->menu(mbFile)),
             QStringList({"Brickfall", "Monsters", "Burrower", "Game Info...", "High Scores...",
                          "New", "Open...", "Reopen", "Save", "Save &As...", "Test Level",
                          "Editor...", "Minimize", "E&xit"}));
    QCOMPARE(MenuTexts(w->menu(mbHelp)), QStringList({"Read Me", "&About..."}));
    QCOMPARE(w->action(miEditor)->shortcut(), QKeySequence("Ctrl+E"));
    QCOMPARE(w->action(miPauseGame)->shortcut(), QKeySequence("P"));
    QCOMPARE(w->action(miLastLevel)->shortcut(), QKeySequence(Qt::Key_PageUp));
    QCOMPARE(w->action(miNextLevel)->shortcut(), QKeySequence(Qt::Key_PageDown));
    QCOMPARE(w->action(miAI3)->shortcut(), QKeySequence("Ctrl+3"));
    QCOMPARE(w->action(miMirrorGame)->shortcut(), QKeySequence("Ctrl+M"));
    QCOMPARE(w->action(miLastLevel)->data().toInt(), -1);
    QCOMPARE(w->action(miSlow)->data().toInt(), 40);
    QVERIFY(!w->action(miMemoryStatus)->isVisible());
    QVERIFY(!w->action(miUseGrating)->isVisible());
    QVERIFY(w->action(miBrickfall)->isChecked());
    QVERIFY(w->action(miPlayers2)->isChecked());  // two players by default
    QVERIFY(w->menu(mbBrickfall)->menuAction()->isVisible());
    QVERIFY(!w->menu(mbMonsters)->menuAction()->isVisible());
  }

  void commandsUpdateTheMenus() {
    auto w = MakeWindow();
    w->action(miMirrorGame)->trigger();
    QVERIFY(w->action(miMirrorGame)->isChecked());
    w->action(miPlayers3)->trigger();
    QVERIFY(!w->action(miStartGame)->isEnabled());
    w->action(miPlayers4)->trigger();
    QVERIFY(w->action(miStartGame)->isEnabled());
    w->action(miStartGame)->trigger();
    QVERIFY(w->action(miStartGame)->isChecked());
    QVERIFY(!w->action(miNew)->isEnabled());
    QVERIFY(w->action(miAbortGame)->isEnabled());
    w->action(miPauseGame)->trigger();
    QCOMPARE(w->action(miPauseGame)->text(), QString("Continue Game"));
    w->action(miPauseGame)->trigger();
    w->action(miAbortGame)->trigger();
    QVERIFY(!w->action(miStartGame)->isChecked());

    w->action(miMonsters)->trigger();
    QVERIFY(w->menu(mbMonsters)->menuAction()->isVisible());
    QVERIFY(!w->menu(mbBrickfall)->menuAction()->isVisible());
    QCOMPARE(w->action(miScoreHouse)->text(), QString("Score House (-100)..."));
    QVERIFY(w->windowTitle().startsWith("Kelvra - Levels/Monsters/NoName.MoL"));
  }

  void editorOpensAndClosesWithItsWindow() {
    auto w = MakeWindow();
    w->action(miEditor)->trigger();
    QVERIFY(gCom.editorOpen);
    QVERIFY(w->editor() && w->editor()->isVisible());
    QVERIFY(!w->action(miMonsters)->isEnabled());
    w->editor()->close();
    QVERIFY(!gCom.editorOpen);
    QVERIFY(w->action(miMonsters)->isEnabled());
  }

  void closeIsRefusedWhileTheUserKeepsTheGame() {
    auto w = MakeWindow();
    w->action(miStartGame)->trigger();
    platform_.messageAnswers = {MsgButton::No};
    QVERIFY(!w->close());
    QVERIFY(w->isVisible());
    QVERIFY(gCom.k[gkBrickfall].running);
    platform_.messageAnswers = {MsgButton::Yes};
    QVERIFY(w->close());
  }

  void reopenListsTheKindsFiles() {
    auto w = MakeWindow();
    std::string file = dir_.File("one.BrL");
    platform_.saveAnswers.push_back(file);
    w->action(miSaveAs)->trigger();
    QCOMPARE(w->windowTitle(), QString("Kelvra - one.BrL"));
    QStringList entries = MenuTexts(w->reopenMenu());
    QCOMPARE(entries, QStringList({"&1 one.BrL"}));
    w->action(miMonsters)->trigger();
    QVERIFY(w->reopenMenu()->isEmpty());
    w->action(miBrickfall)->trigger();
    w->reopenMenu()->actions().first()->trigger();
    QCOMPARE(Cur().fileName, file);
  }
};

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
