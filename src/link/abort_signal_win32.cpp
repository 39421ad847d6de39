#include <windows.h>

#include <algorithm>
#include <system_error>

#include "link/abort_signal.h"

namespace q5480 {
namespace {

HANDLE Event(std::intptr_t native) { return reinterpret_cast<HANDLE>(native); }

DWORD Milliseconds(std::chrono::steady_clock::duration duration) {
  using std::chrono::milliseconds;
  const auto ms = std::chrono::ceil<milliseconds>(duration).count();
  return ms <= 0 ? 0 : static_cast<DWORD>(std::min<long long>(ms, INFINITE - 1));
}

}  // namespace

// A manual-reset event: it stays signalled until Clear, for every waiter.
AbortSignal::AbortSignal()
    : native_(reinterpret_cast<std::intptr_t>(::CreateEventW(nullptr, TRUE, FALSE, nullptr))) {
  if (native_ == 0) {
    throw std::system_error(static_cast<int>(::GetLastError()), std::system_category(),
                            "CreateEvent");
  }
}

AbortSignal::~AbortSignal() { ::CloseHandle(Event(native_)); }

void AbortSignal::Set() {
  set_.store(true);
  ::SetEvent(Event(native_));
}

void AbortSignal::Clear() {
  set_.store(false);
  ::ResetEvent(Event(native_));
}

bool AbortSignal::Sleep(std::chrono::steady_clock::duration duration) const {
  return ::WaitForSingleObject(Event(native_), Milliseconds(duration)) != WAIT_OBJECT_0;
}

}  // namespace q5480
