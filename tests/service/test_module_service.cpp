// The command set, the transfer workers and the module service against the
// emulated module of either memory layout: identification, corrections,
// samples, service commands, the build for a write and its refusal, read,
// write, information write and verify.
#include <algorithm>
#include <tuple>

#include "config/dates.h"
#include "config/module_image.h"
#include "conversion/conversion_messages.h"
#include "module/image_packing.h"
#include "support/device_rig.h"

namespace q5480 {
namespace {

using namespace test_support;

TEST(CommandSetTest, RequestsOutsideTheCommandSetAreEmptyAndNeverSent) {
  DeviceRig rig(ModuleWith(kNewId));
  ASSERT_TRUE(rig.OpenIdle());
  // A read of no block or a longer one than 16 bytes, an unknown code.
  const std::pair<std::uint8_t, std::uint32_t> cases[] = {{'s', 0}, {'s', 17u << 16}, {'q', 0}};
  for (const auto& [code, argument] : cases) {
    EXPECT_EQ(rig.commands.PrepareCommand(code, argument), LinkBuffer{}) << code << argument;
    EXPECT_NE(rig.commands.SendCommand(code, argument), LinkStatus::Success);
  }
  EXPECT_EQ(rig.emulator.BytesReceived(), 0);
}

TEST(Identify, ReadsTheIdentifierAndDecidesTheLayoutOnlyInsideATransfer) {
  DeviceRig rig(ModuleWith(kNewId));
  ASSERT_TRUE(rig.OpenIdle());
  EXPECT_EQ(rig.commands.Identify(), LinkStatus::Aborted);
  EXPECT_TRUE(rig.interposer.Requests().empty());
  for (const std::string id : {"1.23", "2104", "0999", "3ABC"}) {
    Bytes reply{4, 0, 0};
    reply.insert(reply.end(), id.begin(), id.end());
    rig.interposer.Override('s', reply);
    ASSERT_EQ(rig.service.Identify(), LinkStatus::Success) << id;
    EXPECT_EQ(rig.interposer.Requests().back(), (Bytes{'s', 0x80, 0, 0}));
    EXPECT_EQ(rig.config.ModuleId, id);
    EXPECT_EQ(std::string(rig.image.bytes.begin() + 2048, rig.image.bytes.end()), id);
    EXPECT_EQ(rig.commands.NewLayout(), id[0] > '1') << id;
  }
  // The reply must start with 4, 0, 0.
  rig.interposer.Override('s', Bytes{4, 0, 1, '2', '1', '0', '4'});
  EXPECT_EQ(rig.service.Identify(), LinkStatus::BadReply);
  EXPECT_EQ(rig.config.ModuleId, "3ABC");
}

TEST(Corrections, GoExponentFirstToTheLayoutsAddressAndIntoTheImage) {
  for (const char* id : {kOldIdLate, kNewId}) {
    SCOPED_TRACE(id);
    DeviceRig rig(ModuleWith(id));
    ASSERT_TRUE(rig.OpenIdle());
    ASSERT_EQ(rig.service.Identify(), LinkStatus::Success);
    rig.config.ZeroReg = 0.5;
    rig.config.GainReg = -1.25;
    ASSERT_EQ(rig.commands.SendCommand('V'), LinkStatus::Success);
    const bool newLayout = rig.commands.NewLayout();
    const std::size_t address = newLayout ? 96 : 2020;
    const auto zero = EncodeModuleFloat(0.5);
    const auto gain = EncodeModuleFloat(-1.25);
    Bytes expected{'V', 8, std::uint8_t(address >> 8), std::uint8_t(address)};
    expected.insert(expected.end(), zero.begin(), zero.end());
    expected.insert(expected.end(), gain.begin(), gain.end());
    EXPECT_EQ(rig.interposer.Requests().back(), expected);
    EXPECT_DOUBLE_EQ(rig.image.LoadFloat(image_offset::kZeroReg), 0.5);
    EXPECT_DOUBLE_EQ(rig.image.LoadFloat(image_offset::kGainReg), -1.25);
  }
}

TEST(Samples, PolledDirectOrByTheThreadTheyAgreeWithTheModule) {
  DeviceRig rig(ModuleWith(kNewId));
  MeasurementSample sample;
  DeviceStatus status;
  EXPECT_FALSE(rig.commands.TakeSample(sample, status));
  EXPECT_EQ(status.ModelIndex, 16);
  SetPt100Configuration(rig.config);
  rig.config.ZeroReg = 0;
  rig.config.GainReg = 0;
  ASSERT_TRUE(rig.Build());
  ASSERT_TRUE(rig.OpenIdle());
  ASSERT_TRUE(rig.Write());
  rig.module.SetSignal(SignalShape{SignalKind::Constant, 138.5055, 0, 10});

  ASSERT_EQ(rig.commands.PollDirect(2, sample, status), LinkStatus::Success);
  EXPECT_NEAR(sample.Value, 100.0, 0.05);  // Pt100 at 100 degrees
  EXPECT_EQ(status.ResultUnit, 8);
  EXPECT_EQ(DecodeSample(rig.link.LastSample().data()).Value, sample.Value) << "became the last";
  // "Z" with the corrected signal gives the result and current for it.
  ASSERT_EQ(rig.commands.PollDirect(0, sample, status), LinkStatus::Success);
  const auto signal = EncodeModuleFloat(sample.Value);
  const std::uint32_t argument = std::uint32_t{signal[0]} << 24 | std::uint32_t{signal[1]} << 16 |
                                 std::uint32_t{signal[2]} << 8 | signal[3];
  MeasurementSample value;
  ASSERT_EQ(rig.commands.ReadValueDirect(argument, value), LinkStatus::Success);
  ASSERT_EQ(rig.commands.PollDirect(2, sample, status), LinkStatus::Success);
  EXPECT_NEAR(value.Value, sample.Value, 1e-4);
  EXPECT_NEAR(value.Current, sample.Current, 0.01);

  // The polling thread's samples are taken once each.
  rig.link.StartPolling();
  ASSERT_TRUE(WaitUntil([&] { return rig.commands.TakeSample(sample, status); }));
  EXPECT_EQ(ModelCodeAt(status.ModelIndex), 95);
  EXPECT_NEAR(sample.Value, 100.0, 0.05);
  rig.link.StopPolling();
  // A poll may have ended between the take and the stop: its sample is new.
  if (!rig.link.SampleRead()) { EXPECT_TRUE(rig.commands.TakeSample(sample, status)); }
  EXPECT_TRUE(rig.link.SampleRead());
  EXPECT_FALSE(rig.commands.TakeSample(sample, status));
}

TEST(ServiceCommands, OutputHeldUntilRestartAndServiceModeEntry) {
  DeviceRig rig(ModuleWith(kNewId));
  ASSERT_TRUE(rig.OpenIdle());
  ASSERT_EQ(rig.commands.SendCommand('o', 4096), LinkStatus::Success);  // 12 mA, standard format
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
  EXPECT_EQ(requests.back(), (Bytes{0x40, '7', '3', '1', '6'}));
  ASSERT_EQ(rig.commands.PollDirect(2, sample, status), LinkStatus::Success);
  EXPECT_FALSE(status.IndependentOutput) << "the restart ended the held output";

  // A module that never answers 0x40 is asked five times.
  rig.interposer.Override(0x40, std::nullopt);
  EXPECT_EQ(rig.commands.EnterServiceMode(), LinkStatus::TimedOut);
  EXPECT_EQ(rig.interposer.CountOf(0x40), 1 + 5);
}

constexpr std::uint8_t kFixedPoint = 0x80;

class TransferTest : public ::testing::TestWithParam<const char*> {
 protected:
  TransferTest() : rig_(ModuleWith(GetParam())) {
    SetPt100Configuration(rig_.config);
    EXPECT_TRUE(rig_.Build());
    EXPECT_TRUE(rig_.OpenIdle());
  }
  bool NewLayout() const { return GetParam()[0] > '1'; }

  DeviceRig rig_;
};

// What every layout brings back of a configuration.
auto Kept(const ModuleConfig& c) {
  return std::tie(c.Typ, c.Tryb, c.Lin, c.MinInput, c.MaxInput, c.ZeroReg, c.GainReg, c.FiltrZakres,
                  c.FiltrCzas, c.FiltrLimit, c.Jednostki, c.Burnout, c.Siec, c.kod, c.ogolne);
}

TEST_P(TransferTest, WriteWithRisingProgressThenReadGivesBackTheConfiguration) {
  const ModuleConfig written = rig_.config;
  std::vector<int> seen;
  TransferObserver observer;
  observer.progress = [&](int percent) { seen.push_back(percent); };
  ASSERT_EQ(rig_.service.Write(observer), LinkStatus::Success);
  ASSERT_GT(seen.size(), 50u) << "a signal for nearly every percent";
  EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
  EXPECT_EQ(seen.back(), 100);

  rig_.config = ModuleConfig{};
  rig_.image = ModuleImage{};
  ASSERT_TRUE(rig_.Read());
  const ModuleConfig& read = rig_.config;
  EXPECT_EQ(Kept(read), Kept(written));
  EXPECT_EQ(read.Device, "Q5495");
  EXPECT_EQ(read.ModuleId, GetParam());
  EXPECT_EQ(read.data, DayNumberText(46000));
  EXPECT_EQ(read.serial, "1234567");
  // The older firmware before "4" has no fixed decimal point.
  EXPECT_EQ(read.Kropka, GetParam() == std::string(kOldId) ? 0 : written.Kropka);
  // The newer firmware keeps the alarm limits in place of the image's first
  // two bytes and compensates the cold junction itself (no room temperature).
  if (NewLayout()) {
    EXPECT_EQ(read.LimitLow, written.LimitLow);
    EXPECT_EQ(read.LimitHigh, written.LimitHigh);
  } else {
    EXPECT_DOUBLE_EQ(read.RoomT, written.RoomT);
  }
}

TEST_P(TransferTest, VerifyFindsAByteChangedInTheModuleAndAnInformationWriteOnlyTheTexts) {
  ASSERT_TRUE(rig_.Write());
  EXPECT_TRUE(rig_.service.Verify().Matches());
  // A segment byte changes inside the module.
  const std::size_t segmentByte = image_offset::kSegments + 8 * 100 + 1;
  const std::size_t address = NewLayout() ? 1088 + 8 * 100 + 2 : segmentByte;
  rig_.module.PokeMemory(address, static_cast<std::uint8_t>(rig_.module.Memory()[address] ^ 0x04));
  const ModuleImage expected = rig_.image;
  const VerifyOutcome outcome = rig_.service.Verify();
  ASSERT_EQ(outcome.status, LinkStatus::Success);
  EXPECT_EQ(outcome.differences, std::vector<std::size_t>{segmentByte});
  EXPECT_EQ(rig_.image.bytes, expected.bytes) << "the expected image is put back";

  // New texts go in alone; a changed segment in the program must not.
  MemoryBytes memory = rig_.module.Memory();
  const std::string kod = "NEW-TAG";
  for (std::size_t i = 0; i < 15; ++i) {
    rig_.image[image_offset::kKod + i] = i < kod.size() ? static_cast<std::uint8_t>(kod[i]) : 0xFF;
  }
  rig_.image[image_offset::kSegments] ^= 0xFF;
  const std::size_t textAddress = NewLayout() ? 128 : image_offset::kKod;
  std::copy_n(rig_.image.bytes.begin() + image_offset::kKod, 80, memory.begin() + textAddress);
  ASSERT_EQ(rig_.service.WriteInformation(), LinkStatus::Success);
  EXPECT_EQ(rig_.module.Memory(), memory);
  EXPECT_EQ(rig_.interposer.CountOf('L'), NewLayout() ? 2 : 1) << "only the first write stores";
}

TEST_P(TransferTest, StoreThatFailsEndsWithOneRestartAndKeepsTheModule) {
  const MemoryBytes before = rig_.module.Memory();
  rig_.interposer.Override('L', Bytes{0});  // a reply of the wrong length
  EXPECT_EQ(rig_.service.Write(), LinkStatus::BadReply);
  EXPECT_EQ(rig_.interposer.CountOf('r'), 1);
  const std::vector<Bytes> requests = rig_.interposer.Requests();
  ASSERT_FALSE(requests.empty());
  EXPECT_EQ(requests.back(), Bytes{'r'});
  EXPECT_EQ(rig_.module.Memory(), before);
  EXPECT_FALSE(rig_.module.WriteOpen());
}

TEST_P(TransferTest, AnswersComingAfterTheLinkGaveUpDoNotSpoilTheWrite) {
  // Not on the store: a store answered too late has been taken by the module
  // while the program saw it fail, and a store repeated then finds no write
  // open; the program then reports a failure.
  rig_.interposer.LateAfterEvery(40, 100);
  ASSERT_EQ(rig_.service.Write(), LinkStatus::Success);
  EXPECT_TRUE(rig_.service.Verify().Matches());
  EXPECT_GT(rig_.interposer.Requests().size(), 60u);
}

TEST_P(TransferTest, CancelledWriteSendsNoRestart) {
  // Cancelled from the waiting side, as a window closing mid-transfer does.
  bool cancelled = false;
  TransferObserver observer;
  observer.progress = [&](int) {
    if (!cancelled && rig_.interposer.CountOf('D') >= 10) {
      cancelled = true;
      rig_.link.CancelTransfer();
    }
  };
  EXPECT_EQ(rig_.service.Write(observer), LinkStatus::Aborted);
  EXPECT_TRUE(cancelled);
  EXPECT_EQ(rig_.interposer.CountOf('r'), 0);
  EXPECT_EQ(rig_.interposer.CountOf('L'), 0);
}

INSTANTIATE_TEST_SUITE_P(BothLayouts, TransferTest, ::testing::Values(kOldId, kOldIdLate, kNewId));

TEST(OlderModuleWrite, NeverTouchesTheFactoryAreaAndClearsTheFixedPointForTheWriteOnly) {
  DeviceRig rig(ModuleWith(kOldId));
  SetPt100Configuration(rig.config);
  ASSERT_TRUE(rig.Build());
  ASSERT_TRUE(rig.OpenIdle());
  ASSERT_NE(rig.image[image_offset::kUnitsAndPoint] & kFixedPoint, 0);
  const MemoryBytes before = rig.module.Memory();
  const ModuleImage image = rig.image;

  ASSERT_TRUE(rig.Write());
  for (const Bytes& request : rig.interposer.Requests()) {
    if ((request[0] & 0x7F) != 'D') continue;
    const std::size_t first = std::size_t{request[2]} << 8 | request[3];
    EXPECT_TRUE(first + request[1] <= 16 || first > 67) << "block at " << first;
  }
  const MemoryBytes after = rig.module.Memory();
  EXPECT_TRUE(std::equal(before.begin() + 16, before.begin() + 68, after.begin() + 16));
  EXPECT_EQ(after[image_offset::kUnitsAndPoint],
            image[image_offset::kUnitsAndPoint] & ~kFixedPoint);
  EXPECT_EQ(Held(rig.image), Held(image)) << "the image keeps its fixed point";
  // The module took the store, so its check covers the bytes it received.
  ModuleImage received;
  std::copy_n(after.begin(), 2048, received.bytes.begin());
  EXPECT_EQ(after[image_offset::kCheckByte], received.ComputeCheckByte());
}

TEST(NewerModuleWrite, PacksTheLimitsThatTheRecordHeldWhenTheWriteStarted) {
  DeviceRig rig(ModuleWith(kNewId));
  SetPt100Configuration(rig.config);
  rig.config.LimitLow = 12;
  rig.config.LimitHigh = 190;
  ASSERT_TRUE(rig.Build());
  ASSERT_TRUE(rig.OpenIdle());
  // The opening request goes unanswered once: the worker waits before it
  // packs, and the window, running meanwhile, edits the record.
  rig.emulator.Faults().Arm(Fault::NoReply);
  TransferObserver observer;
  int edits = 0;
  observer.idle = [&] {
    ++edits;
    rig.config.LimitLow = 50;
    rig.config.LimitHigh = 60;
  };
  ASSERT_EQ(rig.service.Write(observer), LinkStatus::Success);
  ASSERT_GT(edits, 0);
  const MemoryBytes memory = rig.module.Memory();
  EXPECT_EQ(memory[16], 12);
  EXPECT_EQ(memory[17], 190);
}

TEST(NewerModuleRead, ConfigurationReadLeavesTheSegmentsOfTheImage) {
  DeviceRig rig(ModuleWith(kNewId));
  SetPt100Configuration(rig.config);
  ASSERT_TRUE(rig.Build());
  ASSERT_TRUE(rig.OpenIdle());
  ASSERT_TRUE(rig.Write());
  // The program now holds another configuration with other segments.
  rig.config.MaxInput = 600;
  ASSERT_TRUE(rig.Build());
  const ModuleImage before = rig.image;
  ASSERT_TRUE(rig.Read());
  EXPECT_TRUE(std::equal(before.bytes.begin() + image_offset::kSegments,
                         before.bytes.begin() + image_offset::kKod,
                         rig.image.bytes.begin() + image_offset::kSegments));
  EXPECT_NE(rig.image.LoadFloat(image_offset::kSpan), before.LoadFloat(image_offset::kSpan))
      << "the range did come from the module";
}

TEST(BuildForWrite, DatesTheRecordOrRefusesAndLeavesTheImage) {
  DeviceRig rig(ModuleWith(kNewId));
  SetThermocoupleK(rig.config);
  ASSERT_EQ(rig.service.BuildForWrite({2026, 12, 6}), std::nullopt);
  EXPECT_EQ(rig.config.data, "06.12.2026");
  EXPECT_EQ(rig.image[image_offset::kKod], 'T');
  const ModuleImage built = rig.image;
  rig.config.Typ = 15;  // a user thermocouple whose table was never loaded
  rig.config.TableLoaded = false;
  const auto refusal = rig.service.BuildForWrite({2026, 12, 7});
  ASSERT_TRUE(refusal.has_value());
  EXPECT_EQ(refusal->key, kNoDataAvailable);
  EXPECT_EQ(rig.image.bytes, built.bytes);
}

// A read that dies midway leaves the record and the image as they were, or
// the next write or verify would work on a mixture of two modules.
TEST(ReadConfiguration, ThatFailsLeavesTheRecordAndTheImageAsTheyWere) {
  DeviceRig rig(ModuleWith(kNewId));
  SetPt100Configuration(rig.config);
  rig.config.ModuleId = "0999";  // the record of another module
  ASSERT_TRUE(rig.Build());
  ASSERT_TRUE(rig.OpenIdle());
  const ModuleConfig before = rig.config;
  const ModuleImage imageBefore = rig.image;
  rig.interposer.SilentAfter(static_cast<long>(rig.interposer.Requests().size()) + 6);
  EXPECT_FALSE(rig.Read());
  EXPECT_GT(rig.interposer.CountOf('s'), 1) << "the read got under way";
  EXPECT_EQ(rig.config.ModuleId, before.ModuleId);
  EXPECT_EQ(Kept(rig.config), Kept(before));
  EXPECT_EQ(rig.image.bytes, imageBefore.bytes);
}

TEST(TransferFaults, EveryTransferSucceedsExactlyOrFails) {
  for (const char* id : {kOldIdLate, kNewId}) {
    SCOPED_TRACE(id);
    DeviceRig rig(ModuleWith(id));
    SetPt100Configuration(rig.config);
    ASSERT_TRUE(rig.Build());
    ASSERT_TRUE(rig.OpenIdle());
    rig.interposer.SpoilAtRandom(0.05, 5480);
    int writes = 0;
    int verifies = 0;
    for (int round = 0; round < 3; ++round) {
      rig.config.MaxInput = 200 + 10 * round;
      ASSERT_TRUE(rig.Build());
      const ModuleImage sent = rig.image;
      if (!rig.Write()) continue;
      ++writes;
      // What the module holds is exactly what was sent, wherever it was written.
      const MemoryBytes memory = rig.module.Memory();
      const MemoryMap map = PackImage(sent, MapLimitsOf(rig.config));
      const auto holds = [&](const std::uint8_t* from, std::size_t first, std::size_t end) {
        return std::equal(from + first, from + end, memory.begin() + first);
      };
      if (rig.commands.NewLayout()) {
        EXPECT_TRUE(holds(map.data(), 16, 208) && holds(map.data(), 1088, 2752));
      } else {
        EXPECT_TRUE(holds(sent.bytes.data(), 68, 1856) && holds(sent.bytes.data(), 2016, 2032));
      }
      EXPECT_EQ(Held(rig.image), Held(sent));
      const VerifyOutcome outcome = rig.service.Verify();
      if (Succeeded(outcome.status)) {
        ++verifies;
        EXPECT_TRUE(outcome.differences.empty());
      } else {
        EXPECT_EQ(Held(rig.image), Held(sent)) << "a failed verify leaves the image";
      }
    }
    // The share of spoiled frames leaves most transfers whole.
    EXPECT_GT(writes, 0);
    EXPECT_GT(verifies, 0);
    EXPECT_GT(rig.emulator.FramesAccepted(), 200);
  }
}

}  // namespace
}  // namespace q5480
