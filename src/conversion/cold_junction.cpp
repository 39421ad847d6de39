#include "conversion/cold_junction.h"

#include <vector>

#include "conversion/conversion_messages.h"
#include "conversion/finite.h"
#include "conversion/polynomial_fit.h"
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
  if (fit.status == FitStatus::NoConvergence) result.refusal = Refusal{.key = kNoConvergence};
  if (fit.status == FitStatus::NotEnoughRows) result.refusal = Refusal{.key = kNotEnoughRows};
  if (result.refusal) return result;
  for (std::size_t i = 0; i < 3; ++i) result.c[i] = Finite(fit.coefficients[i]);
  return result;
}

std::optional<Refusal> StoreColdJunctionConstants(const ModuleConfig& config,
                                                  const UserTable& table, const InputLimits& limits,
                                                  ModuleImage& image) {
  if (!IsThermocouple(config.Typ)) return std::nullopt;
  std::array<double, 3> constants{0, 0, 0};
  switch (config.Tryb) {
    case kTrybDifferential: break;
    case kTrybExternalJunction:
      constants[0] = ThermocoupleSignal(config.Typ, config.RoomT, config, table);
      break;
    case kTrybCompensation: {
      const ColdJunctionResult fit = ColdJunctionFit(config.Typ, config, table, limits);
      if (fit.refusal) return fit.refusal;
      constants = fit.c;
      break;
    }
    default: return std::nullopt;
  }
  for (std::size_t i = 0; i < constants.size(); ++i) {
    image.StoreFloat(image_offset::kColdJunction + 4 * i, constants[i]);
  }
  return std::nullopt;
}

}  // namespace q5480
