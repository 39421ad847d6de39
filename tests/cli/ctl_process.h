// q5480ctl run as a child process, as a script runs it: its exit status and
// what it printed on each stream.
#pragma once

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "support/scratch_directory.h"

namespace q5480 {

struct Outcome {
  int status = -1;
  std::string out;
  std::string err;
};

// Runs `program` (a copy of q5480ctl placed elsewhere takes that folder as its
// program directory) with `args`.
inline Outcome RunProgram(const std::string& program, const std::vector<std::string>& args) {
  test_support::ScratchDirectory dir;
  const std::string outPath = (dir / "stdout").string();
  const std::string errPath = (dir / "stderr").string();
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(program.c_str()));
  for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);

  pid_t child = ::fork();
  if (child == 0) {
    int out = ::open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    int err = ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (out < 0 || err < 0 || ::dup2(out, 1) < 0 || ::dup2(err, 2) < 0) ::_exit(127);
    ::execv(program.c_str(), argv.data());
    ::_exit(127);
  }
  Outcome outcome;
  int status = 0;
  if (child < 0 || ::waitpid(child, &status, 0) != child) return outcome;
  outcome.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  outcome.out = test_support::ReadBytes(outPath);
  outcome.err = test_support::ReadBytes(errPath);
  return outcome;
}

inline bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

// The q5480ctl of the build.
inline Outcome RunCtl(const std::vector<std::string>& args) {
  return RunProgram(std::string(Q5480_BIN_DIR) + "/q5480ctl", args);
}

}  // namespace q5480
