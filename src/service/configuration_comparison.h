// Two configurations compared field by field, in the words a person uses:
// a parameters file with a module, or two files. Each side is compared as a
// module holds it (decoded from its image), so that the rounding of the
// module's number formats is never taken for a difference.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "config/language_table.h"
#include "config/module_config.h"
#include "config/module_image.h"

namespace q5480 {

// Where a compared image comes from: each memory layout keeps fields the
// other does not (`RoomT` the older, `LimitLow` and `LimitHigh` the newer);
// a file has them all.
enum class ConfigurationSource { File, OlderModule, NewerModule };

// One side of a comparison: an image with the model it is meant for.
struct ComparedConfiguration {
  ModuleImage image;
  int modelCode = 0;
  ConfigurationSource source = ConfigurationSource::File;
  // Older modules of early firmware have no fixed decimal point.
  bool keepsFixedPoint = true;
};

// The image built from a parameters file's configuration, with its limits.
ComparedConfiguration ConfigurationOfFile(const ModuleImage& built, const ModuleConfig& config);
// The image read from a module of `modelCode` (as its samples report it)
// with the identifier `moduleId`.
ComparedConfiguration ConfigurationOfModule(const ModuleImage& read, int modelCode, bool newLayout,
                                            std::string_view moduleId);

struct FieldDifference {
  std::string field;  // worded by the language table
  std::string first;  // the value on the first side
  std::string second;
  // Instead of the two values, for what has no value of its own to show.
  std::string summary;
};

// The fields that differ, in a fixed order; a field that one side does not
// keep is not compared. The configuration date (each write sets its own),
// serial number, factory date and identifier (each module's own) are left
// out.
std::vector<FieldDifference> CompareConfigurations(const ComparedConfiguration& first,
                                                   const ComparedConfiguration& second,
                                                   const LanguageTable& language);

// "MaxInput: file 1000, module 850"; "Transfer table: 12 of 202 segments
// differ".
std::string DescribeDifference(const FieldDifference& difference, std::string_view firstName,
                               std::string_view secondName);

// What the comparison leaves out, in one sentence of the language.
std::string LeftOutOfComparison(const LanguageTable& language);

}  // namespace q5480
