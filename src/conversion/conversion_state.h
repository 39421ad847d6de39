// The conversion's share of the program state: the user table, the kind of
// table it is, the confirmation flag of the conversion dialogs and the result
// of the last transfer table.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "config/module_config.h"

namespace q5480 {

inline constexpr int kMaxTablePoints = 3000;
inline constexpr int kTransferGridPoints = 201;

struct TablePoint {
  double x = 0;  // first column: the result (or temperature)
  double y = 0;  // second column: the signal

  friend bool operator==(const TablePoint&, const TablePoint&) = default;
};

// Point 0 is the header: x the number of points, y the index of the text line
// being parsed (so that a failure can point at it). Points 1 to n are data.
struct UserTable {
  std::vector<TablePoint> points = std::vector<TablePoint>(kMaxTablePoints + 1);

  int Count() const;
  const TablePoint& operator[](int i) const { return points[static_cast<std::size_t>(i)]; }
  TablePoint& operator[](int i) { return points[static_cast<std::size_t>(i)]; }

  friend bool operator==(const UserTable&, const UserTable&) = default;
};

struct ConversionState {
  UserTable Table;
  std::uint8_t TableType = 0;            // input type the table was loaded for
  std::uint8_t ConversionConfirmed = 0;  // set by the OK of a conversion dialog
  std::array<double, kTransferGridPoints> TransferFractions{};
  bool TransferOk = true;

  friend bool operator==(const ConversionState&, const ConversionState&) = default;
};

// What every conversion step works on: the record, the absolute limits (with
// the user limits of type 15) and the conversion state.
struct ConversionContext {
  ModuleConfig& config;
  InputLimits& limits;
  ConversionState& state;
};

}  // namespace q5480
