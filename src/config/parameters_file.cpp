#include "config/parameters_file.h"

#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>

#include "config/line_buffer.h"
#include "config/module_image.h"
#include "config/path_text.h"
#include "config/text.h"

namespace q5480 {
namespace {

constexpr std::size_t kOgolneHalf = 30;
constexpr int kCoefficientCount = 11;
constexpr std::int64_t kInt32Min = std::numeric_limits<std::int32_t>::min();
constexpr std::int64_t kInt32Max = std::numeric_limits<std::int32_t>::max();

std::string CoefficientKey(int index) {
  return std::string("Lin") + static_cast<char>('A' + index);
}

bool ReadText(const LineBuffer& buffer, std::string_view key, std::size_t length,
              std::string& field) {
  std::optional<std::string> text = buffer.Value(key);
  if (!text) return false;
  field = Utf8Left(*text, length);
  return true;
}

template <typename Field>
bool ReadRequiredInteger(const LineBuffer& buffer, std::string_view key, std::int64_t lowest,
                         std::int64_t highest, Field& field) {
  std::optional<std::int64_t> value = buffer.IntegerValue(key, lowest, highest);
  if (!value) return false;
  field = static_cast<Field>(*value);
  return true;
}

bool ReadRequiredReal(const LineBuffer& buffer, std::string_view key, double& field) {
  std::optional<double> value = buffer.NumberValue(key);
  if (!value) return false;
  field = *value;
  return true;
}

std::int32_t ReadOptionalInt32(const LineBuffer& buffer, std::string_view key) {
  return static_cast<std::int32_t>(buffer.IntegerValue(key, kInt32Min, kInt32Max).value_or(0));
}

bool ReadTexts(const LineBuffer& buffer, ModuleConfig& config) {
  if (!ReadText(buffer, "Device", kDeviceLength, config.Device) ||
      !ReadText(buffer, "serial", kShortTextLength, config.serial) ||
      !ReadText(buffer, "data", kShortTextLength, config.data) ||
      !ReadText(buffer, "kod", kKodLength, config.kod)) {
    return false;
  }
  std::optional<std::string> first = buffer.Value("ogolne");
  if (!first) return false;
  std::optional<std::string> second = buffer.Value("ogolne1");
  if (!second) return false;
  config.ogolne = Utf8Left(*first + *second, kOgolneLength);
  // A name too long for the record is stored as no name.
  std::string file = buffer.Value("File").value_or(std::string());
  config.File = CharCount(file) <= kFileLength ? file : std::string();
  return true;
}

bool ReadNumbers(const LineBuffer& buffer, ModuleConfig& config) {
  if (!ReadRequiredInteger(buffer, "Typ", 0, 255, config.Typ) ||
      !ReadRequiredInteger(buffer, "Tryb", 0, 255, config.Tryb) ||
      !ReadRequiredInteger(buffer, "Lin", 0, 255, config.Lin) ||
      !ReadRequiredReal(buffer, "MinInput", config.MinInput) ||
      !ReadRequiredReal(buffer, "MaxInput", config.MaxInput) ||
      !ReadRequiredReal(buffer, "RoomT", config.RoomT) ||
      !ReadRequiredReal(buffer, "ZeroReg", config.ZeroReg) ||
      !ReadRequiredReal(buffer, "GainReg", config.GainReg) ||
      !ReadRequiredInteger(buffer, "FiltrZakres", kInt32Min, kInt32Max, config.FiltrZakres) ||
      !ReadRequiredInteger(buffer, "FiltrCzas", kInt32Min, kInt32Max, config.FiltrCzas)) {
    return false;
  }
  config.FiltrLimit = ReadOptionalInt32(buffer, "FiltrLimit");
  return ReadRequiredInteger(buffer, "Burnout", kInt32Min, kInt32Max, config.Burnout) &&
         ReadRequiredInteger(buffer, "Siec", kInt32Min, kInt32Max, config.Siec) &&
         ReadRequiredInteger(buffer, "Jednostki", kInt32Min, kInt32Max, config.Jednostki);
}

bool ReadFields(const LineBuffer& buffer, ModuleConfig& config, InputLimits& limits) {
  if (!ReadTexts(buffer, config) || !ReadNumbers(buffer, config)) return false;
  if (HoldsCoefficients(config.Lin)) {
    for (int i = 0; i < kCoefficientCount; ++i) {
      if (!ReadRequiredReal(buffer, CoefficientKey(i),
                            config.Coefficients[static_cast<std::size_t>(i)])) {
        return false;
      }
    }
    SetUserLimitsFromCoefficients(config.Coefficients[9], config.Coefficients[10], limits);
  }
  config.Kropka = ReadOptionalInt32(buffer, "Kropka");
  return true;
}

// The name without its directory; names may come from another computer.
std::string FileNameOnly(const std::string& name) {
  std::size_t cut = name.find_last_of("\\:/");
  return cut == std::string::npos ? name : name.substr(cut + 1);
}

bool RealsAreFinite(const ModuleConfig& config) {
  for (double value :
       {config.MinInput, config.MaxInput, config.RoomT, config.ZeroReg, config.GainReg}) {
    if (!std::isfinite(value)) return false;
  }
  if (HoldsCoefficients(config.Lin)) {
    for (double value : config.Coefficients) {
      if (!std::isfinite(value)) return false;
    }
  }
  return true;
}

}  // namespace

std::string DataDirOf(const std::filesystem::path& file) {
  std::string directory = Utf8FromPath(file.parent_path());
  return CharCount(directory) > kDataDirMaxLength ? std::string() : directory;
}

LineBuffer ComposeParametersFile(const ModuleConfig& config, const RegionalSettings& regional) {
  LineBuffer buffer;
  buffer.AddEmptyLines(kParametersLineCount);
  auto real = [&](std::string_view key, double value) {
    return std::string(key) + FormatFloat(value, regional);
  };
  auto integer = [](const char* key, std::int64_t value) { return key + FormatInt(value); };

  buffer.SetLine(0, "Parametry miernika serii Q5480");
  buffer.SetLine(2, "Device=" + config.Device);
  buffer.SetLine(4, "Czujnik:");
  buffer.SetLine(5, integer("Typ=", config.Typ));
  buffer.SetLine(6, integer("Tryb=", config.Tryb));
  buffer.SetLine(7, integer("Lin=", config.Lin));
  if (config.TableLoaded && (config.Typ == kTypUserThermocouple || config.Lin == kLinTable)) {
    buffer.SetLine(8, "File=" + FileNameOnly(config.File));
  }
  buffer.SetLine(10, "Parametry:");
  buffer.SetLine(11, real("MinInput=", config.MinInput));
  buffer.SetLine(12, real("MaxInput=", config.MaxInput));
  buffer.SetLine(13, real("RoomT=", config.RoomT));
  buffer.SetLine(14, real("ZeroReg=", config.ZeroReg));
  buffer.SetLine(15, real("GainReg=", config.GainReg));
  buffer.SetLine(16, integer("FiltrZakres=", config.FiltrZakres));
  buffer.SetLine(17, integer("FiltrCzas=", config.FiltrCzas));
  buffer.SetLine(18, integer("FiltrLimit=", config.FiltrLimit));
  buffer.SetLine(19, integer("Burnout=", config.Burnout));
  buffer.SetLine(20, integer("Siec=", config.Siec));
  buffer.SetLine(21, integer("Jednostki=", config.Jednostki));
  buffer.SetLine(23, "Informacje:");
  buffer.SetLine(24, "Factory:");
  buffer.SetLine(25, "serial=" + config.serial);
  buffer.SetLine(26, "data=" + config.data);
  buffer.SetLine(27, "User:");
  buffer.SetLine(28, "kod=" + config.kod);
  buffer.SetLine(29, "ogolne=" + Utf8Left(config.ogolne, kOgolneHalf));
  buffer.SetLine(30, "ogolne1=" + Utf8Mid(config.ogolne, kOgolneHalf, kOgolneHalf));
  if (HoldsCoefficients(config.Lin)) {
    for (int i = 0; i < kCoefficientCount; ++i) {
      const auto index = static_cast<std::size_t>(i);
      buffer.SetLine(32 + index, real(CoefficientKey(i) + "=", config.Coefficients[index]));
    }
  }
  buffer.SetLine(43, integer("Kropka=", config.Kropka));
  return buffer;
}

bool ReadParametersFile(const std::filesystem::path& path, ModuleConfig& config,
                        InputLimits& limits, std::string& dataDir) {
  dataDir = DataDirOf(path);
  LineBuffer buffer;
  const bool ok = buffer.Load(path) && ReadFields(buffer, config, limits);
  ApplyConsistencyRules(config, limits);
  return ok;
}

bool WriteParametersFile(const std::filesystem::path& path, const ModuleConfig& config,
                         const RegionalSettings& regional, std::string& dataDir) {
  if (!RealsAreFinite(config) || !ComposeParametersFile(config, regional).Save(path)) return false;
  dataDir = DataDirOf(path);
  return true;
}

}  // namespace q5480
