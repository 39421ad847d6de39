#include "config/module_config.h"

#include <cmath>

#include "config/text.h"

namespace q5480 {
namespace {

constexpr std::array<InputTypeInfo, 21> kInputTypes = {{
    {"", 0, 0},  // unused
    {"Pt100 (0.00385)", -1000, 8500},
    {"Pt100 (0.00392)", -1000, 8500},
    {"Ni100", -600, 1800},
    {"Cu100", -500, 1800},
    {"R", 0, 4000},
    {"B", 0, 18200},
    {"C", 0, 23000},
    {"E", -1000, 10000},
    {"J", -1000, 12000},
    {"K", -1500, 13700},
    {"N", -1000, 13000},
    {"R", 0, 17000},
    {"S", 0, 17000},
    {"T", -1000, 4000},
    {"X", 0, 0},  // user characteristic: limits set at run time
    {"V", -100, 1500},
    {"I", -220, 220},
    {"V", -110, 110},
    {"I", 40, 200},
    {"", 0, 0},  // no input type
}};

constexpr std::array<std::string_view, 12> kConnectionNames = {
    "",       "",    "2-wire", "3-wire",     "4-wire", "differential",
    "no CJC", "CJC", "sum",    "difference", "max",    "min"};

constexpr std::array<std::string_view, kUnitCount> kUnitNames = {
    " ", "V", "mV", "A", "mA", "Ohm", "kOhm", "K", "\u00B0C", "%", "kg"};

constexpr std::array<MeterModel, kMeterModelCount> kMeterModels = {{
    {"Q5495", "Q5495"},
    {"Q5496", "?"},
    {"Q5497", "Q5497"},
    {"Q5492", "?"},
    {"Q5493", "?"},
    {"Q5494", "Q5494"},
    {"Q5498", "Q5498"},
    {"Q5499", "Q5499"},
    {"Q5491", "Q5491"},
}};

constexpr int kModelCodeCount = 17;
constexpr std::array<int, kModelCodeCount> kModelCodes = {
    95, 96, 97, 92, 93, 94, 98, 99, 91, kSpareModelCode, 0, 0, 0, 0, 0, 0, 0};

bool InRange(double value, double low, double high) {
  return value >= low && value <= high;  // false for NaN as well
}

template <typename T>
bool InRange(T value, T low, T high) {
  return value >= low && value <= high;
}

}  // namespace

const InputTypeInfo& InputType(int typ) {
  return IsInputType(typ) ? kInputTypes[static_cast<std::size_t>(typ)] : kInputTypes[kTypNone];
}

InputLimits::InputLimits() {
  for (std::size_t typ = 0; typ < kInputTypes.size(); ++typ) {
    lower_[typ] = kInputTypes[typ].lowerTenths;
    upper_[typ] = kInputTypes[typ].upperTenths;
  }
}

std::int32_t InputLimits::LowerTenths(int typ) const {
  return IsInputType(typ) ? lower_[static_cast<std::size_t>(typ)] : 0;
}

std::int32_t InputLimits::UpperTenths(int typ) const {
  return IsInputType(typ) ? upper_[static_cast<std::size_t>(typ)] : 0;
}

void InputLimits::SetUserTenths(std::int32_t lower, std::int32_t upper) {
  lower_[kTypUserThermocouple] = lower;
  upper_[kTypUserThermocouple] = upper;
}

bool IsInputType(int typ) { return InRange(typ, 1, kInputTypeCount); }
bool IsResistanceThermometer(int typ) { return InRange<int>(typ, kTypPt385, kTypCu100); }
bool IsResistanceInput(int typ) { return IsResistanceThermometer(typ) || typ == kTypResistance; }
bool IsThermocouple(int typ) { return InRange<int>(typ, kTypThermocoupleB, kTypUserThermocouple); }
bool IsBuiltInThermocouple(int typ) {
  return InRange<int>(typ, kTypThermocoupleB, kTypThermocoupleT);
}
bool IsPlainInput(int typ) { return typ == kTypResistance || IsSensorless(typ); }
bool IsVoltageOrCurrent(int typ) { return InRange<int>(typ, kTypMillivolts, kTypLoopCurrent); }
bool IsVoltageInput(int typ) { return typ == kTypMillivolts || typ == kTypVoltage; }
bool IsCurrentInput(int typ) { return typ == kTypCurrent || typ == kTypLoopCurrent; }
bool IsSensorless(int typ) { return IsVoltageOrCurrent(typ) || typ == kTypNone; }

bool IsWireConnection(int tryb) { return InRange<int>(tryb, kTrybTwoWire, kTrybFourWire); }

bool HoldsCoefficients(int lin) { return lin > kLinTable; }

std::string_view ConnectionName(int tryb) {
  if (!InRange<int>(tryb, kTrybNoConnection, kTrybMin)) return "";
  return kConnectionNames[static_cast<std::size_t>(tryb)];
}

std::string_view UnitName(int jednostki) {
  return InRange(jednostki, 0, kUnitCount - 1) ? kUnitNames[static_cast<std::size_t>(jednostki)]
                                               : "";
}

std::string_view ReadingUnitName(int unitCode) {
  return InRange(unitCode, 0, kUnitCount - 1) ? kUnitNames[static_cast<std::size_t>(unitCode)]
                                              : " ";
}

const std::array<MeterModel, kMeterModelCount>& MeterModels() { return kMeterModels; }

std::string_view ModelDisplayName(std::string_view device) {
  for (const MeterModel& model : kMeterModels) {
    if (device == model.name) return model.displayName;
  }
  return {};
}

int ModelCodeAt(int modelIndex) {
  return InRange(modelIndex, 0, kModelCodeCount - 1)
             ? kModelCodes[static_cast<std::size_t>(modelIndex)]
             : 0;
}

ModelGroup GroupOfModelCode(int modelCode) {
  if (InRange(modelCode, kQ5491ModelCode, kQ5494ModelCode)) return ModelGroup::A;
  if (InRange(modelCode, 95, 97)) return ModelGroup::B;
  if (InRange(modelCode, 98, 99)) return ModelGroup::C;
  return ModelGroup::None;
}

std::string ModelNameOf(int modelCode) {
  return std::string(modelCode < 10 ? "Q540" : "Q54") + std::to_string(modelCode);
}

int ModelCode(const ModuleConfig& config) {
  if (config.Device.empty()) return ModelCodeAt(config.ModelIndex);
  const std::string digits = Utf8Mid(config.Device, 3, 2);
  if (digits.size() != 2) return 0;
  const auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
  if (!isDigit(digits[0]) || !isDigit(digits[1])) return 0;
  return (digits[0] - '0') * 10 + (digits[1] - '0');
}

void ApplyConsistencyRules(ModuleConfig& c, const InputLimits& limits) {
  // 1. Selection.
  if (!IsInputType(c.Typ)) c.Typ = kTypNone;
  if (!InRange<int>(c.Tryb, kTrybNoConnection, kTrybSum)) c.Tryb = kTrybUnset;
  if (c.Lin != kLinNone && c.Lin != kLinTable && c.Lin != kLinLinear && c.Lin != kLinSeries) {
    c.Lin = kLinUnset;
  }

  // 2. Input range inside the limits of the input type, unless user data
  // (a user characteristic or a converted plain input) define the range.
  const bool userRange = c.Typ == kTypUserThermocouple || (IsPlainInput(c.Typ) && c.Lin > kLinNone);
  if (!userRange) {
    const double lo = limits.Lower(c.Typ);
    const double hi = limits.Upper(c.Typ);
    if (!InRange(c.MinInput, lo, hi)) c.MinInput = lo;
    if (!InRange(c.MaxInput, lo, hi)) c.MaxInput = hi;
    if (!(c.MinInput < c.MaxInput)) {
      c.MinInput = lo;
      c.MaxInput = hi;
    }
  }

  // 3. and 4. Compensation and corrections.
  if (!InRange(c.RoomT, -0.0001, 50.0001)) c.RoomT = 25.0;
  if (!InRange(c.ZeroReg, -1.99991, 1.99991)) c.ZeroReg = 0;
  if (!InRange(c.GainReg, -1.99991, 1.99991)) c.GainReg = 0;

  // 5. Filter and limits.
  if (!InRange(c.FiltrZakres, 0, 250)) c.FiltrZakres = 0;
  if (!InRange(c.FiltrCzas, 0, 400)) c.FiltrCzas = 0;
  if (!InRange(c.FiltrLimit, 0, 100)) c.FiltrLimit = 0;
  if (!InRange(c.LimitLow, 0, 200)) c.LimitLow = 0;
  if (!InRange(c.LimitHigh, 0, 200)) c.LimitHigh = 200;
  if (c.LimitLow > c.LimitHigh) c.LimitLow = c.LimitHigh;

  // 6. Units, output reaction and mains frequency. Negative values are
  // replaced too: they would index past the unit table and the image bits.
  if (!InRange(c.Jednostki, 0, 9)) c.Jednostki = 0;
  if (!InRange(c.Burnout, 0, 2)) c.Burnout = 0;
  if (c.Siec != 50 && c.Siec != 60) c.Siec = 50;
}

}  // namespace q5480
