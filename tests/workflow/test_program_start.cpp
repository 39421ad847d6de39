// The start of the program on a port that does not open, and the port
// selection window. The start that finds its port, and the end, run in the
// desktop program's own tests.
#include "workflow/port_window.h"
#include "workflow/program_start.h"
#include "workflow_fixture.h"

namespace q5480 {
namespace {

using ProgramStart = WorkflowTest;

TEST_F(ProgramStart, PortThatDoesNotOpenIsReportedAndTheTimerRunsAnyway) {
  context_.settings = ProgramSettings{};
  PrepareProgram(context_, scratch_ / "program", {0, 0, 1920, 1080});  // no settings file: COM 1
  EXPECT_FALSE(StartProgram(*window_));
  ASSERT_EQ(ui_.MessageTexts(),
            std::vector<std::string>{"COM1 initialization failed!\nThe port does not exist."});
  EXPECT_EQ(ui_.Messages()[0].caption, "Q5480.exe");
  EXPECT_EQ(ui_.Beeps(), std::vector<BeepKind>{BeepKind::Information});
  EXPECT_EQ(context_.statusText, "No parameters");
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
  int IndexOfPort(const PortWindowLogic& window, int number) {
    const auto& items = window.Items();
    for (std::size_t i = 0; i < items.size(); ++i) {
      if (EntryPortNumber(items[i]) == number) return static_cast<int>(i);
    }
    return -1;
  }
};

TEST_F(PortWindow, ListsThePortsAndSelectsTheStoredOne) {
  PortWindowLogic window(context_);
  ASSERT_EQ(window.Items().size(), 2u);
  EXPECT_EQ(window.Items()[static_cast<std::size_t>(window.Selected())].substr(0, 5), "COM 7");

  context_.settings.ComPort = 3;
  PortWindowLogic other(context_);
  EXPECT_EQ(other.Selected(), -1);
  EXPECT_EQ(context_.settings.ComPort, 0) << "a port that is not there is forgotten";
}

TEST_F(PortWindow, TheSamePortKeepsTheLinkAndAnotherThatFailsStaysOpen) {
  OpenPort();
  PortWindowLogic window(context_);
  std::vector<bool> panels;
  int waited = 0;
  window.OnSwitchingPanel = [&](bool shown) { panels.push_back(shown); };
  window.Wait = [&](int milliseconds) { waited += milliseconds; };
  window.SetRTPriority(true);
  EXPECT_EQ(window.OKClick(), DialogResult::Ok);
  EXPECT_TRUE(context_.settings.RTPriority);
  EXPECT_TRUE(panels.empty());
  EXPECT_TRUE(context_.link.LinkStarted());

  context_.settings.RTPriority = false;
  window.Select(IndexOfPort(window, 9));
  EXPECT_EQ(window.OKClick(), DialogResult::StayOpen);
  EXPECT_EQ(panels, (std::vector<bool>{true, false}));
  EXPECT_EQ(waited, 1000) << "the adapter gets a second";
  EXPECT_EQ(
      ui_.MessageTexts(),
      std::vector<std::string>{"COM9 initialization failed!\nThe port is not a serial device."});
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
