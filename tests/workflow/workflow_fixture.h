// The world of a window test: a recording user interface with scripted
// answers, the program context, and an emulated module on a pseudo-terminal
// that the link finds as COM 7.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "support/scratch_directory.h"
#include "config/user_interface.h"
#include "emulator/module_emulator.h"
#include "emulator/module_requests.h"
#include "link/measurement.h"
#include "workflow/main_window.h"

namespace q5480 {

struct ShownMessage {
  std::string text;
  std::string caption;
  MessageIcon icon;
  MessageButtons buttons;
};

// Records everything the windows say; answers questions and file dialogs
// from scripts. Safe from the link's threads, which beep.
class RecordingUi : public UserInterface {
 public:
  MessageResult ShowMessage(const std::string& text, const std::string& caption, MessageIcon icon,
                            MessageButtons buttons) override {
    std::lock_guard lock(mutex_);
    messages_.push_back({text, caption, icon, buttons});
    if (!answers_.empty()) {
      const MessageResult answer = answers_.front();
      answers_.pop_front();
      return answer;
    }
    return buttons == MessageButtons::YesNo ? MessageResult::No : MessageResult::Ok;
  }
  void Beep(BeepKind kind) override {
    std::lock_guard lock(mutex_);
    beeps_.push_back(kind);
  }
  std::optional<std::string> AskFileName(const FileDialogRequest& request) override {
    std::lock_guard lock(mutex_);
    dialogs_.push_back(request);
    if (fileNames_.empty()) return std::nullopt;
    std::optional<std::string> name = fileNames_.front();
    fileNames_.pop_front();
    return name;
  }
  void SetStatusText(const std::string& text) override {
    std::lock_guard lock(mutex_);
    statusTexts_.push_back(text);
  }
  void SetProgress(int percent) override {
    std::lock_guard lock(mutex_);
    progress_.push_back(percent);
  }
  void ShowWaitWindow(bool shown) override {
    std::lock_guard lock(mutex_);
    waitWindow_.push_back(shown);
  }

  void Answer(MessageResult answer) {
    std::lock_guard lock(mutex_);
    answers_.push_back(answer);
  }
  void ChooseFile(std::optional<std::string> name) {
    std::lock_guard lock(mutex_);
    fileNames_.push_back(std::move(name));
  }
  std::vector<ShownMessage> Messages() const {
    std::lock_guard lock(mutex_);
    return messages_;
  }
  std::vector<std::string> MessageTexts() const {
    std::vector<std::string> texts;
    for (const ShownMessage& m : Messages()) texts.push_back(m.text);
    return texts;
  }
  std::vector<BeepKind> Beeps() const {
    std::lock_guard lock(mutex_);
    return beeps_;
  }
  std::vector<FileDialogRequest> Dialogs() const {
    std::lock_guard lock(mutex_);
    return dialogs_;
  }
  std::vector<std::string> StatusTexts() const {
    std::lock_guard lock(mutex_);
    return statusTexts_;
  }
  std::vector<int> Progress() const {
    std::lock_guard lock(mutex_);
    return progress_;
  }
  std::vector<bool> WaitWindow() const {
    std::lock_guard lock(mutex_);
    return waitWindow_;
  }
  void Forget() {
    std::lock_guard lock(mutex_);
    messages_.clear();
    beeps_.clear();
    statusTexts_.clear();
  }

 private:
  mutable std::mutex mutex_;
  std::vector<ShownMessage> messages_;
  std::vector<BeepKind> beeps_;
  std::vector<FileDialogRequest> dialogs_;
  std::vector<std::string> statusTexts_;
  std::vector<int> progress_;
  std::vector<bool> waitWindow_;
  std::deque<MessageResult> answers_;
  std::deque<std::optional<std::string>> fileNames_;
};

inline constexpr int kTestPort = 7;

// Waits for `condition` up to a generous bound.
inline bool WaitUntil(const std::function<bool()>& condition,
                      std::chrono::milliseconds bound = std::chrono::seconds(10)) {
  const auto end = std::chrono::steady_clock::now() + bound;
  while (!condition()) {
    if (std::chrono::steady_clock::now() > end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return true;
}

inline ModuleOptions ModuleOfModel(std::uint16_t modelNumber) {
  ModuleOptions options;
  options.factory.modelNumber = modelNumber;
  return options;
}

inline LinkSettings TestLinkSettings(const std::filesystem::path& portsFolder) {
  LinkSettings settings;
  settings.ports.portsDirectory = portsFolder;
  settings.ports.sysfsRoot = portsFolder / "no-sysfs";
  settings.ports.devRoot = portsFolder / "no-dev";  // never a real serial device
  settings.portSettleTime = std::chrono::milliseconds(1);
  settings.threadStopBound = std::chrono::milliseconds(2000);
  settings.workerSilenceBound = std::chrono::milliseconds(500);
  return settings;
}

// Thermocouple K, 0 to 1000 °C, linearised, internal compensation, tagged
// "TI-101": the configuration the window tests start from.
inline void SetThermocoupleK(ModuleConfig& c) {
  c.Device = "Q5495";
  c.Typ = 10;
  c.Tryb = 7;
  c.Lin = kLinTable;
  c.MinInput = 0;
  c.MaxInput = 1000;
  c.kod = "TI-101";
}

// The command set's sample as the polling thread left it: read once.
inline bool TakeLinkSample(Link& link, MeasurementSample& sample, DeviceStatus& status) {
  if (!link.DataValid() || link.SampleRead()) {
    status.ModelIndex = 16;
    return false;
  }
  const LinkBuffer bytes = link.LastSample();
  link.SetSampleRead();
  sample = DecodeSample(bytes.data());
  DecodeDeviceStatus(sample.Status1, sample.Status2, AverageFlags::Keep, status);
  return true;
}

class WorkflowTest : public ::testing::Test {
 protected:
  explicit WorkflowTest(std::uint16_t modelNumber = 5495)
      : module_(ModuleOfModel(modelNumber)), emulator_(module_),
        context_(ui_, TestLinkSettings(scratch_ / "ports")) {
    std::filesystem::create_directories(scratch_ / "ports");
    std::filesystem::create_directories(scratch_ / "program");
    context_.programDirectory = scratch_ / "program";
    context_.fileName = context_.Tr("No_name");
    context_.settings.ComPort = kTestPort;
    emulator_.Start();
    std::filesystem::create_symlink(emulator_.SlavePath(),
                                    scratch_ / "ports" / ("com" + std::to_string(kTestPort)));
    window_ = std::make_unique<TQ5480FLogic>(context_, LinkCommands());
  }
  ~WorkflowTest() override {
    context_.link.StopPolling();
    context_.link.StopLink();
    emulator_.Stop();
  }

  // The sample comes from the polling thread; workers are added per test.
  ModuleCommands LinkCommands() {
    ModuleCommands commands;
    commands.TakeSample = [this](MeasurementSample& sample, DeviceStatus& status) {
      return TakeLinkSample(context_.link, sample, status);
    };
    return commands;
  }

  void UseCommands(ModuleCommands commands) {
    window_ = std::make_unique<TQ5480FLogic>(context_, std::move(commands));
  }

  void OpenPort() {
    ASSERT_TRUE(context_.link.OpenLink(kTestPort, 3));
    context_.state.TimerEnabled = true;
  }

  // Ticks until a sample arrived and was shown.
  void TickUntilConnected() {
    ASSERT_TRUE(WaitUntil([&] {
      window_->Timer1Timer();
      return context_.state.Connected;
    }));
  }

  test_support::ScratchDirectory scratch_;
  RecordingUi ui_;
  EmulatedModule module_;
  ModuleEmulator emulator_;
  ProgramContext context_;
  std::unique_ptr<TQ5480FLogic> window_;
};

}  // namespace q5480
