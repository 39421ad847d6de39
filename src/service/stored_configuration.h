// A configuration from a parameters file, made ready to build: the file
// read, then its table read again or its power series sampled again, as the
// desktop program does after File › Open.
#pragma once

#include <filesystem>
#include <optional>

#include "conversion/conversion_state.h"
#include "conversion/refusal.h"

namespace q5480 {

// `tableFile` overrides the table named in the file; otherwise it is looked
// for where the desktop program looks (TableFolders), the parameters file's
// folder being the data folder and `programDirectory` the program's.
// Refused with "Corrupted or wrong data file" + "!" when the parameters file
// is unreadable, with "Cannot open file" when the table is not found or
// cannot be read, and as the conversion refuses the user data.
std::optional<Refusal> LoadStoredConfiguration(
    const std::filesystem::path& parametersFile,
    const std::optional<std::filesystem::path>& tableFile,
    const std::filesystem::path& programDirectory, const ConversionContext& context);

}  // namespace q5480
