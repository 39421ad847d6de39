// Priorities of the link's threads and of the program during a transfer, and
// the system timer's resolution (thread_priority_linux.cpp,
// thread_priority_win32.cpp). Best effort: a system that refuses leaves
// everything as it was.
#pragma once

namespace q5480 {

// The calling thread runs before ordinary work (the polling thread and the
// workers, which must answer a byte on time).
void RaiseThreadPriority();

// The program's priority for the time of a transfer: `realTime` for the
// "Force highest priority" option, else high; Normal afterwards.
enum class ProgramPriority { Normal, High, RealTime };
void SetProgramPriority(ProgramPriority priority);

// While one exists the system timer ticks every millisecond, so that the
// link's short waits and pauses end on time. Windows otherwise ticks every
// 15.6 ms; Linux timers need nothing.
class FineTimerResolution {
 public:
  FineTimerResolution();
  ~FineTimerResolution();
  FineTimerResolution(const FineTimerResolution&) = delete;
  FineTimerResolution& operator=(const FineTimerResolution&) = delete;
};

}  // namespace q5480
