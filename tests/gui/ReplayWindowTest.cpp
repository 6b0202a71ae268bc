// Replays through the real window: games of every kind played with QTest keys and the mouse
// are recorded, played back by kelvra-cli to their last digest, and played in the window
// with the user's level set and options put back afterwards. With
// KELVRA_UPDATE_GOLDEN_REPLAYS=1 the recordings replace tests/golden/replays/*.krp.
#include <QFileInfo>
#include <QMessageBox>
#include <QProcess>
#include <QtTest>
#include <filesystem>

#include "GuiTestUtil.h"
#include "TestUtil.h"
#include "base/FileIO.h"
#include "base/Paths.h"
#include "common/Com.h"
#include "common/Kinds.h"
#include "common/LevelSet.h"
#include "common/Options.h"
#include "common/Replay.h"
#include "shell/MainWindow.h"
#include "shell/QtPlatform.h"

using namespace kelvra;

class ReplayWindowTest : public QObject {
  Q_OBJECT

 private:
  test::TempDir dir_;
  QtPlatform qt_;

  std::unique_ptr<TfMain> MakeWindow(const std::string& set) {
    ResetCom();
    gOptions = TOptions{};
    gOptions.fullScreen = 0;
    gOptions.zoom = 1;
    gOptions.sounds = gOptions.music = 0;
    SetProgramDir(KELVRA_TEST_DATA_DIR);
    SetPlatform(&qt_);
    auto w = std::make_unique<TfMain>(QStringList{QString::fromStdString(set)}, nullptr, &qt_);
    w->show();
    w->activateWindow();
    return w;
  }
  static bool WaitSteps(uint32_t steps) {
    return QTest::qWaitFor([steps] { return gCom.stepCounter >= steps; }, 30000);
  }

 private slots:
  void initTestCase() {
    qputenv("XDG_DATA_HOME", QByteArray::fromStdString(dir_.File("data")));
    if (!QFileInfo::exists(QString(KELVRA_TEST_DATA_DIR) + "/Sounds"))
      QSKIP("the data tree is not built");
  }
  void cleanup() { SetPlatform(nullptr); }

  void gamesInTheWindowReplayAsPlayed_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("players");
    QTest::addColumn<int>("aiMask");
    QTest::addColumn<int>("mouse");  // the player on the mouse, -1 none
    QTest::addColumn<int>("test");   // Test Level
    QTest::newRow("brickfall") << int(gkBrickfall) << 2 << 2 << -1 << 0;
    QTest::newRow("brickfall-mouse") << int(gkBrickfall) << 1 << 0 << 0 << 0;
    QTest::newRow("monsters") << int(gkMonsters) << 1 << 0 << -1 << 0;
    QTest::newRow("burrower-two") << int(gkBurrower) << 2 << 0 << 1 << 1;
  }

  void gamesInTheWindowReplayAsPlayed() {
    QFETCH(int, kind);
    QFETCH(int, players);
    QFETCH(int, aiMask);
    QFETCH(int, mouse);
    QFETCH(int, test);
    const char* sets[] = {"Brickfall/Default.BrL", "Monsters/Default.MoL", "Burrower/Default.BuL"};
    const std::string set = std::string(KELVRA_TEST_DATA_DIR) + "/Levels/" + sets[kind];
    auto w = MakeWindow(set);
    w->action(MenuId(miBrickfall + kind))->trigger();
    gOptions.gameTick = 10;  // ms a step: a short test (the replay keeps it)
    gCom.k[kind].playersMinusOne = players - 1;
    for (int p = 0; p < players; ++p) {
      gCom.player[p].ai = uint8_t((aiMask >> p) & 1);
      gCom.player[p].input = uint8_t(p == mouse ? piMouse : piKeyboard1);
    }
    w->action(test ? miTestLevel : miStartGame)->trigger();
    QVERIFY(WaitSteps(5));
    // About 300 steps of keys and pointer.
    for (int i = 0; i < 6; ++i) {
      const Qt::Key key = i % 2 ? Qt::Key_Right : Qt::Key_Left;
      QTest::keyPress(w.get(), key);
      if (mouse >= 0) QTest::mouseMove(w->playArea(), QPoint(60 + 90 * i, 250 + 10 * i));
      QVERIFY(WaitSteps(gCom.stepCounter + 25));
      QTest::keyClick(w.get(), Qt::Key_Control);
      if (mouse >= 0 && i == 2)
        QTest::mouseClick(w->playArea(), Qt::LeftButton, {}, QPoint(200, 300));
      QVERIFY(WaitSteps(gCom.stepCounter + 25));
      QTest::keyRelease(w.get(), key);
    }
    if (gCom.k[kind].running) w->action(miAbortGame)->trigger();
    const std::string recorded = w->control().lastReplay;
    QVERIFY(!recorded.empty());
    QVERIFY(w->action(miSaveReplayAs)->isEnabled());
    QCOMPARE(QFileInfo(QString::fromStdString(recorded)).path().toStdString(),
             dir_.File("data") + "/kelvra/replays");

    // kelvra-cli plays it to the end with every digest as recorded.
    QProcess cli;
    cli.start(QString(KELVRA_TEST_BIN_DIR) + "/kelvra-cli",
              {"replay", QString::fromStdString(recorded)});
    QVERIFY(cli.waitForFinished(60000));
    QVERIFY2(cli.exitCode() == 0, cli.readAllStandardError().constData());

    // Played in the window at 4x: the user's set, options and players come back.
    // The user's set, marked as changed and unsaved, comes back as it was.
    const std::string userSet = gCom.k[kind].fileName;
    MarkModified(kind);
    FileFault fault;
    QVERIFY(WriteLevelSetCopy(kind, dir_.File("before"), fault));
    gOptions.gameTick = 12;
    gCom.player[0].input = piKeyboard1 + 1;
    test::TypeIntoFileDialog(QString::fromStdString(recorded));
    w->action(miPlayReplay)->trigger();
    QVERIFY(w->control().PlayingReplay());
    QVERIFY(w->action(miReplaySpeed4)->isEnabled());
    w->action(miReplaySpeed4)->trigger();
    QCOMPARE(gOptions.gameTick, 10);
    // Pause holds it; Abort Game stops it (one row), like the end of the recording.
    QVERIFY(WaitSteps(20));
    w->action(miPauseGame)->trigger();
    const uint32_t held = gCom.stepCounter;
    QTest::qWait(100);
    QCOMPARE(gCom.stepCounter, held);
    w->action(miPauseGame)->trigger();
    if (QTest::currentDataTag() == QByteArray("monsters")) w->action(miAbortGame)->trigger();
    QVERIFY(QTest::qWaitFor([&] { return !w->control().PlayingReplay(); }, 30000));
    QCOMPARE(gCom.k[kind].fileName, userSet);
    QCOMPARE(gOptions.gameTick, 12);
    QCOMPARE(int(gCom.player[0].input), int(piKeyboard1 + 1));
    QVERIFY(gCom.k[kind].modified);
    QVERIFY(WriteLevelSetCopy(kind, dir_.File("after"), fault));
    // Past the header (whose save time is that of each copy): the levels as they were.
    std::vector<uint8_t> before = test::ReadAll(dir_.File("before")),
                         after = test::ReadAll(dir_.File("after"));
    before.erase(before.begin(), before.begin() + sizeof(TLevelSetHeader));
    after.erase(after.begin(), after.begin() + sizeof(TLevelSetHeader));
    QVERIFY(before == after);
    const std::string kept = dir_.File(QTest::currentDataTag());
    test::TypeIntoFileDialog(QString::fromStdString(kept));
    w->action(miSaveReplayAs)->trigger();
    QVERIFY(QFileInfo::exists(QString::fromStdString(kept + ".krp")));

    if (qEnvironmentVariableIntValue("KELVRA_UPDATE_GOLDEN_REPLAYS")) {
      const std::string golden = std::string(KELVRA_TEST_SOURCE_DIR) + "/golden/replays/" +
                                 QTest::currentDataTag() + ".krp";
      std::filesystem::create_directories(std::filesystem::path(golden).parent_path());
      std::filesystem::copy_file(recorded, golden,
                                 std::filesystem::copy_options::overwrite_existing);
    }
  }

  // A damaged replay is refused with a message naming the file; nothing is played.
  void aDamagedReplayGetsAMessage() {
    auto w = MakeWindow(std::string(KELVRA_TEST_DATA_DIR) + "/Levels/Brickfall/Default.BrL");
    const std::string bad = dir_.File("bad.krp");
    test::WriteText(bad, "KRpl\x02");
    QString text;
    test::WhenShown<QMessageBox>([&](QMessageBox* box) {
      text = box->text();
      box->accept();
    });
    test::TypeIntoFileDialog(QString::fromStdString(bad));
    w->action(miPlayReplay)->trigger();
    QTRY_VERIFY(text.contains("bad.krp cannot be played: the file ends too soon"));
    QVERIFY(!w->control().PlayingReplay());
  }
};

QTEST_MAIN(ReplayWindowTest)
#include "ReplayWindowTest.moc"
