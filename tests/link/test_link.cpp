// The link against the emulated module on a pseudo-terminal: single
// exchanges and every line fault with its status, the polling thread with
// its command queue, and the worker threads of the transfers. Polling runs
// with a protocol of the test's own: the module's is tested above the link.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "emulator/pty_line.h"
#include "link/link.h"
#include "link/poll_protocol.h"
#include "support/module_on_line.h"
#include "support/scratch_directory.h"
#include "support/wait_until.h"

namespace q5480 {
namespace {

using std::chrono::milliseconds;
using test_support::Bytes;
using test_support::WaitUntil;
using Clock = std::chrono::steady_clock;

constexpr int kTestPort = 7;
constexpr int kSpeed4800 = 3;
// The module's answer to "m": 25.0, 12 mA, unit 1, and the second status.
Bytes Sample(std::uint8_t status2 = 0) {
  return {0x83, 0x48, 0x00, 0x00, 0x10, 0x00, 0x01, status2};
}
LinkBuffer PollRequest() { return MakeRequest({'m', 2}, 8); }
Bytes ReplyData(const LinkBuffer& reply, std::size_t length) {
  return {reply.begin(), reply.begin() + static_cast<long>(length)};
}

// Asks as the module's polling does. Its step keeps the high half of the
// reply's last byte and counts, in the low half, the polls that found the
// sample read: what it holds shows what the link handed it.
class CountingPoll final : public PollProtocol {
 public:
  LinkBuffer Request() const override { return PollRequest(); }
  std::uint8_t Step(std::uint8_t held, const LinkBuffer& reply, bool sampleRead) const override {
    return static_cast<std::uint8_t>((reply[7] & 0xF0) | ((held + sampleRead) & 0x0F));
  }
};
const CountingPoll kPoll;

// A link whose COM 7 leads to the module through the test's ports folder.
class LinkFixture : public ::testing::Test {
 protected:
  // `baud` paces the module's line (0: no pacing).
  explicit LinkFixture(int baud = 0)
      : line_(test_support::ModuleWith(), scratch_ / "ports", kTestPort, baud),
        link_(kPoll, test_support::TestLinkSettings(scratch_ / "ports")) {
    Module().Override('m', Sample());
  }

  // The port open, polling stopped; a poll still on its way has arrived, so
  // the test counts its own requests only.
  void OpenIdle() {
    ASSERT_TRUE(link_.OpenLink(kTestPort, kSpeed4800));
    link_.StopPolling();
    ASSERT_TRUE(line_.Settle());
  }
  void AwaitSample() {
    ASSERT_TRUE(WaitUntil([&] { return link_.NewSampleEvent().IsSet() && link_.DataValid(); }));
  }
  LinkStatus RunAndAwait(Link::Worker worker) {
    EXPECT_EQ(link_.RunWorker(std::move(worker)), LinkStatus::Success);
    return link_.AwaitWorker({});
  }
  FaultInjector& Faults() { return line_.emulator.Faults(); }
  test_support::Interposer& Module() { return line_.interposer; }

  test_support::ScratchDirectory scratch_;
  test_support::ModuleOnLine line_;
  Link link_;
};

using TransactTest = LinkFixture;
using PollingTest = LinkFixture;
using TransferTest = LinkFixture;

TEST_F(TransactTest, ExchangesDeliverTheirReplyData) {
  // Data summing to a multiple of 256 makes the check byte 0xFF as well.
  Module().Override('F', Bytes{0xFF, 0xFF, 0x02});
  Module().Override('E', Bytes{});
  Module().Override('r', std::nullopt);
  OpenIdle();
  // Requests the link cannot frame never reach the line.
  EXPECT_THROW(MakeRequest(Bytes(251, 1), 0), std::invalid_argument);
  LinkBuffer reply{};
  for (std::uint8_t n : {0, 251, 255}) {
    LinkBuffer request{n, 'm'};
    EXPECT_NE(link_.Transact(request, reply), LinkStatus::Success) << int(n);
  }
  EXPECT_EQ(line_.emulator.BytesReceived(), 0);

  ASSERT_EQ(link_.Transact(PollRequest(), reply), LinkStatus::Success);
  EXPECT_EQ(ReplyData(reply, 9), (Bytes{0x83, 0x48, 0x00, 0x00, 0x10, 0x00, 0x01, 0x00, 0x23}));
  EXPECT_EQ(line_.emulator.BytesReceived(), 5);  // 0x55, n, "m", 2, check
  reply.fill(0x77);
  ASSERT_EQ(link_.Transact(MakeRequest({'E', 0, 0}, 0), reply), LinkStatus::Success);
  EXPECT_EQ(reply[0], 0);  // 0x31, 0x00 and the 0 that ends an empty reply
  ASSERT_EQ(link_.Transact(MakeRequest({'F', 0xFF, 0xFF}, 3), reply), LinkStatus::Success);
  EXPECT_EQ(ReplyData(reply, 4), (Bytes{0xFF, 0xFF, 0x02, 0xFF}));
  // No reply awaited: done once the echo is complete.
  EXPECT_EQ(link_.Transact(MakeRequest({'r'}, kNoReply), reply), LinkStatus::Success);
  ASSERT_TRUE(WaitUntil([&] { return Module().CountOf('r') == 1; }));
}

struct FaultCase {
  const char* name;
  LinkStatus status;
  std::optional<Fault> fault;  // armed for the one exchange
  std::uint8_t awaited = 8;    // the module answers 8 bytes
  milliseconds silence{0};
};

class TransactFaultTest : public LinkFixture, public ::testing::WithParamInterface<FaultCase> {};

TEST_P(TransactFaultTest, IsReportedByItsStatusAndTheNextExchangeSucceeds) {
  const FaultCase& c = GetParam();
  OpenIdle();
  if (c.fault) Faults().Arm(*c.fault);
  if (c.silence.count() > 0) Faults().SilenceFor(c.silence);
  LinkBuffer reply{};
  EXPECT_EQ(link_.Transact(MakeRequest({'m', 2}, c.awaited), reply), c.status);
  if (c.fault) { EXPECT_EQ(Faults().Armed(*c.fault), 0); }
  ASSERT_TRUE(WaitUntil([&] { return !Faults().Silent(); }));
  // The line settles before the next frame: no wait for the module here.
  EXPECT_EQ(link_.Transact(PollRequest(), reply), LinkStatus::Success);
  EXPECT_EQ(reply[0], 0x83);
}

INSTANTIATE_TEST_SUITE_P(
    LineFaults, TransactFaultTest,
    ::testing::Values(FaultCase{"NoReply", LinkStatus::TimedOut, Fault::NoReply},
                      FaultCase{"CorruptEcho", LinkStatus::NoEcho, Fault::CorruptEcho},
                      FaultCase{"CorruptReplyCheck", LinkStatus::BadReply,
                                Fault::CorruptReplyCheck},
                      FaultCase{"WrongLength", LinkStatus::BadReply, Fault::WrongLength},
                      FaultCase{"WrongStart", LinkStatus::BadReply, Fault::WrongStart},
                      FaultCase{"TruncatedReply", LinkStatus::TimedOut, Fault::TruncatedReply},
                      FaultCase{"SlowByte", LinkStatus::TimedOut, Fault::SlowByte},
                      FaultCase{"FewerBytesAwaited", LinkStatus::BadReply, std::nullopt, 7},
                      FaultCase{"MoreBytesAwaited", LinkStatus::TimedOut, std::nullopt, 9},
                      FaultCase{"Silence", LinkStatus::NoEcho, std::nullopt, 8, milliseconds(300)}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(TransactTest, ALateAnswerGivenUpOnIsNotTakenForTheNextExchangesReply) {
  Module().Override('F', Bytes{0x46, 0x01});
  OpenIdle();
  Faults().Arm(Fault::LateAnswer);
  LinkBuffer reply{};
  EXPECT_EQ(link_.Transact(PollRequest(), reply), LinkStatus::NoEcho);
  // Its echo and reply now wait on the line, unread.
  ASSERT_TRUE(WaitUntil([&] { return line_.emulator.FramesAccepted() > 0; }));
  ASSERT_EQ(link_.Transact(MakeRequest({'F', 1}, 2), reply), LinkStatus::Success);
  EXPECT_EQ(ReplyData(reply, 2), (Bytes{0x46, 0x01}));
}

TEST_F(TransactTest, BaseTimeoutFollowsTheSpeedCodeAndTheBaudRate) {
  EXPECT_EQ(link_.BaseTimeout(), milliseconds(100));  // before any port is configured
  const std::pair<int, milliseconds> speeds[] = {{1, milliseconds(1200)},
                                                 {2, milliseconds(600)},
                                                 {3, milliseconds(300)},
                                                 {4, milliseconds(150)},
                                                 {0, milliseconds(1200)}};
  for (const auto& [speedCode, timeout] : speeds) {
    ASSERT_TRUE(link_.OpenLink(kTestPort, speedCode));
    EXPECT_EQ(link_.BaseTimeout(), timeout) << speedCode;
  }
  ASSERT_TRUE(link_.ConfigurePort(19200));
  EXPECT_EQ(link_.BaseTimeout(), milliseconds(75));
  EXPECT_FALSE(link_.ConfigurePort(21));  // 68571 ms does not fit 16 bits
  link_.StopLink();
  EXPECT_EQ(link_.BaseTimeout(), milliseconds(100));
}

// At the real line speed a poll stopped in the middle leaves the module
// still answering; the next exchange must wait for it rather than talk over
// it, or every exchange after fails on the late bytes.
class PacedTransactTest : public LinkFixture {
 protected:
  PacedTransactTest() : LinkFixture(4800) {}
};

TEST_F(PacedTransactTest, AnExchangeAfterAPollStoppedMidwayGetsItsOwnReply) {
  // Start bytes inside the reply: read as an echo, they would fail the exchange.
  Module().Override('m', Bytes(8, kRequestStart));
  Module().Override('s', Bytes(19, 0x5A));
  ASSERT_TRUE(link_.OpenLink(kTestPort, kSpeed4800));
  for (int round = 0; round < 10; ++round) {
    link_.StartPolling();
    const long before = Module().CountOf('m');
    ASSERT_TRUE(WaitUntil([&] { return Module().CountOf('m') > before; }));
    // The module has the poll whole and is answering it now.
    link_.StopPolling();
    LinkBuffer reply{};
    ASSERT_EQ(link_.Transact(MakeRequest({'s', 16, 0, 16}, 19), reply), LinkStatus::Success)
        << "round " << round;
    EXPECT_EQ(reply[0], 0x5A);
  }
}

TEST(LostPort, EveryExchangeEndsAtOnceAsPortLostAndPollingWaitsForTheDeviceToComeBack) {
  test_support::ScratchDirectory scratch;
  std::filesystem::create_directory(scratch / "ports");
  auto line = std::make_unique<PtyLine>();  // no module behind it: no echo
  std::filesystem::create_symlink(line->SlavePath(), scratch / "ports" / "com7");
  Link link(kPoll, test_support::TestLinkSettings(scratch / "ports"));
  ASSERT_TRUE(link.OpenLink(kTestPort, kSpeed4800));
  ASSERT_TRUE(WaitUntil([&] { return link.LastPollStatus() == LinkStatus::NoEcho; }));
  EXPECT_TRUE(link.PollRunning());

  line->Close();  // the adapter is pulled
  ASSERT_TRUE(WaitUntil([&] { return link.PollFault(); }));
  EXPECT_TRUE(link.PortLost());
  EXPECT_EQ(link.LastPollStatus(), LinkStatus::PortLost);
  link.StopPolling();
  LinkBuffer reply{};
  EXPECT_EQ(link.Transact(PollRequest(), reply), LinkStatus::PortLost);
  EXPECT_EQ(link.SendCommand(PollRequest()), LinkStatus::PortLost);
  // Polling started on a lost port tells of the loss at once and asks
  // nothing until the device is back.
  link.StartPolling();
  EXPECT_TRUE(link.PollFault());

  line->Open();  // back under the same name
  std::filesystem::remove(scratch / "ports" / "com7");
  std::filesystem::create_symlink(line->SlavePath(), scratch / "ports" / "com7");
  ASSERT_TRUE(WaitUntil([&] { return link.LastPollStatus() == LinkStatus::NoEcho; }));
  EXPECT_FALSE(link.PollFault());
  EXPECT_FALSE(link.PortLost());
}

TEST_F(PollingTest, SamplesFlowIntoTheLastSampleBufferAndThroughTheProtocolsStep) {
  Module().Override('m', Sample(0x60));
  ASSERT_TRUE(link_.OpenLink(kTestPort, kSpeed4800));
  AwaitSample();
  EXPECT_TRUE(link_.LinkStarted());
  EXPECT_EQ(link_.LastPollStatus(), LinkStatus::Success);
  EXPECT_EQ(ReplyData(link_.LastSample(), 8), Sample(0x60));
  // Only the first poll finds the sample read (nobody has read one yet).
  ASSERT_TRUE(WaitUntil([&] { return link_.SamplesTaken() >= 3; }));
  EXPECT_EQ(link_.HeldStatus(), 0x61);
  // Each new sample is unread until a window reads it; the next step is
  // told, and carries on from what it held.
  link_.SetSampleRead();
  ASSERT_TRUE(WaitUntil([&] { return (link_.HeldStatus() & 0x0F) == 2; }));
  ASSERT_TRUE(WaitUntil([&] { return !link_.SampleRead(); }));
  Module().Override('m', Sample(0x20));
  ASSERT_TRUE(WaitUntil([&] { return link_.HeldStatus() == 0x22; }));
}

TEST_F(PollingTest, QueuedCommandGoesOutBetweenPollsAndAFailureIsReportedOnce) {
  constexpr std::uint8_t kQueued = 'Q';
  Module().Override(kQueued, Bytes{});
  OpenIdle();
  EXPECT_EQ(link_.QueueCommand(MakeRequest({kQueued}, 0)), QueueResult::NotReady) << "no sample";
  link_.StartPolling();
  AwaitSample();
  ASSERT_EQ(link_.QueueCommand(MakeRequest({kQueued, 1, 2}, 0)), QueueResult::Queued);
  ASSERT_TRUE(link_.CommandDoneEvent().WaitFor(test_support::kGenerousBound));
  EXPECT_TRUE(link_.CommandOk());
  EXPECT_EQ(Module().CountOf(kQueued), 1);
  EXPECT_FALSE(link_.TakeCommandFailure());

  // A command the module never answers stays pending through four tries.
  link_.CommandDoneEvent().Reset();
  Module().Override(kQueued, std::nullopt);
  ASSERT_TRUE(WaitUntil(
      [&] { return link_.QueueCommand(MakeRequest({kQueued}, 0)) == QueueResult::Queued; }));
  EXPECT_EQ(link_.QueueCommand(MakeRequest({kQueued, 9}, 0)), QueueResult::Pending);
  ASSERT_TRUE(WaitUntil([&] { return !link_.CommandPending(); }));
  EXPECT_EQ(Module().CountOf(kQueued), 1 + 4);
  EXPECT_FALSE(link_.CommandDoneEvent().IsSet());
  EXPECT_TRUE(link_.TakeCommandFailure());
  EXPECT_FALSE(link_.TakeCommandFailure());
}

TEST_F(PollingTest, StartingTwiceKeepsOneThreadAndStopWaitsForItsEnd) {
  ASSERT_TRUE(link_.OpenLink(kTestPort, kSpeed4800));
  AwaitSample();
  // A second thread would replace the first one's handle while it runs.
  link_.StartPolling();
  link_.StopPolling();
  EXPECT_FALSE(link_.LinkStarted());
  EXPECT_FALSE(link_.DataValid());
  EXPECT_FALSE(link_.PollRunning());
  // Nothing polls any more: the module hears nothing after the stop.
  ASSERT_TRUE(line_.Settle());
  LinkBuffer reply{};
  EXPECT_EQ(link_.Transact(PollRequest(), reply), LinkStatus::Success);
  EXPECT_EQ(Module().CountOf('m'), 1);
}

TEST_F(PollingTest, StopLinkReleasesThePortForTheNextOpen) {
  ASSERT_TRUE(link_.OpenLink(kTestPort, kSpeed4800));
  Link other(kPoll, test_support::TestLinkSettings(scratch_ / "ports"));
  EXPECT_FALSE(other.OpenLink(kTestPort, kSpeed4800)) << "the port is held exclusively";
  link_.StopLink();
  EXPECT_FALSE(link_.PortOpen());
  EXPECT_FALSE(link_.LinkStarted());
  link_.StartPolling();  // no port: nothing to poll
  EXPECT_FALSE(link_.PollRunning());
  EXPECT_TRUE(other.OpenLink(kTestPort, kSpeed4800));
  other.StopLink();

  ASSERT_TRUE(link_.OpenLink(kTestPort, kSpeed4800));
  link_.NewSampleEvent().Reset();
  EXPECT_TRUE(link_.NewSampleEvent().WaitFor(test_support::kGenerousBound));
  EXPECT_FALSE(link_.OpenLink(31, kSpeed4800));  // no such port in the test tree
}

// A worker that waits, without a word, until it is cancelled; a cancelled
// transfer fails whatever the worker says.
LinkStatus Silent(const Link& link) {
  while (link.TransferRunning()) std::this_thread::sleep_for(milliseconds(1));
  return LinkStatus::Success;
}

TEST_F(TransferTest, ProgressIsRoundedHalfToEvenAndSignalledOnlyWhenItChanges) {
  const std::pair<long, long> steps[] = {{5, 200}, {7, 200}, {1, 8}, {1, 8}, {3, 8}, {300, 200}};
  ASSERT_EQ(link_.RunWorker([&] {
    int last = -1;
    for (auto [done, total] : steps) link_.ReportProgress(done, total, last);
    return LinkStatus::BadReply;
  }),
            LinkStatus::Success);
  std::vector<int> seen;
  EXPECT_EQ(link_.AwaitWorker([&](int percent) { seen.push_back(percent); }), LinkStatus::BadReply);
  // The worker's end signals once more; the window may have left by then.
  if (seen.size() >= 2 && seen.back() == seen[seen.size() - 2]) seen.pop_back();
  EXPECT_EQ(seen, (std::vector<int>{2, 4, 12, 38, 100}));
}

TEST_F(TransferTest, OneTransferAtATime) {
  ASSERT_EQ(link_.RunWorker([this] { return Silent(link_); }), LinkStatus::Success);
  EXPECT_EQ(link_.RunWorker([] { return LinkStatus::Success; }), LinkStatus::Busy);
  link_.CancelTransfer();
  EXPECT_EQ(link_.AwaitWorker({}), LinkStatus::Aborted);  // whatever the worker said
  // A worker that throws ends its transfer as failed and frees the link.
  EXPECT_EQ(RunAndAwait([]() -> LinkStatus { throw std::runtime_error("broken"); }),
            LinkStatus::Aborted);
  EXPECT_EQ(RunAndAwait([] { return LinkStatus::BadReply; }), LinkStatus::BadReply);
}

TEST(SilentWorker, IsCancelledAfterTheSilenceBoundWhileTheWindowRuns) {
  test_support::ScratchDirectory scratch;
  LinkSettings settings = test_support::TestLinkSettings(scratch / "ports");
  settings.workerSilenceBound = milliseconds(300);
  Link link(kPoll, settings);
  ASSERT_EQ(link.RunWorker([&] { return Silent(link); }), LinkStatus::Success);
  int idleRuns = 0;
  const auto start = Clock::now();
  EXPECT_EQ(link.AwaitWorker({}, [&] { ++idleRuns; }), LinkStatus::TimedOut);
  EXPECT_GE(Clock::now() - start, milliseconds(300));
  EXPECT_GT(idleRuns, 0) << "the window ran meanwhile";
  EXPECT_FALSE(link.TransferRunning());
}

TEST_F(TransferTest, CancelEndsAWorkerWaitingOnTheLineOrInAPauseAtOnce) {
  OpenIdle();
  Faults().SetSlowByteDelay(std::chrono::minutes(1));
  Faults().Arm(Fault::SlowByte, 1000);
  ASSERT_EQ(link_.RunWorker([this] {
    LinkBuffer reply{};
    while (link_.TransferRunning()) link_.SendWithRetries(PollRequest(), reply);
    // A worker's pauses end on the cancel as well.
    return link_.Pause(std::chrono::minutes(1)) ? LinkStatus::Success : LinkStatus::Aborted;
  }),
            LinkStatus::Success);
  ASSERT_TRUE(WaitUntil([&] { return Module().CountOf('m') >= 1; }));
  const auto start = Clock::now();
  link_.CancelTransfer();
  EXPECT_FALSE(link_.TransferRunning());
  EXPECT_EQ(link_.AwaitWorker({}), LinkStatus::Aborted);
  // Far less than the minute that the line or the pause would take.
  EXPECT_LT(Clock::now() - start, test_support::kGenerousBound);
  Faults().Clear();
}

TEST_F(TransferTest, SendsTryFiveTimesAndAFlaggedWriteFallsBackToThePlainRequest) {
  OpenIdle();
  LinkBuffer reply{};
  // Outside a transfer a worker's send goes nowhere.
  EXPECT_EQ(link_.SendWithRetries(PollRequest(), reply), LinkStatus::Aborted);
  EXPECT_EQ(line_.emulator.BytesReceived(), 0);
  Faults().Arm(Fault::CorruptReplyCheck, 4);
  EXPECT_EQ(RunAndAwait([&] { return link_.SendWithRetries(PollRequest(), reply); }),
            LinkStatus::Success);
  Faults().Arm(Fault::CorruptReplyCheck, 4);
  EXPECT_EQ(link_.SendCommand(PollRequest()), LinkStatus::Success);
  EXPECT_EQ(link_.CommandReply()[0], 0x83);
  Faults().Arm(Fault::CorruptReplyCheck, 5);
  EXPECT_EQ(link_.SendCommand(PollRequest()), LinkStatus::BadReply);
  EXPECT_EQ(Module().CountOf('m'), 5 + 10);

  // A flagged write that fails goes out again plain.
  Module().Override('D', Bytes{1, 0x00, 0x10});
  for (bool flagFails : {false, true}) {
    Module().ClearRequests();
    if (flagFails) Faults().Arm(Fault::WrongLength);
    reply.fill(0);
    EXPECT_EQ(RunAndAwait([&] {
                return link_.SendFlagged(MakeRequest({'D', 1, 0x00, 0x10, 0xAB}, 3), reply);
              }),
              LinkStatus::Success);
    Bytes codes;
    for (const Bytes& sent : Module().Requests()) codes.push_back(sent[0]);
    EXPECT_EQ(codes, flagFails ? (Bytes{0xC4, 'D'}) : Bytes{0xC4}) << flagFails;
    EXPECT_EQ(reply[2], 0x10) << flagFails;
  }
}

}  // namespace
}  // namespace q5480
