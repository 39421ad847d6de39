#include "config/program_directory.h"

#include "config/path_text.h"

#include <algorithm>
#include <cstdlib>
#include <string>
#include <system_error>

namespace q5480 {
namespace fs = std::filesystem;
namespace {

// The installed data directory from the installed programs' folder, so that
// an installation under another prefix, or moved, still finds its data.
fs::path InstalledDataDirectoryOf(const fs::path& executableDirectory) {
  return (executableDirectory / Q5480_DATA_DIR_FROM_BIN).lexically_normal();
}

bool IsInstalledProgram(const fs::path& executableDirectory) {
  std::error_code error;
  return fs::is_directory(InstalledDataDirectoryOf(executableDirectory), error);
}

}  // namespace

fs::path ProgramDirectory() {
  fs::path executableDirectory = ExecutableDirectory();
  // An installed program never writes beside itself, even where it may (as
  // root, or under a prefix of the user's own): that folder is the
  // installation's, shared by every user.
  if (!IsInstalledProgram(executableDirectory) && MayWriteIn(executableDirectory)) {
    return executableDirectory;
  }
  const fs::path configuration = UserConfigurationDirectory();
  // Without a home there is nowhere better; writes there will simply fail.
  if (configuration.empty()) return executableDirectory;
  fs::path directory = configuration / "q5480";
  std::error_code error;
  fs::create_directories(directory, error);
  return directory;
}

fs::path PortsDirectory() { return ProgramDirectory() / "ports"; }

std::vector<fs::path> DataDirectories() { return DataDirectories(ProgramDirectory()); }

std::vector<fs::path> DataDirectories(const fs::path& programDirectory) {
  const fs::path executableDirectory = ExecutableDirectory();
  const fs::path candidates[] = {programDirectory, executableDirectory,
                                 InstalledDataDirectoryOf(executableDirectory),
                                 fs::path(Q5480_DATA_DIR)};
  std::vector<fs::path> directories;
  for (fs::path directory : candidates) {
    directory = directory.lexically_normal();
    if (std::find(directories.begin(), directories.end(), directory) == directories.end()) {
      directories.push_back(std::move(directory));
    }
  }
  return directories;
}

std::optional<fs::path> FindDataFile(std::string_view name) {
  return FindDataFile(name, ProgramDirectory());
}

std::optional<fs::path> FindDataFile(std::string_view name, const fs::path& programDirectory) {
  for (const fs::path& directory : DataDirectories(programDirectory)) {
    fs::path file = directory / PathFromUtf8(name);
    std::error_code error;
    if (fs::exists(file, error)) return file;
  }
  return std::nullopt;
}

}  // namespace q5480
