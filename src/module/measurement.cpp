#include "module/measurement.h"

#include "config/module_image.h"

namespace q5480 {

namespace {

constexpr double kStandardStep = 0.001953125;  // 1/512 mA
constexpr double kStandardZero = 4.0;
constexpr double kWideStep = 0.0005;
constexpr double kCurrentCeiling = 25.0;
constexpr std::uint8_t kBlankUnit = 15;

bool Bit(std::uint8_t byte, int bit) { return (byte >> bit) & 1; }

}  // namespace

double DecodeCurrent(std::uint8_t high, std::uint8_t low, bool wideFormat) {
  const auto raw = static_cast<std::uint16_t>(high << 8 | low);
  const double current =
      wideFormat ? raw * kWideStep : static_cast<std::int16_t>(raw) * kStandardStep + kStandardZero;
  if (current < 0) return 0;
  if (current >= kCurrentCeiling) return kCurrentCeiling;
  return current;
}

MeasurementSample DecodeSample(const std::uint8_t* data) {
  MeasurementSample sample = DecodeValueReply(data, Bit(data[kSampleStatus2], 4));
  sample.Status1 = data[kSampleStatus1];
  sample.Status2 = data[kSampleStatus2];
  return sample;
}

MeasurementSample DecodeValueReply(const std::uint8_t* data, bool wideFormat) {
  MeasurementSample sample;
  sample.Value = DecodeModuleFloat(data);
  sample.Current = DecodeCurrent(data[4], data[5], wideFormat);
  return sample;
}

void DecodeDeviceStatus(std::uint8_t status1, std::uint8_t status2, AverageFlags averageFlags,
                        DeviceStatus& status) {
  status.ResultUnit = status1 & 0x0F;
  if (status.ResultUnit == 0) status.ResultUnit = kBlankUnit;
  status.CalMode = Bit(status1, 4);
  status.IndependentOutput = Bit(status1, 5);
  status.SensorFault = Bit(status1, 6);
  status.EepromError = Bit(status1, 7);
  status.ModelIndex = status2 & 0x0F;
  status.CurrentFormat = Bit(status2, 4);
  if (averageFlags == AverageFlags::Take) {
    status.NewAverage = Bit(status2, 5);
    status.LargeError = Bit(status2, 6);
  }
  status.OutOfRange = Bit(status2, 7);
}

}  // namespace q5480
