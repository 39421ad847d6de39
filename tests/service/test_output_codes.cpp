// The codes that force the output: 512 a mA above 4 mA in the standard
// format (negative as two's complement), 2000 a mA in the wide format, each
// rounded to the nearest code and refused outside its range.
#include <gtest/gtest.h>

#include "service/output_codes.h"

namespace q5480 {
namespace {

TEST(OutputCodes, RoundToTheNearestCodeInsideTheRange) {
  using enum OutputVerdict;
  const struct {
    double milliamperes;
    bool wide;
    OutputLimits limits;
    OutputVerdict verdict;
    int code;
  } cases[] = {
      {12, false, OutputLimits::Corrections, Accepted, 4096},
      {3.75, false, OutputLimits::Corrections, Accepted, 65408},
      {4.0015, false, OutputLimits::Corrections, Accepted, 1},  // 0.77 of a code
      {3.74, false, OutputLimits::Corrections, Below, 0},
      {21.76, false, OutputLimits::Corrections, Above, 0},
      {12.0003, true, OutputLimits::Corrections, Accepted, 24001},  // 24000.6 codes
      {12.0002, true, OutputLimits::Corrections, Accepted, 24000},
      {2.9, true, OutputLimits::Corrections, Below, 0},
      {2.0, true, OutputLimits::Preset, Accepted, 4000},
      {22.1000001, true, OutputLimits::Preset, Accepted, 44200},  // prints as the end
      {22.2, true, OutputLimits::Preset, Above, 0},
  };
  for (const auto& c : cases) {
    const OutputCode code = OutputCodeFor(c.milliamperes, c.wide, c.limits);
    EXPECT_EQ(code.verdict, c.verdict) << c.milliamperes << (c.wide ? " wide" : "");
    EXPECT_EQ(code.code, c.code) << c.milliamperes << (c.wide ? " wide" : "");
  }
}

}  // namespace
}  // namespace q5480
