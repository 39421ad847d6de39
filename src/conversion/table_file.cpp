#include "conversion/table_file.h"

#include <cmath>
#include <vector>

#include "config/line_buffer.h"
#include "conversion/conversion_messages.h"
#include "conversion/sensor_signal.h"
#include "conversion/user_table.h"

namespace q5480 {
namespace {

constexpr double kTolerance = 0.000001;

}  // namespace

std::string TableFileBaseName(std::string_view name) {
  const std::size_t cut = name.find_last_of("\\:/");
  return std::string(cut == std::string_view::npos ? name : name.substr(cut + 1));
}

std::vector<std::string> TableExampleLines(int tableType, std::string_view exampleWord) {
  const char* header = ";  t[\u00B0C]   V[mV]";
  if (tableType == 5) header = ";  t[\u00B0C]   R[Ohm]";
  if (tableType == 17 || tableType == 19) header = ";  t[\u00B0C]   I[mA]";
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
    return std::string(kCorruptedFile) + "!";
  }
  config.TableLoaded = true;
  return std::nullopt;
}

}  // namespace q5480
