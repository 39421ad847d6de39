#include "service/stored_configuration.h"

#include <utility>

#include "config/parameters_file.h"
#include "conversion/conversion_messages.h"
#include "service/user_data.h"

namespace q5480 {
namespace {

std::string CorruptedFileMessage(const std::string& reason) {
  std::string message = std::string(kCorruptedFile) + "!";
  if (!reason.empty()) message += "\n(" + reason + ".)";
  return message;
}

StoredLoadResult Refused(std::string message) { return {StoredLoad::UserDataRefused, std::move(message)}; }

}  // namespace

StoredLoadResult LoadStoredConfiguration(const std::filesystem::path& parametersFile,
                                         const std::optional<std::filesystem::path>& tableFile,
                                         const std::filesystem::path& programDirectory,
                                         const ConversionContext& context) {
  std::string dataDir;
  if (!ReadParametersFile(parametersFile, context.config, context.limits, dataDir)) {
    return {StoredLoad::ParametersUnreadable, CorruptedFileMessage("")};
  }
  const UserDataResult restored =
      RestoreUserData(context, {TableFolders(dataDir, programDirectory), tableFile});
  switch (restored.status) {
    case UserDataStatus::Ready: return {};
    case UserDataStatus::SeriesRefused: return Refused(restored.reason);
    case UserDataStatus::TableRefused: return Refused(CorruptedFileMessage(restored.reason));
    case UserDataStatus::RangeTooSmall: return Refused(kInputRangeTooSmall);
    case UserDataStatus::RangeOutsideTable: return Refused(CorruptedFileMessage(""));
    case UserDataStatus::TableNotFound:
    case UserDataStatus::TableUnreadable:
    case UserDataStatus::Declined: break;
  }
  return {StoredLoad::TableNotFound, kCannotOpenFile};
}

}  // namespace q5480
