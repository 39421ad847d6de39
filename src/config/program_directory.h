// Where the program keeps its own files.
#pragma once

#include <filesystem>
#include <optional>
#include <string_view>
#include <vector>

namespace q5480 {

// The directory of the running executable.
std::filesystem::path ExecutableDirectory();

// The program directory: the executable's directory when it is writable (a
// portable install, or the build tree), else ~/.config/q5480 (created when
// missing). All programs of one build share it: the settings file
// "Q5480.ini" and the ports folder live there.
std::filesystem::path ProgramDirectory();

// The folder whose links "comN" name extra serial ports.
std::filesystem::path PortsDirectory();

// Where the program's data files (language files, the "Tables" folder) are
// looked for, in this order: the program directory, beside the executable,
// the installed data directory.
std::vector<std::filesystem::path> DataDirectories();
// The same with `programDirectory` as the program directory.
std::vector<std::filesystem::path> DataDirectories(const std::filesystem::path& programDirectory);

// A data file of the program, from the first of the data directories that
// has it. Nothing when none has it.
std::optional<std::filesystem::path> FindDataFile(std::string_view name);

}  // namespace q5480
