#include "service/printed_report.h"

#include <algorithm>
#include <cmath>

#include "config/conversion_error.h"
#include "config/numbers.h"
#include "conversion/conversion_messages.h"
#include "service/configuration_fingerprint.h"
#include "service/parameters_report.h"

namespace q5480 {
namespace {

// Three significant digits of the largest difference, and as many decimals
// for the root mean square.
int ErrorDecimals(double largest) {
  if (largest == 0) return 2;
  const int magnitude = static_cast<int>(std::floor(std::log10(std::fabs(largest))));
  return std::clamp(2 - magnitude, 0, 6);
}

int PositionDecimals(const ModuleConfig& config) {
  const double span = std::fabs(config.MaxInput - config.MinInput);
  if (span >= 100) return 1;
  return span >= 10 ? 2 : 3;
}

std::string WithUnit(const std::string& number, const ModuleConfig& config) {
  const std::string unit(UnitName(config.Jednostki));
  return unit.empty() || unit == " " ? number : number + " " + unit;
}

std::string FailureReason(const AccuracyOutcome& outcome, const LanguageTable& language) {
  if (!outcome.error.empty()) return TextOrKey(language, outcome.error);
  if (!outcome.refusal) return {};
  const Refusal& refusal = *outcome.refusal;
  if (refusal.key == kReasonNotMonotonic) {
    return language.Tr(kTransferFunction) + " " + language.Tr(kIsNotMonotonic);
  }
  if (refusal.key == kNoDataAvailable) return language.Tr(kNoDataAvailable);
  return TextOrKey(language, RefusalMessage(refusal));
}

// A configuration that cannot be built has no fingerprint to print.
std::string FingerprintLine(const ModuleConfig& config, const InputLimits& limits,
                            const ConversionState& state, const LanguageTable& language) {
  try {
    const std::optional<std::string> fingerprint =
        FingerprintOfConfiguration(config, limits, state);
    return fingerprint ? FingerprintText(*fingerprint, language) : std::string();
  } catch (const ConversionError&) { return {}; }
}

}  // namespace

std::vector<std::string> PrintedReport::ReadingOrder() const {
  std::vector<std::string> ordered = lines;
  ordered.push_back(accuracy);
  if (!fingerprint.empty()) ordered.push_back(fingerprint);
  return ordered;
}

std::string AccuracyLine(const AccuracyOutcome& outcome, const ModuleConfig& config,
                         const LanguageTable& language) {
  const std::string heading = TextOrKey(language, "Table accuracy") + ": ";
  if (!outcome.accuracy) return heading + FailureReason(outcome, language);
  const TableAccuracy& a = *outcome.accuracy;
  const int decimals = ErrorDecimals(a.largest);
  return heading + TextOrKey(language, "largest error") + " " +
         WithUnit(FormatFixed(a.largest, 0, decimals), config) + " " + TextOrKey(language, "at") +
         " " + WithUnit(FormatFixed(a.largestAt, 0, PositionDecimals(config)), config) + ", RMS " +
         WithUnit(FormatFixed(a.rms, 0, decimals), config);
}

PrintedReport ComposePrintedReport(const ModuleConfig& config, const InputLimits& limits,
                                   const ConversionState& state, const LanguageTable& language,
                                   const std::string& languageName, const CivilDate& printed) {
  PrintedReport report;
  report.lines = ComposeParametersReport(config, language, printed);
  report.accuracy = AccuracyLine(TableAccuracyOf(config, limits, state), config, language);
  report.fingerprint = FingerprintLine(config, limits, state, language);
  report.jobTitle = "Q5480-" + language.Tr("Printing");
  report.centralEuropean = languageName == "Polski";
  return report;
}

}  // namespace q5480
