// The fingerprint of a configuration: eight hexadecimal digits that say
// which parameters file a module's configuration came from.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "config/language_table.h"
#include "config/module_image.h"
#include "conversion/conversion_state.h"

namespace q5480 {

inline constexpr std::size_t kFingerprintLength = 8;

// The first eight hexadecimal digits (lower case) of the SHA-256 of the
// model code and of the image bytes that the parameters file sets for the
// measurement: the input code and both of its copies, the filter, units and
// decimal point (without the fixed-point bit, which older modules do not
// keep), the signal and input ranges, the conversion with its table name or
// coefficients, both corrections, `Typ` and `Lin`.
// The transfer segments follow from these (a table by its name) and are left
// out: a read of the configuration does not fetch them. Left out is what each module holds for
// itself (serial number, factory and configuration dates, ID tag, user
// information, identifier) and what one memory layout holds and the other not
// (the cold-junction constants and `RoomT`, which the newer firmware does not
// keep; bytes 0 and 1, which carry `LimitLow` and `LimitHigh` on it only). A built image and the
// same one read back from a module of either layout give one fingerprint.
std::string ConfigurationFingerprint(const ModuleImage& image, int modelCode);

// The fingerprint of a configuration that has no image yet, built in copies
// of the record and the conversion state; nothing when it cannot be built.
// Throws ConversionError on a floating-point error of the conversion.
std::optional<std::string> FingerprintOfConfiguration(const ModuleConfig& config,
                                                      const InputLimits& limits,
                                                      const ConversionState& state);

// "Fingerprint: 3fa2c91b", in the words of the language.
std::string FingerprintText(std::string_view fingerprint, const LanguageTable& language);

}  // namespace q5480
