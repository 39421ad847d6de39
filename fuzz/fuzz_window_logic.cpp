// The window logic without widgets, given arbitrary parameters files and
// tables: the file is opened in the main window, and then the person runs
// the commands of the main window and of its windows on it as the script
// says: show, New, the field checks, Optimal, the sensor button with the
// selection and conversion windows, Simulation, Print, Save and Save as,
// and Read, Write and Verify against an emulated module on a
// pseudo-terminal for one input in kConnectedShare. Whatever the files
// hold, no exception leaves a command, every value of the record stays
// finite, a command refused by a floating-point error of the conversion
// (and a refused range field, and a cancelled sensor button) leaves the
// configuration as it was, a saved file opens again, and a module just
// written holds the image.
//
// Input: the parameters file, a line "%%", the table file, a line "%%",
// then the script of the person's choices (window_script.h). The table
// goes where the parameters file names it, or "table.dat".
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <string_view>

#include "config/parameters_file.h"
#include "conversion/table_file.h"
#include "emulator/module_emulator.h"
#include "emulator/module_requests.h"
#include "fuzz_support.h"
#include "window_script.h"
#include "workflow/main_window.h"
#include "workflow/simulation_window.h"

namespace q5480::fuzz {
namespace {

using std::chrono::milliseconds;

constexpr std::string_view kSeparator = "\n%%\n";
constexpr int kPort = 1;
constexpr int kFastLine = 115200;
// Transfers take a good part of a second: one input in this many has a module.
constexpr int kConnectedShare = 64;
constexpr int kMaxCommands = 16;
// Each transfer waits a tenth of a second for the module to settle.
constexpr int kMaxTransfers = 3;
constexpr const char* kConversionError = "Floating point error";

std::string_view Cut(std::string_view& rest) {
  const std::size_t at = rest.find(kSeparator);
  const std::string_view part = rest.substr(0, at);
  rest = at == std::string_view::npos ? std::string_view() : rest.substr(at + kSeparator.size());
  return part;
}

void WriteFile(const std::filesystem::path& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// Whether an input has a module is none of the script's choices: that
// keeps the share of slow inputs at one in kConnectedShare, however many
// of the corpus's inputs the link's coverage brought in have one. FNV-1a.
std::uint32_t Fingerprint(const std::uint8_t* data, std::size_t size) {
  std::uint32_t hash = 2166136261u;
  for (std::size_t i = 0; i < size; ++i) hash = (hash ^ data[i]) * 16777619u;
  return hash;
}

// The table's file name: the one the parameters file names, as the program
// looks for it.
std::string TableName(const std::filesystem::path& parametersFile) {
  ModuleConfig config;
  InputLimits limits;
  std::string dataDir;
  ReadParametersFile(parametersFile, config, limits, dataDir);
  const std::string name = TableFileBaseName(config.File);
  for (const char* unusable : {"", ".", "..", "in.par", "saved.par"}) {
    if (name == unusable) return "table.dat";
  }
  return name.find('\0') == std::string::npos ? name : "table.dat";
}

// A module of the model the file names, on a line that the link finds as
// COM 1, unpaced.
class ModuleOnLine {
 public:
  ModuleOnLine(const ModuleConfig& config, const std::filesystem::path& ports)
      : module_(Options(config)), emulator_(module_) {
    std::filesystem::create_directories(ports);
    std::filesystem::remove(ports / "com1");
    std::filesystem::create_symlink(emulator_.SlavePath(), ports / "com1");
    emulator_.Start();
  }
  ~ModuleOnLine() { emulator_.Stop(); }

 private:
  static ModuleOptions Options(const ModuleConfig& config) {
    ModuleOptions options;
    const int code = ModelCode(config);
    options.factory.modelNumber =
        static_cast<std::uint16_t>(code >= 91 && code <= 97 ? 5400 + code : 5495);
    return options;
  }

  EmulatedModule module_;
  ModuleEmulator emulator_;
};

LinkSettings Settings(const std::filesystem::path& ports) {
  LinkSettings settings;
  settings.ports = PortEnvironment::OnlyLinksIn(ports);
  settings.portSettleTime = milliseconds(1);
  settings.workerSilenceBound = std::chrono::seconds(5);
  settings.progressAckBound = std::chrono::seconds(3);
  return settings;
}

// What a command must leave as it was when it is refused.
struct Held {
  ModuleConfig config;
  InputLimits limits;
  ConversionState conversion;
  ModuleImage image;

  explicit Held(const ProgramContext& context)
      : config(context.config),
        limits(context.limits),
        conversion(context.conversion),
        image(context.image) {}

  std::string Difference(const ProgramContext& context) const {
    if (const std::string field = FirstDifference(config, context.config); !field.empty())
      return field;
    if (config.TableLoaded != context.config.TableLoaded) return "TableLoaded";
    if (!(limits == context.limits)) return "the limits";
    if (!(conversion == context.conversion)) return "the conversion state";
    if (image.bytes != context.image.bytes) return "the image";
    if (!(config == context.config)) return "a field of the record";
    return "";
  }
};

enum class WhenRefused { MayChange, KeepsConfiguration, PutsBackWindows };

class Session {
 public:
  Session(Script& script, ScriptedUi& ui, ProgramContext& context, bool connected)
      : script_(script),
        ui_(ui),
        context_(context),
        window_(context),
        windows_(context, script),
        connected_(connected) {}

  void Connect() {
    if (!context_.link.OpenLink(kPort, 3) || !context_.link.ConfigurePort(kFastLine))
      Fail("the link does not open");
    context_.state.TimerEnabled = true;
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!context_.state.Connected) {
      if (std::chrono::steady_clock::now() > end) Fail("the module on the line is never heard");
      context_.link.NewSampleEvent().WaitFor(milliseconds(10));
      window_.Timer1Timer();
    }
  }

  void Open() {
    Run("Open", WhenRefused::MayChange, [&] { return window_.Files().Otworz1Click(); });
  }

  // One command of the script.
  void Next() {
    ParameterPanel& panel = window_.Panel();
    switch (script_.Choice(20)) {
      case 0:
        Run("show", WhenRefused::MayChange, [&] {
          window_.ApplyLanguage();
          return true;
        });
        break;
      case 1:
        Run("New", WhenRefused::MayChange, [&] {
          window_.Files().Nowy1Click();
          return true;
        });
        break;
      case 2: {
        const std::string text = script_.Number();
        Run("MinInputE", WhenRefused::KeepsConfiguration,
            [&] { return panel.MinInputEExit(text); });
        break;
      }
      case 3: {
        const std::string text = script_.Number();
        Run("MaxInputE", WhenRefused::KeepsConfiguration,
            [&] { return panel.MaxInputEExit(text); });
        break;
      }
      case 4: {
        const std::string text = script_.Number();
        Run("FiltrZakresE", WhenRefused::MayChange, [&] { return panel.FiltrZakresEExit(text); });
        break;
      }
      case 5: {
        const std::string text = script_.Number();
        Run("FiltrCzasE", WhenRefused::MayChange, [&] { return panel.FiltrCzasEExit(text); });
        break;
      }
      case 6: {
        const std::string text = script_.Number();
        Run("FiltrLimitE", WhenRefused::MayChange, [&] {
          panel.FiltrLimitEChange(text);
          return panel.FiltrLimitEExit(text);
        });
        break;
      }
      case 7: {
        const bool up = script_.Flag();
        Run("FiltrLimitUpDown", WhenRefused::MayChange, [&] {
          panel.FiltrLimitUpDownClick(up);
          return true;
        });
        break;
      }
      case 8:
        Run("Optimal", WhenRefused::MayChange, [&] { return panel.FiltrDobierzClick(); });
        break;
      case 9:
      case 10:
        Run("sensor button", WhenRefused::PutsBackWindows,
            [&] { return window_.SenSelClick(windows_); });
        break;
      case 11: Run("Simulation", WhenRefused::MayChange, [&] { return Simulate(); }); break;
      case 12: Run("Print", WhenRefused::MayChange, [&] { return Print(); }); break;
      case 13:
        Run("Save", WhenRefused::MayChange,
            [&] { return Saved(window_.Files().Zachowaj1Click()); });
        break;
      case 14:
        Run("Save as", WhenRefused::MayChange,
            [&] { return Saved(window_.Files().Zapiszjako1Click()); });
        break;
      case 15:
        if (Transfers()) Run("Write", WhenRefused::MayChange, [&] { return Write(); });
        break;
      case 16:
        if (Transfers())
          Run("Verify", WhenRefused::MayChange, [&] { return window_.Weryfikuj1Click(); });
        break;
      case 17:
        if (connected_ && Transfers())
          Run("Read", WhenRefused::MayChange, [&] { return window_.OdczytajTClick(); });
        break;
      case 18: Open(); break;
      default: {
        const int list = script_.Choice(2);
        const int index = script_.Choice(4);
        const std::string text = script_.Number();
        Run("lists and texts", WhenRefused::MayChange, [&] {
          if (list == 0)
            panel.BurnoutEChange(index);
          else
            panel.SiecEChange(index);
          panel.KodEChange(text);
          panel.OgolneEChange(text + text);
          return true;
        });
        break;
      }
    }
  }

 private:
  template <typename Command>
  void Run(const char* name, WhenRefused rule, Command command) {
    const Held held(context_);
    ui_.TakeMessages();
    bool accepted = true;
    try {
      accepted = command();
    } catch (const std::exception& error) {
      Fail(std::string("an exception left ") + name + ": " + error.what());
    } catch (...) { Fail(std::string("an exception left ") + name); }
    Check(AllFinite(context_.config),
          std::string("a value that is not finite reached the record in ") + name);
    if (accepted) return;
    const std::vector<std::string> messages = ui_.TakeMessages();
    const bool conversionFailed =
        !messages.empty() && messages.back().rfind(context_.TextOf(kConversionError), 0) == 0;
    if (rule == WhenRefused::PutsBackWindows) {
      // The one table in memory may have been replaced by a confirmed one;
      // the record then no longer counts it as loaded.
      Held expected = held;
      if (!context_.config.TableLoaded) expected.config.TableLoaded = false;
      expected.conversion = context_.conversion;
      const std::string difference = expected.Difference(context_);
      Check(difference.empty(), std::string(name) + " cancelled did not put back " + difference);
    }
    if (conversionFailed || rule == WhenRefused::KeepsConfiguration) {
      const std::string difference = held.Difference(context_);
      Check(difference.empty(), std::string(name) + " refused changed " + difference);
    }
  }

  // The simulation window, moved about as the script says.
  bool Simulate() {
    return window_.Symulacja1Click([&](SimulationWindowLogic& simulation) {
      simulation.FormShow();
      const auto now = SimulationClock::now();
      for (int action = 0; action < 4; ++action) {
        switch (script_.Choice(6)) {
          case 0: simulation.InputSChange(script_.Choice(kInputScrollMax + 1)); break;
          case 1: simulation.OutputSChange(script_.Choice(kOutputScrollMax + 1)); break;
          case 2:
            simulation.InputEChange(script_.Number(), now);
            simulation.InputEEnter();
            break;
          case 3:
            simulation.OutputEChange(script_.Number(), now);
            simulation.Tick(now + kEntryDelay);
            break;
          case 4: simulation.WykresXY1Click(); break;
          default: simulation.ShowOutputPoint(script_.Choice(101) / 100.0); break;
        }
      }
    });
  }

  bool Print() {
    return window_.Drukuj1Click([] { return true; },
                                [](const PrintedReport& report) {
                                  Check(report.lines.size() == 28, "a report without its 28 lines");
                                  return true;
                                });
  }

  // A file the program saved opens again.
  bool Saved(bool saved) {
    if (!saved) return false;
    ModuleConfig config;
    InputLimits limits;
    std::string dataDir;
    Check(ReadParametersFile(context_.fileName, config, limits, dataDir),
          "a saved file does not open again");
    return true;
  }

  // Whether one more transfer may run for this input.
  bool Transfers() { return !connected_ || transfers_++ < kMaxTransfers; }

  // A module that was just programmed holds the image.
  bool Write() {
    if (!window_.ZapiszTClick()) return false;
    if (context_.statusText == " " + context_.Tr("Device programmed")) {
      Check(window_.Weryfikuj1Click(), "the module just programmed differs from the image");
    }
    return true;
  }

  Script& script_;
  ScriptedUi& ui_;
  ProgramContext& context_;
  MainWindowLogic window_;
  ScriptedWindows windows_;
  bool connected_;
  int transfers_ = 0;
};

}  // namespace
}  // namespace q5480::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace q5480;
  using namespace q5480::fuzz;
  std::string_view rest(reinterpret_cast<const char*>(data), size);
  const std::string_view parameters = Cut(rest);
  const std::string_view table = Cut(rest);
  Script script(reinterpret_cast<const std::uint8_t*>(rest.data()), rest.size());

  const std::filesystem::path folder = ScratchFolder() / "work";
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  ScriptedUi ui(script);
  ui.parametersFile = folder / "in.par";
  ui.savedFile = folder / "saved.par";
  WriteFile(ui.parametersFile, parameters);
  ui.tableFile = folder / TableName(ui.parametersFile);
  WriteFile(ui.tableFile, table);

  const bool connected = Fingerprint(data, size) % kConnectedShare == 0;
  const std::filesystem::path ports = ScratchFolder() / "ports";
  std::unique_ptr<ModuleOnLine> module;
  if (connected) {
    ModuleConfig config;
    InputLimits limits;
    std::string dataDir;
    ReadParametersFile(ui.parametersFile, config, limits, dataDir);
    module = std::make_unique<ModuleOnLine>(config, ports);
  }
  const CommandPauses pauses{milliseconds(1), milliseconds(1), milliseconds(1)};
  ProgramContext context(ui, Settings(ports), pauses);
  context.programDirectory = folder;
  context.settings.DataDir = folder.string();
  context.fileName = context.Tr("No_name");
  {
    Session session(script, ui, context, connected);
    if (connected) session.Connect();
    session.Open();
    for (int command = 0; command < kMaxCommands && !script.Empty(); ++command) session.Next();
  }
  context.link.StopLink();
  return 0;
}
