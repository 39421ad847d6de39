#include "config/program_directory.h"

#include <unistd.h>

#include <cstdlib>
#include <string>
#include <system_error>

namespace q5480 {
namespace fs = std::filesystem;

fs::path ExecutableDirectory() {
  std::error_code error;
  fs::path executable = fs::read_symlink("/proc/self/exe", error);
  if (error) return fs::current_path(error);
  return executable.parent_path();
}

fs::path ProgramDirectory() {
  fs::path executableDirectory = ExecutableDirectory();
  if (::access(executableDirectory.c_str(), W_OK) == 0) return executableDirectory;
  const char* home = std::getenv("HOME");
  // Without a home there is nowhere better; writes there will simply fail.
  if (home == nullptr || *home == '\0') return executableDirectory;
  fs::path directory = fs::path(home) / ".config" / "q5480";
  std::error_code error;
  fs::create_directories(directory, error);
  return directory;
}

fs::path PortsDirectory() { return ProgramDirectory() / "ports"; }

std::vector<fs::path> DataDirectories() { return DataDirectories(ProgramDirectory()); }

std::vector<fs::path> DataDirectories(const fs::path& programDirectory) {
  return {programDirectory, ExecutableDirectory(), fs::path(Q5480_DATA_DIR)};
}

std::optional<fs::path> FindDataFile(std::string_view name) {
  for (const fs::path& directory : DataDirectories()) {
    fs::path file = directory / fs::path(std::string(name));
    std::error_code error;
    if (fs::exists(file, error)) return file;
  }
  return std::nullopt;
}

}  // namespace q5480
