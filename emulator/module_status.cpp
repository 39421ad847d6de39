#include "emulator/module_status.h"

#include <array>
#include <cmath>

namespace q5480 {

namespace {

// The order in which the firmware numbers its models; 90 is the spare code.
constexpr std::array<std::uint16_t, 10> kModelCodes{95, 96, 97, 92, 93, 94, 98, 99, 91, 90};
constexpr std::uint8_t kSpareIndex = 9;

std::uint8_t Bit(bool set, int bit) { return set ? static_cast<std::uint8_t>(1u << bit) : 0; }

}  // namespace

std::uint8_t StatusByte1(const StatusFlags& flags) {
  return static_cast<std::uint8_t>((flags.resultUnit & 0x0F) | Bit(flags.calMode, 4) |
                                   Bit(flags.independentOutput, 5) | Bit(flags.sensorFault, 6) |
                                   Bit(flags.eepromError, 7));
}

std::uint8_t StatusByte2(const StatusFlags& flags) {
  return static_cast<std::uint8_t>((flags.modelIndex & 0x0F) | Bit(flags.wideCurrent, 4) |
                                   Bit(flags.newAverage, 5) | Bit(flags.largeError, 6) |
                                   Bit(flags.outOfRange, 7));
}

std::uint8_t ModelIndexOf(std::uint16_t modelNumber) {
  const std::uint16_t code = modelNumber % 100;
  for (std::size_t i = 0; i < kModelCodes.size(); ++i) {
    if (kModelCodes[i] == code) return static_cast<std::uint8_t>(i);
  }
  return kSpareIndex;
}

AveragingWindow::Step AveragingWindow::Add(double result, double fraction, int thresholdPercent) {
  Step step;
  if (havePrevious_ && thresholdPercent > 0) {
    step.largeError = std::fabs(fraction - previousFraction_) * 100.0 > thresholdPercent;
  }
  previousFraction_ = fraction;
  havePrevious_ = true;
  sum_ += result;
  if (++count_ == kAverageWindow) {
    average_ = sum_ / kAverageWindow;
    haveAverage_ = true;
    sum_ = 0;
    count_ = 0;
    step.newAverage = true;
  }
  return step;
}

double AveragingWindow::Average() const {
  if (haveAverage_) return average_;
  return count_ > 0 ? sum_ / count_ : 0.0;
}

void AveragingWindow::Reset() { *this = AveragingWindow(); }

}  // namespace q5480
