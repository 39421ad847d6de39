// What the serial port means on every system: its time-outs and speeds.
#include "link/serial_port.h"

namespace q5480 {

PortTimeouts TimeoutsFor(std::chrono::milliseconds baseTimeout) {
  const auto t = baseTimeout;
  return {t / 20, t / 50, t, t / 50, t / 2};
}

int BaudForSpeedCode(int speedCode) {
  switch (speedCode) {
    case 2: return 2400;
    case 3: return 4800;
    case 4: return 9600;
    default: return 1200;
  }
}

}  // namespace q5480
