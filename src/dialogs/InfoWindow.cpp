// The game information window and its formats.
#include "dialogs/InfoWindow.h"

#include <QDateTime>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QLocale>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QStringDecoder>
#include <QVBoxLayout>
#include <cmath>

#include "common/Com.h"
#include "common/Kinds.h"
#include "common/Settings.h"

namespace kelvra {

namespace {

#ifndef KELVRA_BUILD_DATE
#define KELVRA_BUILD_DATE ""  // a build that does not say
#endif

// Descriptions are stored as UTF-8; a set written by another program may hold Latin-1.
QString HeaderText(const std::string& text) {
  const QByteArray bytes = QByteArray::fromStdString(text);
  // Stateless: a sequence cut off at the end is an error, not held back for more input.
  QStringDecoder utf8(QStringDecoder::Utf8, QStringConverter::Flag::Stateless);
  QString decoded = utf8(bytes);
  return utf8.hasError() ? QString::fromLatin1(bytes) : decoded;
}

}  // namespace

QString InfoDuration(int64_t ms) {
  // Whole seconds first, so that INT64_MIN cannot overflow on negation.
  int64_t seconds = ms / 1000;
  const bool negative = seconds < 0;
  if (negative) seconds = -seconds;
  return QStringLiteral("%1%2:%3:%4")
      .arg(negative ? QStringLiteral("-") : QString())
      .arg(seconds / 3600)
      .arg(seconds / 60 % 60, 2, 10, QLatin1Char('0'))
      .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

QString InfoDateTime(double days) {
  // 30 December 1899 + days; 1 January of year 1 and 31 December 9999 are its limits.
  constexpr double kFirst = -693593.0, kLast = 2958466.0;
  if (!std::isfinite(days) || days < kFirst || days >= kLast) return QString();
  // Before 1899 the whole part is the day and the fraction still the time of day.
  const double whole = std::trunc(days);
  int64_t msOfDay = std::llround(std::fabs(days - whole) * 86400000.0);
  if (msOfDay >= 86400000) msOfDay = 86400000 - 1;
  const QDate date = QDate(1899, 12, 30).addDays(int64_t(whole));
  const QDateTime dt(date, QTime::fromMSecsSinceStartOfDay(int(msOfDay)));
  return QLocale::system().toString(dt, QLocale::ShortFormat);
}

QString InfoGameText(int kind) {
  if (kind < 0 || kind >= kKinds) return QString();
  return QStringLiteral("%1 %2").arg(QString::fromLatin1(KindName(kind)),
                                     QStringLiteral(KELVRA_VERSION));
}

QString InfoBuildText() {
  return QStringLiteral(KELVRA_BUILD_DATE);
}

TfInfo::TfInfo(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("fInfo"));
  setWindowTitle(QStringLiteral("Game Info"));
  setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

  auto newValue = [this] {
    auto* label = new QLabel(this);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
  };
  game_ = newValue();
  build_ = newValue();
  version_ = newValue();
  workTime_ = newValue();
  saveCount_ = newValue();
  modified_ = newValue();
  // A sunken panel on the window's own background: it reads as shown text, not a field to
  // type in. Long descriptions wrap instead of scrolling out of sight.
  description_ = newValue();
  description_->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
  description_->setWordWrap(true);
  description_->setMinimumWidth(260);
  description_->setMargin(3);
  description_->setTextFormat(Qt::PlainText);  // a description may hold "<" and "&"

  auto* form = new QFormLayout;
  form->addRow(QStringLiteral("Game"), game_);
  form->addRow(QStringLiteral("Build"), build_);
  form->addRow(QStringLiteral("Version"), version_);
  form->addRow(QStringLiteral("Work Time"), workTime_);
  form->addRow(QStringLiteral("Save Count"), saveCount_);
  form->addRow(QStringLiteral("Modified"), modified_);
  form->addRow(QStringLiteral("Description"), description_);

  auto* buttons = new QDialogButtonBox(this);
  // It only shows: one button closes it (Escape too).
  QPushButton* close = buttons->addButton(QStringLiteral("Close"), QDialogButtonBox::RejectRole);
  close->setDefault(true);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  const QPoint stored(gOptions.gameInfoLeft, gOptions.gameInfoTop);
  if (stored.x() >= 0 && stored.y() >= 0 && QGuiApplication::screenAt(stored + QPoint(20, 20))) {
    move(stored);
  } else if (parent) {
    adjustSize();
    move(parent->window()->frameGeometry().center() - rect().center());
  }
}

void TfInfo::Fill(int kind) {
  if (kind < 0 || kind >= kKinds) kind = gCom.kind;
  const TLevelSetHeader& h = gCom.k[kind].header;
  game_->setText(InfoGameText(kind));
  build_->setText(InfoBuildText());
  version_->setText(QString::number(h.version));
  workTime_->setText(InfoDuration(h.editingTime));
  saveCount_->setText(QString::number(h.saveCounter));
  modified_->setText(InfoDateTime(h.lastSave));
  description_->setText(HeaderText(GetShortString(h.description, sizeof h.description)));
}

void TfInfo::StorePosition() {
  gOptions.gameInfoLeft = pos().x();
  gOptions.gameInfoTop = pos().y();
}

void TfInfo::done(int result) {
  // Stored at every close: the settings are saved before the main window's children go.
  StorePosition();
  QDialog::done(result);
}

void ShowGameInfo(QWidget* parent) {
  static QPointer<TfInfo> window;
  if (!window || window->parentWidget() != parent) window = new TfInfo(parent);
  window->Fill();
  window->exec();
}

}  // namespace kelvra
