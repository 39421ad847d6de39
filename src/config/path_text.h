// The one place where the program's UTF-8 texts become file names and back.
// A std::filesystem::path made from a std::string reads it in the system's
// narrow code page on Windows, which turns "Pomiary – łódź" into mojibake;
// through char8_t both systems read UTF-8.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace q5480 {

std::filesystem::path PathFromUtf8(std::string_view text);
std::string Utf8FromPath(const std::filesystem::path& path);

}  // namespace q5480
