#include "config/parameters_file.h"

#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>

#include "config/line_buffer.h"
#include "config/module_image.h"
#include "config/text.h"

namespace q5480 {
namespace {

constexpr std::size_t kOgolneHalf = 30;
constexpr int kCoefficientCount = 11;
constexpr std::int64_t kInt32Min = std::numeric_limits<std::int32_t>::min();
constexpr std::int64_t kInt32Max = std::numeric_limits<std::int32_t>::max();

std::string CoefficientKey(int index) { return std::string("Lin") + static_cast<char>('A' + index); }

bool ReadText(const LineBuffer& buffer, std::string_view key, std::size_t length, std::string& field) {
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
  if (config.Lin > 2) {
    for (int i = 0; i < kCoefficientCount; ++i) {
      if (!ReadRequiredReal(buffer, CoefficientKey(i), config.Coefficients[static_cast<std::size_t>(i)])) {
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
  for (double value : {config.MinInput, config.MaxInput, config.RoomT, config.ZeroReg, config.GainReg}) {
    if (!std::isfinite(value)) return false;
  }
  if (config.Lin > 2) {
    for (double value : config.Coefficients) {
      if (!std::isfinite(value)) return false;
    }
  }
  return true;
}

}  // namespace

std::string DataDirOf(const std::filesystem::path& file) {
  std::string directory = file.parent_path().string();
  return CharCount(directory) > kDataDirMaxLength ? std::string() : directory;
}

std::vector<std::string> ComposeParametersLines(const ModuleConfig& config,
                                                const RegionalSettings& regional) {
  std::vector<std::string> lines(kParametersLineCount);
  auto real = [&](const char* key, double value) { return key + FormatFloat(value, regional); };
  auto integer = [](const char* key, std::int64_t value) { return key + FormatInt(value); };

  lines[0] = "Parametry miernika serii Q5480";
  lines[2] = "Device=" + config.Device;
  lines[4] = "Czujnik:";
  lines[5] = integer("Typ=", config.Typ);
  lines[6] = integer("Tryb=", config.Tryb);
  lines[7] = integer("Lin=", config.Lin);
  if (config.TableLoaded && (config.Typ == kTypUserThermocouple || config.Lin == kLinTable)) {
    lines[8] = "File=" + FileNameOnly(config.File);
  }
  lines[10] = "Parametry:";
  lines[11] = real("MinInput=", config.MinInput);
  lines[12] = real("MaxInput=", config.MaxInput);
  lines[13] = real("RoomT=", config.RoomT);
  lines[14] = real("ZeroReg=", config.ZeroReg);
  lines[15] = real("GainReg=", config.GainReg);
  lines[16] = integer("FiltrZakres=", config.FiltrZakres);
  lines[17] = integer("FiltrCzas=", config.FiltrCzas);
  lines[18] = integer("FiltrLimit=", config.FiltrLimit);
  lines[19] = integer("Burnout=", config.Burnout);
  lines[20] = integer("Siec=", config.Siec);
  lines[21] = integer("Jednostki=", config.Jednostki);
  lines[23] = "Informacje:";
  lines[24] = "Factory:";
  lines[25] = "serial=" + config.serial;
  lines[26] = "data=" + config.data;
  lines[27] = "User:";
  lines[28] = "kod=" + config.kod;
  lines[29] = "ogolne=" + Utf8Left(config.ogolne, kOgolneHalf);
  lines[30] = "ogolne1=" + Utf8Mid(config.ogolne, kOgolneHalf, kOgolneHalf);
  if (config.Lin > 2) {
    for (int i = 0; i < kCoefficientCount; ++i) {
      lines[32 + static_cast<std::size_t>(i)] =
          CoefficientKey(i) + "=" + FormatFloat(config.Coefficients[static_cast<std::size_t>(i)], regional);
    }
  }
  lines[43] = integer("Kropka=", config.Kropka);
  return lines;
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
  if (!RealsAreFinite(config)) return false;
  LineBuffer buffer;
  buffer.AddEmptyLines(kParametersLineCount);
  std::vector<std::string> lines = ComposeParametersLines(config, regional);
  for (std::size_t i = 0; i < lines.size(); ++i) buffer.SetLine(i, std::move(lines[i]));
  if (!buffer.Save(path)) return false;
  dataDir = DataDirOf(path);
  return true;
}

}  // namespace q5480
