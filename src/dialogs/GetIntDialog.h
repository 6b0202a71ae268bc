// The number dialog `TfGetInt`: a value kept within limits, set by jump buttons, a slider,
// a spin button or text read by the number reader; modal, or modeless with a callback.
#pragma once

#include <QDialog>
#include <QSlider>
#include <QWidget>
#include <cstdint>
#include <functional>

class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace kelvra {

// Called with the new value after every change of a modeless number dialog.
using IntChangedFn = std::function<void(int32_t)>;

// Two stacked arrow buttons stepping a value up or down, repeating while held.
class TSpinButton : public QWidget {
  Q_OBJECT

 public:
  explicit TSpinButton(QWidget* parent = nullptr);
  void SetLimits(bool upAllowed, bool downAllowed);
  QToolButton* upButton() const { return up_; }
  QToolButton* downButton() const { return down_; }

 signals:
  void stepped(int direction);  // +1 up, -1 down

 private:
  QToolButton* up_;
  QToolButton* down_;
};

// A horizontal slider that also marks one value (the value at opening) with a small
// triangle under the groove.
class TMarkedSlider : public QSlider {
  Q_OBJECT

 public:
  explicit TMarkedSlider(QWidget* parent = nullptr);
  void SetMark(int value);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  int mark_ = 0;
};

class TfGetInt : public QDialog {
  Q_OBJECT

 public:
  explicit TfGetInt(QWidget* parent = nullptr);

  // Prepares the window for one request. A maximum below the minimum is raised to it; the
  // value at opening and the default are limited to minimum..maximum. With a callback the
  // window works modeless: every change is reported to it.
  void Setup(const QString& caption, int32_t value, int32_t min, int32_t max, int32_t def,
             IntChangedFn onChange);

  int32_t Value() const { return value_; }
  // The typed text could not be read or lies outside the range: the error label says why,
  // the value stays what it was, and OK and Apply are refused until the text is mended
  // (or replaced through the slider or a button).
  bool TextRejected() const { return textRejected_; }
  // Sets the current value, limited to the range; refreshes the controls and, when the
  // value changed, calls the callback.
  void SetValue(int32_t value);

  QLabel* minLabel() const { return minLabel_; }
  QLabel* maxLabel() const { return maxLabel_; }
  QLabel* valueLabel() const { return valueLabel_; }
  QLabel* errorLabel() const { return error_; }
  QLineEdit* textEdit() const { return text_; }
  TMarkedSlider* slider() const { return slider_; }
  TSpinButton* spinButton() const { return spin_; }
  QPushButton* minButton() const { return minButton_; }
  QPushButton* curButton() const { return curButton_; }
  QPushButton* defButton() const { return defButton_; }
  QPushButton* maxButton() const { return maxButton_; }
  QPushButton* okButton() const { return ok_; }
  QPushButton* cancelButton() const { return cancel_; }
  QPushButton* applyButton() const { return apply_; }

  static constexpr int kMaxTextLength = 15;

 public slots:
  void accept() override;
  void reject() override;  // modeless: reports the value at opening again when it changed

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Change(int32_t value, bool fromText);
  void Refresh(bool fromText);
  void TextEdited(const QString& text);
  void Step(int direction);
  void Finish();
  void SetRejected(bool rejected);
  bool RefuseRejectedText();

  QLabel* caption_;
  QLabel* minLabel_;
  QLabel* maxLabel_;
  QLabel* valueLabel_;
  QLabel* error_;
  QLineEdit* text_;
  TMarkedSlider* slider_;
  TSpinButton* spin_;
  QPushButton* minButton_;
  QPushButton* curButton_;
  QPushButton* defButton_;
  QPushButton* maxButton_;
  QPushButton* ok_;
  QPushButton* cancel_;
  QPushButton* apply_;

  int32_t min_ = 0;
  int32_t max_ = 0;
  int32_t opening_ = 0;
  int32_t default_ = 0;
  int32_t value_ = 0;
  IntChangedFn onChange_;
  bool textRejected_ = false;
};

// Asks for a number. Without a callback the dialog is modal: OK writes the current value
// to `value` and returns true (OK does nothing while the typed text is rejected), anything else
// returns false and leaves `value`. With a callback the dialog stays on top without waiting and
// true is returned at once; the callback hears every change, and "&Cancel" brings back the value at
// opening.
bool GetInt(const QString& caption, int32_t& value, int32_t min, IntChangedFn onChange, int32_t max,
            int32_t def, QWidget* parent = nullptr);

// The kept number window, nullptr before the first use.
TfGetInt* GetIntWindow();

}  // namespace kelvra
