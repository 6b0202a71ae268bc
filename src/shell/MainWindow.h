// The main window TfMain: menu bar, play area and the two frame clocks, bound to the
// controller that holds the window's logic.
#pragma once

#include <QEvent>
#include <QImage>
#include <QMainWindow>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <vector>

#include "session/MainControl.h"

class QAction;
class QMenu;

namespace kelvra {

class QtPlatform;
class TfEditor;
class TKIniFile;

// The play area: shows the 640 x 440 frame scaled by a whole zoom factor, centred on black
// when the area is larger (full screen), and reports the mouse in frame pixels.
class TPlayArea : public QWidget {
  Q_OBJECT
 public:
  TPlayArea(const TKBitmap& frame, QWidget* parent = nullptr);
  QSize sizeHint() const override { return QSize(640, 440); }
  // The zoom the window chose, 1..4. An area too small for it (a full screen still being
  // set up) shows the largest zoom that fits.
  void SetZoom(int zoom);
  int Zoom() const;
  // Shows the frame as it is now. Only the pixels that differ from the frame shown last
  // are converted and repainted; the result is the area's region they cover, empty when
  // the frame did not change.
  QRegion Present();
  void SetPointerHidden(bool hidden);  // over the play field during a game
  // The frame pixel under a point of the area (outside the frame too). Positions are
  // fractional at a device pixel ratio above 1: they are floored, never rounded.
  QPoint FramePixel(QPointF position) const;
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
  void ScalePixels(int y, int x0, int x1);  // frame pixels of shown_ into the image
  void ScaleAll();                          // the image anew at the zoom shown
  const TKBitmap& frame_;
  std::vector<uint8_t> shown_;  // the frame shown, as the bitmap's top-down BGR rows
  QSize frameSize_;             // of shown_; empty before the first frame
  // The frame shown, scaled by imageZoom_ and in the backing store's 32-bit layout, so that
  // a repaint is a plain copy.
  QImage image_;
  int imageZoom_ = 0;
  int zoom_ = 1;  // chosen by the window
  bool pointerHidden_ = false;
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
  // Shows the frame at the chosen zoom when it fits on the screen, otherwise at the largest
  // that does; sizes the window to it (not in full screen) and updates the menus.
  void ApplyZoom(bool fullScreen);
  void ZoomStep(int delta);  // Ctrl++ and Ctrl+-: the next zoom that fits
  QSize FrameRoom(bool fullScreen) const;
  void ShowLogo();
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
  bool closeWithoutQuestions_ = false;   // set by EndBySignal for the close it starts
  bool blocked_ = false;                 // a modal window blocks this one (the game stands)
  QTimer recoveryTimer_;                 // looks every few seconds whether a copy is due
  QTimer idleTimer_;                     // runs the clocks' idle passes between the window's events
  QAction* fullScreenAction_ = nullptr;  // "Full Screen", F11
};

}  // namespace kelvra
