// Where the program keeps its own files.
#pragma once

#include <filesystem>
#include <optional>
#include <string_view>

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

// A data file of the program (a language file, the "Tables" folder): looked
// for in the program directory, then beside the executable, then in the
// installed data directory. Nothing when none has it.
std::optional<std::filesystem::path> FindDataFile(std::string_view name);

}  // namespace q5480
