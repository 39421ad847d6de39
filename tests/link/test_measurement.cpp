#include <gtest/gtest.h>

#include "config/module_image.h"
#include "link/measurement.h"

namespace q5480 {
namespace {

TEST(SampleCurrent, BothFormatsAndTheLimits) {
  const struct {
    std::uint16_t raw;
    bool wide;
    double milliamperes;
  } cases[] = {
      {0x8000, false, 0.0},   // 4 - 64 mA is below 0
      {4096, false, 12.0},    {0, false, 4.0},     {0xFF80, false, 3.75},
      {10752, false, 25.0},   // exactly 25
      {0x7FFF, false, 25.0},  {40000, true, 20.0}, {0, true, 0.0},
      {24000, true, 12.0},    {0x8000, true, 16.384},
      {49999, true, 24.9995}, {60000, true, 25.0},
  };
  for (const auto& c : cases) {
    EXPECT_DOUBLE_EQ(DecodeCurrent(c.raw >> 8, c.raw & 0xFF, c.wide), c.milliamperes)
        << "raw " << c.raw << (c.wide ? " wide" : " standard");
  }
}

TEST(SampleDecoding, ValueCurrentAndStatusBytes) {
  const auto value = EncodeModuleFloat(-123.5);
  std::uint8_t data[kSampleSize] = {value[0], value[1], value[2], value[3], 0x9C, 0x40, 0x25, 0x03};
  MeasurementSample sample = DecodeSample(data);
  EXPECT_DOUBLE_EQ(sample.Value, -123.5);
  EXPECT_DOUBLE_EQ(sample.Current, 0.0) << "0x9C40 is negative in the standard format";
  EXPECT_EQ(sample.Status1, 0x25);
  EXPECT_EQ(sample.Status2, 0x03);

  data[7] = 0x13;  // the sample itself switches to the wide format
  sample = DecodeSample(data);
  EXPECT_DOUBLE_EQ(sample.Current, 20.0);

  const std::uint8_t reply[6] = {value[0], value[1], value[2], value[3], 0x10, 0x00};
  EXPECT_DOUBLE_EQ(DecodeValueReply(reply, false).Current, 12.0);
  EXPECT_DOUBLE_EQ(DecodeValueReply(reply, true).Current, 2.048);
  EXPECT_DOUBLE_EQ(DecodeValueReply(reply, true).Value, -123.5);
}

TEST(DeviceStatusDecoding, EveryFlagFromItsBit) {
  struct Case {
    std::uint8_t status1;
    std::uint8_t status2;
    bool DeviceStatus::*flag;
  };
  const Case cases[] = {
      {0x10, 0, &DeviceStatus::CalMode},     {0x20, 0, &DeviceStatus::IndependentOutput},
      {0x40, 0, &DeviceStatus::SensorFault}, {0x80, 0, &DeviceStatus::EepromError},
      {0, 0x10, &DeviceStatus::CurrentFormat}, {0, 0x20, &DeviceStatus::NewAverage},
      {0, 0x40, &DeviceStatus::LargeError},  {0, 0x80, &DeviceStatus::OutOfRange},
  };
  bool DeviceStatus::*const all[] = {
      &DeviceStatus::CalMode,       &DeviceStatus::IndependentOutput, &DeviceStatus::SensorFault,
      &DeviceStatus::EepromError,   &DeviceStatus::CurrentFormat,     &DeviceStatus::NewAverage,
      &DeviceStatus::LargeError,    &DeviceStatus::OutOfRange};
  for (const auto& c : cases) {
    DeviceStatus status;
    DecodeDeviceStatus(c.status1, c.status2, AverageFlags::Take, status);
    for (auto flag : all) {
      EXPECT_EQ(status.*flag, flag == c.flag) << int(c.status1) << "/" << int(c.status2);
    }
  }
}

TEST(DeviceStatusDecoding, UnitAndModelIndexFromTheLowBits) {
  DeviceStatus status;
  DecodeDeviceStatus(0xF8, 0xE7, AverageFlags::Take, status);
  EXPECT_EQ(status.ResultUnit, 8);
  EXPECT_EQ(status.ModelIndex, 7);
  DecodeDeviceStatus(0xF0, 0xF0, AverageFlags::Take, status);
  EXPECT_EQ(status.ResultUnit, 15) << "unit 0 is shown as a blank";
  EXPECT_EQ(status.ModelIndex, 0);
}

TEST(DeviceStatusDecoding, KeptAverageFlagsStayAsThePollingThreadSetThem) {
  DeviceStatus status;
  status.NewAverage = true;
  status.LargeError = false;
  DecodeDeviceStatus(0, 0x40 | 0x80, AverageFlags::Keep, status);
  EXPECT_TRUE(status.NewAverage);
  EXPECT_FALSE(status.LargeError);
  EXPECT_TRUE(status.OutOfRange) << "the other flags are decoded all the same";
  DecodeDeviceStatus(0, 0x40, AverageFlags::Take, status);
  EXPECT_FALSE(status.NewAverage);
  EXPECT_TRUE(status.LargeError);
}

}  // namespace
}  // namespace q5480
