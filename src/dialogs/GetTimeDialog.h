// The time dialog `TfGetTime`: a duration in milliseconds within limits, set by hour,
// minute, second and millisecond sliders with spin buttons, jump buttons or typed text.
#pragma once

#include <QDialog>
#include <cstdint>

class QLabel;
class QLineEdit;
class QPushButton;
class QSlider;

namespace kelvra {

class TSpinButton;

class TfGetTime : public QDialog {
  Q_OBJECT

 public:
  // The sliders, largest unit first.
  enum Part { tpHours = 0, tpMinutes = 1, tpSeconds = 2, tpMillis = 3 };
  static constexpr int kParts = 4;
  static constexpr uint32_t kUnits[kParts] = {3600000, 60000, 1000, 1};  // ms per step

  explicit TfGetTime(QWidget* parent = nullptr);

  // Prepares the window for one request; all values in milliseconds. A maximum below the
  // minimum is raised to it; the value at opening and the default are limited to the range.
  void Setup(const QString& caption, uint32_t value, uint32_t min, uint32_t max, uint32_t def);

  uint32_t Value() const { return value_; }
  void SetValue(uint32_t value);  // limited to the range; refreshes every control
  // As in the number dialog: typed text that is no time or lies outside the range leaves
  // the value alone, shows why, and OK is refused until it is mended.
  bool TextRejected() const { return textRejected_; }

  QSlider* slider(int part) const { return parts_[part].slider; }
  TSpinButton* spinButton(int part) const { return parts_[part].spin; }
  QLineEdit* textEdit() const { return text_; }
  QLabel* errorLabel() const { return error_; }
  QPushButton* minButton() const { return minButton_; }
  QPushButton* curButton() const { return curButton_; }
  QPushButton* defButton() const { return defButton_; }
  QPushButton* maxButton() const { return maxButton_; }
  QPushButton* okButton() const { return ok_; }
  QPushButton* cancelButton() const { return cancel_; }

 public slots:
  void accept() override;

 private:
  struct PartControls {
    QSlider* slider;
    TSpinButton* spin;
    QLabel* value;
  };

  void SliderMoved();
  void Step(int part, int direction);
  void TextEdited(const QString& text);
  void Change(uint64_t value, bool fromText);
  void Refresh(bool fromText);
  void SetRejected(const QString& message);  // empty: the text is fine

  QLabel* caption_;
  PartControls parts_[kParts];
  QLineEdit* text_;
  QLabel* error_;
  QPushButton* minButton_;
  QPushButton* curButton_;
  QPushButton* defButton_;
  QPushButton* maxButton_;
  QPushButton* ok_;
  QPushButton* cancel_;

  uint32_t min_ = 0;
  uint32_t max_ = 0;
  uint32_t opening_ = 0;
  uint32_t default_ = 0;
  uint32_t value_ = 0;
  bool textRejected_ = false;
};

// Asks for a duration in milliseconds, modally: OK writes the current value to `valueMs`
// and returns true; anything else returns false and leaves it.
bool GetTime(const QString& caption, uint32_t& valueMs, uint32_t def, uint32_t max, uint32_t min,
             QWidget* parent = nullptr);

}  // namespace kelvra
