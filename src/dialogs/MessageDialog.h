// The message dialog: a QMessageBox built from a text, a type and a set of the system's
// buttons, answering with the button pressed.
#pragma once

#include <QMessageBox>
#include <map>
#include <string>

#include "platform/Services.h"

class QAbstractButton;
class QWidget;

namespace kelvra {

class TMessageDialog {
 public:
  // An empty button set gets "OK" alone.
  TMessageDialog(const std::string& text, MsgType type, MsgButtons buttons,
                 QWidget* parent = nullptr);

  // Shows the box modally; closing it (Escape, the window's close box) answers the
  // escape button (MessageEscapeButton).
  MsgButton Exec();

  // The widget of an offered button, nullptr when not offered.
  QAbstractButton* Button(MsgButton b) const;

 private:
  QMessageBox box_;
  std::map<QAbstractButton*, MsgButton> buttons_;
  MsgButton escape_ = MsgButton::Ok;
};

// The button that closing the box stands for: Cancel when offered, else the most
// cautious of the others (No, No to All, Abort, Ignore, OK), else the last offered.
MsgButton MessageEscapeButton(MsgButtons buttons);

// Builds, shows and answers one message dialog.
MsgButton RunMessageDialog(const std::string& text, MsgType type, MsgButtons buttons,
                           QWidget* parent);

}  // namespace kelvra
