#include "workflow/sensor_window.h"

#include <algorithm>

namespace q5480 {
namespace {

// The type a page shows when the record holds none of its types: the most
// common sensor of each kind.
constexpr std::uint8_t kDefaultRtd = kTypPt385;
constexpr std::uint8_t kDefaultTermo = kTypThermocoupleK;
// The cold junction's fit runs from 0 to 60 °C.
constexpr double kJunctionTop = 60;
constexpr int kJunctionPointsBetween = 11;

}  // namespace

bool UserTableCoversColdJunction(const InputLimits& limits, const UserTable& table) {
  const std::int32_t lower = limits.LowerTenths(kTypUserThermocouple);
  if (lower >= limits.UpperTenths(kTypUserThermocouple) || lower > 0) return false;
  const int n = std::min(table.Count(), kMaxTablePoints);
  int fromZero = 0;
  for (int i = 1; i <= n; ++i) {
    if (fromZero == 0 && table[i].x >= 0) fromZero = i;
    if (table[i].x >= kJunctionTop) {
      return fromZero > 0 && i - fromZero - 1 >= kJunctionPointsBetween;
    }
  }
  return false;
}

SensorWindowLogic::SensorWindowLogic(ProgramContext& context, DialogHost& host)
    : context_(context),
      host_(host),
      typAtOpening_(context.config.Typ),
      fourWire_(FourWireModel(context.config)) {
  context_.conversion.ConversionConfirmed = 0;
  const ModuleConfig& c = context_.config;
  page_ = IsThermocouple(c.Typ) ? kThermocouplePage : kRtdPage;
  rtdTyp_ = IsResistanceThermometer(c.Typ) ? c.Typ : kDefaultRtd;
  wires_ = OpeningWires(c);
  rtdLin_.checked = c.Lin != kLinNone;
  ShowThermocouplePage();
}

std::map<std::string, std::string> SensorWindowLogic::Texts() const {
  const ProgramContext& x = context_;
  std::map<std::string, std::string> texts{
      {"Caption", x.Tr("Sensor selection")},
      {"RtdPage", x.Tr("RTD")},
      {"TermoPage", x.Tr("Thermocouples")},
      {"RtdTypG", x.Tr("Type")},
      {"TermoTypG", x.Tr("Type")},
      {"ModeG", x.Tr("Mode")},
      {"RtdLinC", x.Tr("linearization")},
      {"TermoLinC", x.Tr("linearization")},
      {"TempDiffC", x.Tr("temperature difference")},
      {"CompensationC", x.Tr("cold junction compensation")},
      {"MoreB", x.Tr("More")},
      {"CancelB", x.Tr("Cancel")},
  };
  for (int typ = 1; typ <= kInputTypeCount; ++typ) {
    if (IsResistanceThermometer(typ) || IsBuiltInThermocouple(typ)) {
      texts["Typ" + std::to_string(typ) + "R"] = InputType(typ).name;
    }
  }
  texts["Typ15R"] = DropLastCharacter(x.Tr("Other1"));
  AddWireTexts(x, texts);
  return texts;
}

void SensorWindowLogic::ShowThermocouplePage() {
  const ModuleConfig& c = context_.config;
  termoTyp_ = IsThermocouple(c.Typ) ? c.Typ : kDefaultTermo;
  tempDiff_ = {c.Tryb == kTrybDifferential, true};
  compensation_ = {c.Tryb != kTrybDifferential && c.Tryb != kTrybExternalJunction, true};
  termoLin_ = {c.Lin != kLinNone, true};
  if (termoTyp_ != kTypUserThermocouple) return;
  if (!c.TableLoaded) {
    tempDiff_.enabled = compensation_.enabled = termoLin_.enabled = false;
  } else if (!UserTableCoversColdJunction(context_.limits, context_.conversion.Table)) {
    ForceTemperatureDifference();
  }
}

void SensorWindowLogic::EnableThermocoupleOptions() {
  tempDiff_.enabled = compensation_.enabled = termoLin_.enabled = true;
}

void SensorWindowLogic::ForceTemperatureDifference() {
  tempDiff_ = {true, false};
  compensation_ = {false, false};
}

void SensorWindowLogic::ChooseUserThermocouple() {
  context_.conversion.TableType = kTypUserThermocouple;
  if (!host_.Table()) {
    context_.config.TableLoaded = false;
    ShowThermocouplePage();
    return;
  }
  ForceTemperatureDifference();
  if (UserTableCoversColdJunction(context_.limits, context_.conversion.Table)) {
    tempDiff_.enabled = compensation_.enabled = true;
  }
}

void SensorWindowLogic::PageChange(int page) {
  if (page == kRtdPage || page == kThermocouplePage) page_ = page;
}

void SensorWindowLogic::TypClick(int typ) {
  if (IsResistanceThermometer(typ)) {
    rtdTyp_ = static_cast<std::uint8_t>(typ);
  } else if (IsThermocouple(typ)) {
    termoTyp_ = static_cast<std::uint8_t>(typ);
  } else {
    return;
  }
  EnableThermocoupleOptions();
  if (typ == kTypUserThermocouple) ChooseUserThermocouple();
}

void SensorWindowLogic::WireClick(int tryb) {
  if (IsWireConnection(tryb) && WireEnabled(tryb)) wires_ = static_cast<std::uint8_t>(tryb);
}

void SensorWindowLogic::RtdLinClick(bool checked) { rtdLin_.checked = checked; }

void SensorWindowLogic::TermoLinClick(bool checked) {
  if (termoLin_.enabled) termoLin_.checked = checked;
}

void SensorWindowLogic::TempDiffClick(bool checked) {
  if (!tempDiff_.enabled) return;
  tempDiff_.checked = checked;
  if (checked) compensation_.checked = false;
}

void SensorWindowLogic::CompensationClick(bool checked) {
  if (!compensation_.enabled) return;
  compensation_.checked = checked;
  if (checked) tempDiff_.checked = false;
}

std::optional<SelectionOutcome> SensorWindowLogic::Ok() {
  SelectionCodes codes;
  if (page_ == kRtdPage) {
    codes = {rtdTyp_, wires_, rtdLin_.checked ? kLinTable : kLinNone};
  } else {
    const std::uint8_t tryb = tempDiff_.checked       ? kTrybDifferential
                              : compensation_.checked ? kTrybCompensation
                                                      : kTrybExternalJunction;
    codes = {termoTyp_, tryb, termoLin_.checked ? kLinTable : kLinNone};
    if (tryb == kTrybExternalJunction && !host_.RoomTemperature()) return std::nullopt;
  }
  SensorSelectionOk(context_, codes, typAtOpening_);
  return SelectionOutcome::Ok;
}

}  // namespace q5480
