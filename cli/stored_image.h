// The configuration of a parameters file made ready to build, and the module
// image built from it, with the reasons on standard error: what "image
// build", "transfer", "write" and "verify" share.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "cli_support.h"
#include "config/dates.h"
#include "config/module_config.h"
#include "config/module_image.h"
#include "conversion/conversion_state.h"
#include "service/module_service.h"

namespace q5480::cli {

// Checks `parametersFile` and `table`, then loads the configuration into
// `context` with its table read again (`table` instead of the stored name,
// which is looked for where the desktop program looks for it) or its series
// sampled again. kExitOk; a missing file or a table not found
// kExitUsage; a refused file kExitFailed.
int LoadStoredFile(std::string_view command, const std::string& parametersFile,
                   const std::optional<std::string>& table, const ConversionContext& context);

// Builds `image`; kExitOk, or the failure's message and kExitFailed.
int BuildImage(const ConversionContext& context, ModuleImage& image, std::uint16_t todayDayNumber);

// The service's image for a write dated `today`, with the same reports.
int BuildForWrite(ModuleService& service, const CivilDate& today);

// A configuration of its own with the image built from it.
struct StoredImage {
  ModuleConfig config;
  InputLimits limits;
  ConversionState state;
  ModuleImage image;

  ConversionContext Context() { return {config, limits, state}; }
};

// The parameters file of the first argument (with --table) loaded into
// `stored` and its image built with today's date, as LoadStoredFile and
// BuildImage report.
int BuildStoredImage(std::string_view command, const ParsedArgs& args, StoredImage& stored);

}  // namespace q5480::cli
