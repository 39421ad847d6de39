// A C stream for a file named by a path (c_file_posix.cpp, c_file_win32.cpp):
// the narrow fopen would read the name in the system's code page on Windows.
#pragma once

#include <cstdio>
#include <filesystem>

namespace q5480 {

// `mode` as for std::fopen, ASCII only.
std::FILE* OpenCFile(const std::filesystem::path& path, const char* mode);

}  // namespace q5480
