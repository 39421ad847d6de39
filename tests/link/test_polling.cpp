// The polling thread: samples, the held status bits, the one-slot command
// queue and stopping it while it waits on the line.
#include <gtest/gtest.h>

#include <chrono>
#include <vector>

#include "link/status_latch.h"
#include "link_fixture.h"

namespace q5480 {
namespace {

using std::chrono::milliseconds;
using Clock = std::chrono::steady_clock;

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
      {"a read sample releases the bit",
       {{0x40, true, false, true}, {0x00, true, false, false}}},
      {"both bits, released independently of each other",
       {{0x60, true, true, true}, {0x20, false, true, true}, {0x00, true, false, false}}},
      {"bit that stays set stays reported",
       {{0x20, true, true, false}, {0x20, true, true, false}, {0x20, false, true, false}}},
      {"other status bits are ignored",
       {{0x9F, true, false, false}, {0x00, false, false, false}}},
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
  // Waits until the thread has polled successfully and can take a command.
  void WaitForFirstSample() {
    ASSERT_TRUE(WaitUntil([&] { return link_->NewSampleEvent().IsSet() && link_->DataValid(); }));
  }
};

TEST_F(PollingTest, SamplesFlowIntoTheLastSampleBuffer) {
  ASSERT_TRUE(link_->OpenLink(kTestPort, 3));
  EXPECT_TRUE(link_->LinkStarted());
  WaitForFirstSample();
  EXPECT_TRUE(WaitUntil([&] { return link_->FirstTryEvent().IsSet(); }));
  LinkBuffer sample = link_->LastSample();
  EXPECT_EQ(std::vector<std::uint8_t>(sample.begin(), sample.begin() + 8),
            (std::vector<std::uint8_t>{0x83, 0x48, 0x00, 0x00, 0x10, 0x00, 0x01, 0x00}));

  // The thread keeps polling and marks each new sample unread.
  link_->SetSampleRead();
  link_->NewSampleEvent().Reset();
  long before = handler_.CountOf('m');
  // The event may first come from a poll already on the line when the count
  // was taken; wait for one asked for afterwards.
  ASSERT_TRUE(WaitUntil(
      [&] { return link_->NewSampleEvent().IsSet() && handler_.CountOf('m') > before; }));
  EXPECT_FALSE(link_->SampleRead());
}

TEST_F(PollingTest, StatusBitsReachTheHeldFlagsAndAreReleased) {
  handler_.SetStatus2(0x60);
  ASSERT_TRUE(link_->OpenLink(kTestPort, 3));
  ASSERT_TRUE(WaitUntil([&] { return link_->NewAverage() && link_->LargeError(); }));
  handler_.SetStatus2(0x20);
  ASSERT_TRUE(WaitUntil([&] {
    link_->SetSampleRead();
    return link_->NewAverage() && !link_->LargeError();
  }));
  handler_.SetStatus2(0x00);
  ASSERT_TRUE(WaitUntil([&] { return !link_->NewAverage(); }));
}

TEST_F(PollingTest, QueuedCommandIsSentBetweenPolls) {
  handler_.Answer(kQueued, std::vector<std::uint8_t>{});
  ASSERT_TRUE(link_->OpenLink(kTestPort, 3));
  WaitForFirstSample();
  ASSERT_TRUE(link_->QueueCommand(MakeRequest({kQueued, 1, 2}, 0)));
  ASSERT_TRUE(link_->CommandDoneEvent().WaitFor(milliseconds(5000)));
  EXPECT_TRUE(link_->CommandOk());
  EXPECT_FALSE(link_->CommandPending());
  EXPECT_EQ(handler_.CountOf(kQueued), 1);
  // Polling goes on afterwards.
  link_->NewSampleEvent().Reset();
  EXPECT_TRUE(link_->NewSampleEvent().WaitFor(milliseconds(5000)));
  EXPECT_TRUE(ui_.Beeps().empty());
}

TEST_F(PollingTest, FailingQueuedCommandIsTriedFourTimesAndReportedOnce) {
  // A reply of the wrong length fails each attempt quickly.
  handler_.Answer(kQueued, std::vector<std::uint8_t>{1, 2});
  ASSERT_TRUE(link_->OpenLink(kTestPort, 3));
  WaitForFirstSample();
  ASSERT_TRUE(link_->QueueCommand(MakeRequest({kQueued}, 0)));
  ASSERT_TRUE(WaitUntil([&] { return !link_->CommandPending(); }));
  EXPECT_EQ(handler_.CountOf(kQueued), 4);
  EXPECT_FALSE(link_->CommandOk());
  EXPECT_FALSE(link_->CommandDoneEvent().IsSet());

  link_->CheckCommandFailed();
  link_->CheckCommandFailed();
  EXPECT_EQ(ui_.Messages(), std::vector<std::string>{"Q5480.exe: Command failed!"});
  EXPECT_EQ(ui_.Beeps(), std::vector<BeepKind>{BeepKind::Warning});
  EXPECT_TRUE(link_->CommandOk());
}

TEST_F(PollingTest, SecondQueuedCommandIsRefusedWhileOneIsPending) {
  handler_.Answer(kQueued, std::nullopt);  // pending while its reply is awaited
  ASSERT_TRUE(link_->OpenLink(kTestPort, 3));
  WaitForFirstSample();
  ASSERT_TRUE(link_->QueueCommand(MakeRequest({kQueued}, 0)));
  EXPECT_FALSE(link_->QueueCommand(MakeRequest({kQueued, 9}, 0)));
  EXPECT_EQ(ui_.Beeps().size(), 1u);
  EXPECT_TRUE(link_->CommandPending());
}

TEST_F(PollingTest, QueueRefusesWithoutAValidSample) {
  OpenIdle();
  EXPECT_FALSE(link_->QueueCommand(MakeRequest({kQueued}, 0)));
  EXPECT_EQ(ui_.Beeps(), std::vector<BeepKind>{BeepKind::Default});
}

TEST_F(PollingTest, StopPollingEndsALongLineWaitAtOnce) {
  // At 1200 baud each byte may take 1224 ms; a reply that stops half way
  // keeps the thread in such waits.
  emulator_.Faults().Arm(Fault::TruncatedReply, 1000);
  ASSERT_TRUE(link_->OpenLink(kTestPort, 1));
  // The half reply has been sent: the thread now waits for the rest.
  ASSERT_TRUE(WaitUntil([&] { return emulator_.FramesAccepted() >= 1; }));
  auto start = Clock::now();
  EXPECT_TRUE(link_->StopPolling());
  EXPECT_LT(Clock::now() - start, milliseconds(300));
  EXPECT_FALSE(link_->LinkStarted());
  EXPECT_FALSE(link_->DataValid());
  EXPECT_FALSE(link_->PollRunning());
}

TEST_F(PollingTest, StopLinkReleasesThePortForTheNextOpen) {
  ASSERT_TRUE(link_->OpenLink(kTestPort, 3));
  WaitForFirstSample();
  // The port is held exclusively.
  Link other(ui_, texts_, TestSettings());
  EXPECT_FALSE(other.OpenLink(kTestPort, 3));

  auto start = Clock::now();
  EXPECT_TRUE(link_->StopPolling());
  link_->StopLink();
  EXPECT_LT(Clock::now() - start, milliseconds(1000));
  EXPECT_FALSE(link_->PortOpen());
  EXPECT_TRUE(link_->StopPolling());  // nothing left to stop

  ASSERT_TRUE(link_->OpenLink(kTestPort, 3));
  link_->NewSampleEvent().Reset();
  EXPECT_TRUE(link_->NewSampleEvent().WaitFor(milliseconds(5000)));
}

TEST_F(PollingTest, PortThatDoesNotExistFailsToOpen) {
  EXPECT_FALSE(link_->OpenLink(31, 3));  // no ports-folder link, no device in the test tree
  EXPECT_FALSE(link_->LinkStarted());
  EXPECT_FALSE(link_->PortOpen());
}

}  // namespace
}  // namespace q5480
