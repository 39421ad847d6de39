#include "service/configuration_fingerprint.h"

#include <array>
#include <cstdint>
#include <utility>
#include <vector>

#include "conversion/build_image.h"
#include "module/image_packing.h"
#include "service/sha256.h"

namespace q5480 {
namespace {

namespace off = image_offset;

// Changing what is hashed changes every fingerprint: the tag says which
// encoding made one.
constexpr char kEncodingTag[] = "Q5480 configuration 1";

// The hashed ranges of the image, [first, end).
constexpr std::array<std::pair<std::size_t, std::size_t>, 5> kMeasurementBytes = {{
    {off::kInputCode, off::kUnitsAndPoint + 1},
    {off::kSignalLow, off::kSegments},
    {off::kMarker, off::kFurtherCorrections},
    {off::kZeroReg, off::kConfigDate},
    {off::kTyp, off::kLin + 1},
}};

}  // namespace

std::string ConfigurationFingerprint(const ModuleImage& image, int modelCode) {
  std::vector<std::uint8_t> encoding(std::begin(kEncodingTag), std::end(kEncodingTag));
  encoding.push_back(static_cast<std::uint8_t>(modelCode));
  for (auto [first, end] : kMeasurementBytes) {
    for (std::size_t i = first; i < end; ++i) {
      std::uint8_t byte = image[i];
      if (i == off::kUnitsAndPoint) byte &= static_cast<std::uint8_t>(~kFixedPointBit);
      encoding.push_back(byte);
    }
  }
  const Sha256Digest digest = Sha256(encoding);
  static constexpr char kHex[] = "0123456789abcdef";
  std::string fingerprint;
  for (std::size_t i = 0; i < kFingerprintLength / 2; ++i) {
    fingerprint += kHex[digest[i] >> 4];
    fingerprint += kHex[digest[i] & 0x0F];
  }
  return fingerprint;
}

std::optional<std::string> FingerprintOfConfiguration(const ModuleConfig& config,
                                                      const InputLimits& limits,
                                                      const ConversionState& state) {
  ModuleConfig record = config;
  InputLimits limitsCopy = limits;
  ConversionState stateCopy = state;
  ModuleImage image;
  if (BuildModuleImage({record, limitsCopy, stateCopy}, image, 0)) return std::nullopt;
  return ConfigurationFingerprint(image, ModelCode(record));
}

std::string FingerprintText(std::string_view fingerprint, const LanguageTable& language) {
  return TextOrKey(language, "Fingerprint") + ": " + std::string(fingerprint);
}

}  // namespace q5480
