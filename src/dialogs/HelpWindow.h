// The help window TfHelp: the program's manual (ReadMe.htm) in a browser of its own, with
// links, Back, Forward and Home; not modal, and kept, so that "Read Me" again raises it.
#pragma once

#include <QString>
#include <QWidget>

class QTextBrowser;
class QToolButton;

namespace kelvra {

class TfHelp : public QWidget {
  Q_OBJECT

 public:
  explicit TfHelp(QWidget* parent = nullptr);

  // Shows `file` from its top and makes it the page Home returns to. 0, or an error code
  // (errno) when the file cannot be read; the page shown before then stays.
  int Open(const QString& file);

  QTextBrowser* browser() const { return browser_; }
  QToolButton* backButton() const { return back_; }
  QToolButton* forwardButton() const { return forward_; }
  QToolButton* homeButton() const { return home_; }

 private:
  QTextBrowser* browser_;
  QToolButton* back_;
  QToolButton* forward_;
  QToolButton* home_;
};

// "Read Me": shows `file` in the kept help window (created on first use as a window of its
// own that belongs to `parent`) and raises it. 0, or an error code when the file cannot be
// read; no window is opened then.
int ShowHelpWindow(const QString& file, QWidget* parent);

// The kept help window, nullptr before the first use.
TfHelp* HelpWindow();

}  // namespace kelvra
