// The 28 lines of the parameters report.
#include <gtest/gtest.h>

#include <functional>

#include "service/parameters_report.h"
#include "support/sample_configurations.h"

namespace q5480 {
namespace {

struct ReportCase {
  const char* name;
  std::function<void(ModuleConfig&)> edit;
  std::size_t line;
  std::string expected;
};

// 40 characters, the first space from position 25 on at 28.
constexpr const char* kFortyCharacters = "Zażółć gęślą jaźń, kociołek nr 3, powrót";

std::vector<std::string> Report(const ModuleConfig& config, const LanguageTable& language = {}) {
  return ComposeParametersReport(config, language, CivilDate{2026, 3, 5});
}

TEST(ParametersReport, LinesFollowTheConfiguration) {
  const std::vector<ReportCase> cases = {
      {"title", [](ModuleConfig&) {}, 0, "Parameters  of  Q5495"},
      {"model not listed", [](ModuleConfig& c) { c.Device = "Q5400"; }, 0, "Parameters  of  ?"},
      {"model not offered", [](ModuleConfig& c) { c.Device = "Q5496"; }, 0, "Parameters  of  ?"},
      {"tag", [](ModuleConfig&) {}, 2, "ID Tag:  TAG-7"},
      // 40 characters with a space at position 28: 28 on the first line, 12 on the second.
      {"info break at a space", [](ModuleConfig& c) { c.ogolne = kFortyCharacters; }, 5,
       "   Zażółć gęślą jaźń, kociołek "},
      {"info rest", [](ModuleConfig& c) { c.ogolne = kFortyCharacters; }, 6, "   nr 3, powrót"},
      {"info without a space from 25 to 34",
       [](ModuleConfig& c) { c.ogolne = "Line 7 " + std::string(38, 'x') + " end"; }, 5,
       "   Line 7 " + std::string(28, 'x')},
      {"info rest after 35",
       [](ModuleConfig& c) { c.ogolne = "Line 7 " + std::string(38, 'x') + " end"; }, 6,
       "   " + std::string(10, 'x') + " end"},
      {"no info", [](ModuleConfig& c) { c.ogolne.clear(); }, 5, ""},
      {"no info, second line", [](ModuleConfig& c) { c.ogolne.clear(); }, 6, ""},
      {"serial", [](ModuleConfig& c) { c.serial = "2612001"; }, 8, "Serial number: 2612001"},
      {"thermocouple", test_support::SetThermocoupleK, 10, "Sensor:  Thermocouple type K"},
      {"compensation and linearization", test_support::SetThermocoupleK, 11,
       "   CJC, linearization"},
      {"nothing continues", test_support::SetThermocoupleK, 12, ""},
      {"external junction",
       [](ModuleConfig& c) {
         test_support::SetThermocoupleK(c);
         c.Tryb = 6;
       },
       11, "   external CJ (23.50\u00B0C), linearization"},
      {"RTD", [](ModuleConfig&) {}, 11, "   3-wire, linearization"},
      {"resistance input",
       [](ModuleConfig& c) {
         c.Typ = 5;
         c.Tryb = 2;
         c.Lin = kLinLinear;
       },
       10, "Input:  Resistance"},
      {"resistance conversion",
       [](ModuleConfig& c) {
         c.Typ = 5;
         c.Tryb = 2;
         c.Lin = kLinLinear;
       },
       11, "   2-wire, conversion:  linear"},
      {"voltage series",
       [](ModuleConfig& c) {
         c.Typ = 16;
         c.Lin = kLinSeries;
       },
       11, "   conversion:  power series"},
      {"table that fits one line",
       [](ModuleConfig& c) {
         c.Typ = 19;
         c.Lin = kLinTable;
         c.TableLoaded = true;
         c.File = "C:\\Tables\\FLOW.DAT";
       },
       11, "   conversion:  table defined (flow.dat)"},
      {"table that needs two lines",
       [](ModuleConfig& c) {
         c.Typ = 19;
         c.Lin = kLinTable;
         c.TableLoaded = true;
         c.File = "/t/Przepływ_rurociąg_główny.dat";
       },
       12, "   (przepływ_rurociąg_główny.dat)"},
      {"table not loaded",
       [](ModuleConfig& c) {
         c.Typ = 19;
         c.Lin = kLinTable;
         c.File = "flow.dat";
       },
       11, "   conversion:  "},
      {"user thermocouple",
       [](ModuleConfig& c) {
         c.Typ = 15;
         c.Tryb = 7;
         c.Lin = kLinNone;
         c.File = "T\\X.DAT";
       },
       11, "   CJCsource file: x.dat"},
      {"no conversion kind", [](ModuleConfig& c) { c.Lin = 0; }, 11, "   "},
      {"range", [](ModuleConfig&) {}, 13, "Input range: -50.00 to 250.00 \u00B0C"},
      {"burnout", [](ModuleConfig&) {}, 15, "Output reaction to sensor burnout: above 20mA"},
      {"output locked", [](ModuleConfig& c) { c.Burnout = 2; }, 15, "Output locked:    I=4mA"},
      {"plain input failure",
       [](ModuleConfig& c) {
         c.Typ = 17;
         c.Burnout = 0;
       },
       15, "Internal failure sygnalization: below 4mA"},
      {"signed corrections",
       [](ModuleConfig& c) {
         c.ZeroReg = 0.5;
         c.GainReg = -0.5;
       },
       16, "Corrections:  +0.50% (Zero), -0.50% (Gain)"},
      {"zero correction",
       [](ModuleConfig& c) {
         c.ZeroReg = 0;
         c.GainReg = 1.25;
       },
       16, "Corrections:  0.00% (Zero), +1.25% (Gain)"},
      {"filtration", [](ModuleConfig&) {}, 20, "      Filtration range=1.2 %"},
      {"time constant", [](ModuleConfig&) {}, 21, "      Time constant=3.2 s"},
      {"threshold", [](ModuleConfig&) {}, 22, "      Spurious error threshold=7 %"},
      {"60 Hz", [](ModuleConfig&) {}, 24, "      Frequency=60 Hz"},
      {"date", [](ModuleConfig&) {}, 27, "Printed: 05.03.2026"},
  };
  for (const ReportCase& c : cases) {
    ModuleConfig config;
    test_support::SetPt100Configuration(config);
    c.edit(config);
    const std::vector<std::string> lines = Report(config);
    ASSERT_EQ(lines.size(), kReportLineCount) << c.name;
    EXPECT_EQ(lines[c.line], c.expected) << c.name;
  }
}

TEST(ParametersReport, BreaksTheUserInformationByCharacters) {
  EXPECT_EQ(UserInfoBreak(std::string(27, 'a') + " " + std::string(12, 'b')), 28u);
  EXPECT_EQ(UserInfoBreak("ąęśćżźłóń ąęśćżźłóń ąęść żźłóńąęśćżźłóń"), 25u);  // not byte 25
  EXPECT_EQ(UserInfoBreak(std::string(34, 'a') + " "), 35u);
  EXPECT_EQ(UserInfoBreak("short"), 35u);
}

TEST(ParametersReport, WordsComeFromTheLanguageTable) {
  LanguageTable polish;
  polish.SetLines({"Parameters  of=Parametry", "Sensor=Czujnik", "Thermocouple type=Termopara typu",
                   "CJC=kompensacja", "linearization=linearyzacja"});
  ModuleConfig config;
  test_support::SetThermocoupleK(config);
  const std::vector<std::string> lines = Report(config, polish);
  EXPECT_EQ(lines[0], "Parametry  Q5495");
  EXPECT_EQ(lines[10], "Czujnik:  Termopara typu K");
  EXPECT_EQ(lines[11], "   kompensacja, linearyzacja");
  EXPECT_EQ(lines[14], ": 4 - 20 mA");  // a key the table lacks gives an empty word
}

}  // namespace
}  // namespace q5480
