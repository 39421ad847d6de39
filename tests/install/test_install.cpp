// This build installed into a folder of the test's own with `cmake --install`,
// and the installed programs run from there as a user runs them: their
// settings and ports in the user's configuration folder, never beside
// themselves, and their data found in the installed data folder.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "config/language_table.h"
#include "config/line_buffer.h"
#include "config/settings_file.h"
#include "module/command_set.h"
#include "support/module_on_line.h"
#include "support/scratch_directory.h"
#include "support/wait_until.h"

extern char** environ;

namespace q5480 {
namespace {

namespace fs = std::filesystem;
using test_support::ModuleOnLine;
using test_support::ModuleWith;
using test_support::ReadBytes;
using test_support::ScratchDirectory;
using test_support::WaitUntil;
using test_support::WriteBytes;

constexpr int kPort = 9;
constexpr const char* kDesktopId = "org.q5480.q5480";

// A program started with this process's environment and `extra` over it,
// its standard output and error in files.
class ChildProcess {
 public:
  ChildProcess(const std::vector<std::string>& argv,
               const std::map<std::string, std::string>& extra, const fs::path& outputFolder)
      : out_(outputFolder / "out"), err_(outputFolder / "err") {
    std::map<std::string, std::string> variables;
    for (char** entry = environ; *entry != nullptr; ++entry) {
      const std::string text = *entry;
      const std::size_t equals = text.find('=');
      if (equals != std::string::npos) variables[text.substr(0, equals)] = text.substr(equals + 1);
    }
    for (const auto& [name, value] : extra) variables[name] = value;
    std::vector<std::string> environment;
    for (const auto& [name, value] : variables) environment.push_back(name + "=" + value);

    std::vector<char*> args;
    for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);
    std::vector<char*> envp;
    for (std::string& entry : environment) envp.push_back(entry.data());
    envp.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, out_.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, err_.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (posix_spawnp(&pid_, args[0], &actions, nullptr, args.data(), envp.data()) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
  }
  ~ChildProcess() {
    if (Running()) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, nullptr, 0);
    }
  }
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  bool Started() const { return pid_ > 0; }
  bool Running() {
    if (pid_ <= 0 || status_) return false;
    int status = 0;
    if (::waitpid(pid_, &status, WNOHANG) == pid_) status_ = status;
    return !status_;
  }
  void Signal(int signal) const { ::kill(pid_, signal); }
  // The exit code once the program ended by itself within the bound;
  // nothing when it is still running or a signal ended it.
  std::optional<int> ExitCode() {
    WaitUntil([this] { return !Running(); });
    if (!status_ || !WIFEXITED(*status_)) return std::nullopt;
    return WEXITSTATUS(*status_);
  }
  std::string Out() const { return ReadBytes(out_); }
  std::string Err() const { return ReadBytes(err_); }

 private:
  fs::path out_;
  fs::path err_;
  pid_t pid_ = -1;
  std::optional<int> status_;
};

struct Outcome {
  std::optional<int> code;
  std::string out;
  std::string err;
};

bool OnPath(const std::string& tool) {
  const char* path = std::getenv("PATH");
  std::string folders = path != nullptr ? path : "";
  for (std::size_t start = 0; start <= folders.size();) {
    std::size_t end = folders.find(':', start);
    if (end == std::string::npos) end = folders.size();
    if (::access((fs::path(folders.substr(start, end - start)) / tool).c_str(), X_OK) == 0) {
      return true;
    }
    start = end + 1;
  }
  return false;
}

// The value of `key` in a desktop entry; empty when absent.
std::string DesktopEntryValue(const std::string& entry, const std::string& key) {
  const std::size_t at = entry.find("\n" + key + "=");
  if (at == std::string::npos) return {};
  const std::size_t start = at + key.size() + 2;
  return entry.substr(start, entry.find('\n', start) - start);
}

// One installation for the tests of a process: each test of the suite runs
// in a process of its own, so the few seconds of installing come once each.
class InstalledTree : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    scratch_ = new ScratchDirectory;
    fs::create_directories(*scratch_ / "install");
    installed_ = new Outcome(RunIn(
        *scratch_ / "install",
        {CMAKE_COMMAND, "--install", Q5480_BUILD_DIR, "--prefix", (*scratch_ / "prefix").string()},
        {}));
  }
  static void TearDownTestSuite() {
    delete installed_;
    delete scratch_;
  }
  void SetUp() override {
    ASSERT_EQ(installed_->code, 0) << installed_->out << installed_->err;
    fs::create_directories(User() / "runtime");
    fs::permissions(User() / "runtime", fs::perms::owner_all);
  }

  static const ScratchDirectory& Scratch() { return *scratch_; }
  static fs::path Prefix() { return *scratch_ / "prefix"; }
  static fs::path Bin() { return Prefix() / "bin"; }
  static fs::path Data() { return Prefix() / "share" / "q5480"; }
  // The user's folders, and where output of the programs is kept.
  static fs::path User() { return *scratch_ / "user"; }
  // Where an installed program of this user keeps its settings and ports.
  static fs::path UserProgramDirectory() { return User() / "config" / "q5480"; }

  // A user whose home and configuration folder are the test's own, on a
  // screen of no display.
  static std::map<std::string, std::string> UserEnvironment() {
    return {{"HOME", (User() / "home").string()},
            {"XDG_CONFIG_HOME", (User() / "config").string()},
            {"XDG_RUNTIME_DIR", (User() / "runtime").string()},
            {"QT_QPA_PLATFORM", "offscreen"},
            {"Q5480_NO_SPLASH", "1"}};
  }

  static Outcome RunIn(const fs::path& folder, const std::vector<std::string>& argv,
                       const std::map<std::string, std::string>& extra) {
    ChildProcess child(argv, extra, folder);
    if (!child.Started()) return {std::nullopt, "", "cannot start " + argv[0]};
    std::optional<int> code = child.ExitCode();
    return {code, child.Out(), child.Err()};
  }
  static Outcome Run(const std::vector<std::string>& argv) {
    return RunIn(User(), argv, UserEnvironment());
  }

 private:
  static ScratchDirectory* scratch_;
  static Outcome* installed_;
};

ScratchDirectory* InstalledTree::scratch_ = nullptr;
Outcome* InstalledTree::installed_ = nullptr;

// Every example and language file of the sources, the manual and the man
// pages land in the data folders; the programs in bin.
TEST_F(InstalledTree, HoldsTheProgramsAndEveryDataFileOfTheSources) {
  std::vector<std::string> programs{"q5480ctl", "q5480-module"};
  if (Q5480_WITH_GUI) programs.push_back("q5480");
  for (const std::string& program : programs) {
    EXPECT_EQ(::access((Bin() / program).c_str(), X_OK), 0) << program;
  }
  const fs::path source(Q5480_SOURCE_DIR);
  std::vector<std::pair<fs::path, fs::path>> copies;
  for (const auto& entry : fs::directory_iterator(source / "examples")) {
    copies.emplace_back(entry.path(), Data() / "examples" / entry.path().filename());
  }
  if (fs::is_directory(source / "lang")) {
    for (const auto& entry : fs::directory_iterator(source / "lang")) {
      if (entry.path().extension() == ".lan") {
        copies.emplace_back(entry.path(), Data() / entry.path().filename());
      }
    }
  }
  copies.emplace_back(source / "docs" / "manual.md", Data() / "manual.md");
  for (const char* page : {"q5480ctl.1", "q5480-module.1"}) {
    copies.emplace_back(source / "docs" / "man" / page, Prefix() / "share" / "man" / "man1" / page);
  }
  copies.emplace_back(source / "packaging" / "60-q5480.rules",
                      Prefix() / "lib" / "udev" / "rules.d" / "60-q5480.rules");
  for (const auto& [from, to] : copies) {
    ASSERT_TRUE(fs::is_regular_file(to)) << to;
    EXPECT_EQ(ReadBytes(to), ReadBytes(from)) << to;
  }
}

// The shell finds the program, its icon and its description through names
// that must agree with each other, and both files pass their validators.
TEST_F(InstalledTree, DesktopEntryAndMetainfoAgreeAndPassTheirValidators) {
  if (!Q5480_WITH_GUI) GTEST_SKIP() << "built without the desktop program";
  const std::string id = kDesktopId;
  const fs::path desktop = Prefix() / "share" / "applications" / (id + ".desktop");
  const fs::path metainfo = Prefix() / "share" / "metainfo" / (id + ".metainfo.xml");
  const std::string entry = ReadBytes(desktop);
  ASSERT_FALSE(entry.empty()) << desktop;
  EXPECT_EQ(::access((Bin() / DesktopEntryValue(entry, "Exec")).c_str(), X_OK), 0);
  EXPECT_TRUE(fs::is_regular_file(Prefix() / "share" / "icons" / "hicolor" / "scalable" / "apps" /
                                  (DesktopEntryValue(entry, "Icon") + ".svg")));
  const std::string description = ReadBytes(metainfo);
  EXPECT_NE(description.find("<id>" + id + "</id>"), std::string::npos);
  EXPECT_NE(description.find(">" + desktop.filename().string() + "</launchable>"),
            std::string::npos);

  const std::vector<std::vector<std::string>> validators{
      {"desktop-file-validate", desktop.string()},
      {"appstreamcli", "validate", "--no-net", metainfo.string()}};
  for (const auto& validator : validators) {
    if (!OnPath(validator[0])) GTEST_SKIP() << validator[0] << " is not installed";
    const Outcome outcome = Run(validator);
    EXPECT_EQ(outcome.code, 0) << validator[0] << ":\n" << outcome.out << outcome.err;
  }
}

// An installed program never writes beside itself, even where it may (this
// test may well run as root): q5480ctl finds the module through the ports
// folder in the user's configuration folder.
TEST_F(InstalledTree, TheCommandLineToolFindsTheModuleThroughTheUsersPortsFolder) {
  ModuleOnLine line(ModuleWith(), UserProgramDirectory() / "ports", kPort);
  const Outcome help = Run({(Bin() / "q5480ctl").string(), "--help"});
  EXPECT_EQ(help.code, 0) << help.err;
  EXPECT_NE(help.out.find("usage: q5480ctl"), std::string::npos) << help.out;

  const Outcome identify =
      Run({(Bin() / "q5480ctl").string(), "identify", "--port", std::to_string(kPort)});
  EXPECT_EQ(identify.code, 0) << identify.err;
  EXPECT_NE(identify.out.find(test_support::kNewId), std::string::npos) << identify.out;
  EXPECT_FALSE(fs::exists(Bin() / "ports"));
}

// The desktop program started from the installation, offscreen, against an
// emulated module: it takes the language named in the user's settings from
// the installed data folder (else it would fall back to English and store
// that), and ends on SIGTERM as when its window is closed, storing its
// settings for the user alone.
TEST_F(InstalledTree, TheDesktopProgramTakesItsLanguageFromTheInstalledDataFolder) {
  if (!Q5480_WITH_GUI) GTEST_SKIP() << "built without the desktop program";
  const std::string language = "Installed";
  LineBuffer file;
  file.AddEmptyLines(kLanguageKeyCount);
  for (std::size_t i = 0; i < kLanguageKeyCount; ++i) {
    const std::string key(LanguageKeys()[i]);
    file.SetLine(i, key + "=" + language + " " + key);
  }
  ASSERT_TRUE(file.Save(Data() / (language + ".lan")));

  ModuleOnLine line(ModuleWith(), UserProgramDirectory() / "ports", kPort);
  WriteBytes(UserProgramDirectory() / kSettingsFileName,
             "ComPort=" + std::to_string(kPort) + "\r\nLanguage=" + language + "\r\n");

  ChildProcess program({(Bin() / "q5480").string()}, UserEnvironment(), User());
  ASSERT_TRUE(program.Started());
  // Polling runs once the settings, the language and the port are taken.
  ASSERT_TRUE(WaitUntil(
      [&] { return line.interposer.CountOf(request_code::kMeasure) > 0 || !program.Running(); }));
  ASSERT_TRUE(program.Running()) << program.Err();
  program.Signal(SIGTERM);
  EXPECT_EQ(program.ExitCode(), 0) << program.Err();

  const fs::path settings = UserProgramDirectory() / kSettingsFileName;
  LineBuffer stored;
  ASSERT_TRUE(stored.Load(settings));
  EXPECT_EQ(stored.Value("Language"), language);
  EXPECT_EQ(stored.Value("ComPort"), std::to_string(kPort));
  struct stat info {};
  ASSERT_EQ(::stat(settings.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0600u);
  EXPECT_FALSE(fs::exists(Bin() / kSettingsFileName));
}

}  // namespace
}  // namespace q5480
