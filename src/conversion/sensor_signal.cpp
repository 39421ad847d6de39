#include "conversion/sensor_signal.h"

#include <array>

#include "conversion/finite.h"
#include "conversion/polynomial.h"
#include "conversion/power_series.h"
#include "conversion/thermocouple.h"
#include "conversion/user_table.h"

namespace q5480 {
namespace {

// R(t) in ohms, c0 first, for types 1 to 4 in their order.
constexpr std::array<std::array<long double, 11>, 4> kResistanceCoefficients{{
    {100.00272L, 0.39076269L, -6.0381711e-05L, 4.0288765e-08L, -2.4161212e-10L, 6.5996588e-13L,
     -6.7290771e-16L, -5.8400929e-19L, 2.1362756e-21L, -1.9617729e-24L, 6.2761831e-28L},
    {100.00086L, 0.39862548L, -6.1896113e-05L, 2.4155334e-08L, -1.351571e-10L, 5.0893568e-13L,
     -1.1666947e-15L, 1.608881e-18L, -1.3154381e-21L, 5.8828362e-25L, -1.1090877e-28L},
    {100.00005L, 0.54979801L, 0.00062880181L, 9.969763e-08L, 8.6189375e-09L, -2.6127669e-10L,
     2.5867181e-12L, 2.2772837e-14L, -5.1609081e-16L, 2.961306e-18L, -5.6737191e-21L},
    {100.00003L, 0.42599955L, 0, 0, 0, 0, 0, 0, 0, 0, 0},
}};

}  // namespace

long double ResistanceSignal(int typ, long double t) {
  if (!IsResistanceThermometer(typ)) return t;
  return EvaluatePolynomial(kResistanceCoefficients[static_cast<std::size_t>(typ - kTypPt385)], t);
}

bool IsStandardCharacteristic(int typ) {
  return IsResistanceThermometer(typ) || IsBuiltInThermocouple(typ);
}

bool UsesUserTable(const ModuleConfig& config) {
  if (config.Typ == kTypUserThermocouple) return true;
  return IsPlainInput(config.Typ) && (config.Lin == kLinTable || config.Lin == kLinSeries);
}

bool NamesTableFile(const ModuleConfig& config) {
  return config.Typ == kTypUserThermocouple ||
         (IsPlainInput(config.Typ) && config.Lin == kLinTable);
}

double SensorSignal(int typ, double x, const ModuleConfig& config, const UserTable& table) {
  if (IsResistanceThermometer(typ)) return Finite(ResistanceSignal(typ, x));
  if (IsBuiltInThermocouple(typ)) return Finite(ThermocoupleMillivolts(typ, x));
  if (typ == kTypUserThermocouple) return TableValue(x, table);
  if (typ == kTypResistance || IsVoltageOrCurrent(typ)) {
    switch (config.Lin) {
      case kLinTable:
      case kLinSeries: return TableValue(x, table);
      case kLinLinear: return SeriesValue(2, x, config.Coefficients);
      default: return x;
    }
  }
  return x;
}

double ThermocoupleSignal(int typ, double t, const ModuleConfig& config, const UserTable& table) {
  return IsThermocouple(typ) ? SensorSignal(typ, t, config, table) : 0;
}

double MinimumSignalSpan(int typ) {
  if (IsResistanceInput(typ)) return 12.0;
  if (IsThermocouple(typ)) return 1.5;
  switch (typ) {
    case kTypMillivolts: return 4.0;
    case kTypCurrent: return 1.0;
    case kTypVoltage: return 0.5;
    case kTypLoopCurrent: return 1.0;
    default: return 0.0;
  }
}

}  // namespace q5480
