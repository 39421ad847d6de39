#include "conversion/table_file.h"

#include <cmath>
#include <vector>

#include "config/line_buffer.h"
#include "config/program_directory.h"
#include "conversion/conversion_messages.h"
#include "conversion/power_series.h"
#include "conversion/sensor_signal.h"
#include "conversion/user_table.h"

namespace q5480 {
namespace {

constexpr double kTolerance = 0.000001;

std::string CorruptedFileMessage(const std::string& reason) {
  std::string message = std::string(kCorruptedFile) + "!";
  if (!reason.empty()) message += "\n(" + reason + ".)";
  return message;
}

}  // namespace

std::string TableFileBaseName(std::string_view name) {
  const std::size_t cut = name.find_last_of("\\:/");
  return std::string(cut == std::string_view::npos ? name : name.substr(cut + 1));
}

std::vector<std::string> TableExampleLines(int tableType, std::string_view exampleWord) {
  const char* header = ";  t[\u00B0C]   V[mV]";
  if (tableType == kTypResistance) header = ";  t[\u00B0C]   R[Ohm]";
  if (IsCurrentInput(tableType)) header = ";  t[\u00B0C]   I[mA]";
  return {"; " + std::string(exampleWord) + ":", ";", header, "    0.0    0.0", "    1.0    0.01",
          "      .   .   ."};
}

bool TableSpanSufficient(const UserTable& table, int typ) {
  const int n = table.Count();
  return n >= 2 && std::fabs(table[n].y - table[1].y) >= MinimumSignalSpan(typ);
}

bool LoadTableFile(const std::filesystem::path& path, ConversionState& state,
                   const InputLimits& limits, TableLoadResult& result) {
  result = TableLoadResult{};
  LineBuffer buffer;
  if (!buffer.Load(path)) return false;
  result.opened = true;
  if (ParseTable(buffer.Lines(), state, limits, result.reason)) {
    result.reason.clear();
    return true;
  }
  const int line = static_cast<int>(std::lround(state.Table[0].y));
  if (buffer.Lines().size() >= 2 && line > 0) result.failedLine = line;
  return false;
}

std::optional<std::string> AcceptReloadedTable(const ConversionContext& context) {
  const UserTable& table = context.state.Table;
  ModuleConfig& config = context.config;
  if (!TableSpanSufficient(table, config.Typ)) return std::string(kInputRangeTooSmall);
  SetUserRange(table, context.limits);
  if (config.MinInput < context.limits.Lower(kTypUserThermocouple) - kTolerance ||
      config.MaxInput > context.limits.Upper(kTypUserThermocouple) + kTolerance) {
    return CorruptedFileMessage("");
  }
  config.TableLoaded = true;
  return std::nullopt;
}

std::optional<std::string> ReloadUserData(const ConversionContext& context,
                                          const std::filesystem::path& tableFile) {
  ModuleConfig& config = context.config;
  ConversionState& state = context.state;
  state.TableType = config.Typ;
  std::string reason;
  if (config.Lin == kLinSeries && config.Typ != kTypUserThermocouple) {
    if (!SampleSeriesToTable(config, state, context.limits, reason)) return reason;
    SetUserRange(state.Table, context.limits);
    config.TableLoaded = true;
    return std::nullopt;
  }
  TableLoadResult result;
  if (!LoadTableFile(tableFile, state, context.limits, result)) {
    if (!result.opened) return std::string(kCannotOpenFile);
    return CorruptedFileMessage(result.reason);
  }
  return AcceptReloadedTable(context);
}

std::optional<std::filesystem::path> LocateTableFile(std::string_view file,
                                                     const std::filesystem::path& besideDirectory) {
  const std::string name = TableFileBaseName(file);
  if (name.empty()) return std::nullopt;
  std::vector<std::filesystem::path> candidates{besideDirectory / name, ProgramDirectory() / name};
  for (const char* folder : {"Tables", "Tablice"}) {
    if (const auto directory = FindDataFile(folder)) candidates.push_back(*directory / name);
  }
  for (const auto& candidate : candidates) {
    std::error_code error;
    if (std::filesystem::is_regular_file(candidate, error)) return candidate;
  }
  return std::nullopt;
}

std::optional<std::string> RestoreUserData(const ConversionContext& context,
                                           const std::optional<std::filesystem::path>& tableFile,
                                           const std::filesystem::path& besideDirectory) {
  ModuleConfig& config = context.config;
  config.TableLoaded = false;
  if (!UsesUserTable(config)) return std::nullopt;
  if (config.Lin == kLinSeries && config.Typ != kTypUserThermocouple) return ReloadUserData(context, {});
  const std::optional<std::filesystem::path> path =
      tableFile ? tableFile : LocateTableFile(config.File, besideDirectory);
  if (!path) return std::string(kCannotOpenFile);
  return ReloadUserData(context, *path);
}

}  // namespace q5480
