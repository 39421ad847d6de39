// A production plan: which parameters file goes into the module on which
// port, read from a UTF-8 CSV file, and the result of its run beside it.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "service/module_result.h"

namespace q5480 {

struct PlannedModule {
  int port = 0;
  std::filesystem::path file;                  // the parameters file
  std::optional<std::filesystem::path> table;  // instead of the table it names
  std::optional<std::string> tag;              // the ID tag put into this module
  std::optional<std::string> info;             // the user information likewise
};

// The rows of a plan with the header "port,file,table,tag,info" (the last
// three columns optional, in any order). Relative paths are taken from the
// plan's folder. Refused, with the line and the reason, for a missing
// column, a port outside 1 to 255 or planned twice, an empty file name, an
// open quote, or a plan without rows.
std::optional<std::string> ReadBatchPlan(const std::filesystem::path& plan,
                                         std::vector<PlannedModule>& modules);

// "PLAN.result.csv" beside "PLAN.csv".
std::filesystem::path BatchResultPath(const std::filesystem::path& plan);

// The results with the header "port,model,serial,result,reason,fingerprint,
// seconds", replacing the file; false when it could not be written.
bool WriteBatchResult(const std::filesystem::path& path, const std::vector<ModuleResult>& results);

}  // namespace q5480
