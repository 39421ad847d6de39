// Where the program keeps its own files.
#pragma once

#include <filesystem>
#include <optional>
#include <string_view>
#include <vector>

namespace q5480 {

// The system's part (program_directory_linux.cpp, program_directory_win32.cpp).
// The directory of the running executable.
std::filesystem::path ExecutableDirectory();

// The user's configuration folder: on Linux $XDG_CONFIG_HOME when it is an
// absolute path, else $HOME/.config; on Windows the roaming application-data
// folder. Empty without one.
std::filesystem::path UserConfigurationDirectory();

// Whether this process may create files in `directory`.
bool MayWriteIn(const std::filesystem::path& directory);

// The program directory: the executable's directory when it is writable and
// not an installed program's (a portable copy, or the build tree), else
// "q5480" in the user's configuration folder (created when missing). All
// programs of one build or installation share it: the settings file
// "Q5480.ini" and the ports folder live there.
std::filesystem::path ProgramDirectory();

// The folder whose links "comN" name extra serial ports.
std::filesystem::path PortsDirectory();

// Where the program's data files (language files, the "Tables" folder, the
// manual) are looked for, in this order: the program directory, beside the
// executable, the installed data directory as seen from the executable, the
// installed data directory of the build's prefix. Each folder once.
std::vector<std::filesystem::path> DataDirectories();
// The same with `programDirectory` as the program directory.
std::vector<std::filesystem::path> DataDirectories(const std::filesystem::path& programDirectory);

// A data file of the program, from the first of the data directories that
// has it. Nothing when none has it.
std::optional<std::filesystem::path> FindDataFile(std::string_view name);
// The same with `programDirectory` as the program directory.
std::optional<std::filesystem::path> FindDataFile(std::string_view name,
                                                  const std::filesystem::path& programDirectory);

}  // namespace q5480
