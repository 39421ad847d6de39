// The parameters report: the configuration as 28 lines of text, worded by
// the language table, for the printed page and the command-line tool alike.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "config/dates.h"
#include "config/language_table.h"
#include "config/module_config.h"

namespace q5480 {

inline constexpr std::size_t kReportLineCount = 28;
// The date of printing, the last line.
inline constexpr std::size_t kReportDateLine = 27;

// Where the user information is broken between its two lines: the first
// position from 25 to 34 (counted from 1) that holds a space, else 35.
std::size_t UserInfoBreak(const std::string& ogolne);

// The 28 lines, empty ones included, dated `printed`.
std::vector<std::string> ComposeParametersReport(const ModuleConfig& config,
                                                 const LanguageTable& language,
                                                 const CivilDate& printed);

}  // namespace q5480
