// The module unplugged (its line closed) while the window polls it, reads,
// writes or verifies: the failure is told once, never taken for a success,
// a failed read changes nothing, the program idles while the port is gone,
// another port can be chosen, and the module works again once it is back
// under the same name.
#include <sys/resource.h>

#include <functional>
#include <thread>

#include "workflow/port_window.h"
#include "workflow_fixture.h"

namespace q5480 {
namespace {

using std::chrono::milliseconds;

// A lost module is reported after twice the silence of 12 ticks.
constexpr std::uint32_t kReportedAfter = 2 * 12;
constexpr int kSilenceTicks = kReportedAfter + 10;

double CpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  const auto seconds = [](const timeval& t) {
    return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6;
  };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// The share of one core the whole program takes while the port is gone and
// the window ticks as its timer would.
double CpuShareWhileGone(MainWindowLogic& window) {
  const double cpuBefore = CpuSeconds();
  const auto start = std::chrono::steady_clock::now();
  for (int tick = 0; tick < 6; ++tick) {
    std::this_thread::sleep_for(milliseconds(kTimerInterval));
    window.Timer1Timer();
  }
  const double wall =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  return (CpuSeconds() - cpuBefore) / wall;
}

struct TransferCase {
  const char* name;
  std::function<bool(MainWindowLogic&)> run;
  const char* successText;  // the status bar after a success
};
void PrintTo(const TransferCase& c, std::ostream* out) { *out << c.name; }

class UnpluggedDuringTransfer : public WorkflowTest,
                                public ::testing::WithParamInterface<TransferCase> {
 protected:
  void SetUp() override {
    ConnectWithThermocoupleK();
    // A module that was just programmed: a read or verify would succeed.
    ASSERT_TRUE(window_->ZapiszTClick());
    window_->Panel().ShowConfiguration(kColourChangedAll);  // the next write is a full one
    context_.state.Programmed = false;
    context_.statusText.clear();
    ui_.Forget();
  }

  // The module is pulled once the transfer has shown `percent`.
  void UnplugAt(int percent) {
    ui_.WhileWaiting([this, percent] {
      const std::vector<int> progress = ui_.Progress();
      if (!unplugged_ && !progress.empty() && progress.back() >= percent) {
        line_.Unplug();
        unplugged_ = true;
      }
    });
  }

  bool unplugged_ = false;
};

TEST_P(UnpluggedDuringTransfer, FailsOnceChangesNothingIdlesAndWorksAgainWhenBack) {
  const ModuleConfig configBefore = context_.config;
  const ModuleImage imageBefore = context_.image;
  UnplugAt(30);
  EXPECT_FALSE(GetParam().run(*window_));
  ASSERT_TRUE(unplugged_) << "the transfer ended before the module was pulled";
  ui_.WhileWaiting({});
  const std::vector<std::string> told{"Transmission unsuccessful!"};
  EXPECT_EQ(ui_.MessageTexts(), told);
  const std::string successText = GetParam().successText;
  if (!successText.empty()) { EXPECT_NE(context_.statusText, successText); }
  EXPECT_FALSE(context_.state.Programmed);
  if (std::string(GetParam().name) != "Write") {
    EXPECT_EQ(context_.image.bytes, imageBefore.bytes);
    EXPECT_EQ(std::tie(context_.config.ModuleId, context_.config.kod, context_.config.MaxInput),
              std::tie(configBefore.ModuleId, configBefore.kod, configBefore.MaxInput));
    EXPECT_FALSE(context_.state.ConfigRead);
  }

  // The loss, already told, is not told again while the port stays gone.
  ASSERT_TRUE(WaitUntil([&] { return context_.link.PollFault(); }));
  for (int tick = 0; tick < kSilenceTicks; ++tick) window_->Timer1Timer();
  EXPECT_EQ(ui_.MessageTexts(), told);
  EXPECT_LE(ui_.Beeps().size(), 1u);
  EXPECT_LT(CpuShareWhileGone(*window_), 0.05);

  line_.Replug();
  TickUntilConnected();
  EXPECT_FALSE(context_.link.PollFault());
  ui_.Forget();
  EXPECT_TRUE(GetParam().run(*window_));
  if (!successText.empty()) { EXPECT_EQ(StatusWithoutFingerprint(), successText); }
  EXPECT_TRUE(ui_.Messages().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Transfers, UnpluggedDuringTransfer,
    ::testing::Values(TransferCase{"Read", [](MainWindowLogic& w) { return w.OdczytajTClick(); },
                                   ""},
                      TransferCase{"Write", [](MainWindowLogic& w) { return w.ZapiszTClick(); },
                                   "Device programmed"},
                      TransferCase{"Verify", [](MainWindowLogic& w) { return w.Weryfikuj1Click(); },
                                   "Verification successful"}),
    [](const auto& info) { return std::string(info.param.name); });

class UnpluggedWhilePolling : public WorkflowTest {
 protected:
  void SetUp() override {
    OpenPort();
    TickUntilConnected();
    line_.Unplug();
    ASSERT_TRUE(WaitUntil([&] { return context_.link.PollFault(); }));
  }
};

TEST_F(UnpluggedWhilePolling, IsToldOnceIdlesAndPollsAgainWhenBackUnderTheSameName) {
  // Told only after twice the silence.
  for (int tick = 0; tick < kSilenceTicks; ++tick) {
    window_->Timer1Timer();
    EXPECT_EQ(ui_.Messages().size(), context_.state.MissCount > kReportedAfter ? 1u : 0u) << tick;
  }
  EXPECT_EQ(ui_.MessageTexts(), std::vector<std::string>{"No communication with device!"});
  EXPECT_EQ(ui_.Messages()[0].icon, MessageIcon::Warning);
  EXPECT_EQ(ui_.Beeps(), std::vector<BeepKind>{BeepKind::Default});
  EXPECT_FALSE(window_->CommandEnabled("OdczytajT"));
  EXPECT_LT(CpuShareWhileGone(*window_), 0.05);

  line_.Replug();
  TickUntilConnected();
  EXPECT_FALSE(context_.link.PollFault());
  EXPECT_TRUE(window_->CommandEnabled("OdczytajT"));
  EXPECT_EQ(ui_.Messages().size(), 1u);
}

TEST_F(UnpluggedWhilePolling, UnderAModalWindowIsToldOnceItHasClosed) {
  window_->ModalWindowOpened();
  for (int tick = 0; tick < kSilenceTicks; ++tick) window_->Timer1Timer();
  EXPECT_TRUE(ui_.Messages().empty());
  window_->ModalWindowClosed();
  window_->Timer1Timer();
  EXPECT_EQ(ui_.MessageTexts(), std::vector<std::string>{"No communication with device!"});
}

TEST_F(UnpluggedWhilePolling, AnotherPortCanBeChosenMeanwhile) {
  ModuleOnLine other(ModuleWith(kOldIdLate), scratch_ / "ports", kTestPort + 1);
  window_->Komunikacja1Click([&] {
    PortWindowLogic ports(context_);
    ports.Wait = [](int) {};
    const std::optional<std::size_t> entry = FindPortEntry(ports.Items(), kTestPort + 1);
    if (!entry) return false;
    ports.Select(static_cast<int>(*entry));
    return ports.OKClick() == DialogResult::Ok;
  });
  EXPECT_EQ(context_.settings.ComPort, kTestPort + 1);
  TickUntilConnected();
  EXPECT_FALSE(context_.link.PollFault());
  EXPECT_EQ(ui_.MessageTexts(), std::vector<std::string>{});
}

}  // namespace
}  // namespace q5480
