// What the q5480ctl commands that talk to a module share: the link on
// --port N with the module service over it, the first sample, the transfers
// with their progress line on standard error, and the program's messages
// with the link's reason added.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli_support.h"
#include "config/language_table.h"
#include "config/module_config.h"
#include "config/module_image.h"
#include "conversion/conversion_state.h"
#include "link/link.h"
#include "module/measurement.h"
#include "module/measurement_polling.h"
#include "service/module_result.h"
#include "service/module_service.h"

namespace q5480::cli {

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

// The link settings of q5480ctl: links "comN" in the ports folder of the
// program directory, which all programs of one build share, name extra ports.
LinkSettings ProgramLinkSettings();

// Why an exchange with the module on COM `port` failed, in a few words:
// "no echo from COM9".
std::string LinkReason(LinkStatus status, int port);

// The COM number of --port (1 to 255) into `port`; kExitOk, or the reason
// printed and kExitUsage.
int TakePortNumber(std::string_view command, const ParsedArgs& args, int& port);

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
  // COM `port` opened and its first sample awaited; kExitOk, or the first
  // failure's status.
  int ConnectTo(int port);
  // As the desktop program's Write prepares, on COM `port`: LoadConfiguration
  // of `parametersFile`, ConnectTo and CheckModelAndBuild; kExitOk, or the
  // first failure's status.
  int ConnectAndBuild(int port, const std::string& parametersFile,
                      const std::optional<std::string>& table);

  // The port number of --port (1 to 255); kExitOk, or the reason printed and
  // kExitUsage.
  int TakePort(const ParsedArgs& args);
  // Opens the port and starts polling; kExitOk, or the message printed and
  // kExitFailed.
  int Open();
  // Waits for the first sample; "No communication with device!" with the
  // reason and kExitFailed when none comes.
  int AwaitSample();
  // Runs one transfer of the service with its progress line (none for an
  // empty message); kExitOk, or "Transmission unsuccessful!" with the
  // reason and kExitFailed.
  using TransferCall = std::function<LinkStatus(const TransferObserver&)>;
  int Transfer(std::string_view messageKey, const TransferCall& transfer);
  // Identifies the module (its model and memory layout) as a transfer
  // without progress.
  int Identify();

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
  // The same with the link's reason after it: "... (no echo from COM9)".
  int ReportLink(std::string_view key, LinkStatus reason) const;

  // The model the module reports, its serial number (known after a read)
  // and identifier (known after an identification) into `result`.
  void DescribeModule(ModuleResult& result) const;
  // The fingerprint of the image as it stands, for the module's model.
  std::string ModuleFingerprint() const;

  const MeasurementSample& Sample() const { return sample_; }
  const DeviceStatus& Status() const { return status_; }
  int Port() const { return port_; }

  Link& GetLink() { return link_; }
  ModuleService& Service() { return service_; }
  const LanguageTable& Texts() const { return texts_; }

  ModuleConfig config;
  ModuleImage image;
  InputLimits limits;

 private:
  std::string command_;
  LanguageTable texts_;
  ConversionState conversion_;
  Link link_;
  ModuleService service_;
  int port_ = 0;
  MeasurementSample sample_;
  DeviceStatus status_;
};

}  // namespace q5480::cli
