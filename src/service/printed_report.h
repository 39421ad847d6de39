// What File › Print puts on the page and the command-line tool prints: the
// parameters report, the accuracy of the table and the configuration's
// fingerprint after its date, the job's title and the character set of the
// language.
#pragma once

#include <string>
#include <vector>

#include "config/dates.h"
#include "config/language_table.h"
#include "config/module_config.h"
#include "conversion/conversion_state.h"
#include "service/table_accuracy.h"

namespace q5480 {

struct PrintedReport {
  std::vector<std::string> lines;  // the 28 lines of the report
  std::string accuracy;            // the table's accuracy, told after the date
  // "Fingerprint: 3fa2c91b" after the accuracy; empty when the configuration
  // cannot be built.
  std::string fingerprint;
  std::string jobTitle;          // "Q5480-" and the word for printing
  bool centralEuropean = false;  // the language needs the Central European letters

  // The lines as they are read: the 28 lines as they stand, so that the
  // report still matches one printed without them, then the accuracy and
  // the fingerprint.
  std::vector<std::string> ReadingOrder() const;
};

// "Table accuracy: largest error -0.112 °C at -143.9 °C, RMS 0.012 °C", or
// why it cannot be told, in the words of the language table where it has
// them and in English otherwise.
std::string AccuracyLine(const AccuracyOutcome& outcome, const ModuleConfig& config,
                         const LanguageTable& language);

// The whole report of the configuration, dated `printed`. `languageName` is
// the language of the settings ("Polski", "English", ...).
PrintedReport ComposePrintedReport(const ModuleConfig& config, const InputLimits& limits,
                                   const ConversionState& state, const LanguageTable& language,
                                   const std::string& languageName, const CivilDate& printed);

}  // namespace q5480
