#include <gtest/gtest.h>

#include "link/image_packing.h"

namespace q5480 {
namespace {

// Every byte different from its neighbours, so that a byte in the wrong
// place shows.
ModuleImage PatternImage() {
  ModuleImage image;
  for (std::size_t i = 0; i < kImageSize; ++i) image[i] = static_cast<std::uint8_t>(i * 7 + i / 256 + 3);
  return image;
}

ModuleConfig Limits(std::int32_t low, std::int32_t high) {
  ModuleConfig config;
  config.LimitLow = low;
  config.LimitHigh = high;
  return config;
}

std::uint8_t Check(const MemoryMap& map, std::size_t first, std::size_t last) {
  int sum = 0;
  for (std::size_t i = first; i <= last; ++i) sum += map[i];
  return static_cast<std::uint8_t>(255 - sum % 256);
}

TEST(PackImage, EveryRowOfTheMap) {
  const ModuleImage image = PatternImage();
  const MemoryMap map = PackImage(image, Limits(12, 190));
  const struct {
    std::size_t address;
    std::size_t imageOffset;
  } moved[] = {
      {18, 2},      {20, 4},      {23, 7},      {24, 2028},   {27, 2031},   {32, 1792},
      {95, 1855},   {96, 2023},   {99, 2020},   {100, 2027},  {103, 2024},  {128, 1712},
      {207, 1791},  {1024, 17},   {1025, 16},   {1026, 18},   {1031, 23},   {1032, 27},
      {1035, 24},   {1068, 63},   {1071, 60},   {1080, 65},   {1081, 64},   {1082, 67},
      {1083, 66},   {1088, 99},   {1091, 96},   {1092, 103},  {2700, 1711}, {2703, 1708},
      {2704, 83},   {2707, 80},   {2716, 95},   {2719, 92},
  };
  for (const auto& m : moved) {
    EXPECT_EQ(map[m.address], image[m.imageOffset]) << "address " << m.address;
  }
  EXPECT_EQ(map[16], 12);
  EXPECT_EQ(map[17], 190);
  EXPECT_EQ(map[19], static_cast<std::uint8_t>(~image[3]));

  const struct {
    std::size_t first;
    std::size_t last;
  } zero[] = {{0, 15}, {28, 31}, {104, 127}, {208, 507}, {511, 1023}, {1072, 1079},
              {1084, 1086}, {2720, 2747}, {2752, 4095}};
  for (const auto& z : zero) {
    for (std::size_t a = z.first; a <= z.last; ++a) ASSERT_EQ(map[a], 0) << "address " << a;
  }
}

TEST(PackImage, FloatsAreHeldLeastSignificantByteFirst) {
  ModuleImage image;
  image.StoreFloat(image_offset::kSignalLow, -2.5);  // 0x80, 0xA0, 0, 0
  const MemoryMap map = PackImage(image, ModuleConfig{});
  EXPECT_EQ(map[2704], 0x00);
  EXPECT_EQ(map[2705], 0x00);
  EXPECT_EQ(map[2706], 0xA0);
  EXPECT_EQ(map[2707], 0x80);
}

TEST(PackImage, CheckBytesCoverTheirAreas) {
  const MemoryMap map = PackImage(PatternImage(), Limits(0, 200));
  EXPECT_EQ(map[508], Check(map, 16, 23));
  EXPECT_EQ(map[509], Check(map, 24, 95));
  EXPECT_EQ(map[510], Check(map, 96, 103));
  EXPECT_EQ(map[1087], Check(map, 1024, 1086));
  for (std::size_t a = 2748; a <= 2751; ++a) EXPECT_EQ(map[a], Check(map, 1088, 2747));
}

TEST(PackImage, LimitsOutsideAByteAreHeldToIt) {
  const MemoryMap map = PackImage(ModuleImage{}, Limits(-5, 300));
  EXPECT_EQ(map[16], 0);
  EXPECT_EQ(map[17], 255);
}

TEST(UnpackImage, RoundTripOfEveryMappedField) {
  const ModuleImage original = PatternImage();
  ModuleImage unpacked;
  unpacked.bytes.fill(0xEE);
  UnpackImage(PackImage(original, Limits(12, 190)), unpacked);

  for (std::size_t i = 0; i < kImageSize; ++i) {
    const bool mapped = (i >= 2 && i <= 7) || (i >= 16 && i <= 67) || (i >= 80 && i <= 1791) ||
                        (i >= 1792 && i <= 1855) || (i >= 2020 && i <= 2031);
    if (i == 0 || i == 1 || (i >= 68 && i <= 79)) continue;
    if (mapped) {
      EXPECT_EQ(unpacked[i], original[i]) << "offset " << i;
    } else {
      EXPECT_EQ(unpacked[i], 0xEE) << "offset " << i << " is not in the map";
    }
  }
  EXPECT_EQ(unpacked[0], 12);
  EXPECT_EQ(unpacked[1], 190);
  for (std::size_t i = 68; i <= 79; ++i) EXPECT_EQ(unpacked[i], 0) << "offset " << i;
}

TEST(UnpackImage, PartialReadLeavesTheSegmentsAsTheyWere) {
  // A read of the settings, the texts, the factory data and the signal range
  // only: the rest of the working copy comes from the image itself.
  const ModuleImage before = PatternImage();
  MemoryMap working = PackImage(before, Limits(0, 200));
  const struct {
    std::size_t first;
    std::size_t last;
  } read[] = {{16, 207}, {1024, 1031}, {2704, 2719}};
  for (const auto& r : read) {
    for (std::size_t a = r.first; a <= r.last; ++a) working[a] = static_cast<std::uint8_t>(a * 3);
  }
  ModuleImage after = before;
  UnpackImage(working, after);
  for (std::size_t i = 96; i <= 1711; ++i) ASSERT_EQ(after[i], before[i]) << "segment byte " << i;
  EXPECT_EQ(after[80], static_cast<std::uint8_t>(2707 * 3));
  EXPECT_EQ(after[1712], static_cast<std::uint8_t>(128 * 3));
}

TEST(Verify, ComparesAllButTheBytesThatDifferByDesign) {
  const struct {
    std::size_t offset;
    std::uint8_t flip;
    bool newLayout;
    const char* id;
    bool reported;
  } cases[] = {
      {2044, 0x01, false, "1.45", false},  // never compared
      {2043, 0x01, false, "1.45", true},
      {2045, 0x01, false, "1.45", true},
      {2047, 0x01, true, "2104", true},
      {0, 0x01, false, "1.45", true},
      {0, 0x01, true, "2104", false},      // LimitLow against 0x55
      {1, 0x01, true, "2104", false},
      {68, 0x01, true, "2104", false},     // compensation floats
      {79, 0x01, true, "2104", false},
      {80, 0x01, true, "2104", true},
      {75, 0x01, false, "1.45", true},
      {7, 0x80, false, "1.23", false},     // the write cleared the fixed point
      {7, 0x40, false, "1.23", true},
      {7, 0x80, false, "1.45", true},
      {7, 0x80, true, "2.23", true},       // only older modules lose the bit
  };
  const ModuleImage written = PatternImage();
  for (const auto& c : cases) {
    ModuleImage read = written;
    read[c.offset] ^= c.flip;
    const auto differences = VerifyDifferences(written, read, c.newLayout, c.id);
    if (c.reported) {
      EXPECT_EQ(differences, std::vector<std::size_t>{c.offset}) << c.offset << " " << c.id;
    } else {
      EXPECT_TRUE(differences.empty()) << c.offset << " " << c.id;
    }
  }
}

TEST(Verify, IdenticalImagesAndTheIdentifierAreNotDifferences) {
  const ModuleImage written = PatternImage();
  ModuleImage read = written;
  read[2050] ^= 0xFF;  // beyond the 2048 compared bytes
  EXPECT_TRUE(VerifyDifferences(written, read, false, "1.45").empty());
  EXPECT_TRUE(VerifyDifferences(written, read, true, "2104").empty());
}

TEST(Verify, FixedPointRuleNeedsAnOlderModuleAndALowFourthCharacter) {
  EXPECT_TRUE(ClearsFixedPoint(false, "1.23"));
  EXPECT_TRUE(ClearsFixedPoint(false, "0000"));
  EXPECT_FALSE(ClearsFixedPoint(false, "1.24"));
  EXPECT_FALSE(ClearsFixedPoint(false, "1.94"));
  EXPECT_FALSE(ClearsFixedPoint(false, "1.2A"));
  EXPECT_FALSE(ClearsFixedPoint(true, "2.23"));
  EXPECT_FALSE(ClearsFixedPoint(false, "1.2")) << "no fourth character";
}

}  // namespace
}  // namespace q5480
