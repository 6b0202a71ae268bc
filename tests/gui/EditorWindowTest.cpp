// The level editor as a user works it: opened with Ctrl+E from the main window, squares
// painted and walls dragged with the mouse on the play field, the editor's shortcuts, the
// lock, and the editor closing with the main window. The dialogs are the scripted headless
// ones; the pictures and level sets are the generated data tree's.
#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QtTest>

#include "TestUtil.h"
#include "base/IOError.h"
#include "base/Paths.h"
#include "brickfall/BrickLevel.h"
#include "brickfall/BrickPictures.h"
#include "common/Com.h"
#include "common/Kinds.h"
#include "common/LevelSet.h"
#include "common/Settings.h"
#include "dialogs/GetIntDialog.h"
#include "editor/EditorWindow.h"
#include "monsters/MonsLevel.h"
#include "monsters/MonsState.h"
#include "platform/Headless.h"
#include "shell/MainWindow.h"

using namespace kelvra;

class EditorWindowTest : public QObject {
  Q_OBJECT

 private:
  test::TempDir dir_;
  HeadlessPlatform platform_;

  // The main window on the data tree with the default level set of `kind` current.
  std::unique_ptr<TfMain> MakeWindow(int kind) {
    ResetCom();
    ResetIOErrors();
    gOptions = TOptions{};
    gOptions.fullScreen = 0;
    gOptions.zoom = 1;
    gOptions.sounds = 0;
    gOptions.music = 0;
    const QString data = KELVRA_TEST_DATA_DIR;
    SetProgramDir(data.toStdString());
    SetPlatform(&platform_);
    platform_.log.clear();
    const char* files[] = {"Brickfall/Default.BrL", "Monsters/Default.MoL", "Burrower/Default.BuL"};
    auto w =
        std::make_unique<TfMain>(QStringList{data + "/Levels/" + files[kind]}, nullptr, nullptr);
    w->show();
    w->activateWindow();
    // The shortcuts go to the active window.
    if (!QTest::qWaitForWindowActive(w.get())) qWarning("the main window did not become active");
    return w;
  }

  // The play area's point of a field pixel of the current kind (zoom 1).
  static QPoint At(int x, int y) {
    const TRect& f = Cur().field;
    return {f.left + x, f.top + y};
  }
  static QPoint Square(int x, int y) { return At(20 * x + 10, 20 * y + 10); }  // Monsters

  static void Drag(QWidget* area, QPoint from, QPoint to, int steps = 4) {
    QTest::mousePress(area, Qt::LeftButton, {}, from);
    for (int i = 1; i <= steps; ++i) QTest::mouseMove(area, from + (to - from) * i / steps);
    QTest::mouseRelease(area, Qt::LeftButton, {}, to);
  }

  static uint8_t MonsKind(int x, int y) {
    return gMonsLevels[size_t(Cur().levelIndex)].Grid()[size_t((x * kMonsRows + y) * 3)];
  }
  static TWalls& Walls() { return gBrickLevels[size_t(Cur().levelIndex)].Walls(); }

  bool LogHas(const std::string& part) const {
    for (const std::string& line : platform_.log)
      if (line.find(part) != std::string::npos) return true;
    return false;
  }

 private slots:
  void init() {
    if (!QFileInfo::exists(QString(KELVRA_TEST_DATA_DIR) + "/Levels/Monsters/Default.MoL"))
      QSKIP("the data tree is not built");
  }
  void cleanup() { SetPlatform(nullptr); }

  void ctrlEOpensTheEditorAndDisablesTheMainCommands() {
    auto w = MakeWindow(gkMonsters);
    QTest::keyClick(w.get(), Qt::Key_E, Qt::ControlModifier);
    QVERIFY(gCom.editorOpen);
    TfEditor* e = w->editor();
    QVERIFY(e && e->isVisible() && (e->windowFlags() & Qt::Tool));
    for (MenuId id : {miBurrower, miNew, miOpen, miStartGame, miTestLevel})
      QVERIFY(!w->action(id)->isEnabled());
    // Prepared for Monsters: the square and direction lists, no wall controls or menus.
    QVERIFY(e->directionList()->isVisible() && !e->colourList()->isVisible());
    QVERIFY(!e->menu(emBackground)->menuAction()->isVisible());
    QCOMPARE(e->levelList()->count(), KindLevelCount(gkMonsters));
    QCOMPARE(e->windowTitle(), QString("Edit Level 1 / %1").arg(KindLevelCount(gkMonsters)));

    QTest::keyClick(w.get(), Qt::Key_E, Qt::ControlModifier);
    QVERIFY(!gCom.editorOpen && !e->isVisible());
    QVERIFY(!e->action(eiUndo)->isEnabled());  // its shortcuts rest while it is closed
    QTest::keyClick(w.get(), Qt::Key_E, Qt::ControlModifier);
    QVERIFY(e->close());  // its close box closes it the same way
    QVERIFY(!gCom.editorOpen && w->action(miOpen)->isEnabled());
  }

  void brickfallPropertiesFollowTheMenusAndTheLiveDialogs() {
    auto w = MakeWindow(gkBrickfall);
    QTest::keyClick(w.get(), Qt::Key_E, Qt::ControlModifier);
    TfEditor* e = w->editor();
    QVERIFY(e);
    TLevel& level = gBrickLevels[size_t(Cur().levelIndex)];
    // "Max Wind..." stays open and applies every change at once.
    level.f.maxWind = 0;
    e->Refresh();
    e->action(eiMaxWind)->trigger();
    TfGetInt* dialog = GetIntWindow();
    QVERIFY(dialog && dialog->isVisible());
    dialog->SetValue(5);
    QCOMPARE(int32_t(level.f.maxWind), 5);
    QCOMPARE(e->action(eiMaxWind)->text(), QString("Max Wind (5)..."));
    QVERIFY(e->action(eiMaxWind)->isChecked());
    dialog->reject();  // back to the value at opening
    QCOMPARE(int32_t(level.f.maxWind), 0);
    QVERIFY(!e->action(eiMaxWind)->isChecked());
    platform_.messageAnswers = {MsgButton::No};
  }

  void monstersSquaresArePaintedWithTheMouseAndUndoneWithCtrlZ() {
    auto w = MakeWindow(gkMonsters);
    w->action(miNew)->trigger();  // an empty level of None squares
    QTest::keyClick(w.get(), Qt::Key_E, Qt::ControlModifier);
    TfEditor* e = w->editor();
    QVERIFY(e);
    Drag(w->playArea(), Square(2, 3), Square(4, 4));
    QCOMPARE(e->squareList()->currentText(), QString("None"));  // the block's common kind

    QComboBox* kinds = e->squareList();
    kinds->setCurrentIndex(3);
    emit kinds->activated(3);  // "Wall"
    for (int x = 2; x <= 4; ++x)
      for (int y = 3; y <= 4; ++y) QCOMPARE(MonsKind(x, y), uint8_t(mkWall));
    QCOMPARE(MonsKind(5, 3), uint8_t(mkNone));
    QVERIFY(e->windowTitle().endsWith(" *"));
    QCOMPARE(e->action(eiUndo)->text(), QString("Undo (1)"));

    QTest::keyClick(w.get(), Qt::Key_Z, Qt::ControlModifier);  // from the play field
    QCOMPARE(MonsKind(3, 3), uint8_t(mkNone));
    QCOMPARE(e->action(eiUndo)->text(), QString("Undo (0)"));
    QCOMPARE(e->action(eiRedo)->text(), QString("Redo (1)"));
    QTest::keyClick(e, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);  // in the editor
    QCOMPARE(MonsKind(3, 3), uint8_t(mkWall));
  }

  void aBrickfallWallIsDraggedAndACopyPasted() {
    auto w = MakeWindow(gkBrickfall);
    w->action(miNew)->trigger();
    Walls().clear();
    TWall wall{};
    wall.x = 100, wall.y = 100, wall.shape = 0;
    Walls().push_back(wall);
    QTest::keyClick(w.get(), Qt::Key_E, Qt::ControlModifier);
    TfEditor* e = w->editor();
    QVERIFY(e);
    QVERIFY(e->colourList()->isVisible());
    QCOMPARE(e->wallCount()->text(), QString("1"));
    QVERIFY(gBrickPictures.width[0] > 4 && gBrickPictures.height[0] > 4);

    Drag(w->playArea(), At(102, 102), At(142, 122));
    QCOMPARE(Walls()[0].x, 140);
    QCOMPARE(Walls()[0].y, 120);
    QCOMPARE(e->xEdit()->text(), QString("140"));  // the selected wall's place
    QCOMPARE(e->action(eiUndo)->text(), QString("Undo (1)"));

    QTest::keyClick(w.get(), Qt::Key_C, Qt::ControlModifier);
    // A right click on empty space clears the selection and opens the popup with Paste.
    QTest::mouseClick(w->playArea(), Qt::RightButton, {}, At(300, 300));
    QVERIFY(e->menu(emPopup)->isVisible());
    QVERIFY(e->action(eiPaste)->isEnabled());
    e->menu(emPopup)->hide();
    w->activateWindow();  // where the window manager puts the focus back
    QVERIFY(QTest::qWaitForWindowActive(w.get()));
    QTest::mouseMove(w->playArea(), At(20, 30));
    QTest::keyClick(w.get(), Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(int(Walls().size()), 2);
    QCOMPARE(Walls()[1].x, 20);
    QCOMPARE(Walls()[1].y, 30);
    QCOMPARE(e->wallCount()->text(), QString("2"));
    e->xEdit()->selectAll();  // a typed X moves the pasted (selected) wall only
    QTest::keyClicks(e->xEdit(), "64");
    QTest::keyClick(e->xEdit(), Qt::Key_Return);
    QCOMPARE(Walls()[1].x, 64);
    QCOMPARE(Walls()[0].x, 140);
  }

  void lockIsRefusedOnAModifiedSet() {
    auto w = MakeWindow(gkMonsters);
    w->action(miNew)->trigger();
    QTest::keyClick(w.get(), Qt::Key_E, Qt::ControlModifier);
    TfEditor* e = w->editor();
    QVERIFY(e);
    e->action(eiNewLevel)->trigger();
    QVERIFY(Cur().modified);
    e->action(eiLock)->trigger();
    QVERIFY(LogHas("Can not Lock levels"));
    QVERIFY(gCom.editorOpen);
    QCOMPARE(int(Cur().header.lock), 0);

    // Saved, the set is locked on Yes and the editor closes.
    platform_.saveAnswers.push_back(dir_.File("locked.MoL"));
    w->action(miSaveAs)->trigger();
    QVERIFY(!e->windowTitle().endsWith(" *"));
    platform_.messageAnswers = {MsgButton::Yes};
    e->action(eiLock)->trigger();
    QVERIFY(!gCom.editorOpen);
    QVERIFY(!e->isVisible());
    QCOMPARE(Cur().header.lock, kLocked);
    QTest::keyClick(w.get(), Qt::Key_E, Qt::ControlModifier);
    QVERIFY(!gCom.editorOpen);
    QVERIFY(LogHas("is locked, select other file"));
  }

  void theEditorClosesWithTheMainWindow() {
    auto w = MakeWindow(gkBurrower);
    QTest::keyClick(w.get(), Qt::Key_E, Qt::ControlModifier);
    QPointer<TfEditor> e = w->editor();
    QVERIFY(e);
    QVERIFY(e->isVisible());
    QVERIFY(w->close());
    QVERIFY(!gCom.editorOpen);
    QVERIFY(!e->isVisible());
    w.reset();
    QVERIFY(e.isNull());  // freed with the main window
  }

  // Each kind's editor beside its play field, with a selection; every control gets the
  // width it asks for. With KELVRA_SCREENSHOT_DIR set the pictures are written there.
  void screenshotsOfTheThreeKinds() {
    const char* names[] = {"brickfall", "monsters", "burrower"};
    for (int kind : {gkBrickfall, gkMonsters, gkBurrower}) {
      auto w = MakeWindow(kind);
      QTest::keyClick(w.get(), Qt::Key_E, Qt::ControlModifier);
      TfEditor* e = w->editor();
      QVERIFY(e);
      if (kind == gkBrickfall && !Walls().empty()) {
        const TWall& first = Walls()[0];
        QTest::mouseClick(w->playArea(), Qt::LeftButton, {}, At(first.x + 2, first.y + 2));
      } else if (kind == gkMonsters) {
        Drag(w->playArea(), Square(9, 2), Square(12, 3));  // earth
      } else {
        Drag(w->playArea(), At(30, 150), At(140, 150));  // a row of earth
      }
      QApplication::processEvents();
      for (QWidget* c : e->findChildren<QWidget*>()) {
        if (!c->isVisibleTo(e) || (!qobject_cast<QComboBox*>(c) && !qobject_cast<QLineEdit*>(c)))
          continue;
        // The layout follows a changed list on a later pass of the event loop.
        QTRY_VERIFY2(c->width() >= c->minimumSizeHint().width(), qPrintable(c->objectName()));
      }
      QVERIFY(e->width() >= e->minimumSizeHint().width());

      // Each window under a strip with its caption, as the title bar would show it.
      const QPixmap field = w->grab(), tool = e->grab();
      const qreal ratio = field.devicePixelRatio();
      const QSize fieldSize = field.size() / ratio, toolSize = tool.size() / ratio;
      constexpr int kGap = 8, kStrip = 22;
      const QSize size(fieldSize.width() + toolSize.width() + 3 * kGap,
                       std::max(fieldSize.height(), toolSize.height()) + kStrip + 2 * kGap);
      QPixmap shot(size * ratio);
      shot.setDevicePixelRatio(ratio);
      shot.fill(QColor(64, 64, 72));
      QPainter painter(&shot);
      const int toolLeft = fieldSize.width() + 2 * kGap;
      painter.setPen(Qt::white);
      painter.drawText(QRect(kGap, kGap, fieldSize.width(), kStrip), Qt::AlignVCenter,
                       w->windowTitle());
      painter.drawText(QRect(toolLeft, kGap, toolSize.width(), kStrip), Qt::AlignVCenter,
                       e->windowTitle());
      painter.drawPixmap(kGap, kGap + kStrip, field);
      painter.drawPixmap(toolLeft, kGap + kStrip, tool);
      painter.end();
      QVERIFY(e->width() >= e->menuBar()->sizeHint().width());  // no menu behind "more"
      const QString out = qEnvironmentVariable("KELVRA_SCREENSHOT_DIR");
      if (!out.isEmpty())
        QVERIFY(shot.save(QDir(out).filePath(QString("editor-%1.png").arg(names[kind]))));
      platform_.messageAnswers = {MsgButton::No};  // nothing to save, should it ask
      QVERIFY(w->close());
    }
  }
};

QTEST_MAIN(EditorWindowTest)
#include "EditorWindowTest.moc"
