#include <windows.h>

#include <timeapi.h>

#include "link/thread_priority.h"

namespace q5480 {

namespace {
constexpr UINT kTimerPeriodMs = 1;
}  // namespace

void RaiseThreadPriority() {
  [[maybe_unused]] BOOL result =
      ::SetThreadPriority(::GetCurrentThread(), THREAD_PRIORITY_TIME_CRITICAL);
}

void SetProgramPriority(ProgramPriority priority) {
  DWORD priorityClass = NORMAL_PRIORITY_CLASS;
  switch (priority) {
    case ProgramPriority::Normal: priorityClass = NORMAL_PRIORITY_CLASS; break;
    case ProgramPriority::High: priorityClass = HIGH_PRIORITY_CLASS; break;
    // Without the right to it Windows gives the high class instead.
    case ProgramPriority::RealTime: priorityClass = REALTIME_PRIORITY_CLASS; break;
  }
  [[maybe_unused]] BOOL result = ::SetPriorityClass(::GetCurrentProcess(), priorityClass);
}

// An end without a granted beginning is refused harmlessly.
FineTimerResolution::FineTimerResolution() { ::timeBeginPeriod(kTimerPeriodMs); }

FineTimerResolution::~FineTimerResolution() { ::timeEndPeriod(kTimerPeriodMs); }

}  // namespace q5480
