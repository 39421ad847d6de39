// Worker threads: the progress handshake with the waiting window, silence,
// cancellation and the retrying sends that workers use.
#include <gtest/gtest.h>

#include <chrono>
#include <stdexcept>
#include <vector>

#include "link_fixture.h"

namespace q5480 {
namespace {

using std::chrono::milliseconds;
using Clock = std::chrono::steady_clock;

class TransferTest : public LinkFixture {
 protected:
  std::vector<int> Await(bool expected) {
    std::vector<int> seen;
    EXPECT_EQ(link_->AwaitWorker([&](int percent) { seen.push_back(percent); }), expected);
    EXPECT_FALSE(link_->TransferRunning());
    // The worker's end signals once more; the window may have left by then.
    if (seen.size() >= 2 && seen.back() == seen[seen.size() - 2]) seen.pop_back();
    return seen;
  }
};

TEST_F(TransferTest, ProgressReachesTheWindowThroughTheHandshake) {
  OpenIdle();
  ASSERT_TRUE(link_->RunWorker([this] {
    int last = -1;
    for (long done = 1; done <= 4; ++done) link_->ReportProgress(done, 4, last);
    return true;
  }));
  EXPECT_EQ(Await(true), (std::vector<int>{25, 50, 75, 100}));
}

TEST_F(TransferTest, ProgressIsRoundedHalfToEvenAndSignalledOnlyWhenItChanges) {
  OpenIdle();
  struct Step {
    long done;
    long total;
  };
  const std::vector<Step> steps = {{5, 200}, {7, 200}, {1, 8}, {1, 8}, {3, 8}, {300, 200}};
  ASSERT_TRUE(link_->RunWorker([&] {
    int last = -1;
    for (Step step : steps) link_->ReportProgress(step.done, step.total, last);
    return false;
  }));
  EXPECT_EQ(Await(false), (std::vector<int>{2, 4, 12, 38, 100}));
}

TEST_F(TransferTest, SilentWorkerIsCancelledAfterTheSilenceBound) {
  OpenIdle();
  ASSERT_TRUE(link_->RunWorker([this] {
    while (link_->TransferRunning()) std::this_thread::sleep_for(milliseconds(1));
    return true;  // a cancelled transfer fails whatever the worker says
  }));
  auto start = Clock::now();
  Await(false);
  auto elapsed = Clock::now() - start;
  EXPECT_GE(elapsed, milliseconds(300));
  EXPECT_LT(elapsed, milliseconds(3000));
}

TEST_F(TransferTest, WindowKeepsRunningWhileASilentWorkerIsAwaited) {
  OpenIdle();
  ASSERT_TRUE(link_->RunWorker([this] {
    while (link_->TransferRunning()) std::this_thread::sleep_for(milliseconds(1));
    return true;
  }));
  int idleRuns = 0;
  auto start = Clock::now();
  EXPECT_FALSE(link_->AwaitWorker({}, [&] { ++idleRuns; }));
  auto elapsed = Clock::now() - start;
  // The silence bound still cancels the worker, and the window ran meanwhile.
  EXPECT_GE(elapsed, milliseconds(300));
  EXPECT_LT(elapsed, milliseconds(3000));
  EXPECT_GE(idleRuns, 3);
}

TEST_F(TransferTest, CancelEndsAWorkerWaitingOnTheLineAtOnce) {
  emulator_.Faults().Arm(Fault::TruncatedReply, 1000);
  OpenIdle(1);  // 1200 baud: each missing byte is awaited for over a second
  ASSERT_TRUE(link_->RunWorker([this] {
    LinkBuffer reply{};
    while (link_->TransferRunning()) link_->SendWithRetries(MakeRequest({'m', 2}, 8), reply);
    return true;
  }));
  // The half reply has been sent: the thread now waits for the rest.
  ASSERT_TRUE(WaitUntil([&] { return emulator_.FramesAccepted() >= 1; }));
  auto start = Clock::now();
  link_->CancelTransfer();
  EXPECT_LT(Clock::now() - start, milliseconds(300));
  EXPECT_FALSE(link_->TransferRunning());
  EXPECT_FALSE(link_->AwaitWorker({}));
}

TEST_F(TransferTest, WorkerThatThrowsFailsWithABeep) {
  OpenIdle();
  ASSERT_TRUE(link_->RunWorker([]() -> bool { throw std::runtime_error("broken"); }));
  Await(false);
  EXPECT_EQ(ui_.Beeps(), std::vector<BeepKind>{BeepKind::Default});
}

TEST_F(TransferTest, SendWithRetriesTriesFiveTimesAndOnlyDuringATransfer) {
  OpenIdle();
  LinkBuffer reply{};
  EXPECT_FALSE(link_->SendWithRetries(MakeRequest({'m', 2}, 8), reply));
  EXPECT_EQ(emulator_.BytesReceived(), 0);

  emulator_.Faults().Arm(Fault::CorruptReplyCheck, 4);
  ASSERT_TRUE(link_->RunWorker([&] { return link_->SendWithRetries(MakeRequest({'m', 2}, 8), reply); }));
  Await(true);
  EXPECT_EQ(handler_.CountOf('m'), 5);
}

TEST_F(TransferTest, SendFlaggedFallsBackToThePlainRequest) {
  constexpr std::uint8_t kWrite = 0x44;
  constexpr std::uint8_t kFlaggedWrite = 0xC4;
  const LinkBuffer request = MakeRequest({kWrite, 1, 0x00, 0x10, 0xAB}, 3);
  struct Case {
    const char* name;
    bool moduleKnowsFlag;
    long flagged;
    long plain;
  };
  for (Case c : {Case{"flag understood", true, 1, 0}, Case{"flag unknown", false, 1, 1}}) {
    ScriptedHandler handler;
    // An unknown code draws a reply of the wrong length, which fails at once.
    handler.Answer(kFlaggedWrite, c.moduleKnowsFlag ? std::vector<std::uint8_t>{1, 0x00, 0x10}
                                                    : std::vector<std::uint8_t>{1, 1, 1, 1});
    handler.Answer(kWrite, std::vector<std::uint8_t>{1, 0x00, 0x10});
    ModuleEmulator module(handler);
    std::filesystem::remove(scratch_ / "ports" / "com8");
    std::filesystem::create_symlink(module.SlavePath(), scratch_ / "ports" / "com8");
    module.Start();
    Link link(ui_, texts_, TestSettings());
    ASSERT_TRUE(link.OpenLink(8, 3));
    ASSERT_TRUE(link.StopPolling());
    LinkBuffer reply{};
    ASSERT_TRUE(link.RunWorker([&] { return link.SendFlagged(request, reply); }));
    EXPECT_TRUE(link.AwaitWorker({})) << c.name;
    EXPECT_EQ(handler.CountOf(kFlaggedWrite), c.flagged) << c.name;
    EXPECT_EQ(handler.CountOf(kWrite), c.plain) << c.name;
    EXPECT_EQ(reply[2], 0x10) << c.name;
  }
}

}  // namespace
}  // namespace q5480
