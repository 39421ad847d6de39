// The module's polling over the real link: what it asks, and the status
// bits of the samples that it holds from one poll to the next.
#include <gtest/gtest.h>

#include <vector>

#include "config/module_config.h"
#include "config/module_image.h"
#include "link/link.h"
#include "module/command_set.h"
#include "module/measurement_polling.h"
#include "module/status_latch.h"
#include "support/module_on_line.h"
#include "support/scratch_directory.h"
#include "support/wait_until.h"

namespace q5480 {
namespace {

using test_support::Bytes;
using test_support::WaitUntil;

TEST(StatusLatchTest, BitsAreHeldForOnePollUnlessTheSampleWasRead) {
  // Per poll: status2, whether a window read the sample before it, and the
  // new average and large error bits expected after it.
  struct Poll {
    std::uint8_t status2;
    bool sampleRead, newAverage, largeError;
  };
  const std::vector<std::vector<Poll>> runs = {
      {{0x20, true, true, false}, {0x00, false, true, false}, {0x00, false, false, false}},
      {{0x60, true, true, true}, {0x20, false, true, true}, {0x00, true, false, false}},
      {{0x20, true, true, false}, {0x20, true, true, false}, {0x20, false, true, false}},
      {{0x9F, true, false, false}, {0x00, false, false, false}},  // other bits ignored
  };
  for (std::size_t run = 0; run < runs.size(); ++run) {
    LatchedStatus state;
    for (std::size_t i = 0; i < runs[run].size(); ++i) {
      const Poll& poll = runs[run][i];
      // Between polls the latch lives packed in the link.
      state = UnpackLatch(PackLatch(LatchStatus(state, poll.status2, poll.sampleRead)));
      EXPECT_EQ((std::vector<bool>{state.newAverage, state.largeError, state.keepLatched}),
                (std::vector<bool>{poll.newAverage, poll.largeError, poll.sampleRead}))
          << "run " << run << ", poll " << i;
    }
  }
}

// The module's answer to "m": 25.0, 12 mA, unit 1, and the second status.
Bytes Sample(std::uint8_t status2) { return {0x83, 0x48, 0x00, 0x00, 0x10, 0x00, 0x01, status2}; }

TEST(MeasurementPollingTest, AsksForTheResultAndWindowsSeeTheHeldStatusBits) {
  constexpr int kPort = 7;
  test_support::ScratchDirectory scratch;
  test_support::ModuleOnLine line(test_support::ModuleWith(), scratch / "ports", kPort);
  Link link(MeasurementPolling(), test_support::TestLinkSettings(scratch / "ports"));
  ModuleConfig config;
  ModuleImage image;
  CommandSet commands(link, config, image);
  line.interposer.Override('m', Sample(0x60));
  ASSERT_TRUE(link.OpenLink(kPort, 3));

  MeasurementSample sample;
  DeviceStatus status;
  ASSERT_TRUE(WaitUntil([&] { return commands.TakeSample(sample, status); }));
  EXPECT_EQ(line.interposer.Requests().front(), (Bytes{'m', register_mode::kResult}));
  EXPECT_DOUBLE_EQ(sample.Value, 25.0);
  EXPECT_DOUBLE_EQ(sample.Current, 12.0);
  EXPECT_TRUE(status.NewAverage && status.LargeError);
  // Read samples let go of the bits that the module no longer sends.
  line.interposer.Override('m', Sample(0x20));
  ASSERT_TRUE(WaitUntil([&] {
    return commands.TakeSample(sample, status) && status.NewAverage && !status.LargeError;
  }));
  line.interposer.Override('m', Sample(0x00));
  ASSERT_TRUE(WaitUntil([&] { return commands.TakeSample(sample, status) && !status.NewAverage; }));
  link.StopLink();
}

}  // namespace
}  // namespace q5480
