#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <system_error>

#include "link/abort_signal.h"
#include "link/fd_wait_posix.h"

namespace q5480 {

namespace {

int Fd(std::intptr_t native) { return static_cast<int>(native); }

}  // namespace

AbortSignal::AbortSignal() : native_(::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)) {
  if (native_ < 0) throw std::system_error(errno, std::generic_category(), "eventfd");
}

AbortSignal::~AbortSignal() { ::close(Fd(native_)); }

void AbortSignal::Set() {
  set_.store(true);
  std::uint64_t one = 1;
  // The counter cannot overflow from our increments; a failure would only
  // mean it is readable already.
  [[maybe_unused]] auto written = ::write(Fd(native_), &one, sizeof one);
}

void AbortSignal::Clear() {
  set_.store(false);
  std::uint64_t value = 0;
  [[maybe_unused]] auto read = ::read(Fd(native_), &value, sizeof value);
}

bool AbortSignal::Sleep(std::chrono::steady_clock::duration duration) const {
  return WaitForFd(-1, 0, Fd(native_), Deadline(duration)) != WaitResult::Aborted;
}

}  // namespace q5480
