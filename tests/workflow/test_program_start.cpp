// Start and end of the program against an emulated module, and the port
// selection window.
#include "config/settings_file.h"
#include "workflow/port_window.h"
#include "workflow/program_start.h"
#include "workflow_fixture.h"

namespace q5480 {
namespace {

using test_support::WriteBytes;

const DesktopRect kDesktop{0, 0, 1920, 1080};

class ProgramStart : public WorkflowTest {
 protected:
  std::filesystem::path ProgramFolder() const { return scratch_ / "program"; }
};

TEST_F(ProgramStart, StartsInEnglishOnTheStoredPortAndShowsLiveValues) {
  ProgramSettings stored;
  stored.ComPort = kTestPort;
  stored.Language = "Polski";  // no such language file
  ASSERT_TRUE(WriteSettingsFile(ProgramFolder(), stored));
  context_.settings = ProgramSettings{};

  PrepareProgram(context_, ProgramFolder(), kDesktop);
  EXPECT_EQ(context_.settings.ComPort, kTestPort);
  EXPECT_EQ(context_.settings.Language, "English");
  EXPECT_TRUE(ui_.Messages().empty()) << "the missing language is not reported at start";

  ASSERT_TRUE(StartProgram(*window_));
  EXPECT_EQ(context_.fileName, "No_name");
  EXPECT_EQ(context_.caption, "Unspecified type");
  EXPECT_EQ(context_.statusText, "No parameters");
  EXPECT_EQ(window_->Texts().captions.at("Odczytaj1"), "&Read");
  EXPECT_TRUE(context_.state.TimerEnabled);
  EXPECT_TRUE(context_.link.LinkStarted());
  TickUntilConnected();
  EXPECT_FALSE(context_.display.ResultText.empty());

  StopProgram(*window_, 300, 200);
  EXPECT_FALSE(context_.link.LinkStarted());
  EXPECT_FALSE(context_.link.PortOpen());
  ProgramSettings written;
  ASSERT_TRUE(ReadSettingsFile(ProgramFolder(), written, kDesktop));
  EXPECT_EQ(written.MainLeft, 300);
  EXPECT_EQ(written.MainTop, 200);
  EXPECT_EQ(written.Language, "English");
  EXPECT_EQ(written.ComPort, kTestPort);
}

TEST_F(ProgramStart, PortThatDoesNotOpenIsReported) {
  context_.settings = ProgramSettings{};
  PrepareProgram(context_, ProgramFolder(), kDesktop);  // no settings file: COM 1
  EXPECT_FALSE(StartProgram(*window_));
  ASSERT_EQ(ui_.MessageTexts(), std::vector<std::string>{"COM1 initialization failed!"});
  EXPECT_EQ(ui_.Messages()[0].caption, "Q5480.exe");
  EXPECT_EQ(ui_.Beeps(), std::vector<BeepKind>{BeepKind::Information});
  EXPECT_TRUE(context_.state.TimerEnabled);
  window_->Timer1Timer();  // without a link the timer only updates the commands
  EXPECT_FALSE(window_->CommandEnabled("Odczytaj1"));
}

class PortWindow : public WorkflowTest {
 protected:
  void SetUp() override {
    WriteBytes(scratch_ / "not-a-tty", "");
    std::filesystem::create_symlink(scratch_ / "not-a-tty", scratch_ / "ports" / "com9");
  }
  int IndexOfPort(const TPortSLogic& window, int number) {
    const auto& items = window.Items();
    for (std::size_t i = 0; i < items.size(); ++i) {
      if (EntryPortNumber(items[i]) == number) return static_cast<int>(i);
    }
    return -1;
  }
};

TEST_F(PortWindow, ListsThePortsAndSelectsTheStoredOne) {
  TPortSLogic window(context_);
  ASSERT_EQ(window.Items().size(), 2u);
  EXPECT_EQ(window.Items()[static_cast<std::size_t>(window.Selected())].substr(0, 5), "COM 7");
  EXPECT_EQ(window.Texts().at("Caption"), "Serial port");
  EXPECT_EQ(window.Texts().at("RTPriority"), "Force highest priority");

  context_.settings.ComPort = 3;
  TPortSLogic other(context_);
  EXPECT_EQ(other.Selected(), -1);
  EXPECT_EQ(context_.settings.ComPort, 0) << "a port that is not there is forgotten";
}

TEST_F(PortWindow, SamePortKeepsTheLinkAndTakesThePriority) {
  OpenPort();
  TPortSLogic window(context_);
  int panels = 0;
  window.OnSwitchingPanel = [&](bool) { ++panels; };
  window.SetRTPriority(true);
  EXPECT_EQ(window.OKClick(), DialogResult::Ok);
  EXPECT_TRUE(context_.settings.RTPriority);
  EXPECT_EQ(panels, 0);
  EXPECT_TRUE(context_.link.LinkStarted());
}

TEST_F(PortWindow, SwitchingToAPortThatFailsStaysOpen) {
  OpenPort();
  TPortSLogic window(context_);
  std::vector<bool> panels;
  int waited = 0;
  window.OnSwitchingPanel = [&](bool shown) { panels.push_back(shown); };
  window.Wait = [&](int milliseconds) { waited += milliseconds; };
  window.Select(IndexOfPort(window, 9));
  window.SetRTPriority(true);
  EXPECT_EQ(window.OKClick(), DialogResult::StayOpen);
  EXPECT_EQ(panels, (std::vector<bool>{true, false}));
  EXPECT_EQ(waited, 1000);
  EXPECT_EQ(ui_.MessageTexts(), std::vector<std::string>{"COM9 initialization failed!"});
  EXPECT_EQ(context_.settings.ComPort, kTestPort);
  EXPECT_FALSE(context_.settings.RTPriority);
  EXPECT_FALSE(context_.link.LinkStarted());

  // Back to the module's port: it opens again.
  window.Select(IndexOfPort(window, kTestPort));
  EXPECT_EQ(window.OKClick(), DialogResult::Ok);
  EXPECT_EQ(context_.settings.ComPort, kTestPort);
  EXPECT_TRUE(context_.settings.RTPriority);
  EXPECT_TRUE(context_.link.LinkStarted());
}

}  // namespace
}  // namespace q5480
