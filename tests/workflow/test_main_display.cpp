// Timer1 of the main window against an emulated module: the displays, the
// silence of the module, the model check and the automatic read.
#include "workflow_fixture.h"

namespace q5480 {
namespace {

constexpr std::uint32_t kTicksAt500 = 12;
constexpr std::uint32_t kTicksAt250 = 24;
const std::string kUnknown = "???        ";

class SilentModule : public WorkflowTest {
 protected:
  void SetUp() override {
    emulator_.Faults().SilenceFor(std::chrono::minutes(5));
    OpenPort();
    context_.display.ResultText = "old";
    context_.display.OutputText = "old";
  }
};

TEST_F(SilentModule, EmptyAtOnceThenUnknownAfterSixSeconds) {
  context_.state.ConfigRead = true;
  window_->Timer1Timer();
  EXPECT_FALSE(context_.state.Connected);
  EXPECT_EQ(context_.display.ResultText, "");
  EXPECT_EQ(context_.display.OutputText, "");
  EXPECT_TRUE(context_.state.ConfigRead) << "the first missed tick keeps the configuration";
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

TEST_F(SilentModule, CommandsNeedAConnectedModule) {
  window_->Timer1Timer();
  const CommandStates& commands = window_->Commands();
  EXPECT_FALSE(commands.Odczytaj);
  EXPECT_FALSE(commands.ZapiszT);
  EXPECT_FALSE(commands.Konfig1);
  EXPECT_FALSE(commands.Reset1);
  EXPECT_FALSE(commands.Weryfikuj1);
}

class LiveModule : public WorkflowTest {};

TEST_F(LiveModule, SampleFillsBothDisplaysAndEnablesTheCommands) {
  OpenPort();
  TickUntilConnected();
  EXPECT_EQ(context_.state.MissCount, 0u);
  EXPECT_EQ(context_.display.ResultPointSize, 18);
  EXPECT_FALSE(context_.display.ResultText.empty());
  EXPECT_EQ(context_.display.OutputText.substr(5), " mA   ");
  EXPECT_FALSE(context_.display.OutputRed);
  const CommandStates& commands = window_->Commands();
  EXPECT_TRUE(commands.Odczytaj);
  EXPECT_TRUE(commands.ZapiszT);
  EXPECT_TRUE(commands.Reset1);
  EXPECT_FALSE(commands.Weryfikuj1) << "nothing was programmed yet";
  context_.state.Programmed = true;
  context_.state.Connected = false;
  TickUntilConnected();
  EXPECT_TRUE(window_->Commands().Weryfikuj1);
}

TEST_F(LiveModule, ModuleFlagsBecomeStatusWords) {
  OpenPort();
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
  EXPECT_FALSE(window_->Commands().Odczytaj) << "no read from a module with a memory fault";
  EXPECT_TRUE(window_->Commands().ZapiszT);
}

TEST_F(LiveModule, EmptyDeviceTakesTheModulesModel) {
  context_.config.Device.clear();
  OpenPort();
  TickUntilConnected();
  EXPECT_EQ(context_.config.Device, "Q5495");
  EXPECT_EQ(context_.caption, "Q5495 - No_name");
  EXPECT_TRUE(ui_.Messages().empty());
}

TEST_F(LiveModule, MonitorOnlySuspendsAutoreadAndHidesTheMenus) {
  window_->Autoread1Click();
  ASSERT_TRUE(context_.state.AutoRead);
  context_.state.ChartShown = true;
  window_->MonOnly1Click();
  EXPECT_FALSE(context_.state.AutoRead);
  EXPECT_TRUE(window_->AutoreadChecked()) << "the menu item keeps its check mark";
  EXPECT_FALSE(context_.state.ChartShown);
  EXPECT_FALSE(window_->MenusShown());
  EXPECT_FALSE(window_->Commands().Autoread1);
  EXPECT_FALSE(window_->Commands().Wykres1);
  window_->MonOnly1Click();
  EXPECT_TRUE(context_.state.AutoRead);
  EXPECT_TRUE(window_->MenusShown());
  EXPECT_TRUE(window_->Commands().Autoread1);

  // Unchecked before the compact view: it stays off afterwards.
  window_->Autoread1Click();
  window_->MonOnly1Click();
  window_->MonOnly1Click();
  EXPECT_FALSE(context_.state.AutoRead);
}

// A read whose worker only reports its progress: the module's memory is not
// needed to follow the window's side of a transfer.
class ModelCheck : public WorkflowTest {
 protected:
  void SetUp() override {
    ModuleCommands commands = LinkCommands();
    commands.ReadWorker = [this](int kind) -> Link::Worker {
      readKinds_.push_back(kind);
      return [this] {
        int last = -1;
        for (long done = 0; done <= 4; ++done) context_.link.ReportProgress(done, 4, last);
        return readSucceeds_;
      };
    };
    UseCommands(std::move(commands));
    context_.config.Device = "Q5491";
    context_.fileName = "/data/old.par";
    OpenPort();
  }
  std::vector<int> readKinds_;
  bool readSucceeds_ = true;
};

TEST_F(ModelCheck, AnotherModelAsksAndCancelKeepsTheConfiguration) {
  ui_.Answer(MessageResult::Cancel);
  TickUntilConnected();
  const std::vector<ShownMessage> messages = ui_.Messages();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].text,
            "Type of panel meter inconsistency! New data will be read.\n"
            "Disconnect the panel meter and press Cancel to preserve present configuration.");
  EXPECT_EQ(messages[0].caption, "Q5480.exe");
  EXPECT_EQ(messages[0].buttons, MessageButtons::OkCancel);
  EXPECT_TRUE(readKinds_.empty());
  EXPECT_EQ(context_.config.Device, "Q5491");
  EXPECT_EQ(context_.fileName, "/data/old.par");
}

TEST_F(ModelCheck, OkReadsAndForgetsTheFileName) {
  ui_.Answer(MessageResult::Ok);
  TickUntilConnected();
  EXPECT_EQ(readKinds_, std::vector<int>{kReadConfiguration});
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

TEST_F(ModelCheck, AutoreadThatFailsOffersToTurnItselfOff) {
  context_.config.Device.clear();
  readSucceeds_ = false;
  window_->Autoread1Click();
  ASSERT_TRUE(context_.state.AutoRead);
  EXPECT_EQ(window_->ReadButtonImage(), 9);
  ui_.Answer(MessageResult::Ok);   // "Transmission unsuccessful!"
  ui_.Answer(MessageResult::Yes);  // "Turn Autoread off?"
  TickUntilConnected();
  const std::vector<std::string> texts = ui_.MessageTexts();
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[0], "Transmission unsuccessful!");
  EXPECT_EQ(texts[1], "Turn Autoread off?");
  EXPECT_FALSE(context_.state.AutoRead);
  EXPECT_EQ(window_->ReadButtonImage(), 3);
}

TEST_F(ModelCheck, AutoreadNoKeepsItOn) {
  context_.config.Device.clear();
  readSucceeds_ = false;
  window_->Autoread1Click();
  ui_.Answer(MessageResult::Ok);
  ui_.Answer(MessageResult::No);
  TickUntilConnected();
  EXPECT_TRUE(context_.state.AutoRead);
  EXPECT_EQ(readKinds_.size(), 1u);
}

}  // namespace
}  // namespace q5480
