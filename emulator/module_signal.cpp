#include "emulator/module_signal.h"

#include <charconv>
#include <cmath>
#include <numbers>
#include <vector>

namespace q5480 {

namespace {

std::vector<std::string_view> SplitFields(std::string_view text) {
  std::vector<std::string_view> fields;
  std::size_t start = 0;
  while (true) {
    const std::size_t colon = text.find(':', start);
    fields.push_back(text.substr(start, colon == std::string_view::npos ? colon : colon - start));
    if (colon == std::string_view::npos) return fields;
    start = colon + 1;
  }
}

std::optional<double> ParseReal(std::string_view text) {
  double value = 0;
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value);
  if (text.empty() || ec != std::errc() || ptr != end || !std::isfinite(value)) return std::nullopt;
  return value;
}

}  // namespace

double SignalAt(const SignalShape& shape, double seconds) {
  if (shape.kind != SignalKind::Constant && !(shape.periodSeconds > 0)) return shape.level;
  switch (shape.kind) {
    case SignalKind::Constant: return shape.level;
    case SignalKind::Ramp: {
      const double phase = std::fmod(seconds, shape.periodSeconds) / shape.periodSeconds;
      return shape.level + shape.extent * (phase < 0 ? phase + 1 : phase);
    }
    case SignalKind::Sine:
      return shape.level +
             shape.extent * std::sin(2 * std::numbers::pi * seconds / shape.periodSeconds);
  }
  return shape.level;
}

std::optional<SignalShape> ParseSignalShape(std::string_view text, std::string& error) {
  const auto fields = SplitFields(text);
  std::vector<double> numbers;
  for (std::size_t i = 1; i < fields.size(); ++i) {
    const auto value = ParseReal(fields[i]);
    if (!value) {
      error = "not a number in the signal: \"" + std::string(fields[i]) + "\"";
      return std::nullopt;
    }
    numbers.push_back(*value);
  }
  SignalShape shape;
  if (fields[0] == "const" && numbers.size() == 1) {
    shape.level = numbers[0];
    return shape;
  }
  if ((fields[0] == "ramp" || fields[0] == "sine") && numbers.size() == 3) {
    if (!(numbers[2] > 0)) {
      error = "the period of the signal must be above 0 seconds";
      return std::nullopt;
    }
    const bool ramp = fields[0] == "ramp";
    shape.kind = ramp ? SignalKind::Ramp : SignalKind::Sine;
    shape.level = numbers[0];
    shape.extent = ramp ? numbers[1] - numbers[0] : numbers[1];
    shape.periodSeconds = numbers[2];
    return shape;
  }
  error = "a signal is const:LEVEL, ramp:FROM:TO:PERIOD or sine:CENTRE:AMPLITUDE:PERIOD, not \"" +
          std::string(text) + "\"";
  return std::nullopt;
}

void SimulatedSignal::Set(const SignalShape& shape, double now) {
  std::lock_guard lock(mutex_);
  shape_ = shape;
  start_ = now;
}

double SimulatedSignal::ValueAt(double now) const {
  std::lock_guard lock(mutex_);
  return SignalAt(shape_, now - start_);
}

SignalShape SimulatedSignal::Shape() const {
  std::lock_guard lock(mutex_);
  return shape_;
}

}  // namespace q5480
