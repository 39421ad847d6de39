// The simulated input signal of the emulated module: what its terminals see,
// in the unit of the sensor characteristic (ohms, millivolts, milliamperes or
// volts; for a thermocouple the terminal voltage, without the cold junction).
#pragma once

#include <mutex>
#include <optional>
#include <string>
#include <string_view>

namespace q5480 {

enum class SignalKind { Constant, Ramp, Sine };

struct SignalShape {
  SignalKind kind = SignalKind::Constant;
  double level = 0;           // the constant, the ramp's start, the sine's centre
  double extent = 0;          // the ramp's rise over one period, the sine's amplitude
  double periodSeconds = 10;  // ramp and sine
};

// The signal `seconds` after the shape was set. A ramp climbs from `level` by
// `extent` over one period and starts again.
double SignalAt(const SignalShape& shape, double seconds);

// "const:LEVEL", "ramp:FROM:TO:PERIOD" or "sine:CENTRE:AMPLITUDE:PERIOD"
// (numbers with a point, period in seconds and positive). Nothing and a
// message in `error` when the text is not one of these.
std::optional<SignalShape> ParseSignalShape(std::string_view text, std::string& error);

// A shape that one thread sets while another samples it.
class SimulatedSignal {
 public:
  // `now` is the sampler's clock in seconds; the shape starts from there.
  void Set(const SignalShape& shape, double now);
  double ValueAt(double now) const;
  SignalShape Shape() const;

 private:
  mutable std::mutex mutex_;
  SignalShape shape_;
  double start_ = 0;
};

}  // namespace q5480
