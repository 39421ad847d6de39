// The main window's Write, Read and Verify through the command set against
// the emulated module.

#include <thread>

#include "link/command_set.h"
#include "workflow/module_commands.h"
#include "workflow_fixture.h"

namespace q5480 {
namespace {

class WindowOverCommandSet : public WorkflowTest {
 protected:
  WindowOverCommandSet()
      : commands_(context_.link, context_.config, context_.image,
                  CommandPauses{std::chrono::milliseconds(1), std::chrono::milliseconds(1),
                                std::chrono::milliseconds(1)}) {}

  void SetUp() override {
    UseCommands(MakeModuleCommands(commands_));
    SetThermocoupleK(context_.config);
    context_.config.Jednostki = 8;
    OpenPort();
    TickUntilConnected();
    window_->Panel().pokaz(kColourWhite);
  }

  CommandSet commands_;
};

TEST_F(WindowOverCommandSet, WriteThenVerifyThenReadBack) {
  ASSERT_TRUE(window_->ZapiszTClick()) << ::testing::PrintToString(ui_.MessageTexts());
  EXPECT_EQ(context_.statusText, "Device programmed");
  EXPECT_TRUE(window_->Weryfikuj1Click());
  EXPECT_EQ(context_.statusText, "Verification successful");

  // The module's copy changes; Verify finds it and keeps what was written.
  const ModuleImage written = context_.image;
  const std::size_t address = 1088 + 40;  // a segment byte of the newer layout
  module_.PokeMemory(address, static_cast<std::uint8_t>(module_.Memory()[address] + 1));
  TickUntilConnected();
  EXPECT_FALSE(window_->Weryfikuj1Click());
  EXPECT_EQ(context_.statusText, "Verification ended with errors");
  EXPECT_EQ(context_.image.bytes, written.bytes);

  context_.config = ModuleConfig{};
  TickUntilConnected();
  ASSERT_TRUE(window_->OdczytajTClick());
  EXPECT_EQ(context_.config.Typ, 10);
  EXPECT_EQ(context_.config.kod, "TI-101");
  EXPECT_DOUBLE_EQ(context_.config.MaxInput, 1000);
}

TEST_F(WindowOverCommandSet, FailedVerificationReadKeepsTheImageWritten) {
  ASSERT_TRUE(window_->ZapiszTClick()) << ::testing::PrintToString(ui_.MessageTexts());
  const ModuleImage written = context_.image;
  // The module's filter byte differs, and the module falls silent once the
  // first blocks, which carry that byte, have been read.
  module_.PokeMemory(20, static_cast<std::uint8_t>(module_.Memory()[20] + 1));
  const auto silenceAfter = emulator_.FramesAccepted() + 12;
  std::thread silencer([&] {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (emulator_.FramesAccepted() < silenceAfter && std::chrono::steady_clock::now() < end) {
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    emulator_.Faults().Arm(Fault::NoReply, 100000);
  });
  EXPECT_FALSE(window_->Weryfikuj1Click());
  silencer.join();
  EXPECT_EQ(context_.image.bytes, written.bytes) << "a partial read stayed in the image";
}

TEST_F(WindowOverCommandSet, TakeSampleShowsTheModulesMeasurement) {
  MeasurementSample sample;
  DeviceStatus status;
  ASSERT_TRUE(WaitUntil([&] { return commands_.TakeSample(sample, status); }));
  EXPECT_EQ(ModelCodeAt(status.ModelIndex), 95);
}

}  // namespace
}  // namespace q5480
