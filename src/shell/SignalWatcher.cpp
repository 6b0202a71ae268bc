// The self-pipe between the signal handlers and the event loop.
#include "shell/SignalWatcher.h"

#include <fcntl.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <cerrno>
#include <csignal>

namespace kelvra {

namespace {

// Written by the handlers, read by the event loop; -1 while no watcher exists.
int gSignalPipe[2] = {-1, -1};
constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};

// Only async-signal-safe calls here: one byte (the signal number) into the pipe. A full pipe
// drops the byte, which is harmless since the first signal already ends the program.
void OnSignal(int signal) {
  const int saved = errno;
  const unsigned char byte = static_cast<unsigned char>(signal);
  if (gSignalPipe[1] >= 0) {
    const ssize_t written = write(gSignalPipe[1], &byte, 1);
    (void)written;
  }
  errno = saved;
}

}  // namespace

TSignalWatcher::TSignalWatcher(QObject* parent) : QObject(parent) {
  if (gSignalPipe[0] >= 0 || pipe2(gSignalPipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
  notifier_ = new QSocketNotifier(gSignalPipe[0], QSocketNotifier::Read, this);
  connect(notifier_, &QSocketNotifier::activated, this, &TSignalWatcher::Drain);
  struct sigaction action = {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (int signal : kSignals) sigaction(signal, &action, nullptr);
}

TSignalWatcher::~TSignalWatcher() {
  if (!notifier_) return;
  struct sigaction action = {};
  action.sa_handler = SIG_DFL;
  sigemptyset(&action.sa_mask);
  for (int signal : kSignals) sigaction(signal, &action, nullptr);
  delete notifier_;
  close(gSignalPipe[0]);
  close(gSignalPipe[1]);
  gSignalPipe[0] = gSignalPipe[1] = -1;
}

void TSignalWatcher::Drain() {
  unsigned char bytes[16];
  ssize_t n;
  while ((n = read(gSignalPipe[0], bytes, sizeof bytes)) > 0)
    for (ssize_t i = 0; i < n; ++i) {
      received_ = bytes[i];
      emit signalled(received_);
    }
}

}  // namespace kelvra
