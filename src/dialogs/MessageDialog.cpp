// The message dialog: QMessageBox with the system's eleven buttons, "Delete" and
// "Delete All" as buttons of our own.
#include "dialogs/MessageDialog.h"

#include <QAbstractButton>
#include <QPushButton>

namespace kelvra {

namespace {

// QMessageBox's own button for each MsgButton; NoButton for the two it lacks.
QMessageBox::StandardButton StandardFor(MsgButton b) {
  switch (b) {
    case MsgButton::Ok:
      return QMessageBox::Ok;
    case MsgButton::Yes:
      return QMessageBox::Yes;
    case MsgButton::YesToAll:
      return QMessageBox::YesToAll;
    case MsgButton::Retry:
      return QMessageBox::Retry;
    case MsgButton::Ignore:
      return QMessageBox::Ignore;
    case MsgButton::Abort:
      return QMessageBox::Abort;
    case MsgButton::No:
      return QMessageBox::No;
    case MsgButton::NoToAll:
      return QMessageBox::NoToAll;
    case MsgButton::Cancel:
      return QMessageBox::Cancel;
    case MsgButton::Delete:
    case MsgButton::DeleteAll:
      break;
  }
  return QMessageBox::NoButton;
}

const char* TitleFor(MsgType type) {
  switch (type) {
    case MsgType::Warning:
      return "Warning";
    case MsgType::Error:
      return "Error";
    case MsgType::Information:
      return "Information";
    case MsgType::Confirmation:
      return "Confirm";
  }
  return "Kelvra";
}

QMessageBox::Icon IconFor(MsgType type) {
  switch (type) {
    case MsgType::Warning:
      return QMessageBox::Warning;
    case MsgType::Error:
      return QMessageBox::Critical;
    case MsgType::Information:
      return QMessageBox::Information;
    case MsgType::Confirmation:
      return QMessageBox::Question;
  }
  return QMessageBox::NoIcon;
}

}  // namespace

MsgButton MessageEscapeButton(MsgButtons buttons) {
  if (!buttons) return MsgButton::Ok;
  for (MsgButton b : {MsgButton::Cancel, MsgButton::No, MsgButton::NoToAll, MsgButton::Abort,
                      MsgButton::Ignore, MsgButton::Ok})
    if (buttons & Btn(b)) return b;
  for (int i = kMsgButtonCount - 1; i >= 0; --i)
    if (buttons & Btn(MsgButton(i))) return MsgButton(i);
  return MsgButton::Ok;
}

TMessageDialog::TMessageDialog(const std::string& text, MsgType type, MsgButtons buttons,
                               QWidget* parent)
    : box_(parent) {
  if (!(buttons & ((1u << kMsgButtonCount) - 1))) buttons = Btn(MsgButton::Ok);
  box_.setWindowTitle(QString::fromLatin1(TitleFor(type)));
  box_.setIcon(IconFor(type));
  box_.setText(QString::fromStdString(text));
  box_.setTextFormat(Qt::PlainText);

  bool haveDefault = false;
  for (int i = 0; i < kMsgButtonCount; ++i) {
    MsgButton b = MsgButton(i);
    if (!(buttons & Btn(b))) continue;
    QAbstractButton* w = nullptr;
    QMessageBox::StandardButton sb = StandardFor(b);
    if (sb != QMessageBox::NoButton)
      w = box_.addButton(sb);
    else
      w = box_.addButton(QString::fromLatin1(MsgButtonName(b)), QMessageBox::DestructiveRole);
    buttons_[w] = b;
    // The first button in the system's order is the default, as the dialog lays them out.
    if (!haveDefault) {
      if (auto* pb = qobject_cast<QPushButton*>(w)) box_.setDefaultButton(pb);
      haveDefault = true;
    }
  }
  escape_ = MessageEscapeButton(buttons);
  box_.setEscapeButton(Button(escape_));
}

QAbstractButton* TMessageDialog::Button(MsgButton b) const {
  for (const auto& [w, mb] : buttons_)
    if (mb == b) return w;
  return nullptr;
}

MsgButton TMessageDialog::Exec() {
  box_.exec();
  auto it = buttons_.find(box_.clickedButton());
  return it == buttons_.end() ? escape_ : it->second;
}

MsgButton RunMessageDialog(const std::string& text, MsgType type, MsgButtons buttons,
                           QWidget* parent) {
  TMessageDialog dialog(text, type, buttons, parent);
  return dialog.Exec();
}

}  // namespace kelvra
