// The high-score window and the name dialog: grid painting, the colour wheel rows, the
// stored window position and the text of each cell.
#include "dialogs/ScoresWindow.h"

#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QHideEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QStringDecoder>
#include <QVBoxLayout>
#include <algorithm>

#include "base/Paths.h"
#include "common/Com.h"
#include "common/Settings.h"
#include "media/KBitmap.h"

namespace kelvra {

namespace {

const QColor kBackground(28, 28, 28);
const QColor kDarkLine(0, 0, 0);
const QColor kLightLine(96, 96, 96);
const QColor kHeaderText(255, 255, 255);
constexpr int kFontPixels = 12;

const char* const kHeaders[TScoresGrid::kColumns] = {"Score", "Player", "Date", "Levels Time"};

// Names are stored as UTF-8; a table written by another program may hold Latin-1.
QString NameText(const TScoreEntry& entry) {
  QByteArray bytes = QByteArray::fromStdString(ScoreName(entry));
  QStringDecoder utf8(QStringDecoder::Utf8);
  QString text = utf8(bytes);
  return utf8.hasError() ? QString::fromLatin1(bytes) : text;
}

QColor FromBgr(uint32_t c) {
  return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
}

QPointer<TfScores> gWindow;

}  // namespace

TScoresGrid::TScoresGrid(QWidget* parent) : QWidget(parent) {
  setObjectName("ScoresGrid");
  QFont f = font();
  f.setPixelSize(kFontPixels);
  setFont(f);
  setFixedSize(sizeHint());
}

QSize TScoresGrid::sizeHint() const {
  // The last line pair sits at the bottom of the last row.
  return QSize(kColumnX[kColumns] + 2, kRows * kRowHeight + 2);
}

void TScoresGrid::SetTable(const TScoreTable& table) {
  table_ = table;
  update();
}

QString TScoresGrid::CellText(int row, int column) const {
  if (row < 0 || row >= kRows || column < 0 || column >= kColumns) return {};
  if (row == 0) return QString::fromLatin1(kHeaders[column]);
  const TScoreEntry& e = table_.entry[row - 1];
  if (e.score == 0) return {};
  switch (column) {
    case 0:
      return QString::fromStdString(FormatThousands(e.score));
    case 1:
      return NameText(e);
    case 2:
      return QString::fromStdString(FormatScoreDate(e.date));
    default:
      return QString::fromStdString(FormatDuration(e.levelsTime));
  }
}

QColor TScoresGrid::RowColour(int row) const {
  if (row <= 0) return kHeaderText;
  return FromBgr(SpectrumColor((row - 1) * kEntryHueStep));
}

void TScoresGrid::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), kBackground);
  const int width = kColumnX[kColumns], height = kRows * kRowHeight;

  // Double lines: a dark line with a light one below (or right of) it.
  for (int r = 0; r <= kRows; ++r) {
    int y = r * kRowHeight;
    p.setPen(kDarkLine);
    p.drawLine(0, y, width, y);
    p.setPen(kLightLine);
    p.drawLine(0, y + 1, width, y + 1);
  }
  for (int x : kColumnX) {
    p.setPen(kDarkLine);
    p.drawLine(x, 0, x, height);
    p.setPen(kLightLine);
    p.drawLine(x + 1, 0, x + 1, height);
  }

  const int textHeight = kRowHeight - kTextDy;
  for (int row = 0; row < kRows; ++row) {
    if (row > 0 && table_.entry[row - 1].score == 0) continue;
    p.setPen(RowColour(row));
    for (int c = 0; c < kColumns; ++c) {
      QRect cell(kColumnX[c] + kTextDx, row * kRowHeight + kTextDy,
                 kColumnX[c + 1] - kColumnX[c] - kTextDx - 1, textHeight);
      p.drawText(cell, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, CellText(row, c));
    }
  }
}

TfScores::TfScores(QWidget* parent) : QDialog(parent) {
  setObjectName("fScores");
  setWindowTitle(QStringLiteral("High scores"));
  grid_ = new TScoresGrid(this);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(grid_);
  layout->addWidget(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  PlaceFromOptions();
}

void TfScores::PlaceFromOptions() {
  if (gOptions.scoresLeft == -1 && gOptions.scoresTop == -1) return;  // design position
  QPoint at(gOptions.scoresLeft, gOptions.scoresTop);
  // A position stored on a screen that is gone is brought back onto the primary screen.
  if (!QGuiApplication::screenAt(at + QPoint(20, 20))) {
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
      QRect area = screen->availableGeometry();
      QSize size = sizeHint();
      at.setX(std::clamp(at.x(), area.left(), std::max(area.left(), area.right() - size.width())));
      at.setY(std::clamp(at.y(), area.top(), std::max(area.top(), area.bottom() - size.height())));
    }
  }
  move(at);
}

void TfScores::Refresh(const TScoreTable& table, const std::string& levelSetFile) {
  setWindowTitle(QStringLiteral("High Scores - ") +
                 QString::fromStdString(ExtractFileName(levelSetFile)));
  grid_->SetTable(table);
}

void TfScores::RefreshCurrent() {
  Refresh(gScores.table[gCom.kind], Cur().fileName);
}

void TfScores::hideEvent(QHideEvent* event) {
  if (!event->spontaneous()) {
    gOptions.scoresLeft = pos().x();
    gOptions.scoresTop = pos().y();
  }
  QDialog::hideEvent(event);
}

TfScores* ScoresWindow() {
  return gWindow.data();
}

int ShowScoresWindow(QWidget* parent) {
  if (!gWindow) gWindow = new TfScores(parent);
  gWindow->RefreshCurrent();
  return gWindow->exec();
}

bool RunNameDialog(QWidget* parent, const std::string& caption, const std::string& prompt,
                   std::string& value, const std::string& defaultText, int maxLength) {
  QDialog dialog(parent);
  dialog.setObjectName("NameDialog");
  dialog.setWindowTitle(QString::fromStdString(caption));
  auto* label = new QLabel(QString::fromStdString(prompt), &dialog);
  auto* edit = new QLineEdit(&dialog);
  edit->setObjectName("nameEdit");
  if (maxLength > 0) edit->setMaxLength(maxLength);
  edit->setText(QString::fromStdString(value));
  edit->selectAll();
  label->setBuddy(edit);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
  QPushButton* reset = buttons->addButton(QStringLiteral("&Default"), QDialogButtonBox::ResetRole);
  reset->setObjectName("defaultButton");
  reset->setAutoDefault(false);
  const QString def = QString::fromStdString(defaultText);
  QObject::connect(reset, &QPushButton::clicked, edit, [edit, def] {
    edit->setText(def);
    edit->setFocus();
    edit->selectAll();
  });
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);

  auto* layout = new QVBoxLayout(&dialog);
  layout->addWidget(label);
  layout->addWidget(edit);
  layout->addWidget(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  edit->setFocus();

  if (dialog.exec() != QDialog::Accepted) return false;
  value = edit->text().toStdString();
  return true;
}

}  // namespace kelvra
