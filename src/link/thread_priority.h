// Priorities of the link's threads and of the program during a transfer.
// Best effort: a system that refuses leaves everything as it was.
#pragma once

namespace q5480 {

// The calling thread runs before ordinary work (the polling thread and the
// workers, which must answer a byte on time).
void RaiseThreadPriority();

// The program's priority for the time of a transfer: `realTime` for the
// "Force highest priority" option, else high; Normal afterwards.
enum class ProgramPriority { Normal, High, RealTime };
void SetProgramPriority(ProgramPriority priority);

}  // namespace q5480
