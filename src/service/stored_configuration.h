// A configuration from a parameters file, made ready to build: the file
// read, then its table read again or its power series sampled again.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "conversion/conversion_state.h"

namespace q5480 {

enum class StoredLoad { Ok, ParametersUnreadable, TableNotFound, UserDataRefused };

struct StoredLoadResult {
  StoredLoad status = StoredLoad::Ok;
  std::string message;  // what to show when the user data was refused
};

// `tableFile` overrides the table named in the file; otherwise it is looked
// for beside the parameters file, then in the program's table folders.
StoredLoadResult LoadStoredConfiguration(const std::filesystem::path& parametersFile,
                                         const std::optional<std::filesystem::path>& tableFile,
                                         const ConversionContext& context);

}  // namespace q5480
