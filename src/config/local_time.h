// The calendar time of the local time zone (local_time_posix.cpp,
// local_time_win32.cpp): the C library's thread-safe call differs by system.
#pragma once

#include <ctime>

namespace q5480 {

std::tm LocalTimeOf(std::time_t time);

}  // namespace q5480
