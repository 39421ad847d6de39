// The one place where numbers are read from and written to text.
//
// Number entry rule: the first "." or, when there is none, the first ","
// is the decimal separator. Format families:
//  - fixed-point with a minimum width and "." (displays, report);
//  - general with the regional decimal separator (files, edits);
//  - 15-significant-digit general with a capital "E" exponent, no plus sign
//    and no leading exponent zeros (parameters file).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace q5480 {

// Regional settings of the computer: filled from the system locale at start
// by the program, set explicitly by tests. Never taken from the C locale.
struct RegionalSettings {
  char decimalSeparator = '.';
  std::string longTimeFormat = "hh:mm:ss";
};

// Reads a number typed by the user or read from a text file. Leading and
// trailing blanks are allowed; an optional sign, digits, one decimal
// separator by the entry rule and an optional exponent ("e" or "E").
// Infinity, NaN, hexadecimal, a magnitude beyond the double range and any
// other text give nothing.
std::optional<double> ParseNumber(std::string_view text);

// Rounds to the nearest integer, halves to the even neighbour (2.5 -> 2).
double RoundHalfEven(double value);

// RoundHalfEven as an integer; nothing when the result does not fit.
std::optional<std::int64_t> RoundToInt64(double value);

// Fixed-point text with `decimals` decimals and "." as the separator,
// right-aligned (padded with blanks on the left) to at least `width`
// characters. FormatFixed(1370, 7, 1) is " 1370.0".
std::string FormatFixed(double value, int width, int decimals);

// General format with at most `precision` significant digits, no trailing
// zeros, and `decimalSeparator`. Exponent notation (capital "E", a minus sign
// only for negative exponents, no leading exponent zeros) is used when the
// decimal exponent is at least `precision` or the magnitude is below 1e-5.
// FormatGeneral(0.5, 15, ',') is "0,5"; FormatGeneral(1e-10, 15, '.') is "1E-10".
std::string FormatGeneral(double value, int precision, char decimalSeparator);

// FormatGeneral with 15 significant digits: the format of real values in the
// program's text files.
std::string FormatFloat(double value, const RegionalSettings& regional);

// Exponent format with `precision` significant digits: mantissa with
// `decimalSeparator`, capital "E", sign of the exponent always shown, at least
// `minExponentDigits` exponent digits. FormatExponent(0.0005, 6, '.', 1) is
// "5.00000E-4".
std::string FormatExponent(double value, int precision, char decimalSeparator,
                           int minExponentDigits);

// Plain decimal integer ("%d").
std::string FormatInt(std::int64_t value);

}  // namespace q5480
