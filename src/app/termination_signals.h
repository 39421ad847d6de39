// SIGTERM, SIGINT and SIGHUP end the desktop program the way closing its
// main window does, so that a logout, a `kill` or Ctrl+C in a terminal still
// stores the settings and releases the serial port.
#pragma once

#include <QSocketNotifier>
#include <memory>

namespace q5480 {

class TerminationSignals {
 public:
  // From now on the signals end every running event loop, modal windows'
  // included (QCoreApplication::exit), instead of the process.
  TerminationSignals();
  // The signals end the process again.
  ~TerminationSignals();
  TerminationSignals(const TerminationSignals&) = delete;
  TerminationSignals& operator=(const TerminationSignals&) = delete;

  // One of the signals came: an event loop started after it would not see it.
  bool Received() const { return received_; }

 private:
  std::unique_ptr<QSocketNotifier> notifier_;
  bool received_ = false;
};

}  // namespace q5480
