#include "service/diagnostics_texts.h"

#include <cmath>

#include "config/numbers.h"

namespace q5480 {
namespace {

constexpr std::size_t kThirdInputRegister = 2;  // rounded, unlike the other two inputs
constexpr std::size_t kAverRegister = 7;

constexpr std::array<std::uint8_t, kRegisterCount> kModes = {1, 1, 1, 1, 0, 2, 4, 8};

double RoundTo(double value, double scale) { return RoundHalfEven(value * scale) / scale; }

std::string InputName(int typ) {
  const std::string name = InputType(typ).name;
  if (IsThermocouple(typ)) return "Thermocouple " + name;
  if (typ == kTypResistance) return "Resistance";
  if (IsVoltageInput(typ)) return "Voltage";
  if (IsCurrentInput(typ)) return "Current";
  return name;
}

}  // namespace

RegisterLabels FormRegisterLabels() {
  return {"Iinpu", "Rinpu", "Tinpu", "Xinpu", "Meas", "Result", "Wnorm", "Aver"};
}

RegisterLabels RegisterLabelsFor(const ModuleConfig& config) {
  RegisterLabels labels = FormRegisterLabels();
  const int model = config.Device.empty() ? 0 : ModelCode(config);
  if (model == 0) return labels;
  if (model == kQ5491ModelCode) {
    labels[1] = labels[2] = labels[3] = "";
  } else if (GroupOfModelCode(model) == ModelGroup::A) {
    labels[1] = "OInpu";
    labels[2] = "XInpu";
    labels[3] = "SInpu";
  } else {
    labels[1] = "RInpu";
    labels[2] = "TInpu";
    labels[3] = "XInpu";
  }
  return labels;
}

std::uint8_t RegisterModeOf(std::size_t index) {
  return index < kRegisterCount ? kModes[index] : 0;
}

std::string RegisterNumber(std::size_t index, double value) {
  switch (index) {
    case kThirdInputRegister: return FormatFixed(RoundTo(value, 100), 7, 2);
    case kMeasRegister: return FormatFixed(RoundTo(value, 1000), 7, 3);
    case kWnormRegister: return FormatFixed(RoundHalfEven(10000 * value) / 100, 7, 2);
    case kResultRegister:
    case kAverRegister: return FormatFixed(RoundTo(value, 100), 7, 2);
    default: return FormatFixed(value, 7, 2);
  }
}

std::string RegisterText(std::size_t index, double value, int resultUnit) {
  std::string text = RegisterNumber(index, value);
  if (index == kResultRegister) text += " " + std::string(ReadingUnitName(resultUnit));
  if (index == kWnormRegister) text += " %";
  return text + "   ";
}

std::string DiagnosticOutputText(double current) {
  return FormatFixed(RoundTo(current, 1000), 6, 3) + " mA   ";
}

std::string StatusLines(const DeviceStatus& status, const ModuleConfig& config) {
  std::string text;
  if (status.CalMode) text += "Calibration mode\n";
  if (status.IndependentOutput) text += "Independent output\n";
  if (status.EepromError) text += "EEPROM error\n";
  if (status.SensorFault) {
    text += config.Typ == kTypLoopCurrent ? "Out of input range\n" : "Broken sensor\n";
  }
  if (status.OutOfRange) text += "Out of range\n";
  if (status.NewAverage) text += "New average\n";
  if (status.LargeError) text += "Large error";
  return text;
}

std::string ParametersSummary(const ModuleConfig& c) {
  std::string text = InputName(c.Typ);
  if (c.Tryb == kTrybExternalJunction) {
    text += ", CJ temp.: " + FormatFixed(c.RoomT, 3, 1) + "\u00B0C";
  } else if (!IsVoltageOrCurrent(c.Typ)) {
    text += ", " + std::string(ConnectionName(c.Tryb));
  }
  if (c.Lin > kLinNone) text += IsPlainInput(c.Typ) ? ", converted" : ", linearization";
  text += "\n\nRange: " + FormatFixed(c.MinInput, 4, 2) + ".." + FormatFixed(c.MaxInput, 4, 2) +
          std::string(UnitName(c.Jednostki));
  text += "\nZero:  " + FormatFixed(c.ZeroReg, 4, 2) +
          "%   Gain:  " + FormatFixed(c.GainReg, 4, 2) + "%";
  text += "\nFilter:  " + FormatFixed(c.FiltrZakres * 0.1, 3, 1) + "%   " +
          FormatFixed(c.FiltrCzas * 0.1, 3, 1) + "s   " + FormatInt(c.FiltrLimit) + "%";
  text += "\n\nCalibration date: " + c.FactoryDate;
  text += "\nConfig. date:      " + c.data;
  text += "\nInner code version: " + c.ModuleId;
  return text;
}

}  // namespace q5480
