#include "link/abort_signal.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <cstdint>
#include <system_error>

namespace q5480 {

AbortSignal::AbortSignal() : fd_(::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)) {
  if (fd_ < 0) throw std::system_error(errno, std::generic_category(), "eventfd");
}

AbortSignal::~AbortSignal() { ::close(fd_); }

void AbortSignal::Set() {
  set_.store(true);
  std::uint64_t one = 1;
  // The counter cannot overflow from our increments; a failure would only
  // mean it is readable already.
  [[maybe_unused]] auto written = ::write(fd_, &one, sizeof one);
}

void AbortSignal::Clear() {
  set_.store(false);
  std::uint64_t value = 0;
  [[maybe_unused]] auto read = ::read(fd_, &value, sizeof value);
}

}  // namespace q5480
