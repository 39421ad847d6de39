// The one configuration record of the program, in engineering units, with
// the tables that give its fields meaning and the consistency rules.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace q5480 {

// Kinds of result conversion (`Lin`); 0 means not set.
inline constexpr std::uint8_t kLinUnset = 0;
inline constexpr std::uint8_t kLinNone = 1;
inline constexpr std::uint8_t kLinTable = 2;
inline constexpr std::uint8_t kLinLinear = 4;
inline constexpr std::uint8_t kLinSeries = 8;

// Input types (`Typ`): the rows of the table of input types.
inline constexpr std::uint8_t kTypPt385 = 1;  // Pt100 (0.00385)
inline constexpr std::uint8_t kTypPt392 = 2;  // Pt100 (0.00392)
inline constexpr std::uint8_t kTypNi100 = 3;
inline constexpr std::uint8_t kTypCu100 = 4;
inline constexpr std::uint8_t kTypResistance = 5;
inline constexpr std::uint8_t kTypThermocoupleB = 6;
inline constexpr std::uint8_t kTypThermocoupleC = 7;
inline constexpr std::uint8_t kTypThermocoupleE = 8;
inline constexpr std::uint8_t kTypThermocoupleJ = 9;
inline constexpr std::uint8_t kTypThermocoupleK = 10;
inline constexpr std::uint8_t kTypThermocoupleN = 11;
inline constexpr std::uint8_t kTypThermocoupleR = 12;
inline constexpr std::uint8_t kTypThermocoupleS = 13;
inline constexpr std::uint8_t kTypThermocoupleT = 14;
inline constexpr std::uint8_t kTypUserThermocouple = 15;  // "X": a characteristic of user data
inline constexpr std::uint8_t kTypMillivolts = 16;        // -10 to 150 mV
inline constexpr std::uint8_t kTypCurrent = 17;           // -22 to 22 mA
inline constexpr std::uint8_t kTypVoltage = 18;           // -11 to 11 V
inline constexpr std::uint8_t kTypLoopCurrent = 19;       // 4 to 20 mA
inline constexpr std::uint8_t kTypNone = 20;
inline constexpr int kInputTypeCount = 20;

// Connection modes (`Tryb`): the rows of the connection table. Only 1 to 8
// survive the consistency rules; 0 means not set.
inline constexpr std::uint8_t kTrybUnset = 0;
inline constexpr std::uint8_t kTrybNoConnection = 1;
inline constexpr std::uint8_t kTrybTwoWire = 2;
inline constexpr std::uint8_t kTrybThreeWire = 3;
inline constexpr std::uint8_t kTrybFourWire = 4;
// "differential": a thermocouple measuring a temperature difference, or a
// single voltage or current input.
inline constexpr std::uint8_t kTrybDifferential = 5;
inline constexpr std::uint8_t kTrybExternalJunction = 6;  // "no CJC": the cold junction at `RoomT`
inline constexpr std::uint8_t kTrybCompensation = 7;      // "CJC"
inline constexpr std::uint8_t kTrybSum = 8;               // also the double current input
inline constexpr std::uint8_t kTrybDifference = 9;
inline constexpr std::uint8_t kTrybMax = 10;
inline constexpr std::uint8_t kTrybMin = 11;

// Units (`Jednostki`) that the program chooses by itself: rows of the unit
// table.
inline constexpr int kUnitVolt = 1;
inline constexpr int kUnitMillivolt = 2;
inline constexpr int kUnitMilliampere = 4;
inline constexpr int kUnitOhm = 5;
inline constexpr int kUnitCelsius = 8;
inline constexpr int kUnitKilogram = 10;

// Field lengths in characters.
inline constexpr std::size_t kDeviceLength = 5;
inline constexpr std::size_t kShortTextLength = 10;  // serial, data, FactoryDate, ModuleId
inline constexpr std::size_t kKodLength = 15;
inline constexpr std::size_t kOgolneLength = 61;  // 60 of them in the image and in files
inline constexpr std::size_t kFileLength = 61;

struct ModuleConfig {
  // Model.
  std::string Device;            // meter model name, e.g. "Q5491"
  std::uint8_t ModelIndex = 16;  // index into the model code table

  // Sensor selection.
  std::uint8_t Typ = kTypNone;
  std::uint8_t Tryb = kTrybUnset;
  std::uint8_t Lin = kLinUnset;

  // Numeric parameters.
  double SignalLow = 0;
  double SignalHigh = 0;
  double MinInput = 0;
  double MaxInput = 0;
  double RoomT = 25.0;
  double ZeroReg = 0;
  double GainReg = 0;
  std::int32_t FiltrLimit = 0;
  std::int32_t FiltrZakres = 0;
  std::int32_t FiltrCzas = 0;
  std::int32_t LimitLow = 0;
  std::int32_t LimitHigh = 200;
  std::int32_t Burnout = 0;
  std::int32_t Siec = 50;
  std::int32_t Jednostki = 0;
  std::int32_t Kropka = 0;

  // Information texts (UTF-8, lengths in characters).
  std::string ModuleId;
  std::string serial;
  std::string data;
  std::string FactoryDate;
  std::string kod;
  std::string ogolne;

  // Conversion data.
  std::string File;
  bool TableLoaded = false;
  std::array<double, 11> Coefficients{0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0};

  friend bool operator==(const ModuleConfig&, const ModuleConfig&) = default;
};

// ---- Input types -----------------------------------------------------------

struct InputTypeInfo {
  const char* name;          // the program's short name
  std::int32_t lowerTenths;  // absolute limits in tenths of the input unit
  std::int32_t upperTenths;
};

// Rows 1 to 20 of the table of input types (index 0 is unused).
const InputTypeInfo& InputType(int typ);

// The absolute limits of every input type, in tenths. Process-wide in the
// program: the limits of type 15 are replaced by the user data (table,
// series or linear conversion), so they live in the program's state.
class InputLimits {
 public:
  InputLimits();
  std::int32_t LowerTenths(int typ) const;
  std::int32_t UpperTenths(int typ) const;
  double Lower(int typ) const { return LowerTenths(typ) * 0.1; }
  double Upper(int typ) const { return UpperTenths(typ) * 0.1; }
  // Sets the limits of type 15 (the user characteristic), in tenths.
  void SetUserTenths(std::int32_t lower, std::int32_t upper);

  friend bool operator==(const InputLimits&, const InputLimits&) = default;

 private:
  std::array<std::int32_t, 21> lower_{};
  std::array<std::int32_t, 21> upper_{};
};

bool IsInputType(int typ);              // 1 to 20
bool IsResistanceThermometer(int typ);  // 1 to 4
bool IsResistanceInput(int typ);        // 1 to 5: the signal is a resistance
bool IsThermocouple(int typ);           // 6 to 15
bool IsBuiltInThermocouple(int typ);    // 6 to 14: characteristics the program knows
bool IsPlainInput(int typ);             // 5 and 16 to 20: results may be converted
bool IsVoltageOrCurrent(int typ);       // 16 to 19
bool IsVoltageInput(int typ);           // 16 and 18
bool IsCurrentInput(int typ);           // 17 and 19
// 16 to 20: voltages, currents and no input, where no sensor can break and
// no connection is named.
bool IsSensorless(int typ);

bool IsWireConnection(int tryb);  // 2 to 4

// `Lin` 4 and 8 (and any larger code a file brings): the record holds the
// conversion's coefficients.
bool HoldsCoefficients(int lin);

// Connection names, looked up with `Tryb` (1 to 11; 1 has no name).
std::string_view ConnectionName(int tryb);

// Unit names (`Jednostki`, 0 to 10).
inline constexpr int kUnitCount = 11;
std::string_view UnitName(int jednostki);
// The unit of a reading, by the module's unit code (0 to 15): the names
// above, and a blank for the codes past them.
std::string_view ReadingUnitName(int unitCode);

// ---- Meter models ----------------------------------------------------------

struct MeterModel {
  const char* name;         // "Q5491"
  const char* displayName;  // "Q5491", or "?" for models not offered
};
inline constexpr int kMeterModelCount = 9;
const std::array<MeterModel, kMeterModelCount>& MeterModels();

// Display name of a model name from the model list; empty when not listed.
std::string_view ModelDisplayName(std::string_view device);

// Model code table: entries 0 to 16 (nine listed codes, the spare code 90,
// then zeros).
inline constexpr int kSpareModelCode = 90;
// Models with windows and texts of their own: the 4 to 20 mA transmitter and
// the voltage and current meter.
inline constexpr int kQ5491ModelCode = 91;
inline constexpr int kQ5494ModelCode = 94;
int ModelCodeAt(int modelIndex);

enum class ModelGroup { A, B, C, None };
ModelGroup GroupOfModelCode(int modelCode);

// The model name of a model code: "Q5495".
std::string ModelNameOf(int modelCode);

// The number of the 4th and 5th characters of `Device`, or, when `Device` is
// empty, the entry of the model code table at `ModelIndex`.
int ModelCode(const ModuleConfig& config);

// Brings the record back inside its allowed values. Called after every decode
// of a module image and every load of a parameters file, nowhere else.
void ApplyConsistencyRules(ModuleConfig& config, const InputLimits& limits);

}  // namespace q5480
