// The number dialog window: limits, jump buttons, slider with the opening mark, spin
// button and typed formulas, and the kept window behind GetInt.
#include "dialogs/GetIntDialog.h"

#include <QFont>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "common/ReadNumber.h"

namespace kelvra {

// ---------------------------------------------------------------------------------------
// Spin button

TSpinButton::TSpinButton(QWidget* parent) : QWidget(parent) {
  up_ = new QToolButton(this);
  up_->setArrowType(Qt::UpArrow);
  down_ = new QToolButton(this);
  down_->setArrowType(Qt::DownArrow);
  for (QToolButton* b : {up_, down_}) {
    b->setAutoRepeat(true);
    b->setFocusPolicy(Qt::NoFocus);
    b->setFixedSize(20, 12);
  }
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(up_);
  layout->addWidget(down_);
  connect(up_, &QToolButton::clicked, this, [this] { emit stepped(1); });
  connect(down_, &QToolButton::clicked, this, [this] { emit stepped(-1); });
}

void TSpinButton::SetLimits(bool upAllowed, bool downAllowed) {
  up_->setEnabled(upAllowed);
  down_->setEnabled(downAllowed);
}

// ---------------------------------------------------------------------------------------
// Slider with a mark

TMarkedSlider::TMarkedSlider(QWidget* parent) : QSlider(Qt::Horizontal, parent) {
  setTickPosition(QSlider::TicksBelow);
}

void TMarkedSlider::SetMark(int value) {
  mark_ = value;
  update();
}

void TMarkedSlider::paintEvent(QPaintEvent* event) {
  QSlider::paintEvent(event);
  if (mark_ < minimum() || mark_ > maximum()) return;
  QStyleOptionSlider opt;
  initStyleOption(&opt);
  const QRect groove =
      style()->subControlRect(QStyle::CC_Slider, &opt, QStyle::SC_SliderGroove, this);
  const QRect handle =
      style()->subControlRect(QStyle::CC_Slider, &opt, QStyle::SC_SliderHandle, this);
  const int span = std::max(0, groove.width() - handle.width());
  const int x = groove.x() + handle.width() / 2 +
                QStyle::sliderPositionFromValue(minimum(), maximum(), mark_, span, opt.upsideDown);
  const int y = height() - 1;
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(Qt::NoPen);
  p.setBrush(palette().color(QPalette::Highlight));
  const QPoint triangle[3] = {{x, y - 5}, {x - 4, y}, {x + 4, y}};
  p.drawPolygon(triangle, 3);
}

// ---------------------------------------------------------------------------------------
// Number dialog

namespace {

QLabel* ValueLabel(QWidget* parent) {
  auto* label = new QLabel(parent);
  label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  label->setMinimumWidth(80);
  label->setTextInteractionFlags(Qt::TextSelectableByMouse);
  return label;
}

}  // namespace

TfGetInt::TfGetInt(QWidget* parent) : QDialog(parent) {
  caption_ = new QLabel(this);
  QFont bold = caption_->font();
  bold.setBold(true);
  caption_->setFont(bold);
  caption_->setWordWrap(true);

  minLabel_ = ValueLabel(this);
  maxLabel_ = ValueLabel(this);
  valueLabel_ = ValueLabel(this);

  text_ = new QLineEdit(this);
  text_->setMaxLength(kMaxTextLength);
  text_->installEventFilter(this);
  spin_ = new TSpinButton(this);
  error_ = new QLabel(QStringLiteral("No Error"), this);
  error_->setWordWrap(true);

  slider_ = new TMarkedSlider(this);
  slider_->setMinimumWidth(300);

  minButton_ = new QPushButton(QStringLiteral("Min"), this);
  curButton_ = new QPushButton(QStringLiteral("Cur"), this);
  defButton_ = new QPushButton(QStringLiteral("Def"), this);
  maxButton_ = new QPushButton(QStringLiteral("Max"), this);
  ok_ = new QPushButton(QStringLiteral("&OK"), this);
  cancel_ = new QPushButton(QStringLiteral("&Cancel"), this);
  apply_ = new QPushButton(QStringLiteral("&Apply"), this);
  for (QPushButton* b : {minButton_, curButton_, defButton_, maxButton_}) b->setAutoDefault(false);
  cancel_->setAutoDefault(false);
  apply_->setAutoDefault(false);
  ok_->setDefault(true);

  auto* limits = new QGridLayout;
  limits->addWidget(new QLabel(QStringLiteral("Minimum"), this), 0, 0);
  limits->addWidget(new QLabel(QStringLiteral("Value"), this), 0, 1);
  limits->addWidget(new QLabel(QStringLiteral("Maximum"), this), 0, 2);
  limits->addWidget(minLabel_, 1, 0);
  limits->addWidget(valueLabel_, 1, 1);
  limits->addWidget(maxLabel_, 1, 2);

  auto* edit = new QHBoxLayout;
  edit->addWidget(text_, 1);
  edit->addWidget(spin_);

  auto* jumps = new QHBoxLayout;
  for (QPushButton* b : {minButton_, curButton_, defButton_, maxButton_}) jumps->addWidget(b);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(ok_);
  buttons->addWidget(cancel_);
  buttons->addWidget(apply_);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(caption_);
  layout->addLayout(limits);
  layout->addLayout(edit);
  layout->addWidget(error_);
  layout->addWidget(slider_);
  layout->addLayout(jumps);
  layout->addLayout(buttons);

  connect(slider_, &QSlider::valueChanged, this, [this](int v) { Change(v, false); });
  connect(text_, &QLineEdit::textEdited, this, &TfGetInt::TextEdited);
  connect(spin_, &TSpinButton::stepped, this, &TfGetInt::Step);
  connect(minButton_, &QPushButton::clicked, this, [this] { SetValue(min_); });
  connect(curButton_, &QPushButton::clicked, this, [this] { SetValue(opening_); });
  connect(defButton_, &QPushButton::clicked, this, [this] { SetValue(default_); });
  connect(maxButton_, &QPushButton::clicked, this, [this] { SetValue(max_); });
  connect(ok_, &QPushButton::clicked, this, &TfGetInt::accept);
  connect(cancel_, &QPushButton::clicked, this, &TfGetInt::reject);
  connect(apply_, &QPushButton::clicked, this, [this] {
    if (onChange_ && !RefuseRejectedText()) onChange_(value_);
  });
}

void TfGetInt::Setup(const QString& caption, int32_t value, int32_t min, int32_t max, int32_t def,
                     IntChangedFn onChange) {
  onChange_ = nullptr;  // no reports while the window is being prepared
  setWindowTitle(caption);
  caption_->setText(caption);
  min_ = min;
  max_ = std::max(min, max);
  opening_ = std::clamp(value, min_, max_);
  default_ = std::clamp(def, min_, max_);
  value_ = opening_;

  // Twenty steps over the range, at least one; 64 bits, as the range may span 2^32 - 1.
  const int step = int((int64_t(max_) - min_ + 19) / 20);
  {
    const QSignalBlocker block(slider_);
    slider_->setRange(min_, max_);
    slider_->setTickInterval(std::max(step, 1));
    slider_->setPageStep(std::max(step, 1));
    slider_->setSingleStep(1);
    slider_->SetMark(opening_);
  }
  minLabel_->setText(QString::number(min_));
  maxLabel_->setText(QString::number(max_));
  error_->setText(QStringLiteral("No Error"));
  SetRejected(false);
  apply_->setEnabled(static_cast<bool>(onChange));
  Refresh(false);
  text_->selectAll();
  text_->setFocus();
  onChange_ = std::move(onChange);
}

void TfGetInt::SetValue(int32_t value) {
  Change(value, false);
}

void TfGetInt::Change(int32_t value, bool fromText) {
  value = std::clamp(value, min_, max_);
  const bool changed = value != value_;
  value_ = value;
  Refresh(fromText);
  if (changed && onChange_) onChange_(value_);
}

// Brings every control in line with the current value. A change typed into the text field
// leaves the text as typed.
void TfGetInt::Refresh(bool fromText) {
  {
    const QSignalBlocker block(slider_);
    slider_->setValue(value_);
  }
  if (!fromText) {
    text_->setText(QString::number(value_));
    if (textRejected_) {
      error_->clear();
      SetRejected(false);
    }
  }
  valueLabel_->setText(QString::number(value_));
  minButton_->setEnabled(value_ != min_);
  curButton_->setEnabled(value_ != opening_);
  defButton_->setEnabled(value_ != default_);
  maxButton_->setEnabled(value_ != max_);
  spin_->SetLimits(value_<max_, value_> min_);
}

void TfGetInt::TextEdited(const QString& text) {
  const TReadNumberResult r = ReadNumber(text.toStdString(), min_, max_, default_);
  error_->setText(QString::fromStdString(r.error));
  // A text that cannot be used leaves the value alone: jumping to the default would be
  // stored by an OK given without noticing the message.
  SetRejected(!r.error.empty());
  if (!textRejected_) Change(r.value, true);
}

void TfGetInt::Step(int direction) {
  if (direction > 0 && value_ < max_) SetValue(value_ + 1);
  if (direction < 0 && value_ > min_) SetValue(value_ - 1);
}

bool TfGetInt::eventFilter(QObject* watched, QEvent* event) {
  // Up and Down in the text field work the spin button.
  if (watched == text_ && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Up || key == Qt::Key_Down) {
      Step(key == Qt::Key_Up ? 1 : -1);
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

void TfGetInt::SetRejected(bool rejected) {
  textRejected_ = rejected;
  error_->setStyleSheet(rejected ? QStringLiteral("color: #b01010;") : QString());  // dark red
}

// True (and the text field selected for mending) while the typed text is rejected.
bool TfGetInt::RefuseRejectedText() {
  if (!textRejected_) return false;
  text_->setFocus();
  text_->selectAll();
  return true;
}

void TfGetInt::accept() {
  if (RefuseRejectedText()) return;
  Finish();
  QDialog::accept();
}

void TfGetInt::reject() {
  if (onChange_ && value_ != opening_) {
    IntChangedFn report = onChange_;
    report(opening_);
  }
  Finish();
  QDialog::reject();
}

// The callback belongs to one request; it is dropped when the window closes.
void TfGetInt::Finish() {
  onChange_ = nullptr;
}

// ---------------------------------------------------------------------------------------

namespace {
QPointer<TfGetInt> gGetIntWindow;
}

TfGetInt* GetIntWindow() {
  return gGetIntWindow.data();
}

bool GetInt(const QString& caption, int32_t& value, int32_t min, IntChangedFn onChange, int32_t max,
            int32_t def, QWidget* parent) {
  TfGetInt* window = gGetIntWindow.data();
  bool extra = false;  // a window for this request alone
  if (!window) {
    window = new TfGetInt(parent);
    gGetIntWindow = window;
  } else if (window->isVisible()) {
    // The kept window is busy (a modeless request is still open).
    window = new TfGetInt(parent);
    extra = true;
  }
  const bool modeless = static_cast<bool>(onChange);
  window->setWindowFlag(Qt::WindowStaysOnTopHint, modeless);
  window->setModal(!modeless);
  window->Setup(caption, value, min, max, def, std::move(onChange));
  if (modeless) {
    if (extra) window->setAttribute(Qt::WA_DeleteOnClose);
    window->show();
    window->raise();
    window->activateWindow();
    return true;
  }
  const QPointer<TfGetInt> guard(window);
  const bool ok = window->exec() == QDialog::Accepted && guard;
  if (ok) value = guard->Value();
  if (extra && guard) guard->deleteLater();
  return ok;
}

}  // namespace kelvra
