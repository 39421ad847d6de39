// Reading a user table from a ".dat" file and accepting a re-read one.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "conversion/conversion_state.h"

namespace q5480 {

// The file name without any directory. Names may come from another
// computer, so "\", ":" and "/" all end a directory.
std::string TableFileBaseName(std::string_view name);

// The example that the table dialog shows before a file is loaded, with the
// translated word for "Example".
std::vector<std::string> TableExampleLines(int tableType, std::string_view exampleWord);

// True when the signals of the first and last points are at least the
// minimum signal span of `typ` apart.
bool TableSpanSufficient(const UserTable& table, int typ);

struct TableLoadResult {
  bool opened = false;      // the file could be read at all
  std::string reason;       // reason of a parse failure, may be empty
  int failedLine = -1;      // index of a failing line after the first, else -1
};

// Reads the file (UTF-8 or Windows-1250) and parses it for
// `state.TableType`. False on a failure, described in `result`.
bool LoadTableFile(const std::filesystem::path& path, ConversionState& state,
                   const InputLimits& limits, TableLoadResult& result);

// The checks on a table read again for a stored configuration: the signal
// span of the table at least the minimum span of `Typ`, then, with the user
// limits set from the table, `MinInput` and `MaxInput` inside them. Sets
// `TableLoaded` when accepted; otherwise returns the message key.
std::optional<std::string> AcceptReloadedTable(const ConversionContext& context);

}  // namespace q5480
