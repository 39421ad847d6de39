// What the q5480ctl commands that talk to a module share: the link on
// --port N with its command set, the first sample, the transfers with their
// progress line on standard error, and the program's messages.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli_support.h"
#include "config/language_table.h"
#include "config/module_config.h"
#include "config/module_image.h"
#include "config/user_interface.h"
#include "conversion/conversion_state.h"
#include "link/command_set.h"
#include "link/link.h"
#include "link/measurement.h"

namespace q5480::cli {

// Messages go to standard error; the terminal has no beep worth making.
class ConsoleUi : public UserInterface {
 public:
  MessageResult ShowMessage(const std::string& text, const std::string& caption, MessageIcon icon,
                            MessageButtons buttons) override;
  void Beep(BeepKind) override {}
};

// "Writing data... 45%" on standard error: rewritten in place on a
// terminal, otherwise a line at every tenth.
class ProgressLine {
 public:
  explicit ProgressLine(std::string message);
  void Show(int percent);
  // Ends the line (a terminal's cursor moves on).
  void Finish();

 private:
  std::string message_;
  bool terminal_;
  int shown_ = -1;
};

class DeviceSession {
 public:
  explicit DeviceSession(std::string_view command);
  ~DeviceSession();
  DeviceSession(const DeviceSession&) = delete;
  DeviceSession& operator=(const DeviceSession&) = delete;

  // --port, then Open and AwaitSample: the link running with a first
  // sample; kExitOk, or the first failure's status.
  int Connect(const ParsedArgs& args);
  // For a command whose only option is --port: the arguments checked (a bad
  // one: the reason and kExitUsage), then Connect.
  int ConnectPortOnly(const std::vector<std::string>& args);
  // For "FILE.par --port N [--table FILE.dat]", as the desktop program's
  // Write prepares: the arguments checked, --port, LoadConfiguration of
  // FILE.par, Open, AwaitSample and CheckModelAndBuild; kExitOk, or the
  // first failure's status.
  int ConnectAndBuild(const std::vector<std::string>& args);

  // The port number of --port (1 to 255); kExitOk, or the reason printed and
  // kExitUsage.
  int TakePort(const ParsedArgs& args);
  // Opens the port and starts polling; kExitOk, or the message printed and
  // kExitFailed.
  int Open();
  // Waits for the first sample; the message "No communication with
  // device!" and kExitFailed when none comes.
  int AwaitSample();
  // Stops polling and runs `worker` with its progress line (none for an
  // empty message); kExitOk, or "Transmission unsuccessful!" and
  // kExitFailed.
  int Transfer(std::string_view messageKey, Link::Worker worker);

  // The configuration of a parameters file made ready to build, its table
  // read again (`table` instead of the stored name) or its series sampled
  // again. kExitOk; a missing file kExitUsage; a refused file kExitFailed.
  int LoadConfiguration(const std::string& parametersFile, const std::optional<std::string>& table);
  // The checks and image build of the desktop program's Write against the
  // sample taken: the module's model must be the configuration's (an empty
  // model takes the module's), the date becomes today's. kExitOk, or the
  // message printed and kExitFailed.
  int CheckModelAndBuild();

  // A program message (its English text, translated) on standard error.
  int Report(std::string_view key, std::string_view suffix, int status) const;

  const MeasurementSample& Sample() const { return sample_; }
  const DeviceStatus& Status() const { return status_; }
  // The model code that the module reports, as the write compares it.
  int ModuleModelCode() const;

  Link& GetLink() { return link_; }
  CommandSet& Commands() { return commands_; }
  const LanguageTable& Texts() const { return texts_; }

  ModuleConfig config;
  ModuleImage image;
  InputLimits limits;

 private:
  std::string command_;
  ConsoleUi ui_;
  LanguageTable texts_;
  Link link_;
  CommandSet commands_;
  ConversionState conversion_;
  int port_ = 0;
  MeasurementSample sample_;
  DeviceStatus status_;
};

}  // namespace q5480::cli
