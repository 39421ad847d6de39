// A Windows program with windows has no console for Ctrl+C, and a logout or
// shutdown reaches it as a window message that Qt turns into closing the
// main window, which stores the settings and releases the port as always.
#include "termination_signals.h"

namespace q5480 {

TerminationSignals::TerminationSignals() = default;
TerminationSignals::~TerminationSignals() = default;

}  // namespace q5480
