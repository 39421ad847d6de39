// The polling thread: samples, the held status bits, the one-slot command
// queue, and starting and stopping it.
#include <gtest/gtest.h>

#include <chrono>
#include <vector>

#include "link/status_latch.h"
#include "link_fixture.h"

namespace q5480 {
namespace {

using std::chrono::milliseconds;

constexpr std::uint8_t kQueued = 'Q';

TEST(StatusLatchTest, BitsAreHeldForOnePollUnlessTheSampleWasRead) {
  struct Poll {
    std::uint8_t status2;
    bool sampleRead;  // a window read the sample before this poll
    bool newAverage;  // expected after it
    bool largeError;
  };
  struct Case {
    const char* name;
    std::vector<Poll> polls;
  };
  const Case cases[] = {
      {"unread bit is held one more poll",
       {{0x20, true, true, false}, {0x00, false, true, false}, {0x00, false, false, false}}},
      {"both bits, released independently of each other",
       {{0x60, true, true, true}, {0x20, false, true, true}, {0x00, true, false, false}}},
      {"bit that stays set stays reported",
       {{0x20, true, true, false}, {0x20, true, true, false}, {0x20, false, true, false}}},
      {"other status bits are ignored", {{0x9F, true, false, false}, {0x00, false, false, false}}},
  };
  for (const Case& c : cases) {
    LatchedStatus state;
    for (std::size_t i = 0; i < c.polls.size(); ++i) {
      const Poll& poll = c.polls[i];
      state = LatchStatus(state, poll.status2, poll.sampleRead);
      EXPECT_EQ(state.newAverage, poll.newAverage) << c.name << ", poll " << i;
      EXPECT_EQ(state.largeError, poll.largeError) << c.name << ", poll " << i;
      EXPECT_EQ(state.keepLatched, poll.sampleRead) << c.name << ", poll " << i;
    }
  }
}

class PollingTest : public LinkFixture {
 protected:
  // The port open, the thread polling and ready to take a command.
  void OpenPolling() {
    ASSERT_TRUE(link_->OpenLink(kTestPort, kSpeed4800));
    ASSERT_TRUE(WaitUntil([&] { return link_->NewSampleEvent().IsSet() && link_->DataValid(); }));
  }
};

TEST_F(PollingTest, SamplesFlowIntoTheLastSampleBufferAndTheStatusBitsAreHeld) {
  handler_.SetStatus2(0x60);
  OpenPolling();
  EXPECT_TRUE(link_->LinkStarted());
  EXPECT_EQ(link_->LastPollStatus(), LinkStatus::Success);
  LinkBuffer sample = link_->LastSample();
  EXPECT_EQ(std::vector<std::uint8_t>(sample.begin(), sample.begin() + 6),
            (std::vector<std::uint8_t>{0x83, 0x48, 0x00, 0x00, 0x10, 0x00}));
  ASSERT_TRUE(WaitUntil([&] { return link_->NewAverage() && link_->LargeError(); }));
  handler_.SetStatus2(0x20);
  ASSERT_TRUE(WaitUntil([&] {
    link_->SetSampleRead();
    return link_->NewAverage() && !link_->LargeError();
  }));
  handler_.SetStatus2(0x00);
  ASSERT_TRUE(WaitUntil([&] { return !link_->NewAverage(); }));
  // Each new sample is unread until a window reads it.
  link_->SetSampleRead();
  ASSERT_TRUE(WaitUntil([&] { return !link_->SampleRead(); }));
}

TEST_F(PollingTest, QueuedCommandIsSentBetweenPollsAndRefusedWhileOneIsPending) {
  handler_.Answer(kQueued, std::vector<std::uint8_t>{});
  OpenPolling();
  ASSERT_EQ(link_->QueueCommand(MakeRequest({kQueued, 1, 2}, 0)), QueueResult::Queued);
  ASSERT_TRUE(link_->CommandDoneEvent().WaitFor(test_support::kGenerousBound));
  EXPECT_TRUE(link_->CommandOk());
  EXPECT_EQ(handler_.CountOf(kQueued), 1);
  EXPECT_FALSE(link_->TakeCommandFailure());

  handler_.Answer(kQueued, std::nullopt);  // pending while its reply is awaited
  ASSERT_TRUE(WaitUntil(
      [&] { return link_->QueueCommand(MakeRequest({kQueued}, 0)) == QueueResult::Queued; }));
  EXPECT_EQ(link_->QueueCommand(MakeRequest({kQueued, 9}, 0)), QueueResult::Pending);
}

TEST_F(PollingTest, FailingQueuedCommandIsTriedFourTimesAndReportedOnce) {
  // A reply of the wrong length fails each attempt quickly.
  handler_.Answer(kQueued, std::vector<std::uint8_t>{1, 2});
  OpenPolling();
  ASSERT_EQ(link_->QueueCommand(MakeRequest({kQueued}, 0)), QueueResult::Queued);
  ASSERT_TRUE(WaitUntil([&] { return !link_->CommandPending(); }));
  EXPECT_EQ(handler_.CountOf(kQueued), 4);
  EXPECT_FALSE(link_->CommandDoneEvent().IsSet());
  EXPECT_TRUE(link_->TakeCommandFailure());
  EXPECT_FALSE(link_->TakeCommandFailure());
}

TEST_F(PollingTest, QueueRefusesWithoutAValidSample) {
  OpenIdle();
  EXPECT_EQ(link_->QueueCommand(MakeRequest({kQueued}, 0)), QueueResult::NotReady);
}

TEST_F(PollingTest, StartingTwiceKeepsOneThreadAndStopWaitsForItsEnd) {
  OpenPolling();
  // A second thread would replace the first one's handle while it runs.
  link_->StartPolling();
  link_->StopPolling();
  EXPECT_FALSE(link_->LinkStarted());
  EXPECT_FALSE(link_->DataValid());
  EXPECT_FALSE(link_->PollRunning());
  // Nothing polls any more: the module hears nothing after the stop.
  ASSERT_TRUE(emulator_.SettleAndResetCounts(milliseconds(20), std::chrono::seconds(5)));
  handler_.ClearRequests();
  LinkBuffer reply{};
  EXPECT_EQ(link_->Transact(MakeRequest({'m', 2}, 8), reply), LinkStatus::Success);
  EXPECT_EQ(handler_.CountOf('m'), 1);
}

TEST_F(PollingTest, StopLinkReleasesThePortForTheNextOpen) {
  OpenPolling();
  // The port is held exclusively.
  Link other(TestLinkSettings(scratch_.Path()));
  EXPECT_FALSE(other.OpenLink(kTestPort, kSpeed4800));

  link_->StopLink();
  EXPECT_FALSE(link_->PortOpen());
  EXPECT_FALSE(link_->LinkStarted());
  link_->StartPolling();  // no port: nothing to poll
  EXPECT_FALSE(link_->PollRunning());

  ASSERT_TRUE(link_->OpenLink(kTestPort, kSpeed4800));
  link_->NewSampleEvent().Reset();
  EXPECT_TRUE(link_->NewSampleEvent().WaitFor(test_support::kGenerousBound));
  EXPECT_FALSE(link_->OpenLink(31, kSpeed4800));  // no such port in the test tree
}

}  // namespace
}  // namespace q5480
