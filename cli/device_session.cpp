#include "device_session.h"

#include <chrono>
#include <cstdio>

#include "config/dates.h"
#include "config/program_directory.h"
#include "console.h"
#include "console_lines.h"
#include "service/configuration_fingerprint.h"
#include "service/port_open_failure.h"
#include "stored_image.h"

namespace q5480::cli {
namespace {

constexpr std::chrono::milliseconds kSampleSilence{3000};
constexpr int kBaudCode4800 = 3;
constexpr int kMaxPort = 255;
constexpr int kProgressStep = 10;

}  // namespace

ProgressLine::ProgressLine(std::string message)
    : message_(std::move(message)), terminal_(StandardErrorIsTerminal() && !OnePortOfMany()) {}

void ProgressLine::Show(int percent) {
  if (terminal_) {
    if (percent == shown_) return;
    std::fprintf(stderr, "\r%s %d%%", message_.c_str(), percent);
    std::fflush(stderr);
  } else {
    const int step = percent / kProgressStep * kProgressStep;
    if (step <= shown_) return;
    percent = step;
    PrintProgress(message_ + " " + std::to_string(step) + "%");
  }
  shown_ = percent;
}

void ProgressLine::Finish() {
  if (terminal_ && shown_ >= 0) std::fputc('\n', stderr);
}

LinkSettings ProgramLinkSettings() {
  LinkSettings settings;
  settings.ports.portsDirectory = PortsDirectory();
  return settings;
}

std::string LinkReason(LinkStatus status, int port) {
  const std::string com = "COM" + std::to_string(port);
  switch (status) {
    case LinkStatus::Success: return "";
    case LinkStatus::NoEcho: return "no echo from " + com;
    case LinkStatus::BadReply: return "bad reply from " + com;
    case LinkStatus::LineError: return "line error on " + com;
    case LinkStatus::TimedOut: return "no answer in time from " + com;
    case LinkStatus::Aborted: return "cancelled";
    case LinkStatus::PortLost: return com + " is gone";
    case LinkStatus::Busy: return "another transfer holds " + com;
  }
  return "";
}

DeviceSession::DeviceSession(std::string_view command)
    : command_(command),
      link_(MeasurementPolling(), ProgramLinkSettings()),
      service_(link_, {config, limits, conversion_}, image) {}

DeviceSession::~DeviceSession() { link_.StopLink(); }

int DeviceSession::Connect(const ParsedArgs& args) {
  if (int status = TakePort(args); status != kExitOk) return status;
  if (int status = Open(); status != kExitOk) return status;
  return AwaitSample();
}

int DeviceSession::ConnectPortOnly(const std::vector<std::string>& args) {
  std::string error;
  const std::optional<ParsedArgs> parsed =
      ParseArguments(args, OptionSpec{{}, {"--port"}, 0, 0}, error);
  if (!parsed) return Fail(command_, error, kExitUsage);
  return Connect(*parsed);
}

int DeviceSession::ConnectTo(int port) {
  port_ = port;
  if (int status = Open(); status != kExitOk) return status;
  return AwaitSample();
}

int DeviceSession::ConnectAndBuild(int port, const std::string& parametersFile,
                                   const std::optional<std::string>& table) {
  if (int status = LoadConfiguration(parametersFile, table); status != kExitOk) return status;
  if (int status = ConnectTo(port); status != kExitOk) return status;
  return CheckModelAndBuild();
}

void DeviceSession::DescribeModule(ModuleResult& result) const {
  if (status_.ModelIndex == DeviceStatus{}.ModelIndex) return;
  result.model = ModelNameOf(ReportedModelCode(status_));
  result.serial = config.serial;
  result.identifier = config.ModuleId;
}

std::string DeviceSession::ModuleFingerprint() const {
  return ConfigurationFingerprint(image, ReportedModelCode(status_));
}

int TakePortNumber(std::string_view command, const ParsedArgs& args, int& port) {
  const std::optional<std::string> text = args.Value("--port");
  if (!text) return Fail(command, "--port N is required", kExitUsage);
  const std::optional<long> number = PositiveNumber(*text);
  if (!number || *number > kMaxPort) return Fail(command, "bad port number: " + *text, kExitUsage);
  port = static_cast<int>(*number);
  return kExitOk;
}

int DeviceSession::TakePort(const ParsedArgs& args) {
  return TakePortNumber(command_, args, port_);
}

int DeviceSession::Open() {
  if (link_.OpenLink(port_, kBaudCode4800)) return kExitOk;
  return ReportMessage(
      PortOpenFailureMessage(port_, PortDoctorEnvironment::ForThisUser(ProgramLinkSettings().ports),
                             texts_),
      kExitFailed);
}

int DeviceSession::AwaitSample() {
  const auto end = std::chrono::steady_clock::now() + kSampleSilence;
  while (!service_.Commands().TakeSample(sample_, status_)) {
    if (link_.PollFault() || std::chrono::steady_clock::now() >= end) {
      return ReportLink("No communication with device", link_.LastPollStatus());
    }
    link_.NewSampleEvent().WaitFor(std::chrono::milliseconds(100));
    link_.NewSampleEvent().Reset();
  }
  return kExitOk;
}

int DeviceSession::Transfer(std::string_view messageKey, const TransferCall& transfer) {
  // A transfer without a message (a single exchange) shows no progress.
  ProgressLine progress(texts_.Tr(messageKey));
  const bool shown = !messageKey.empty();
  if (shown) progress.Show(0);
  TransferObserver observer;
  observer.progress = [&](int percent) {
    if (shown) progress.Show(percent);
  };
  const LinkStatus status = transfer(observer);
  if (shown) progress.Finish();
  return Succeeded(status) ? kExitOk : ReportLink("Transmission unsuccessful", status);
}

int DeviceSession::Identify() {
  return Transfer("",
                  [this](const TransferObserver& observer) { return service_.Identify(observer); });
}

int DeviceSession::LoadConfiguration(const std::string& parametersFile,
                                     const std::optional<std::string>& table) {
  return LoadStoredFile(command_, parametersFile, table, {config, limits, conversion_});
}

int DeviceSession::CheckModelAndBuild() {
  if (config.Device.empty()) config.Device = ModelNameOf(ReportedModelCode(status_));
  if (!service_.ModelMatches(status_)) {
    return Report("Type of panel meter inconsistency", "!", kExitFailed);
  }
  return BuildForWrite(service_, Today());
}

int DeviceSession::Report(std::string_view key, std::string_view suffix, int status) const {
  return ReportMessage(texts_.Tr(key) + std::string(suffix), status);
}

int DeviceSession::ReportLink(std::string_view key, LinkStatus reason) const {
  return ReportMessage(texts_.Tr(key) + "! (" + LinkReason(reason, port_) + ")", kExitFailed);
}

}  // namespace q5480::cli
