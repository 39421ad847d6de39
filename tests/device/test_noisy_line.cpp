// Writes, reads and verifies over a line that spoils and loses bytes: the
// program may fail a transfer, but never calls one a success that is not
// (see bench_noisy_line for the full run).
#include <gtest/gtest.h>

#include "noisy_line.h"
#include "support/scratch_directory.h"

namespace q5480::noisy {
namespace {

constexpr int kTransfers = 8;
// Noisier than the benchmark's line, so that few transfers meet many faults.
constexpr NoiseLevel kNoise{0.003, 0.001};

class NoisyLineTest : public ::testing::TestWithParam<const char*> {};

TEST_P(NoisyLineTest, NeverGivesAFalseSuccess) {
  test_support::ScratchDirectory scratch;
  NoisyLine line(GetParam(), scratch.Path());
  ASSERT_TRUE(line.Ready());
  for (TransferKind kind : {TransferKind::Write, TransferKind::Read, TransferKind::Verify}) {
    const Counts counts = line.Run(kind, kTransfers, kNoise, 7);
    EXPECT_EQ(counts.transfers, kTransfers) << KindName(kind);
    EXPECT_EQ(counts.falseSuccesses, 0) << KindName(kind);
    EXPECT_GT(counts.successes, 0)
        << KindName(kind) << ": the line is too noisy for anything to pass";
  }
}

INSTANTIATE_TEST_SUITE_P(Layouts, NoisyLineTest, ::testing::Values("1.45", "2104"),
                         [](const auto& info) { return info.index == 0 ? "Old" : "New"; });

}  // namespace
}  // namespace q5480::noisy
