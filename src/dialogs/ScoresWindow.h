// The high-score window `TfScores`: the current kind's table on a ruled grid, each entry in
// its own colour of the colour wheel; and the name dialog of a new entry.
#pragma once

#include <QDialog>
#include <QString>
#include <QWidget>
#include <string>

#include "common/Scores.h"

class QLineEdit;

namespace kelvra {

// The table image: row 0 holds the headers, row i + 1 entry i (drawn only when the entry
// is not empty), on a grid of 20-pixel rows with column separators at 0, 96, 192 and 400.
class TScoresGrid : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kRowHeight = 20;  // pixels
  static constexpr int kRows = 1 + kScoreEntries;
  static constexpr int kColumns = 4;
  static constexpr int kColumnX[kColumns + 1] = {0, 96, 192, 400, 496};  // last: right edge
  static constexpr int kTextDx = 3;  // text start right of the column line
  static constexpr int kTextDy = 5;  // text top below the row line

  explicit TScoresGrid(QWidget* parent = nullptr);
  void SetTable(const TScoreTable& table);
  const TScoreTable& Table() const { return table_; }
  // Text of a cell; "" for the cells of an empty entry.
  QString CellText(int row, int column) const;
  // Colour the row's text is drawn in.
  QColor RowColour(int row) const;
  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  TScoreTable table_{};
};

class TfScores : public QDialog {
  Q_OBJECT

 public:
  explicit TfScores(QWidget* parent = nullptr);
  // Caption "High Scores - " + the set's file name without folder, and the table.
  void Refresh(const TScoreTable& table, const std::string& levelSetFile);
  void RefreshCurrent();  // the current kind's table and level set
  TScoresGrid* grid() const { return grid_; }

 protected:
  void hideEvent(QHideEvent* event) override;  // remembers the position in gOptions

 private:
  void PlaceFromOptions();
  TScoresGrid* grid_;
};

// The program's one high-score window: created on first use (owned by `parent`), refreshed
// with the current kind's table and shown modally. Returns the dialog's result.
int ShowScoresWindow(QWidget* parent);
TfScores* ScoresWindow();  // nullptr before the first use

// The name dialog: `value` is the proposal and, on OK, the answer; "Default" puts
// `defaultText` in; at most `maxLength` characters can be typed. False on Cancel.
bool RunNameDialog(QWidget* parent, const std::string& caption, const std::string& prompt,
                   std::string& value, const std::string& defaultText, int maxLength);

}  // namespace kelvra
