// q5480ctl run as a child process against the emulated module, as a script
// on a production line runs it.
#pragma once

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "cli/ctl_process.h"
#include "config/parameters_file.h"
#include "support/device_rig.h"

namespace q5480::device_test {

using namespace test_support;

// The program copied into a scratch folder, which thereby becomes its
// program directory, with a ports folder that names the module's line.
class CtlRunner {
 public:
  CtlRunner(const std::filesystem::path& folder, const std::string& modulePath)
      : CtlRunner(folder) {
    std::filesystem::create_directories(folder / "ports");
    std::filesystem::create_symlink(modulePath, folder / "ports" / ("com" + std::to_string(kPort)));
  }
  // Without a module, for the commands that work on files.
  explicit CtlRunner(const std::filesystem::path& folder) : folder_(folder) {
    std::filesystem::create_directories(folder);
    std::filesystem::copy_file(std::string(Q5480_BIN_DIR) + "/q5480ctl", folder / "q5480ctl");
  }

  Outcome Run(const std::vector<std::string>& args) const {
    return RunProgram((folder_ / "q5480ctl").string(), args);
  }

 private:
  std::filesystem::path folder_;
};

// `config` saved as the parameters file `name` in `scratch`.
inline std::string WriteParameters(const ScratchDirectory& scratch, const ModuleConfig& config,
                                   const std::string& name) {
  const std::string path = (scratch / name).string();
  std::string dataDir;
  EXPECT_TRUE(WriteParametersFile(path, config, RegionalSettings{}, dataDir));
  return path;
}

// The lines `q5480ctl monitor` printed, each split at its tabs: time,
// result, unit, output current and status.
inline std::vector<std::vector<std::string>> MonitorLines(const std::string& out) {
  std::vector<std::vector<std::string>> rows;
  std::istringstream lines(out);
  for (std::string line; std::getline(lines, line);) {
    std::vector<std::string>& columns = rows.emplace_back();
    std::istringstream fields(line);
    for (std::string field; std::getline(fields, field, '\t');) columns.push_back(field);
  }
  return rows;
}

}  // namespace q5480::device_test
