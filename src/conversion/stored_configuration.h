// A configuration from a parameters file, made ready to build: the file
// read, then its table read again or its power series sampled again.
#pragma once

#include <filesystem>
#include <optional>

#include "conversion/conversion_state.h"
#include "conversion/refusal.h"

namespace q5480 {

// `tableFile` overrides the table named in the file; otherwise it is looked
// for beside the parameters file, then in the program's table folders.
// Refused with "Corrupted or wrong data file" + "!" when the parameters file
// is unreadable, with "Cannot open file" when the table is not found, and as
// RestoreUserData refuses the user data.
std::optional<Refusal> LoadStoredConfiguration(const std::filesystem::path& parametersFile,
                                               const std::optional<std::filesystem::path>& tableFile,
                                               const ConversionContext& context);

}  // namespace q5480
