#include "workflow/linear_window.h"

#include <cctype>

#include "config/conversion_error.h"
#include "config/numbers.h"
#include "conversion/conversion_messages.h"
#include "workflow/conversion_command.h"

namespace q5480 {
namespace {

// The last unit of the table that the consistency rules keep.
constexpr int kLastKeptUnit = 9;

// "conversion" and the kind, the first letter capitalised.
std::string ConversionCaption(const ProgramContext& context, const char* kindKey) {
  std::string caption = context.Tr("conversion") + ": " + context.Tr(kindKey);
  // Only an ASCII letter can be capitalised without knowing the language.
  if (!caption.empty() && std::islower(static_cast<unsigned char>(caption[0])) &&
      static_cast<unsigned char>(caption[0]) < 0x80) {
    caption[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(caption[0])));
  }
  return caption;
}

}  // namespace

const std::vector<std::string>& ResultUnitChoices() {
  static const std::vector<std::string> units = [] {
    std::vector<std::string> names;
    for (int unit = 0; unit <= kLastKeptUnit; ++unit) names.emplace_back(UnitName(unit));
    return names;
  }();
  return units;
}

int OfferedUnit(int jednostki, int fallback) {
  return jednostki >= 0 && jednostki <= kLastKeptUnit ? jednostki : fallback;
}

const char* FieldControl(DialogField field) {
  switch (field) {
    case DialogField::InMin: return "InMinE";
    case DialogField::InMax: return "InMaxE";
    case DialogField::ResMin: return "ResMinE";
    case DialogField::ResMax: return "ResMaxE";
    case DialogField::FirstCoefficient: return "AE";
  }
  return "";
}

std::optional<double> ReadFieldNumber(ProgramContext& context, const std::string& text) {
  const std::optional<double> value = ParseNumber(text);
  if (!value) {
    context.ui.Beep(BeepKind::Exclamation);
    context.ShowMessage(context.Tr("Wrong format", "!"), MessageIcon::Error);
  }
  return value;
}

std::string RefusalText(const ProgramContext& context, const Refusal& refusal) {
  if (refusal.key == kReasonNotMonotonic) {
    return context.Tr(kTransferFunction) + " " + context.Tr(kIsNotMonotonic);
  }
  return context.TextOf(refusal.key) + (refusal.exclamation ? "!" : "");
}

void ShowRefusal(ProgramContext& context, const Refusal& refusal) {
  context.ui.Beep(BeepKind::Exclamation);
  context.ShowMessage(RefusalText(context, refusal), MessageIcon::Warning);
}

LinearWindowLogic::LinearWindowLogic(ProgramContext& context) : context_(context) {
  const ModuleConfig& config = context.config;
  const int tableType = context.conversion.TableType;
  unit_ = DefaultResultUnit(tableType);
  try {
    definition_ = LinearStartValues({context.config, context.limits, context.conversion});
    // The stored definition brings its unit along.
    const bool stored = config.Lin == kLinLinear && config.Typ == tableType &&
                        context.conversion.ConversionConfirmed == 0 &&
                        UserRangeFits(config.Typ, config, context.conversion.Table, context.limits);
    if (stored) unit_ = OfferedUnit(config.Jednostki, unit_);
  } catch (const ConversionError&) {
    // A stored definition the characteristic cannot evaluate is not shown.
    definition_ = LinearDefinition{};
    definition_.inMin = context.limits.Lower(tableType);
    definition_.inMax = context.limits.Upper(tableType);
  }
  ShowFields();
}

std::map<std::string, std::string> RangeGroupTexts(const ProgramContext& context) {
  const std::string unit = SignalUnitLabel(context.conversion.TableType);
  return {
      {"InputG", " " + context.Tr("Input range") + " "},
      {"ResultG", " " + DropLastCharacter(context.Tr("Result1")) + " "},
      {"InMinT", context.Tr("Minimum")},
      {"InMaxT", context.Tr("Maximum")},
      {"ResMinT", context.Tr("Minimum")},
      {"ResMaxT", context.Tr("Maximum")},
      {"InMinUnitT", unit},
      {"InMaxUnitT", unit},
      {"JednostkiT", context.Tr("Eng. units")},
  };
}

std::map<std::string, std::string> ConversionWindowTexts(const ProgramContext& context,
                                                         const char* kindKey) {
  std::map<std::string, std::string> texts = RangeGroupTexts(context);
  texts["Caption"] = ConversionCaption(context, kindKey);
  texts["CancelB"] = context.Tr("Cancel");
  return texts;
}

std::map<std::string, std::string> LinearWindowLogic::Texts() const {
  return ConversionWindowTexts(context_, "linear");
}

std::map<std::string, std::string> LinearWindowLogic::Hints() const {
  const std::string minimum = context_.Tr("Enter the minimum value");
  const std::string maximum = context_.Tr("Enter the maximum value");
  return {{"InMinE", minimum}, {"ResMinE", minimum}, {"InMaxE", maximum}, {"ResMaxE", maximum}};
}

const std::string& LinearWindowLogic::FieldText(DialogField field) const {
  return texts_.at(field);
}

void LinearWindowLogic::ShowFields() {
  texts_[DialogField::InMin] = FormatSignalValue(definition_.inMin);
  texts_[DialogField::InMax] = FormatSignalValue(definition_.inMax);
  texts_[DialogField::ResMin] = FormatResultValue(definition_.resMin);
  texts_[DialogField::ResMax] = FormatResultValue(definition_.resMax);
}

void LinearWindowLogic::Refuse(const Refusal& refusal) {
  ShowRefusal(context_, refusal);
  focus_ = FieldControl(refusal.focus);
}

bool LinearWindowLogic::FieldExit(DialogField field, const std::string& text) {
  focus_.clear();
  const std::optional<double> value = ReadFieldNumber(context_, text);
  std::optional<Refusal> refusal;
  if (value) {
    refusal = CheckLinearField(field, *value, definition_, context_.conversion.TableType,
                               context_.limits);
    if (refusal) Refuse(*refusal);
  }
  ShowFields();
  if (value && !refusal) return true;
  focus_ = FieldControl(field);
  return false;
}

bool LinearWindowLogic::OkClick() {
  focus_.clear();
  if (auto refusal = ValidateLinear(definition_, context_.conversion.TableType, context_.limits)) {
    Refuse(*refusal);
    return false;
  }
  return RunConversionCommand(context_, [&] {
    ApplyLinear(definition_, unit_, {context_.config, context_.limits, context_.conversion});
    return true;
  });
}

}  // namespace q5480
