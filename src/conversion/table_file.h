// Reading a user table from a ".dat" file and accepting a re-read one.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "conversion/conversion_state.h"
#include "conversion/refusal.h"

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

// Reads the file (UTF-8 or Windows-1250) and parses it for
// `state.TableType`: refused with "Cannot open file" when it cannot be read,
// else as ParseTable refuses.
std::optional<Refusal> LoadTableFile(const std::filesystem::path& path, ConversionState& state,
                                     const InputLimits& limits);

// After a table of `lineCount` lines was refused: the index of the line that
// failed, when it is a line after the first.
std::optional<int> FailingTableLine(const UserTable& table, std::size_t lineCount);

// The checks on a table read again for a stored configuration: the signal
// span of the table at least the minimum span of `Typ` ("Input range too
// small!"), then, with the user limits set from the table, `MinInput` and
// `MaxInput` inside them ("Corrupted or wrong data file" + "!"). Sets
// `TableLoaded` when accepted.
std::optional<Refusal> AcceptReloadedTable(const ConversionContext& context);

}  // namespace q5480
