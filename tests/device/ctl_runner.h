// q5480ctl run as a child process against the emulated module: the program
// is copied into a scratch folder, which thereby becomes its program
// directory, with a ports folder that names the module's line.
#pragma once

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/scratch_directory.h"

namespace q5480::device_test {

struct CtlOutcome {
  int status = -1;
  std::string out;
  std::string err;
};

class CtlRunner {
 public:
  CtlRunner(const std::filesystem::path& folder, const std::string& modulePath, int port)
      : folder_(folder), program_(folder / "q5480ctl") {
    std::filesystem::create_directories(folder / "ports");
    std::filesystem::copy_file(std::string(Q5480_BIN_DIR) + "/q5480ctl", program_,
                               std::filesystem::copy_options::overwrite_existing);
    std::filesystem::create_symlink(modulePath, folder / "ports" / ("com" + std::to_string(port)));
  }

  CtlOutcome Run(const std::vector<std::string>& args) const {
    const std::string outPath = (folder_ / "stdout").string();
    const std::string errPath = (folder_ / "stderr").string();
    std::vector<char*> argv{const_cast<char*>(program_.c_str())};
    for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    const pid_t child = ::fork();
    if (child == 0) {
      const int out = ::open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
      const int err = ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
      if (out < 0 || err < 0 || ::dup2(out, 1) < 0 || ::dup2(err, 2) < 0) ::_exit(127);
      ::execv(program_.c_str(), argv.data());
      ::_exit(127);
    }
    CtlOutcome outcome;
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child) return outcome;
    outcome.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    outcome.out = test_support::ReadBytes(outPath);
    outcome.err = test_support::ReadBytes(errPath);
    return outcome;
  }

 private:
  std::filesystem::path folder_;
  std::filesystem::path program_;
};

}  // namespace q5480::device_test
