#include "workflow/power_series_window.h"

#include <cmath>

#include "config/conversion_error.h"
#include "conversion/conversion_messages.h"
#include "workflow/linear_window.h"

namespace q5480 {
namespace {

constexpr std::array<char, kCoefficientFields> kCoefficientLetters = {'A', 'B', 'C', 'D', 'F',
                                                                      'G', 'H', 'I', 'J'};
constexpr std::size_t kInMinIndex = 9;
constexpr std::size_t kInMaxIndex = 10;

bool StoredSeriesFits(const ProgramContext& context) {
  const ModuleConfig& config = context.config;
  if (config.Lin != kLinSeries || config.Typ != context.conversion.TableType ||
      context.conversion.ConversionConfirmed != 0) {
    return false;
  }
  try {
    return UserRangeFits(config.Typ, config, context.conversion.Table, context.limits);
  } catch (const ConversionError&) { return false; }
}

}  // namespace

PowerSeriesWindowLogic::PowerSeriesWindowLogic(ProgramContext& context)
    : context_(context), saved_(context.config.Coefficients) {
  ModuleConfig& config = context.config;
  const int tableType = context.conversion.TableType;
  unit_ = DefaultResultUnit(tableType);
  // A stored series is shown as checked only when it would pass the check:
  // one whose results lie far past the result range, or that overflows at
  // its ends, starts afresh.
  if (StoredSeriesFits(context)) {
    ResultRange range{NAN, NAN};
    try {
      if (!CheckSeriesDefinition(config, tableType, context.limits, range)) {
        range_ = range;
        checked_ = true;
        unit_ = OfferedUnit(config.Jednostki, unit_);
      }
    } catch (const ConversionError&) {}
  }
  if (!checked_) {
    config.Coefficients = {0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    config.Coefficients[kInMinIndex] = context.limits.Lower(tableType);
    config.Coefficients[kInMaxIndex] = context.limits.Upper(tableType);
    range_ = {-1999, 9999};
  }
  for (int i = 0; i < kCoefficientFields; ++i) ShowCoefficient(i);
  texts_[DialogField::InMin] = FormatSignalValue(config.Coefficients[kInMinIndex]);
  texts_[DialogField::InMax] = FormatSignalValue(config.Coefficients[kInMaxIndex]);
  ShowResultRange(range_);
}

std::map<std::string, std::string> PowerSeriesWindowLogic::Texts() const {
  return ConversionWindowTexts(context_, "power series");
}

std::map<std::string, std::string> PowerSeriesWindowLogic::Hints() const {
  return {{"InMinE", context_.Tr("Enter the minimum value")},
          {"InMaxE", context_.Tr("Enter the maximum value")}};
}

std::string PowerSeriesWindowLogic::CoefficientControl(int index) {
  return std::string(1, kCoefficientLetters.at(static_cast<std::size_t>(index))) + "E";
}

const std::string& PowerSeriesWindowLogic::CoefficientText(int index) const {
  return coefficientTexts_.at(static_cast<std::size_t>(index));
}

const std::string& PowerSeriesWindowLogic::FieldText(DialogField field) const {
  return texts_.at(field);
}

void PowerSeriesWindowLogic::SelectUnit(int index) { unit_ = OfferedUnit(index, unit_); }

std::string PowerSeriesWindowLogic::ButtonText() const {
  return checked_ ? std::string("OK") : context_.TextOf("Check");
}

void PowerSeriesWindowLogic::ShowCoefficient(int index) {
  const double value = context_.config.Coefficients[static_cast<std::size_t>(index)];
  coefficientTexts_[static_cast<std::size_t>(index)] =
      std::isfinite(value) ? FormatCoefficient(value, context_.regional.decimalSeparator) : "";
}

void PowerSeriesWindowLogic::ShowResultRange(const ResultRange& range) {
  texts_[DialogField::ResMin] = FormatResultValue(range.resMin);
  texts_[DialogField::ResMax] = FormatResultValue(range.resMax);
}

bool PowerSeriesWindowLogic::Refused(const std::string& control) {
  focus_ = control;
  return false;
}

void PowerSeriesWindowLogic::FieldChanged() { checked_ = false; }

bool PowerSeriesWindowLogic::CoefficientExit(int index, const std::string& text) {
  focus_.clear();
  checked_ = false;
  const std::optional<double> value = ReadFieldNumber(context_, text);
  std::optional<Refusal> refusal;
  if (value) {
    refusal = CheckCoefficient(*value);
    if (refusal)
      ShowRefusal(context_, *refusal);
    else
      context_.config.Coefficients[static_cast<std::size_t>(index)] = *value;
  }
  ShowCoefficient(index);
  return value && !refusal ? true : Refused(CoefficientControl(index));
}

bool PowerSeriesWindowLogic::FieldExit(DialogField field, const std::string& text) {
  focus_.clear();
  checked_ = false;
  const bool isMin = field == DialogField::InMin;
  double& stored = context_.config.Coefficients[isMin ? kInMinIndex : kInMaxIndex];
  const std::optional<double> value = ReadFieldNumber(context_, text);
  std::optional<Refusal> refusal;
  if (value) {
    refusal = CheckSeriesSignalField(field, *value, context_.config, context_.conversion.TableType,
                                     context_.limits);
    if (refusal)
      ShowRefusal(context_, *refusal);
    else
      stored = *value;
  }
  texts_[field] = FormatSignalValue(stored);
  return value && !refusal ? true : Refused(FieldControl(field));
}

bool PowerSeriesWindowLogic::ButtonClick() {
  focus_.clear();
  if (checked_) {
    SetUserLimitsFromResults(range_.resMin, range_.resMax, context_.limits);
    context_.config.Jednostki = unit_;
    context_.conversion.ConversionConfirmed = 1;
    return true;
  }
  ResultRange range{NAN, NAN};
  std::optional<Refusal> refusal;
  try {
    refusal = CheckSeriesDefinition(context_.config, context_.conversion.TableType, context_.limits,
                                    range);
  } catch (const ConversionError&) {
    refusal = Refusal{.key = kReasonSeriesError, .focus = DialogField::FirstCoefficient};
  }
  // The result range is shown once the series itself passed, also when it
  // turns out too narrow.
  if (std::isfinite(range.resMin) && std::isfinite(range.resMax)) ShowResultRange(range);
  if (refusal) {
    ShowRefusal(context_, *refusal);
    return Refused(FieldControl(refusal->focus));
  }
  range_ = range;
  checked_ = true;
  return false;
}

void PowerSeriesWindowLogic::CancelClick() { context_.config.Coefficients = saved_; }

}  // namespace q5480
