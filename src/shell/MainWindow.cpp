// The main window: menus built from the menu table, the play area, the frame clocks and
// the window events, all handed to the controller.
#include "shell/MainWindow.h"

#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMenuBar>
#include <QMessageBox>
#include <QPainter>
#include <QScreen>
#include <QWindowStateChangeEvent>
#include <algorithm>

#include "common/Com.h"
#include "common/Dispatch.h"
#include "common/Paths.h"
#include "editor/EditorWindow.h"
#include "shell/QtPlatform.h"
#include "shell/Settings.h"

namespace kelvra {

namespace {
constexpr int kFrameWidth = 640, kFrameHeight = 440;

const char* const kStateText[] = {"", "", "Level Completed", "", "Game Aborted", "",
                                  "Game Over", "Game Over", "All Levels Completed"};
}  // namespace

TPlayArea::TPlayArea(QWidget* parent)
    : QWidget(parent), frame_(kFrameWidth, kFrameHeight, QImage::Format_RGB32) {
  frame_.fill(Qt::black);
  setMinimumSize(kFrameWidth, kFrameHeight);
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

QRect TPlayArea::FrameRect() const {
  int scale = std::max(1, std::min(width() / kFrameWidth, height() / kFrameHeight));
  QSize size(kFrameWidth * scale, kFrameHeight * scale);
  return QRect(QPoint((width() - size.width()) / 2, (height() - size.height()) / 2), size);
}

void TPlayArea::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), Qt::black);
  painter.drawImage(FrameRect(), frame_);
  // Until the frame composition draws into the frame, show what is loaded and the state.
  const TKindState& s = Cur();
  QRect r = FrameRect();
  painter.setPen(QColor(200, 200, 200));
  QString text = QString("%1\nLevel %2 of %3")
                     .arg(KindName(gCom.kind))
                     .arg(s.levelIndex + 1)
                     .arg(KindLevelCount(gCom.kind));
  if (gCom.paused) text += "\nGame Paused";
  else if (s.state < std::size(kStateText) && *kStateText[s.state]) text += QString("\n") + kStateText[s.state];
  painter.drawText(r, Qt::AlignCenter, text);
}

void TPlayArea::StoreMouse(QMouseEvent* event) {
  QRect r = FrameRect();
  int scale = std::max(1, r.width() / kFrameWidth);
  QPoint p = event->position().toPoint() - r.topLeft();
  const TRect& field = Cur().field;
  gCom.mouseX = p.x() / scale - field.left;
  gCom.mouseY = p.y() / scale - field.top;
  Qt::MouseButtons b = event->buttons();
  gCom.mouseButton[0] = (b & Qt::LeftButton) != 0;
  gCom.mouseButton[1] = (b & Qt::MiddleButton) != 0;
  gCom.mouseButton[2] = (b & Qt::RightButton) != 0;
}

void TPlayArea::mouseMoveEvent(QMouseEvent* event) { StoreMouse(event); }
void TPlayArea::mousePressEvent(QMouseEvent* event) { StoreMouse(event); }
void TPlayArea::mouseReleaseEvent(QMouseEvent* event) { StoreMouse(event); }

TfMain::TfMain(const QStringList& args, TKIniFile* ini, QtPlatform* platform, QWidget* parent)
    : QMainWindow(parent), ini_(ini), platform_(platform) {
  setObjectName("fMain");
  setWindowTitle("Kelvra");
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowCloseButtonHint);
  playArea_ = new TPlayArea(this);
  setCentralWidget(playArea_);
  CreateActions();
  CreateMenus();
  BindControl();
  if (platform_) platform_->SetMainWindow(this);

  connect(&moveTimer_, &QTimer::timeout, this, [this] { control_.MoveTick(); });
  connect(&drawTimer_, &QTimer::timeout, this, [this] {
    control_.DrawTick();
    if (control_.repaintImage) playArea_->update();
  });
  moveTimer_.setTimerType(Qt::PreciseTimer);
  drawTimer_.setTimerType(Qt::PreciseTimer);

  QRect screen(0, 0, 1920, 1080);
  if (QScreen* s = QGuiApplication::primaryScreen()) screen = s->availableGeometry();
  TSettingsContext& context = control_.settingsContext;
  context.screenWidth = screen.width();
  context.screenHeight = screen.height();
  context.windowWidth = kFrameWidth;
  context.windowHeight = kFrameHeight + menuBar()->sizeHint().height();

  std::vector<std::string> files;
  for (const QString& a : args) files.push_back(a.toStdString());
  control_.applyPriorities = platform_ != nullptr;
  control_.Startup(files, ini_);
  if (!isFullScreen()) {
    move(gOptions.mainLeft, gOptions.mainTop);
    SetFullScreen(false);
  }
}

TfMain::~TfMain() {
  const bool normal = !isFullScreen() && !isMinimized() && !isMaximized();
  if (normal) {
    gOptions.mainLeft = pos().x();
    gOptions.mainTop = pos().y();
  }
  control_.Shutdown(ini_, normal);
  if (platform_) platform_->SetMainWindow(nullptr);
}

void TfMain::CreateActions() {
  QActionGroup* groups[4] = {nullptr, new QActionGroup(this), new QActionGroup(this),
                             new QActionGroup(this)};  // by radio group 1..3
  for (int i = 0; i < miCount; ++i) {
    const TMenuItemDef& def = kMenuItems[i];
    QAction* a;
    if (!def.caption) {
      a = new QAction(this);
      a->setSeparator(true);
    } else if (def.id == miReopen) {
      reopenMenu_ = new QMenu(def.caption, this);
      a = reopenMenu_->menuAction();
    } else {
      a = new QAction(def.caption, this);
      a->setCheckable(def.checkable);
      if (*def.shortcut) a->setShortcut(QKeySequence(def.shortcut));
      if (def.radioGroup > 0) groups[def.radioGroup]->addAction(a);
      MenuId id = def.id;
      connect(a, &QAction::triggered, this, [this, id] {
        // The controller recomputes every check, overriding Qt's own toggle.
        control_.Command(id);
        ApplyMenus(control_.Menus());
      });
    }
    a->setData(def.tag);
    actions_[i] = a;
  }
  connect(actions_[miSettings], &QAction::triggered, this, [] {});
  connect(actions_[miAbout], &QAction::triggered, this, [this] { About(); });
}

void TfMain::CreateMenus() {
  for (int b = 0; b < mbCount; ++b) menus_[b] = menuBar()->addMenu(kMenuTitles[b]);
  for (int i = 0; i < miCount; ++i) {
    const TMenuItemDef& def = kMenuItems[i];
    QMenu* m = menus_[def.menu];
    if (def.separatorBefore) m->addSeparator();
    m->addAction(actions_[i]);
  }
  // The window's own shortcuts must work while the menus are closed.
  addActions(QList<QAction*>(std::begin(actions_), std::end(actions_)));
}

void TfMain::BindControl() {
  TMainHooks& h = control_.hooks;
  h.captionChanged = [this](const std::string& c) { setWindowTitle(QString::fromStdString(c)); };
  h.menusChanged = [this](const TMenuState& m) { ApplyMenus(m); };
  h.recentChanged = [this] { RebuildReopen(); };
  h.clocksChanged = [this](int moveMs, int drawMs, bool moveEnabled) {
    moveTimer_.setInterval(std::max(1, moveMs));
    drawTimer_.setInterval(std::max(1, drawMs));
    if (active_ && moveEnabled) moveTimer_.start();
    else moveTimer_.stop();
  };
  h.drawOverlay = [this] { playArea_->update(); };
  h.showEditor = [this](bool show) { ShowEditor(show); };
  h.refreshEditor = [this] {
    if (editor_) editor_->Refresh();
  };
  h.fullScreen = [this](bool on) { SetFullScreen(on); };
  h.zoomChanged = [this] {
    if (!isFullScreen()) SetFullScreen(false);
  };
  h.minimize = [this] { showMinimized(); };
  h.closeWindow = [this] { close(); };
}

void TfMain::ApplyMenus(const TMenuState& state) {
  for (int i = 0; i < miCount; ++i) {
    QAction* a = actions_[i];
    const TMenuItemState& s = state.item[i];
    a->setEnabled(s.enabled);
    a->setVisible(s.visible);
    if (a->isCheckable()) a->setChecked(s.checked);
    if (kMenuItems[i].caption) a->setText(QString::fromStdString(s.caption));
  }
  for (int b = 0; b < mbCount; ++b) menus_[b]->menuAction()->setVisible(state.menuVisible[b]);
  if (reopenMenu_ && reopenMenu_->isEmpty()) reopenMenu_->menuAction()->setEnabled(false);
}

void TfMain::RebuildReopen() {
  reopenMenu_->clear();
  int n = 0;
  for (const std::string& file : control_.recent[gCom.kind].Shown()) {
    QString text = QString("&%1 %2").arg(++n).arg(QString::fromStdString(RelativeToProgram(file)));
    QAction* a = reopenMenu_->addAction(text);
    connect(a, &QAction::triggered, this, [this, file] {
      control_.Reopen(file);
      ApplyMenus(control_.Menus());
    });
  }
  reopenMenu_->menuAction()->setEnabled(control_.Menus()[miReopen].enabled && n > 0);
}

void TfMain::ShowEditor(bool show) {
  if (show) {
    if (!editor_) {
      editor_ = new TfEditor(this);
      editor_->onClosed = [this] {
        if (gCom.editorOpen) control_.Command(miEditor);
      };
    }
    editor_->Refresh();
    editor_->show();
  } else if (editor_ && editor_->isVisible()) {
    editor_->hide();
  }
}

void TfMain::SetFullScreen(bool on) {
  if (on) {
    playArea_->setMinimumSize(kFrameWidth, kFrameHeight);
    playArea_->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    setMinimumSize(0, 0);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    if (QScreen* s = screen()) setGeometry(s->geometry());
    showFullScreen();
  } else {
    if (isFullScreen()) showNormal();
    const int zoom = WindowZoom();
    control_.zoom = zoom;
    playArea_->setFixedSize(kFrameWidth * zoom, kFrameHeight * zoom);
    setMinimumSize(0, 0);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    adjustSize();
    setFixedSize(sizeHint());
    ApplyMenus(control_.Menus());
  }
}

int TfMain::WindowZoom() const {
  if (gOptions.zoom >= 1 && gOptions.zoom <= 4) return gOptions.zoom;
  QRect screen(0, 0, kFrameWidth, kFrameHeight);
  if (QScreen* s = QGuiApplication::primaryScreen()) screen = s->availableGeometry();
  // Room for the menu bar and the window's frame, which the screen size does not include.
  const int extraHeight = menuBar()->sizeHint().height() + 48, extraWidth = 16;
  int zoom = 4;
  while (zoom > 1 && (kFrameWidth * zoom + extraWidth > screen.width() ||
                      kFrameHeight * zoom + extraHeight > screen.height()))
    --zoom;
  return zoom;
}

void TfMain::About() {
  QMessageBox::about(this, "About Kelvra",
                     QString("<b>Kelvra</b> %1<p>Brickfall, Monsters and Burrower in one "
                             "window, with a level editor.<p>Made by the Kelvra developers.")
                         .arg(KELVRA_VERSION));
}

void TfMain::SetClocksActive(bool active) {
  active_ = active;
  if (active) {
    drawTimer_.start();
    if (!gCom.paused) moveTimer_.start();
  } else {
    drawTimer_.stop();
    moveTimer_.stop();
  }
}

void TfMain::closeEvent(QCloseEvent* event) {
  if (control_.CloseRequest()) event->accept();
  else event->ignore();
}

void TfMain::changeEvent(QEvent* event) {
  if (event->type() == QEvent::ActivationChange) {
    SetClocksActive(isActiveWindow());
    if (!isActiveWindow() && platform_) platform_->ClearKeys();
  } else if (event->type() == QEvent::WindowStateChange) {
    auto* e = static_cast<QWindowStateChangeEvent*>(event);
    if (isMinimized() && !(e->oldState() & Qt::WindowMinimized)) control_.Minimized();
    else if (!isMinimized() && (e->oldState() & Qt::WindowMinimized)) control_.Restored();
  }
  QMainWindow::changeEvent(event);
}

void TfMain::keyPressEvent(QKeyEvent* event) {
  if (platform_) platform_->KeyEvent(event, true);
}

void TfMain::keyReleaseEvent(QKeyEvent* event) {
  if (platform_) platform_->KeyEvent(event, false);
}

void TfMain::focusOutEvent(QFocusEvent* event) {
  if (platform_) platform_->ClearKeys();
  QMainWindow::focusOutEvent(event);
}

}  // namespace kelvra
