#include "config/module_image.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <stdexcept>
#include <string>

#include "config/conversion_error.h"
#include "config/dates.h"
#include "config/numbers.h"
#include "config/text.h"

namespace q5480 {
namespace {

namespace off = image_offset;

constexpr std::uint8_t kErased = 0xFF;
constexpr std::size_t kKodBytes = 15;
constexpr std::size_t kOgolneBytes = 60;
constexpr std::size_t kConversionEnd = 1856;  // marker, file name or coefficients
constexpr std::size_t kFileBytes = kConversionEnd - off::kFileName;

// The largest value the format holds: exponent byte 255, all mantissa bits set.
constexpr std::array<std::uint8_t, 4> kLargestMagnitude = {0xFF, 0x7F, 0xFF, 0xFF};

// A byte field: a rounded value outside 0..255 cannot be stored, so it is
// held at the nearer end instead of wrapping around.
std::uint8_t ByteOf(double value) {
  return static_cast<std::uint8_t>(std::clamp(RoundHalfEven(value), 0.0, 255.0));
}

// Text as one Windows-1250 byte per character, at most `size` characters,
// the rest of the field erased.
void StoreText(ModuleImage& image, std::size_t offset, std::size_t size, const std::string& utf8) {
  const std::string bytes = Utf8ToCp1250(Utf8Left(utf8, size));
  std::fill_n(image.bytes.begin() + static_cast<std::ptrdiff_t>(offset), size, kErased);
  std::copy(bytes.begin(), bytes.end(), image.bytes.begin() + static_cast<std::ptrdiff_t>(offset));
}

// The bytes of a text field that are not erased.
std::string LoadText(const ModuleImage& image, std::size_t offset, std::size_t size) {
  std::string bytes;
  for (std::size_t i = offset; i < offset + size; ++i) {
    if (image[i] != kErased) bytes += static_cast<char>(image[i]);
  }
  return Cp1250ToUtf8(bytes);
}

// Six significant figures, as the module's values are shown and kept. The
// scale is applied as an exact power of ten where one exists, so that 0.3
// comes back as the double nearest to 0.3.
double RoundToSixFigures(double x) {
  const int decade =
      std::fabs(x) > 0.000001 ? static_cast<int>(RoundHalfEven(std::log10(std::fabs(x)))) : 0;
  const int shift = 6 - decade;
  if (shift >= 0) {
    const double scale = std::pow(10.0, shift);
    return RoundHalfEven(x * scale) / scale;
  }
  const double scale = std::pow(10.0, -shift);
  return RoundHalfEven(x / scale) * scale;
}

int TrybOfInputCode(std::uint8_t code, ModelGroup group) {
  if (group == ModelGroup::A) {
    const int low = code & 0x0F;
    if (low < 8) return kTrybDifferential;
    return kTrybSum + (low - 8) / 2;  // 8,9 sum; 10,11 difference; 12,13 max; 14,15 min
  }
  static constexpr std::array<int, 8> kByLowBits = {
      kTrybDifferential, kTrybExternalJunction, kTrybCompensation, kTrybNoConnection,
      kTrybThreeWire,    kTrybFourWire,         kTrybTwoWire,      kTrybNoConnection};
  return kByLowBits[code & 0x07];
}

}  // namespace

// ---- Module float ----------------------------------------------------------

std::array<std::uint8_t, 4> EncodeModuleFloat(double value) {
  if (!std::isfinite(value)) throw ConversionError("Floating point error: value is not finite");
  if (value == 0) return {0, 0, 0, 0};

  const double a = std::fabs(value);
  // The exact binary exponent: s lies in [1, 2) whatever rounding a
  // logarithm would have had.
  int e = std::ilogb(a);
  const double s = std::scalbn(a, -e);

  auto m1 = static_cast<int>(std::trunc(s * 128));
  const double r = s - m1 / 128.0;
  auto m2 = static_cast<int>(std::trunc(r * 32768));
  double t = (r - m2 / 32768.0) * 8388608;
  if (t >= 255.5) {
    t = 0;
    if (m2 < 255) {
      ++m2;
    } else if (m1 < 255) {
      ++m1;
      m2 = 0;
    } else {
      // The carry runs off the mantissa: the value rounds up to the next power of two.
      ++e;
      m1 = 128;
      m2 = 0;
    }
  }

  const int exponentByte = e + 127;
  const bool negative = value < 0;
  if (exponentByte < 0) return {0, 0, 0, 0};  // too small to hold: zero
  if (exponentByte > 255) {
    std::array<std::uint8_t, 4> largest = kLargestMagnitude;
    if (negative) largest[1] |= 0x80;
    return largest;
  }
  return {static_cast<std::uint8_t>(exponentByte),
          static_cast<std::uint8_t>(negative ? m1 : m1 - 128), static_cast<std::uint8_t>(m2),
          static_cast<std::uint8_t>(std::trunc(t))};
}

double DecodeModuleFloat(const std::uint8_t* bytes) {
  if (bytes[0] + bytes[1] + bytes[2] + bytes[3] == 0) return 0;
  const std::uint32_t mantissa = 0x800000u | static_cast<std::uint32_t>(bytes[1] & 0x7F) << 16 |
                                 static_cast<std::uint32_t>(bytes[2]) << 8 | bytes[3];
  const double magnitude = std::ldexp(static_cast<double>(mantissa), bytes[0] - 127 - 23);
  return (bytes[1] & 0x80) != 0 ? -magnitude : magnitude;
}

// ---- Image -----------------------------------------------------------------

std::uint16_t ModuleImage::LoadWord(std::size_t offset) const {
  return static_cast<std::uint16_t>(bytes[offset] << 8 | bytes[offset + 1]);
}

void ModuleImage::StoreWord(std::size_t offset, std::uint16_t value) {
  bytes[offset] = static_cast<std::uint8_t>(value >> 8);
  bytes[offset + 1] = static_cast<std::uint8_t>(value & 0xFF);
}

void ModuleImage::StoreFloat(std::size_t offset, double value) {
  if (offset > kImageSize - 4) throw std::out_of_range("module float beyond the image");
  const std::array<std::uint8_t, 4> encoded = EncodeModuleFloat(value);
  std::copy(encoded.begin(), encoded.end(), bytes.begin() + static_cast<std::ptrdiff_t>(offset));
}

double ModuleImage::LoadFloat(std::size_t offset) const {
  if (offset > kImageSize - 4) throw std::out_of_range("module float beyond the image");
  return DecodeModuleFloat(bytes.data() + offset);
}

void ModuleImage::StoreSegment(int index, double offset, double slope) {
  if (index < 0 || index >= kSegmentCount) throw std::out_of_range("segment index");
  const std::size_t at = off::kSegments + 8 * static_cast<std::size_t>(index);
  // Encode both first so that a failure leaves the segment as it was.
  const std::array<std::uint8_t, 4> offsetBytes = EncodeModuleFloat(offset);
  const std::array<std::uint8_t, 4> slopeBytes = EncodeModuleFloat(slope);
  std::copy(offsetBytes.begin(), offsetBytes.end(),
            bytes.begin() + static_cast<std::ptrdiff_t>(at));
  std::copy(slopeBytes.begin(), slopeBytes.end(),
            bytes.begin() + static_cast<std::ptrdiff_t>(at + 4));
}

std::uint8_t ModuleImage::ComputeCheckByte() const {
  unsigned sum = 0;
  for (std::size_t i = 0; i <= 7; ++i) sum += bytes[i];
  for (std::size_t i = off::kColdJunction; i < off::kKod; ++i) sum += bytes[i];
  return static_cast<std::uint8_t>(255 - (sum & 0xFF));
}

// ---- Codes -----------------------------------------------------------------

std::uint8_t InputCode(const ModuleConfig& config) {
  const ModelGroup group = GroupOfModelCode(ModelCode(config));
  int code = 0;
  if (group == ModelGroup::A) {
    if (config.Tryb >= kTrybSum && config.Tryb <= kTrybMin) code = 8 + 2 * (config.Tryb - kTrybSum);
    if (config.Typ == kTypVoltage) code += 1;
    if (config.Typ == kTypLoopCurrent && config.Lin > kLinNone) code += 1;
  } else if (group == ModelGroup::B) {
    switch (config.Tryb) {
      case kTrybTwoWire: code = 6; break;
      case kTrybThreeWire: code = 4; break;
      case kTrybFourWire: code = 5; break;
      case kTrybExternalJunction: code = 1; break;
      case kTrybCompensation:
      case kTrybSum: code = 2; break;
      default: break;
    }
    if (config.Typ == kTypResistance || config.Typ == kTypMillivolts) code += 8;
  }
  if (config.Burnout == 1) code += 0x80;
  if (config.Siec == 50) code += 0x40;
  if (config.Burnout == 2) code += 0x10;
  return static_cast<std::uint8_t>(code);
}

int DecimalPointCode(const ModuleConfig& config) {
  if (config.Kropka >= 1 && config.Kropka <= 4) return 11 - ((config.Kropka - 1) & 3);
  // Automatic (and any position the display does not have): from the range.
  const double m = std::max(std::fabs(config.MinInput), std::fabs(config.MaxInput));
  int code = m >= 1000 ? 0 : m >= 100 ? 1 : m >= 10 ? 2 : 3;
  const double larger = std::max(config.MinInput, config.MaxInput);
  if (larger < 0 && code > 0 &&
      (std::fabs(larger) / std::pow(10.0, 3 - code) >= 1.9995 || code == 3)) {
    --code;
  }
  return code;
}

// ---- Build and decode ------------------------------------------------------

void StoreRecordInImage(const ModuleConfig& config, ModuleImage& target,
                        std::uint16_t todayDayNumber) {
  // Built in a copy: a value that cannot be stored leaves the image as it was.
  ModuleImage image = target;
  // Bytes that no field names are 0 after a build.
  for (auto [from, to] : {std::pair<std::size_t, std::size_t>{8, 16},
                          {1727, 1728},
                          {1788, 1792},
                          {kConversionEnd, off::kFurtherCorrections},
                          {2032, off::kCheckByte},
                          {off::kCheckByte + 1, off::kModuleId}}) {
    std::fill(image.bytes.begin() + static_cast<std::ptrdiff_t>(from),
              image.bytes.begin() + static_cast<std::ptrdiff_t>(to), 0);
  }

  const std::uint8_t inputCode = InputCode(config);
  image[0] = 0x55;
  image[1] = 0x31;
  image[off::kInputCode] = inputCode;
  image.StoreWord(off::kConfigDate, todayDayNumber);

  image.StoreFloat(off::kMinInput, config.MinInput);
  image.StoreFloat(off::kSpan, config.MaxInput - config.MinInput);
  image.StoreFloat(off::kRoomT, config.RoomT);
  image.StoreFloat(off::kZeroReg, config.ZeroReg);
  image.StoreFloat(off::kGainReg, config.GainReg);
  image[4] = ByteOf(config.FiltrCzas / 1.6);
  image[5] = ByteOf(config.FiltrZakres);
  image[6] = static_cast<std::uint8_t>(config.FiltrLimit & 0xFF);
  image[off::kUnitsAndPoint] =
      static_cast<std::uint8_t>((config.Jednostki & 0x0F) | DecimalPointCode(config) << 4);

  image[3] = inputCode;
  image[off::kTyp] = config.Typ;
  image[off::kLin] = config.Lin;

  StoreText(image, off::kKod, kKodBytes, config.kod);
  StoreText(image, off::kOgolne, kOgolneBytes, config.ogolne);

  // Conversion: the marker, then the file name or the coefficients. Whatever
  // they leave free up to 1855 (byte 1795 and 1840 to 1855 after the
  // coefficients) stays erased.
  std::fill(image.bytes.begin() + off::kMarker, image.bytes.begin() + kConversionEnd, kErased);
  std::uint8_t marker = kErased;
  if (config.Lin == kLinNone || config.Lin == kLinTable) marker = 1;
  if (config.Lin == kLinLinear) marker = 2;
  if (config.Lin == kLinSeries) marker = 3;
  if (marker != kErased) std::fill_n(image.bytes.begin() + off::kMarker, 3, marker);
  if (marker == 1 && config.TableLoaded && CharCount(config.File) <= kFileBytes) {
    StoreText(image, off::kFileName, kFileBytes, config.File);
  } else if (marker == 2 || marker == 3) {
    for (std::size_t n = 0; n < config.Coefficients.size(); ++n) {
      image.StoreFloat(off::kCoefficients + 4 * n, config.Coefficients[n]);
    }
  }

  image[off::kCheckByte] = image.ComputeCheckByte();
  target = image;
}

void SetUserLimitsFromCoefficients(double first, double second, InputLimits& limits) {
  const auto tenths = [](double value) {
    constexpr double kMin = std::numeric_limits<std::int32_t>::min();
    constexpr double kMax = std::numeric_limits<std::int32_t>::max();
    const double rounded = RoundHalfEven(value * 10);
    if (std::isnan(rounded)) return std::int32_t{0};
    return static_cast<std::int32_t>(std::clamp(rounded, kMin, kMax));
  };
  const std::int32_t a = tenths(first);
  const std::int32_t b = tenths(second);
  limits.SetUserTenths(std::min(a, b), std::max(a, b));
}

void DecodeFactoryData(const ModuleImage& image, ModuleConfig& config) {
  config.Device = "Q" + std::to_string(image.LoadWord(off::kModelNumber));
  config.FactoryDate = DayNumberText(image.LoadWord(off::kFactoryDate));
  config.serial = std::to_string(std::uint32_t{image.LoadWord(off::kSerial)} << 16 |
                                 image.LoadWord(off::kSerial + 2));
}

void DecodeModuleImage(const ModuleImage& image, ModuleConfig& config, InputLimits& limits) {
  DecodeFactoryData(image, config);
  config.data = DayNumberText(image.LoadWord(off::kConfigDate));

  const auto rounded = [&](std::size_t offset) {
    return RoundToSixFigures(image.LoadFloat(offset));
  };
  config.SignalLow = rounded(off::kSignalLow);
  config.SignalHigh = config.SignalLow + 200 * rounded(off::kSignalStep);
  config.MinInput = rounded(off::kMinInput);
  config.MaxInput = config.MinInput + rounded(off::kSpan);
  config.RoomT = rounded(off::kRoomT);
  config.ZeroReg = rounded(off::kZeroReg);
  config.GainReg = rounded(off::kGainReg);

  config.FiltrLimit = image[6];
  config.FiltrZakres = static_cast<std::int32_t>(RoundHalfEven(image[5] * 10 * 0.1));
  config.FiltrCzas = static_cast<std::int32_t>(RoundHalfEven(image[4] * 10 * 0.16));
  config.LimitLow = image[0];
  config.LimitHigh = image[1];

  const std::uint8_t units = image[off::kUnitsAndPoint];
  config.Jednostki = units & 0x0F;
  config.Kropka = (units & 0x80) == 0 ? 0 : 4 - ((units >> 4) & 3);

  const std::uint8_t inputCode = image[off::kInputCode];
  config.Burnout = (inputCode & 0x80) != 0 ? 1 : 0;
  if ((inputCode & 0x10) != 0) config.Burnout = 2;
  config.Siec = (inputCode & 0x40) != 0 ? 50 : 60;

  config.Typ = image[off::kTyp];
  config.Lin = image[off::kLin];
  config.Tryb =
      static_cast<std::uint8_t>(TrybOfInputCode(inputCode, GroupOfModelCode(ModelCode(config))));

  ApplyConsistencyRules(config, limits);

  config.kod = LoadText(image, off::kKod, kKodBytes);
  config.ogolne = LoadText(image, off::kOgolne, kOgolneBytes);

  const int markerSum = image[off::kMarker] + image[off::kMarker + 1] + image[off::kMarker + 2];
  config.File.clear();
  if (markerSum == 3) {
    const auto begin = image.bytes.begin() + off::kFileName;
    const auto end = std::find(begin, image.bytes.begin() + kConversionEnd, kErased);
    config.File = Cp1250ToUtf8(std::string(begin, end));
  } else if (markerSum == 6 || markerSum == 9) {
    for (std::size_t n = 0; n < config.Coefficients.size(); ++n) {
      config.Coefficients[n] = image.LoadFloat(off::kCoefficients + 4 * n);
    }
    if (markerSum == 6) {
      SetUserLimitsFromCoefficients(config.Coefficients[9], config.Coefficients[10], limits);
    }
  } else {
    config.Coefficients.fill(0);
  }

  config.ModuleId = Cp1250ToUtf8(
      std::string(image.bytes.begin() + off::kModuleId, image.bytes.begin() + off::kModuleId + 4));
}

}  // namespace q5480
