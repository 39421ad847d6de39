// The options of q5480-module and the commands it takes while running.
#include <gtest/gtest.h>

#include "config/dates.h"
#include "config/module_image.h"
#include "emulator/module_command_line.h"

namespace q5480 {
namespace {

std::optional<ModuleProgramOptions> Parse(const std::vector<std::string>& args,
                                          std::string& error) {
  return ParseModuleCommandLine(args, error);
}

TEST(ModuleCommandLine, EveryOptionReachesTheModule) {
  std::string error;
  const auto options = Parse({"--com", "12", "--baud", "4800", "--id", "1.45", "--model", "5491",
                              "--serial", "70001", "--factory-date", "01.02.2024",
                              "--wide-current", "--no-flagged", "--memory", "/tmp/m.bin",
                              "--signal", "sine:10:2:5", "--internal-temperature", "30.5",
                              "--sensor-broken", "--eeprom-error", "--cal-mode"},
                             error);
  ASSERT_TRUE(options) << error;
  EXPECT_EQ(options->com, 12);
  EXPECT_EQ(options->baud, 4800);
  EXPECT_EQ(options->module.factory.identifier, "1.45");
  EXPECT_EQ(options->module.factory.modelNumber, 5491);
  EXPECT_EQ(options->module.factory.serial, 70001u);
  EXPECT_EQ(options->module.factory.factoryDay, DayNumber({2024, 2, 1}));
  EXPECT_TRUE(options->module.wideCurrent);
  EXPECT_FALSE(options->module.acceptFlagged);
  EXPECT_EQ(options->module.memoryFile, "/tmp/m.bin");
  ASSERT_TRUE(options->signal);
  EXPECT_EQ(options->signal->kind, SignalKind::Sine);
  EXPECT_DOUBLE_EQ(options->module.internalTemperature, 30.5);
  EXPECT_TRUE(options->sensorBroken && options->eepromError && options->calibrationMode);
}

TEST(ModuleCommandLine, RefusesBadArgumentsWithAReason) {
  const std::vector<std::vector<std::string>> bad = {
      {"--com", "0"},          {"--baud", "fast"},          {"--id", "12345"},
      {"--model", "70000"},    {"--factory-date", "31.02.2024"}, {"--factory-date", "1.2.2024"},
      {"--signal", "square:1"}, {"--internal-temperature", "warm"}, {"--serial"},
      {"--colour", "red"}};
  for (const auto& args : bad) {
    SCOPED_TRACE(args[0]);
    std::string error;
    EXPECT_FALSE(Parse(args, error));
    EXPECT_FALSE(error.empty());
  }
}

TEST(ModuleCommandLine, HelpNamesEveryOption) {
  std::string error;
  const auto options = Parse({"--help"}, error);
  ASSERT_TRUE(options);
  EXPECT_TRUE(options->help);
  for (const char* option :
       {"--com", "--baud", "--id", "--model", "--serial", "--factory-date", "--wide-current",
        "--no-flagged", "--memory", "--signal", "--internal-temperature", "--sensor-broken",
        "--eeprom-error", "--cal-mode", "--help"}) {
    EXPECT_NE(std::string(kModuleProgramHelp).find(option), std::string::npos) << option;
  }
}

TEST(ModuleCommands, ChangeTheRunningModule) {
  ModuleOptions options;
  double now = 0;
  EmulatedModule module(options, [&now] { return now; });
  std::string error;
  EXPECT_TRUE(ApplyModuleCommand("broken on", module, error));
  EXPECT_TRUE(ApplyModuleCommand("eeprom on\r", module, error));
  EXPECT_TRUE(ApplyModuleCommand("cal on", module, error));
  const auto sample = module.Handle({'m', 2});
  ASSERT_TRUE(sample);
  EXPECT_EQ((*sample)[6] & 0xD0, 0xD0) << "sensor fault, EEPROM error and calibration mode";
  EXPECT_TRUE(ApplyModuleCommand("broken off", module, error));
  EXPECT_TRUE(ApplyModuleCommand("eeprom off", module, error));
  EXPECT_TRUE(ApplyModuleCommand("cal off", module, error));
  EXPECT_EQ((*module.Handle({'m', 2}))[6] & 0xD0, 0);

  EXPECT_TRUE(ApplyModuleCommand("signal const:12.5", module, error)) << error;
  const auto raw = module.Handle({'m', 1});
  ASSERT_TRUE(raw);
  EXPECT_DOUBLE_EQ(DecodeModuleFloat(raw->data()), 12.5);
  EXPECT_TRUE(ApplyModuleCommand("temperature 31", module, error));

  for (const char* line : {"signal", "broken maybe", "temperature hot", "louder please"}) {
    SCOPED_TRACE(line);
    error.clear();
    EXPECT_FALSE(ApplyModuleCommand(line, module, error));
    EXPECT_FALSE(error.empty());
  }
}

}  // namespace
}  // namespace q5480
