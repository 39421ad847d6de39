#include "service/machine_text.h"

#include <cmath>
#include <cstdio>

#include "config/numbers.h"

namespace q5480 {

std::string JsonString(std::string_view text) {
  std::string out = "\"";
  for (const char c : text) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          char escaped[8];
          std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
          out += escaped;
        } else {
          out += c;
        }
    }
  }
  return out + "\"";
}

std::string JsonNumber(double value, int decimals) {
  // JSON has no infinity or NaN.
  if (!std::isfinite(value)) return "null";
  std::string text = FormatFixed(value, 0, decimals);
  if (text.find('.') != std::string::npos) {
    while (text.back() == '0') text.pop_back();
    if (text.back() == '.') text.pop_back();
  }
  if (text == "-0") text = "0";
  return text;
}

namespace {

template <typename Members>
std::string ObjectOf(const Members& members) {
  std::string out = "{";
  bool first = true;
  for (const auto& [key, value] : members) {
    if (!first) out += ",";
    first = false;
    out += JsonString(key) + ":" + value;
  }
  return out + "}";
}

}  // namespace

std::string JsonObject(std::initializer_list<std::pair<std::string_view, std::string>> members) {
  return ObjectOf(members);
}

std::string JsonObject(const std::vector<std::pair<std::string, std::string>>& members) {
  return ObjectOf(members);
}

std::string CsvField(std::string_view text) {
  if (text.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(text);
  std::string out = "\"";
  for (const char c : text) {
    if (c == '"') out += '"';
    out += c;
  }
  return out + "\"";
}

std::string CsvLine(const std::vector<std::string>& fields) {
  std::string line;
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (i > 0) line += ",";
    line += CsvField(fields[i]);
  }
  return line;
}

bool SplitCsvLine(std::string_view line, std::vector<std::string>& fields) {
  fields.clear();
  std::string field;
  bool quoted = false;
  for (std::size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (quoted) {
      if (c != '"') {
        field += c;
      } else if (i + 1 < line.size() && line[i + 1] == '"') {
        field += '"';
        ++i;
      } else {
        quoted = false;
      }
    } else if (c == '"') {
      quoted = true;
    } else if (c == ',') {
      fields.push_back(field);
      field.clear();
    } else {
      field += c;
    }
  }
  fields.push_back(field);
  return !quoted;
}

}  // namespace q5480
