// Text for other programs (JSON, CSV): UTF-8, numbers always with a point,
// whatever the regional settings.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace q5480 {

// A JSON string literal: quotes, backslash and control characters escaped.
std::string JsonString(std::string_view text);

// A JSON number with a point; up to `decimals` decimals, trailing zeros cut.
std::string JsonNumber(double value, int decimals = 6);

// One JSON object on one line from members whose values are already JSON
// (JsonString, JsonNumber, "true", ...), in the order given.
std::string JsonObject(std::initializer_list<std::pair<std::string_view, std::string>> members);
std::string JsonObject(const std::vector<std::pair<std::string, std::string>>& members);

// A CSV field, quoted when it holds a comma, a quote or a line break.
std::string CsvField(std::string_view text);
// The fields joined by commas, each as CsvField makes it.
std::string CsvLine(const std::vector<std::string>& fields);

// The fields of one CSV line (quoted fields may hold commas and doubled
// quotes); nothing when a quote is left open.
bool SplitCsvLine(std::string_view line, std::vector<std::string>& fields);

}  // namespace q5480
