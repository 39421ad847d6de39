// What the program makes of the module's bytes: the newer firmware's memory
// map of the image, the comparison that Verify makes, and the samples.
#include <gtest/gtest.h>

#include <vector>

#include "config/module_image.h"
#include "module/image_packing.h"
#include "module/measurement.h"

namespace q5480 {
namespace {

// Every byte different from its neighbours, so that a byte in the wrong
// place shows.
ModuleImage PatternImage() {
  ModuleImage image;
  for (std::size_t i = 0; i < kImageSize; ++i)
    image[i] = static_cast<std::uint8_t>(i * 7 + i / 256 + 3);
  return image;
}

std::uint8_t Check(const MemoryMap& map, std::size_t first, std::size_t last) {
  int sum = 0;
  for (std::size_t i = first; i <= last; ++i) sum += map[i];
  return static_cast<std::uint8_t>(255 - sum % 256);
}

TEST(PackImage, EveryRowOfTheMapWithItsCheckBytes) {
  const ModuleImage image = PatternImage();
  const MemoryMap map = PackImage(image, {12, 190});
  // Map address and image offset; floats and words go least significant
  // byte first.
  const std::pair<std::size_t, std::size_t> moved[] = {
      {18, 2},      {20, 4},      {23, 7},     {24, 2028},  {27, 2031},  {32, 1792},  {95, 1855},
      {96, 2023},   {99, 2020},   {100, 2027}, {103, 2024}, {128, 1712}, {207, 1791}, {1024, 17},
      {1025, 16},   {1026, 18},   {1031, 23},  {1032, 27},  {1035, 24},  {1068, 63},  {1071, 60},
      {1080, 65},   {1081, 64},   {1082, 67},  {1083, 66},  {1088, 99},  {1091, 96},  {1092, 103},
      {2700, 1711}, {2703, 1708}, {2704, 83},  {2707, 80},  {2716, 95},  {2719, 92},
  };
  for (const auto& [address, offset] : moved) EXPECT_EQ(map[address], image[offset]) << address;
  EXPECT_EQ(map[16], 12);
  EXPECT_EQ(map[17], 190);
  EXPECT_EQ(map[19], static_cast<std::uint8_t>(~image[3]));
  const std::pair<std::size_t, std::size_t> zero[] = {{0, 15},      {28, 31},     {104, 127},
                                                      {208, 507},   {511, 1023},  {1072, 1079},
                                                      {1084, 1086}, {2720, 2747}, {2752, 4095}};
  for (const auto& [first, last] : zero) {
    for (std::size_t a = first; a <= last; ++a) ASSERT_EQ(map[a], 0) << a;
  }
  EXPECT_EQ(map[508], Check(map, 16, 23));
  EXPECT_EQ(map[509], Check(map, 24, 95));
  EXPECT_EQ(map[510], Check(map, 96, 103));
  EXPECT_EQ(map[1087], Check(map, 1024, 1086));
  for (std::size_t a = 2748; a <= 2751; ++a) EXPECT_EQ(map[a], Check(map, 1088, 2747));

  // Limits outside a byte are held to it.
  const MemoryMap held = PackImage(image, {-5, 300});
  EXPECT_EQ(held[16], 0);
  EXPECT_EQ(held[17], 255);
}

TEST(UnpackImage, RoundTripOfEveryMappedFieldLeavesTheRest) {
  const ModuleImage original = PatternImage();
  ModuleImage unpacked;
  unpacked.bytes.fill(0xEE);
  UnpackImage(PackImage(original, {12, 190}), unpacked);
  for (std::size_t i = 2; i < kImageSize; ++i) {
    const bool compensation = i >= 68 && i <= 79;  // not kept by the newer firmware
    const bool mapped = (i <= 7) || (i >= 16 && i <= 1855) || (i >= 2020 && i <= 2031);
    EXPECT_EQ(unpacked[i], compensation ? 0 : mapped ? original[i] : 0xEE) << i;
  }
  EXPECT_EQ(unpacked[0], 12);
  EXPECT_EQ(unpacked[1], 190);
}

TEST(Verify, ComparesAllButTheBytesThatDifferByDesign) {
  const struct {
    std::size_t offset;
    std::uint8_t flip;
    bool newLayout;
    const char* id;
    bool reported;
  } cases[] = {
      // Byte 2044 is never compared, nor the identifier beyond 2047.
      {2044, 0x01, false, "1.45", false},
      {2043, 0x01, false, "1.45", true},
      {2045, 0x01, false, "1.45", true},
      {2047, 0x01, true, "2104", true},
      {2050, 0xFF, true, "2104", false},
      {2050, 0xFF, false, "1.45", false},
      // The newer firmware holds the limits and no compensation floats.
      {0, 0x01, false, "1.45", true},
      {0, 0x01, true, "2104", false},
      {1, 0x01, true, "2104", false},
      {68, 0x01, true, "2104", false},
      {79, 0x01, true, "2104", false},
      {80, 0x01, true, "2104", true},
      {75, 0x01, false, "1.45", true},
      // A write clears the fixed point of older modules below "4" only.
      {7, 0x80, false, "1.23", false},
      {7, 0x80, false, "0000", false},
      {7, 0x40, false, "1.23", true},
      {7, 0x80, false, "1.45", true},
      {7, 0x80, false, "1.24", true},
      {7, 0x80, false, "1.2A", true},
      {7, 0x80, false, "1.2", true},
      {7, 0x80, true, "2.23", true},
  };
  const ModuleImage written = PatternImage();
  for (const auto& c : cases) {
    ModuleImage read = written;
    read[c.offset] ^= c.flip;
    const std::vector<std::size_t> expected =
        c.reported ? std::vector<std::size_t>{c.offset} : std::vector<std::size_t>{};
    EXPECT_EQ(VerifyDifferences(written, read, c.newLayout, c.id), expected)
        << c.offset << " " << c.id;
  }
}

TEST(SampleCurrent, BothFormatsAndTheLimits) {
  const struct {
    std::uint16_t raw;
    bool wide;
    double milliamperes;
  } cases[] = {
      {0x8000, false, 0.0},  // 4 - 64 mA is below 0
      {4096, false, 12.0},    {0, false, 4.0},     {0xFF80, false, 3.75}, {10752, false, 25.0},
      {0x7FFF, false, 25.0},  {40000, true, 20.0}, {0, true, 0.0},        {0x8000, true, 16.384},
      {49999, true, 24.9995}, {60000, true, 25.0},
  };
  for (const auto& c : cases) {
    EXPECT_DOUBLE_EQ(DecodeCurrent(c.raw >> 8, c.raw & 0xFF, c.wide), c.milliamperes)
        << c.raw << (c.wide ? " wide" : " standard");
  }
}

TEST(SampleDecoding, ValueCurrentInTheSamplesOwnFormatAndStatusBytes) {
  const auto value = EncodeModuleFloat(-123.5);
  std::uint8_t data[kSampleSize] = {value[0], value[1], value[2], value[3], 0x9C, 0x40, 0x25, 0x03};
  MeasurementSample sample = DecodeSample(data);
  EXPECT_DOUBLE_EQ(sample.Value, -123.5);
  EXPECT_DOUBLE_EQ(sample.Current, 0.0) << "0x9C40 is negative in the standard format";
  EXPECT_EQ(sample.Status1, 0x25);
  EXPECT_EQ(sample.Status2, 0x03);
  data[7] = 0x13;  // the sample itself switches to the wide format
  EXPECT_DOUBLE_EQ(DecodeSample(data).Current, 20.0);
  // A "Z" reply in the format of the last sample.
  EXPECT_DOUBLE_EQ(DecodeValueReply(data, false).Current, 0.0);
  EXPECT_DOUBLE_EQ(DecodeValueReply(data, true).Current, 20.0);
  EXPECT_DOUBLE_EQ(DecodeValueReply(data, true).Value, -123.5);
}

TEST(DeviceStatusDecoding, EveryFieldFromItsBits) {
  using S = DeviceStatus;
  const struct {
    std::uint8_t status1, status2;
    bool S::*flag;  // the one flag set
  } cases[] = {
      {0x10, 0, &S::CalMode},     {0x20, 0, &S::IndependentOutput}, {0x40, 0, &S::SensorFault},
      {0x80, 0, &S::EepromError}, {0, 0x10, &S::CurrentFormat},     {0, 0x20, &S::NewAverage},
      {0, 0x40, &S::LargeError},  {0, 0x80, &S::OutOfRange},
  };
  for (const auto& c : cases) {
    DeviceStatus status;
    DecodeDeviceStatus(c.status1 | 0x08, c.status2 | 0x07, AverageFlags::Take, status);
    for (auto flag : {&S::CalMode, &S::IndependentOutput, &S::SensorFault, &S::EepromError,
                      &S::CurrentFormat, &S::NewAverage, &S::LargeError, &S::OutOfRange}) {
      EXPECT_EQ(status.*flag, flag == c.flag) << int(c.status1) << "/" << int(c.status2);
    }
    EXPECT_EQ(status.ResultUnit, 8);
    EXPECT_EQ(status.ModelIndex, 7);
  }
  DeviceStatus status;
  DecodeDeviceStatus(0xF0, 0xF0, AverageFlags::Take, status);
  EXPECT_EQ(status.ResultUnit, 15) << "unit 0 is shown as a blank";
  EXPECT_EQ(status.ModelIndex, 0);

  // Kept average flags stay as the polling thread set them.
  status.NewAverage = true;
  status.LargeError = false;
  DecodeDeviceStatus(0, 0x40 | 0x80, AverageFlags::Keep, status);
  EXPECT_TRUE(status.NewAverage);
  EXPECT_FALSE(status.LargeError);
  EXPECT_TRUE(status.OutOfRange) << "the other flags are decoded all the same";
}

}  // namespace
}  // namespace q5480
