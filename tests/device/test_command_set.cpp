// Requests of the command set, identification, samples and the service
// commands against the emulated module.
#include <cmath>

#include "config/module_image.h"
#include "device_fixture.h"

namespace q5480::device_test {
namespace {

Bytes RequestData(const LinkBuffer& request) {
  return Bytes(request.begin() + 1, request.begin() + 1 + request[0]);
}
std::uint8_t ReplyLength(const LinkBuffer& request) { return request[request[0] + 1u]; }

struct PreparedCase {
  const char* name;
  std::uint8_t code;
  std::uint32_t argument;
  Bytes data;
  std::uint8_t replyLength;
};

class PrepareCommandTest : public ::testing::TestWithParam<PreparedCase> {};

TEST_P(PrepareCommandTest, BuildsTheRequestAndItsReplyLength) {
  const PreparedCase& c = GetParam();
  ModuleConfig config;
  ModuleImage image;
  Link link;
  CommandSet commands(link, config, image);
  const LinkBuffer request = commands.PrepareCommand(c.code, c.argument);
  EXPECT_EQ(RequestData(request), c.data);
  if (!c.data.empty()) {
    EXPECT_EQ(ReplyLength(request), c.replyLength);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Requests, PrepareCommandTest,
    ::testing::Values(
        PreparedCase{"Output", 'o', 0x1234, {'o', 0x12, 0x34}, 0},
        PreparedCase{"Restart", 'r', 0, {'r'}, 255},
        PreparedCase{"ReadBlock", 's', 16u << 16 | 0x0A80, {'s', 16, 0x0A, 0x80}, 19},
        PreparedCase{"ReadShortBlock", 's', 3u << 16 | 2016, {'s', 3, 0x07, 0xE0}, 6},
        PreparedCase{"Identify", 's', 0x80u << 16, {'s', 0x80, 0, 0}, 7},
        PreparedCase{"BlockTooLong", 's', 17u << 16, {}, 0},
        PreparedCase{"Measure", 'm', 4, {'m', 4}, 8},
        PreparedCase{"ServiceMode", 0x40, 0, {0x40, '7', '3', '1', '6'}, 4},
        PreparedCase{"Value", 'Z', 0x11223344, {'Z', 0x44, 0x33, 0x22, 0x11}, 6},
        PreparedCase{"Unknown", 'q', 0, {}, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Corrections, GoExponentFirstToTheLayoutsAddressAndIntoTheImage) {
  for (const char* id : {kOldIdLate, kNewId}) {
    SCOPED_TRACE(id);
    DeviceRig rig(ModuleWith(id));
    ASSERT_TRUE(rig.OpenIdle());
    ASSERT_EQ(rig.service.Identify(), LinkStatus::Success);
    rig.config.ZeroReg = 0.5;
    rig.config.GainReg = -1.25;
    ASSERT_EQ(rig.commands.SendCommand('V'), LinkStatus::Success);

    const std::size_t address = rig.commands.NewLayout() ? 96 : 2020;
    const Bytes sent = rig.interposer.Requests().back();
    EXPECT_EQ(sent[0], 'V');
    EXPECT_EQ(std::size_t{sent[2]} << 8 | sent[3], address);
    const auto zero = EncodeModuleFloat(0.5);
    EXPECT_EQ(Bytes(sent.begin() + 4, sent.begin() + 8), Bytes(zero.begin(), zero.end()));
    EXPECT_DOUBLE_EQ(rig.image.LoadFloat(image_offset::kZeroReg), 0.5);
    EXPECT_DOUBLE_EQ(rig.image.LoadFloat(image_offset::kGainReg), -1.25);
    // The module holds them in its own byte order.
    const MemoryBytes memory = rig.module.Memory();
    if (rig.commands.NewLayout()) {
      EXPECT_EQ(memory[address], zero[3]);
      EXPECT_EQ(memory[address + 3], zero[0]);
    } else {
      EXPECT_EQ(memory[address], zero[0]);
    }
  }
}

TEST(Identify, ReadsTheIdentifierAndDecidesTheLayout) {
  for (const char* id : {"1.23", "2104", "0999", "3ABC"}) {
    SCOPED_TRACE(id);
    DeviceRig rig(ModuleWith(id));
    ASSERT_TRUE(rig.OpenIdle());
    ASSERT_EQ(rig.service.Identify(), LinkStatus::Success);
    EXPECT_EQ(rig.config.ModuleId, id);
    EXPECT_EQ(std::string(rig.image.bytes.begin() + 2048, rig.image.bytes.end()), id);
    EXPECT_EQ(rig.commands.NewLayout(), id[0] > '1');
  }
}

TEST(Identify, RefusesAReplyThatDoesNotStartWithFourZeroZero) {
  DeviceRig rig(ModuleWith(kNewId));
  ASSERT_TRUE(rig.OpenIdle());
  rig.interposer.Override('s', Bytes{4, 0, 1, '2', '1', '0', '4'});
  EXPECT_EQ(rig.service.Identify(), LinkStatus::BadReply);
  EXPECT_TRUE(rig.config.ModuleId.empty());
}

TEST(Identify, OutsideATransferSendsNothing) {
  DeviceRig rig(ModuleWith(kNewId));
  ASSERT_TRUE(rig.OpenIdle());
  EXPECT_EQ(rig.commands.Identify(), LinkStatus::Aborted);
  EXPECT_TRUE(rig.interposer.Requests().empty());
}

TEST(Samples, TakeSampleGivesEachPolledSampleOnce) {
  ModuleOptions options = ModuleWith(kNewId, 5491);
  DeviceRig rig(options);
  MeasurementSample sample;
  DeviceStatus status;
  EXPECT_FALSE(rig.commands.TakeSample(sample, status));
  EXPECT_EQ(status.ModelIndex, 16);

  ASSERT_TRUE(rig.link.OpenLink(kPort, 3));
  ASSERT_TRUE(WaitUntil([&] { return rig.commands.TakeSample(sample, status); }));
  EXPECT_EQ(ModelCodeAt(status.ModelIndex), 91);
  EXPECT_TRUE(rig.link.SampleRead());
  // Until the polling thread brings the next one there is nothing to take.
  rig.link.StopPolling();
  EXPECT_FALSE(rig.commands.TakeSample(sample, status));
}

TEST(Samples, DirectPollAndValueAgreeWithTheModule) {
  DeviceRig rig(ModuleWith(kNewId));
  SetPt100Configuration(rig.config);
  rig.config.ZeroReg = 0;
  rig.config.GainReg = 0;
  ASSERT_TRUE(rig.Build());
  ASSERT_TRUE(rig.OpenIdle());
  ASSERT_TRUE(rig.Write());
  rig.module.SetSignal(SignalShape{SignalKind::Constant, 138.5055, 0, 10});

  MeasurementSample polled;
  DeviceStatus status;
  ASSERT_EQ(rig.commands.PollDirect(2, polled, status), LinkStatus::Success);
  EXPECT_NEAR(polled.Value, 100.0, 0.05);  // Pt100 at 100 degrees
  EXPECT_EQ(status.ResultUnit, 8);
  const LinkBuffer last = rig.link.LastSample();
  EXPECT_EQ(DecodeSample(last.data()).Value, polled.Value) << "the direct sample became the last";

  // "Z" with the corrected signal gives the result and current for it.
  ASSERT_EQ(rig.commands.PollDirect(0, polled, status), LinkStatus::Success);
  const auto signal = EncodeModuleFloat(polled.Value);
  const std::uint32_t argument = std::uint32_t{signal[0]} << 24 | std::uint32_t{signal[1]} << 16 |
                                 std::uint32_t{signal[2]} << 8 | signal[3];
  MeasurementSample value;
  ASSERT_EQ(rig.commands.ReadValueDirect(argument, value), LinkStatus::Success);
  MeasurementSample result;
  ASSERT_EQ(rig.commands.PollDirect(2, result, status), LinkStatus::Success);
  EXPECT_NEAR(value.Value, result.Value, 1e-4);
  EXPECT_NEAR(value.Current, result.Current, 0.01);
}

TEST(ServiceCommands, OutputHeldUntilRestartAndServiceModeEntry) {
  DeviceRig rig(ModuleWith(kNewId));
  ASSERT_TRUE(rig.OpenIdle());
  ASSERT_EQ(rig.commands.SendCommand('o', 4096), LinkStatus::Success);  // 12 mA in the standard format
  MeasurementSample sample;
  DeviceStatus status;
  ASSERT_EQ(rig.commands.PollDirect(2, sample, status), LinkStatus::Success);
  EXPECT_TRUE(status.IndependentOutput);
  EXPECT_DOUBLE_EQ(sample.Current, 12.0);

  ASSERT_EQ(rig.commands.EnterServiceMode(), LinkStatus::Success);
  EXPECT_TRUE(rig.module.InServiceMode());
  const std::vector<Bytes> requests = rig.interposer.Requests();
  ASSERT_GE(requests.size(), 2u);
  EXPECT_EQ(requests[requests.size() - 2], Bytes{'r'});
  EXPECT_EQ(requests.back()[0], 0x40);
  ASSERT_EQ(rig.commands.PollDirect(2, sample, status), LinkStatus::Success);
  EXPECT_FALSE(status.IndependentOutput) << "the restart ended the held output";
}

TEST(ServiceCommands, ServiceModeEntryGivesUpAfterFiveAttempts) {
  DeviceRig rig(ModuleWith(kNewId));
  ASSERT_TRUE(rig.OpenIdle());
  rig.interposer.Override(0x40, std::nullopt);
  EXPECT_EQ(rig.commands.EnterServiceMode(), LinkStatus::TimedOut);
  EXPECT_EQ(rig.interposer.CountOf(0x40), 5);
}

}  // namespace
}  // namespace q5480::device_test
