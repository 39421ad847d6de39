#include "conversion/stored_configuration.h"

#include <string>

#include "config/parameters_file.h"
#include "conversion/conversion_messages.h"
#include "conversion/table_file.h"

namespace q5480 {

std::optional<Refusal> LoadStoredConfiguration(const std::filesystem::path& parametersFile,
                                               const std::optional<std::filesystem::path>& tableFile,
                                               const ConversionContext& context) {
  std::string dataDir;
  if (!ReadParametersFile(parametersFile, context.config, context.limits, dataDir)) {
    return Refusal{.key = kCorruptedFile, .exclamation = true};
  }
  return RestoreUserData(context, tableFile, parametersFile.parent_path());
}

}  // namespace q5480
