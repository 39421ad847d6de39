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

double Decoded(double value) { return DecodeModuleFloat(EncodeModuleFloat(value).data()); }

TEST(ModuleFloat, KnownEncodingsRoundTripsAndSegments) {
  const std::pair<double, std::array<std::uint8_t, 4>> cases[] = {
      {1.0, {0x7F, 0, 0, 0}},
      {-2.5, {0x80, 0xA0, 0, 0}},
      {1370.0, {0x89, 0x2B, 0x40, 0}},
      {0.75, {0x7E, 0x40, 0, 0}},
      {-1.0, {0x7F, 0x80, 0, 0}},
      {0x1p-120, {0x07, 0, 0, 0}},
      {0.0, {0, 0, 0, 0}},
      {-0.0, {0, 0, 0, 0}},
      // A remainder below the carry threshold is truncated, 255 included.
      {1 + 255.3 / 8388608, {0x7F, 0, 0, 0xFF}},
      // Carry of the third byte into the second, on into the first, and off
      // the mantissa: just below a power of two is stored as that power.
      {1 + 255.7 / 8388608, {0x7F, 0, 0x01, 0}},
      {1 + 255.5 / 8388608, {0x7F, 0, 0x01, 0}},  // exactly half carries
      {1 + (255 * 256 + 255.7) / 8388608, {0x7F, 1, 0, 0}},
      {0.9999999999, {0x7F, 0, 0, 0}},
      {-0.9999999999, {0x7F, 0x80, 0, 0}},
      {0.0625 - 1e-12, {0x7B, 0, 0, 0}},
      {std::nextafter(1024.0, 0.0), {0x89, 0, 0, 0}},
      // Too small to hold: zero. Too large: the largest value, with the sign.
      {1e-45, {0, 0, 0, 0}},
      {-1e-300, {0, 0, 0, 0}},
      {1e300, {0xFF, 0x7F, 0xFF, 0xFF}},
      {-1e40, {0xFF, 0xFF, 0xFF, 0xFF}},
  };
  for (const auto& [value, bytes] : cases) EXPECT_EQ(EncodeModuleFloat(value), bytes) << value;
  for (int i : {0, 1, 2, 3, 4, 5}) EXPECT_EQ(Decoded(cases[i].first), cases[i].first);
  // Any value comes back within one step of the 23-bit mantissa.
  std::mt19937_64 random(5480);
  std::uniform_real_distribution<double> decade(-30.0, 30.0);
  std::uniform_real_distribution<double> sign(-1.0, 1.0);
  for (int i = 0; i < 100000; ++i) {
    const double value = std::copysign(std::pow(10.0, decade(random)), sign(random));
    ASSERT_LT(std::fabs(Decoded(value) - value) / std::fabs(value), 0x1p-23) << value;
  }
  for (double edge : {1e-38, -1e-38, 3e38}) EXPECT_NEAR(Decoded(edge) / edge, 1.0, 0x1p-23);
  // A segment is stored whole or not at all.
  ModuleImage image;
  image.StoreSegment(201, -2.5, 1.0);
  EXPECT_EQ(std::tuple(image.LoadFloat(96 + 8 * 201), image.LoadFloat(96 + 8 * 201 + 4)),
            std::tuple(-2.5, 1.0));
  const ModuleImage before = image;
  EXPECT_THROW(image.StoreSegment(201, 1.0, std::nan("")), ConversionError);
  EXPECT_THROW(image.StoreSegment(kSegmentCount, 1.0, 1.0), std::out_of_range);
  EXPECT_THROW(image.StoreFloat(kImageSize - 3, 1.0), std::out_of_range);
  EXPECT_EQ(image.bytes, before.bytes);
}

// A module as read: the model number in place.
ModuleImage ModuleWithModel(std::uint16_t modelNumber) {
  ModuleImage image;
  image[16] = static_cast<std::uint8_t>(modelNumber >> 8);
  image[17] = static_cast<std::uint8_t>(modelNumber & 0xFF);
  return image;
}

ModuleConfig Decode(const ModuleImage& image) {
  ModuleConfig config;
  InputLimits limits;
  DecodeModuleImage(image, config, limits);
  return config;
}

TEST(ModuleCodes, InputCodeThereAndBackAndDecimalPointCode) {
  struct Case {
    const char* device;
    int typ, tryb, lin, code, trybBack;
    int burnout = 0, siec = 60;
  };
  const Case cases[] = {
      {"Q5491", 10, 8, 1, 8, 8},          {"Q5492", 10, 9, 1, 10, 0},  // 9 to 11 are not kept
      {"Q5493", 10, 10, 1, 12, 0},        {"Q5494", 10, 11, 1, 14, 0},
      {"Q5491", 10, 7, 1, 0, 5},          {"Q5491", 18, 8, 1, 9, 8},
      {"Q5491", 19, 5, 2, 1, 5},          {"Q5491", 19, 5, 1, 0, 5},
      {"Q5491", 5, 2, 1, 0, 5},           {"Q5495", 1, 2, 1, 6, 2},
      {"Q5496", 1, 3, 1, 4, 3},           {"Q5497", 1, 4, 1, 5, 4},
      {"Q5495", 10, 6, 1, 1, 6},          {"Q5495", 10, 7, 1, 2, 7},
      {"Q5495", 10, 8, 1, 2, 7},          {"Q5495", 10, 5, 1, 0, 5},
      {"Q5495", 5, 2, 1, 14, 2},          {"Q5495", 16, 5, 1, 8, 5},
      {"Q5495", 18, 8, 1, 2, 7},          {"Q5498", 5, 2, 2, 0, 5},
      {"Q5499", 18, 8, 1, 0, 5},          {"Q5490", 16, 2, 1, 0, 5},
      {"Q5496", 1, 3, 1, 0x84, 3, 1},     {"Q5496", 1, 3, 1, 0x14, 3, 2},
      {"Q5496", 1, 3, 1, 0x44, 3, 0, 50}, {"Q5496", 1, 3, 1, 0xC4, 3, 1, 50},
  };
  for (const Case& c : cases) {
    ModuleConfig config;
    config.Device = c.device;
    std::tie(config.Typ, config.Tryb, config.Lin, config.Burnout, config.Siec) =
        std::tuple(c.typ, c.tryb, c.lin, c.burnout, c.siec);
    EXPECT_EQ(InputCode(config), c.code) << c.device << " Typ " << c.typ << " Tryb " << c.tryb;
    ModuleImage image = ModuleWithModel(static_cast<std::uint16_t>(std::stoi(c.device + 1)));
    StoreRecordInImage(config, image, 1);
    const ModuleConfig back = Decode(image);
    EXPECT_EQ(std::tuple(back.Tryb, back.Burnout, back.Siec),
              std::tuple(c.trybBack, c.burnout, c.siec))
        << c.device << " Tryb " << c.tryb;
  }
  // The decimal point code: a fixed position, or automatic from the range.
  const std::tuple<int, double, double, int> points[] = {
      {1, 0, 1, 11},       {2, 0, 1, 10},        {3, 0, 1, 9},    {4, 0, 1, 8},
      {0, -1500, 1500, 0}, {0, -9.9, 5, 3},      {0, -15, -5, 2}, {0, 100, 200, 1},
      {0, 0, 10, 2},       {0, 0, 9.99, 3},      {0, -5, -1, 2},  {0, -300, -250, 0},
      {0, -300, -150, 1},  {0, -2000, -1999, 0}, {7, -9.9, 5, 3},
  };
  for (const auto& [kropka, min, max, expected] : points) {
    ModuleConfig config;
    std::tie(config.Kropka, config.MinInput, config.MaxInput) = std::tuple(kropka, min, max);
    EXPECT_EQ(DecimalPointCode(config), expected) << kropka << " " << min << " " << max;
  }
}

// The fields of the record that an image holds.
auto Fields(ModuleConfig& c) {
  return std::tie(c.Typ, c.Tryb, c.Lin, c.MinInput, c.MaxInput, c.RoomT, c.ZeroReg, c.GainReg,
                  c.FiltrZakres, c.FiltrCzas, c.FiltrLimit, c.Burnout, c.Siec, c.Jednostki,
                  c.Kropka);
}

// A build writes the record's fields, leaves the factory, conversion and
// identity bytes as they were, clears the bytes no field names, and seals the
// image last with a check byte over bytes 0 to 7 and 68 to 1711 only.
TEST(BuildAndDecode, RecordFieldsComeBackAndOtherBytesStay) {
  ModuleImage image = ModuleWithModel(5495);
  std::fill(image.bytes.begin() + 18, image.bytes.end(), 0xA7);
  image.StoreFloat(image_offset::kSignalLow, 80.3063);
  image.StoreFloat(image_offset::kSignalStep, 0.00612345);
  const ModuleImage before = image;
  ModuleConfig config;
  config.Device = "Q5495";
  // Reals of six figures come back exactly as the doubles nearest to their text.
  Fields(config) = std::tuple(1, 3, 1, -50.5, 320.3, 23.4, 0.0123, -0.5, 125, 50, 37, 2, 60, 8, 2);
  config.kod = "Piec łąkowy Ж 7 zapas";                                  // 21 characters
  config.ogolne = "Zażółć gęślą jaźń – linia 3" + std::string(34, '.');  // 61
  StoreRecordInImage(config, image, 46362);

  const std::pair<std::size_t, std::size_t> kept[] = {
      {16, 88}, {96, 1712}, {2008, 2016}, {2048, 2052}};
  for (auto [from, to] : kept) {
    EXPECT_TRUE(std::equal(image.bytes.begin() + from, image.bytes.begin() + to,
                           before.bytes.begin() + from))
        << from;
  }
  for (std::size_t unnamed : {8, 15, 1727, 1788, 2040}) EXPECT_EQ(image[unnamed], 0) << unnamed;
  EXPECT_EQ(image[2], image[3]);
  unsigned sum = image[image_offset::kCheckByte];
  for (std::size_t i = 0; i <= 7; ++i) sum += image[i];
  for (std::size_t i = 68; i <= 1711; ++i) sum += image[i];
  EXPECT_EQ(sum & 0xFF, 0xFF);

  ModuleConfig back = Decode(image);
  EXPECT_EQ(std::tie(back.Device, back.data), std::tuple("Q5495", "06.12.2026"));
  EXPECT_EQ(Fields(back), Fields(config));
  EXPECT_EQ(back.SignalLow, 80.3063);
  EXPECT_NEAR(back.SignalHigh, 80.3063 + 200 * 0.00612345, 1e-9);
  EXPECT_EQ(back.kod, "Piec łąkowy ? 7");  // cut, and "?" for what the code page lacks
  EXPECT_EQ(back.ogolne, Utf8Left(config.ogolne, 60));

  // Shorter texts erase what the longer ones left.
  config.kod = "k";
  config.ogolne = "";
  StoreRecordInImage(config, image, 46362);
  back = Decode(image);
  EXPECT_EQ(std::tie(back.kod, back.ogolne), std::tuple("k", ""));

  // A value that cannot be stored leaves the image as it was.
  const ModuleImage built = image;
  config.Lin = kLinSeries;  // the coefficients are stored last
  config.Coefficients[10] = std::numeric_limits<double>::infinity();
  EXPECT_THROW(StoreRecordInImage(config, image, 2), ConversionError);
  EXPECT_EQ(image.bytes, built.bytes);
}

TEST(DecodeModuleImage, FactoryFieldsLimitBytesAndSixFigures) {
  ModuleImage image = ModuleWithModel(5498);
  // clang-format off
  const std::pair<std::size_t, std::uint8_t> bytes[] = {
      {18, 0xB5}, {19, 0x1A},  // factory date 46362
      {20, 0x00}, {21, 0x01}, {22, 0x00}, {23, 0x02},
      {0, 20}, {1, 180}, {2, 0x97},  // both burnout bits: the second wins; low bits 7, which no record gives
      {4, 3}, {5, 251}, {7, 0xA5},
      {2048, 'A'}, {2049, 'B'}, {2050, 0xA3}, {2051, '1'}};
  // clang-format on
  for (auto [offset, value] : bytes) image[offset] = value;
  const ModuleConfig config = Decode(image);
  EXPECT_EQ(std::tie(config.FactoryDate, config.data, config.serial, config.ModuleId),
            std::tuple("06.12.2026", "never", "65538", "ABŁ1"));
  EXPECT_EQ(std::tie(config.LimitLow, config.LimitHigh, config.Burnout, config.Siec, config.Tryb),
            std::tuple(20, 180, 2, 60, 1));
  // Filter time 3 x 1.6 = 4.8; filter range 251 is outside its bounds.
  EXPECT_EQ(std::tie(config.FiltrCzas, config.FiltrZakres, config.Jednostki, config.Kropka),
            std::tuple(5, 0, 5, 2));

  // Six decimals below the nearest power of ten: 123.456789 is near 100.
  const std::pair<double, double> cases[] = {
      {123.456789, 123.4568},     {0.3, 0.3},
      {-1.99991, -1.99991},       {9876.54321, 9876.54},
      {0.0123456789, 0.01234568}, {0.0000004, 0.0},
      {1234567.5, 1234568},       {1234566.5, 1234566},  // halves to even
  };
  for (const auto& [stored, expected] : cases) {
    ModuleImage image = ModuleWithModel(5495);
    image.StoreFloat(image_offset::kSignalLow, stored);
    EXPECT_NEAR(Decode(image).SignalLow, expected, std::fabs(expected) * 1e-15) << stored;
  }
}

TEST(BuildAndDecode, ConversionMarkersAndTableFileNames) {
  ModuleConfig config;
  config.Device = "Q5495";
  std::tie(config.Typ, config.Tryb, config.Lin) = std::tuple(16, 5, kLinSeries);
  config.Coefficients = {0.5, -1.25, 1024, 3.0625, 0x1p-7, 0, 0, 0, 0, -20.25, 1500};  // exact
  ModuleImage image = ModuleWithModel(5495);
  InputLimits limits;
  const auto build = [&] {
    StoreRecordInImage(config, image, 1);
    ModuleConfig decoded;
    DecodeModuleImage(image, decoded, limits);
    EXPECT_EQ(decoded.Lin, config.Lin);
    return decoded;
  };
  const auto marker = [&] { return image[1792] + image[1793] + image[1794]; };
  const auto erased = [&](std::size_t from, std::size_t to) {
    return std::all_of(&image[from], &image[to], [](auto b) { return b == 0xFF; });
  };
  EXPECT_EQ(build().Coefficients, config.Coefficients);
  EXPECT_EQ(marker(), 9);
  EXPECT_TRUE(erased(1795, 1796) && erased(1840, 1856));
  EXPECT_EQ(limits.UpperTenths(15), 0);  // a series leaves the user limits alone

  config.Lin = kLinLinear;
  build();
  EXPECT_EQ(marker(), 6);
  EXPECT_EQ(limits.LowerTenths(15), -202);  // -202.5 to the even neighbour
  EXPECT_EQ(limits.UpperTenths(15), 15000);

  config.Lin = 0;
  const ModuleConfig back = build();
  EXPECT_TRUE(erased(1792, 1856));
  EXPECT_EQ(back.File, "");
  EXPECT_EQ(back.Coefficients, (std::array<double, 11>{}));

  const std::string name61 = "tabela_żółw_" + std::string(49, 'x');
  const std::tuple<std::string, bool, std::string> files[] = {
      {"Łódź.dat", true, "Łódź.dat"},
      {"Łódź.dat", false, ""},
      {name61, true, name61},
      {name61 + "y", true, ""},  // longer than the field
  };
  config.Lin = kLinTable;
  for (const auto& [file, loaded, expected] : files) {
    config.File = file;
    config.TableLoaded = loaded;
    EXPECT_EQ(build().File, expected) << file;
    EXPECT_EQ(marker(), 3);
  }
}

}  // namespace
}  // namespace q5480
