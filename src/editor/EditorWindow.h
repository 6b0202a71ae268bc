// The level editor window TfEditor. It opens beside the main window; its tools arrive
// with the editor itself.
#pragma once

#include <QWidget>

#include <functional>

namespace kelvra {

class TfEditor : public QWidget {
  Q_OBJECT
 public:
  explicit TfEditor(QWidget* parent = nullptr);
  std::function<void()> onClosed;  // the user closed the window
  void Refresh();

 protected:
  void closeEvent(QCloseEvent* event) override;
};

}  // namespace kelvra
