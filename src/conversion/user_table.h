// The user table: the points of a user characteristic read from a ".dat"
// file, their checks, the look-up and the limits they set.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "config/module_config.h"
#include "conversion/conversion_messages.h"
#include "conversion/conversion_state.h"
#include "conversion/refusal.h"

namespace q5480 {

// Fills `state.Table` from the lines of a table file, checked for
// `state.TableType`. A refusal is "Corrupted or wrong data file" + "!" with
// one of the reasons above as its detail, or none (an unreadable line); the
// header y then holds the index of the failing line and the header count the
// last accepted point.
std::optional<Refusal> ParseTable(const std::vector<std::string>& lines, ConversionState& state,
                                  const InputLimits& limits);

// The signal for a first-column value: no extrapolation, a parabola through
// three neighbours on tables of 11 or more points where the neighbouring
// slopes differ by less than a factor 3, else linear. A table of fewer than
// two points gives `x`.
double TableValue(double x, const UserTable& table);

// The value at x of the parabola through three points; 0 outside the span of
// x1 to x3 (widened by a millionth of the largest magnitude).
double ParabolaThrough(double x1, double x2, double x3, double y1, double y2, double y3, double x);

// Sets the limits of type 15 (tenths) from the first and last first-column
// values of the table.
void SetUserRange(const UserTable& table, InputLimits& limits);

}  // namespace q5480
