#include "link/sysfs_tty.h"

#include <fstream>
#include <system_error>

namespace q5480 {

namespace fs = std::filesystem;

std::string ReadFirstWord(const fs::path& file) {
  std::ifstream in(file);
  std::string word;
  in >> word;
  return word;
}

std::optional<fs::path> UsbDeviceOf(const fs::path& ttyEntry) {
  std::error_code error;
  fs::path dir = fs::canonical(ttyEntry / "device", error);
  if (error) return std::nullopt;
  for (int depth = 0; depth < 6 && dir.has_relative_path(); ++depth, dir = dir.parent_path()) {
    if (fs::exists(dir / "idVendor", error) && fs::exists(dir / "idProduct", error)) return dir;
  }
  return std::nullopt;
}

}  // namespace q5480
