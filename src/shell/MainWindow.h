// The main window TfMain: menu bar, play area and the two frame clocks, bound to the
// controller that holds the window's logic.
#pragma once

#include <QEvent>
#include <QImage>
#include <QMainWindow>
#include <QTimer>
#include <QWidget>
#include <functional>

#include "session/MainControl.h"

class QAction;
class QMenu;

namespace kelvra {

class QtPlatform;
class TfEditor;
class TKIniFile;

// The play area: shows the 640 x 440 frame, scaled by whole factors and centred on black
// when the window is larger, and reports the mouse in frame pixels.
class TPlayArea : public QWidget {
  Q_OBJECT
 public:
  TPlayArea(const TKBitmap& frame, QWidget* parent = nullptr);
  QSize sizeHint() const override { return QSize(640, 440); }
  std::function<void(Qt::MouseButton, bool pressed)> onButton;
  // Every press, move and release, after the pointer is stored (the editor's handlers).
  std::function<void(QEvent::Type, const QMouseEvent&)> onMouse;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  QRect FrameRect() const;
  void StoreMouse(QMouseEvent* event);
  const TKBitmap& frame_;
  QImage image_;  // the frame in the backing store's layout
};

class TfMain : public QMainWindow {
  Q_OBJECT
 public:
  // `platform` may be null (then the window does not feed a key table); `ini` may be null.
  TfMain(const QStringList& args, TKIniFile* ini, QtPlatform* platform, QWidget* parent = nullptr);
  ~TfMain() override;

  TMainControl& control() { return control_; }
  QAction* action(MenuId id) const { return actions_[id]; }
  QMenu* menu(MenuBar bar) const { return menus_[bar]; }
  QMenu* reopenMenu() const { return reopenMenu_; }
  TPlayArea* playArea() const { return playArea_; }
  TfEditor* editor() const { return editor_; }
  // SIGTERM, SIGINT or SIGHUP: the window closes as by the user, without questions.
  void EndBySignal();
  // The program's own window (not a test's): offers back the recovery copies and keeps them
  // from then on.
  void StartRecovery();
  bool ending() const { return control_.ending; }  // EndBySignal came: no event loop to run

 protected:
  // A modal window blocks the game; a player's key during a game goes to the game even
  // when it completes a shortcut.
  bool event(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;
  // Watches the program's other windows close, to take the keyboard back (ReturnFocus).
  bool eventFilter(QObject* watched, QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  void CreateActions();
  void CreateMenus();
  void BindControl();
  void ApplyMenus(const TMenuState& state);
  void RebuildReopen();
  void ShowEditor(bool show);
  void SetFullScreen(bool on);
  int WindowZoom() const;
  void ShowLogo();  // the stored zoom, or the largest that fits on the screen
  void About();
  void RunIdlePass();
  // Gives the keyboard to `back` (the window a closed one came from; this window when it is
  // gone), or to the modal dialog still open.
  void ReturnFocus(QWidget* back);

  TMainControl control_;
  TKIniFile* ini_;
  QtPlatform* platform_;
  QAction* actions_[miCount] = {};
  QMenu* menus_[mbCount] = {};
  QMenu* reopenMenu_ = nullptr;
  TPlayArea* playArea_ = nullptr;
  TfEditor* editor_ = nullptr;
  bool closeWithoutQuestions_ = false;  // set by EndBySignal for the close it starts
  bool blocked_ = false;                // a modal window blocks this one (the game stands)
  QTimer recoveryTimer_;                // looks every few seconds whether a copy is due
  QTimer idleTimer_;                    // runs the clocks' idle passes between the window's events
};

}  // namespace kelvra
