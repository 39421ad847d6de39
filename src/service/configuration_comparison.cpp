#include "service/configuration_comparison.h"

#include <cstdint>
#include <functional>

#include "config/numbers.h"
#include "config/text.h"
#include "module/image_packing.h"

namespace q5480 {
namespace {

namespace off = image_offset;

constexpr int kModelNumberBase = 5400;
constexpr std::size_t kSegmentBytes = 8;
constexpr std::int32_t kWideUserLimitTenths = 100'000'000;

// The record as a module of the side's model holds it.
ModuleConfig Decode(const ComparedConfiguration& side) {
  ModuleImage image = side.image;
  image.StoreWord(off::kModelNumber, static_cast<std::uint16_t>(kModelNumberBase + side.modelCode));
  ModuleConfig config;
  // The user characteristic's limits come with its table, which the image
  // does not hold: wide ones keep the consistency rules from moving a range.
  InputLimits limits;
  limits.SetUserTenths(-kWideUserLimitTenths, kWideUserLimitTenths);
  DecodeModuleImage(image, config, limits);
  return config;
}

std::string ModelName(int modelCode) {
  return "Q54" + std::string(modelCode < 10 ? "0" : "") + FormatInt(modelCode);
}

// Six figures: what the module's float format holds.
std::string Number(double value) { return FormatGeneral(value, 6, '.'); }

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

std::string InputText(const ModuleConfig& c, const LanguageTable& tr) {
  if (IsThermocouple(c.Typ)) return TextOrKey(tr, "Thermocouple") + " " + InputType(c.Typ).name;
  switch (c.Typ) {
    case kTypResistance: return TextOrKey(tr, "Resistance");
    case kTypMillivolts: return TextOrKey(tr, "Voltage") + " (mV)";
    case kTypVoltage: return TextOrKey(tr, "Voltage") + " (V)";
    case kTypCurrent: return TextOrKey(tr, "Current");
    case kTypLoopCurrent: return TextOrKey(tr, "Current") + " (4-20 mA)";
    case kTypNone: return "-";
    default: return InputType(c.Typ).name;
  }
}

// "Thermocouple K, CJC, linearization", "Pt100 (0.00385), 3-wire",
// "Voltage (V), conversion: linear".
std::string SensorText(const ModuleConfig& c, const LanguageTable& tr) {
  std::string text = InputText(c, tr);
  const std::string_view connection = ConnectionName(c.Tryb);
  if (!IsSensorless(c.Typ) && !connection.empty()) text += ", " + TextOrKey(tr, connection);
  if (c.Lin == kLinTable && !IsPlainInput(c.Typ))
    return text + ", " + TextOrKey(tr, "linearization");
  std::string conversion;
  switch (c.Lin) {
    case kLinTable: conversion = TextOrKey(tr, "table defined"); break;
    case kLinLinear: conversion = TextOrKey(tr, "linear"); break;
    case kLinSeries: conversion = TextOrKey(tr, "power series"); break;
    default: break;
  }
  if (!conversion.empty()) text += ", " + TextOrKey(tr, "conversion") + ": " + conversion;
  return text;
}

std::string BurnoutText(std::int32_t burnout, const LanguageTable& tr) {
  switch (burnout) {
    case 0: return TextOrKey(tr, "below 4mA");
    case 1: return TextOrKey(tr, "above 20mA");
    case 2: return "I=4mA";
    default: return FormatInt(burnout);
  }
}

// Segments of the transfer table (8 bytes each) that differ.
int DifferingSegments(const ModuleImage& a, const ModuleImage& b) {
  int count = 0;
  for (int segment = 0; segment < kSegmentCount; ++segment) {
    const std::size_t at = off::kSegments + kSegmentBytes * static_cast<std::size_t>(segment);
    for (std::size_t i = at; i < at + kSegmentBytes; ++i) {
      if (a[i] != b[i]) {
        ++count;
        break;
      }
    }
  }
  return count;
}

}  // namespace

ComparedConfiguration ConfigurationOfFile(const ModuleImage& built, const ModuleConfig& config) {
  ComparedConfiguration side{built, ModelCode(config), ConfigurationSource::File};
  side.image[0] = static_cast<std::uint8_t>(config.LimitLow);
  side.image[1] = static_cast<std::uint8_t>(config.LimitHigh);
  return side;
}

ComparedConfiguration ConfigurationOfModule(const ModuleImage& read, int modelCode, bool newLayout,
                                            std::string_view moduleId) {
  return {read, modelCode,
          newLayout ? ConfigurationSource::NewerModule : ConfigurationSource::OlderModule,
          !ClearsFixedPoint(newLayout, moduleId)};
}

std::vector<FieldDifference> CompareConfigurations(const ComparedConfiguration& first,
                                                   const ComparedConfiguration& second,
                                                   const LanguageTable& tr) {
  const ModuleConfig a = Decode(first);
  const ModuleConfig b = Decode(second);
  std::vector<FieldDifference> differences;
  const auto field = [&](std::string_view label, auto member,
                         const std::function<std::string(const ModuleConfig&)>& text) {
    if (a.*member != b.*member) differences.push_back({TextOrKey(tr, label), text(a), text(b), {}});
  };
  const auto number = [](auto member) {
    return [member](const ModuleConfig& c) { return Number(c.*member); };
  };
  const auto suffixed = [](auto member, double scale, std::string suffix) {
    return [member, scale, suffix](const ModuleConfig& c) {
      return Number(c.*member * scale) + suffix;
    };
  };

  if (first.modelCode != second.modelCode) {
    differences.push_back(
        {TextOrKey(tr, "Model"), ModelName(first.modelCode), ModelName(second.modelCode), {}});
  }
  if (a.Typ != b.Typ || a.Tryb != b.Tryb || a.Lin != b.Lin) {
    differences.push_back({TextOrKey(tr, "Sensor"), SensorText(a, tr), SensorText(b, tr), {}});
  }
  field("Table file", &ModuleConfig::File,
        [](const ModuleConfig& c) { return c.File.empty() ? std::string("-") : c.File; });
  if (HoldsCoefficients(a.Lin) || HoldsCoefficients(b.Lin)) {
    for (std::size_t n = 0; n < a.Coefficients.size(); ++n) {
      if (a.Coefficients[n] == b.Coefficients[n]) continue;
      differences.push_back(
          {TextOrKey(tr, "Coefficient") + " " + FormatInt(static_cast<int>(n) + 1),
           Number(a.Coefficients[n]),
           Number(b.Coefficients[n]),
           {}});
    }
  }
  field("MinInput", &ModuleConfig::MinInput, number(&ModuleConfig::MinInput));
  field("MaxInput", &ModuleConfig::MaxInput, number(&ModuleConfig::MaxInput));
  field("SignalLow", &ModuleConfig::SignalLow, number(&ModuleConfig::SignalLow));
  field("SignalHigh", &ModuleConfig::SignalHigh, number(&ModuleConfig::SignalHigh));
  if (const int segments = DifferingSegments(first.image, second.image); segments > 0) {
    differences.push_back({TextOrKey(tr, "Transfer table"), "", "",
                           FormatInt(segments) + " " + TextOrKey(tr, "of") + " " +
                               FormatInt(kSegmentCount) + " " + TextOrKey(tr, "segments differ")});
  }
  const auto bothKeep = [&](ConfigurationSource without) {
    return first.source != without && second.source != without;
  };
  if (bothKeep(ConfigurationSource::NewerModule)) {
    field("CJ temp.", &ModuleConfig::RoomT, suffixed(&ModuleConfig::RoomT, 1, " \u00B0C"));
  }
  field("Zero", &ModuleConfig::ZeroReg, suffixed(&ModuleConfig::ZeroReg, 1, " %"));
  field("Gain", &ModuleConfig::GainReg, suffixed(&ModuleConfig::GainReg, 1, " %"));
  field("Filtration range", &ModuleConfig::FiltrZakres,
        suffixed(&ModuleConfig::FiltrZakres, 0.1, " %"));
  field("Time constant", &ModuleConfig::FiltrCzas, suffixed(&ModuleConfig::FiltrCzas, 0.1, " s"));
  field("Spurious error threshold", &ModuleConfig::FiltrLimit,
        suffixed(&ModuleConfig::FiltrLimit, 1, " %"));
  if (bothKeep(ConfigurationSource::OlderModule)) {
    field("LimitLow", &ModuleConfig::LimitLow, number(&ModuleConfig::LimitLow));
    field("LimitHigh", &ModuleConfig::LimitHigh, number(&ModuleConfig::LimitHigh));
  }
  field("Output reaction to sensor burnout", &ModuleConfig::Burnout,
        [&tr](const ModuleConfig& c) { return BurnoutText(c.Burnout, tr); });
  field("Frequency", &ModuleConfig::Siec, suffixed(&ModuleConfig::Siec, 1, " Hz"));
  field("Units", &ModuleConfig::Jednostki,
        [](const ModuleConfig& c) { return std::string(UnitName(c.Jednostki)); });
  if (first.keepsFixedPoint && second.keepsFixedPoint) {
    field("Decimal point", &ModuleConfig::Kropka, number(&ModuleConfig::Kropka));
  }
  field("ID Tag", &ModuleConfig::kod, [](const ModuleConfig& c) { return Quoted(c.kod); });
  field("User info", &ModuleConfig::ogolne, [](const ModuleConfig& c) { return Quoted(c.ogolne); });
  return differences;
}

std::string DescribeDifference(const FieldDifference& d, std::string_view firstName,
                               std::string_view secondName) {
  if (!d.summary.empty()) return d.field + ": " + d.summary;
  return d.field + ": " + std::string(firstName) + " " + d.first + ", " + std::string(secondName) +
         " " + d.second;
}

std::string LeftOutOfComparison(const LanguageTable& tr) {
  return TextOrKey(tr,
                   "Not compared: the configuration date (each write sets its own), the serial "
                   "number, factory date and identifier (each module's own).");
}

}  // namespace q5480
