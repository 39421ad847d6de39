// Single exchanges against the emulated module: framing, echo, reply checks
// and every line fault with the status it is reported by, each followed by
// an exchange that succeeds.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include <vector>

#include "emulator/pty_line.h"
#include "link_fixture.h"

namespace q5480 {
namespace {

using std::chrono::milliseconds;
using Clock = std::chrono::steady_clock;

constexpr std::uint8_t kSampleReply[] = {0x83, 0x48, 0x00, 0x00, 0x10, 0x00, 0x01, 0x00};

LinkBuffer PollRequest() { return MakeRequest({'m', 2}, 8); }

std::vector<std::uint8_t> ReplyData(const LinkBuffer& reply, std::size_t length) {
  return {reply.begin(), reply.begin() + static_cast<long>(length)};
}

TEST(Framing, CheckByteAndRequestLayout) {
  struct Case {
    std::vector<std::uint8_t> data;
    std::uint8_t check;
  };
  for (const Case& c : {Case{{0x72}, 0x8D}, Case{{'m', 2}, 0x90}, Case{{0xFF, 0x01}, 0xFF},
                        Case{{0x80, 0x80, 0xFF}, 0x00}, Case{{}, 0xFF}}) {
    EXPECT_EQ(CheckByte(c.data), c.check) << c.data.size();
  }
  LinkBuffer request = MakeRequest({'s', 16, 0x04, 0x00}, 19);
  EXPECT_EQ((std::vector<int>{request[0], request[1], request[4], request[5]}),
            (std::vector<int>{4, 's', 0x00, 19}));
  EXPECT_THROW(MakeRequest(std::vector<std::uint8_t>{}, 0), std::invalid_argument);
  EXPECT_THROW(MakeRequest(std::vector<std::uint8_t>(251, 1), 0), std::invalid_argument);
}

using TransactTest = LinkFixture;

TEST_F(TransactTest, ExchangesDeliverTheirReplyData) {
  handler_.Answer(0xEF, std::vector<std::uint8_t>{});
  // Data summing to a multiple of 256 makes the check byte 0xFF as well.
  handler_.Answer('F', std::vector<std::uint8_t>{0xFF, 0xFF, 0x02});
  handler_.Answer('r', std::nullopt);
  OpenIdle();
  LinkBuffer reply{};
  ASSERT_EQ(link_->Transact(PollRequest(), reply), LinkStatus::Success);
  const std::vector<std::uint8_t> sample(std::begin(kSampleReply), std::end(kSampleReply));
  EXPECT_EQ(ReplyData(reply, 8), sample);
  EXPECT_EQ(reply[8], CheckByte(sample));
  EXPECT_EQ(emulator_.BytesReceived(), 5);  // 0x55, n, "m", 2, check

  reply.fill(0x77);
  ASSERT_EQ(link_->Transact(MakeRequest({0xEF, 0, 0}, 0), reply), LinkStatus::Success);
  EXPECT_EQ(reply[0], 0);  // 0x31, 0x00 and the 0 that ends an empty reply
  ASSERT_EQ(link_->Transact(MakeRequest({'F', 0xFF, 0xFF}, 3), reply), LinkStatus::Success);
  EXPECT_EQ(ReplyData(reply, 4), (std::vector<std::uint8_t>{0xFF, 0xFF, 0x02, 0xFF}));
  // No reply awaited: done once the echo is complete (a reply would be
  // awaited for 300 ms).
  EXPECT_EQ(link_->Transact(MakeRequest({'r'}, kNoReply), reply), LinkStatus::Success);
  ASSERT_TRUE(WaitUntil([&] { return handler_.CountOf('r') == 1; }));
}

TEST_F(TransactTest, RequestsTheLinkCannotFrameNeverReachTheLine) {
  OpenIdle();
  for (std::uint8_t n : {0, 251, 255}) {
    LinkBuffer request{};
    request[0] = n;
    request[1] = 'm';
    LinkBuffer reply{};
    EXPECT_NE(link_->Transact(request, reply), LinkStatus::Success) << int(n);
  }
  EXPECT_EQ(emulator_.BytesReceived(), 0);
}

struct FaultCase {
  const char* name;
  Fault fault;
  LinkStatus status;
};

class TransactFaultTest : public LinkFixture, public ::testing::WithParamInterface<FaultCase> {};

TEST_P(TransactFaultTest, IsReportedByItsStatusAndTheNextExchangeSucceeds) {
  OpenIdle();
  const FaultCase& c = GetParam();
  emulator_.Faults().Arm(c.fault);
  LinkBuffer reply{};
  EXPECT_EQ(link_->Transact(PollRequest(), reply), c.status);
  EXPECT_EQ(emulator_.Faults().Armed(c.fault), 0);
  // The line settles before the next frame: no wait for the module here.
  EXPECT_EQ(link_->Transact(PollRequest(), reply), LinkStatus::Success);
  EXPECT_EQ(reply[0], 0x83);
}

INSTANTIATE_TEST_SUITE_P(
    LineFaults, TransactFaultTest,
    ::testing::Values(FaultCase{"NoReply", Fault::NoReply, LinkStatus::TimedOut},
                      FaultCase{"CorruptEcho", Fault::CorruptEcho, LinkStatus::NoEcho},
                      FaultCase{"CorruptReplyCheck", Fault::CorruptReplyCheck, LinkStatus::BadReply},
                      FaultCase{"WrongLength", Fault::WrongLength, LinkStatus::BadReply},
                      FaultCase{"WrongStart", Fault::WrongStart, LinkStatus::BadReply},
                      FaultCase{"TruncatedReply", Fault::TruncatedReply, LinkStatus::TimedOut},
                      FaultCase{"SlowByte", Fault::SlowByte, LinkStatus::TimedOut}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(TransactTest, RepliesOfAnotherLengthAndASilentModuleFail) {
  OpenIdle();
  LinkBuffer reply{};
  // The module answers 8 bytes; 7 or 9 awaited must not pass.
  EXPECT_EQ(link_->Transact(MakeRequest({'m', 2}, 7), reply), LinkStatus::BadReply);
  EXPECT_EQ(link_->Transact(MakeRequest({'m', 2}, 9), reply), LinkStatus::TimedOut);
  emulator_.Faults().SilenceFor(milliseconds(300));
  EXPECT_EQ(link_->Transact(PollRequest(), reply), LinkStatus::NoEcho);
  ASSERT_TRUE(WaitUntil([&] { return !emulator_.Faults().Silent(); }));
  EXPECT_EQ(link_->Transact(PollRequest(), reply), LinkStatus::Success);
}

TEST_F(TransactTest, ALateAnswerGivenUpOnIsNotTakenForTheNextExchangesReply) {
  handler_.Answer('F', std::vector<std::uint8_t>{0x46, 0x01});
  OpenIdle();
  const long acceptedBefore = emulator_.FramesAccepted();
  emulator_.Faults().Arm(Fault::LateAnswer);
  LinkBuffer reply{};
  EXPECT_EQ(link_->Transact(PollRequest(), reply), LinkStatus::NoEcho);
  // Its echo and reply now wait on the line, unread.
  ASSERT_TRUE(WaitUntil([&] { return emulator_.FramesAccepted() > acceptedBefore; }));
  ASSERT_EQ(link_->Transact(MakeRequest({'F', 1}, 2), reply), LinkStatus::Success);
  EXPECT_EQ(ReplyData(reply, 2), (std::vector<std::uint8_t>{0x46, 0x01}));
}

TEST_F(TransactTest, SendCommandTriesFiveTimes) {
  OpenIdle();
  emulator_.Faults().Arm(Fault::CorruptReplyCheck, 4);
  EXPECT_EQ(link_->SendCommand(PollRequest()), LinkStatus::Success);
  EXPECT_EQ(link_->CommandReply()[0], 0x83);

  emulator_.Faults().Arm(Fault::CorruptReplyCheck, 5);
  long before = handler_.CountOf('m');
  EXPECT_EQ(link_->SendCommand(PollRequest()), LinkStatus::BadReply);
  EXPECT_EQ(handler_.CountOf('m') - before, 5);
}

TEST_F(TransactTest, BaseTimeoutFollowsTheBaudRate) {
  EXPECT_EQ(link_->BaseTimeout(), 100u);  // before any port is configured
  OpenIdle(kSpeed1200);
  EXPECT_EQ(link_->BaseTimeout(), 1200u);
  struct Case {
    int baud;
    unsigned timeout;
  };
  for (Case c : {Case{9600, 150}, Case{4800, 300}, Case{2400, 600}, Case{19200, 75}}) {
    ASSERT_TRUE(link_->ConfigurePort(c.baud));
    EXPECT_EQ(link_->BaseTimeout(), c.timeout) << c.baud;
  }
  EXPECT_FALSE(link_->ConfigurePort(21));  // 68571 ms does not fit 16 bits
  link_->StopLink();
  EXPECT_EQ(link_->BaseTimeout(), 100u);
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
  handler_.Answer('m', std::vector<std::uint8_t>(8, kRequestStart));
  handler_.Answer('s', std::vector<std::uint8_t>(19, 0x5A));
  ASSERT_TRUE(link_->OpenLink(kTestPort, kSpeed4800));
  const LinkBuffer read = MakeRequest({'s', 16, 0, 16}, 19);
  for (int round = 0; round < 10; ++round) {
    link_->StartPolling();
    const long before = handler_.CountOf('m');
    ASSERT_TRUE(WaitUntil([&] { return handler_.CountOf('m') > before; }));
    // The module has the poll whole and is answering it now.
    link_->StopPolling();
    LinkBuffer reply{};
    ASSERT_EQ(link_->Transact(read, reply), LinkStatus::Success) << "round " << round;
    EXPECT_EQ(reply[0], 0x5A);
  }
}

TEST(LostPort, EveryExchangeEndsAtOnceAsPortLostAndPollingStops) {
  test_support::ScratchDirectory scratch;
  std::filesystem::create_directory(scratch / "ports");
  auto line = std::make_unique<PtyLine>();  // no module behind it: no echo
  std::filesystem::create_symlink(line->SlavePath(), scratch / "ports" / "com7");
  Link link(TestLinkSettings(scratch.Path()));
  ASSERT_TRUE(link.OpenLink(kTestPort, kSpeed4800));
  ASSERT_TRUE(WaitUntil([&] { return link.LastPollStatus() == LinkStatus::NoEcho; }));
  EXPECT_TRUE(link.PollRunning());

  line.reset();  // the adapter is pulled
  ASSERT_TRUE(WaitUntil([&] { return !link.PollRunning(); }));
  EXPECT_TRUE(link.PollFault());
  EXPECT_TRUE(link.PortLost());
  EXPECT_EQ(link.LastPollStatus(), LinkStatus::PortLost);
  LinkBuffer reply{};
  EXPECT_EQ(link.Transact(PollRequest(), reply), LinkStatus::PortLost);
  EXPECT_EQ(link.SendCommand(PollRequest()), LinkStatus::PortLost);
  // Polling started on a lost port ends by itself rather than asking it
  // again and again.
  link.StartPolling();
  ASSERT_TRUE(WaitUntil([&] { return !link.PollRunning(); }));
  EXPECT_TRUE(link.PollFault());
}

}  // namespace
}  // namespace q5480
