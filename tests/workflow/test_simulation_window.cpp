// The simulation window's logic: opening, the display steps, the delayed
// entries, the scroll bars and the plot.
#include "workflow/simulation_window.h"
#include "workflow_fixture.h"

namespace q5480 {
namespace {

SimulationClock::time_point At(int ms) {
  return SimulationClock::time_point{} + std::chrono::milliseconds(ms);
}

class SimulationTest : public OfflineTest {
 protected:
  // A configuration shown in the panel, then the window opened and shown.
  void Open(int typ, std::uint8_t lin, double low, double high) {
    ModuleConfig& c = context_.config;
    c.Device = "Q5491";
    c.Typ = static_cast<std::uint8_t>(typ);
    c.Tryb = 7;
    c.Lin = lin;
    c.MinInput = low;
    c.MaxInput = high;
    c.Jednostki = 2;
    panel_.ShowConfiguration(kColourWhite);
    window_ = SimulationWindowLogic::Open(context_, panel_);
    ASSERT_TRUE(window_);
    window_->FormShow();
  }
  // 0 to 100 mV shown as 0 to 100 mV: a linear characteristic.
  void OpenLinear() { Open(16, kLinNone, 0, 100); }
  const SimulationView& View() const { return window_->View(); }

  std::unique_ptr<SimulationWindowLogic> window_;
};

TEST_F(SimulationTest, StartsAtZeroPercentOfTheCharacteristic) {
  OpenLinear();
  EXPECT_EQ(View().ResultJT, "mV");
  EXPECT_EQ(View().InputE, "0.00");
  EXPECT_EQ(View().Input1T, "(0.00 mV)");
  EXPECT_EQ(View().OutputE, "4.00");
  EXPECT_EQ(std::pair(View().InputS, View().OutputS), std::pair(kInputScrollMax, kOutputScrollMax));
  EXPECT_EQ(View().accuracy.rfind("Table accuracy: largest error ", 0), 0u) << View().accuracy;
  const SimulationPlot& plot = window_->Plot();
  ASSERT_EQ(plot.points.size(), 201u);
  EXPECT_EQ(plot.points[100].x, 50);
  EXPECT_NEAR(plot.points[100].y, 50, 1e-9);
  EXPECT_TRUE(plot.hairsOn);
}

TEST_F(SimulationTest, TypedInputIsTakenThreeSecondsAfterTheLastKeystroke) {
  OpenLinear();
  window_->InputEChange("5", At(0));
  window_->InputEChange("50", At(2000));  // restarts the timer
  window_->Tick(At(4999));
  EXPECT_EQ(View().OutputE, "4.00");
  ASSERT_EQ(window_->NextDeadline(), At(5000));
  window_->Tick(At(5000));
  EXPECT_EQ(View().OutputE, "12.00");
  EXPECT_EQ(View().InputE, "50.00");
  EXPECT_EQ(View().Input1T, "(50.00 mV)");
  EXPECT_EQ(View().InputS, kInputScrollMax / 2);
  EXPECT_EQ(View().OutputS, kOutputScrollMax / 2);
  EXPECT_EQ(window_->Plot().hairs.x, 50);
  EXPECT_FALSE(window_->NextDeadline());
  // Enter takes an entry at once, and its timer with it.
  window_->OutputEChange("8", At(6000));
  window_->OutputEEnter();
  EXPECT_EQ(View().InputE, "25.00");
  EXPECT_FALSE(window_->NextDeadline());
}

TEST_F(SimulationTest, RefusedEntriesKeepTheLastValue) {
  OpenLinear();
  window_->OutputEChange("12", At(0));
  window_->OutputEEnter();
  struct Case {
    bool output;
    const char* text;
    const char* message;
    MessageIcon icon;
    bool beep;
  };
  for (const Case& c : {Case{true, "21", "Out of range!", MessageIcon::Error, false},
                        Case{false, "150", "Out of range!", MessageIcon::Error, false},
                        Case{true, "1O", "Wrong format!", MessageIcon::Warning, true},
                        Case{false, "", "Wrong format!", MessageIcon::Warning, true}}) {
    ui_.Forget();
    if (c.output) {
      window_->OutputEChange(c.text, At(0));
      window_->OutputEEnter();
    } else {
      window_->InputEChange(c.text, At(0));
      window_->InputEEnter();
    }
    ASSERT_EQ(ui_.Messages().size(), 1u) << c.text;
    EXPECT_EQ(ui_.Messages()[0].text, c.message) << c.text;
    EXPECT_EQ(ui_.Messages()[0].icon, c.icon) << c.text;
    EXPECT_EQ(ui_.Beeps().size(), c.beep ? 1u : 0u) << c.text;
    EXPECT_EQ(View().OutputE, "12.00") << c.text;
    EXPECT_EQ(View().InputE, "50.00") << c.text;
  }
}

TEST_F(SimulationTest, ScrollBarsSetTheValuesAndMoveOnlyOnARealChange) {
  OpenLinear();
  window_->OutputSChange(0);  // the top
  EXPECT_EQ(View().OutputE, "20.00");
  EXPECT_EQ(View().InputE, "100.00");
  EXPECT_EQ(View().Input1T, "(100.00 mV)");
  EXPECT_EQ(View().InputS, 0);
  window_->InputSChange(113);
  EXPECT_EQ(View().InputE, "43.50");
  // 43.75 % would put the bar at 112.5: half a step is no reason to move it.
  window_->InputEChange("43.75", At(0));
  window_->InputEEnter();
  EXPECT_EQ(View().InputS, 113);
  window_->InputEChange("49", At(0));
  window_->InputEEnter();
  EXPECT_EQ(View().InputS, 102);
}

TEST_F(SimulationTest, ChangesThatPaintingCausesAreIgnored) {
  OpenLinear();
  int repaints = 0;
  window_->Repaint = [&] {
    ++repaints;
    EXPECT_TRUE(window_->Updating());
    // What the window's controls report while they are being set.
    window_->InputSChange(View().InputS + 7);
    window_->OutputSChange(3);
    window_->InputEChange("77", At(0));
  };
  window_->InputEChange("50", At(0));
  window_->InputEEnter();
  EXPECT_EQ(repaints, 1);
  EXPECT_EQ(View().InputE, "50.00");
  EXPECT_EQ(View().OutputE, "12.00");
  EXPECT_FALSE(window_->NextDeadline());
  EXPECT_FALSE(window_->Updating());
}

TEST_F(SimulationTest, AfterAnotherApplicationWasActiveTheBarSnapsBackOnce) {
  OpenLinear();
  context_.state.AppDeactivated = true;
  window_->OutputSChange(40);
  EXPECT_EQ(View().OutputS, kOutputScrollMax);
  EXPECT_EQ(View().OutputE, "4.00");
  EXPECT_FALSE(context_.state.AppDeactivated);
  window_->OutputSChange(40);
  EXPECT_EQ(View().OutputE, "16.00");
}

TEST_F(SimulationTest, SymmetricRangeIsPlottedBipolarAndAClickSwitchesTheDots) {
  Open(17, kLinNone, -22, 22);
  const SimulationPlot& plot = window_->Plot();
  EXPECT_TRUE(plot.bipolar);
  EXPECT_EQ(plot.points.front().x, -100);
  EXPECT_EQ(plot.points.back().x, 100);
  window_->InputEChange("50", At(0));
  window_->InputEEnter();
  EXPECT_NEAR(plot.hairs.x, 0, 1e-12);
  EXPECT_NEAR(plot.hairs.y, 50, 1e-9);
  EXPECT_EQ(View().Input1T, "(0.00 mA)");
  const int revision = plot.traceRevision;
  window_->WykresXY1Click();
  EXPECT_TRUE(plot.bigDots);
  EXPECT_EQ(plot.traceRevision, revision + 1);
  EXPECT_TRUE(plot.hairsOn);
}

TEST_F(SimulationTest, OpensOnlyWithParametersAndDespiteATableThatCannotBeInverted) {
  EXPECT_FALSE(SimulationWindowLogic::Open(context_, panel_));
  EXPECT_EQ(ui_.MessageTexts(), std::vector<std::string>{"Information incomplete!"});
  EXPECT_EQ(ui_.Messages()[0].icon, MessageIcon::Warning);
  ui_.Forget();
  // Type B held at 1820 degC: a flat characteristic and an empty signal range.
  Open(6, kLinTable, 1900, 2000);
  EXPECT_EQ(ui_.MessageTexts(), std::vector<std::string>{"Transfer function is not monotonic!"});
  EXPECT_EQ(View().accuracy, "Table accuracy: Transfer function is not monotonic");
  window_->InputEChange("30", At(0));
  window_->InputEEnter();
  window_->OutputSChange(0);
  for (const std::string& text : {View().InputE, View().Input1T, View().ResultP, View().OutputE}) {
    EXPECT_EQ(text.find_first_of("NI"), std::string::npos) << text;  // no NAN, no INF
  }
}

}  // namespace
}  // namespace q5480
