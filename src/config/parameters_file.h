// Parameters files (".par"): one configuration as name=value text lines.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "config/line_buffer.h"
#include "config/module_config.h"
#include "config/numbers.h"

namespace q5480 {

inline constexpr std::size_t kParametersLineCount = 44;
// The data directory is kept only when it is at most this long.
inline constexpr std::size_t kDataDirMaxLength = 60;

// The directory part of a file path for the data directory: empty when it is
// longer than kDataDirMaxLength characters.
std::string DataDirOf(const std::filesystem::path& file);

// The 44 lines that a parameters file holds for `config`.
LineBuffer ComposeParametersFile(const ModuleConfig& config, const RegionalSettings& regional);

// Fills `config` from the file. `dataDir` is set from the path first,
// whatever the outcome. True when every required key was found, converted
// and fits its field. On failure the fields read before the failing key keep
// their new values. The consistency rules run in every case; a linear or
// power series conversion sets the limits of type 15 in `limits`.
bool ReadParametersFile(const std::filesystem::path& path, ModuleConfig& config,
                        InputLimits& limits, std::string& dataDir);

// Replaces the file with the lines of `config`. False, with the file and
// `dataDir` unchanged, when it could not be written or a real value of the
// record is not finite; `dataDir` is set from the path after success.
bool WriteParametersFile(const std::filesystem::path& path, const ModuleConfig& config,
                         const RegionalSettings& regional, std::string& dataDir);

}  // namespace q5480
