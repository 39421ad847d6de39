#include "link/fd_wait_posix.h"

#include <cerrno>
#include <ctime>

namespace q5480 {

WaitResult WaitForFd(int fd, short events, int abortFd, const Deadline& deadline) {
  pollfd fds[2] = {{abortFd, POLLIN, 0}, {fd, events, 0}};
  for (;;) {
    auto left = std::chrono::duration_cast<std::chrono::nanoseconds>(deadline.Remaining()).count();
    timespec timeout{static_cast<time_t>(left / 1000000000), static_cast<long>(left % 1000000000)};
    int ready = ::ppoll(fds, 2, &timeout, nullptr);
    if (ready < 0) {
      if (errno == EINTR) continue;
      return WaitResult::Lost;
    }
    if (abortFd >= 0 && (fds[0].revents & POLLIN)) return WaitResult::Aborted;
    if (fd >= 0 && fds[1].revents != 0) {
      return (fds[1].revents & events) ? WaitResult::Ready : WaitResult::Lost;
    }
    if (ready == 0 && left == 0) return WaitResult::TimedOut;
  }
}

}  // namespace q5480
