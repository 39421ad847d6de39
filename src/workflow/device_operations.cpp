// Read, Write and Verify of the main window, and the waiting window around
// every transfer.
#include <algorithm>
#include <chrono>
#include <thread>

#include "config/conversion_error.h"
#include "config/dates.h"
#include "conversion/build_image.h"
#include "conversion/conversion_messages.h"
#include "workflow/main_window.h"

namespace q5480 {
namespace {

constexpr auto kSettlePause = std::chrono::milliseconds(100);
constexpr int kModelCodeOffset = 100;

std::uint16_t TodayDayNumber() { return static_cast<std::uint16_t>(DayNumber(Today())); }

bool AllZero(const std::array<double, 11>& values) {
  return std::all_of(values.begin(), values.end(), [](double v) { return v == 0; });
}

// The Read tool button shows its busy state for the time of a read.
class BusyFlag {
 public:
  explicit BusyFlag(bool& flag) : flag_(flag) { flag_ = true; }
  ~BusyFlag() { flag_ = false; }
  BusyFlag(const BusyFlag&) = delete;
  BusyFlag& operator=(const BusyFlag&) = delete;

 private:
  bool& flag_;
};

}  // namespace

bool TQ5480FLogic::showiad(const std::string& messageKey, Link::Worker worker) {
  ConnectionState& state = context_.state;
  if (!state.Connected) {
    context_.MyMesM(context_.Tr("No communication with device", "!"), MessageIcon::Error);
    return false;
  }
  if (!worker || !context_.link.StopPolling()) return false;
  state.InTransfer = true;
  state.TimerEnabled = false;
  const std::string savedStatus = context_.statusText;
  const std::string message = context_.Tr(messageKey);
  context_.StatBarTxt(message);
  context_.ui.SetProgress(0);
  context_.ui.ShowWaitWindow(true);
  context_.display.Clear();
  context_.ui.ProcessEvents();

  int shown = 0;
  bool ok = context_.link.RunWorker(std::move(worker)) &&
            context_.link.AwaitWorker([&](int percent) {
              if (percent == shown) return;
              shown = percent;
              context_.ui.SetProgress(percent);
              context_.StatBarTxt(message + "  " + std::to_string(percent) + "%");
              context_.ui.ProcessEvents();
            },
            [&] { context_.ui.ProcessEvents(); });
  if (ok) {
    std::this_thread::sleep_for(kSettlePause);
  } else {
    context_.MyMesM(context_.Tr("Transmission unsuccessful", "!"), MessageIcon::Error);
    context_.StatBarTxt(savedStatus);
  }
  context_.ui.ShowWaitWindow(false);
  context_.ui.SetProgress(0);
  context_.link.StartPolling();
  state.InTransfer = false;
  state.TimerEnabled = true;
  return ok;
}

bool TQ5480FLogic::OdczytajTClick() {
  ConnectionState& state = context_.state;
  if (ModelCodeAt(status_.ModelIndex) == kSpareModelCode) {
    state.ConfigRead = true;
    return true;
  }
  BusyFlag busy(readBusy_);
  if (status_.EepromError) {
    context_.MyMesM(context_.Tr("EEPROM error", "!"), MessageIcon::Error);
    return false;
  }
  if (!commands_.ReadWorker ||
      !showiad("Reading data...", commands_.ReadWorker(kReadConfiguration))) {
    return false;
  }
  ModuleConfig& c = context_.config;
  const std::string tableInMemory = c.TableLoaded ? c.File : std::string();
  DecodeModuleImage(context_.image, c, context_.limits);
  if (c.File.empty() || c.File != tableInMemory) c.TableLoaded = false;
  state.ZeroCoefficients = c.Lin > kLinTable && AllZero(c.Coefficients);
  panel_.pokaz(kColourWhite);
  state.ConfigRead = true;
  state.Programmed = false;
  return true;
}

bool TQ5480FLogic::InfoOnlyWrite() {
  // The texts go into the image as a full build would store them.
  ModuleImage record = context_.image;
  StoreRecordInImage(context_.config, record, TodayDayNumber());
  std::copy(record.bytes.begin() + image_offset::kKod,
            record.bytes.begin() + image_offset::kMarker,
            context_.image.bytes.begin() + image_offset::kKod);
  return commands_.InfoWriteWorker &&
         showiad("Writing data...", commands_.InfoWriteWorker());
}

bool TQ5480FLogic::ZapiszTClick() {
  ConnectionState& state = context_.state;
  ModuleConfig& c = context_.config;
  if (!panel_.ConfigurationShown()) {
    context_.MyMesM(context_.Tr("No parameters", "!"), MessageIcon::Error);
    return false;
  }
  bool infoOnly = noTab(context_) && panel_.nietypo();
  if (state.InvalidEntry) return false;

  int moduleCode = ModelCodeAt(status_.ModelIndex);
  if (moduleCode >= kModelCodeOffset) moduleCode -= kModelCodeOffset;
  if (moduleCode != ModelCode(c)) {
    context_.MyMesM(context_.Tr("Type of panel meter inconsistency", "!"), MessageIcon::Warning);
    return false;
  }
  c.data = FormatDate(Today());
  panel_.ShowDate();
  if (panel_.OnlyInformationChanged()) infoOnly = true;

  bool ok = false;
  if (infoOnly) {
    ok = InfoOnlyWrite();
  } else {
    BuildFailure failure = BuildFailure::None;
    bool built = false;
    try {
      built = BuildModuleImage({c, context_.limits, context_.conversion}, context_.image,
                               TodayDayNumber(), failure);
    } catch (const ConversionError& error) {
      context_.MyMesM(context_.TextOf(error.what()), MessageIcon::Error);
      return false;
    }
    if (!built) {
      const std::string text =
          failure == BuildFailure::NotMonotonic
              ? context_.Tr(kTransferFunction) + " " + context_.Tr(kIsNotMonotonic, "!")
              : context_.TextOf(BuildFailureMessage(failure));
      context_.MyMesM(text, MessageIcon::Error);
      return false;
    }
    ok = commands_.WriteWorker && showiad("Writing data...", commands_.WriteWorker());
  }
  if (!ok) return false;
  context_.StatBarTxt(context_.Tr(noTab(context_) ? "Information transferred" : "Device programmed"));
  panel_.ClearChangedMarks();
  state.Programmed = true;
  std::this_thread::sleep_for(kSettlePause);
  return true;
}

bool TQ5480FLogic::Weryfikuj1Click() {
  if (!commands_.ReadWorker || !commands_.ImagesMatch) return false;
  const ModuleImage expected = context_.image;
  if (!showiad("Verifying...", commands_.ReadWorker(kReadVerification))) {
    // A partial read must not stay in the image: the next Verify would
    // compare the module with its own bytes.
    context_.image = expected;
    return false;
  }
  if (commands_.ImagesMatch(expected, context_.image)) {
    context_.StatBarTxt(context_.Tr("Verification successful"));
    return true;
  }
  context_.MyMesM(context_.Tr("Errors have been found!"), MessageIcon::Warning);
  context_.image = expected;
  context_.StatBarTxt(context_.Tr("Verification ended with errors"));
  return false;
}

}  // namespace q5480
