#include "conversion/user_table.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>
#include <string_view>

#include "config/numbers.h"
#include "conversion/finite.h"

namespace q5480 {
namespace {

constexpr double kTolerance = 0.000001;

bool IsComment(std::string_view line) {
  return line.empty() || line[0] == '"' || line[0] == '*' || line[0] == '/' || line[0] == ';';
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// The two numbers of a data line, or nothing when the line is unreadable.
std::optional<TablePoint> ParseDataLine(std::string_view line) {
  if (line.size() < 3) return std::nullopt;
  // The first number ends at a blank or semicolon after its first character;
  // a tab before it is not skipped and makes the number unreadable.
  std::size_t end = 0;
  bool started = false;
  for (; end < line.size(); ++end) {
    const char c = line[end];
    if (started && (IsBlank(c) || c == ';')) break;
    if (!IsBlank(c)) started = true;
  }
  if (end == line.size()) return std::nullopt;
  const std::string_view firstText = line.substr(0, end);
  if (firstText.find('\t') != std::string_view::npos) return std::nullopt;

  std::size_t start = end;
  if (line[start] == ';') ++start;
  while (start < line.size() && IsBlank(line[start])) ++start;
  std::size_t stop = line.find_first_of("\t /;", start);
  if (stop == std::string_view::npos) stop = line.size();
  if (stop == start) return std::nullopt;

  const std::optional<double> first = ParseNumber(firstText);
  const std::optional<double> second = ParseNumber(line.substr(start, stop - start));
  if (!first || !second) return std::nullopt;
  return TablePoint{*first, *second};
}

bool Within(double value, double low, double high) {
  return value >= low - kTolerance && value <= high + kTolerance;
}

// A table file's refusal: the one message, with the reason when there is one.
Refusal CorruptedTable(std::string reason = {}) {
  return Refusal{.key = kCorruptedFile, .exclamation = true, .detail = std::move(reason)};
}

// Order and range checks of point n. A later y that falls has no reason of
// its own in a rising table; in a falling one it is told that values should
// rise.
std::optional<Refusal> CheckPoint(const UserTable& table, int n, int tableType,
                                  const InputLimits& limits) {
  const TablePoint& point = table[n];
  if (n >= 2) {
    const TablePoint& previous = table[n - 1];
    if (tableType == kTypUserThermocouple || table[1].x < table[2].x) {
      if (!(previous.x < point.x)) return CorruptedTable(kReasonValuesRise);
      if (!(previous.y <= point.y)) return CorruptedTable();
    } else {
      if (!(previous.x > point.x)) return CorruptedTable(kReasonRiseOrFall);
      if (!(previous.y <= point.y)) return CorruptedTable(kReasonValuesRise);
    }
  }
  const bool inside = tableType == kTypUserThermocouple
                          ? Within(point.x, -273.0, 9999.0) && Within(point.y, -5.0, 75.0)
                          : Within(point.x, -1999.0, 9999.0) &&
                                Within(point.y, limits.Lower(tableType), limits.Upper(tableType));
  if (!inside) return CorruptedTable(kReasonOutOfRange);
  return std::nullopt;
}

}  // namespace

int UserTable::Count() const { return static_cast<int>(std::lround(points[0].x)); }

std::optional<Refusal> ParseTable(const std::vector<std::string>& lines, ConversionState& state,
                                  const InputLimits& limits) {
  UserTable& table = state.Table;
  table[0].x = 0;
  if (lines.size() < 2) return CorruptedTable();
  const std::size_t lineCount = std::min<std::size_t>(lines.size(), kMaxTablePoints);
  int n = 0;
  for (std::size_t i = 0; i < lineCount; ++i) {
    table[0].y = static_cast<double>(i);
    if (IsComment(lines[i])) continue;
    const std::optional<TablePoint> point = ParseDataLine(lines[i]);
    if (!point) return CorruptedTable();
    ++n;
    table[n] = *point;
    if (auto refusal = CheckPoint(table, n, state.TableType, limits)) return refusal;
    table[0].x = n;
  }
  if (n < 2) return CorruptedTable(kReasonNotEnoughPoints);
  return std::nullopt;
}

double TableValue(double x, const UserTable& table) {
  const int n = table.Count();
  if (n < 2) return x;
  const bool rising = table[1].x < table[n].x;
  if (rising ? x < table[1].x : x > table[1].x) return table[1].y;
  if (rising ? x > table[n].x : x < table[n].x) return table[n].y;
  int i = 1;
  while (i < n && (rising ? x > table[i].x : x < table[i].x)) ++i;
  if (i == 1) i = 2;
  const int k = i == n ? n - 1 : i;
  // The slopes only matter (and the header point only stays out of them)
  // on tables long enough for the parabola.
  if (n > 10) {
    const double s1 = std::fabs((table[k].y - table[k - 1].y) / (table[k].x - table[k - 1].x));
    const double s2 = std::fabs((table[k + 1].y - table[k].y) / (table[k + 1].x - table[k].x));
    if (3 * s2 >= s1 && 3 * s1 >= s2) {
      return Finite(ParabolaThrough(table[k - 1].x, table[k].x, table[k + 1].x, table[k - 1].y,
                                    table[k].y, table[k + 1].y, x));
    }
  }
  const TablePoint& a = table[i - 1];
  const TablePoint& b = table[i];
  return Finite((x - a.x) * (b.y - a.y) / (b.x - a.x) + a.y);
}

double ParabolaThrough(double x1, double x2, double x3, double y1, double y2, double y3, double x) {
  const double margin = kTolerance * std::max({std::fabs(x1), std::fabs(x2), std::fabs(x3)});
  if (x < std::min(x1, x3) - margin || x > std::max(x1, x3) + margin) return 0;
  const long double d = static_cast<long double>(x1) * x1 * (x2 - x3) +
                        static_cast<long double>(x2) * x2 * (x3 - x1) +
                        static_cast<long double>(x3) * x3 * (x1 - x2);
  const long double a =
      ((x2 - x3) * static_cast<long double>(y1) + (x3 - x1) * static_cast<long double>(y2) +
       (x1 - x2) * static_cast<long double>(y3)) /
      d;
  const long double b = (static_cast<long double>(x1) * x1 * (y2 - y3) +
                         static_cast<long double>(x2) * x2 * (y3 - y1) +
                         static_cast<long double>(x3) * x3 * (y1 - y2)) /
                        d;
  const long double c = y2 - a * x2 * x2 - b * x2;
  return Finite(a * x * x + b * x + c);
}

void SetUserRange(const UserTable& table, InputLimits& limits) {
  if (table.Count() < 1) return;
  const auto tenths = [](double v) {
    const double nudged = v < 0 ? v - kTolerance : v + kTolerance;
    return static_cast<std::int32_t>(RoundHalfEven(10 * nudged));
  };
  const std::int32_t first = tenths(table[1].x);
  const std::int32_t last = tenths(table[table.Count()].x);
  limits.SetUserTenths(std::min(first, last), std::max(first, last));
}

}  // namespace q5480
