// The worlds of the window tests: the recording user interface and the
// program context, without a module (panel, files, small windows) or with
// the real module service and an emulated module on a pseudo-terminal that
// the link finds as COM 7.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <memory>

#include "support/module_on_line.h"
#include "support/recording_ui.h"
#include "support/sample_configurations.h"
#include "support/scratch_directory.h"
#include "support/wait_until.h"
#include "workflow/main_window.h"

namespace q5480 {

using namespace test_support;

inline constexpr int kTestPort = 7;
// The unpaced emulator needs no real line time; a fast line keeps the
// transfers of the window tests short.
inline constexpr int kFastLine = 115200;

class OfflineTest : public ::testing::Test {
 protected:
  OfflineTest() : context_(ui_), panel_(context_), files_(context_, panel_) {
    context_.programDirectory = scratch_.Path();
    context_.fileName = context_.Tr("No_name");
  }

  ScratchDirectory scratch_;
  RecordingUi ui_;
  ProgramContext context_;
  ParameterPanel panel_;
  FileCommands files_;
};

class WorkflowTest : public ::testing::Test {
 protected:
  explicit WorkflowTest(ModuleOptions options = ModuleWith())
      : line_(std::move(options), scratch_ / "ports", kTestPort),
        module_(line_.module),
        context_(ui_, TestLinkSettings(scratch_ / "ports"), kShortPauses) {
    std::filesystem::create_directories(scratch_ / "program");
    context_.programDirectory = scratch_ / "program";
    context_.fileName = context_.Tr("No_name");
    context_.settings.ComPort = kTestPort;
    window_ = std::make_unique<MainWindowLogic>(context_);
  }
  ~WorkflowTest() override { context_.link.StopLink(); }

  void OpenPort() {
    ASSERT_TRUE(context_.link.OpenLink(kTestPort, 3));
    ASSERT_TRUE(context_.link.ConfigurePort(kFastLine));
    context_.state.TimerEnabled = true;
  }

  // Ticks until a sample arrived and was shown.
  void TickUntilConnected() {
    ASSERT_TRUE(WaitUntil([&] {
      window_->Timer1Timer();
      return context_.state.Connected;
    }));
  }

  // `count` ticks that each obtained a sample, with any ticks between them
  // that did not.
  void SampledTicks(int count) {
    for (int i = 0; i < count; ++i) {
      context_.state.Connected = false;
      TickUntilConnected();
    }
  }

  // A configuration shown as after a read, with the module connected.
  void ConnectWithThermocoupleK() {
    SetThermocoupleK(context_.config);
    OpenPort();
    TickUntilConnected();
    window_->Panel().ShowConfiguration(kColourWhite);
  }

  // The status text without the fingerprint that a read or a write adds.
  std::string StatusWithoutFingerprint() const {
    const std::string& text = context_.statusText;
    return text.substr(0, text.find("   "));
  }

  long Requests(std::uint8_t code) const { return line_.interposer.CountOf(code); }
  // Every transfer starts by asking the module for its identifier.
  long Transfers() const {
    const auto requests = line_.interposer.Requests();
    return std::count_if(requests.begin(), requests.end(),
                         [](const Bytes& r) { return r[0] == 's' && r[1] == kIdentifyCount; });
  }

  ScratchDirectory scratch_;
  RecordingUi ui_;
  ModuleOnLine line_;
  EmulatedModule& module_;
  ProgramContext context_;
  std::unique_ptr<MainWindowLogic> window_;
};

}  // namespace q5480
