// The game information window TfInfo: the current kind with the program's version and build
// date, and its level set's version, editing time, save count, last save and description.
#pragma once

#include <QDialog>
#include <QString>
#include <cstdint>

class QLabel;

namespace kelvra {

// Editing time as hours, minutes and seconds: "0:00:00", "27:03:09"; hours grow as
// needed, a negative time (a damaged header) gets a leading "-".
QString InfoDuration(int64_t ms);
// A date and time in days since 30 December 1899 (the fraction is the time of day) in
// the system's short date and time format; empty when out of the years 1..9999 or not a
// number.
QString InfoDateTime(double days);
// "Game": the kind's name and the program's version ("Burrower 0.1.0"); "Build": the day
// the program was built, "YYYY-MM-DD" (UTC).
QString InfoGameText(int kind);
QString InfoBuildText();

class TfInfo : public QDialog {
  Q_OBJECT
 public:
  explicit TfInfo(QWidget* parent = nullptr);

  // Fills every field from the kind's state (the current kind by default).
  void Fill(int kind = -1);

  QLabel* gameLabel() const { return game_; }
  QLabel* buildLabel() const { return build_; }
  QLabel* versionLabel() const { return version_; }
  QLabel* workTimeLabel() const { return workTime_; }
  QLabel* saveCountLabel() const { return saveCount_; }
  QLabel* modifiedLabel() const { return modified_; }
  QLabel* descriptionLabel() const { return description_; }

 public slots:
  void done(int result) override;  // also stores the position

 private:
  void StorePosition();

  QLabel* game_;
  QLabel* build_;
  QLabel* version_;
  QLabel* workTime_;
  QLabel* saveCount_;
  QLabel* modified_;
  QLabel* description_;  // shown, never edited here: the editor changes it
};

// "Game Info...": fills and shows the window modally (created on first use as a child of
// `parent`, kept until the parent goes). The caller brackets it with a measurement pause.
void ShowGameInfo(QWidget* parent);

}  // namespace kelvra
