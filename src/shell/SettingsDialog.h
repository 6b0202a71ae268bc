// The settings dialog TfSettings: players' inputs and colours, the four keyboard mappings
// with key capture, and the graphics, sound and priority options.
#pragma once

#include <QDialog>

#include "common/Players.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;

namespace kelvra {

class TfSettings : public QDialog {
  Q_OBJECT
 public:
  explicit TfSettings(QWidget* parent = nullptr);

  // Before showing: remembers the colours and mappings for Cancel and sets every control
  // from the current settings.
  void Open();
  // After closing: what OK stored and changed (nothing after Cancel).
  bool Accepted() const { return accepted_; }
  const TSettingsChanges& Changes() const { return changes_; }

  // The values the controls show now (mappings and inputs as edited).
  TSettingsValues Values() const;

  // Starts the key capture of control `tag` (0 Left .. 5 Fire2) of the selected mapping:
  // the next key pressed, whenever it comes, becomes the control's key; Escape or a click
  // cancels. The dialog goes on working meanwhile (no loop of its own).
  void CaptureControl(int tag);
  int Capturing() const { return captureTag_; }  // the control being captured, or -1

  static constexpr const char* kCapturePrompt = "Press a key\u2026 (Esc cancels)";

  bool applyPriorities = true;  // tests keep their process as it is
  // While a replay plays, the players' input devices are the replay's: they stay as they are.
  bool lockInputs = false;

  QComboBox* playersCombo() const { return players_; }
  QComboBox* inputCombo() const { return input_; }
  QPushButton* colourButton() const { return colour_; }
  QComboBox* keyboardCombo() const { return keyboard_; }
  QPushButton* keyButton(int tag) const { return keys_[tag]; }
  QPushButton* defaultButton() const { return default_; }
  // Names the keys of the shown mapping that are also shortcuts of the program; hidden
  // when there are none.
  QLabel* shortcutWarning() const { return warning_; }
  QComboBox* frequencyCombo() const { return frequency_; }
  QComboBox* depthCombo() const { return depth_; }
  QCheckBox* soundCheck() const { return sound_; }
  QCheckBox* musicCheck() const { return music_; }

 public slots:
  void done(int result) override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  void ShowPlayer();
  void ShowKeys();
  void ShowColour();
  void EndCapture(int code);  // 0: cancelled
  void PickColour();
  void PlacePosition();

  QComboBox* players_;
  QComboBox* input_;
  QPushButton* colour_;
  QComboBox* keyboard_;
  QPushButton* keys_[kKeysPerMap];
  QPushButton* default_;
  QLabel* warning_;
  QCheckBox* fullScreen_;
  QComboBox* depth_;
  QCheckBox* waitRetrace_;
  QCheckBox* sound_;
  QCheckBox* music_;
  QCheckBox* bits16_;
  QCheckBox* stereo_;
  QCheckBox* reduce_;
  QComboBox* frequency_;
  QComboBox* process_;
  QComboBox* thread_;

  TSettingsValues edit_{};      // the mappings and inputs being edited
  TPlayerSnapshot snapshot_{};  // colours and mappings when opened
  TSettingsChanges changes_;
  bool accepted_ = false;
  int captureTag_ = -1;  // while >= 0, key and mouse input goes to the capture only
  bool filtering_ = false;
  bool placed_ = false;
};

// The "Settings..." command: opens the dialog (created on first use as a child of
// `parent`, kept until the parent goes) modally. The caller brackets it with a measurement
// pause and acts on the changes (display, sound output, music, menus).
struct TSettingsResult {
  bool accepted = false;
  TSettingsChanges changes;
};
TSettingsResult RunSettingsDialog(QWidget* parent, bool lockInputs = false);

}  // namespace kelvra
