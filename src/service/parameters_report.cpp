#include "service/parameters_report.h"

#include "config/line_buffer.h"
#include "config/numbers.h"
#include "config/text.h"
#include "conversion/table_file.h"

namespace q5480 {
namespace {

constexpr std::size_t kFirstBreak = 25;
constexpr std::size_t kLastBreak = 34;
constexpr std::size_t kUserInfoLength = 60;
// Connection and conversion share one line while shorter than this.
constexpr std::size_t kConversionLineLength = 50;
constexpr const char* kIndent = "   ";

// Two decimals, at least four characters wide, "." as the point.
std::string Number(double value) { return FormatFixed(value, 4, 2); }

std::string Signed(double value) { return (value > 0 ? "+" : "") + Number(value); }

std::string SensorText(const ModuleConfig& c, const LanguageTable& tr) {
  std::string text = "  ";
  if (IsThermocouple(c.Typ)) text += tr.Tr("Thermocouple type") + " ";
  if (c.Typ == kTypResistance) return text + tr.Tr("Resistance");
  if (IsVoltageInput(c.Typ)) return text + tr.Tr("Voltage");
  if (IsCurrentInput(c.Typ)) return text + tr.Tr("Current");
  return text + InputType(c.Typ).name;
}

std::string LowerFileName(const ModuleConfig& c) { return Utf8ToLower(TableFileBaseName(c.File)); }

// Lines 11 and 12: the connection (text A) and the conversion (text B).
void ConversionLines(const ModuleConfig& c, const LanguageTable& tr, std::string& line11,
                     std::string& line12) {
  std::string a;
  if (c.Tryb == kTrybExternalJunction) {
    a = tr.Tr("external CJ") + " (" + Number(c.RoomT) + "\u00B0C)";
    if (c.Lin == kLinTable) a += ", " + tr.Tr("linearization");
  } else {
    const std::string_view connection = ConnectionName(c.Tryb);
    if (!IsSensorless(c.Typ) && !connection.empty()) a = tr.Tr(connection);
    if (c.Lin >= kLinTable) {
      if (IsPlainInput(c.Typ)) {
        if (!a.empty()) a += ", ";
        a += tr.Tr("conversion") + ":  ";
      } else {
        a += ", " + tr.Tr("linearization");
      }
    }
  }
  std::string b;
  const auto sourceFile = [&] {
    if (c.Typ == kTypUserThermocouple) b = tr.Tr("source file") + ": " + LowerFileName(c);
  };
  switch (c.Lin) {
    case kLinNone: sourceFile(); break;
    case kLinTable:
      if (!c.TableLoaded) break;
      if (c.Typ == kTypUserThermocouple) {
        sourceFile();
      } else {
        a += tr.Tr("table defined") + " ";
        b = "(" + LowerFileName(c) + ")";
      }
      break;
    case kLinLinear: b = tr.Tr("linear"); break;
    case kLinSeries: b = tr.Tr("power series"); break;
    default: a.clear(); break;
  }
  if (CharCount(a) + CharCount(b) < kConversionLineLength) {
    line11 = kIndent + a + b;
    line12.clear();
  } else {
    line11 = kIndent + a;
    line12 = kIndent + b;
  }
}

std::string BurnoutLine(const ModuleConfig& c, const LanguageTable& tr) {
  std::string label = tr.Tr("Output reaction to sensor burnout");
  if (c.Burnout == 2) {
    label = tr.Tr("Output locked");
  } else if (IsSensorless(c.Typ)) {
    label = tr.Tr("Internal failure sygnalization");
  }
  std::string text;
  switch (c.Burnout) {
    case 0: text = tr.Tr("below 4mA"); break;
    case 1: text = tr.Tr("above 20mA"); break;
    case 2: text = "   I=4mA"; break;
    default: break;
  }
  return label + ": " + text;
}

}  // namespace

std::size_t UserInfoBreak(const std::string& ogolne) {
  for (std::size_t position = kFirstBreak; position <= kLastBreak; ++position) {
    if (Utf8Mid(ogolne, position - 1, 1) == " ") return position;
  }
  return kLastBreak + 1;
}

std::vector<std::string> ComposeParametersReport(const ModuleConfig& c, const LanguageTable& tr,
                                                 const CivilDate& printed) {
  LineBuffer report;
  report.Clear();
  report.AddEmptyLines(kReportLineCount);
  std::string_view model = ModelDisplayName(c.Device);
  if (model.empty()) model = "?";
  report.SetLine(0, tr.Tr("Parameters  of") + "  " + std::string(model));
  report.SetLine(2, tr.Tr("ID Tag") + ":  " + c.kod);
  report.SetLine(4, tr.Tr("User info") + ":");
  if (!c.ogolne.empty()) {
    const std::size_t cut = UserInfoBreak(c.ogolne);
    report.SetLine(5, kIndent + Utf8Left(c.ogolne, cut));
    report.SetLine(6, kIndent + Utf8Mid(c.ogolne, cut, kUserInfoLength - cut));
  }
  report.SetLine(7, tr.Tr("Configuration date") + ": " + c.data);
  report.SetLine(8, tr.Tr("Serial number") + ": " + c.serial);
  report.SetLine(10, tr.Tr(IsPlainInput(c.Typ) ? "Input" : "Sensor") + ":" + SensorText(c, tr));
  std::string line11, line12;
  ConversionLines(c, tr, line11, line12);
  report.SetLine(11, line11);
  report.SetLine(12, line12);
  report.SetLine(13, tr.Tr("Input range") + ": " + Number(c.MinInput) + " " + tr.Tr("to") + " " +
                         Number(c.MaxInput) + " " + std::string(UnitName(c.Jednostki)));
  report.SetLine(14, tr.Tr("Output range") + ": 4 - 20 mA");
  report.SetLine(15, BurnoutLine(c, tr));
  report.SetLine(16, tr.Tr("Corrections") + ":  " + Signed(c.ZeroReg) + "% (" + tr.Tr("Zero") +
                         "), " + Signed(c.GainReg) + "% (" + tr.Tr("Gain") + ")");
  report.SetLine(18, tr.Tr("Filter settings") + ":");
  report.SetLine(19, kIndent + tr.Tr("Input filter") + ":");
  report.SetLine(20, "      " + tr.Tr("Filtration range") + "=" +
                         FormatFixed(c.FiltrZakres / 10.0, 3, 1) + " %");
  report.SetLine(
      21, "      " + tr.Tr("Time constant") + "=" + FormatFixed(c.FiltrCzas / 10.0, 3, 1) + " s");
  report.SetLine(
      22, "      " + tr.Tr("Spurious error threshold") + "=" + FormatInt(c.FiltrLimit) + " %");
  report.SetLine(23, kIndent + tr.Tr("Net filter") + ":");
  report.SetLine(24, "      " + tr.Tr("Frequency") + "=" + FormatInt(c.Siec) + " Hz");
  report.SetLine(kReportDateLine, tr.Tr("Printed") + ": " + FormatDate(printed));
  return report.Lines();
}

}  // namespace q5480
