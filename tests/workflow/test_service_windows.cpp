// The corrections and diagnostics windows' logic and the corrections
// command, over the module service: without a module (silence, closing),
// and against the emulated module (storing, forcing, the preview's
// requests, service mode, the password and the suspended polling).
#include "config/module_image.h"
#include "workflow/corrections_window.h"
#include "workflow/diagnostics_window.h"
#include "workflow/service_command.h"
#include "workflow_fixture.h"

namespace q5480 {
namespace {

constexpr auto kNoWait = [](std::chrono::milliseconds) {};
constexpr const char* kLost = "???        ";

using ServiceWithoutModule = OfflineTest;

TEST_F(ServiceWithoutModule, LostReadingsBlankThePanelsThenShowQuestionMarksOnce) {
  context_.state.ConfigRead = true;
  ServiceSession session(context_.service);
  CorrectionsWindowLogic window(context_, session);
  window.Sleep = kNoWait;
  window.Timer1Timer();
  EXPECT_TRUE(context_.state.ConfigRead) << "one missed reading is not yet silence";
  window.Timer1Timer();
  EXPECT_FALSE(context_.state.ConfigRead);
  EXPECT_FALSE(window.View().SimulEnabled);
  EXPECT_FALSE(window.View().PomiarTEnabled);
  // Blank for twelve ticks of 500 ms, then a beep and "???" once.
  for (int tick = 3; tick <= 12; ++tick) {
    window.Timer1Timer();
    ASSERT_TRUE(window.View().PomiarP.text.empty()) << tick;
    ASSERT_TRUE(window.TimerOn());
  }
  EXPECT_TRUE(ui_.Beeps().empty());
  window.Timer1Timer();
  EXPECT_EQ(window.View().PomiarP.text, kLost);
  EXPECT_EQ(window.View().Outputp.text, kLost);
  for (int tick = 0; tick < 5; ++tick) window.Timer1Timer();
  EXPECT_EQ(window.View().PomiarP.text, kLost);
  EXPECT_EQ(ui_.Beeps(), std::vector<BeepKind>{BeepKind::Question});
}

TEST_F(ServiceWithoutModule, ClosingWithoutWriteLeavesTheRecordsCorrections) {
  context_.config.ZeroReg = 0.5;
  context_.config.GainReg = -kCorrectionLimit;
  ServiceSession session(context_.service);
  CorrectionsWindowLogic window(context_, session);
  EXPECT_EQ(window.View().ZeroS, 250);
  EXPECT_EQ(window.View().ZeroP, "+0.50 ");
  EXPECT_EQ(window.View().GainS, 0);
  EXPECT_EQ(window.View().GainP, "-2.00 ");
  EXPECT_EQ(window.View().PomiarT, " Result ");
  EXPECT_TRUE(window.TimerOn());

  window.ZeroSChange(400);
  EXPECT_DOUBLE_EQ(context_.config.ZeroReg, kCorrectionLimit) << "moving previews at once";
  window.AllZeroBClick();
  EXPECT_EQ(context_.config.GainReg, 0);
  window.Close();
  EXPECT_EQ(context_.config.ZeroReg, 0.5);
  EXPECT_EQ(context_.config.GainReg, -kCorrectionLimit);
  EXPECT_FALSE(window.TimerOn());
}

TEST_F(ServiceWithoutModule, DiagnosticsShowQuestionMarksAfterSixSecondsOfSilence) {
  ServiceSession session(context_.service);
  DiagnosticsWindowLogic window(context_, session);
  window.Sleep = kNoWait;
  // Twenty ticks of 300 ms blank, then a beep and "???" in every panel.
  for (int tick = 1; tick <= 20; ++tick) {
    window.Timer1Timer();
    ASSERT_TRUE(window.View().panels[kMeasRegister].empty()) << tick;
  }
  EXPECT_TRUE(ui_.Beeps().empty());
  window.Timer1Timer();
  window.Timer1Timer();
  for (const std::string& panel : window.View().panels) EXPECT_EQ(panel, kLost);
  EXPECT_EQ(window.View().Outputp, kLost);
  EXPECT_EQ(ui_.Beeps(), std::vector<BeepKind>{BeepKind::Question});
  EXPECT_TRUE(ui_.Messages().empty()) << "failed commands are not reported";
}

class ServiceWindowTest : public WorkflowTest {
 protected:
  // The module connected and its configuration read, so that its memory
  // layout is known; a steady 50 at its terminals.
  void ConnectAndRead() {
    OpenPort();
    TickUntilConnected();
    ASSERT_TRUE(window_->OdczytajTClick());
    module_.SetSignal(SignalShape{SignalKind::Constant, 50, 0, 10});
    ui_.Forget();
    line_.interposer.ClearRequests();
  }

  std::vector<Bytes> RequestsOf(std::uint8_t code) const {
    std::vector<Bytes> found;
    for (const Bytes& request : line_.interposer.Requests()) {
      if (request[0] == code) found.push_back(request);
    }
    return found;
  }
};

TEST_F(ServiceWindowTest, WriteStoresInTheModuleAndClosingKeepsWhatItHolds) {
  ConnectAndRead();
  ServiceSession session(context_.service);
  EXPECT_FALSE(context_.link.LinkStarted()) << "the window polls by itself";
  CorrectionsWindowLogic window(context_, session);
  window.ZeroSChange(250);
  window.GainSChange(175);
  window.ZapiszBClick();
  ASSERT_TRUE(ui_.Messages().empty()) << ui_.MessageTexts().front();
  EXPECT_TRUE(window.Written());
  EXPECT_FLOAT_EQ(HeldFloat(module_, 96), 0.5f);
  EXPECT_FLOAT_EQ(HeldFloat(module_, 100), -0.25f);

  // Moved again but not written: the module still holds the written values.
  window.ZeroSChange(300);
  window.Close();
  EXPECT_DOUBLE_EQ(context_.config.ZeroReg, 0.5);
  EXPECT_DOUBLE_EQ(context_.config.GainReg, -0.25);
  EXPECT_FLOAT_EQ(static_cast<float>(context_.image.LoadFloat(image_offset::kZeroReg)), 0.5f);
}

TEST_F(ServiceWindowTest, AStoreTheModuleRefusesIsReportedAndChangesNothing) {
  ConnectAndRead();
  const ModuleImage before = context_.image;
  ServiceSession session(context_.service);
  CorrectionsWindowLogic window(context_, session);
  line_.interposer.Override('V', std::nullopt);
  window.ZeroSChange(250);
  window.ZapiszBClick();
  ASSERT_EQ(ui_.MessageTexts(), std::vector<std::string>{"Command failed!"});
  EXPECT_EQ(ui_.Messages()[0].icon, MessageIcon::Error);
  EXPECT_FALSE(window.Written());
  EXPECT_EQ(window.ZeroSaved(), 0);
  EXPECT_EQ(context_.image.bytes, before.bytes) << "the image keeps what the module holds";
  window.Close();
  EXPECT_EQ(context_.config.ZeroReg, 0);
}

TEST_F(ServiceWindowTest, OutputIsForcedWithItsCodeAndARefusedEntrySendsNothing) {
  ConnectAndRead();
  ServiceSession session(context_.service);
  CorrectionsWindowLogic window(context_, session);
  window.Timer1Timer();  // the module's current format
  window.SetOutbuttClick("x");
  EXPECT_EQ(ui_.MessageTexts(), std::vector<std::string>{"Wrong format!"});
  EXPECT_EQ(window.View().SetOut, "12.00");
  window.SetOutbuttClick("2,5");
  EXPECT_EQ(window.View().SetOut, "03.75");
  EXPECT_TRUE(window.OutputEntryWrong());
  EXPECT_EQ(ui_.Beeps(), (std::vector<BeepKind>{BeepKind::Exclamation, BeepKind::Question}));
  EXPECT_TRUE(RequestsOf('o').empty());
  EXPECT_FALSE(module_.IndependentOutput());

  window.SetOutbuttClick("3.8");
  EXPECT_FALSE(window.OutputEntryWrong());
  EXPECT_EQ(RequestsOf('o'), std::vector<Bytes>{Bytes({'o', 0xFF, 0x9A})});
  EXPECT_TRUE(module_.IndependentOutput());
  window.Timer1Timer();
  EXPECT_EQ(window.View().Outputp.text, " 3.80 mA  !");
  EXPECT_EQ(window.View().Outputp.colour, kReadingRed);

  // Reset hands the output back to the measurement.
  window.ResetBClick();
  EXPECT_FALSE(module_.IndependentOutput());
  EXPECT_FALSE(window.View().SimulEnabled);
}

TEST_F(ServiceWindowTest, PreviewAsksForTheValueOfTheSignalWithTheNewCorrections) {
  ConnectAndRead();
  context_.config.SignalLow = 0;
  context_.config.SignalHigh = 100;
  ServiceSession session(context_.service);
  CorrectionsWindowLogic window(context_, session);
  window.Sleep = kNoWait;
  window.Timer1Timer();
  ASSERT_TRUE(window.View().SimulEnabled) << window.View().PomiarP.text;
  window.SimulCBClick(true);
  EXPECT_EQ(window.TakeFocus(), RegulControl::ZeroS);
  window.ZeroSChange(300);  // zero +1 % of a span of 100
  line_.interposer.ClearRequests();
  window.Timer1Timer();

  const std::vector<Bytes> requests = line_.interposer.Requests();
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[0], (Bytes{'m', 0}));
  ASSERT_EQ(requests[1][0], 'Z');
  const std::uint8_t value[4] = {requests[1][4], requests[1][3], requests[1][2], requests[1][1]};
  EXPECT_NEAR(DecodeModuleFloat(value), 51.0, 1e-4) << "a steady 50 previewed as 51";
  EXPECT_EQ(window.View().PomiarP.colour, kReadingTeal);
  EXPECT_EQ(window.View().Outputp.colour, kReadingTeal);

  // The internal temperature of a Q5495 ends the preview.
  window.PomiarTClick();
  EXPECT_TRUE(window.ShowIntTemp());
  EXPECT_FALSE(window.View().SimulChecked);
  EXPECT_EQ(window.View().PomiarT, " Int. temp. ");
  window.Timer1Timer();
  EXPECT_EQ(window.View().PomiarP.colour, kReadingBlue);
  EXPECT_NE(window.View().PomiarP.text.find("\u00B0C   "), std::string::npos);
}

TEST_F(ServiceWindowTest, DiagnosticsKeepTheModuleInServiceModeUntilClosed) {
  ConnectAndRead();
  ServiceSession session(context_.service);
  DiagnosticsWindowLogic window(context_, session);
  window.Sleep = kNoWait;
  EXPECT_TRUE(module_.InServiceMode());
  EXPECT_EQ(window.TakeFocus(), DiagnControl::Rejestry);
  window.Timer1Timer();
  EXPECT_EQ(line_.interposer.Requests().back(), (Bytes{'m', 0}));
  EXPECT_FALSE(window.View().panels[kMeasRegister].empty());
  EXPECT_EQ(window.View().Outputp.substr(6), " mA   ");

  window.RejestryClick(kWnormRegister);
  window.Timer1Timer();
  EXPECT_EQ(line_.interposer.Requests().back(), (Bytes{'m', 4}));
  EXPECT_EQ(RequestsOf(0x40).size(), 2u) << "once at the start, once for the register";
  EXPECT_NE(window.View().panels[kWnormRegister].find(" %   "), std::string::npos);

  window.SetOutbuttClick("12");
  EXPECT_EQ(window.View().SetOut, "12.00");
  EXPECT_EQ(RequestsOf('o'), std::vector<Bytes>{Bytes({'o', 0x10, 0x00})});
  window.Timer1Timer();
  EXPECT_TRUE(window.View().OutputTeal);
  EXPECT_NE(window.View().StatusL.find("Independent output\n"), std::string::npos);

  int repaints = 0;
  window.Repaint = [&] { ++repaints; };
  window.ResetbClick();
  EXPECT_EQ(repaints, 2);
  EXPECT_TRUE(module_.InServiceMode()) << "the reset brings it back into service mode";
  EXPECT_FALSE(module_.IndependentOutput());
  EXPECT_EQ(window.View().selected, kMeasRegister);
  EXPECT_EQ(window.RegisterMode(), 0);

  window.Close();
  EXPECT_FALSE(module_.InServiceMode());
  EXPECT_FALSE(window.Polling());
}

// The module may take a restart whose echo came back spoiled, and then be
// out of service mode: it is asked back all the same, and the failure told.
TEST_F(ServiceWindowTest, AResetWhoseRestartFailsStillAsksForServiceMode) {
  constexpr int kLinkTries = 5;  // the link sends a command this many times
  ConnectAndRead();
  ServiceSession session(context_.service);
  DiagnosticsWindowLogic window(context_, session);
  window.Sleep = kNoWait;
  ASSERT_TRUE(module_.InServiceMode());
  FaultInjector& faults = line_.emulator.Faults();
  const Bytes serviceMode = {0x40, '7', '3', '1', '6'};

  faults.Arm(Fault::CorruptEcho, kLinkTries);
  line_.interposer.ClearRequests();
  window.ResetbClick();
  EXPECT_EQ(faults.Armed(Fault::CorruptEcho), 0) << "every try of the restart failed";
  const std::vector<Bytes> requests = line_.interposer.Requests();
  ASSERT_GE(requests.size(), 2u);
  EXPECT_EQ(requests.front(), Bytes{'r'});
  EXPECT_NE(std::find(requests.begin(), requests.end(), serviceMode), requests.end());
  EXPECT_TRUE(module_.InServiceMode());
  EXPECT_TRUE(window.Polling());
  EXPECT_TRUE(window.View().StatusL.empty());

  // The session tells the restart's failure; a module that never answers
  // 0x40 is asked five times, no more.
  faults.Arm(Fault::CorruptEcho, kLinkTries);
  line_.interposer.ClearRequests();
  EXPECT_EQ(session.RestartIntoServiceMode(), LinkStatus::NoEcho);
  EXPECT_EQ(RequestsOf(0x40), std::vector<Bytes>{serviceMode});
  EXPECT_TRUE(module_.InServiceMode());
  line_.interposer.Override(0x40, std::nullopt);
  faults.Arm(Fault::CorruptEcho, kLinkTries);
  line_.interposer.ClearRequests();
  EXPECT_EQ(session.RestartIntoServiceMode(), LinkStatus::NoEcho);
  EXPECT_EQ(RequestsOf(0x40).size(), 5u);
  EXPECT_FALSE(module_.InServiceMode());
}

TEST_F(ServiceWindowTest, CorrectionsCommandChecksThePasswordAndSuspendsPolling) {
  std::optional<std::string> typed;
  std::vector<std::string> opened;
  ServiceWindows windows;
  windows.password = [&] {
    opened.push_back("password");
    return typed;
  };
  auto window = [&](const char* name) {
    return [&, name](ServiceSession& session) {
      opened.push_back(name);
      EXPECT_TRUE(session.Active());
      EXPECT_FALSE(context_.link.LinkStarted());
      EXPECT_FALSE(context_.state.TimerEnabled);
      EXPECT_TRUE(context_.display.ResultText.empty());
      context_.config.ZeroReg = 1.5;  // as a window's Write leaves it
    };
  };
  windows.corrections = window("corrections");
  windows.diagnostics = window("diagnostics");

  EXPECT_FALSE(Regulacja1Click(*window_, windows));
  ASSERT_EQ(ui_.MessageTexts(), std::vector<std::string>{"Panel meter has to be connected!"});
  EXPECT_EQ(ui_.Messages()[0].icon, MessageIcon::Information);
  EXPECT_TRUE(opened.empty());

  OpenPort();
  TickUntilConnected();
  EXPECT_TRUE(window_->CommandEnabled("RegulacjaT"));
  for (const char* refused : {"", "VORN"}) {
    typed = *refused == '\0' ? std::nullopt : std::optional<std::string>(refused);  // "": Esc
    EXPECT_FALSE(Regulacja1Click(*window_, windows));
  }
  EXPECT_EQ(opened, (std::vector<std::string>{"password", "password"}));
  EXPECT_EQ(Transfers(), 0) << "nothing read for a refused password";

  typed = "vorn";
  opened.clear();
  ASSERT_TRUE(Regulacja1Click(*window_, windows));
  EXPECT_EQ(opened, (std::vector<std::string>{"password", "corrections"}));
  EXPECT_EQ(Transfers(), 1) << "the configuration is read first";
  EXPECT_TRUE(context_.link.LinkStarted());
  EXPECT_TRUE(context_.state.TimerEnabled);
  EXPECT_EQ(window_->Panel().View().RegulZV, " 1.50%");

  typed = std::string(kDiagnosticsAccessCode);
  opened.clear();
  ASSERT_TRUE(Regulacja1Click(*window_, windows));
  EXPECT_EQ(opened, (std::vector<std::string>{"password", "diagnostics"}));
  EXPECT_EQ(Transfers(), 1) << "a configuration read once is enough";

  module_.SetEepromError(true);
  ASSERT_TRUE(WaitUntil([&] {
    window_->Timer1Timer();
    return window_->Status().EepromError;
  }));
  EXPECT_FALSE(window_->CommandEnabled("Regulacja1"));
  ui_.Forget();
  opened.clear();
  EXPECT_FALSE(Regulacja1Click(*window_, windows));
  EXPECT_EQ(ui_.MessageTexts(), std::vector<std::string>{"EEPROM error!"});
  EXPECT_TRUE(opened.empty());
}

}  // namespace
}  // namespace q5480
