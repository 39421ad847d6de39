// File › Print and Print setup of the main window, and the accuracy line of
// the printed report.
#include "workflow_fixture.h"

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
  EXPECT_EQ(AccuracyLine(failed, config, english), "Table accuracy: Transfer function is not monotonic");
  failed.refusal = Refusal{.key = "No data available", .exclamation = true};
  EXPECT_EQ(AccuracyLine(failed, config, english), "Table accuracy: No data available");

  LanguageTable polish;
  polish.SetLines({"Table accuracy=Dokładność tablicy", "at=przy"});
  EXPECT_EQ(AccuracyLine(measured, config, polish),
            "Dokładność tablicy: largest error -0.112 \u00B0C przy -143.9 \u00B0C, RMS 0.012 \u00B0C");
}

class PrintTest : public OfflineTest {
 protected:
  PrintTest() : window_(context_) { context_.state.TimerEnabled = true; }

  // Print with the dialog answered `confirm`; the report it printed, if any.
  std::optional<PrintedReport> Print(bool confirm, bool printerWorks = true) {
    std::optional<PrintedReport> printed;
    window_.Drukuj1Click(
        [&] {
          timerDuringDialog_ = context_.state.TimerEnabled;
          dialogShown_ = true;
          return confirm;
        },
        [&](const PrintedReport& report) {
          printed = report;
          return printerWorks;
        });
    return printed;
  }

  TQ5480FLogic window_;
  bool dialogShown_ = false;
  bool timerDuringDialog_ = true;
};

TEST_F(PrintTest, NeedsAConfigurationAndPrintsOnlyWhenTheDialogIsConfirmed) {
  EXPECT_TRUE(window_.CommandEnabled("Drukuj1"));
  EXPECT_TRUE(window_.CommandEnabled("DrukujT"));
  EXPECT_TRUE(window_.CommandEnabled("PrintSetup1"));
  EXPECT_FALSE(Print(true));
  EXPECT_FALSE(dialogShown_);
  EXPECT_EQ(ui_.MessageTexts(), std::vector<std::string>{"No parameters!"});

  test_support::SetPt100Configuration(context_.config);
  window_.Panel().pokaz(kColourWhite);
  ui_.Forget();
  EXPECT_FALSE(Print(false));
  EXPECT_TRUE(dialogShown_);
  EXPECT_FALSE(timerDuringDialog_);
  EXPECT_TRUE(context_.state.TimerEnabled);

  context_.settings.Language = "Polski";
  const std::optional<PrintedReport> report = Print(true);
  ASSERT_TRUE(report);
  ASSERT_EQ(report->lines.size(), 28u);
  EXPECT_EQ(report->lines[27], "Printed: " + FormatDate(Today()));
  EXPECT_EQ(report->accuracy.rfind("Table accuracy: largest error ", 0), 0u) << report->accuracy;
  const std::vector<std::string> read = report->ReadingOrder();
  ASSERT_EQ(read.size(), 29u);
  EXPECT_EQ(read[13], "Input range: -50.00 to 250.00 \u00B0C");
  EXPECT_EQ(read[27], report->lines[27]);
  EXPECT_EQ(read[28], report->accuracy) << "the accuracy comes last, after the date";
  EXPECT_EQ(report->jobTitle, "Q5480-Printing");
  EXPECT_TRUE(report->centralEuropean);
  EXPECT_TRUE(ui_.Messages().empty());

  EXPECT_TRUE(Print(true, false));
  EXPECT_EQ(ui_.MessageTexts(), std::vector<std::string>{"Printing failed!"});
}

TEST_F(PrintTest, PrintSetupStopsTheTimerWhileItsDialogIsUp) {
  bool timerDuringDialog = true;
  window_.PrintSetup1Click([&] { timerDuringDialog = context_.state.TimerEnabled; });
  EXPECT_FALSE(timerDuringDialog);
  EXPECT_TRUE(context_.state.TimerEnabled);
}

}  // namespace
}  // namespace q5480
