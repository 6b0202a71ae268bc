// The file error dialog window: message, history paging, Shift captions and the
// "&File..." choice of another file.
#include "dialogs/IOErrorDialog.h"

#include <QApplication>
#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

#include "base/IOError.h"
#include "shell/QtPlatform.h"

namespace kelvra {

namespace {

// The texts are stored with CR LF between message and file name.
QString DisplayText(const std::string& text) {
  QString s = QString::fromStdString(text);
  s.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  return s;
}

constexpr int kSmallIcon = 32;  // pixels, the picture of file and internal errors

}  // namespace

TfIOError::TfIOError(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("IO Error"));

  icon_ = new QLabel(this);
  icon_->setAlignment(Qt::AlignTop | Qt::AlignHCenter);

  message_ = new QPlainTextEdit(this);
  message_->setReadOnly(true);
  message_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  message_->setMinimumSize(380, 90);

  position_ = new QLabel(this);
  position_->setMinimumWidth(60);
  position_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  up_ = new QToolButton(this);
  up_->setArrowType(Qt::UpArrow);
  up_->setToolTip(QStringLiteral("Previous message"));
  up_->setFocusPolicy(Qt::NoFocus);
  up_->setAutoRepeat(true);
  down_ = new QToolButton(this);
  down_->setArrowType(Qt::DownArrow);
  down_->setToolTip(QStringLiteral("Next message"));
  down_->setFocusPolicy(Qt::NoFocus);
  down_->setAutoRepeat(true);

  retry_ = new QPushButton(QStringLiteral("&Retry"), this);
  ignore_ = new QPushButton(QStringLiteral("&Ignore"), this);
  ignoreAll_ = new QPushButton(QString::fromLatin1(kIgnoreAll), this);
  close_ = new QPushButton(QString::fromLatin1(kClose), this);
  file_ = new QPushButton(QStringLiteral("&File..."), this);

  auto* history = new QHBoxLayout;
  history->addStretch(1);
  history->addWidget(position_);
  history->addWidget(up_);
  history->addWidget(down_);

  auto* right = new QVBoxLayout;
  right->addWidget(message_, 1);
  right->addLayout(history);

  auto* top = new QHBoxLayout;
  top->addWidget(icon_, 0, Qt::AlignTop);
  top->addLayout(right, 1);

  auto* buttons = new QHBoxLayout;
  for (QPushButton* b : {retry_, ignore_, ignoreAll_, close_, file_}) buttons->addWidget(b);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top, 1);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  connect(up_, &QToolButton::clicked, this, [this] { ShowEntry(entry_ - 1); });
  connect(down_, &QToolButton::clicked, this, [this] { ShowEntry(entry_ + 1); });
  connect(retry_, &QPushButton::clicked, this, [this] { Finish(IOErrorChoice::Retry); });
  connect(ignore_, &QPushButton::clicked, this, [this] { Finish(IOErrorChoice::Ignore); });
  // The choice follows the caption shown at the moment of the click.
  connect(ignoreAll_, &QPushButton::clicked, this, [this] {
    Finish(ignoreAll_->text() == QLatin1String(kIgnoreReallyAll) ? IOErrorChoice::IgnoreReallyAll
                                                                 : IOErrorChoice::IgnoreAll);
  });
  connect(close_, &QPushButton::clicked, this, [this] {
    Finish(close_->text() == QLatin1String(kTerminate) ? IOErrorChoice::Terminate
                                                       : IOErrorChoice::Close);
  });
  connect(file_, &QPushButton::clicked, this, [this] { ChooseFile(); });

  // Shift is watched wherever the focus is inside the dialog.
  for (QWidget* w : findChildren<QWidget*>()) w->installEventFilter(this);
}

IOErrorReply TfIOError::Run(const IOErrorRequest& request) {
  history_ = request.history ? *request.history : std::vector<std::string>{};
  if (history_.empty() || history_.back() != request.text) history_.push_back(request.text);
  fileName_ = request.fileName;
  reply_ = IOErrorReply{};

  setWindowTitle(QString::fromStdString(request.caption));
  QStyle* st = style();
  QIcon icon = st->standardIcon(
      request.kind == 1 ? QStyle::SP_MessageBoxWarning : QStyle::SP_MessageBoxCritical, nullptr,
      this);
  int size = request.kind == 0 ? st->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this)
                               : kSmallIcon;
  icon_->setPixmap(icon.pixmap(size, size));
  icon_->setFixedSize(size, size);

  ShowEntry(int(history_.size()) - 1);

  retry_->setEnabled(request.retryOffered);
  file_->setEnabled(request.fileButton);
  close_->setVisible(request.quitOffered);
  // Enter retries when retry is offered, else it ignores.
  retry_->setDefault(request.retryOffered);
  ignore_->setDefault(!request.retryOffered);
  (request.retryOffered ? retry_ : ignore_)->setFocus();
  SetShifted(false);

  exec();
  SetShifted(false);
  return reply_;
}

bool TfIOError::ShowEntry(int index) {
  int n = int(history_.size());
  if (index < 0 || index >= n) return false;
  entry_ = index;
  message_->setPlainText(DisplayText(history_[index]));
  position_->setText(QStringLiteral("%1 / %2").arg(index + 1).arg(n));
  up_->setEnabled(index > 0);
  down_->setEnabled(index < n - 1);
  return true;
}

QString TfIOError::PositionText() const {
  return position_->text();
}
QString TfIOError::MessageText() const {
  return message_->toPlainText();
}

void TfIOError::SetShifted(bool shifted) {
  ignoreAll_->setText(QString::fromLatin1(shifted ? kIgnoreReallyAll : kIgnoreAll));
  close_->setText(QString::fromLatin1(shifted ? kTerminate : kClose));
}

void TfIOError::Finish(IOErrorChoice choice) {
  reply_.choice = choice;
  done(QDialog::Accepted);
}

void TfIOError::reject() {
  reply_ = IOErrorReply{};  // ignore, and no file
  QDialog::reject();
}

void TfIOError::ChooseFile() {
  SetShifted(false);
  std::optional<std::string> chosen =
      QtOpenFileDialog(this, IOErrorFileFilter(fileName_), fileName_);
  if (!chosen) return;
  reply_.chosenFile = *chosen;
  Finish(IOErrorChoice::Retry);
}

void TfIOError::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Shift) SetShifted(true);
  QDialog::keyPressEvent(event);
}

void TfIOError::keyReleaseEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Shift) SetShifted(false);
  QDialog::keyReleaseEvent(event);
}

bool TfIOError::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) {
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Shift) SetShifted(event->type() == QEvent::KeyPress);
  }
  return QDialog::eventFilter(watched, event);
}

void TfIOError::changeEvent(QEvent* event) {
  // A Shift released while another window had the focus is never seen here.
  if (event->type() == QEvent::ActivationChange && !isActiveWindow()) SetShifted(false);
  QDialog::changeEvent(event);
}

namespace {
QPointer<TfIOError> gWindow;
}

IOErrorReply RunIOErrorDialog(const IOErrorRequest& request, QWidget* parent) {
  if (!gWindow) gWindow = new TfIOError(parent);
  if (gWindow->isVisible()) {
    // An error reported while the window is already waiting (from a timer, say).
    TfIOError nested(parent);
    return nested.Run(request);
  }
  return gWindow->Run(request);
}

}  // namespace kelvra
