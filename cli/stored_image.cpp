#include "stored_image.h"

#include <filesystem>

#include "command_registry.h"
#include "config/dates.h"
#include "config/path_text.h"
#include "config/program_directory.h"
#include "conversion/build_image.h"
#include "conversion/conversion_messages.h"
#include "service/stored_configuration.h"

namespace q5480::cli {

int LoadStoredFile(std::string_view command, const std::string& parametersFile,
                   const std::optional<std::string>& table, const ConversionContext& context) {
  if (int status = CheckInputFiles(command, parametersFile, table); status != kExitOk) {
    return status;
  }
  const std::optional<Refusal> refusal = LoadStoredConfiguration(
      PathFromUtf8(parametersFile),
      table ? std::optional<std::filesystem::path>(PathFromUtf8(*table)) : std::nullopt,
      ProgramDirectory(), context);
  if (!refusal) return kExitOk;
  if (refusal->key == kCannotOpenFile) {
    return Fail(command,
                "cannot find the table file \"" + context.config.File + "\" (give it with --table)",
                kExitUsage);
  }
  return ReportMessage(RefusalMessage(*refusal), kExitFailed);
}

namespace {

// The report of a build that did not succeed.
int BuildStatus(const std::optional<Refusal>& refusal) {
  return refusal ? ReportMessage(RefusalMessage(*refusal), kExitFailed) : kExitOk;
}

}  // namespace

int BuildImage(const ConversionContext& context, ModuleImage& image, std::uint16_t todayDayNumber) {
  return BuildStatus(BuildModuleImage(context, image, todayDayNumber));
}

int BuildForWrite(ModuleService& service, const CivilDate& today) {
  return BuildStatus(service.BuildForWrite(today));
}

int BuildStoredImage(std::string_view command, const ParsedArgs& args, StoredImage& stored) {
  const ConversionContext context = stored.Context();
  if (int status = LoadStoredFile(command, args.positionals[0], args.Value("--table"), context);
      status != kExitOk) {
    return status;
  }
  return BuildImage(context, stored.image, static_cast<std::uint16_t>(DayNumber(Today())));
}

}  // namespace q5480::cli
