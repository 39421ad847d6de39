#include "service/stored_configuration.h"

#include <string>

#include "config/parameters_file.h"
#include "config/path_text.h"
#include "conversion/conversion_messages.h"
#include "service/user_data.h"

namespace q5480 {

std::optional<Refusal> LoadStoredConfiguration(
    const std::filesystem::path& parametersFile,
    const std::optional<std::filesystem::path>& tableFile,
    const std::filesystem::path& programDirectory, const ConversionContext& context) {
  std::string dataDir;
  if (!ReadParametersFile(parametersFile, context.config, context.limits, dataDir)) {
    return Refusal{.key = kCorruptedFile, .exclamation = true};
  }
  const UserDataResult restored =
      RestoreUserData(context, {TableFolders(PathFromUtf8(dataDir), programDirectory), tableFile});
  switch (restored.status) {
    case UserDataStatus::Ready: return std::nullopt;
    case UserDataStatus::TableNotFound:
    case UserDataStatus::TableUnreadable:
    case UserDataStatus::Declined: return Refusal{.key = kCannotOpenFile};
    case UserDataStatus::SeriesRefused:
    case UserDataStatus::TableRefused:
    case UserDataStatus::RangeTooSmall:
    case UserDataStatus::RangeOutsideTable: break;
  }
  return restored.refusal;
}

}  // namespace q5480
