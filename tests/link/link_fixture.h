// A link talking to the in-process module emulator over a pseudo-terminal,
// found as COM 7 through a ports folder of its own.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "support/scratch_directory.h"
#include "config/language_table.h"
#include "config/user_interface.h"
#include "emulator/module_emulator.h"
#include "emulator/sample_handler.h"
#include "link/link.h"

namespace q5480 {

// Records what the link says to the person; safe from any thread.
class RecordingUi : public UserInterface {
 public:
  MessageResult ShowMessage(const std::string& text, const std::string& caption, MessageIcon,
                            MessageButtons) override {
    std::lock_guard lock(mutex_);
    messages_.push_back(caption + ": " + text);
    return MessageResult::Ok;
  }
  void Beep(BeepKind kind) override {
    std::lock_guard lock(mutex_);
    beeps_.push_back(kind);
  }
  std::vector<std::string> Messages() const {
    std::lock_guard lock(mutex_);
    return messages_;
  }
  std::vector<BeepKind> Beeps() const {
    std::lock_guard lock(mutex_);
    return beeps_;
  }

 private:
  mutable std::mutex mutex_;
  std::vector<std::string> messages_;
  std::vector<BeepKind> beeps_;
};

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

// Waits for a condition with a generous upper bound.
inline bool WaitUntil(const std::function<bool()>& condition,
                      std::chrono::milliseconds bound = std::chrono::seconds(5)) {
  auto end = std::chrono::steady_clock::now() + bound;
  while (!condition()) {
    if (std::chrono::steady_clock::now() > end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

inline constexpr int kTestPort = 7;

class LinkFixture : public ::testing::Test {
 protected:
  LinkFixture() : emulator_(handler_) {
    std::filesystem::create_directory(scratch_ / "ports");
    std::filesystem::create_symlink(emulator_.SlavePath(), scratch_ / "ports" / "com7");
    emulator_.Start();
    link_ = std::make_unique<Link>(ui_, texts_, TestSettings());
  }
  ~LinkFixture() override {
    link_.reset();
    emulator_.Stop();
  }

  // Short bounds, and a port tree of the test's own.
  LinkSettings TestSettings() const {
    LinkSettings settings;
    settings.ports.portsDirectory = scratch_ / "ports";
    settings.ports.sysfsRoot = scratch_ / "sys";
    settings.ports.devRoot = scratch_ / "dev";
    settings.threadStopBound = std::chrono::seconds(3);
    settings.workerSilenceBound = std::chrono::milliseconds(300);
    settings.progressAckBound = std::chrono::seconds(3);
    settings.portSettleTime = std::chrono::milliseconds(1);
    return settings;
  }

  // The port open and configured (4800 baud by default), polling stopped.
  void OpenIdle(int speedCode = 3) {
    ASSERT_TRUE(link_->OpenLink(kTestPort, speedCode));
    ASSERT_TRUE(link_->StopPolling());
    // A poll still on its way reaches the module after the stop; the test
    // counts its own requests only.
    ASSERT_TRUE(emulator_.SettleAndResetCounts(std::chrono::milliseconds(20), std::chrono::seconds(2)));
    handler_.ClearRequests();
  }

  test_support::ScratchDirectory scratch_;
  ScriptedHandler handler_;
  ModuleEmulator emulator_;
  RecordingUi ui_;
  LanguageTable texts_;
  std::unique_ptr<Link> link_;
};

}  // namespace q5480
