#include "link/deadline.h"

#include <cerrno>

namespace q5480 {

int Deadline::RemainingMs() const {
  auto left = end_ - Clock::now();
  if (left <= Clock::duration::zero()) return 0;
  auto ms = std::chrono::ceil<std::chrono::milliseconds>(left).count();
  return ms > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<int>(ms);
}

WaitResult WaitForFd(int fd, short events, int abortFd, const Deadline& deadline) {
  pollfd fds[2] = {{abortFd, POLLIN, 0}, {fd, events, 0}};
  for (;;) {
    int timeout = deadline.RemainingMs();
    int ready = ::poll(fds, 2, timeout);
    if (ready < 0) {
      if (errno == EINTR) continue;
      return WaitResult::Failed;
    }
    if (abortFd >= 0 && (fds[0].revents & POLLIN)) return WaitResult::Aborted;
    if (fd >= 0 && fds[1].revents != 0) {
      return (fds[1].revents & events) ? WaitResult::Ready : WaitResult::Failed;
    }
    if (ready == 0 && timeout == 0) return WaitResult::TimedOut;
  }
}

bool SleepUnlessAborted(int abortFd, std::chrono::milliseconds duration) {
  return WaitForFd(-1, 0, abortFd, Deadline(duration)) != WaitResult::Aborted;
}

}  // namespace q5480
