// What the service windows compute and show, without a module: the output
// codes and field texts, the scroll bars' ends, the preview's arithmetic,
// the diagnostics registers, status lines and parameters summary, and the
// password's verdict.
#include <gtest/gtest.h>

#include "support/sample_configurations.h"
#include "workflow/corrections_window.h"
#include "workflow/diagnostics_texts.h"
#include "workflow/output_entry.h"
#include "workflow/service_command.h"

namespace q5480 {
namespace {

struct OutputCase {
  const char* typed;
  bool wide;
  OutputLimits limits;
  OutputEntryKind kind;
  int code;  // for an accepted entry
  const char* shown;
};

TEST(OutputEntryTest, CodesAndReplacementTextsInBothFormatsAndWindows) {
  using enum OutputEntryKind;
  constexpr OutputLimits kSet = OutputLimits::Corrections;
  constexpr OutputLimits kPreset = OutputLimits::Preset;
  const OutputCase cases[] = {
      // Standard format: 512 codes per mA above 4 mA, negative as two's complement.
      {"12", false, kSet, Accepted, 4096, "12.00"},
      {"4", false, kSet, Accepted, 0, "4.00"},
      {"3.8", false, kSet, Accepted, 65434, "3.80"},
      {"3,75", false, kSet, Accepted, 65408, "3.75"},
      {"21.75", false, kSet, Accepted, 9088, "21.75"},
      {"2,5", false, kSet, OutOfRange, 0, "03.75"},
      {"22", false, kSet, OutOfRange, 0, "21.75"},
      // Wide format: 2000 codes per mA.
      {"3", true, kSet, Accepted, 6000, "3.00"},
      {"22", true, kSet, Accepted, 44000, "22.00"},
      {"2.5", true, kSet, OutOfRange, 0, "03.00"},
      {"22.01", true, kSet, OutOfRange, 0, "22.00"},
      // The diagnostics window's preset reaches further in the wide format
      // and shows a leading zero.
      {"2", true, kPreset, Accepted, 4000, "02.000"},
      {"22.1", true, kPreset, Accepted, 44200, "22.100"},
      {"1.9", true, kPreset, OutOfRange, 0, "02.000"},
      {"23", true, kPreset, OutOfRange, 0, "22.100"},
      {"3.8", false, kPreset, Accepted, 65434, "03.80"},
      {"2.5", false, kPreset, OutOfRange, 0, "03.75"},
      // Text that is no number.
      {"12mA", false, kSet, WrongFormat, 0, "12.00"},
      {"", true, kPreset, WrongFormat, 0, "12.000"},
      {"abc", false, kPreset, WrongFormat, 0, "12.00"},
  };
  for (const OutputCase& c : cases) {
    SCOPED_TRACE(std::string(c.typed) + (c.wide ? " wide" : " standard"));
    const OutputEntry entry = ReadOutputEntry(c.typed, c.wide, c.limits);
    EXPECT_EQ(entry.kind, c.kind);
    EXPECT_EQ(entry.shown, c.shown);
    if (c.kind == Accepted) {
      EXPECT_EQ(entry.code, c.code);
    }
  }
}

TEST(CorrectionScrollBars, EndsShowTwoAndStoreTheModulesLimit) {
  const struct {
    int position;
    const char* panel;
    double stored;
  } cases[] = {{400, "+2.00 ", 1.9999}, {0, "-2.00 ", -1.9999}, {399, "+1.99 ", 1.99},
               {250, "+0.50 ", 0.5},    {200, "0.00 ", 0.0},     {185, "-0.15 ", -0.15}};
  for (const auto& c : cases) {
    EXPECT_EQ(CorrectionPanelText(c.position), c.panel) << c.position;
    EXPECT_DOUBLE_EQ(CorrectionOfPosition(c.position), c.stored) << c.position;
  }
  // A stored correction sets the bar; the module's limit sits at the end.
  EXPECT_EQ(PositionOfCorrection(1.9999), 400);
  EXPECT_EQ(PositionOfCorrection(-1.9999), 0);
  EXPECT_EQ(PositionOfCorrection(-0.5), 150);
  EXPECT_EQ(PositionOfCorrection(0.125), 212) << "halves to the even neighbour";
  EXPECT_EQ(PositionOfCorrection(7), 400) << "a record beyond the module's range";
}

TEST(CorrectionPreview, CurrentCorrectionsReplaceTheSavedOnes) {
  const struct {
    double corrected, span, zeroSaved, gainSaved, zero, gain, expected;
  } cases[] = {
      {50, 100, 0, 0, 1, 0, 51},     // the zero moves by 1 % of the span
      {50, 100, 1, 0, 0, 0, 49},     // a saved zero taken out again
      {50, 100, 0, 0, 0, 2, 51},     // 2 % more gain
      {50, 100, 0.5, 1, 0.5, 1, 50}, // unchanged corrections change nothing
      {20, 10, 0, -1, 0, 1, 20 / 0.99 * 1.01},
  };
  for (const auto& c : cases) {
    EXPECT_NEAR(PreviewSignal(c.corrected, c.span, c.zeroSaved, c.gainSaved, c.zero, c.gain),
                c.expected, 1e-12);
  }
}

TEST(DiagnosticsRegisters, FormatsModesAndLabels) {
  const struct {
    std::size_t index;
    double value;
    int unit;
    const char* text;
  } cases[] = {
      {6, 0.1234, 8, "  12.34 %   "},   // Wnorm: a fraction shown in percent
      {4, 1.23456, 8, "  1.235   "},    // Meas: three decimals
      {5, 99.996, 8, " 100.00 \u00B0C   "},  // Result with the reading's unit
      {5, 5, 15, "   5.00     "},       // codes 11 to 15: a blank, as in the recording file
      {5, -5, 11, "  -5.00     "},
      {5, 5, 0, "   5.00     "},
      {5, 5, 10, "   5.00 kg   "},
      {0, -12.345678, 8, " -12.35   "},
      {2, 1234.5, 8, "1234.50   "},
      {7, 0.125, 8, "   0.12   "},      // halves to the even neighbour
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

TEST(ServicePassword, TheProgramsPasswordOrTheAccessCode) {
  using enum PasswordVerdict;
  const struct {
    std::optional<std::string> typed;
    const char* password;
    PasswordVerdict verdict;
  } cases[] = {{"vorn", "vorn", Corrections},   {"Vorn", "vorn", Refused},
               {"@kesvra", "vorn", Diagnostics}, {std::nullopt, "vorn", Refused},
               {"", "vorn", Refused},            {"@kesvra", "@kesvra", Diagnostics}};
  for (const auto& c : cases) {
    EXPECT_EQ(CheckServicePassword(c.typed, c.password), c.verdict) << c.typed.value_or("(Esc)");
  }
}

}  // namespace
}  // namespace q5480
