// Read, Write and Verify of the main window through the module service:
// their checks, the choice of an information-only write, the waiting
// window, the result texts, and one transfer at a time.
#include "config/dates.h"
#include "emulator/module_memory.h"
#include "service/configuration_comparison.h"
#include "service/configuration_fingerprint.h"
#include "support/scripted_dialog_host.h"
#include "workflow/sensor_window.h"
#include "workflow_fixture.h"

namespace q5480 {
namespace {

using DeviceOperations = WorkflowTest;

TEST_F(DeviceOperations, WriteRefusalsSendNothing) {
  // No transfer at all without a module.
  EXPECT_FALSE(window_->RunTransfer("Writing data...",
                                    [](const TransferObserver&) { return LinkStatus::Success; }));
  EXPECT_EQ(ui_.MessageTexts(), std::vector<std::string>{"No communication with device!"});
  EXPECT_TRUE(ui_.WaitWindow().empty());
  ui_.Forget();

  OpenPort();
  TickUntilConnected();
  EXPECT_FALSE(window_->ZapiszTClick());
  EXPECT_EQ(ui_.MessageTexts(), std::vector<std::string>{"No parameters!"});
  EXPECT_EQ(ui_.Beeps(), std::vector<BeepKind>{BeepKind::Exclamation});

  SetThermocoupleK(context_.config);
  window_->Panel().ShowConfiguration(kColourWhite);
  ui_.Forget();
  // The value being typed is checked first: refused, it stops the write
  // with its own message.
  ParameterPanel& panel = window_->Panel();
  panel.CommitTyping = [&] { panel.MaxInputEExit("2000"); };
  EXPECT_FALSE(window_->ZapiszTClick());
  EXPECT_EQ(ui_.MessageTexts(), std::vector<std::string>{"Maximum out of range!"});
  EXPECT_TRUE(context_.state.InvalidEntry);
  panel.CommitTyping = nullptr;
  ui_.Forget();

  context_.config.Device = "Q5497";
  EXPECT_FALSE(window_->ZapiszTClick());
  ASSERT_EQ(ui_.MessageTexts(), std::vector<std::string>{"Type of panel meter inconsistency!"});
  EXPECT_EQ(ui_.Messages()[0].icon, MessageIcon::Warning);
  EXPECT_EQ(Requests('D'), 0);
}

TEST_F(DeviceOperations, AValueRefusedEarlierDoesNotStopALaterWrite) {
  ConnectWithThermocoupleK();
  ParameterPanel& panel = window_->Panel();
  test_support::ScriptedDialogHost host;
  host.meterType = [&] {
    context_.config.Device = "Q5495";
    return true;
  };
  host.sensor = [&] {
    SensorWindowLogic sensor(context_, host);
    sensor.PageChange(SensorWindowLogic::kThermocouplePage);
    sensor.TypClick(10);  // K
    return *sensor.Ok();
  };
  const auto refuseMinimum = [&] {
    ASSERT_FALSE(panel.MinInputEExit("-150.1"));
    ASSERT_EQ(ui_.MessageTexts(), std::vector<std::string>{"Minimum out of range!"});
    ui_.Forget();
  };
  const auto writeAndVerify = [&] {
    ASSERT_TRUE(window_->ZapiszTClick()) << "the refusal was told; the field holds the old value";
    EXPECT_TRUE(ui_.Messages().empty());
    EXPECT_EQ(StatusWithoutFingerprint(), "Device programmed");
    EXPECT_TRUE(window_->Weryfikuj1Click()) << "the module holds the configuration";
  };

  refuseMinimum();
  writeAndVerify();

  // New forgets the refusal; a new sensor then writes.
  refuseMinimum();
  window_->Files().Nowy1Click();
  EXPECT_FALSE(context_.state.InvalidEntry);
  ASSERT_TRUE(window_->SenSelClick(host));
  writeAndVerify();
  EXPECT_EQ(context_.config.Typ, 10);
}

TEST_F(DeviceOperations, FullWriteProgramsTheModuleAndVerifyFindsItThere) {
  ConnectWithThermocoupleK();
  window_->Panel().ShowConfiguration(kColourChangedAll);
  ASSERT_TRUE(window_->ZapiszTClick());
  EXPECT_EQ(context_.image[0], 0x55) << "a built image";
  EXPECT_EQ(module_.Memory()[18], context_.image[2]) << "the input code reached the module";
  EXPECT_EQ(context_.config.data, FormatDate(Today()));
  EXPECT_EQ(window_->Panel().View().DataE, context_.config.data);
  EXPECT_EQ(StatusWithoutFingerprint(), "Device programmed");
  EXPECT_TRUE(context_.state.Programmed);
  for (FieldColour colour : window_->Panel().View().Colours) EXPECT_EQ(colour, FieldColour::Window);
  const std::vector<std::string> status = ui_.StatusTexts();
  EXPECT_NE(std::find(status.begin(), status.end(), " Writing data...  100%"), status.end());

  ASSERT_TRUE(window_->Weryfikuj1Click());
  EXPECT_EQ(context_.statusText, "Verification successful");
  EXPECT_TRUE(ui_.Messages().empty());

  // A segment byte changes inside the module.
  module_.PokeMemory(1500, static_cast<std::uint8_t>(module_.Memory()[1500] ^ 0x10));
  const ModuleImage written = context_.image;
  EXPECT_FALSE(window_->Weryfikuj1Click());
  ASSERT_EQ(ui_.MessageTexts(), std::vector<std::string>{"Errors have been found!"});
  EXPECT_EQ(ui_.Messages()[0].icon, MessageIcon::Warning);
  EXPECT_EQ(context_.statusText, "Verification ended with errors");
  EXPECT_EQ(context_.image.bytes, written.bytes);
  EXPECT_TRUE(ui_.Lists().empty()) << "only the message's Details button opens the list";

  // Details lists the differences in the service's words.
  ui_.Forget();
  ui_.Answer(MessageResult::Details);
  EXPECT_FALSE(window_->Weryfikuj1Click());
  EXPECT_EQ(ui_.Messages().at(0).buttons, MessageButtons::OkDetails);
  ASSERT_EQ(ui_.Lists().size(), 1u);
  EXPECT_EQ(ui_.Lists()[0].title, "Differences");
  EXPECT_EQ(ui_.Lists()[0].lines,
            (std::vector<std::string>{"Transfer table: 1 of 202 segments differ",
                                      LeftOutOfComparison(context_.language)}));
}

TEST_F(DeviceOperations, ReadAndWriteShowTheFingerprintOfTheConfiguration) {
  ConnectWithThermocoupleK();
  const std::optional<std::string> fingerprint =
      FingerprintOfConfiguration(context_.config, context_.limits, context_.conversion);
  ASSERT_TRUE(fingerprint);
  window_->Panel().ShowConfiguration(kColourChangedAll);
  ASSERT_TRUE(window_->ZapiszTClick());
  EXPECT_EQ(context_.statusText, "Device programmed   Fingerprint: " + *fingerprint);

  window_->Files().Nowy1Click();
  ASSERT_TRUE(window_->OdczytajTClick());
  EXPECT_EQ(context_.statusText, "Information complete   Fingerprint: " + *fingerprint);
  EXPECT_EQ(ui_.StatusTexts().back(), " " + context_.statusText);

  // Another range inside the module is another configuration.
  const std::size_t exponent = AddressesOf(module_.Layout()).span + 3;
  module_.PokeMemory(exponent, static_cast<std::uint8_t>(module_.Memory()[exponent] - 1));
  ASSERT_TRUE(window_->OdczytajTClick());
  ASSERT_EQ(context_.config.MaxInput, 500);
  EXPECT_EQ(StatusWithoutFingerprint(), "Information complete");
  EXPECT_NE(context_.statusText, "Information complete   Fingerprint: " + *fingerprint);
}

TEST_F(DeviceOperations, ChangedTextsAloneOrMissingUserDataWriteOnlyTheInformation) {
  ConnectWithThermocoupleK();
  window_->Panel().MarkChanged(PanelField::KodE);
  ASSERT_TRUE(window_->ZapiszTClick());
  EXPECT_EQ(Requests('D'), 10);
  EXPECT_EQ(Requests('L'), 0);
  const MemoryBytes memory = module_.Memory();
  EXPECT_EQ(std::string(memory.begin() + 128, memory.begin() + 134), "TI-101");
  EXPECT_EQ(StatusWithoutFingerprint(), "Device programmed");

  ModuleConfig& c = context_.config;
  c.Typ = 16;
  c.Lin = kLinTable;
  c.File = "gone.dat";
  c.MinInput = 0;
  c.MaxInput = 100;
  window_->Panel().ShowConfiguration(kColourWhite);  // tells that the table file is missing
  ASSERT_TRUE(window_->ZapiszTClick());              // and again before the write
  EXPECT_EQ(Requests('D'), 20);
  EXPECT_EQ(StatusWithoutFingerprint(), "Information transferred");
}

TEST_F(DeviceOperations, FailedTransferIsReportedAboveTheWaitingWindowAndPollingGoesOn) {
  ConnectWithThermocoupleK();
  context_.SetStatusText("before");
  line_.interposer.SilentAfter(static_cast<long>(line_.interposer.Requests().size()) + 20);
  EXPECT_FALSE(window_->ZapiszTClick());
  ASSERT_EQ(ui_.MessageTexts(), std::vector<std::string>{"Transmission unsuccessful!"});
  EXPECT_EQ(ui_.Messages()[0].icon, MessageIcon::Error);
  EXPECT_EQ(ui_.MessagesOverWaitWindow(), std::vector<bool>{false});
  EXPECT_EQ(context_.statusText, "before");
  EXPECT_FALSE(context_.state.Programmed);
  EXPECT_FALSE(context_.state.InTransfer);
  EXPECT_TRUE(context_.link.LinkStarted());
}

TEST_F(DeviceOperations, ATransferLeavesTheTimerAsItFoundIt) {
  ConnectWithThermocoupleK();
  for (bool running : {false, true}) {
    context_.state.TimerEnabled = running;
    ASSERT_TRUE(window_->RunTransfer("Reading data...", [&](const TransferObserver& observer) {
      return context_.service.ReadConfiguration(observer);
    }));
    EXPECT_EQ(context_.state.TimerEnabled, running);
  }
}

TEST_F(DeviceOperations, NothingElseTalksToTheModuleOrChangesTheWorldDuringATransfer) {
  ConnectWithThermocoupleK();
  context_.state.Programmed = true;
  const std::string fileName = context_.fileName;
  std::vector<bool> refused;
  std::map<std::string, bool, std::less<>> statesDuringTransfer;
  bool acted = false;
  ui_.WhileWaiting([&] {
    if (acted) return;
    acted = true;
    statesDuringTransfer = window_->Commands();
    // A double click, shortcuts pressed again, the other commands.
    refused.push_back(
        !window_->RunTransfer("Reading data...", [&](const TransferObserver& observer) {
          return context_.service.ReadConfiguration(observer);
        }));
    refused.push_back(!window_->OdczytajTClick());
    refused.push_back(!window_->ZapiszTClick());
    refused.push_back(!window_->Weryfikuj1Click());
    refused.push_back(!window_->Files().Otworz1Click());
    refused.push_back(!window_->Files().Zachowaj1Click());
    window_->Files().Nowy1Click();
    bool portWindowOpened = false;
    window_->Komunikacja1Click([&] { return portWindowOpened = true; });
    refused.push_back(!portWindowOpened);
    window_->Reset1Click();
  });
  ASSERT_TRUE(window_->OdczytajTClick());
  EXPECT_EQ(refused, std::vector<bool>(7, true));
  EXPECT_EQ(Transfers(), 1);
  EXPECT_EQ(Requests('r'), 0) << "nor a restart";
  EXPECT_TRUE(window_->Panel().ConfigurationShown()) << "New was refused";
  EXPECT_EQ(context_.fileName, fileName);
  for (const char* action : {"Odczytaj1", "OdczytajT", "Zapisz1", "ZapiszT", "Weryfikuj1",
                             "Odswierz1", "Reset1", "Komunikacja1", "KomunikacjaT", "Ogolne1",
                             "Nowy1", "Otworz1", "Zachowaj1", "Zapiszjako1"}) {
    EXPECT_FALSE(statesDuringTransfer.at(action)) << action;
  }
  // The program goes on afterwards.
  EXPECT_EQ(ui_.WaitWindow(), (std::vector<bool>{true, false}));
  EXPECT_TRUE(context_.link.LinkStarted());
  context_.state.Connected = false;
  TickUntilConnected();
  EXPECT_TRUE(window_->CommandEnabled("Odczytaj1"));
}

TEST_F(DeviceOperations, TheMonitorOnlyViewRefusesTheConfigurationCommands) {
  ConnectWithThermocoupleK();
  context_.state.Programmed = true;
  window_->Autoread1Click();
  context_.state.ConfigRead = true;  // nothing for the automatic read to do
  window_->UpdateCommandStates();
  EXPECT_TRUE(window_->CommandEnabled("Zapisz1"));
  EXPECT_TRUE(window_->CommandEnabled("Weryfikuj1"));
  context_.state.ChartShown = true;
  window_->MonOnly1Click();
  for (const char* action : {"Ustawienia1", "Odczytaj1", "Zapisz1", "ZapiszT", "Weryfikuj1",
                             "Reset1", "Nowy1", "Otworz1", "Zachowaj1", "Autoread1"}) {
    EXPECT_FALSE(window_->CommandEnabled(action)) << action;
  }
  EXPECT_FALSE(window_->ZapiszTClick());
  EXPECT_FALSE(window_->Weryfikuj1Click());
  EXPECT_EQ(Requests('D') + Requests('s'), 0);
  EXPECT_TRUE(ui_.Messages().empty());
  // The automatic read is suspended, its menu item keeps the check mark.
  EXPECT_FALSE(context_.state.AutoRead);
  EXPECT_TRUE(window_->AutoreadChecked());
  EXPECT_FALSE(context_.state.ChartShown);
  EXPECT_FALSE(window_->MenusShown());
  window_->MonOnly1Click();
  EXPECT_TRUE(context_.state.AutoRead);
  EXPECT_TRUE(window_->MenusShown());
  EXPECT_TRUE(window_->CommandEnabled("Autoread1"));
  // Unchecked before the compact view: it stays off afterwards.
  window_->Autoread1Click();
  window_->MonOnly1Click();
  window_->MonOnly1Click();
  EXPECT_FALSE(context_.state.AutoRead);
}

}  // namespace
}  // namespace q5480
