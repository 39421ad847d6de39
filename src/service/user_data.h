// The user data that a configuration from a module or a parameters file
// lacks until its table file is read again or its power series sampled
// again: one route for the desktop program and q5480ctl alike, so that one
// parameters file gives one module.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "conversion/conversion_state.h"
#include "conversion/refusal.h"

namespace q5480 {

// Where a table file is looked for, in this order: `dataFolder` (the folder
// of the parameters file last opened), the current folder,
// `programDirectory`, its "Tables" (else "Tablice") folder, then the first
// "Tables" and the first "Tablice" folder of the data directories.
std::vector<std::filesystem::path> TableFolders(const std::filesystem::path& dataFolder,
                                                const std::filesystem::path& programDirectory);

// The table file to read: `file` when given, else the stored name looked
// for in `folders`.
struct TableSource {
  std::vector<std::filesystem::path> folders;
  std::optional<std::filesystem::path> file;
};

enum class UserDataStatus {
  Ready,          // none needed, or the series sampled, or the table accepted
  SeriesRefused,  // the series does not give a table
  TableNotFound,
  Declined,           // the table was found but not to be read
  TableUnreadable,    // the table was found but cannot be opened
  TableRefused,       // not a table
  RangeTooSmall,      // its signal span is below the input type's minimum
  RangeOutsideTable,  // the stored range lies outside the table's results
};

struct UserDataResult {
  UserDataStatus status = UserDataStatus::Ready;
  Refusal refusal = {};  // the conversion's own, when it refused
};

// Asked with the table file found, before it is read.
using ConfirmTableRead = std::function<bool(const std::filesystem::path&)>;

// Restores what the configuration in `context` needs before it can be
// built: nothing for a built-in characteristic; the power series of a
// converted input sampled again; otherwise the table file read again, its
// stored name cut to the file name first. `TableLoaded` is set when the data
// are in memory; a refused table leaves the limits as they were.
UserDataResult RestoreUserData(const ConversionContext& context, const TableSource& source,
                               const ConfirmTableRead& confirm = {});

}  // namespace q5480
