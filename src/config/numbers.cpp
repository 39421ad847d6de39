#include "config/numbers.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdlib>

namespace q5480 {
namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

// True when `text` is [sign] digits [. digits] [e [sign] digits] with at
// least one mantissa digit: the only shapes a number may take.
bool IsPlainDecimal(std::string_view text) {
  std::size_t pos = 0;
  auto skipDigits = [&] {
    const std::size_t start = pos;
    while (pos < text.size() && IsDigit(text[pos])) ++pos;
    return pos - start;
  };
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) ++pos;
  std::size_t digits = skipDigits();
  if (pos < text.size() && text[pos] == '.') {
    ++pos;
    digits += skipDigits();
  }
  if (digits == 0) return false;
  if (pos < text.size() && (text[pos] == 'e' || text[pos] == 'E')) {
    ++pos;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) ++pos;
    if (skipDigits() == 0) return false;
  }
  return pos == text.size();
}

// `value` in scientific notation with `precision` significant digits: the
// mantissa as to_chars writes it ("-1.50") and the decimal exponent.
struct Scientific {
  std::string mantissa;
  int exponent = 0;
};

Scientific ToScientific(double value, int precision) {
  std::array<char, 64> buffer{};
  const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                    std::chars_format::scientific, precision - 1);
  const std::string_view text(buffer.data(), static_cast<std::size_t>(result.ptr - buffer.data()));
  const std::size_t e = text.find('e');
  Scientific scientific{std::string(text.substr(0, e)), 0};
  std::string_view exponent = text.substr(e + 1);
  if (!exponent.empty() && exponent.front() == '+') exponent.remove_prefix(1);
  std::from_chars(exponent.data(), exponent.data() + exponent.size(), scientific.exponent);
  return scientific;
}

// The significant digits of `value` without trailing zeros.
struct Decimal {
  bool negative = false;
  std::string digits;
  int exponent = 0;
};

Decimal ToDecimal(double value, int precision) {
  const Scientific scientific = ToScientific(value, precision);
  Decimal decimal;
  decimal.exponent = scientific.exponent;
  decimal.negative = scientific.mantissa.front() == '-';
  for (char c : scientific.mantissa) {
    if (IsDigit(c)) decimal.digits += c;
  }
  while (decimal.digits.size() > 1 && decimal.digits.back() == '0') decimal.digits.pop_back();
  return decimal;
}

std::string NonFiniteText(double value) {
  if (std::isnan(value)) return "NAN";
  return value < 0 ? "-INF" : "INF";
}

std::string ExponentText(int exponent, bool alwaysSign, int minDigits) {
  std::string digits = std::to_string(exponent < 0 ? -exponent : exponent);
  while (static_cast<int>(digits.size()) < minDigits) digits.insert(0, 1, '0');
  if (exponent < 0) return "-" + digits;
  return alwaysSign ? "+" + digits : digits;
}

}  // namespace

std::optional<double> ParseNumber(std::string_view text) {
  std::string normalised(Trim(text));
  std::size_t separator = normalised.find('.');
  if (separator == std::string::npos) separator = normalised.find(',');
  if (separator != std::string::npos) normalised[separator] = '.';
  if (!IsPlainDecimal(normalised)) return std::nullopt;

  std::string_view digits = normalised;
  if (digits.front() == '+') digits.remove_prefix(1);  // from_chars takes no plus
  double value = 0;
  const auto result = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  if (result.ec != std::errc() || result.ptr != digits.data() + digits.size()) {
    return std::nullopt;
  }
  if (!std::isfinite(value)) return std::nullopt;
  return value;
}

double RoundHalfEven(double value) {
  // Under the default rounding mode (to nearest) halves go to the even neighbour.
  return std::nearbyint(value);
}

std::optional<std::int64_t> RoundToInt64(double value) {
  const double rounded = RoundHalfEven(value);
  // 2^63 is exact as a double; every double below it fits.
  constexpr double kLimit = 9223372036854775808.0;
  if (!(rounded >= -kLimit && rounded < kLimit)) return std::nullopt;
  return static_cast<std::int64_t>(rounded);
}

std::string FormatFixed(double value, int width, int decimals) {
  std::string text;
  if (!std::isfinite(value)) {
    text = NonFiniteText(value);
  } else {
    std::array<char, 400> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                      std::chars_format::fixed, decimals < 0 ? 0 : decimals);
    text.assign(buffer.data(), result.ptr);
    // A value that rounds to zero is zero, never "-0.0".
    if (text.front() == '-' && text.find_first_not_of("-0.") == std::string::npos) text.erase(0, 1);
  }
  if (static_cast<int>(text.size()) < width) text.insert(0, width - text.size(), ' ');
  return text;
}

std::string FormatGeneral(double value, int precision, char decimalSeparator) {
  if (!std::isfinite(value)) return NonFiniteText(value);
  if (value == 0) return "0";
  if (precision < 1) precision = 1;
  const Decimal d = ToDecimal(value, precision);
  const int digitCount = static_cast<int>(d.digits.size());
  std::string text = d.negative ? "-" : "";

  if (d.exponent >= precision || std::fabs(value) < 1e-5) {
    text += d.digits.front();
    if (digitCount > 1) {
      text += decimalSeparator;
      text.append(d.digits, 1);
    }
    return text + "E" + ExponentText(d.exponent, false, 1);
  }
  if (d.exponent < 0) {
    text += '0';
    text += decimalSeparator;
    text.append(static_cast<std::size_t>(-d.exponent - 1), '0');
    return text + d.digits;
  }
  const int integerDigits = d.exponent + 1;
  if (digitCount <= integerDigits) {
    return text + d.digits + std::string(static_cast<std::size_t>(integerDigits - digitCount), '0');
  }
  text.append(d.digits, 0, static_cast<std::size_t>(integerDigits));
  text += decimalSeparator;
  return text.append(d.digits, static_cast<std::size_t>(integerDigits));
}

std::string FormatFloat(double value, const RegionalSettings& regional) {
  return FormatGeneral(value, 15, regional.decimalSeparator);
}

std::string FormatExponent(double value, int precision, char decimalSeparator,
                           int minExponentDigits) {
  if (!std::isfinite(value)) return NonFiniteText(value);
  if (precision < 1) precision = 1;
  Scientific scientific = ToScientific(value, precision);
  if (const std::size_t point = scientific.mantissa.find('.'); point != std::string::npos) {
    scientific.mantissa[point] = decimalSeparator;
  }
  return scientific.mantissa + "E" + ExponentText(scientific.exponent, true, minExponentDigits);
}

std::string FormatInt(std::int64_t value) { return std::to_string(value); }

}  // namespace q5480
