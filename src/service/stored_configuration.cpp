#include "service/stored_configuration.h"

#include "config/parameters_file.h"
#include "conversion/conversion_messages.h"
#include "conversion/table_file.h"

namespace q5480 {

StoredLoadResult LoadStoredConfiguration(const std::filesystem::path& parametersFile,
                                         const std::optional<std::filesystem::path>& tableFile,
                                         const ConversionContext& context) {
  std::string dataDir;
  if (!ReadParametersFile(parametersFile, context.config, context.limits, dataDir)) {
    return {StoredLoad::ParametersUnreadable, std::string(kCorruptedFile) + "!"};
  }
  const std::optional<std::string> message =
      RestoreUserData(context, tableFile, parametersFile.parent_path());
  if (!message) return {};
  if (*message == kCannotOpenFile) return {StoredLoad::TableNotFound, *message};
  return {StoredLoad::UserDataRefused, *message};
}

}  // namespace q5480
