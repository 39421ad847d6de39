// A configuration whose conversion meets a floating-point error: every
// command of the windows that reaches the conversion tells of it, lets
// nothing escape to the window system and leaves the configuration, the
// limits, the conversion state, the image and the panel as they were.
#include "conversion/range_rules.h"
#include "support/scripted_dialog_host.h"
#include "workflow/loop_current_window.h"
#include "workflow/simulation_window.h"
#include "workflow_fixture.h"

namespace q5480 {
namespace {

constexpr const char* kFloatingPointError = "Floating point error in the conversion";

class ConversionErrors : public WorkflowTest {
 protected:
  ConversionErrors() : WorkflowTest(ModuleWith(kNewId, 5491)) {}

  // The 4 to 20 mA input shown as 0 to 100 through a slope that no double
  // carries to the end of the range, on the Q5491 that is connected.
  void ShowOverflowingConfiguration() {
    ModuleConfig& c = context_.config;
    c.Device = "Q5491";
    c.Typ = 19;
    c.Tryb = 5;
    c.Lin = kLinLinear;
    c.Coefficients = {4, 1e308, 0, 0, 0, 0, 0, 0, 0, 0, 100};
    c.MinInput = 0;
    c.MaxInput = 100;
    c.Jednostki = 9;
    c.FiltrZakres = 12;
    c.FiltrCzas = 32;
    c.data = "01.01.2020";
    SetUserLimitsFromResults(0, 100, context_.limits);
    OpenPort();
    TickUntilConnected();
    window_->Panel().ShowConfiguration(kColourWhite);
  }
};

TEST_F(ConversionErrors, EveryCommandThatReachesTheConversionTellsOfItAndChangesNothing) {
  ShowOverflowingConfiguration();
  ScriptedDialogHost host;
  host.loopCurrent = [&] { return LoopCurrentWindowLogic(context_, host).Ok(); };
  bool simulationOpened = false;
  bool printed = false;

  struct Command {
    const char* name;
    std::function<void()> run;
    std::string message;
    MessageIcon icon = MessageIcon::Error;
  };
  const Command commands[] = {
      {"Optimal", [&] { window_->Panel().FiltrDobierzClick(); }, kFloatingPointError},
      // The range checks take a range the characteristic cannot reach for
      // one too small.
      {"Minimum", [&] { window_->Panel().MinInputEExit("10"); }, "Input range too small!",
       MessageIcon::Warning},
      {"Maximum", [&] { window_->Panel().MaxInputEExit("90"); }, "Input range too small!",
       MessageIcon::Warning},
      {"Sensor window's OK", [&] { window_->SenSelClick(host); }, kFloatingPointError},
      {"Write", [&] { window_->ZapiszTClick(); }, kFloatingPointError},
      {"Simulation",
       [&] { window_->Symulacja1Click([&](SimulationWindowLogic&) { simulationOpened = true; }); },
       kFloatingPointError},
      {"Print",
       [&] {
         window_->Drukuj1Click([] { return true; },
                               [&](const PrintedReport&) { return printed = true; });
       },
       kFloatingPointError},
  };

  const ModuleConfig config = context_.config;
  const InputLimits limits = context_.limits;
  const ConversionState conversion = context_.conversion;
  const ModuleImage image = context_.image;
  const PanelView view = window_->Panel().View();
  for (const Command& command : commands) {
    SCOPED_TRACE(command.name);
    ui_.Forget();
    context_.state.InvalidEntry = false;
    EXPECT_NO_THROW(command.run());
    EXPECT_EQ(ui_.MessageTexts(), std::vector<std::string>{command.message});
    if (!ui_.Messages().empty()) { EXPECT_EQ(ui_.Messages()[0].icon, command.icon); }
    EXPECT_TRUE(context_.config == config);
    EXPECT_TRUE(context_.limits == limits);
    EXPECT_TRUE(context_.conversion == conversion);
    EXPECT_EQ(context_.image.bytes, image.bytes);
    const PanelView& shown = window_->Panel().View();
    EXPECT_EQ(shown.DataE, view.DataE);
    EXPECT_EQ(shown.MinInputE, view.MinInputE);
    EXPECT_EQ(shown.MaxInputE, view.MaxInputE);
    EXPECT_EQ(shown.FiltrZakresE, view.FiltrZakresE);
    EXPECT_EQ(shown.FiltrCzasE, view.FiltrCzasE);
    EXPECT_TRUE(shown.Colours == view.Colours);
  }
  EXPECT_EQ(host.opened["TWyborI"], 1);
  EXPECT_FALSE(simulationOpened);
  EXPECT_FALSE(printed);
  EXPECT_EQ(Requests('D'), 0) << "nothing was written";
}

}  // namespace
}  // namespace q5480
