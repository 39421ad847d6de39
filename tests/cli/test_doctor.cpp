// q5480ctl doctor as a person runs it, from a program directory of its own
// whose ports folder names the emulated module's line, and the reason the
// other commands give when a port does not open.
#include <gtest/gtest.h>
#include <signal.h>

#include <filesystem>
#include <fstream>

#include "config/settings_file.h"
#include "ctl_process.h"
#include "support/module_on_line.h"
#include "support/scratch_directory.h"
#include "support/wait_until.h"

namespace q5480 {
namespace {

namespace fs = std::filesystem;

constexpr int kModulePort = 9;

// `sleep` with `device` open as its standard input, as a terminal program
// that keeps a port, until the test ends it.
class PortHolder {
 public:
  explicit PortHolder(const std::string& device) : pid_(::fork()) {
    if (pid_ == 0) {
      const int fd = ::open(device.c_str(), O_RDWR | O_NOCTTY);
      if (fd < 0 || ::dup2(fd, 0) < 0) ::_exit(127);
      ::execlp("sleep", "sleep", "600", static_cast<char*>(nullptr));
      ::_exit(127);
    }
  }
  ~PortHolder() {
    if (pid_ <= 0) return;
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
  }
  PortHolder(const PortHolder&) = delete;
  PortHolder& operator=(const PortHolder&) = delete;

  pid_t Pid() const { return pid_; }
  // Runs as sleep, with the device open.
  bool Holding(const std::string& device) const {
    const fs::path process = "/proc/" + std::to_string(pid_);
    std::string name;
    std::ifstream(process / "comm") >> name;
    std::error_code error;
    return name == "sleep" && fs::read_symlink(process / "fd/0", error) == device;
  }

 private:
  pid_t pid_;
};

class DoctorCommand : public ::testing::Test {
 protected:
  DoctorCommand() { fs::copy_file(std::string(Q5480_BIN_DIR) + "/q5480ctl", program_); }

  Outcome Run(const std::vector<std::string>& args) const {
    return RunProgram(program_.string(), args);
  }
  const std::string& Slave() const { return module_.emulator.SlavePath(); }

  test_support::ScratchDirectory scratch_;
  const fs::path program_ = scratch_ / "q5480ctl";
  test_support::ModuleOnLine module_{test_support::ModuleWith(), scratch_ / "ports", kModulePort};
};

TEST_F(DoctorCommand, FindsTheEmulatedModulesLineReadyAndTheLineWorks) {
  const Outcome doctor = Run({"doctor", "--port", "9"});
  EXPECT_EQ(doctor.status, 0) << doctor.out;
  EXPECT_TRUE(Contains(doctor.out, "ports:\n")) << doctor.out;
  EXPECT_TRUE(Contains(doctor.out, "  COM 9  " + Slave() + "\n")) << doctor.out;
  EXPECT_TRUE(Contains(doctor.out,
                       "\nCOM9  " + (scratch_ / "ports/com9").string() + " -> " + Slave() + "\n"))
      << doctor.out;
  EXPECT_TRUE(Contains(doctor.out, "\nCOM9 is ready.\n")) << doctor.out;
  EXPECT_EQ(doctor.err, "");

  const Outcome identify = Run({"identify", "--port", "9"});
  EXPECT_EQ(identify.status, 0) << identify.err;

  // Without --port, the port of the settings file: the one q5480 opens.
  ProgramSettings settings;
  settings.ComPort = kModulePort;
  ASSERT_TRUE(WriteSettingsFile(scratch_.Path(), settings));
  EXPECT_EQ(Run({"doctor"}).status, 0);
  settings.ComPort = 0;
  ASSERT_TRUE(WriteSettingsFile(scratch_.Path(), settings));
  const Outcome none = Run({"doctor"});
  EXPECT_EQ(none.status, 1);
  EXPECT_TRUE(Contains(none.out, "The settings file names no port")) << none.out;
}

TEST_F(DoctorCommand, TellsEachCauseWithItsMendAndItsStatus) {
  fs::create_symlink(scratch_ / "no-such-line", scratch_ / "ports/com31");
  const struct Case {
    std::vector<std::string> args;
    int status;
    std::vector<std::string> lines;  // on standard output for 0 and 1, on standard error for 2
  } cases[] = {
      {{"doctor", "--port", "31"},
       1,
       {"The port does not exist.",
        "  " + (scratch_ / "ports/com31").string() + " leads to " +
            (scratch_ / "no-such-line").string() + ", which does not exist",
        "COM31 is not ready."}},
      {{"doctor", "--port", "97"},
       1,
       {"COM97  (no device)", "The port does not exist.", "COM97 is not ready."}},
      {{"doctor", "--port", "x"}, 2, {"q5480ctl doctor: bad port number: x"}},
      {{"doctor", "--port", "256"}, 2, {"q5480ctl doctor: bad port number: 256"}},
      {{"doctor", "9"}, 2, {"q5480ctl doctor: unexpected argument \"9\""}},
  };
  for (const Case& c : cases) {
    const Outcome outcome = Run(c.args);
    EXPECT_EQ(outcome.status, c.status) << c.args.back();
    const std::string& printed = c.status == 2 ? outcome.err : outcome.out;
    for (const std::string& line : c.lines) {
      EXPECT_TRUE(Contains("\n" + printed, "\n" + line + "\n")) << line << "\n" << printed;
    }
  }
}

TEST_F(DoctorCommand, NamesTheProgramThatHoldsThePort) {
  const PortHolder holder(Slave());
  ASSERT_TRUE(test_support::WaitUntil([&] { return holder.Holding(Slave()); }));
  const std::string pid = std::to_string(holder.Pid());
  const Outcome doctor = Run({"doctor", "--port", "9"});
  EXPECT_EQ(doctor.status, 1);
  for (const std::string& line :
       {"The port is held by sleep (pid " + pid + ").",
        "  sleep (pid " + pid + ") has " + Slave() + " open",
        "  mend: close sleep, or end it: kill " + pid, std::string("COM9 is not ready.")}) {
    EXPECT_TRUE(Contains(doctor.out, line + "\n")) << line << "\n" << doctor.out;
  }
}

// Every command that opens a port tells why it did not open, as the window does.
TEST_F(DoctorCommand, OtherCommandsNameTheCauseAfterTheirMessage) {
  for (const char* command : {"identify", "poll", "monitor"}) {
    const Outcome outcome = Run({command, "--port", "97"});
    EXPECT_EQ(outcome.status, 1) << command;
    EXPECT_EQ(outcome.err, "COM97 initialization failed!\nThe port does not exist.\n") << command;
  }
}

}  // namespace
}  // namespace q5480
