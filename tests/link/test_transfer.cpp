// Worker threads: the progress handshake with the waiting window, silence,
// cancellation, and the retrying sends that workers use.
#include <gtest/gtest.h>

#include <chrono>
#include <stdexcept>
#include <thread>
#include <vector>

#include "link_fixture.h"

namespace q5480 {
namespace {

using std::chrono::milliseconds;
using Clock = std::chrono::steady_clock;

class TransferTest : public LinkFixture {
 protected:
  std::vector<int> Await(LinkStatus expected) {
    std::vector<int> seen;
    EXPECT_EQ(link_->AwaitWorker([&](int percent) { seen.push_back(percent); }), expected);
    EXPECT_FALSE(link_->TransferRunning());
    // The worker's end signals once more; the window may have left by then.
    if (seen.size() >= 2 && seen.back() == seen[seen.size() - 2]) seen.pop_back();
    return seen;
  }
  // A worker that waits, without a word, until it is cancelled.
  LinkStatus Silent() {
    while (link_->TransferRunning()) std::this_thread::sleep_for(milliseconds(1));
    return LinkStatus::Success;  // a cancelled transfer fails whatever the worker says
  }
};

TEST_F(TransferTest, ProgressIsRoundedHalfToEvenAndSignalledOnlyWhenItChanges) {
  OpenIdle();
  struct Step {
    long done;
    long total;
  };
  const std::vector<Step> steps = {{5, 200}, {7, 200}, {1, 8}, {1, 8}, {3, 8}, {300, 200}};
  ASSERT_EQ(link_->RunWorker([&] {
    int last = -1;
    for (Step step : steps) link_->ReportProgress(step.done, step.total, last);
    return LinkStatus::BadReply;
  }), LinkStatus::Success);
  EXPECT_EQ(Await(LinkStatus::BadReply), (std::vector<int>{2, 4, 12, 38, 100}));
}

TEST_F(TransferTest, OneTransferAtATime) {
  OpenIdle();
  ASSERT_EQ(link_->RunWorker([this] { return Silent(); }), LinkStatus::Success);
  EXPECT_EQ(link_->RunWorker([] { return LinkStatus::Success; }), LinkStatus::Busy);
  link_->CancelTransfer();
  EXPECT_EQ(link_->AwaitWorker({}), LinkStatus::Aborted);  // whatever the worker said
}

TEST_F(TransferTest, SilentWorkerIsCancelledAfterTheSilenceBoundWhileTheWindowRuns) {
  OpenIdle();
  ASSERT_EQ(link_->RunWorker([this] { return Silent(); }), LinkStatus::Success);
  int idleRuns = 0;
  const auto start = Clock::now();
  EXPECT_EQ(link_->AwaitWorker({}, [&] { ++idleRuns; }), LinkStatus::TimedOut);
  EXPECT_GE(Clock::now() - start, milliseconds(300));
  EXPECT_GE(idleRuns, 3);
  EXPECT_FALSE(link_->TransferRunning());
}

TEST_F(TransferTest, CancelEndsAWorkerWaitingOnTheLineOrInAPauseAtOnce) {
  emulator_.Faults().SetSlowByteDelay(std::chrono::minutes(1));
  emulator_.Faults().Arm(Fault::SlowByte, 1000);
  OpenIdle();
  ASSERT_EQ(link_->RunWorker([this] {
    LinkBuffer reply{};
    while (link_->TransferRunning()) link_->SendWithRetries(MakeRequest({'m', 2}, 8), reply);
    // A worker's pauses end on the cancel as well.
    return link_->Pause(std::chrono::minutes(1)) ? LinkStatus::Success : LinkStatus::Aborted;
  }), LinkStatus::Success);
  ASSERT_TRUE(WaitUntil([&] { return handler_.CountOf('m') >= 1; }));
  const auto start = Clock::now();
  link_->CancelTransfer();
  EXPECT_LT(Clock::now() - start, std::chrono::seconds(20));
  EXPECT_FALSE(link_->TransferRunning());
  EXPECT_EQ(link_->AwaitWorker({}), LinkStatus::Aborted);
  emulator_.Faults().Clear();
}

TEST_F(TransferTest, WorkerThatThrowsEndsTheTransferAsFailed) {
  OpenIdle();
  ASSERT_EQ(link_->RunWorker([]() -> LinkStatus { throw std::runtime_error("broken"); }),
            LinkStatus::Success);
  Await(LinkStatus::Aborted);
}

TEST_F(TransferTest, SendWithRetriesTriesFiveTimesAndOnlyDuringATransfer) {
  OpenIdle();
  LinkBuffer reply{};
  EXPECT_EQ(link_->SendWithRetries(MakeRequest({'m', 2}, 8), reply), LinkStatus::Aborted);
  EXPECT_EQ(emulator_.BytesReceived(), 0);

  emulator_.Faults().Arm(Fault::CorruptReplyCheck, 4);
  ASSERT_EQ(link_->RunWorker([&] { return link_->SendWithRetries(MakeRequest({'m', 2}, 8), reply); }),
            LinkStatus::Success);
  Await(LinkStatus::Success);
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
    // An unknown code draws a reply of the wrong length, which fails at once.
    handler_.Answer(kFlaggedWrite, c.moduleKnowsFlag ? std::vector<std::uint8_t>{1, 0x00, 0x10}
                                                     : std::vector<std::uint8_t>{1, 1, 1, 1});
    handler_.Answer(kWrite, std::vector<std::uint8_t>{1, 0x00, 0x10});
    OpenIdle();
    LinkBuffer reply{};
    ASSERT_EQ(link_->RunWorker([&] { return link_->SendFlagged(request, reply); }), LinkStatus::Success);
    EXPECT_EQ(link_->AwaitWorker({}), LinkStatus::Success) << c.name;
    EXPECT_EQ(handler_.CountOf(kFlaggedWrite), c.flagged) << c.name;
    EXPECT_EQ(handler_.CountOf(kWrite), c.plain) << c.name;
    EXPECT_EQ(reply[2], 0x10) << c.name;
  }
}

}  // namespace
}  // namespace q5480
