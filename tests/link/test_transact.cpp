// Single exchanges against the emulated module: framing, echo, reply checks
// and every line fault, each followed by an exchange that succeeds.
#include <gtest/gtest.h>

#include <chrono>
#include <vector>

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

TEST(CheckByteTest, IsTwoFiftyFiveMinusTheSumModulo256) {
  struct Case {
    std::vector<std::uint8_t> data;
    std::uint8_t check;
  };
  const Case cases[] = {
      {{0x72}, 0x8D},             // "r"
      {{'m', 2}, 0x90},           // 255 - 111
      {{0xFF, 0x01}, 0xFF},       // sum wraps to 0
      {{0x80, 0x80, 0xFF}, 0x00}, // sum 0x1FF
      {{}, 0xFF},
  };
  for (const Case& c : cases) EXPECT_EQ(CheckByte(c.data), c.check) << c.data.size();
}

TEST(MakeRequestTest, LaysOutCountDataAndReplyLength) {
  LinkBuffer request = MakeRequest({'s', 16, 0x04, 0x00}, 19);
  EXPECT_EQ(request[0], 4);
  EXPECT_EQ(request[1], 's');
  EXPECT_EQ(request[4], 0x00);
  EXPECT_EQ(request[5], 19);
  EXPECT_THROW(MakeRequest(std::vector<std::uint8_t>{}, 0), std::invalid_argument);
  EXPECT_THROW(MakeRequest(std::vector<std::uint8_t>(251, 1), 0), std::invalid_argument);
}

using TransactTest = LinkFixture;

TEST_F(TransactTest, MeasurementExchangeDeliversDataAndCheckByte) {
  OpenIdle();
  LinkBuffer reply{};
  ASSERT_TRUE(link_->Transact(PollRequest(), reply));
  std::vector<std::uint8_t> expected(std::begin(kSampleReply), std::end(kSampleReply));
  EXPECT_EQ(ReplyData(reply, 8), expected);
  EXPECT_EQ(reply[8], CheckByte(expected));
  EXPECT_EQ(emulator_.BytesReceived(), 5);  // 0x55, n, "m", 2, check
}

TEST_F(TransactTest, DataCountOutsideOneTo250FailsWithoutTouchingTheLine) {
  OpenIdle();
  for (std::uint8_t n : {0, 251, 255}) {
    LinkBuffer request{};
    request[0] = n;
    request[1] = 'm';
    LinkBuffer reply{};
    EXPECT_FALSE(link_->Transact(request, reply)) << int(n);
  }
  // The line carries only the exchange that follows.
  LinkBuffer reply{};
  ASSERT_TRUE(link_->Transact(PollRequest(), reply));
  EXPECT_EQ(emulator_.BytesReceived(), 5);
}

TEST_F(TransactTest, EmptyReplyNeedsAZeroThirdByte) {
  handler_.Answer(0xEF, std::vector<std::uint8_t>{});
  OpenIdle();
  LinkBuffer request = MakeRequest({0xEF, 0, 0}, 0);
  LinkBuffer reply;
  reply.fill(0x77);
  ASSERT_TRUE(link_->Transact(request, reply));  // 0x31, 0x00, 0x00
  EXPECT_EQ(reply[0], 0);

  emulator_.Faults().Arm(Fault::CorruptReplyCheck);  // 0x31, 0x00, 0xFF
  EXPECT_FALSE(link_->Transact(request, reply));
  EXPECT_TRUE(link_->Transact(request, reply));
}

TEST_F(TransactTest, NoReplyAwaitedSucceedsOnceTheEchoIsComplete) {
  handler_.Answer('r', std::nullopt);
  OpenIdle();
  LinkBuffer reply{};
  // Would fail after 300 ms without a reply if one were awaited.
  EXPECT_TRUE(link_->Transact(MakeRequest({'r'}, kNoReply), reply));
  ASSERT_TRUE(WaitUntil([&] { return emulator_.FramesAccepted() == 1; }));
  EXPECT_EQ(handler_.CountOf('r'), 1);  // check byte 0x8D accepted by the module
}

TEST_F(TransactTest, BytesOf0xFFSurviveInRequestEchoAndReply) {
  // Data summing to a multiple of 256 makes the check byte 0xFF as well.
  handler_.Answer('F', std::vector<std::uint8_t>{0xFF, 0xFF, 0x02});
  OpenIdle();
  LinkBuffer reply{};
  ASSERT_TRUE(link_->Transact(MakeRequest({'F', 0xFF, 0xFF}, 3), reply));
  EXPECT_EQ(ReplyData(reply, 4), (std::vector<std::uint8_t>{0xFF, 0xFF, 0x02, 0xFF}));
}

TEST_F(TransactTest, ReplyOfAnotherLengthThanAwaitedFails) {
  OpenIdle();
  LinkBuffer reply{};
  // The module answers 8 bytes; 7 or 9 awaited must not pass.
  EXPECT_FALSE(link_->Transact(MakeRequest({'m', 2}, 7), reply));
  EXPECT_FALSE(link_->Transact(MakeRequest({'m', 2}, 9), reply));
  EXPECT_TRUE(link_->Transact(PollRequest(), reply));
}

struct FaultCase {
  const char* name;
  Fault fault;
  int boundMs;  // the exchange must have failed by then
};

class TransactFaultTest : public LinkFixture, public ::testing::WithParamInterface<FaultCase> {};

TEST_P(TransactFaultTest, FailsWithinItsTimeoutAndTheNextExchangeSucceeds) {
  OpenIdle();
  const FaultCase& c = GetParam();
  long acceptedBefore = emulator_.FramesAccepted();
  emulator_.Faults().Arm(c.fault);
  LinkBuffer reply{};
  auto start = Clock::now();
  EXPECT_FALSE(link_->Transact(PollRequest(), reply));
  EXPECT_LT(Clock::now() - start, milliseconds(c.boundMs));
  EXPECT_EQ(emulator_.Faults().Armed(c.fault), 0);
  // Let the module finish with the spoilt frame before the next one.
  ASSERT_TRUE(WaitUntil([&] { return emulator_.FramesAccepted() > acceptedBefore; }));
  EXPECT_TRUE(link_->Transact(PollRequest(), reply));
  EXPECT_EQ(reply[7], 0x00);
}

// Time-outs at 4800 baud: echo 50 ms, first reply byte 300 ms, each further
// byte 306 ms then a 100 ms pause; bounds leave room for a loaded machine.
INSTANTIATE_TEST_SUITE_P(
    LineFaults, TransactFaultTest,
    ::testing::Values(FaultCase{"NoReply", Fault::NoReply, 1500},
                      FaultCase{"CorruptEcho", Fault::CorruptEcho, 1000},
                      FaultCase{"CorruptReplyCheck", Fault::CorruptReplyCheck, 1000},
                      FaultCase{"WrongLength", Fault::WrongLength, 1000},
                      FaultCase{"WrongStart", Fault::WrongStart, 1000},
                      FaultCase{"TruncatedReply", Fault::TruncatedReply, 2000},
                      FaultCase{"SlowByte", Fault::SlowByte, 2000}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(TransactTest, SilentModuleFailsWithinTheEchoWaitAndRecovers) {
  OpenIdle();
  emulator_.Faults().SilenceFor(milliseconds(300));
  LinkBuffer reply{};
  auto start = Clock::now();
  EXPECT_FALSE(link_->Transact(PollRequest(), reply));
  EXPECT_LT(Clock::now() - start, milliseconds(1000));
  ASSERT_TRUE(WaitUntil([&] { return !emulator_.Faults().Silent(); }));
  EXPECT_TRUE(link_->Transact(PollRequest(), reply));
}

TEST_F(TransactTest, ALateAnswerGivenUpOnDoesNotSpoilTheNextExchange) {
  handler_.Answer('F', std::vector<std::uint8_t>{0x46, 0x01});
  OpenIdle();
  long acceptedBefore = emulator_.FramesAccepted();
  emulator_.Faults().Arm(Fault::LateAnswer);
  LinkBuffer reply{};
  EXPECT_FALSE(link_->Transact(PollRequest(), reply));
  // Its echo and reply now wait on the line, unread.
  ASSERT_TRUE(WaitUntil([&] { return emulator_.FramesAccepted() > acceptedBefore; }));
  ASSERT_TRUE(link_->Transact(MakeRequest({'F', 1}, 2), reply));
  EXPECT_EQ(ReplyData(reply, 2), (std::vector<std::uint8_t>{0x46, 0x01}));
  ASSERT_TRUE(link_->Transact(PollRequest(), reply));
  EXPECT_EQ(ReplyData(reply, 8), std::vector<std::uint8_t>(std::begin(kSampleReply), std::end(kSampleReply)));
}

TEST_F(TransactTest, SendCommandTriesFiveTimes) {
  OpenIdle();
  emulator_.Faults().Arm(Fault::CorruptReplyCheck, 4);
  EXPECT_TRUE(link_->SendCommand(PollRequest()));
  EXPECT_EQ(link_->CommandReply()[0], 0x83);

  emulator_.Faults().Arm(Fault::CorruptReplyCheck, 5);
  long before = handler_.CountOf('m');
  EXPECT_FALSE(link_->SendCommand(PollRequest()));
  EXPECT_EQ(handler_.CountOf('m') - before, 5);
}

TEST_F(TransactTest, BaseTimeoutFollowsTheBaudRate) {
  EXPECT_EQ(link_->BaseTimeout(), 100u);  // before any port is configured
  OpenIdle(1);
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

}  // namespace
}  // namespace q5480
