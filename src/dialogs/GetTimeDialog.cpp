// The time dialog window: four unit sliders with spin buttons, the typed time and the jump
// buttons, and the kept window behind GetTime.
#include "dialogs/GetTimeDialog.h"

#include <QFont>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QVBoxLayout>
#include <algorithm>

#include "common/ReadNumber.h"
#include "dialogs/GetIntDialog.h"

namespace kelvra {

namespace {

const char* const kPartNames[TfGetTime::kParts] = {"H", "M", "S", "D"};
const char* const kTimeForms = "H:MM:SS.DDD, M:SS, seconds, or milliseconds with \"ms\"";
constexpr int kHourTicksBelow = 113;  // hour sliders spanning more steps show no ticks

}  // namespace

TfGetTime::TfGetTime(QWidget* parent) : QDialog(parent) {
  caption_ = new QLabel(this);
  QFont bold = caption_->font();
  bold.setBold(true);
  caption_->setFont(bold);
  caption_->setWordWrap(true);

  auto* grid = new QGridLayout;
  for (int i = 0; i < kParts; ++i) {
    PartControls& p = parts_[i];
    p.slider = new QSlider(Qt::Horizontal, this);
    p.slider->setMinimumWidth(240);
    p.spin = new TSpinButton(this);
    p.value = new QLabel(this);
    p.value->setMinimumWidth(40);
    p.value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    grid->addWidget(new QLabel(QString::fromLatin1(kPartNames[i]), this), i, 0);
    grid->addWidget(p.slider, i, 1);
    grid->addWidget(p.value, i, 2);
    grid->addWidget(p.spin, i, 3);
    connect(p.slider, &QSlider::valueChanged, this, &TfGetTime::SliderMoved);
    connect(p.spin, &TSpinButton::stepped, this, [this, i](int direction) { Step(i, direction); });
  }

  text_ = new QLineEdit(this);
  text_->setMaxLength(20);
  text_->setToolTip(QString::fromLatin1(kTimeForms));
  error_ = new QLabel(this);
  error_->setWordWrap(true);
  error_->setStyleSheet(QStringLiteral("color: #b01010;"));  // dark red
  error_->hide();

  minButton_ = new QPushButton(QStringLiteral("Min"), this);
  curButton_ = new QPushButton(QStringLiteral("Cur"), this);
  defButton_ = new QPushButton(QStringLiteral("Def"), this);
  maxButton_ = new QPushButton(QStringLiteral("Max"), this);
  ok_ = new QPushButton(QStringLiteral("OK"), this);
  cancel_ = new QPushButton(QStringLiteral("Cancel"), this);
  for (QPushButton* b : {minButton_, curButton_, defButton_, maxButton_, cancel_})
    b->setAutoDefault(false);
  ok_->setDefault(true);

  auto* jumps = new QHBoxLayout;
  for (QPushButton* b : {minButton_, curButton_, defButton_, maxButton_}) jumps->addWidget(b);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(ok_);
  buttons->addWidget(cancel_);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(caption_);
  layout->addLayout(grid);
  layout->addWidget(text_);
  layout->addWidget(error_);
  layout->addLayout(jumps);
  layout->addLayout(buttons);

  connect(text_, &QLineEdit::textEdited, this, &TfGetTime::TextEdited);
  // Once typing is done, the text shows the value in its full form; a rejected text stays
  // as typed, to be mended.
  connect(text_, &QLineEdit::editingFinished, this, [this] {
    if (!textRejected_) Refresh(false);
  });
  connect(minButton_, &QPushButton::clicked, this, [this] { SetValue(min_); });
  connect(curButton_, &QPushButton::clicked, this, [this] { SetValue(opening_); });
  connect(defButton_, &QPushButton::clicked, this, [this] { SetValue(default_); });
  connect(maxButton_, &QPushButton::clicked, this, [this] { SetValue(max_); });
  connect(ok_, &QPushButton::clicked, this, &TfGetTime::accept);
  connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
}

void TfGetTime::Setup(const QString& caption, uint32_t value, uint32_t min, uint32_t max,
                      uint32_t def) {
  setWindowTitle(caption);
  caption_->setText(caption);
  min_ = min;
  max_ = std::max(min, max);
  opening_ = std::clamp(value, min_, max_);
  default_ = std::clamp(def, min_, max_);
  value_ = opening_;

  // Units the maximum reaches run over their whole cycle; otherwise a slider covers just
  // the range, so that a short duration is set with a slider of few steps.
  const uint32_t lo[kParts] = {
      min_ / kUnits[tpHours],
      max_ >= kUnits[tpHours] ? 0 : min_ / kUnits[tpMinutes],
      max_ >= kUnits[tpMinutes] ? 0 : min_ / kUnits[tpSeconds],
      max_ >= kUnits[tpSeconds] ? 0 : min_,
  };
  const uint32_t hi[kParts] = {
      max_ / kUnits[tpHours],
      max_ >= kUnits[tpHours] ? 59 : max_ / kUnits[tpMinutes],
      max_ >= kUnits[tpMinutes] ? 59 : max_ / kUnits[tpSeconds],
      max_ >= kUnits[tpSeconds] ? 1000 : max_,
  };
  for (int i = 0; i < kParts; ++i) {
    QSlider* s = parts_[i].slider;
    const QSignalBlocker block(s);
    s->setRange(int(lo[i]), int(hi[i]));  // all below 2^31: hours at most 1193, ms below 1000
    s->setSingleStep(1);
    s->setPageStep(std::max(1, int(hi[i] - lo[i]) / 10));
    s->setTickPosition(QSlider::NoTicks);
  }
  if (hi[tpHours] - lo[tpHours] < kHourTicksBelow) {
    parts_[tpHours].slider->setTickPosition(QSlider::TicksBelow);
    parts_[tpHours].slider->setTickInterval(1);
  }
  minButton_->setToolTip(QString::fromStdString(TimeText(min_)));
  maxButton_->setToolTip(QString::fromStdString(TimeText(max_)));
  defButton_->setToolTip(QString::fromStdString(TimeText(default_)));
  curButton_->setToolTip(QString::fromStdString(TimeText(opening_)));
  Refresh(false);
  text_->selectAll();
  text_->setFocus();
}

void TfGetTime::SetValue(uint32_t value) {
  Change(value, false);
}

void TfGetTime::Change(uint64_t value, bool fromText) {
  value_ = uint32_t(std::clamp<uint64_t>(value, min_, max_));
  Refresh(fromText);
}

void TfGetTime::SliderMoved() {
  uint64_t total = 0;  // up to 1193 h + 59 min + 59 s + 1000 ms: past 2^32
  for (int i = 0; i < kParts; ++i) total += uint64_t(parts_[i].slider->value()) * kUnits[i];
  Change(total, false);
}

void TfGetTime::Step(int part, int direction) {
  const uint32_t unit = kUnits[part];
  if (direction > 0)
    Change(uint64_t(value_) + unit, false);
  else
    Change(value_ > unit ? value_ - unit : 0, false);
}

void TfGetTime::TextEdited(const QString& text) {
  uint32_t ms = 0;
  if (!ReadTime(text.toStdString(), ms)) {
    SetRejected(QStringLiteral("Not a time; type ") + QString::fromLatin1(kTimeForms));
  } else if (ms < min_ || ms > max_) {
    auto t = [](uint32_t v) { return QString::fromStdString(TimeText(v)); };
    SetRejected(QStringLiteral("Value %1 out of range %2..%3").arg(t(ms), t(min_), t(max_)));
  } else {
    SetRejected(QString());
    Change(ms, true);
  }
}

void TfGetTime::SetRejected(const QString& message) {
  textRejected_ = !message.isEmpty();
  error_->setText(message);
  error_->setVisible(textRejected_);
}

void TfGetTime::accept() {
  if (textRejected_) {  // kept open until the text is mended or the dialog cancelled
    text_->setFocus();
    text_->selectAll();
    return;
  }
  QDialog::accept();
}

void TfGetTime::Refresh(bool fromText) {
  const uint32_t parts[kParts] = {value_ / kUnits[tpHours], value_ / kUnits[tpMinutes] % 60,
                                  value_ / kUnits[tpSeconds] % 60, value_ % 1000};
  for (int i = 0; i < kParts; ++i) {
    const QSignalBlocker block(parts_[i].slider);
    parts_[i].slider->setValue(int(parts[i]));
    parts_[i].value->setText(QString::number(parts[i]));
    parts_[i].spin->SetLimits(value_<max_, value_> min_);
  }
  if (!fromText) {
    text_->setText(QString::fromStdString(TimeText(value_)));
    SetRejected(QString());
  }
  minButton_->setEnabled(value_ != min_);
  curButton_->setEnabled(value_ != opening_);
  defButton_->setEnabled(value_ != default_);
  maxButton_->setEnabled(value_ != max_);
}

// ---------------------------------------------------------------------------------------

namespace {
QPointer<TfGetTime> gGetTimeWindow;
}

bool GetTime(const QString& caption, uint32_t& valueMs, uint32_t def, uint32_t max, uint32_t min,
             QWidget* parent) {
  TfGetTime* window = gGetTimeWindow.data();
  bool extra = false;  // a window for this request alone
  if (!window) {
    window = new TfGetTime(parent);
    gGetTimeWindow = window;
  } else if (window->isVisible()) {
    window = new TfGetTime(parent);  // the kept window is still open
    extra = true;
  }
  window->Setup(caption, valueMs, min, max, def);
  const QPointer<TfGetTime> guard(window);
  const bool ok = window->exec() == QDialog::Accepted && guard;
  if (ok) valueMs = guard->Value();
  if (extra && guard) guard->deleteLater();
  return ok;
}

}  // namespace kelvra
