#include "emulator/module_command_line.h"

#include <charconv>
#include <cmath>
#include <functional>
#include <map>

#include "config/dates.h"

namespace q5480 {

const char* const kModuleProgramHelp =
    "usage: q5480-module [OPTIONS]\n"
    "\n"
    "A stand-in measuring module on a pseudo-terminal. Prints the path of the\n"
    "pseudo-terminal on one line and runs until interrupted (SIGINT, SIGTERM).\n"
    "The module answers every request of the command set from its own memory\n"
    "and measures a simulated input signal with the configuration written to it.\n"
    "\n"
    "line:\n"
    "  --com N                place the link comN in the ports folder so that the\n"
    "                         programs find the module as COM N (1 to 255); the\n"
    "                         link is removed at exit\n"
    "  --baud B               emulate the line speed: each byte takes 10 bit times\n"
    "                         at B baud (default: no pacing)\n"
    "\n"
    "the module:\n"
    "  --id XXXX              the four identifier characters (default 2104); a\n"
    "                         first character above \"1\" gives the newer memory\n"
    "                         layout, \"1\" or below the older one (the image\n"
    "                         itself); an older module whose fourth character is\n"
    "                         below \"4\" has no fixed decimal point\n"
    "  --model NNNN           the model number, the digits of the model name\n"
    "                         (default 5495 for Q5495)\n"
    "  --serial N             the serial number (default 1234567)\n"
    "  --factory-date D       the factory date, dd.mm.yyyy (default 15.03.2023)\n"
    "  --wide-current         report the output current in 0.5 uA steps instead\n"
    "                         of 1/512 mA above 4 mA\n"
    "  --no-flagged           stay silent to the flagged write requests (0xC4,\n"
    "                         0xCC), as firmware without them does\n"
    "  --memory FILE          keep the configuration memory in FILE across runs\n"
    "                         (created by the first stored write)\n"
    "\n"
    "the measurement:\n"
    "  --signal SHAPE         the input signal at the terminals, in the unit of\n"
    "                         the sensor characteristic (ohms, mV, mA or V):\n"
    "                         const:LEVEL, ramp:FROM:TO:PERIOD or\n"
    "                         sine:CENTRE:AMPLITUDE:PERIOD (period in seconds);\n"
    "                         default const:0\n"
    "  --internal-temperature C  the cold junction's temperature in degrees\n"
    "                         Celsius (default 25); an older module adds its\n"
    "                         compensation voltage for it\n"
    "  --sensor-broken        start with a broken sensor\n"
    "  --eeprom-error         start with an EEPROM error\n"
    "  --cal-mode             start in calibration mode\n"
    "  --help                 show this text\n"
    "\n"
    "While it runs the module takes one command a line on standard input:\n"
    "  signal SHAPE           a new input signal (as --signal)\n"
    "  broken on|off          the sensor fault\n"
    "  eeprom on|off          the EEPROM error\n"
    "  cal on|off             calibration mode\n"
    "  temperature C          the cold junction's temperature\n"
    "The flags \"out of range\", \"new average\" and \"large error\" follow from\n"
    "the signal; \"independent output\" holds from an \"o\" request until \"r\".\n";

namespace {

std::optional<long> WholeNumber(std::string_view text, long low, long high) {
  long value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || value < low || value > high) {
    return std::nullopt;
  }
  return value;
}

std::optional<double> RealNumber(std::string_view text) {
  double value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) {
    return std::nullopt;
  }
  return value;
}

// "dd.mm.yyyy" as a day number that fits the module's 16 bits.
std::optional<std::uint16_t> FactoryDay(std::string_view text) {
  if (text.size() != 10 || text[2] != '.' || text[5] != '.') return std::nullopt;
  const auto day = WholeNumber(text.substr(0, 2), 1, 31);
  const auto month = WholeNumber(text.substr(3, 2), 1, 12);
  const auto year = WholeNumber(text.substr(6, 4), 1900, 2079);
  if (!day || !month || !year) return std::nullopt;
  const CivilDate date{static_cast<int>(*year), static_cast<int>(*month), static_cast<int>(*day)};
  const std::int32_t number = DayNumber(date);
  const CivilDate back = DateFromDayNumber(number);
  if (back.day != date.day || back.month != date.month || number > 0xFFFF) return std::nullopt;
  return static_cast<std::uint16_t>(number);
}

std::optional<bool> OnOff(std::string_view text) {
  if (text == "on") return true;
  if (text == "off") return false;
  return std::nullopt;
}

}  // namespace

std::optional<ModuleProgramOptions> ParseModuleCommandLine(const std::vector<std::string>& args,
                                                           std::string& error) {
  ModuleProgramOptions options;
  FactoryData& factory = options.module.factory;
  using Setter = std::function<bool(std::string_view)>;
  const std::map<std::string_view, Setter> valued = {
      {"--com",
       [&](std::string_view v) {
         auto n = WholeNumber(v, 1, 255);
         options.com = static_cast<int>(n.value_or(0));
         return n.has_value();
       }},
      {"--baud",
       [&](std::string_view v) {
         auto n = WholeNumber(v, 50, 1000000);
         options.baud = static_cast<int>(n.value_or(0));
         return n.has_value();
       }},
      {"--id",
       [&](std::string_view v) {
         factory.identifier = std::string(v);
         return v.size() == 4;
       }},
      {"--model",
       [&](std::string_view v) {
         auto n = WholeNumber(v, 0, 65535);
         factory.modelNumber = static_cast<std::uint16_t>(n.value_or(0));
         return n.has_value();
       }},
      {"--serial",
       [&](std::string_view v) {
         auto n = WholeNumber(v, 0, 0xFFFFFFFFL);
         factory.serial = static_cast<std::uint32_t>(n.value_or(0));
         return n.has_value();
       }},
      {"--factory-date",
       [&](std::string_view v) {
         auto d = FactoryDay(v);
         factory.factoryDay = d.value_or(0);
         return d.has_value();
       }},
      {"--memory",
       [&](std::string_view v) {
         options.module.memoryFile = std::string(v);
         return !v.empty();
       }},
      {"--signal",
       [&](std::string_view v) {
         std::string reason;
         options.signal = ParseSignalShape(v, reason);
         return options.signal.has_value();
       }},
      {"--internal-temperature",
       [&](std::string_view v) {
         auto t = RealNumber(v);
         options.module.internalTemperature = t.value_or(0);
         return t.has_value();
       }},
  };
  const std::map<std::string_view, bool*> flags = {
      {"--wide-current", &options.module.wideCurrent},
      {"--sensor-broken", &options.sensorBroken},
      {"--eeprom-error", &options.eepromError},
      {"--cal-mode", &options.calibrationMode},
  };
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--help" || arg == "-h") {
      options.help = true;
      return options;
    }
    if (arg == "--no-flagged") {
      options.module.acceptFlagged = false;
      continue;
    }
    if (const auto flag = flags.find(arg); flag != flags.end()) {
      *flag->second = true;
      continue;
    }
    const auto setter = valued.find(arg);
    if (setter == valued.end()) {
      error = "unknown argument \"" + arg + "\"";
      return std::nullopt;
    }
    if (i + 1 >= args.size()) {
      error = arg + " needs a value";
      return std::nullopt;
    }
    if (!setter->second(args[++i])) {
      error = "bad value for " + arg + ": \"" + args[i] + "\"";
      return std::nullopt;
    }
  }
  return options;
}

void ApplyStartSettings(const ModuleProgramOptions& options, EmulatedModule& module) {
  if (options.signal) module.SetSignal(*options.signal);
  module.SetSensorBroken(options.sensorBroken);
  module.SetEepromError(options.eepromError);
  module.SetCalibrationMode(options.calibrationMode);
}

bool ApplyModuleCommand(std::string_view line, EmulatedModule& module, std::string& error) {
  while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.remove_suffix(1);
  const std::size_t space = line.find(' ');
  const std::string_view word = line.substr(0, space);
  const std::string_view value = space == std::string_view::npos ? "" : line.substr(space + 1);
  if (word == "signal") {
    const std::optional<SignalShape> shape = ParseSignalShape(value, error);
    if (shape) module.SetSignal(*shape);
    return shape.has_value();
  }
  if (word == "temperature") {
    const std::optional<double> celsius = RealNumber(value);
    if (celsius) module.SetInternalTemperature(*celsius);
    if (!celsius) error = "bad temperature \"" + std::string(value) + "\"";
    return celsius.has_value();
  }
  const std::optional<bool> on = OnOff(value);
  if (on && word == "broken") {
    module.SetSensorBroken(*on);
  } else if (on && word == "eeprom") {
    module.SetEepromError(*on);
  } else if (on && word == "cal") {
    module.SetCalibrationMode(*on);
  } else {
    error = "unknown command \"" + std::string(line) + "\"";
    return false;
  }
  return true;
}

}  // namespace q5480
