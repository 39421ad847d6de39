#include "device_session.h"

#include <unistd.h>

#include <chrono>
#include <cstdio>

#include "config/dates.h"
#include "link/transfer_workers.h"
#include "stored_image.h"

namespace q5480::cli {
namespace {

constexpr std::chrono::milliseconds kSampleSilence{3000};
constexpr int kBaudCode4800 = 3;
constexpr int kMaxPort = 255;
constexpr int kModelCodeOffset = 100;
constexpr int kProgressStep = 10;

}  // namespace

MessageResult ConsoleUi::ShowMessage(const std::string& text, const std::string&, MessageIcon,
                                     MessageButtons) {
  std::fprintf(stderr, "%s\n", text.c_str());
  return MessageResult::Ok;
}

ProgressLine::ProgressLine(std::string message)
    : message_(std::move(message)), terminal_(::isatty(STDERR_FILENO) == 1) {}

void ProgressLine::Show(int percent) {
  if (terminal_) {
    if (percent == shown_) return;
    std::fprintf(stderr, "\r%s %d%%", message_.c_str(), percent);
  } else {
    const int step = percent / kProgressStep * kProgressStep;
    if (step <= shown_) return;
    percent = step;
    std::fprintf(stderr, "%s %d%%\n", message_.c_str(), step);
  }
  std::fflush(stderr);
  shown_ = percent;
}

void ProgressLine::Finish() {
  if (terminal_ && shown_ >= 0) std::fputc('\n', stderr);
}

DeviceSession::DeviceSession(std::string_view command)
    : command_(command), link_(ui_, texts_), commands_(link_, config, image) {}

DeviceSession::~DeviceSession() {
  link_.StopPolling();
  link_.StopLink();
}

int DeviceSession::Connect(const ParsedArgs& args) {
  if (int status = TakePort(args); status != kExitOk) return status;
  if (int status = Open(); status != kExitOk) return status;
  return AwaitSample();
}

int DeviceSession::ConnectPortOnly(const std::vector<std::string>& args) {
  std::string error;
  const std::optional<ParsedArgs> parsed = ParseArguments(args, OptionSpec{{}, {"--port"}, 0, 0}, error);
  if (!parsed) return Fail(command_, error, kExitUsage);
  return Connect(*parsed);
}

int DeviceSession::ConnectAndBuild(const std::vector<std::string>& args) {
  std::string error;
  const std::optional<ParsedArgs> parsed =
      ParseArguments(args, OptionSpec{{}, {"--port", "--table"}, 1, 1}, error);
  if (!parsed) return Fail(command_, error, kExitUsage);
  if (int status = TakePort(*parsed); status != kExitOk) return status;
  if (int status = LoadConfiguration(parsed->positionals[0], parsed->Value("--table"));
      status != kExitOk) {
    return status;
  }
  if (int status = Open(); status != kExitOk) return status;
  if (int status = AwaitSample(); status != kExitOk) return status;
  return CheckModelAndBuild();
}

int DeviceSession::TakePort(const ParsedArgs& args) {
  const std::optional<std::string> text = args.Value("--port");
  if (!text) return Fail(command_, "--port N is required", kExitUsage);
  try {
    std::size_t used = 0;
    const long port = std::stol(*text, &used);
    if (used == text->size() && port >= 1 && port <= kMaxPort) {
      port_ = static_cast<int>(port);
      return kExitOk;
    }
  } catch (const std::exception&) {
  }
  return Fail(command_, "bad port number: " + *text, kExitUsage);
}

int DeviceSession::Open() {
  if (link_.OpenLink(port_, kBaudCode4800)) return kExitOk;
  return ReportMessage(SubstituteNumber(texts_.Tr("COM%d initialization failed"), port_) + "!",
                       kExitFailed);
}

int DeviceSession::AwaitSample() {
  const auto end = std::chrono::steady_clock::now() + kSampleSilence;
  while (!commands_.TakeSample(sample_, status_)) {
    if (std::chrono::steady_clock::now() >= end) {
      return Report("No communication with device", "!", kExitFailed);
    }
    link_.NewSampleEvent().WaitFor(std::chrono::milliseconds(100));
    link_.NewSampleEvent().Reset();
  }
  return kExitOk;
}

int DeviceSession::Transfer(std::string_view messageKey, Link::Worker worker) {
  if (!link_.StopPolling()) return Report("Transmission unsuccessful", "!", kExitFailed);
  // A transfer without a message (a single exchange) shows no progress.
  ProgressLine progress(texts_.Tr(messageKey));
  const bool shown = !messageKey.empty();
  if (shown) progress.Show(0);
  const bool ok = RunTransfer(link_, std::move(worker), [&](int percent) {
    if (shown) progress.Show(percent);
  });
  if (shown) progress.Finish();
  return ok ? kExitOk : Report("Transmission unsuccessful", "!", kExitFailed);
}

int DeviceSession::LoadConfiguration(const std::string& parametersFile,
                                     const std::optional<std::string>& table) {
  return LoadStoredFile(command_, parametersFile, table, {config, limits, conversion_});
}

int DeviceSession::CheckModelAndBuild() {
  if (config.Device.empty()) config.Device = "Q54" + std::to_string(ModuleModelCode());
  if (ModuleModelCode() != ModelCode(config)) {
    return Report("Type of panel meter inconsistency", "!", kExitFailed);
  }
  const CivilDate today = Today();
  config.data = FormatDate(today);
  return BuildImage({config, limits, conversion_}, image, static_cast<std::uint16_t>(DayNumber(today)));
}

int DeviceSession::Report(std::string_view key, std::string_view suffix, int status) const {
  return ReportMessage(texts_.Tr(key) + std::string(suffix), status);
}

int DeviceSession::ModuleModelCode() const {
  int code = ModelCodeAt(status_.ModelIndex);
  if (code >= kModelCodeOffset) code -= kModelCodeOffset;
  return code;
}

}  // namespace q5480::cli
