// The 2052-byte image of a configuration in the module's own encodings.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "config/module_config.h"

namespace q5480 {

inline constexpr std::size_t kImageSize = 2052;
inline constexpr int kSegmentCount = 202;

// Offsets of the image that several layers share.
namespace image_offset {
inline constexpr std::size_t kInputCode = 2;
inline constexpr std::size_t kUnitsAndPoint = 7;
inline constexpr std::size_t kModelNumber = 16;
inline constexpr std::size_t kFactoryDate = 18;
inline constexpr std::size_t kSerial = 20;
inline constexpr std::size_t kColdJunction = 68;  // three floats c0, c1, c2
inline constexpr std::size_t kSignalLow = 80;
inline constexpr std::size_t kSignalStep = 84;
inline constexpr std::size_t kMinInput = 88;
inline constexpr std::size_t kSpan = 92;
inline constexpr std::size_t kSegments = 96;
inline constexpr std::size_t kKod = 1712;
inline constexpr std::size_t kOgolne = 1728;
inline constexpr std::size_t kMarker = 1792;
inline constexpr std::size_t kFileName = 1795;
inline constexpr std::size_t kCoefficients = 1796;
inline constexpr std::size_t kFurtherCorrections = 2008;
inline constexpr std::size_t kRoomT = 2016;
inline constexpr std::size_t kZeroReg = 2020;
inline constexpr std::size_t kGainReg = 2024;
inline constexpr std::size_t kConfigDate = 2028;
inline constexpr std::size_t kTyp = 2030;
inline constexpr std::size_t kLin = 2031;
inline constexpr std::size_t kCheckByte = 2045;
inline constexpr std::size_t kModuleId = 2048;
}  // namespace image_offset

// The module float format: E (exponent, bias 127), M1 (sign in bit 7), M2, M3.
// A value just below a power of two whose carry would run off the mantissa is
// stored as that power of two. A magnitude too small for the exponent byte is
// stored as 0, one too large as the largest value with its sign. A value that
// is not finite throws ConversionError.
std::array<std::uint8_t, 4> EncodeModuleFloat(double value);
double DecodeModuleFloat(const std::uint8_t* bytes);

class ModuleImage {
 public:
  std::array<std::uint8_t, kImageSize> bytes{};

  std::uint8_t& operator[](std::size_t i) { return bytes[i]; }
  std::uint8_t operator[](std::size_t i) const { return bytes[i]; }

  // Words (the model number, the dates) most significant byte first.
  std::uint16_t LoadWord(std::size_t offset) const;
  void StoreWord(std::size_t offset, std::uint16_t value);
  void StoreFloat(std::size_t offset, double value);
  double LoadFloat(std::size_t offset) const;
  // Segment `index` (0 to 201): offset at 96 + 8 * index, slope 4 bytes later.
  void StoreSegment(int index, double offset, double slope);

  // 255 minus the 8-bit sum of bytes 0 to 7 and 68 to 1711.
  std::uint8_t ComputeCheckByte() const;
};

// Input code (byte 2) and decimal point code (high 4 bits of byte 7).
std::uint8_t InputCode(const ModuleConfig& config);
int DecimalPointCode(const ModuleConfig& config);

// Steps of the image build that do not depend on the conversion: bytes 0 to
// 7, the floats of the record, the date, `Typ`, `Lin`, the texts, the
// conversion marker with its data, and last the check byte. The conversion
// stores the compensation floats, the signal range and the segments first.
// Bytes that no field names are cleared; after the coefficients of a linear
// or series conversion, byte 1795 and bytes 1840 to 1855 hold 0xFF. Bytes 16
// to 87, 96 to 1711, 2008 to 2015 and 2048 to 2051 are left as they are. A
// value that cannot be stored throws ConversionError and leaves the image.
void StoreRecordInImage(const ModuleConfig& config, ModuleImage& image,
                        std::uint16_t todayDayNumber);

// Fills the record from the image after a read, then applies the consistency
// rules. A linear conversion (marker sum 6) sets the limits of type 15 from
// coefficients 10 and 11, as loading a parameters file does.
void DecodeModuleImage(const ModuleImage& image, ModuleConfig& config, InputLimits& limits);

// The model (`Device`), factory date and serial number from bytes 16 to 23.
void DecodeFactoryData(const ModuleImage& image, ModuleConfig& config);

// Sets the limits of type 15 from two values in the input unit (coefficients
// 10 and 11): each times 10, rounded halves to even; lower the smaller.
void SetUserLimitsFromCoefficients(double first, double second, InputLimits& limits);

}  // namespace q5480
