#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <string>

#include "config/conversion_error.h"
#include "config/module_image.h"
#include "config/text.h"

namespace q5480 {
namespace {

using Bytes = std::array<std::uint8_t, 4>;

TEST(ModuleFloat, KnownEncodings) {
  struct Case {
    double value;
    Bytes bytes;
  };
  const Case cases[] = {
      {1.0, {0x7F, 0x00, 0x00, 0x00}},  {-2.5, {0x80, 0xA0, 0x00, 0x00}},
      {0.0, {0x00, 0x00, 0x00, 0x00}},  {-1.0, {0x7F, 0x80, 0x00, 0x00}},
      {2.0, {0x80, 0x00, 0x00, 0x00}},  {0.75, {0x7E, 0x40, 0x00, 0x00}},
      {-0.0, {0x00, 0x00, 0x00, 0x00}}, {1370.0, {0x89, 0x2B, 0x40, 0x00}},
      // Remainder below the carry threshold is truncated, 255 included.
      {1 + 255.3 / 8388608, {0x7F, 0x00, 0x00, 0xFF}},
      // Carry of the third byte into the second, and on into the first.
      {1 + 255.7 / 8388608, {0x7F, 0x00, 0x01, 0x00}},
      {1 + (255 * 256 + 255.7) / 8388608, {0x7F, 0x01, 0x00, 0x00}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(EncodeModuleFloat(c.value), c.bytes) << c.value;
    if (c.value != 0) {
      const double back = DecodeModuleFloat(c.bytes.data());
      EXPECT_LE(std::fabs(back - c.value), std::fabs(c.value) * 0x1p-23) << c.value;
    }
  }
}

TEST(ModuleFloat, JustBelowAPowerOfTwoRoundsUpToIt) {
  const std::pair<double, double> cases[] = {
      {0.0625 - 1e-12, 0.0625}, {0.9999999999, 1.0}, {-0.9999999999, -1.0},
      {std::nextafter(2.0, 0.0), 2.0}, {std::nextafter(1024.0, 0.0), 1024.0}};
  for (const auto& [value, expected] : cases) {
    const Bytes bytes = EncodeModuleFloat(value);
    EXPECT_EQ(DecodeModuleFloat(bytes.data()), expected) << value;
  }
}

TEST(ModuleFloat, ExactPowersOfTwo) {
  for (int k = -120; k <= 120; ++k) {
    for (double sign : {1.0, -1.0}) {
      const double value = sign * std::ldexp(1.0, k);
      const Bytes bytes = EncodeModuleFloat(value);
      EXPECT_EQ(bytes[0], 127 + k);
      EXPECT_EQ(bytes[1], sign < 0 ? 0x80 : 0x00);
      EXPECT_EQ(bytes[2] + bytes[3], 0);
      EXPECT_EQ(DecodeModuleFloat(bytes.data()), value);
    }
  }
}

TEST(ModuleFloat, MagnitudesAtAndBeyondTheExponentRange) {
  for (double value : {1e-30, -1e-30, 1e30, -1e30, 1e-38, 3e38}) {
    const Bytes bytes = EncodeModuleFloat(value);
    EXPECT_NEAR(DecodeModuleFloat(bytes.data()) / value, 1.0, 0x1p-23) << value;
  }
  // Too small to hold: zero. Too large: the largest value, with the sign.
  EXPECT_EQ(EncodeModuleFloat(1e-45), (Bytes{0, 0, 0, 0}));
  EXPECT_EQ(EncodeModuleFloat(-1e-300), (Bytes{0, 0, 0, 0}));
  const Bytes largest = EncodeModuleFloat(1e300);
  EXPECT_EQ(largest, (Bytes{0xFF, 0x7F, 0xFF, 0xFF}));
  EXPECT_EQ(EncodeModuleFloat(-1e40), (Bytes{0xFF, 0xFF, 0xFF, 0xFF}));
  EXPECT_GT(DecodeModuleFloat(largest.data()), 6.8e38);
}

TEST(ModuleFloat, RandomValuesRoundTripWithinOneMantissaStep) {
  std::mt19937_64 random(5480);
  std::uniform_real_distribution<double> decade(-30.0, 30.0);
  std::uniform_real_distribution<double> sign(-1.0, 1.0);
  for (int i = 0; i < 100000; ++i) {
    const double value = std::copysign(std::pow(10.0, decade(random)), sign(random));
    const Bytes bytes = EncodeModuleFloat(value);
    const double back = DecodeModuleFloat(bytes.data());
    ASSERT_LT(std::fabs(back - value) / std::fabs(value), 0x1p-23) << value;
  }
}

TEST(ModuleFloat, NonFiniteValuesNeverReachTheImage) {
  ModuleImage image;
  image.bytes.fill(0x5A);
  const ModuleImage before = image;
  for (double bad : {std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity(),
                     std::numeric_limits<double>::quiet_NaN()}) {
    EXPECT_THROW(image.StoreFloat(image_offset::kRoomT, bad), ConversionError);
    EXPECT_THROW(image.StoreSegment(3, 1.0, bad), ConversionError);
  }
  EXPECT_EQ(image.bytes, before.bytes);
  EXPECT_THROW(image.StoreFloat(kImageSize - 3, 1.0), std::out_of_range);
  EXPECT_THROW(image.StoreSegment(kSegmentCount, 1.0, 1.0), std::out_of_range);
}

TEST(ModuleImage, FloatsAndSegmentsLandAtTheirOffsets) {
  ModuleImage image;
  image.StoreSegment(201, -2.5, 1.0);
  EXPECT_EQ(image[96 + 8 * 201], 0x80);
  EXPECT_EQ(image[96 + 8 * 201 + 1], 0xA0);
  EXPECT_EQ(image[96 + 8 * 201 + 4], 0x7F);
  EXPECT_EQ(image.LoadFloat(96 + 8 * 201), -2.5);
  EXPECT_EQ(image.LoadFloat(96 + 8 * 201 + 4), 1.0);
}

TEST(ModuleImage, CheckByteCoversTheSettingsAndTheSegments) {
  ModuleImage image;
  image[0] = 0x55;
  image[1] = 0x31;
  EXPECT_EQ(image.ComputeCheckByte(), 255 - 0x86);
  image[67] = 1;    // factory area: not covered
  image[1712] = 1;  // texts: not covered
  EXPECT_EQ(image.ComputeCheckByte(), 255 - 0x86);
  image[1711] = 0x7A;  // last segment byte: covered, sum wraps to 0
  EXPECT_EQ(image.ComputeCheckByte(), 255);
}

}  // namespace
}  // namespace q5480
