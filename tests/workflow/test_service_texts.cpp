// What the service windows compute and show, without a module: the output
// codes and field texts, the scroll bars' ends, the preview's arithmetic and
// the password's verdict.
#include <gtest/gtest.h>

#include "workflow/corrections_window.h"
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
      // The codes are the service's; here the window's limits and texts.
      {"12", false, kSet, Accepted, 4096, "12.00"},
      {"3.8", false, kSet, Accepted, 65434, "3.80"},
      {"2,5", false, kSet, OutOfRange, 0, "03.75"},
      {"22", false, kSet, OutOfRange, 0, "21.75"},
      {"3", true, kSet, Accepted, 6000, "3.00"},
      {"2.5", true, kSet, OutOfRange, 0, "03.00"},
      {"22.01", true, kSet, OutOfRange, 0, "22.00"},
      // The diagnostics window's preset reaches further in the wide format
      // and shows a leading zero.
      {"2", true, kPreset, Accepted, 4000, "02.000"},
      {"1.9", true, kPreset, OutOfRange, 0, "02.000"},
      {"23", true, kPreset, OutOfRange, 0, "22.100"},
      {"3.8", false, kPreset, Accepted, 65434, "03.80"},
      {"2.5", false, kPreset, OutOfRange, 0, "03.75"},
      // Text that is no number.
      {"12mA", false, kSet, WrongFormat, 0, "12.00"},
      {"", true, kPreset, WrongFormat, 0, "12.000"},
  };
  for (const OutputCase& c : cases) {
    SCOPED_TRACE(std::string(c.typed) + (c.wide ? " wide" : " standard"));
    const OutputEntry entry = ReadOutputEntry(c.typed, c.wide, c.limits);
    EXPECT_EQ(entry.kind, c.kind);
    EXPECT_EQ(entry.shown, c.shown);
    if (c.kind == Accepted) { EXPECT_EQ(entry.code, c.code); }
  }
}

TEST(CorrectionScrollBars, EndsShowTwoAndStoreTheModulesLimit) {
  const struct {
    int position;
    const char* panel;
    double stored;
  } cases[] = {{400, "+2.00 ", 1.9999}, {0, "-2.00 ", -1.9999}, {399, "+1.99 ", 1.99},
               {250, "+0.50 ", 0.5},    {200, "0.00 ", 0.0},    {185, "-0.15 ", -0.15}};
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
      {50, 100, 0, 0, 1, 0, 51},      // the zero moves by 1 % of the span
      {50, 100, 1, 0, 0, 0, 49},      // a saved zero taken out again
      {50, 100, 0, 0, 0, 2, 51},      // 2 % more gain
      {50, 100, 0.5, 1, 0.5, 1, 50},  // unchanged corrections change nothing
      {20, 10, 0, -1, 0, 1, 20 / 0.99 * 1.01},
  };
  for (const auto& c : cases) {
    EXPECT_NEAR(PreviewSignal(c.corrected, c.span, c.zeroSaved, c.gainSaved, c.zero, c.gain),
                c.expected, 1e-12);
  }
}

TEST(ServicePassword, TheProgramsPasswordOrTheAccessCode) {
  using enum PasswordVerdict;
  const struct {
    std::optional<std::string> typed;
    const char* password;
    PasswordVerdict verdict;
  } cases[] = {{"vorn", "vorn", Corrections},
               {"Vorn", "vorn", Refused},
               {"@kesvra", "vorn", Diagnostics},
               {std::nullopt, "vorn", Refused},
               {"", "vorn", Refused},
               {"@kesvra", "@kesvra", Diagnostics}};
  for (const auto& c : cases) {
    EXPECT_EQ(CheckServicePassword(c.typed, c.password), c.verdict) << c.typed.value_or("(Esc)");
  }
}

}  // namespace
}  // namespace q5480
