// Timer1 of the main window against an emulated module: the displays, the
// silence of the module, the model check and the automatic read, and what
// the ticks leave until a modal window over the main window has closed; the
// result display's words, numbers and sizes.
#include "workflow/result_display.h"
#include "workflow_fixture.h"

namespace q5480 {
namespace {

constexpr std::uint32_t kTicksAt500 = 12;
constexpr std::uint32_t kTicksAt250 = 24;
const std::string kUnknown = "???        ";
const std::string kInconsistency =
    "Type of panel meter inconsistency! New data will be read.\n"
    "Disconnect the panel meter and press Cancel to preserve present configuration.";

class SilentModule : public WorkflowTest {
 protected:
  void SetUp() override {
    line_.emulator.Faults().SilenceFor(std::chrono::minutes(5));
    OpenPort();
    context_.display.ResultText = "old";
    context_.display.OutputText = "old";
  }
};

TEST_F(SilentModule, EmptyAtOnceThenUnknownAfterSixSecondsAndNeverReported) {
  context_.state.ConfigRead = true;
  window_->Timer1Timer();
  EXPECT_FALSE(context_.state.Connected);
  EXPECT_EQ(context_.display.ResultText, "");
  EXPECT_EQ(context_.display.OutputText, "");
  EXPECT_TRUE(context_.state.ConfigRead) << "the first missed tick keeps the configuration";
  for (const char* action :
       {"Odczytaj1", "OdczytajT", "ZapiszT", "Zapisz1", "Ustawienia1", "Reset1", "Weryfikuj1"}) {
    EXPECT_FALSE(window_->CommandEnabled(action)) << action;
  }
  EXPECT_TRUE(window_->CommandEnabled("Komunikacja1"));
  window_->Timer1Timer();
  EXPECT_FALSE(context_.state.ConfigRead);

  while (context_.state.MissCount < kTicksAt500) {
    EXPECT_EQ(context_.display.ResultText, "");
    window_->Timer1Timer();
  }
  EXPECT_EQ(context_.display.ResultText, "");
  window_->Timer1Timer();
  EXPECT_EQ(context_.display.ResultText, kUnknown);
  EXPECT_EQ(context_.display.OutputText, kUnknown);
  EXPECT_EQ(context_.display.ResultPointSize, 18);
  EXPECT_EQ(context_.display.ResultAlign, DisplayAlign::Right);

  // Without a fault of the polling thread the silence is never reported.
  for (int i = 0; i < 40; ++i) window_->Timer1Timer();
  EXPECT_TRUE(ui_.Messages().empty());
  EXPECT_TRUE(ui_.Beeps().empty());
  EXPECT_EQ(context_.state.MissCount, 2 * kTicksAt500 + 1) << "counting stops after 2N";
  EXPECT_EQ(context_.display.ResultText, kUnknown);
}

TEST_F(SilentModule, ChartViewKeepsTheDisplaysForOneMissedTick) {
  context_.state.ChartShown = true;
  window_->Timer1Timer();
  EXPECT_EQ(context_.display.ResultText, "old");
  window_->Timer1Timer();
  EXPECT_EQ(context_.display.ResultText, "");
  while (context_.state.MissCount <= kTicksAt250) window_->Timer1Timer();
  EXPECT_EQ(context_.display.ResultText, kUnknown);
  EXPECT_EQ(context_.state.MissCount, kTicksAt250 + 1);
}

TEST_F(SilentModule, StoppedTimerAndRunningTransferLeaveEverythingAlone) {
  context_.state.TimerEnabled = false;
  window_->Timer1Timer();
  context_.state.TimerEnabled = true;
  context_.state.InTransfer = true;
  window_->Timer1Timer();
  EXPECT_EQ(context_.state.MissCount, 0u);
  EXPECT_EQ(context_.display.ResultText, "old");
}

using LiveModule = WorkflowTest;

TEST_F(LiveModule, SamplesFillBothDisplaysNameTheModelAndEnableTheCommands) {
  OpenPort();
  TickUntilConnected();
  EXPECT_EQ(context_.state.MissCount, 0u);
  EXPECT_EQ(context_.display.ResultPointSize, 18);
  EXPECT_EQ(context_.display.ResultAlign, DisplayAlign::Right);
  EXPECT_FALSE(context_.display.ResultText.empty());
  EXPECT_EQ(context_.display.OutputText.substr(5), " mA   ");
  EXPECT_FALSE(context_.display.OutputRed);
  // An empty Device takes the module's model without a question.
  EXPECT_EQ(context_.caption, "Q5495 - No_name");
  EXPECT_TRUE(ui_.Messages().empty());
  for (const char* action : {"Odczytaj1", "OdczytajT", "ZapiszT", "Zapisz1", "Reset1"}) {
    EXPECT_TRUE(window_->CommandEnabled(action)) << action;
  }
  EXPECT_FALSE(window_->CommandEnabled("Weryfikuj1")) << "nothing was programmed yet";

  // The module's flags become status words.
  module_.SetCalibrationMode(true);
  ASSERT_TRUE(WaitUntil([&] {
    window_->Timer1Timer();
    return context_.display.ResultText == "Cal mode";
  }));
  EXPECT_EQ(context_.display.ResultPointSize, 12);
  EXPECT_EQ(context_.display.ResultAlign, DisplayAlign::Centre);
  module_.SetCalibrationMode(false);
  module_.SetEepromError(true);
  ASSERT_TRUE(WaitUntil([&] {
    window_->Timer1Timer();
    return context_.display.ResultText == "EEPROM error";
  }));
  EXPECT_FALSE(window_->CommandEnabled("OdczytajT")) << "no read from a module with a memory fault";
  EXPECT_TRUE(window_->CommandEnabled("ZapiszT"));
}

class ModelCheck : public WorkflowTest {
 protected:
  void SetUp() override {
    context_.config.Device = "Q5491";
    context_.fileName = "/data/old.par";
    OpenPort();
  }
};

TEST_F(ModelCheck, AnotherModelIsAskedAboutUntilOkReadsItAndForgetsTheFileName) {
  ui_.Answer(MessageResult::Cancel);
  TickUntilConnected();
  const std::vector<ShownMessage> messages = ui_.Messages();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].text, kInconsistency);
  EXPECT_EQ(messages[0].buttons, MessageButtons::OkCancel);
  EXPECT_EQ(Transfers(), 0);
  EXPECT_EQ(context_.config.Device, "Q5491");
  EXPECT_EQ(context_.fileName, "/data/old.par");

  ui_.Forget();
  ui_.Answer(MessageResult::Ok);
  context_.state.Connected = false;
  TickUntilConnected();
  EXPECT_EQ(ui_.Messages().size(), 1u);
  EXPECT_EQ(Transfers(), 1);
  EXPECT_EQ(context_.config.Device, "Q5495");
  EXPECT_EQ(context_.fileName, "No_name");
  EXPECT_TRUE(context_.state.ConfigRead);
  // The waiting window came and went; the progress bar ran and was reset.
  EXPECT_EQ(ui_.WaitWindow(), (std::vector<bool>{true, false}));
  const std::vector<int> progress = ui_.Progress();
  ASSERT_GE(progress.size(), 3u);
  EXPECT_EQ(progress.front(), 0);
  EXPECT_NE(std::find(progress.begin(), progress.end(), 100), progress.end());
  EXPECT_EQ(progress.back(), 0);
  EXPECT_FALSE(context_.state.InTransfer);
  EXPECT_TRUE(context_.state.TimerEnabled);
  EXPECT_TRUE(WaitUntil([&] { return context_.link.LinkStarted(); })) << "polling runs again";
}

TEST_F(ModelCheck, AutoreadThatFailsAsksToTurnItselfOffUntilYes) {
  context_.config.Device.clear();
  line_.interposer.Override('s', std::nullopt);  // every read fails
  window_->Autoread1Click();
  ASSERT_TRUE(context_.state.AutoRead);
  EXPECT_EQ(window_->ReadButtonImage(), 9);
  const std::vector<std::string> oneRound{"Transmission unsuccessful!", "Turn Autoread off?"};
  for (MessageResult answer : {MessageResult::No, MessageResult::Yes}) {
    ui_.Forget();
    ui_.Answer(MessageResult::Ok);
    ui_.Answer(answer);
    ASSERT_TRUE(WaitUntil([&] {
      window_->Timer1Timer();
      return ui_.Messages().size() >= 2;
    }));
    EXPECT_EQ(ui_.MessageTexts(), oneRound);
    EXPECT_EQ(context_.state.AutoRead, answer == MessageResult::No);
  }
  EXPECT_EQ(window_->ReadButtonImage(), 3);
  EXPECT_FALSE(window_->AutoreadChecked());
}

// A modal window over the main window (a selection window, say): the ticks
// keep the displays live, and the model check waits until it has closed,
// to concern the model chosen in it by then.
TEST_F(ModelCheck, UnderAModalWindowTheQuestionWaitsAndThenConcernsTheModelChosen) {
  struct Case {
    const char* chosen;  // the model the window left in Device
    bool asked;
  };
  for (const Case& k : {Case{"Q5495", false}, Case{"Q5497", true}}) {
    SCOPED_TRACE(k.chosen);
    context_.config.Device = "Q5491";
    ui_.Forget();
    line_.interposer.ClearRequests();
    window_->ModalWindowOpened();
    SampledTicks(3);
    EXPECT_TRUE(ui_.Messages().empty());
    EXPECT_EQ(Transfers(), 0);
    EXPECT_FALSE(context_.display.ResultText.empty()) << "the displays stay live";
    EXPECT_EQ(context_.config.Device, "Q5491");

    context_.config.Device = k.chosen;
    window_->ModalWindowClosed();
    ui_.Answer(MessageResult::Ok);
    SampledTicks(3);
    EXPECT_EQ(ui_.MessageTexts(),
              k.asked ? std::vector<std::string>{kInconsistency} : std::vector<std::string>{});
    EXPECT_EQ(Transfers(), k.asked ? 1 : 0);
    EXPECT_EQ(context_.config.Device, "Q5495");
  }
}

TEST_F(LiveModule, UnderAModalWindowAutoreadWaitsUntilItHasClosed) {
  OpenPort();
  TickUntilConnected();
  window_->Autoread1Click();
  window_->ModalWindowOpened();
  SampledTicks(3);
  EXPECT_EQ(Transfers(), 0);
  EXPECT_FALSE(context_.state.ConfigRead);
  window_->ModalWindowClosed();
  SampledTicks(1);
  EXPECT_EQ(Transfers(), 1);
  EXPECT_TRUE(context_.state.ConfigRead);
  EXPECT_TRUE(ui_.Messages().empty()) << ui_.MessageTexts().front();
}

TEST_F(LiveModule, UnderAModalWindowAFailedCommandIsToldOnceItHasClosed) {
  OpenPort();
  TickUntilConnected();
  window_->ModalWindowOpened();
  // The module falls silent as a reset is queued for it, and is pulled out
  // before the reset could go.
  line_.emulator.Faults().SilenceFor(std::chrono::minutes(1));
  window_->Reset1Click();
  ASSERT_TRUE(context_.link.CommandPending());
  line_.Unplug();
  ASSERT_TRUE(WaitUntil([&] { return !context_.link.CommandPending(); }));
  for (int i = 0; i < 3; ++i) window_->Timer1Timer();
  EXPECT_TRUE(ui_.Messages().empty()) << ui_.MessageTexts().front();
  window_->ModalWindowClosed();
  for (int i = 0; i < 3; ++i) window_->Timer1Timer();
  EXPECT_EQ(ui_.MessageTexts(), std::vector<std::string>{"Command failed!"});
}

// An older module whose configuration names a table file that is nowhere:
// the read asks for user data the program cannot find.
class AutoreadOfATableConfiguration : public WorkflowTest {
 protected:
  AutoreadOfATableConfiguration() : WorkflowTest(ModuleWith(kOldIdLate)) {
    const std::string file = "gone.dat";
    module_.PokeMemory(image_offset::kTyp, 16);
    module_.PokeMemory(image_offset::kLin, kLinTable);
    for (std::size_t i = 0; i < 3; ++i) module_.PokeMemory(image_offset::kMarker + i, 1);
    for (std::size_t i = 0; i < file.size(); ++i) {
      module_.PokeMemory(image_offset::kMarker + 3 + i, static_cast<std::uint8_t>(file[i]));
    }
    module_.PokeMemory(image_offset::kMarker + 3 + file.size(), 0xFF);
  }
};

TEST_F(AutoreadOfATableConfiguration, TicksDuringItsQuestionsNeitherReadNorAskAgain) {
  OpenPort();
  window_->Autoread1Click();
  int ticksDuringMessages = 0;
  int depth = 0;
  std::vector<bool> readAndPaused;
  ui_.OnMessage([&](const ShownMessage&) {
    readAndPaused.push_back(context_.state.ConfigRead && !context_.state.TimerEnabled);
    // Timer1 keeps firing while a message box is up (here not while a
    // message that a tick brought is up: that would go on without end).
    if (depth > 0) return;
    ++depth;
    for (int i = 0; i < 3; ++i, ++ticksDuringMessages) window_->Timer1Timer();
    --depth;
  });
  TickUntilConnected();
  EXPECT_GT(ticksDuringMessages, 0);
  EXPECT_EQ(readAndPaused, std::vector<bool>{true});
  const std::vector<std::string> texts = ui_.MessageTexts();
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_NE(texts[0].find("(source file: gone.dat)"), std::string::npos) << texts[0];
  EXPECT_TRUE(context_.state.ConfigRead);
  EXPECT_TRUE(context_.state.TimerEnabled) << "the tick that read runs the timer again";
  EXPECT_EQ(Transfers(), 1);
}

TEST(ResultDisplay, StatusWordsCentredInTwelvePointsOrTheNumberWithItsUnit) {
  struct Case {
    bool cal, eeprom, sensor, range;
    const char* device;
    int typ, unit;
    const char* text;
  };
  const Case cases[] = {
      {true, true, true, true, "Q5495", 10, 8, "Cal mode"},
      {false, true, true, true, "Q5495", 10, 8, "EEPROM error"},
      {false, false, true, true, "Q5495", 10, 8, "Broken sensor"},
      {false, false, false, true, "Q5495", 10, 8, "Out of range!"},
      // A current loop input and the Q5491 report a fault as out of range.
      {false, false, true, false, "Q5495", 19, 8, "Out of range!"},
      {false, false, true, false, "Q5491", 10, 8, "Out of range!"},
      // The unit and trailing blanks make one width (the degree sign is one).
      {false, false, false, false, "Q5495", 10, 8, "   23.5 °C  "},
      {false, false, false, false, "Q5495", 10, 6, "   23.5 kOhm"},
      {false, false, false, false, "Q5495", 10, 15, "   23.5    "},  // no unit reported
  };
  for (const Case& c : cases) {
    DeviceStatus status;
    status.ModelIndex = 0;
    status.CalMode = c.cal;
    status.EepromError = c.eeprom;
    status.SensorFault = c.sensor;
    status.OutOfRange = c.range;
    status.ResultUnit = static_cast<std::uint8_t>(c.unit);
    ModuleConfig config;
    config.Typ = static_cast<std::uint8_t>(c.typ);
    config.Lin = kLinTable;
    config.Device = c.device;
    const ResultView view = ComposeResult(23.456, status, true, config, InputLimits{}, {});
    const bool word = c.cal || c.eeprom || c.sensor || c.range;
    EXPECT_EQ(view.text, c.text);
    EXPECT_EQ(view.pointSize, word ? 12 : 18) << c.text;
    EXPECT_EQ(view.centred, word) << c.text;
  }
  DeviceStatus spare;
  spare.ModelIndex = 9;  // the spare code 90 shows nothing, whatever it reports
  spare.CalMode = true;
  EXPECT_EQ(ComposeResult(1, spare, true, ModuleConfig{}, InputLimits{}, {}).text, "");
}

}  // namespace
}  // namespace q5480
