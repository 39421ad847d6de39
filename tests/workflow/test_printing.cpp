// File › Print and Print setup of the main window.
#include "service/configuration_fingerprint.h"
#include "workflow_fixture.h"

namespace q5480 {
namespace {

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

  MainWindowLogic window_;
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
  window_.Panel().ShowConfiguration(kColourWhite);
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
  const std::optional<std::string> fingerprint =
      FingerprintOfConfiguration(context_.config, context_.limits, context_.conversion);
  ASSERT_TRUE(fingerprint);
  const std::vector<std::string> read = report->ReadingOrder();
  ASSERT_EQ(read.size(), 30u);
  EXPECT_EQ(read[13], "Input range: -50.00 to 250.00 \u00B0C");
  EXPECT_EQ(read[27], report->lines[27]);
  EXPECT_EQ(read[28], report->accuracy) << "the accuracy comes after the date";
  EXPECT_EQ(read[29], "Fingerprint: " + *fingerprint);
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
