// Table files (".dat"): a table that loads has at least two finite points
// in order and within range, and its look-up gives finite signals; a table
// that is refused says why with one of the known reasons. Each file is
// read for every input type a table serves.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "config/line_buffer.h"
#include "conversion/conversion_messages.h"
#include "conversion/table_file.h"
#include "conversion/user_table.h"
#include "fuzz_support.h"

namespace q5480::fuzz {
namespace {

// The input types a table can be loaded for.
constexpr std::uint8_t kTableTypes[] = {5, 15, 16, 17, 18, 19, 20};

bool KnownReason(const std::string& reason) {
  for (const char* known :
       {kReasonValuesRise, kReasonRiseOrFall, kReasonOutOfRange, kReasonNotEnoughPoints}) {
    if (reason == known) return true;
  }
  return reason.empty();
}

void CheckLoadedTable(const UserTable& table, int type, InputLimits& limits) {
  const int n = table.Count();
  Check(n >= 2 && n <= kMaxTablePoints, "a loaded table has " + std::to_string(n) + " points");
  const bool rising = type == kTypUserThermocouple || table[1].x < table[2].x;
  for (int i = 1; i <= n; ++i) {
    Check(std::isfinite(table[i].x) && std::isfinite(table[i].y), "a point is not finite");
    if (i == 1) continue;
    Check(rising ? table[i - 1].x < table[i].x : table[i - 1].x > table[i].x,
          "the first column is not in order at point " + std::to_string(i));
    Check(table[i - 1].y <= table[i].y, "the signals fall at point " + std::to_string(i));
  }
  for (int i = 1; i < n; ++i) {
    for (double x : {table[i].x, (table[i].x + table[i + 1].x) / 2}) {
      Check(std::isfinite(TableValue(x, table)), "the look-up gives a value that is not finite");
    }
  }
  SetUserRange(table, limits);
  Check(limits.LowerTenths(kTypUserThermocouple) <= limits.UpperTenths(kTypUserThermocouple),
        "the user limits are the wrong way round");
}

}  // namespace
}  // namespace q5480::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace q5480;
  using namespace q5480::fuzz;
  const auto path = WriteScratchFile("table.dat", data, size);
  LineBuffer lines;
  lines.Load(path);
  for (const std::uint8_t type : kTableTypes) {
    ConversionState state;
    state.TableType = type;
    InputLimits limits;
    const std::optional<Refusal> refusal = LoadTableFile(path, state, limits);
    if (!refusal) {
      CheckLoadedTable(state.Table, type, limits);
      continue;
    }
    Check(refusal->key != kCannotOpenFile, "a file that exists was not opened");
    Check(refusal->key == kCorruptedFile && refusal->exclamation,
          "an unknown message: " + refusal->key);
    Check(KnownReason(refusal->detail), "an unknown reason: " + refusal->detail);
    const double failing = state.Table[0].y;
    Check(lines.Lines().size() < 2 ||
              (failing >= 0 && failing < static_cast<double>(lines.Lines().size())),
          "the failing line lies outside the file: " + std::to_string(failing));
  }
  return 0;
}
