#include <stdio.h>

#include <string>

#include "config/c_file.h"

namespace q5480 {

std::FILE* OpenCFile(const std::filesystem::path& path, const char* mode) {
  const std::wstring wideMode(mode, mode + std::char_traits<char>::length(mode));
  return ::_wfopen(path.c_str(), wideMode.c_str());
}

}  // namespace q5480
