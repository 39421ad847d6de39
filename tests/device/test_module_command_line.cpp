// The options of q5480-module and the commands it takes while running.
#include <gtest/gtest.h>

#include <iterator>
#include <sstream>

#include "config/dates.h"
#include "config/module_image.h"
#include "emulator/module_command_line.h"

namespace q5480 {
namespace {

// A command line as typed: words between spaces.
std::vector<std::string> Words(const std::string& line) {
  std::istringstream stream(line);
  return {std::istream_iterator<std::string>(stream), std::istream_iterator<std::string>()};
}

TEST(ModuleCommandLine, EveryOptionReachesTheModuleAndTheHelpNamesIt) {
  const std::vector<std::string> args = Words(
      "--com 12 --baud 4800 --id 1.45 --model 5491 --serial 70001 --factory-date 01.02.2024 "
      "--wide-current --no-flagged --memory /tmp/m.bin --signal sine:10:2:5 "
      "--internal-temperature 30.5 --sensor-broken --eeprom-error --cal-mode");
  std::string error;
  const auto options = ParseModuleCommandLine(args, error);
  ASSERT_TRUE(options) << error;
  EXPECT_EQ(options->com, 12);
  EXPECT_EQ(options->baud, 4800);
  const ModuleOptions& module = options->module;
  EXPECT_EQ(module.factory.identifier, "1.45");
  EXPECT_EQ(module.factory.modelNumber, 5491);
  EXPECT_EQ(module.factory.serial, 70001u);
  EXPECT_EQ(module.factory.factoryDay, DayNumber({2024, 2, 1}));
  EXPECT_TRUE(module.wideCurrent);
  EXPECT_FALSE(module.acceptFlagged);
  EXPECT_EQ(module.memoryFile, "/tmp/m.bin");
  ASSERT_TRUE(options->signal);
  EXPECT_EQ(options->signal->kind, SignalKind::Sine);
  EXPECT_DOUBLE_EQ(module.internalTemperature, 30.5);
  EXPECT_TRUE(options->sensorBroken && options->eepromError && options->calibrationMode);
  EXPECT_FALSE(options->help);

  const auto help = ParseModuleCommandLine({"--help"}, error);
  ASSERT_TRUE(help);
  EXPECT_TRUE(help->help);
  const std::string helpText = kModuleProgramHelp;
  EXPECT_NE(helpText.find("--help"), std::string::npos);
  for (const std::string& word : args) {
    if (word.starts_with("--")) { EXPECT_NE(helpText.find(word), std::string::npos) << word; }
  }
}

TEST(ModuleCommandLine, RefusesBadArgumentsWithAReason) {
  const std::vector<std::vector<std::string>> bad = {{"--com", "0"},
                                                     {"--baud", "fast"},
                                                     {"--id", "12345"},
                                                     {"--model", "70000"},
                                                     {"--factory-date", "31.02.2024"},
                                                     {"--factory-date", "1.2.2024"},
                                                     {"--signal", "square:1"},
                                                     {"--internal-temperature", "warm"},
                                                     {"--serial"},
                                                     {"--colour", "red"}};
  for (const auto& args : bad) {
    std::string error;
    EXPECT_FALSE(ParseModuleCommandLine(args, error)) << args[0];
    EXPECT_FALSE(error.empty()) << args[0];
  }
}

TEST(ModuleCommands, ChangeTheRunningModule) {
  double now = 0;
  EmulatedModule module(ModuleOptions{}, [&now] { return now; });
  const auto status1 = [&] { return module.Handle({'m', 2}).value()[6] & 0xD0; };
  std::string error;
  for (const char* line : {"broken on", "eeprom on\r", "cal on"}) {
    EXPECT_TRUE(ApplyModuleCommand(line, module, error)) << line;
  }
  EXPECT_EQ(status1(), 0xD0) << "sensor fault, EEPROM error and calibration mode";
  for (const char* line : {"broken off", "eeprom off", "cal off"}) {
    EXPECT_TRUE(ApplyModuleCommand(line, module, error)) << line;
  }
  EXPECT_EQ(status1(), 0);

  EXPECT_TRUE(ApplyModuleCommand("signal const:12.5", module, error)) << error;
  EXPECT_DOUBLE_EQ(DecodeModuleFloat(module.Handle({'m', 1}).value().data()), 12.5);
  EXPECT_TRUE(ApplyModuleCommand("temperature 31", module, error));
  for (const char* line : {"signal", "broken maybe", "temperature hot", "louder please"}) {
    error.clear();
    EXPECT_FALSE(ApplyModuleCommand(line, module, error)) << line;
    EXPECT_FALSE(error.empty()) << line;
  }
}

}  // namespace
}  // namespace q5480
