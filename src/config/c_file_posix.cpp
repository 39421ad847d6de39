#include "config/c_file.h"

namespace q5480 {

std::FILE* OpenCFile(const std::filesystem::path& path, const char* mode) {
  return std::fopen(path.c_str(), mode);
}

}  // namespace q5480
