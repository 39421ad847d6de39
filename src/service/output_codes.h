// The codes of the "o" request that forces the module's output current, in
// either current format, with the limits that the corrections window and
// the diagnostics window's preset accept.
#pragma once

#include <cstdint>

namespace q5480 {

// Whose limits apply: the corrections window (and q5480ctl output) or the
// diagnostics window's preset, which reaches further in the wide format.
enum class OutputLimits { Corrections, Preset };

// The currents accepted, in mA: the ends that a refused value is replaced by.
struct OutputRange {
  double low;
  double high;
};
OutputRange OutputRangeOf(bool wideFormat, OutputLimits limits);

enum class OutputVerdict { Accepted, Below, Above };

struct OutputCode {
  OutputVerdict verdict = OutputVerdict::Accepted;
  // Wide format: 2000 codes per mA. Standard format: 512 codes per mA above
  // 4 mA, signed, sent as its two's complement.
  std::uint16_t code = 0;
};

OutputCode OutputCodeFor(double milliamperes, bool wideFormat, OutputLimits limits);

}  // namespace q5480
