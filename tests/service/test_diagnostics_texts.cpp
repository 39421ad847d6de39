// What the diagnostics window and q5480ctl monitor show: the registers in
// their formats with their modes and labels, the status lines and the
// parameters summary.
#include <gtest/gtest.h>

#include "service/diagnostics_texts.h"
#include "support/sample_configurations.h"

namespace q5480 {
namespace {

TEST(DiagnosticsRegisters, FormatsModesAndLabels) {
  const struct {
    std::size_t index;
    double value;
    int unit;
    const char* text;
  } cases[] = {
      {6, 0.1234, 8, "  12.34 %   "},        // Wnorm: a fraction shown in percent
      {4, 1.23456, 8, "  1.235   "},         // Meas: three decimals
      {5, 99.996, 8, " 100.00 \u00B0C   "},  // Result with the reading's unit
      {5, 5, 15, "   5.00     "},            // codes 11 to 15: a blank, as in the recording file
      {5, -5, 11, "  -5.00     "},
      {5, 5, 0, "   5.00     "},
      {5, 5, 10, "   5.00 kg   "},
      {0, -12.345678, 8, " -12.35   "},
      {2, 1234.5, 8, "1234.50   "},
      {7, 0.125, 8, "   0.12   "},  // halves to the even neighbour
  };
  for (const auto& c : cases) {
    EXPECT_EQ(RegisterText(c.index, c.value, c.unit), c.text) << c.index;
  }
  const std::uint8_t modes[kRegisterCount] = {1, 1, 1, 1, 0, 2, 4, 8};
  for (std::size_t i = 0; i < kRegisterCount; ++i) EXPECT_EQ(RegisterModeOf(i), modes[i]) << i;

  EXPECT_EQ(DiagnosticOutputText(12.3456), "12.346 mA   ");
  EXPECT_EQ(DiagnosticOutputText(4), " 4.000 mA   ");

  const struct {
    const char* device;
    RegisterLabels labels;
  } models[] = {
      {"Q5491", {"Iinpu", "", "", "", "Meas", "Result", "Wnorm", "Aver"}},
      {"Q5494", {"Iinpu", "OInpu", "XInpu", "SInpu", "Meas", "Result", "Wnorm", "Aver"}},
      {"Q5495", {"Iinpu", "RInpu", "TInpu", "XInpu", "Meas", "Result", "Wnorm", "Aver"}},
      {"", FormRegisterLabels()},
      {"Q54", FormRegisterLabels()},
  };
  for (const auto& m : models) {
    ModuleConfig config;
    config.Device = m.device;
    config.ModelIndex = 8;  // a module reporting Q5491 does not decide the labels
    EXPECT_EQ(RegisterLabelsFor(config), m.labels) << m.device;
  }
}

TEST(DiagnosticsStatus, OneLinePerFlagInItsOrder) {
  ModuleConfig config;
  config.Typ = 10;
  DeviceStatus status;
  EXPECT_EQ(StatusLines(status, config), "");
  status.SensorFault = true;
  status.NewAverage = true;
  EXPECT_EQ(StatusLines(status, config), "Broken sensor\nNew average\n");
  config.Typ = 19;
  EXPECT_EQ(StatusLines(status, config), "Out of input range\nNew average\n");
  status = DeviceStatus{};
  status.CalMode = status.IndependentOutput = status.EepromError = status.OutOfRange = true;
  status.LargeError = true;
  EXPECT_EQ(StatusLines(status, config),
            "Calibration mode\nIndependent output\nEEPROM error\nOut of range\nLarge error");
}

TEST(DiagnosticsParameters, SummaryOfTheConfiguration) {
  ModuleConfig config;
  test_support::SetPt100Configuration(config);
  config.GainReg = -1.5;
  config.FactoryDate = "15.03.2023";
  config.data = "06.12.2026";
  config.ModuleId = "2104";
  EXPECT_EQ(ParametersSummary(config),
            "Pt100 (0.00385), 3-wire, linearization\n"
            "\n"
            "Range: -50.00..250.00\u00B0C\n"
            "Zero:  0.25%   Gain:  -1.50%\n"
            "Filter:  1.2%   3.2s   7%\n"
            "\n"
            "Calibration date: 15.03.2023\n"
            "Config. date:      06.12.2026\n"
            "Inner code version: 2104");

  const struct {
    int typ, tryb, lin;
    const char* firstLine;
  } inputs[] = {
      {10, 6, 2, "Thermocouple K, CJ temp.: 23.5\u00B0C, linearization"},
      {10, 7, 1, "Thermocouple K, CJC"},
      {19, 1, 4, "Current, converted"},
      {16, 5, 1, "Voltage"},
      {5, 4, 8, "Resistance, 4-wire, converted"},
  };
  for (const auto& c : inputs) {
    config.Typ = static_cast<std::uint8_t>(c.typ);
    config.Tryb = static_cast<std::uint8_t>(c.tryb);
    config.Lin = static_cast<std::uint8_t>(c.lin);
    const std::string summary = ParametersSummary(config);
    EXPECT_EQ(summary.substr(0, summary.find('\n')), c.firstLine);
  }
}

}  // namespace
}  // namespace q5480
