// Bounded waits for a condition: no test relies on a sleep being long
// enough, and every bound is generous enough for a loaded two-core machine.
#pragma once

#include <chrono>
#include <functional>

namespace q5480::test_support {

inline constexpr std::chrono::seconds kGenerousBound{20};

// Checks `condition` every millisecond until it holds (true) or `bound`
// passed (false).
bool WaitUntil(const std::function<bool()>& condition,
               std::chrono::milliseconds bound = kGenerousBound);

}  // namespace q5480::test_support
