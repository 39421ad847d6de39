// The decoded measurement of a module and its status flags.
#pragma once

#include <cstddef>
#include <cstdint>

namespace q5480 {

inline constexpr std::size_t kSampleSize = 8;  // data bytes of an "m" reply
// Where the status bytes lie in a sample, after the value and the current.
inline constexpr std::size_t kSampleStatus1 = 6;
inline constexpr std::size_t kSampleStatus2 = 7;

struct MeasurementSample {
  double Value = 0;    // the result in the result unit
  double Current = 0;  // output current, mA, 0 to 25
  std::uint8_t Status1 = 0;
  std::uint8_t Status2 = 0;
};

struct DeviceStatus {
  bool CalMode = false;
  bool IndependentOutput = false;
  bool SensorFault = false;
  bool EepromError = false;
  std::uint8_t ResultUnit = 15;  // index of the unit table; 15 is a blank
  bool CurrentFormat = false;    // set: unsigned codes of 0.5 uA
  bool NewAverage = false;
  bool LargeError = false;
  bool OutOfRange = false;
  std::uint8_t ModelIndex = 16;  // 16: no module has reported yet
};

// Whether a decode takes "new average" and "large error" from the sample.
// Samples that TakeSample copies keep what the polling thread latched.
enum class AverageFlags { Take, Keep };

// The output current of two code bytes (high first): standard format signed
// 1/512 mA above 4 mA, wide format unsigned 0.5 uA steps; held to 0..25 mA.
double DecodeCurrent(std::uint8_t high, std::uint8_t low, bool wideFormat);

// The 8 data bytes of an "m" reply; the current format comes from the
// sample's own second status byte.
MeasurementSample DecodeSample(const std::uint8_t* data);

// The value and current of a "Z" reply (6 bytes), in the format that the
// module reported with its last sample.
MeasurementSample DecodeValueReply(const std::uint8_t* data, bool wideFormat);

void DecodeDeviceStatus(std::uint8_t status1, std::uint8_t status2, AverageFlags averageFlags,
                        DeviceStatus& status);

}  // namespace q5480
