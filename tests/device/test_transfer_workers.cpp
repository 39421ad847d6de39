// Read, write, information write and verify against the emulated module of
// either memory layout.
#include <algorithm>

#include "config/dates.h"
#include "config/module_image.h"
#include "device_fixture.h"
#include "link/image_packing.h"

namespace q5480::device_test {
namespace {

constexpr std::uint8_t kFixedPoint = 0x80;

bool IsWrite(const Bytes& request) { return (request[0] & 0x7F) == 'D'; }
std::size_t AddressOf(const Bytes& request) { return std::size_t{request[2]} << 8 | request[3]; }

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

TEST_P(TransferTest, WriteThenReadGivesBackTheConfiguration) {
  const ModuleConfig written = rig_.config;
  ASSERT_TRUE(rig_.Write());

  rig_.config = ModuleConfig{};
  rig_.image = ModuleImage{};
  ASSERT_TRUE(rig_.Read());
  const ModuleConfig& read = rig_.config;
  EXPECT_EQ(read.Device, "Q5495");
  EXPECT_EQ(read.ModuleId, GetParam());
  EXPECT_EQ(read.Typ, written.Typ);
  EXPECT_EQ(read.Tryb, written.Tryb);
  EXPECT_EQ(read.Lin, written.Lin);
  EXPECT_DOUBLE_EQ(read.MinInput, written.MinInput);
  EXPECT_DOUBLE_EQ(read.MaxInput, written.MaxInput);
  EXPECT_DOUBLE_EQ(read.ZeroReg, written.ZeroReg);
  EXPECT_DOUBLE_EQ(read.GainReg, written.GainReg);
  EXPECT_EQ(read.FiltrZakres, written.FiltrZakres);
  EXPECT_EQ(read.FiltrCzas, written.FiltrCzas);
  EXPECT_EQ(read.FiltrLimit, written.FiltrLimit);
  EXPECT_EQ(read.Jednostki, written.Jednostki);
  EXPECT_EQ(read.Burnout, written.Burnout);
  EXPECT_EQ(read.Siec, written.Siec);
  EXPECT_EQ(read.kod, written.kod);
  EXPECT_EQ(read.ogolne, written.ogolne);
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

TEST_P(TransferTest, VerifyAfterWriteSucceedsAndFindsAByteChangedInTheModule) {
  ASSERT_TRUE(rig_.Write());
  VerifyOutcome outcome = rig_.service.Verify();
  EXPECT_TRUE(outcome.Matches());

  // A segment byte changes inside the module.
  const std::size_t segmentByte = image_offset::kSegments + 8 * 100 + 1;
  const std::size_t address = NewLayout() ? 1088 + 8 * 100 + 2 : segmentByte;
  rig_.module.PokeMemory(address, static_cast<std::uint8_t>(rig_.module.Memory()[address] ^ 0x04));
  const ModuleImage expected = rig_.image;
  outcome = rig_.service.Verify();
  ASSERT_EQ(outcome.status, LinkStatus::Success);
  EXPECT_EQ(outcome.differences, std::vector<std::size_t>{segmentByte});
  EXPECT_EQ(rig_.image.bytes, expected.bytes) << "the expected image is put back";
}

TEST_P(TransferTest, WriteReportsRisingProgressToTheEnd) {
  std::vector<int> seen;
  TransferObserver observer;
  observer.progress = [&](int percent) { seen.push_back(percent); };
  ASSERT_EQ(rig_.service.Write(observer), LinkStatus::Success);
  ASSERT_FALSE(seen.empty());
  EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
  EXPECT_EQ(seen.back(), 100);
  EXPECT_GT(seen.size(), 50u) << "a signal for nearly every percent";
}

TEST_P(TransferTest, StoreThatFailsEndsWithOneRestartAndKeepsTheModule) {
  const MemoryBytes before = rig_.module.Memory();
  rig_.interposer.Override('L', Bytes{0});  // a reply of the wrong length
  EXPECT_EQ(rig_.service.Write(), LinkStatus::BadReply);
  const std::vector<Bytes> requests = rig_.interposer.Requests();
  ASSERT_FALSE(requests.empty());
  EXPECT_EQ(rig_.interposer.CountOf('r'), 1);
  EXPECT_EQ(requests.back(), Bytes{'r'});
  EXPECT_EQ(rig_.module.Memory(), before);
  EXPECT_FALSE(rig_.module.WriteOpen());
}

TEST_P(TransferTest, InformationWriteChangesOnlyTheTexts) {
  ASSERT_TRUE(rig_.Write());
  MemoryBytes expected = rig_.module.Memory();
  const std::string kod = "NEW-TAG";
  for (std::size_t i = 0; i < 15; ++i) {
    rig_.image[image_offset::kKod + i] = i < kod.size() ? static_cast<std::uint8_t>(kod[i]) : 0xFF;
  }
  // A changed segment in the program must not reach the module.
  rig_.image[image_offset::kSegments] ^= 0xFF;
  const std::size_t textAddress = NewLayout() ? 128 : image_offset::kKod;
  std::copy_n(rig_.image.bytes.begin() + image_offset::kKod, 80, expected.begin() + textAddress);

  ASSERT_EQ(rig_.service.WriteInformation(), LinkStatus::Success);
  EXPECT_EQ(rig_.module.Memory(), expected);
  EXPECT_EQ(rig_.interposer.CountOf('L'), NewLayout() ? 2 : 1) << "only the first write stores";
}

TEST_P(TransferTest, ModuleThatFallsSilentMidWriteFailsWithinTheRetryBounds) {
  const ModuleConfig config = rig_.config;
  const ModuleImage image = rig_.image;
  rig_.interposer.SilentAfter(40);
  // One flagged try and five plain ones without an echo, then the restart:
  // the worker's own failure, not the waiting side's cancel after a silence.
  EXPECT_EQ(rig_.service.Write(), LinkStatus::NoEcho);
  EXPECT_EQ(Held(rig_.image), Held(image));
  EXPECT_EQ(rig_.config.kod, config.kod);
  EXPECT_DOUBLE_EQ(rig_.config.MaxInput, config.MaxInput);
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

INSTANTIATE_TEST_SUITE_P(BothLayouts, TransferTest,
                         ::testing::Values(kOldId, kOldIdLate, kNewId));

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
    if (!IsWrite(request)) continue;
    const std::size_t first = AddressOf(request);
    const std::size_t last = first + request[1] - 1;
    EXPECT_TRUE(last < 16 || first > 67) << "block at " << first;
  }
  const MemoryBytes after = rig.module.Memory();
  EXPECT_TRUE(std::equal(before.begin() + 16, before.begin() + 68, after.begin() + 16));
  EXPECT_EQ(after[image_offset::kUnitsAndPoint], image[image_offset::kUnitsAndPoint] & ~kFixedPoint);
  EXPECT_EQ(Held(rig.image), Held(image)) << "the image keeps its fixed point";
  // The module took the store, so its check covers the bytes it received.
  ModuleImage received;
  std::copy_n(after.begin(), 2048, received.bytes.begin());
  EXPECT_EQ(after[image_offset::kCheckByte], received.ComputeCheckByte());
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
  const auto segments = [](const ModuleImage& image) {
    return std::vector<std::uint8_t>(image.bytes.begin() + image_offset::kSegments,
                                     image.bytes.begin() + image_offset::kKod);
  };
  EXPECT_EQ(segments(rig.image), segments(before));
  EXPECT_NE(rig.image.LoadFloat(image_offset::kSpan), before.LoadFloat(image_offset::kSpan))
      << "the range did come from the module";
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
      if (rig.Write()) {
        ++writes;
        const MemoryBytes memory = rig.module.Memory();
        if (rig.commands.NewLayout()) {
          const MemoryMap map = PackImage(sent, rig.config);
          EXPECT_TRUE(std::equal(map.begin() + 16, map.begin() + 208, memory.begin() + 16));
          EXPECT_TRUE(std::equal(map.begin() + 1088, map.begin() + 2752, memory.begin() + 1088));
        } else {
          EXPECT_TRUE(std::equal(sent.bytes.begin() + 68, sent.bytes.begin() + 1856,
                                 memory.begin() + 68));
          EXPECT_TRUE(std::equal(sent.bytes.begin() + 2016, sent.bytes.begin() + 2032,
                                 memory.begin() + 2016));
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
    }
    // The share of spoiled frames leaves most transfers whole.
    EXPECT_GT(writes, 0);
    EXPECT_GT(verifies, 0);
    EXPECT_GT(rig.emulator.FramesAccepted(), 200);
  }
}

}  // namespace
}  // namespace q5480::device_test
