#include "service/user_data.h"

#include <system_error>

#include "config/path_text.h"
#include "config/program_directory.h"
#include "conversion/conversion_messages.h"
#include "conversion/power_series.h"
#include "conversion/sensor_signal.h"
#include "conversion/table_file.h"
#include "conversion/user_table.h"

namespace q5480 {
namespace {

namespace fs = std::filesystem;

constexpr const char* kTableFolderNames[] = {"Tables", "Tablice"};

bool IsFile(const fs::path& path) {
  std::error_code error;
  return fs::is_regular_file(path, error);
}

bool IsDirectory(const fs::path& path) {
  std::error_code error;
  return fs::is_directory(path, error);
}

std::optional<fs::path> FindTableFile(const std::string& name,
                                      const std::vector<fs::path>& folders) {
  if (name.empty()) return std::nullopt;
  for (const fs::path& folder : folders) {
    if (!folder.empty() && IsFile(folder / PathFromUtf8(name))) return folder / PathFromUtf8(name);
  }
  return std::nullopt;
}

UserDataResult SampleSeries(const ConversionContext& context) {
  ModuleConfig& config = context.config;
  context.state.TableType = config.Typ;
  if (std::optional<Refusal> refusal = SampleSeriesToTable(config, context.state, context.limits)) {
    return {UserDataStatus::SeriesRefused, *refusal};
  }
  SetUserRange(context.state.Table, context.limits);
  config.TableLoaded = true;
  return {};
}

UserDataResult ReadTable(const ConversionContext& context, const fs::path& file) {
  context.state.TableType = context.config.Typ;
  if (std::optional<Refusal> refusal = LoadTableFile(file, context.state, context.limits)) {
    return {refusal->key == kCannotOpenFile ? UserDataStatus::TableUnreadable
                                            : UserDataStatus::TableRefused,
            *refusal};
  }
  const InputLimits before = context.limits;
  const std::optional<Refusal> refusal = AcceptReloadedTable(context);
  if (!refusal) return {};
  context.limits = before;
  return {refusal->key == kInputRangeTooSmall ? UserDataStatus::RangeTooSmall
                                              : UserDataStatus::RangeOutsideTable,
          *refusal};
}

}  // namespace

std::vector<fs::path> TableFolders(const fs::path& dataFolder, const fs::path& programDirectory) {
  std::error_code error;
  std::vector<fs::path> folders{dataFolder, fs::current_path(error), programDirectory};
  for (const char* name : kTableFolderNames) {
    if (IsDirectory(programDirectory / name)) {
      folders.push_back(programDirectory / name);
      break;
    }
  }
  const std::vector<fs::path> dataDirectories = DataDirectories(programDirectory);
  for (const char* name : kTableFolderNames) {
    for (const fs::path& directory : dataDirectories) {
      if (IsDirectory(directory / name)) {
        folders.push_back(directory / name);
        break;
      }
    }
  }
  return folders;
}

UserDataResult RestoreUserData(const ConversionContext& context, const TableSource& source,
                               const ConfirmTableRead& confirm) {
  ModuleConfig& config = context.config;
  config.TableLoaded = false;
  if (!UsesUserTable(config)) return {};
  if (IsPlainInput(config.Typ) && config.Lin == kLinSeries) return SampleSeries(context);
  config.File = TableFileBaseName(config.File);
  const std::optional<fs::path> file =
      source.file ? source.file : FindTableFile(config.File, source.folders);
  if (!file) return {UserDataStatus::TableNotFound, {}};
  if (confirm && !confirm(*file)) return {UserDataStatus::Declined, {}};
  return ReadTable(context, *file);
}

}  // namespace q5480
