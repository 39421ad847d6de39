#include "conversion/cold_junction.h"

#include <vector>

#include "conversion/finite.h"
#include "conversion/sensor_signal.h"

namespace q5480 {

ColdJunctionResult ColdJunctionFit(int typ, const ModuleConfig& config, const UserTable& table,
                                   const InputLimits& limits) {
  ColdJunctionResult result;
  if (!IsThermocouple(typ)) return result;
  const int start = limits.Lower(typ) < -10 ? -10 : 0;
  std::vector<long double> x;
  std::vector<long double> y;
  for (int t = start; t <= 60; ++t) {
    x.push_back(t);
    y.push_back(SensorSignal(typ, t, config, table));
  }
  result.points = static_cast<int>(x.size());
  const FitResult fit = PolynomialFit(x, y, 3);
  result.status = fit.status;
  if (fit.status != FitStatus::Ok) return result;
  for (std::size_t i = 0; i < 3; ++i) result.c[i] = Finite(fit.coefficients[i]);
  return result;
}

ColdJunctionConstantsResult ColdJunctionConstants(const ModuleConfig& config, const UserTable& table,
                                                  const InputLimits& limits) {
  ColdJunctionConstantsResult result;
  if (!IsThermocouple(config.Typ)) return result;
  switch (config.Tryb) {
    case kTrybDifferential:
      result.constants = std::array<double, 3>{0, 0, 0};
      break;
    case kTrybExternalJunction:
      result.constants =
          std::array<double, 3>{ThermocoupleSignal(config.Typ, config.RoomT, config, table), 0, 0};
      break;
    case kTrybCompensation: {
      const ColdJunctionResult fit = ColdJunctionFit(config.Typ, config, table, limits);
      result.status = fit.status;
      if (fit.status == FitStatus::Ok) result.constants = fit.c;
      break;
    }
    default:
      break;
  }
  return result;
}

}  // namespace q5480
