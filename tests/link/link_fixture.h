// A link talking to the in-process module emulator over a pseudo-terminal,
// found as COM 7 through a ports folder of its own.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

#include "emulator/module_emulator.h"
#include "emulator/sample_handler.h"
#include "link/link.h"
#include "support/scratch_directory.h"
#include "support/wait_until.h"

namespace q5480 {

using test_support::WaitUntil;

// Answers "m" like SampleHandler and other codes from a script.
class ScriptedHandler : public RequestHandler {
 public:
  std::optional<std::vector<std::uint8_t>> Handle(const std::vector<std::uint8_t>& data) override {
    {
      std::lock_guard lock(mutex_);
      requests_.push_back(data);
      auto found = script_.find(data[0]);
      if (found != script_.end()) return found->second;
    }
    return samples_.Handle(data);
  }
  void Answer(std::uint8_t code, std::optional<std::vector<std::uint8_t>> reply) {
    std::lock_guard lock(mutex_);
    script_[code] = std::move(reply);
  }
  long CountOf(std::uint8_t code) const {
    std::lock_guard lock(mutex_);
    long count = 0;
    for (const auto& request : requests_) count += request[0] == code;
    return count;
  }
  void ClearRequests() {
    std::lock_guard lock(mutex_);
    requests_.clear();
  }
  void SetStatus2(std::uint8_t status) { samples_.SetStatus2(status); }

 private:
  mutable std::mutex mutex_;
  std::map<std::uint8_t, std::optional<std::vector<std::uint8_t>>> script_;
  std::vector<std::vector<std::uint8_t>> requests_;
  SampleHandler samples_;
};

inline constexpr int kTestPort = 7;
inline constexpr int kSpeed1200 = 1;
inline constexpr int kSpeed4800 = 3;

// Short bounds, and a port tree of the test's own.
inline LinkSettings TestLinkSettings(const std::filesystem::path& scratch) {
  LinkSettings settings;
  settings.ports.portsDirectory = scratch / "ports";
  settings.ports.sysfsRoot = scratch / "sys";
  settings.ports.devRoot = scratch / "dev";  // never a real serial device
  settings.workerSilenceBound = std::chrono::milliseconds(300);
  settings.progressAckBound = std::chrono::seconds(3);
  settings.portSettleTime = std::chrono::milliseconds(1);
  return settings;
}

class LinkFixture : public ::testing::Test {
 protected:
  explicit LinkFixture(int baud = 0) : emulator_(handler_, baud) {
    std::filesystem::create_directory(scratch_ / "ports");
    std::filesystem::create_symlink(emulator_.SlavePath(), scratch_ / "ports" / "com7");
    emulator_.Start();
    link_ = std::make_unique<Link>(TestLinkSettings(scratch_.Path()));
  }
  ~LinkFixture() override {
    link_.reset();
    emulator_.Stop();
  }

  // The port open and configured (4800 baud by default), polling stopped.
  void OpenIdle(int speedCode = kSpeed4800) {
    ASSERT_TRUE(link_->OpenLink(kTestPort, speedCode));
    link_->StopPolling();
    // A poll still on its way reaches the module after the stop; the test
    // counts its own requests only.
    ASSERT_TRUE(emulator_.SettleAndResetCounts(std::chrono::milliseconds(20), std::chrono::seconds(5)));
    handler_.ClearRequests();
  }

  test_support::ScratchDirectory scratch_;
  ScriptedHandler handler_;
  ModuleEmulator emulator_;
  std::unique_ptr<Link> link_;
};

}  // namespace q5480
