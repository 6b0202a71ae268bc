// The file error dialog window `TfIOError`: shows one error with the run's message history
// and answers retry (possibly with another file), ignore, ignore all, quit or terminate.
#pragma once

#include <QDialog>
#include <string>
#include <vector>

#include "platform/Services.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QToolButton;

namespace kelvra {

class TfIOError : public QDialog {
  Q_OBJECT

 public:
  explicit TfIOError(QWidget* parent = nullptr);

  // Shows the request modally and waits for a button.
  IOErrorReply Run(const IOErrorRequest& request);

  // Pages to history entry `index` (0-based); a move outside the history is refused.
  bool ShowEntry(int index);
  int Entry() const { return entry_; }
  QString PositionText() const;  // "i / n"
  QString MessageText() const;

  QPushButton* retryButton() const { return retry_; }
  QPushButton* ignoreButton() const { return ignore_; }
  QPushButton* ignoreAllButton() const { return ignoreAll_; }
  QPushButton* closeButton() const { return close_; }  // "Quit Kelvra", hidden when not offered
  QPushButton* fileButton() const { return file_; }
  QToolButton* upButton() const { return up_; }      // toward the first message
  QToolButton* downButton() const { return down_; }  // toward the latest message

  static constexpr const char* kIgnoreAll = "Ignore &All";
  static constexpr const char* kIgnoreReallyAll = "Ignore Realy All";
  // The button closes the main window, which ends the program: its caption says so.
  static constexpr const char* kClose = "&Quit Kelvra";
  static constexpr const char* kTerminate = "Terimante";

 public slots:
  void reject() override;  // Escape and the window's close box: ignore

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void SetShifted(bool shifted);  // the Shift captions of "Ignore All" and "Quit Kelvra"
  void Finish(IOErrorChoice choice);
  void ChooseFile();

  QLabel* icon_;
  QPlainTextEdit* message_;
  QLabel* position_;
  QToolButton* up_;
  QToolButton* down_;
  QPushButton* retry_;
  QPushButton* ignore_;
  QPushButton* ignoreAll_;
  QPushButton* close_;
  QPushButton* file_;

  std::vector<std::string> history_;
  int entry_ = 0;
  std::string fileName_;
  IOErrorReply reply_;
};

// The program's one file error window, created on first use and kept; a request arriving
// while it is already open gets a window of its own.
IOErrorReply RunIOErrorDialog(const IOErrorRequest& request, QWidget* parent);

}  // namespace kelvra
