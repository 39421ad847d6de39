// q5480ctl with the module unplugged half way through a read, a write or a
// verify: it ends at once with status 1 and the reason, never with success.
#include <future>

#include "ctl_runner.h"
#include "support/device_rig.h"

namespace q5480::device_test {

using namespace test_support;
namespace {

struct UnplugCase {
  const char* command;
  std::uint8_t code;  // the requests of the transfer, counted until the pull
  long after;
};

class UnpluggedCtl : public ::testing::TestWithParam<UnplugCase> {
 protected:
  UnpluggedCtl() : ctl_(rig_.scratch / "ctl", rig_.emulator.SlavePath()) {
    SetPt100Configuration(rig_.config);
  }

  DeviceRig rig_{ModuleWith(kNewId, 5495)};
  CtlRunner ctl_;
};

TEST_P(UnpluggedCtl, EndsWithStatusOneAndTheReason) {
  const std::string par = WriteParameters(rig_.scratch, rig_.config, "pt100.par");
  std::vector<std::string> args{GetParam().command, "--port", std::to_string(kPort)};
  if (std::string(GetParam().command) == "read") {
    args.insert(args.end(), {"-o", (rig_.scratch / "read.par").string()});
  } else {
    args.insert(args.begin() + 1, par);
  }
  std::future<Outcome> run = std::async(std::launch::async, [&] { return ctl_.Run(args); });
  ASSERT_TRUE(
      WaitUntil([&] { return rig_.interposer.CountOf(GetParam().code) >= GetParam().after; }));
  rig_.line.Unplug();
  const Outcome outcome = run.get();
  EXPECT_EQ(outcome.status, 1);
  EXPECT_NE(outcome.err.find("Transmission unsuccessful! (COM9 is gone)"), std::string::npos)
      << outcome.err;
  EXPECT_FALSE(std::filesystem::exists(rig_.scratch / "read.par"))
      << "a failed read writes no file";
}

INSTANTIATE_TEST_SUITE_P(Transfers, UnpluggedCtl,
                         ::testing::Values(UnplugCase{"read", 's', 4}, UnplugCase{"write", 'D', 20},
                                           UnplugCase{"verify", 's', 20}),
                         [](const auto& info) { return std::string(info.param.command); });

}  // namespace
}  // namespace q5480::device_test
