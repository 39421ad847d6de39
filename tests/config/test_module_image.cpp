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

// ---- Codes -------------------------------------------------------------------

ModuleConfig Config(const char* device, int typ, int tryb, int lin) {
  ModuleConfig config;
  config.Device = device;
  config.Typ = static_cast<std::uint8_t>(typ);
  config.Tryb = static_cast<std::uint8_t>(tryb);
  config.Lin = static_cast<std::uint8_t>(lin);
  config.Siec = 60;
  return config;
}

TEST(InputCode, EveryGroup) {
  struct Case {
    const char* device;
    int typ, tryb, lin;
    int expected;
  };
  const Case cases[] = {
      {"Q5491", 10, 8, 1, 8},   {"Q5492", 10, 9, 1, 10},  {"Q5493", 10, 10, 1, 12},
      {"Q5494", 10, 11, 1, 14}, {"Q5491", 10, 7, 1, 0},   {"Q5491", 18, 8, 1, 9},
      {"Q5491", 19, 5, 2, 1},   {"Q5491", 19, 5, 1, 0},   {"Q5491", 5, 2, 1, 0},
      {"Q5495", 1, 2, 1, 6},    {"Q5496", 1, 3, 1, 4},    {"Q5497", 1, 4, 1, 5},
      {"Q5495", 10, 6, 1, 1},   {"Q5495", 10, 7, 1, 2},   {"Q5495", 10, 8, 1, 2},
      {"Q5495", 10, 5, 1, 0},   {"Q5495", 5, 2, 1, 14},   {"Q5495", 16, 5, 1, 8},
      {"Q5495", 18, 8, 1, 2},   {"Q5498", 5, 2, 2, 0},    {"Q5499", 18, 8, 1, 0},
      {"Q5490", 16, 2, 1, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(InputCode(Config(c.device, c.typ, c.tryb, c.lin)), c.expected)
        << c.device << " Typ " << c.typ << " Tryb " << c.tryb;
  }
}

TEST(InputCode, BurnoutAndMainsBits) {
  const std::pair<std::pair<int, int>, int> cases[] = {
      {{0, 60}, 0x00}, {{1, 60}, 0x80}, {{2, 60}, 0x10}, {{0, 50}, 0x40}, {{1, 50}, 0xC0}};
  for (const auto& [settings, bits] : cases) {
    ModuleConfig config = Config("Q5495", 1, 3, 1);
    config.Burnout = settings.first;
    config.Siec = settings.second;
    EXPECT_EQ(InputCode(config), 4 + bits);
  }
}

TEST(DecimalPointCode, FixedPositionsAndTheAutomaticRule) {
  struct Case {
    int kropka;
    double min, max;
    int expected;
  };
  const Case cases[] = {
      {1, 0, 1, 11},          {2, 0, 1, 10},          {3, 0, 1, 9},
      {4, 0, 1, 8},           {0, -1500, 1500, 0},    {0, -9.9, 5, 3},
      {0, -15, -5, 2},        {0, 100, 200, 1},       {0, 0, 10, 2},
      {0, 0, 9.99, 3},        {0, -5, -1, 2},         {0, -300, -250, 0},
      {0, -300, -150, 1},     {0, -2000, -1999, 0},   {7, -9.9, 5, 3},
  };
  for (const Case& c : cases) {
    ModuleConfig config;
    config.Kropka = c.kropka;
    config.MinInput = c.min;
    config.MaxInput = c.max;
    EXPECT_EQ(DecimalPointCode(config), c.expected) << c.kropka << " " << c.min << " " << c.max;
  }
}

// ---- Build and decode ------------------------------------------------------------

// A module as read: model number and the factory bytes set, conversion data
// in place.
ModuleImage ModuleWithModel(std::uint16_t modelNumber) {
  ModuleImage image;
  image[16] = static_cast<std::uint8_t>(modelNumber >> 8);
  image[17] = static_cast<std::uint8_t>(modelNumber & 0xFF);
  return image;
}

ModuleConfig SampleConfig() {
  ModuleConfig config = Config("Q5495", 1, 3, 1);
  config.MinInput = -50.5;
  config.MaxInput = 320.3;
  config.RoomT = 23.4;
  config.ZeroReg = 0.0123;
  config.GainReg = -0.5;
  config.FiltrZakres = 125;
  config.FiltrCzas = 50;
  config.FiltrLimit = 37;
  config.Burnout = 2;
  config.Siec = 60;
  config.Jednostki = 8;
  config.Kropka = 2;
  config.kod = "Piec łąkowy 7";
  config.ogolne = "Zażółć gęślą jaźń – linia 3";
  return config;
}

ModuleConfig BuildAndDecode(const ModuleConfig& config, ModuleImage& image,
                            InputLimits& limits, std::uint16_t day = 46362) {
  StoreRecordInImage(config, image, day);
  ModuleConfig decoded;
  DecodeModuleImage(image, decoded, limits);
  return decoded;
}

TEST(BuildAndDecode, RecordFieldsComeBack) {
  ModuleImage image = ModuleWithModel(5495);
  image.StoreFloat(image_offset::kSignalLow, 80.3063);
  image.StoreFloat(image_offset::kSignalStep, 0.00612345);
  InputLimits limits;
  const ModuleConfig config = SampleConfig();
  const ModuleConfig back = BuildAndDecode(config, image, limits);

  EXPECT_EQ(back.Device, "Q5495");
  EXPECT_EQ(back.data, "06.12.2026");
  EXPECT_EQ(back.FactoryDate, "never");
  EXPECT_EQ(back.Typ, config.Typ);
  EXPECT_EQ(back.Tryb, config.Tryb);
  EXPECT_EQ(back.Lin, config.Lin);
  // Six figures: each exactly the double nearest to its decimal text.
  EXPECT_EQ(back.MinInput, -50.5);
  EXPECT_EQ(back.MaxInput, 320.3);
  EXPECT_EQ(back.RoomT, 23.4);
  EXPECT_EQ(back.ZeroReg, 0.0123);
  EXPECT_EQ(back.GainReg, -0.5);
  EXPECT_EQ(back.SignalLow, 80.3063);
  EXPECT_NEAR(back.SignalHigh, 80.3063 + 200 * 0.00612345, 1e-9);
  EXPECT_EQ(back.FiltrZakres, config.FiltrZakres);
  EXPECT_EQ(back.FiltrCzas, config.FiltrCzas);
  EXPECT_EQ(back.FiltrLimit, config.FiltrLimit);
  EXPECT_EQ(back.Burnout, config.Burnout);
  EXPECT_EQ(back.Siec, config.Siec);
  EXPECT_EQ(back.Jednostki, config.Jednostki);
  EXPECT_EQ(back.Kropka, config.Kropka);
  EXPECT_EQ(back.kod, config.kod);
  EXPECT_EQ(back.ogolne, config.ogolne);
  EXPECT_EQ(back.File, "");
}

TEST(BuildAndDecode, EveryModeOfAGroupSurvives) {
  const std::pair<std::uint16_t, const char*> models[] = {{5491, "Q5491"}, {5495, "Q5495"}};
  for (const auto& [number, device] : models) {
    for (int tryb : {2, 3, 4, 5, 6, 7, 8}) {
      const bool groupA = number == 5491;
      if (groupA && tryb != 5 && tryb != 8) continue;  // group A keeps only these
      ModuleImage image = ModuleWithModel(number);
      InputLimits limits;
      const ModuleConfig back = BuildAndDecode(Config(device, 19, tryb, 2), image, limits);
      EXPECT_EQ(back.Tryb, tryb == 8 && !groupA ? 7 : tryb) << device << " " << tryb;
    }
  }
}

TEST(DecodeModuleImage, TrybByGroup) {
  struct Case {
    std::uint16_t model;
    std::uint8_t inputCode;
    int tryb;
  };
  const Case cases[] = {
      {5491, 0x07, 5}, {5491, 0x08, 8}, {5492, 0x09, 8},
      {5493, 0x0A, 0}, {5494, 0x0D, 0}, {5491, 0x0F, 0},  // 9, 10, 11: not kept
      {5495, 0x03, 1}, {5496, 0x06, 2}, {5497, 0x0C, 3},  {5498, 0x05, 4},
      {5499, 0x00, 5}, {5490, 0x01, 6}, {5495, 0x02, 7},  {5495, 0x07, 1},
  };
  for (const Case& c : cases) {
    ModuleImage image = ModuleWithModel(c.model);
    image[image_offset::kInputCode] = c.inputCode;
    image[image_offset::kTyp] = 10;
    ModuleConfig config;
    InputLimits limits;
    DecodeModuleImage(image, config, limits);
    EXPECT_EQ(config.Tryb, c.tryb) << c.model << " code " << int{c.inputCode};
  }
}

TEST(DecodeModuleImage, FactoryFieldsDatesAndLimitBytes) {
  ModuleImage image = ModuleWithModel(5498);
  image[18] = 0xB5;  // 46362
  image[19] = 0x1A;
  image[20] = 0x00;
  image[21] = 0x01;
  image[22] = 0x00;
  image[23] = 0x02;
  image[0] = 20;
  image[1] = 180;
  image[2] = 0x90;  // both burnout bits: the second wins
  image[4] = 3;
  image[5] = 251;   // outside the filter range
  image[7] = 0xA5;
  const std::uint8_t id[] = {'A', 'B', 0xA3, '1'};
  std::copy(std::begin(id), std::end(id), image.bytes.begin() + image_offset::kModuleId);
  ModuleConfig config;
  InputLimits limits;
  DecodeModuleImage(image, config, limits);
  EXPECT_EQ(config.FactoryDate, "06.12.2026");
  EXPECT_EQ(config.data, "never");
  EXPECT_EQ(config.serial, "65538");
  EXPECT_EQ(config.LimitLow, 20);
  EXPECT_EQ(config.LimitHigh, 180);
  EXPECT_EQ(config.Burnout, 2);
  EXPECT_EQ(config.Siec, 60);
  EXPECT_EQ(config.FiltrCzas, 5);      // 3 x 1.6 = 4.8
  EXPECT_EQ(config.FiltrZakres, 0);
  EXPECT_EQ(config.Jednostki, 5);
  EXPECT_EQ(config.Kropka, 2);
  EXPECT_EQ(config.ModuleId, "ABŁ1");
}

TEST(BuildAndDecode, ConversionMarkers) {
  ModuleConfig config = Config("Q5495", 16, 5, kLinSeries);
  config.Coefficients = {0.5, -1.25, 1024, 3.0625, 1e-5, 0, 0, 0, 0, -20.25, 1500};
  ModuleImage image = ModuleWithModel(5495);
  InputLimits limits;
  ModuleConfig back = BuildAndDecode(config, image, limits);
  EXPECT_EQ(image[1792] + image[1793] + image[1794], 9);
  EXPECT_EQ(back.Lin, kLinSeries);
  for (std::size_t n = 0; n < 11; ++n) {
    EXPECT_NEAR(back.Coefficients[n], config.Coefficients[n],
                std::fabs(config.Coefficients[n]) * 0x1p-23) << n;
  }
  EXPECT_EQ(image[1795], 0xFF);
  EXPECT_TRUE(std::all_of(&image[1840], &image[1840] + 16, [](auto b) { return b == 0xFF; }));
  EXPECT_EQ(limits.UpperTenths(15), 0);  // a series leaves the user limits alone

  config.Lin = kLinLinear;
  back = BuildAndDecode(config, image, limits);
  EXPECT_EQ(image[1792] + image[1793] + image[1794], 6);
  EXPECT_EQ(back.Lin, kLinLinear);
  EXPECT_EQ(limits.LowerTenths(15), -202);  // -202.5 to the even neighbour
  EXPECT_EQ(limits.UpperTenths(15), 15000);

  config.Lin = 0;
  back = BuildAndDecode(config, image, limits);
  EXPECT_TRUE(std::all_of(&image[1792], &image[1856], [](auto b) { return b == 0xFF; }));
  EXPECT_EQ(back.File, "");
  EXPECT_TRUE(std::all_of(back.Coefficients.begin(), back.Coefficients.end(),
                          [](double c) { return c == 0; }));
}

TEST(BuildAndDecode, TableFileNames) {
  const std::string name61 = "tabela_żółw_" + std::string(49, 'x');
  ASSERT_EQ(CharCount(name61), 61u);
  struct Case {
    std::string file;
    bool loaded;
    std::string expected;
  };
  const Case cases[] = {
      {"Łódź.dat", true, "Łódź.dat"},
      {"Łódź.dat", false, ""},
      {name61, true, name61},
      {name61 + "y", true, ""},
  };
  for (const Case& c : cases) {
    ModuleConfig config = Config("Q5495", 16, 5, kLinTable);
    config.File = c.file;
    config.TableLoaded = c.loaded;
    ModuleImage image = ModuleWithModel(5495);
    InputLimits limits;
    const ModuleConfig back = BuildAndDecode(config, image, limits);
    EXPECT_EQ(image[1792] + image[1793] + image[1794], 3);
    EXPECT_EQ(back.File, c.expected) << c.file;
  }
}

TEST(BuildAndDecode, TextsAreCutToTheirFields) {
  ModuleConfig config = Config("Q5495", 1, 3, 1);
  config.kod = "ąąąąąąąąąąąąąąąąąąąą";      // 20 characters
  config.ogolne = std::string(55, 'o') + "ŻŻŻŻŻŻ";  // 61 characters
  ModuleImage image = ModuleWithModel(5495);
  InputLimits limits;
  const ModuleConfig back = BuildAndDecode(config, image, limits);
  EXPECT_EQ(back.kod, Utf8Left(config.kod, 15));
  EXPECT_EQ(back.ogolne, Utf8Left(config.ogolne, 60));
  EXPECT_EQ(image[1727], 0);

  config.kod = "Ж1";  // not in the code page
  config.ogolne = "";
  const ModuleConfig again = BuildAndDecode(config, image, limits);
  EXPECT_EQ(again.kod, "?1");
  EXPECT_EQ(again.ogolne, "");
}

TEST(StoreRecordInImage, LeavesConversionAndFactoryBytesAndSealsLast) {
  ModuleImage image;
  image.bytes.fill(0xA7);
  const ModuleImage before = image;
  ModuleConfig config = SampleConfig();
  config.Lin = kLinLinear;
  StoreRecordInImage(config, image, 1);

  const auto same = [&](std::size_t from, std::size_t to) {
    return std::equal(image.bytes.begin() + from, image.bytes.begin() + to,
                      before.bytes.begin() + from);
  };
  EXPECT_TRUE(same(16, 88));      // factory area, compensation, signal range
  EXPECT_TRUE(same(96, 1712));    // segments
  EXPECT_TRUE(same(2008, 2016));  // further corrections
  EXPECT_TRUE(same(2048, 2052));  // module id
  EXPECT_EQ(image[8], 0);         // unnamed bytes are cleared
  EXPECT_EQ(image[2040], 0);
  EXPECT_EQ(image[2], image[3]);
  EXPECT_EQ(image[2028], 0);
  EXPECT_EQ(image[2029], 1);

  unsigned sum = image[image_offset::kCheckByte];
  for (std::size_t i = 0; i <= 7; ++i) sum += image[i];
  for (std::size_t i = 68; i <= 1711; ++i) sum += image[i];
  EXPECT_EQ(sum & 0xFF, 0xFF);
}

TEST(StoreRecordInImage, AValueThatCannotBeStoredLeavesTheImage) {
  ModuleImage image = ModuleWithModel(5495);
  const ModuleImage before = image;
  ModuleConfig config = SampleConfig();
  config.Lin = kLinSeries;
  config.Coefficients[4] = std::numeric_limits<double>::infinity();
  EXPECT_THROW(StoreRecordInImage(config, image, 1), ConversionError);
  EXPECT_EQ(image.bytes, before.bytes);
}

TEST(DecodeModuleImage, SixFigureRounding) {
  // Six decimals below the nearest power of ten: 123.456789 is near 100.
  const std::pair<double, double> cases[] = {
      {123.456789, 123.4568}, {0.3, 0.3},           {-1.99991, -1.99991},
      {9876.54321, 9876.54},  {0.0123456789, 0.01234568},
      {0.0000004, 0.0},       {1234567.5, 1234568}, {1234566.5, 1234566},  // halves to even
  };
  for (const auto& [stored, expected] : cases) {
    ModuleImage image = ModuleWithModel(5495);
    image.StoreFloat(image_offset::kSignalLow, stored);
    ModuleConfig config;
    InputLimits limits;
    DecodeModuleImage(image, config, limits);
    EXPECT_NEAR(config.SignalLow, expected, std::fabs(expected) * 1e-15) << stored;
  }
}

}  // namespace
}  // namespace q5480
