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
  if (tableType == kTypResistance) header = ";  t[\u00B0C]   R[Ohm]";
  if (IsCurrentInput(tableType)) header = ";  t[\u00B0C]   I[mA]";
  return {"; " + std::string(exampleWord) + ":",
          ";",
          header,
          "    0.0    0.0",
          "    1.0    0.01",
          "      .   .   ."};
}

bool TableSpanSufficient(const UserTable& table, int typ) {
  const int n = table.Count();
  return n >= 2 && std::fabs(table[n].y - table[1].y) >= MinimumSignalSpan(typ);
}

std::optional<Refusal> LoadTableFile(const std::filesystem::path& path, ConversionState& state,
                                     const InputLimits& limits) {
  LineBuffer buffer;
  if (!buffer.Load(path)) return Refusal{.key = kCannotOpenFile};
  return ParseTable(buffer.Lines(), state, limits);
}

std::optional<int> FailingTableLine(const UserTable& table, std::size_t lineCount) {
  // A file of fewer than two lines fails before the header names a line, so
  // whatever it holds lies past the file.
  const long line = std::lround(table[0].y);
  if (line <= 0 || line >= static_cast<long>(lineCount)) return std::nullopt;
  return static_cast<int>(line);
}

std::optional<Refusal> AcceptReloadedTable(const ConversionContext& context) {
  const UserTable& table = context.state.Table;
  ModuleConfig& config = context.config;
  if (!TableSpanSufficient(table, config.Typ)) return Refusal{.key = kInputRangeTooSmall};
  SetUserRange(table, context.limits);
  if (config.MinInput < context.limits.Lower(kTypUserThermocouple) - kTolerance ||
      config.MaxInput > context.limits.Upper(kTypUserThermocouple) + kTolerance) {
    return Refusal{.key = kCorruptedFile, .exclamation = true};
  }
  config.TableLoaded = true;
  return std::nullopt;
}

}  // namespace q5480
