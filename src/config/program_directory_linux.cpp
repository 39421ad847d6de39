// The program directory's system part on Linux: /proc, the XDG rules and
// the directory's write permission.
#include <unistd.h>

#include <cstdlib>
#include <system_error>

#include "config/program_directory.h"

namespace q5480 {
namespace fs = std::filesystem;

fs::path ExecutableDirectory() {
  std::error_code error;
  fs::path executable = fs::read_symlink("/proc/self/exe", error);
  if (error) return fs::current_path(error);
  return executable.parent_path();
}

fs::path UserConfigurationDirectory() {
  // A relative XDG_CONFIG_HOME is invalid and is ignored.
  const char* configHome = std::getenv("XDG_CONFIG_HOME");
  if (configHome != nullptr && fs::path(configHome).is_absolute()) return fs::path(configHome);
  const char* home = std::getenv("HOME");
  if (home == nullptr || *home == '\0') return {};
  return fs::path(home) / ".config";
}

bool MayWriteIn(const fs::path& directory) { return ::access(directory.c_str(), W_OK) == 0; }

}  // namespace q5480
