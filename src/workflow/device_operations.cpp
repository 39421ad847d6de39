// Read, Write and Verify of the main window, and the waiting window around
// every transfer.
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "config/dates.h"
#include "config/scoped_flag.h"
#include "conversion/conversion_messages.h"
#include "link/thread_priority.h"
#include "service/configuration_comparison.h"
#include "service/configuration_fingerprint.h"
#include "workflow/main_window.h"

namespace q5480 {
namespace {

constexpr auto kSettlePause = std::chrono::milliseconds(100);

}  // namespace

void MainWindowLogic::ShowStatusWithFingerprint(const std::string& status, int modelCode) {
  context_.SetStatusText(
      status + "   " +
      FingerprintText(ConfigurationFingerprint(context_.image, modelCode), context_.language));
}

bool MainWindowLogic::RunTransfer(const std::string& messageKey, const TransferCall& transfer) {
  ConnectionState& state = context_.state;
  // One transfer at a time, whatever route asked for a second.
  if (state.InTransfer) return false;
  if (!state.Connected) {
    context_.ShowMessage(context_.Tr("No communication with device", "!"), MessageIcon::Error);
    return false;
  }
  bool ok = false;
  {
    ScopedFlag inTransfer(state.InTransfer);
    TimerPause pause(state);
    UpdateCommandStates();
    ok = RunTransferWindow(context_.Tr(messageKey), transfer);
  }
  UpdateCommandStates();
  return ok;
}

bool MainWindowLogic::RunTransferWindow(const std::string& message, const TransferCall& transfer) {
  const std::string savedStatus = context_.statusText;
  context_.SetStatusText(message);
  context_.ui.SetProgress(0);
  context_.ui.ShowWaitWindow(true);
  context_.display.Clear();
  context_.ui.ProcessEvents();
  SetProgramPriority(context_.settings.RTPriority ? ProgramPriority::RealTime
                                                  : ProgramPriority::High);

  int shown = 0;
  TransferObserver observer;
  observer.progress = [&](int percent) {
    if (percent == shown) return;
    shown = percent;
    context_.ui.SetProgress(percent);
    context_.SetStatusText(message + "  " + std::to_string(percent) + "%");
    context_.ui.ProcessEvents();
  };
  observer.idle = [&] { context_.ui.ProcessEvents(); };
  const LinkStatus status = transfer(observer);
  const bool ok = Succeeded(status);
  // "Transmission unsuccessful" tells of a port that went away; the silence
  // that follows must not tell of it again.
  if (status == LinkStatus::PortLost) context_.state.LossTold = true;
  SetProgramPriority(ProgramPriority::High);
  if (ok) {
    std::this_thread::sleep_for(kSettlePause);
  } else {
    // The message must not hide under the waiting window.
    context_.ui.ShowWaitWindow(false);
    context_.ShowMessage(context_.Tr("Transmission unsuccessful", "!"), MessageIcon::Error);
    context_.SetStatusText(savedStatus);
  }
  context_.ui.ShowWaitWindow(false);
  context_.ui.SetProgress(0);
  return ok;
}

bool MainWindowLogic::OdczytajTClick() {
  ConnectionState& state = context_.state;
  if (state.InTransfer) return false;
  if (ModelCodeAt(status_.ModelIndex) == kSpareModelCode) {
    state.ConfigRead = true;
    return true;
  }
  ScopedFlag busy(readBusy_);
  if (status_.EepromError) {
    context_.ShowMessage(context_.Tr("EEPROM error", "!"), MessageIcon::Error);
    return false;
  }
  if (!RunTransfer("Reading data...", [this](const TransferObserver& observer) {
        return service_.ReadConfiguration(observer);
      })) {
    return false;
  }
  state.ZeroCoefficients = ReadBroughtNoCoefficients(context_.config);
  // Before the panel is shown: its questions let ticks in, which must not
  // read again.
  state.ConfigRead = true;
  state.Programmed = false;
  panel_.ShowConfiguration(kColourWhite);
  ShowStatusWithFingerprint(context_.statusText, ReportedModelCode(status_));
  return true;
}

bool MainWindowLogic::InfoOnlyWrite() {
  service_.StoreInformationTexts(Today());
  return RunTransfer("Writing data...", [this](const TransferObserver& observer) {
    return service_.WriteInformation(observer);
  });
}

bool MainWindowLogic::ZapiszTClick() {
  ConnectionState& state = context_.state;
  if (state.InTransfer || state.MonitorOnly) return false;
  return panel_.RunCommand([this] { return Write(); });
}

bool MainWindowLogic::Write() {
  ConnectionState& state = context_.state;
  ModuleConfig& c = context_.config;
  if (!panel_.CheckFields()) return false;
  if (!panel_.ConfigurationShown()) {
    context_.ui.Beep(BeepKind::Exclamation);
    context_.ShowMessage(context_.Tr("No parameters", "!"), MessageIcon::Error);
    return false;
  }
  bool infoOnly = NeedsUserData(context_) && panel_.AskForMissingUserData();

  if (!service_.ModelMatches(status_)) {
    context_.ShowMessage(context_.Tr("Type of panel meter inconsistency", "!"),
                         MessageIcon::Warning);
    return false;
  }
  c.data = FormatDate(Today());
  panel_.ShowDate();
  if (panel_.OnlyInformationChanged()) infoOnly = true;

  bool ok = false;
  if (infoOnly) {
    ok = InfoOnlyWrite();
  } else {
    if (const std::optional<Refusal> refusal = service_.BuildForWrite(Today())) {
      const std::string text =
          refusal->key == kReasonNotMonotonic
              ? context_.Tr(kTransferFunction) + " " + context_.Tr(kIsNotMonotonic, "!")
              : context_.TextOf(RefusalMessage(*refusal));
      context_.ShowMessage(text, MessageIcon::Error);
      return false;
    }
    ok = RunTransfer("Writing data...",
                     [this](const TransferObserver& observer) { return service_.Write(observer); });
  }
  if (!ok) return false;
  ShowStatusWithFingerprint(
      context_.Tr(NeedsUserData(context_) ? "Information transferred" : "Device programmed"),
      ModelCode(context_.config));
  panel_.ClearChangedMarks();
  state.Programmed = true;
  std::this_thread::sleep_for(kSettlePause);
  return true;
}

bool MainWindowLogic::Weryfikuj1Click() {
  if (context_.state.InTransfer || context_.state.MonitorOnly) return false;
  // What the module was compared against, whatever the verify leaves.
  const ModuleImage expected = context_.image;
  VerifyOutcome outcome;
  if (!RunTransfer("Verifying...", [&](const TransferObserver& observer) {
        outcome = service_.Verify(observer);
        return outcome.status;
      })) {
    return false;
  }
  if (outcome.Matches()) {
    context_.SetStatusText(context_.Tr("Verification successful"));
    return true;
  }
  if (context_.ShowMessage(context_.Tr("Errors have been found!"), MessageIcon::Warning,
                           MessageButtons::OkDetails) == MessageResult::Details) {
    ShowDifferences(expected, outcome.read);
  }
  context_.SetStatusText(context_.Tr("Verification ended with errors"));
  return false;
}

void MainWindowLogic::ShowDifferences(const ModuleImage& expected, const ModuleImage& read) {
  const ComparedConfiguration configuration = ConfigurationOfFile(expected, context_.config);
  const ComparedConfiguration module =
      ConfigurationOfModule(read, ReportedModelCode(status_), service_.Commands().NewLayout(),
                            service_.Commands().IdentifiedId());
  const std::string configurationName = context_.TextOf("configuration");
  const std::string moduleName = context_.TextOf("module");
  std::vector<std::string> lines;
  for (const FieldDifference& difference :
       CompareConfigurations(configuration, module, context_.language)) {
    lines.push_back(DescribeDifference(difference, configurationName, moduleName));
  }
  lines.push_back(LeftOutOfComparison(context_.language));
  context_.ui.ShowList(context_.TextOf("Differences"), lines);
}

}  // namespace q5480
