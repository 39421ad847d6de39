// The two status bytes that the emulated module sends with every reading, and
// the averaging that sets its "new average" and "large error" bits.
#pragma once

#include <cstdint>

namespace q5480 {

struct StatusFlags {
  std::uint8_t resultUnit = 0;  // 0 to 15
  bool calMode = false;
  bool independentOutput = false;
  bool sensorFault = false;
  bool eepromError = false;
  std::uint8_t modelIndex = 0;  // 0 to 15
  bool wideCurrent = false;
  bool newAverage = false;
  bool largeError = false;
  bool outOfRange = false;
};

std::uint8_t StatusByte1(const StatusFlags& flags);
std::uint8_t StatusByte2(const StatusFlags& flags);

// Position of the model code (the last two digits of the model number) in the
// model code table; a code that the table lacks reports the spare code's
// position.
std::uint8_t ModelIndexOf(std::uint16_t modelNumber);

// Readings are averaged in windows of this many.
inline constexpr int kAverageWindow = 8;

class AveragingWindow {
 public:
  struct Step {
    bool newAverage = false;  // this reading completed a window
    bool largeError = false;  // it moved further than the threshold
  };

  // `fraction` is the reading's position in the input range; a jump of more
  // than `thresholdPercent` of the range from the previous reading is a large
  // error (0 switches that off).
  Step Add(double result, double fraction, int thresholdPercent);
  // The last completed average; before the first, the running one.
  double Average() const;
  void Reset();

 private:
  double sum_ = 0;
  int count_ = 0;
  double average_ = 0;
  bool haveAverage_ = false;
  double previousFraction_ = 0;
  bool havePrevious_ = false;
};

}  // namespace q5480
