// The printed report's accuracy line.
#include <gtest/gtest.h>

#include "service/printed_report.h"

namespace q5480 {
namespace {

TEST(AccuracyLine, TellsTheFiguresOrWhyThereAreNone) {
  ModuleConfig config;
  config.MinInput = -150;
  config.MaxInput = 1370;
  config.Jednostki = 8;
  const LanguageTable english;
  AccuracyOutcome measured;
  measured.accuracy = TableAccuracy{-0.11234, -143.92, 0.01213};
  EXPECT_EQ(AccuracyLine(measured, config, english),
            "Table accuracy: largest error -0.112 \u00B0C at -143.9 \u00B0C, RMS 0.012 \u00B0C");
  AccuracyOutcome small;
  small.accuracy = TableAccuracy{0.0014937, 785.88, 0.00074};
  EXPECT_EQ(AccuracyLine(small, config, english),
            "Table accuracy: largest error 0.00149 \u00B0C at 785.9 \u00B0C, RMS 0.00074 \u00B0C");
  AccuracyOutcome failed;
  failed.refusal = Refusal{.key = "Transfer function is not monotonic", .exclamation = true};
  EXPECT_EQ(AccuracyLine(failed, config, english),
            "Table accuracy: Transfer function is not monotonic");
  failed.refusal = Refusal{.key = "No data available", .exclamation = true};
  EXPECT_EQ(AccuracyLine(failed, config, english), "Table accuracy: No data available");

  LanguageTable polish;
  polish.SetLines({"Table accuracy=Dokładność tablicy", "at=przy"});
  EXPECT_EQ(
      AccuracyLine(measured, config, polish),
      "Dokładność tablicy: largest error -0.112 \u00B0C przy -143.9 \u00B0C, RMS 0.012 \u00B0C");
}

}  // namespace
}  // namespace q5480
