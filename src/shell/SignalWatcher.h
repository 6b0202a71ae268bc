// Ending the program by signal: SIGTERM, SIGINT and SIGHUP reach the Qt event loop through a
// self-pipe, where the main window closes as a user would close it, without questions.
#pragma once

#include <QObject>

class QSocketNotifier;

namespace kelvra {

class TSignalWatcher : public QObject {
  Q_OBJECT
 public:
  // Installs the handlers; one watcher per process (the handlers write to its pipe).
  explicit TSignalWatcher(QObject* parent = nullptr);
  ~TSignalWatcher() override;
  bool installed() const { return notifier_ != nullptr; }
  // The last signal that arrived, 0 for none: one that came while nothing was connected
  // (events processed while the window was being made) is not lost.
  int received() const { return received_; }

 signals:
  // In the event loop's thread, once for each signal that arrived.
  void signalled(int signal);

 private:
  void Drain();
  QSocketNotifier* notifier_ = nullptr;
  int received_ = 0;
};

}  // namespace kelvra
