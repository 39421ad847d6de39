// Timed waits on file descriptors that stay correct across EINTR and end at
// once when the abort descriptor becomes readable.
#pragma once

#include <poll.h>

#include "link/deadline.h"

namespace q5480 {

// Lost: the descriptor reports a hang-up or an error without the events
// asked for, as a line whose device is gone does.
enum class WaitResult { Ready, TimedOut, Aborted, Lost };

// Waits until `fd` reports `events`, `abortFd` becomes readable or the
// deadline passes. Either descriptor may be -1.
WaitResult WaitForFd(int fd, short events, int abortFd, const Deadline& deadline);

}  // namespace q5480
