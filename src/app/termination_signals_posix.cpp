#include <fcntl.h>
#include <unistd.h>

#include <QCoreApplication>
#include <cerrno>
#include <csignal>

#include "termination_signals.h"

namespace q5480 {
namespace {

constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};

// A signal handler may only write: the byte wakes the event loop, which
// does the rest.
int gWakeUp[2] = {-1, -1};

void OnSignal(int) {
  const int saved = errno;
  const char byte = 1;
  [[maybe_unused]] const ssize_t written = ::write(gWakeUp[1], &byte, 1);
  errno = saved;
}

}  // namespace

TerminationSignals::TerminationSignals() {
  if (::pipe2(gWakeUp, O_CLOEXEC | O_NONBLOCK) != 0) return;  // the signals keep their default
  notifier_ = std::make_unique<QSocketNotifier>(gWakeUp[0], QSocketNotifier::Read);
  QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] {
    char bytes[16];
    while (::read(gWakeUp[0], bytes, sizeof bytes) > 0) {}
    received_ = true;
    QCoreApplication::exit(0);
  });
  struct sigaction action {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (int signal : kSignals) ::sigaction(signal, &action, nullptr);
}

TerminationSignals::~TerminationSignals() {
  if (!notifier_) return;
  for (int signal : kSignals) std::signal(signal, SIG_DFL);
  notifier_.reset();
  ::close(gWakeUp[0]);
  ::close(gWakeUp[1]);
  gWakeUp[0] = gWakeUp[1] = -1;
}

}  // namespace q5480
