#include "conversion/table_file.h"

#include <cmath>

#include "config/line_buffer.h"
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
  if (buffer.Lines().size() >= 2) result.failedLine = static_cast<int>(std::lround(state.Table[0].y));
  return false;
}

std::optional<std::string> AcceptReloadedTable(const ConversionContext& context) {
  const UserTable& table = context.state.Table;
  ModuleConfig& config = context.config;
  const int n = table.Count();
  if (std::fabs(table[n].y - table[1].y) < MinimumSignalSpan(config.Typ)) {
    return std::string(kInputRangeTooSmall);
  }
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
    if (!result.opened) return "Cannot open file";
    return CorruptedFileMessage(result.reason);
  }
  return AcceptReloadedTable(context);
}

}  // namespace q5480
