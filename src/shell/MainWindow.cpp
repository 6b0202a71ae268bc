// The main window: menus built from the menu table, the play area, the frame clocks and
// the window events, all handed to the controller.
#include "shell/MainWindow.h"

#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QPaintEvent>
#include <QPainter>
#include <QPixmap>
#include <QPointer>
#include <QScreen>
#include <QWindowStateChangeEvent>
#include <algorithm>
#include <cmath>
#include <cstring>

#include "base/FileIO.h"
#include "base/Paths.h"
#include "common/Com.h"
#include "common/Events.h"
#include "common/Kinds.h"
#include "common/Players.h"
#include "common/Recovery.h"
#include "common/Scores.h"
#include "common/Settings.h"
#include "dialogs/AboutBox.h"
#include "dialogs/InfoWindow.h"
#include "dialogs/ScoresWindow.h"
#include "editor/EditorWindow.h"
#include "shell/QtPlatform.h"
#include "shell/SettingsDialog.h"

namespace kelvra {

namespace {
constexpr int kFrameWidth = 640, kFrameHeight = 440;
constexpr int kMaxZoom = 4;
// Room for a window's frame (borders and title bar), which the screen's available area
// does not leave out and which is not known before the window is shown.
constexpr int kDecorationWidth = 16, kDecorationHeight = 48;

// A bitmap's bottom-up BGR rows in the top-down 32-bit layout of the window's backing
// store, so that drawing it is a plain copy.
void CopyToImage(const TKBitmap& bitmap, QImage& image) {
  image = QImage(bitmap.Width(), bitmap.Height(), QImage::Format_RGB32);
  for (int y = 0; y < bitmap.Height(); ++y) {
    const uint8_t* src = bitmap.Row(y);
    auto* dst = reinterpret_cast<uint32_t*>(image.scanLine(y));
    for (int x = 0; x < bitmap.Width(); ++x, src += 3)
      dst[x] = 0xFF000000u | uint32_t(src[2]) << 16 | uint32_t(src[1]) << 8 | src[0];
  }
}

// Whether `vk` is a key of a keyboard mapping that a player of the current kind's running
// game reads. Held modifiers do not matter: with player 1 firing on Ctrl, player 2's S must
// move player 2, not save the level set; a pad digit is the pad's own code, never Ctrl+1.
bool PlayersKeyInGame(int vk) {
  const TKindState& s = Cur();
  if (vk <= 0 || !s.running || gCom.paused) return false;
  for (int p = 0; p <= s.playersMinusOne && p < kPlayers; ++p) {
    const uint8_t input = gCom.player[p].input;
    if (input >= kKeyMaps) continue;  // the mouse or a joystick
    for (uint16_t key : gCom.keyMap[input])
      if (key == vk) return true;
  }
  return false;
}

// The largest whole zoom, 1..kMaxZoom, at which the frame fits into `room`.
int LargestZoom(QSize room) {
  int zoom = kMaxZoom;
  while (zoom > 1 && (kFrameWidth * zoom > room.width() || kFrameHeight * zoom > room.height()))
    --zoom;
  return zoom;
}
}  // namespace

TPlayArea::TPlayArea(const TKBitmap& frame, QWidget* parent) : QWidget(parent), frame_(frame) {
  setMinimumSize(kFrameWidth, kFrameHeight);
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void TPlayArea::SetZoom(int zoom) {
  zoom_ = std::clamp(zoom, 1, kMaxZoom);
  update();
}

int TPlayArea::Zoom() const {
  return std::min(zoom_, LargestZoom(size()));
}

QRect TPlayArea::FrameRect() const {
  const int zoom = Zoom();
  QSize size(kFrameWidth * zoom, kFrameHeight * zoom);
  return QRect(QPoint((width() - size.width()) / 2, (height() - size.height()) / 2), size);
}

QPoint TPlayArea::FramePixel(QPointF position) const {
  const QRect r = FrameRect();
  const double zoom = Zoom();
  return QPoint(int(std::floor((position.x() - r.left()) / zoom)),
                int(std::floor((position.y() - r.top()) / zoom)));
}

void TPlayArea::SetPointerHidden(bool hidden) {
  // Setting a cursor is a request to the window system even when it is the same one.
  if (hidden == pointerHidden_) return;
  pointerHidden_ = hidden;
  setCursor(hidden ? Qt::BlankCursor : Qt::ArrowCursor);
}

void TPlayArea::ScalePixels(int y, int x0, int x1) {
  const uint8_t* src = shown_.data() + size_t(y) * 3 * frameSize_.width() + 3 * x0;
  const int zoom = imageZoom_;
  const qsizetype stride = image_.bytesPerLine() / 4;
  uint32_t* dst = reinterpret_cast<uint32_t*>(image_.bits()) + y * zoom * stride + x0 * zoom;
  for (int x = x0; x < x1; ++x, src += 3, dst += zoom) {
    const uint32_t c = 0xFF000000u | uint32_t(src[2]) << 16 | uint32_t(src[1]) << 8 | src[0];
    for (int dy = 0; dy < zoom; ++dy) std::fill_n(dst + dy * stride, zoom, c);
  }
}

QRegion TPlayArea::Present() {
  if (frame_.Empty()) return {};
  const int w = frame_.Width(), h = frame_.Height(), rowBytes = 3 * w;
  if (frameSize_ != QSize(w, h) || imageZoom_ != Zoom()) {
    frameSize_ = QSize(w, h);
    shown_.resize(size_t(rowBytes) * h);
    for (int y = 0; y < h; ++y)
      std::memcpy(shown_.data() + size_t(y) * rowBytes, frame_.Row(y), rowBytes);
    ScaleAll();
    update();
    return QRegion(rect());
  }
  // Each row is compared with the one shown, sixteen pixels at a time; only the pixels
  // that differ are scaled into the image. The changed columns of a band of rows make one
  // rectangle to repaint: a frame of moving stars costs a few dozen rectangles, not one per
  // star, which would cost more than the larger area they leave out.
  constexpr int kBandRows = 8;
  const QRect r = FrameRect();
  const int zoom = imageZoom_;
  QRegion changed;
  for (int band = 0; band < h; band += kBandRows) {
    int x0 = w, x1 = 0;
    const int bandEnd = std::min(h, band + kBandRows);
    for (int y = band; y < bandEnd; ++y) {
      const uint8_t* row = frame_.Row(y);
      uint8_t* old = shown_.data() + size_t(y) * rowBytes;
      if (std::memcmp(row, old, size_t(rowBytes)) == 0) continue;
      constexpr int kGroup = 16;  // pixels; a group that differs is looked at pixel by pixel
      for (int g = 0; g < w; g += kGroup) {
        const int n = std::min(kGroup, w - g);
        if (n == kGroup && std::memcmp(row + 3 * g, old + 3 * g, 3 * kGroup) == 0) continue;
        for (int x = g; x < g + n; ++x) {
          const int b = 3 * x;
          if (row[b] == old[b] && row[b + 1] == old[b + 1] && row[b + 2] == old[b + 2]) continue;
          std::memcpy(old + b, row + b, 3);
          ScalePixels(y, x, x + 1);
          x0 = std::min(x0, x);
          x1 = std::max(x1, x + 1);
        }
      }
    }
    if (x0 < x1)
      changed += QRect(r.left() + x0 * zoom, r.top() + band * zoom, (x1 - x0) * zoom,
                       (bandEnd - band) * zoom);
  }
  if (!changed.isEmpty()) update(changed);
  return changed;
}

void TPlayArea::ScaleAll() {
  imageZoom_ = Zoom();
  image_ = QImage(frameSize_ * imageZoom_, QImage::Format_RGB32);
  for (int y = 0; y < frameSize_.height(); ++y) ScalePixels(y, 0, frameSize_.width());
}

void TPlayArea::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  const QRect r = FrameRect();
  if (!frameSize_.isEmpty() && imageZoom_ != Zoom()) ScaleAll();  // the area was resized
  for (const QRect& dirty : event->region()) {
    if (!r.contains(dirty) || image_.isNull()) painter.fillRect(dirty, Qt::black);
    const QRect inside = dirty & r;
    // The image holds the frame at the zoom already: a plain copy.
    if (!inside.isEmpty() && !image_.isNull())
      painter.drawImage(inside.topLeft(), image_, inside.translated(-r.topLeft()));
  }
}

void TPlayArea::StoreMouse(QMouseEvent* event) {
  const QPoint p = FramePixel(event->position());
  const TRect& field = Cur().field;
  gCom.mouseX = p.x() - field.left;
  gCom.mouseY = p.y() - field.top;
  Qt::MouseButtons b = event->buttons();
  gCom.mouseButton[0] = (b & Qt::LeftButton) != 0;
  gCom.mouseButton[1] = (b & Qt::MiddleButton) != 0;
  gCom.mouseButton[2] = (b & Qt::RightButton) != 0;
}

void TPlayArea::mouseMoveEvent(QMouseEvent* event) {
  StoreMouse(event);
  if (onMouse) onMouse(QEvent::MouseMove, *event);
}

void TPlayArea::mousePressEvent(QMouseEvent* event) {
  StoreMouse(event);
  if (onButton) onButton(event->button(), true);
  if (onMouse) onMouse(QEvent::MouseButtonPress, *event);
}

void TPlayArea::mouseReleaseEvent(QMouseEvent* event) {
  StoreMouse(event);
  if (onButton) onButton(event->button(), false);
  if (onMouse) onMouse(QEvent::MouseButtonRelease, *event);
}

TfMain::TfMain(const QStringList& args, TKIniFile* ini, QtPlatform* platform, QWidget* parent)
    : QMainWindow(parent), ini_(ini), platform_(platform) {
  setObjectName("fMain");
  setWindowTitle("Kelvra");
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowCloseButtonHint);
  playArea_ = new TPlayArea(control_.frame, this);
  playArea_->onButton = [this](Qt::MouseButton button, bool pressed) {
    // The mouse buttons also have virtual-key codes: 1 left, 2 right, 4 middle.
    int vk = button == Qt::LeftButton     ? 1
             : button == Qt::RightButton  ? 2
             : button == Qt::MiddleButton ? 4
                                          : 0;
    if (vk && platform_) platform_->MouseButton(vk, pressed);
  };
  playArea_->onMouse = [this](QEvent::Type type, const QMouseEvent& event) {
    if (gCom.editorOpen && editor_) editor_->FieldMouse(type, event);
  };
  setCentralWidget(playArea_);
  qApp->installEventFilter(this);
  CreateActions();
  CreateMenus();
  BindControl();
  if (platform_) platform_->SetMainWindow(this);

  idleTimer_.setSingleShot(true);
  idleTimer_.setTimerType(Qt::PreciseTimer);
  connect(&idleTimer_, &QTimer::timeout, this, [this] { RunIdlePass(); });
  idleTimer_.start(0);

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
  control_.recordReplays = platform_ != nullptr;
  control_.Startup(files, ini_);
  if (!isFullScreen()) {
    move(gOptions.mainLeft, gOptions.mainTop);
    SetFullScreen(false);
  }
}

TfMain::~TfMain() {
  qApp->removeEventFilter(this);
  const bool normal = !isFullScreen() && !isMinimized() && !isMaximized();
  if (normal) {
    gOptions.mainLeft = pos().x();
    gOptions.mainTop = pos().y();
  }
  control_.Shutdown(ini_, normal);
  if (platform_) platform_->SetMainWindow(nullptr);
}

void TfMain::CreateActions() {
  // Exclusive groups: a click on the checked item keeps it checked (and still runs it).
  QActionGroup* groups[rgCount] = {};
  for (int g = rgNone + 1; g < rgCount; ++g) groups[g] = new QActionGroup(this);
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
      if (def.radioGroup > rgNone && def.radioGroup < rgCount) groups[def.radioGroup]->addAction(a);
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
  connect(actions_[miSettings], &QAction::triggered, this, [this] {
    control_.BeginMeasurePause();
    const TSettingsResult result = RunSettingsDialog(this, control_.PlayingReplay());
    control_.EndMeasurePause();
    if (result.accepted) {
      if (result.changes.display) SetFullScreen(gOptions.fullScreen);
      if (result.changes.openSound || result.changes.reopenSound) control_.SoundOptionsChanged();
      if (result.changes.music) control_.MusicOptionChanged();
    }
    control_.UpdateMenus();
  });
  connect(actions_[miGameInfo], &QAction::triggered, this, [this] {
    control_.BeginMeasurePause();
    ShowGameInfo(this);
    control_.EndMeasurePause();
    control_.UpdateMenus();
  });
  connect(actions_[miAbout], &QAction::triggered, this, [this] { About(); });

  // Full screen and the zoom steps are the window's own: F11 flips the stored option.
  fullScreenAction_ = new QAction(QStringLiteral("Full Screen"), this);
  fullScreenAction_->setCheckable(true);
  fullScreenAction_->setShortcut(QKeySequence(Qt::Key_F11));
  connect(fullScreenAction_, &QAction::triggered, this, [this] {
    gOptions.fullScreen = !gOptions.fullScreen;
    SetFullScreen(gOptions.fullScreen);
  });
  actions_[miZoom1]->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_0));
  auto* zoomIn = new QAction(this);
  zoomIn->setShortcuts(
      {QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)});
  connect(zoomIn, &QAction::triggered, this, [this] { ZoomStep(1); });
  auto* zoomOut = new QAction(this);
  zoomOut->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Minus));
  connect(zoomOut, &QAction::triggered, this, [this] { ZoomStep(-1); });
  addActions({zoomIn, zoomOut});
  connect(actions_[miHighScores], &QAction::triggered, this, [this] {
    control_.BeginMeasurePause();
    ShowScoresWindow(this);
    control_.EndMeasurePause();
  });
}

void TfMain::CreateMenus() {
  for (int b = 0; b < mbCount; ++b) {
    menus_[b] = menuBar()->addMenu(kMenuTitles[b]);
    menus_[b]->setToolTipsVisible(true);  // a disabled command's tip says why
  }
  for (int i = 0; i < miCount; ++i) {
    const TMenuItemDef& def = kMenuItems[i];
    QMenu* m = menus_[def.menu];
    if (def.separatorBefore) m->addSeparator();
    m->addAction(actions_[i]);
    if (i == miZoom4) m->addAction(fullScreenAction_);
  }
  // The window's own shortcuts must work while the menus are closed.
  addActions(QList<QAction*>(std::begin(actions_), std::end(actions_)));
  addAction(fullScreenAction_);
}

void TfMain::BindControl() {
  TMainHooks& h = control_.hooks;
  h.captionChanged = [this](const std::string& c) { setWindowTitle(QString::fromStdString(c)); };
  h.menusChanged = [this](const TMenuState& m) { ApplyMenus(m); };
  h.recentChanged = [this] { RebuildReopen(); };
  h.present = [this](bool pointerInField) {
    playArea_->SetPointerHidden(pointerInField);
    playArea_->Present();
  };
  h.showEditor = [this](bool show) { ShowEditor(show); };
  h.refreshEditor = [this] {
    if (editor_) editor_->Refresh();
  };
  h.fullScreen = [this](bool on) { SetFullScreen(on); };
  h.showHighScores = [this](int) { ShowScoresWindow(this); };
  h.showLogo = [this] { ShowLogo(); };
  h.zoomChanged = [this] { ApplyZoom(isFullScreen()); };
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
    const QString tip = QString::fromStdString(s.tip);
    if (a->statusTip() != tip) {
      a->setStatusTip(tip);
      a->setToolTip(tip);
    }
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

// The editor window is made on first use and kept; it closes with the main window (the
// close request closes the editor first) and is freed with it.
void TfMain::ShowEditor(bool show) {
  if (show) {
    if (!editor_) {
      editor_ = new TfEditor(ini_, this);
      editor_->onClosed = [this] {
        if (gCom.editorOpen) control_.Command(miEditor);
      };
      editor_->onFieldChanged = [this] { control_.DrawOverlayOnce(); };
      editor_->onDialog = [this](bool begin) {
        if (begin)
          control_.BeginMeasurePause();
        else
          control_.EndMeasurePause();
      };
      // The editor's shortcuts also work while the play field has the focus.
      addActions(editor_->editorActions());
    }
    editor_->Open();
  } else if (editor_) {
    editor_->Close();
    control_.DrawOverlayOnce();
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
  } else if (isFullScreen()) {
    showNormal();
  }
  fullScreenAction_->setChecked(on);
  ApplyZoom(on);
}

QSize TfMain::FrameRoom(bool fullScreen) const {
  QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen();
  if (!s) return QSize(kFrameWidth, kFrameHeight);
  // The menu bar stays in full screen, as it did on the old 640 x 480 display mode.
  QSize room = fullScreen ? s->geometry().size() : s->availableGeometry().size();
  room.rheight() -= menuBar()->sizeHint().height();
  if (!fullScreen) room -= QSize(kDecorationWidth, kDecorationHeight);
  return room;
}

void TfMain::ApplyZoom(bool fullScreen) {
  const int largest = LargestZoom(FrameRoom(fullScreen));
  const int zoom = gOptions.zoom >= 1 && gOptions.zoom <= largest ? gOptions.zoom : largest;
  control_.maxZoom = largest;
  control_.zoom = zoom;
  playArea_->SetZoom(zoom);
  if (!fullScreen) {
    playArea_->setFixedSize(kFrameWidth * zoom, kFrameHeight * zoom);
    setMinimumSize(0, 0);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    adjustSize();
    setFixedSize(sizeHint());
    // A stored position made for a smaller window may leave part of it off the screen.
    if (QScreen* s = screen()) {
      const QRect available = s->availableGeometry();
      const QSize outer = frameGeometry().size().expandedTo(size());
      const int x = std::clamp(pos().x(), available.left(),
                               std::max(available.left(), available.right() + 1 - outer.width()));
      const int y = std::clamp(pos().y(), available.top(),
                               std::max(available.top(), available.bottom() + 1 - outer.height()));
      if (QPoint(x, y) != pos()) move(x, y);
    }
  }
  control_.UpdateMenus();
}

void TfMain::ZoomStep(int delta) {
  const int zoom = std::clamp(control_.zoom + delta, 1, control_.maxZoom);
  if (zoom != control_.zoom) actions_[miZoom1 + zoom - 1]->trigger();
}

void TfMain::ShowLogo() {
  TKBitmap logo;
  std::string file = ProgramDir() + "Graphics/Logo.bmp";
  if (!FileExists(file) || !LoadFromFile(logo, file, 0, 0, FileOwner::Program) || logo.Empty())
    return;
  QImage image;
  CopyToImage(logo, image);
  auto* splash =
      new QLabel(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
  splash->setAttribute(Qt::WA_DeleteOnClose);
  splash->setPixmap(QPixmap::fromImage(image));
  splash->adjustSize();
  if (QScreen* s = QGuiApplication::primaryScreen())
    splash->move(s->geometry().center() - splash->rect().center());
  splash->show();
  QTimer::singleShot(3000, splash, &QWidget::close);  // at least 3 s from its creation
}

void TfMain::About() {
  control_.BeginMeasurePause();
  ShowAboutBox(this);
  control_.EndMeasurePause();
}

void TfMain::RunIdlePass() {
  TKIdleTimer* dispatcher = TKIdleTimer::Shared();
  if (!dispatcher) return;
  TIdleResult result = dispatcher->IdlePass();
  // Instead of sleeping on the user-interface thread, come back when the next clock is
  // due (or at once when a clock just fired); nothing running: look again in 40 ms.
  idleTimer_.start(result.done ? 40 : result.sleepMs);
}

void TfMain::StartRecovery() {
  control_.OfferRecoveryCopies();
  constexpr int kRecoveryLookMs = 5000;  // the copy itself follows kRecoveryPeriodMs
  connect(&recoveryTimer_, &QTimer::timeout, this, [] { KeepRecoveryCopies(Platform().NowMs()); });
  recoveryTimer_.start(kRecoveryLookMs);
}

void TfMain::EndBySignal() {
  WriteRecoveryCopies(Platform().NowMs());  // whatever happens next, the work is kept
  control_.ending = true;
  // A modal dialog runs its own event loop inside a command; ending every loop unwinds it
  // (the loops started afterwards return at once), and main() then destroys the window,
  // which saves the settings.
  if (QApplication::activeModalWidget() || QApplication::activePopupWidget()) {
    QCoreApplication::exit(0);
    return;
  }
  closeWithoutQuestions_ = true;
  close();
  QCoreApplication::exit(0);
}

// Every modal window, whoever opens it (the services' questions and file dialogs, the
// window's own dialogs, the editor's), blocks this window while it is open: the one place
// where the game learns that it has to stand still.
void TfMain::closeEvent(QCloseEvent* event) {
  if (closeWithoutQuestions_) {
    control_.CloseWithoutQuestions();
    event->accept();
  } else if (control_.CloseRequest())
    event->accept();
  else
    event->ignore();
}

void TfMain::changeEvent(QEvent* event) {
  if (event->type() == QEvent::ActivationChange) {
    if (TKIdleTimer* dispatcher = TKIdleTimer::Shared()) dispatcher->SetAppActive(isActiveWindow());
    if (isActiveWindow())
      control_.Activated();
    else if (platform_)
      platform_->ClearKeys();
  } else if (event->type() == QEvent::WindowStateChange) {
    auto* e = static_cast<QWindowStateChangeEvent*>(event);
    if (isMinimized() && !(e->oldState() & Qt::WindowMinimized))
      control_.Minimized();
    else if (!isMinimized() && (e->oldState() & Qt::WindowMinimized))
      control_.Restored();
  }
  QMainWindow::changeEvent(event);
}

bool TfMain::event(QEvent* event) {
  const QEvent::Type type = event->type();
  // Every modal window of the program blocks this one: the game holds still behind it.
  if ((type == QEvent::WindowBlocked && !blocked_) ||
      (type == QEvent::WindowUnblocked && blocked_)) {
    blocked_ = type == QEvent::WindowBlocked;
    control_.DialogShown(blocked_);
  }
  if (type == QEvent::ShortcutOverride) {
    const auto* key = static_cast<QKeyEvent*>(event);
    // Accepted, the press comes as a plain key press (keyPressEvent) instead of a shortcut.
    if (PlayersKeyInGame(QtKeyToVk(key->key(), key->modifiers(), key->nativeVirtualKey()))) {
      event->accept();
      return true;
    }
  }
  return QMainWindow::event(event);
}

// Without a window manager nobody hands the keyboard back when a window closes: X gives it
// to the root window, and P, Ctrl+1..5 and the players' keys would go nowhere. So every
// other window of the program that closes while it has the keyboard (a dialog, the editor,
// the start logo) gives it back to the window it came from. A window that closes while the
// user works in another program leaves the focus alone.
bool TfMain::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::Hide || event->spontaneous() || watched == this ||
      !watched->isWidgetType())
    return false;
  auto* window = static_cast<QWidget*>(watched);
  if (!window->isWindow() || window->windowType() == Qt::Popup ||
      window->windowType() == Qt::ToolTip)
    return false;
  QWidget* back = window->parentWidget() ? window->parentWidget()->window() : this;
  // While it hides, the closing window may already have left the widgets' active window
  // (then it still is the focus window), or the window system may not have told Qt yet that
  // it took the keyboard (then the window it came from still is the active window).
  QWidget* active = QApplication::activeWindow();
  const bool hadKeyboard = QGuiApplication::focusWindow() == window->windowHandle() ||
                           active == window || active == back;
  if (hadKeyboard) {
    QPointer<QWidget> to = back;
    QTimer::singleShot(0, this, [this, to] { ReturnFocus(to); });
  }
  return false;
}

void TfMain::ReturnFocus(QWidget* back) {
  if (QApplication::activePopupWidget()) return;  // a menu is open: it keeps the keyboard
  QWidget* to = QApplication::activeModalWidget();
  if (!to) to = back && back->isVisible() ? back : this;
  if (!to->isVisible() || to->isMinimized()) return;
  to->activateWindow();
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
