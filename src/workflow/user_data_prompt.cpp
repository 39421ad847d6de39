// The user-data prompt of the parameter panel: a configuration that needs a
// user table or power series that is not in memory gets it back before it
// can be edited or written.
#include <filesystem>
#include <optional>
#include <system_error>

#include "config/program_directory.h"
#include "conversion/conversion_messages.h"
#include "conversion/power_series.h"
#include "conversion/table_file.h"
#include "conversion/user_table.h"
#include "workflow/parameter_panel.h"

namespace q5480 {
namespace {

bool IsFile(const std::filesystem::path& path) {
  std::error_code error;
  return std::filesystem::is_regular_file(path, error);
}

bool IsDirectory(const std::filesystem::path& path) {
  std::error_code error;
  return std::filesystem::is_directory(path, error);
}

// The table file: in the folder of the parameters file last opened (which
// an open dialog makes the current folder elsewhere), the current folder,
// the program directory, or its "Tables" (else "Tablice") folder.
std::optional<std::filesystem::path> FindTableFile(const ProgramContext& context,
                                                   const std::string& name) {
  if (name.empty()) return std::nullopt;
  std::error_code error;
  std::vector<std::filesystem::path> folders{context.settings.DataDir,
                                             std::filesystem::current_path(error),
                                             context.programDirectory};
  for (const char* sub : {"Tables", "Tablice"}) {
    if (IsDirectory(context.programDirectory / sub)) {
      folders.push_back(context.programDirectory / sub);
      break;
    }
  }
  for (const char* sub : {"Tables", "Tablice"}) {
    if (const auto installed = FindDataFile(sub)) folders.push_back(*installed);
  }
  for (const auto& folder : folders) {
    if (!folder.empty() && IsFile(folder / name)) return folder / name;
  }
  return std::nullopt;
}

}  // namespace

bool ParameterPanel::nietypo() {
  bool missing = true;
  RunCommand([&] {
    missing = UserDataMissing();
    return true;
  });
  return missing;
}

bool ParameterPanel::UserDataMissing() {
  if (context_.state.ZeroCoefficients) return true;
  // The questions below let ticks in; none of them may read or ask again.
  TimerPause pause(context_.state);
  const ModuleConfig& c = context_.config;
  if (IsPlainInput(c.Typ) && c.Lin == kLinSeries && !c.TableLoaded) return RebuildFromSeries();
  return ReadTableFile();
}

bool ParameterPanel::RebuildFromSeries() {
  ModuleConfig& c = context_.config;
  context_.conversion.TableType = c.Typ;
  if (const std::optional<Refusal> refusal = SampleSeriesToTable(c, context_.conversion, context_.limits)) {
    context_.ui.Beep(BeepKind::Exclamation);
    context_.MyMesM(context_.TextOf(refusal->key), MessageIcon::Warning);
    return true;
  }
  SetUserRange(context_.conversion.Table, context_.limits);
  c.TableLoaded = true;
  if (!noTab(context_)) pokaz(kColourKeep);
  return false;
}

bool ParameterPanel::ReadTableFile() {
  ModuleConfig& c = context_.config;
  c.File = TableFileBaseName(c.File);
  std::string message = context_.Tr("User defined sensor or conversion", "!") + "\n" +
                        context_.Tr("No data available", ".") + "\n";
  const std::optional<std::filesystem::path> path = FindTableFile(context_, c.File);
  if (!path) {
    if (!c.File.empty()) message += "(" + context_.Tr("source file", ": ") + c.File + ")";
    context_.ui.Beep(BeepKind::Exclamation);
    context_.MyMesM(message, MessageIcon::Warning);
    return true;
  }
  message += context_.Tr("Read source file") + " " + c.File + "?";
  if (context_.MyMesM(message, MessageIcon::Question, MessageButtons::YesNo) !=
      MessageResult::Yes) {
    return true;
  }

  bool missing = true;
  context_.conversion.TableType = c.Typ;
  if (const std::optional<Refusal> refused = LoadTableFile(*path, context_.conversion, context_.limits)) {
    std::string text = context_.Tr(kCorruptedFile, "!");
    if (!refused->detail.empty()) text += "\n(" + context_.TextOf(refused->detail) + ".)";
    context_.MyMesM(text, MessageIcon::Error);
  } else {
    // A refused table must not leave its limits behind.
    const InputLimits before = context_.limits;
    const std::optional<Refusal> refusal = AcceptReloadedTable({c, context_.limits, context_.conversion});
    if (!refusal) {
      missing = false;
    } else if (refusal->key == kInputRangeTooSmall) {
      context_.limits = before;
      context_.MyMesM(context_.Tr(kInputRangeTooSmall), MessageIcon::Warning);
    } else {
      context_.limits = before;
      context_.MyMesM(context_.Tr(kCorruptedFile, "!"), MessageIcon::Error);
    }
  }
  if (!noTab(context_)) pokaz(kColourKeep);
  return missing;
}

}  // namespace q5480
