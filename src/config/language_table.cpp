#include "config/language_table.h"

#include "config/line_buffer.h"
#include "config/program_directory.h"
#include "config/text.h"

namespace q5480 {

const std::array<std::string_view, kLanguageKeyCount>& LanguageKeys() {
  static constexpr std::array<std::string_view, kLanguageKeyCount> kKeys{
      "Q5480 Panel Meters",
      "language",
      "Q5480EN",
      "Thermocouple",
      "CJ temp.",
      "Information complete",
      "Information incomplete",
      "No_name",
      "Transmission unsuccessful",
      "No communication with device",
      "Reading data...",
      "Device programmed",
      "Information transferred",
      "Writing data...",
      "Turn Autoread off",
      "Verifying...",
      "Verification successful",
      "Errors have been found!",
      "Verification ended with errors",
      "Wrong format",
      "Cancel",
      "Options",
      "Input range too small!",
      "Minimum out of range!",
      "Unspecified type",
      "Maximum out of range!",
      "No parameters",
      "not implemented yet",
      "Panel meter has to be connected!",
      "Out of range!",
      "Type of panel meter inconsistency",
      "New data will be read",
      "Disconnect the panel meter",
      "and press",
      "to preserve present configuration",
      "Parameters  of",
      "User ID Tag",
      "ID Tag",
      "Configuration date",
      "Serial number",
      "User info",
      "Thermocouple type",
      "Sensor",
      "external CJ",
      "Input range",
      "Output range",
      "below 4mA",
      "above 20mA",
      "Internal failure sygnalization",
      "Output reaction to sensor burnout",
      "Output locked",
      "Corrections",
      "Zero",
      "Gain",
      "Filter settings",
      "Input filter",
      "Filtration range",
      "Time constant",
      "Net filter",
      "Frequency",
      "Printed",
      "Printing",
      "Command failed",
      "Password",
      "Communicating with device",
      "Please wait",
      "COM%d initialization failed",
      "2-wire",
      "3-wire",
      "4-wire",
      "differential",
      "no CJC",
      "CJC",
      "linearization",
      "to",
      "file is invalid",
      "Broken sensor",
      "EEPROM error",
      "Parameters files",
      "Data files",
      "All files",
      "Cannot open file",
      "none",
      "has to be higher than",
      "&File",
      "&New",
      "&Open",
      "&Save",
      "Save as",
      "&Keep results",
      "&Stop saving",
      "&Print",
      "&Help",
      "P&rint setup",
      "E&xit",
      "&Configuration",
      "&Setup",
      "R&efresh",
      "&Read",
      "&Write",
      "&Verify",
      "&Input",
      "&Reset",
      "&Corrections",
      "&Lock Iout",
      "&View",
      "&Toolbar",
      "S&tatus",
      "&Diagram",
      "&Monitor only",
      "&Options",
      "&General",
      "&Communication",
      "&Automatic read",
      "&Info",
      "&Version",
      "Device",
      "Sensor type",
      "Input",
      "Select",
      "Parameters",
      "Eng. units",
      "Minimum",
      "Maximum",
      "Signal filter",
      "Range",
      "Spurious error threshold",
      "Set spurious error threshold",
      "Time",
      "Net filter freq.",
      "User corrections",
      "Info",
      "Other",
      "Serial No",
      "Last config. date",
      "Result",
      "Output",
      "New",
      "Open",
      "Save",
      "Print",
      "Start",
      "Stop",
      "Clear",
      "Internal error",
      "new average",
      "spurious error",
      "Stop scaling",
      "Clear diagram",
      "Show diagram",
      "Double-click to stop saving data",
      "Filter limits",
      "Interval",
      "Preset plotting time interval",
      "Read settings",
      "Write settings",
      "Communication",
      "Input corrections",
      "Select sensor",
      "Enter the minimum value",
      "Enter the maximum value",
      "Set filtration range",
      "Set time constant",
      "Optimal",
      "Optimal settings",
      "no noise",
      "Choose expected reaction",
      "Choose net frequency",
      "Write down ID tag",
      "Show filter limits",
      "Write down any information",
      "source file",
      "Read source file",
      "Transfer function",
      "is not monotonic",
      "Switching the serial port",
      "Serial port",
      "Force highest priority",
      "Use when other processes disturb communication",
      "Simulation",
      "Reset",
      "Write",
      "Set",
      "Exit",
      "Set all to zero",
      "Int. temp.",
      "Set corrections to zero",
      "Simulate corrections",
      "Correct Zero",
      "Correct Gain",
      "Write to nonvolatile memory",
      "Reset meter",
      "Set the output current",
      "Determine output current value",
      "Click to switch between small and large dots",
      "Set the external cold junction temperature",
      "Sensor selection",
      "Input signal",
      "RTD",
      "Thermocouples",
      "Resistance",
      "Voltage",
      "Current",
      "single",
      "double",
      "More",
      "Maximum range",
      "Result1",
      "Type",
      "Connection",
      "Mode",
      "temperature difference",
      "cold junction compensation",
      "result conversion",
      "result converted",
      "conversion",
      "linear",
      "power series",
      "table defined",
      "Other1",
      "Tables",
      "Message",
      "New1",
      "Old",
      "Wrong",
      "Table",
      "Response",
      "Example",
      "Corrupted or wrong data file",
      "User defined sensor or conversion",
      "No data available",
      "Values should rise",
      "1st column values should rise or fall",
      "Value out of range",
      "Not enough points",
      "Power series calculation error",
      "Range too small",
      "Check",
      "Select type of meter",
      "Digital dot position",
  };
  return kKeys;
}

LanguageTable::LanguageTable() { SetEnglish(); }

std::string LanguageTable::Tr(std::string_view key) const {
  return FindKeyValue(lines_, key).value_or(std::string());
}

void LanguageTable::SetEnglish() {
  lines_.clear();
  lines_.reserve(kLanguageKeyCount);
  for (std::string_view key : LanguageKeys()) {
    std::string line(key);
    line += '=';
    line += key;
    lines_.push_back(std::move(line));
  }
}

void LanguageTable::SetLines(std::vector<std::string> lines) { lines_ = std::move(lines); }

bool LanguageTable::IsComplete() const {
  for (std::string_view key : LanguageKeys()) {
    std::optional<std::string> text = FindKeyValue(lines_, key);
    if (!text || text->empty()) return false;
  }
  return true;
}

std::string TextOrKey(const LanguageTable& language, std::string_view key) {
  std::string text = language.Tr(key);
  return text.empty() ? std::string(key) : text;
}

std::string DropLastCharacter(const std::string& text) {
  std::size_t count = CharCount(text);
  return count == 0 ? std::string() : Utf8Left(text, count - 1);
}

std::string SubstituteNumber(const std::string& text, long number) {
  std::size_t at = text.find("%d");
  if (at == std::string::npos) return text;
  return text.substr(0, at) + std::to_string(number) + text.substr(at + 2);
}

bool LoadLanguageFile(LanguageTable& table, const std::filesystem::path& path) {
  LineBuffer buffer;
  if (!buffer.Load(path)) return false;
  LanguageTable loaded;
  loaded.SetLines(buffer.Lines());
  if (!loaded.IsComplete()) return false;
  table = std::move(loaded);
  return true;
}

namespace {

// A language name comes from the settings file: it names a file, never a
// path elsewhere.
bool IsPlainFileName(std::string_view name) {
  return !name.empty() && name != "." && name != ".." &&
         name.find_first_of("/\\") == std::string_view::npos;
}

}  // namespace

bool LoadLanguage(LanguageTable& table, std::string& language) {
  if (language != "English" && IsPlainFileName(language)) {
    std::optional<std::filesystem::path> file = FindDataFile(language + ".lan");
    if (file && LoadLanguageFile(table, *file)) return true;
  }
  const bool wasEnglish = language == "English";
  language = "English";
  table.SetEnglish();
  return wasEnglish;
}

}  // namespace q5480
