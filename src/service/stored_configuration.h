// A configuration from a parameters file, made ready to build: the file
// read, then its table read again or its power series sampled again, as the
// desktop program does after File › Open.
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
// for where the desktop program looks (TableFolders), the parameters file's
// folder being the data folder and `programDirectory` the program's.
StoredLoadResult LoadStoredConfiguration(const std::filesystem::path& parametersFile,
                                         const std::optional<std::filesystem::path>& tableFile,
                                         const std::filesystem::path& programDirectory,
                                         const ConversionContext& context);

}  // namespace q5480
