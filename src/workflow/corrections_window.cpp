#include "workflow/corrections_window.h"

#include <algorithm>
#include <cmath>
#include <thread>
#include <utility>

#include "config/numbers.h"
#include "service/display_format.h"
#include "workflow/output_entry.h"

namespace q5480 {
namespace {

constexpr int kSilenceMs = 6000;
constexpr double kPositionsPerPercent = 100;
constexpr double kEndPercent = 2.0;
constexpr auto kPreviewWait = std::chrono::milliseconds(80);
constexpr int kLargePointSize = 18;
constexpr int kSmallPointSize = 12;
constexpr double kLowestWideOutput = 3.0;
constexpr double kLowestStandardOutput = 3.75;
constexpr double kHighestOutput = 21.75;
constexpr const char* kLost = "???        ";

}  // namespace

std::string CorrectionPanelText(int position) {
  const double value = (position - kScrollCentre) / kPositionsPerPercent;
  return (value > 0 ? "+" : "") + FormatFixed(value, 4, 2) + " ";
}

double CorrectionOfPosition(int position) {
  const double value = (position - kScrollCentre) / kPositionsPerPercent;
  if (value >= kEndPercent) return kCorrectionLimit;
  if (value <= -kEndPercent) return -kCorrectionLimit;
  return value;
}

int PositionOfCorrection(double percent) {
  const double position = RoundHalfEven(kPositionsPerPercent * percent) + kScrollCentre;
  if (!(position >= 0)) return 0;  // also a record that holds no number
  return static_cast<int>(std::min<double>(position, kScrollEnd));
}

double PreviewSignal(double corrected, double span, double zeroSaved, double gainSaved, double zero,
                     double gain) {
  const double uncorrected = (corrected - zeroSaved * 0.01 * span) / (gainSaved / 100 + 1);
  return (0.01 * gain + 1) * uncorrected + 0.01 * zero * span;
}

CorrectionsWindowLogic::CorrectionsWindowLogic(ProgramContext& context, ServiceSession& session)
    : Sleep([](std::chrono::milliseconds wait) { std::this_thread::sleep_for(wait); }),
      context_(context),
      session_(session),
      maxFail_(
          static_cast<int>(std::lround(static_cast<double>(kSilenceMs) / kRegulTimerInterval))) {
  zeroSaved_ = context.config.ZeroReg;
  gainSaved_ = context.config.GainReg;
  ZeroSChange(PositionOfCorrection(zeroSaved_));
  GainSChange(PositionOfCorrection(gainSaved_));
  SetShowIntTemp(false);
}

std::map<std::string, std::string> CorrectionsWindowLogic::Captions() const {
  return {{"Caption", context_.Tr("Input corrections")},
          {"ZeroT", context_.Tr("Zero")},
          {"GainT", context_.Tr("Gain")},
          {"OutputT", " " + context_.Tr("Output") + " "},
          {"SimulCB", context_.Tr("Simulation")},
          {"ZapiszB", context_.Tr("Write")},
          {"AllZeroB", context_.Tr("Set all to zero")},
          {"ExitB", context_.Tr("Exit")},
          {"ResetB", context_.Tr("Reset")},
          {"SetOutbutt", context_.Tr("Set")}};
}

std::map<std::string, std::string> CorrectionsWindowLogic::Hints() const {
  return {{"ZeroS", context_.Tr("Correct Zero")},
          {"GainS", context_.Tr("Correct Gain")},
          {"SimulCB", context_.Tr("Simulate corrections")},
          {"ZapiszB", context_.Tr("Write to nonvolatile memory")},
          {"AllZeroB", context_.Tr("Set corrections to zero")},
          {"ResetB", context_.Tr("Reset meter")},
          {"SetOutbutt", context_.Tr("Set the output current")},
          {"SetOut", context_.Tr("Determine output current value")}};
}

RegulControl CorrectionsWindowLogic::TakeFocus() {
  return std::exchange(focus_, RegulControl::None);
}

void CorrectionsWindowLogic::ZeroSChange(int position) {
  view_.ZeroS = position;
  view_.ZeroP = CorrectionPanelText(position);
  context_.config.ZeroReg = CorrectionOfPosition(position);
}

void CorrectionsWindowLogic::GainSChange(int position) {
  view_.GainS = position;
  view_.GainP = CorrectionPanelText(position);
  context_.config.GainReg = CorrectionOfPosition(position);
}

void CorrectionsWindowLogic::AllZeroBClick() {
  ZeroSChange(kScrollCentre);
  GainSChange(kScrollCentre);
}

void CorrectionsWindowLogic::Timer1Timer() {
  if (!TimerOn()) return;
  ticking_ = true;
  MeasurementSample sample;
  DeviceStatus status = status_;
  const bool ok = view_.SimulChecked
                      ? SimulatedReading(sample, status)
                      : Succeeded(session_.Measure(register_mode::kResult, sample, status));
  ticking_ = false;
  // The window may have closed while messages ran.
  if (closed_) return;
  Outcome(ok, sample, status);
  LetMessagesRun();
}

bool CorrectionsWindowLogic::SimulatedReading(MeasurementSample& sample, DeviceStatus& status) {
  MeasurementSample reading;
  if (!Succeeded(session_.Measure(register_mode::kCorrected, reading, status))) return false;
  const ModuleConfig& c = context_.config;
  const double signal = PreviewSignal(reading.Value, c.SignalHigh - c.SignalLow, zeroSaved_,
                                      gainSaved_, c.ZeroReg, c.GainReg);
  LetMessagesRun();
  for (int wait = 0; wait < 2; ++wait) {
    Sleep(kPreviewWait);
    LetMessagesRun();
  }
  // A value the module cannot take is no reading.
  if (closed_ || !std::isfinite(signal)) return false;
  return Succeeded(session_.Simulate(signal, sample));
}

void CorrectionsWindowLogic::Outcome(bool ok, const MeasurementSample& sample,
                                     const DeviceStatus& status) {
  if (ok) {
    status_ = status;
    ShowResult(sample.Value);
    ShowOutput(sample.Current);
    failCount_ = 0;
    resetPending_ = false;
    return;
  }
  if (failCount_ < maxFail_) {
    bool& configRead = context_.state.ConfigRead;
    if (!resetPending_ && failCount_ >= 1) configRead = false;
    if (!configRead) {
      view_.SimulChecked = false;
      view_.SimulEnabled = false;
      view_.PomiarTEnabled = false;
      SetShowIntTemp(false);
      view_.PomiarP.colour = kReadingBlack;
      view_.Outputp.colour = kReadingBlack;
    }
    view_.PomiarP.text.clear();
    view_.Outputp.text.clear();
  } else if (failCount_ == maxFail_) {
    context_.ui.Beep(BeepKind::Question);
    view_.PomiarP.text = kLost;
    view_.Outputp.text = kLost;
  }
  failCount_ = std::min(failCount_ + 1, maxFail_ + 1);
}

void CorrectionsWindowLogic::ShowResult(double value) {
  ReadingPanel& panel = view_.PomiarP;
  const int model = ModelCodeAt(status_.ModelIndex);
  if (model == kSpareModelCode) {
    panel.text.clear();
    return;
  }
  const ModuleConfig& c = context_.config;
  if (!status_.SensorFault && !status_.EepromError && !status_.CalMode && !status_.OutOfRange) {
    view_.PomiarTEnabled = true;
    view_.SimulEnabled = true;
    panel.pointSize = kLargePointSize;
    panel.centred = false;
    panel.colour = view_.SimulChecked ? kReadingTeal : showIntTemp_ ? kReadingBlue : kReadingBlack;
    if (c.Typ == kTypLoopCurrent && c.Lin <= kLinNone) {
      panel.text = FormatCurrentNumber(value) + " mA   ";
      return;
    }
    const std::string number =
        FormatResultNumber(value, context_.state.ConfigRead, c, context_.limits);
    panel.text = showIntTemp_ ? number + " \u00B0C   "
                              : ResultWithUnit(number, UnitName(status_.ResultUnit));
    return;
  }
  SetShowIntTemp(false);
  view_.PomiarTEnabled = false;
  view_.SimulEnabled = false;
  panel.pointSize = kSmallPointSize;
  panel.centred = true;
  panel.colour = kReadingBlack;
  if (status_.CalMode) {
    panel.text = "Cal mode";
  } else if (status_.EepromError) {
    panel.text = context_.TextOf("EEPROM error");
  } else if (status_.SensorFault && model != kQ5491ModelCode && c.Typ != kTypLoopCurrent) {
    panel.text = context_.TextOf("Broken sensor");
  } else {
    panel.text = context_.TextOf("Out of range!");
  }
}

void CorrectionsWindowLogic::ShowOutput(double current) {
  double value = current;
  if (view_.SimulChecked) {
    const double lowest = status_.CurrentFormat ? kLowestWideOutput : kLowestStandardOutput;
    value = std::clamp(value, lowest, kHighestOutput);
  }
  const bool forced = status_.IndependentOutput;
  view_.Outputp.text = FormatCurrentNumber(value) + (forced ? " mA  !" : " mA   ");
  view_.Outputp.colour = forced ? kReadingRed : view_.SimulChecked ? kReadingTeal : kReadingBlack;
}

void CorrectionsWindowLogic::PomiarTClick() {
  // Only the models of group B report their internal temperature.
  if (GroupOfModelCode(ModelCodeAt(status_.ModelIndex)) != ModelGroup::B) {
    SetShowIntTemp(false);
    return;
  }
  SetShowIntTemp(!showIntTemp_);
  if (showIntTemp_) view_.SimulChecked = false;
  view_.PomiarP.text.clear();
}

void CorrectionsWindowLogic::SimulCBClick(bool checked) {
  view_.SimulChecked = checked;
  if (checked && showIntTemp_) SetShowIntTemp(false);
  focus_ = checked ? RegulControl::ZeroS : RegulControl::ExitB;
}

void CorrectionsWindowLogic::ZapiszBClick() {
  ModuleConfig& c = context_.config;
  if (!Succeeded(session_.StoreCorrections(c.ZeroReg, c.GainReg))) {
    context_.ShowMessage(context_.Tr("Command failed", "!"), MessageIcon::Error);
    return;
  }
  view_.SimulChecked = false;
  SetShowIntTemp(false);
  zeroSaved_ = c.ZeroReg;
  gainSaved_ = c.GainReg;
  MeasurementSample discarded;
  DeviceStatus status = status_;
  session_.Measure(register_mode::kResult, discarded, status);
  written_ = true;
  focus_ = RegulControl::ExitB;
}

void CorrectionsWindowLogic::ResetBClick() {
  if (!Succeeded(session_.Restart())) return;
  view_.SimulChecked = false;
  view_.SimulEnabled = false;
  SetShowIntTemp(false);
  view_.PomiarTEnabled = false;
  resetPending_ = true;
  MeasurementSample discarded;
  DeviceStatus status = status_;
  session_.Measure(register_mode::kResult, discarded, status);
}

void CorrectionsWindowLogic::SetOutbuttClick(const std::string& text) {
  const OutputEntry entry =
      TakeOutputEntry(context_, session_, text, status_.CurrentFormat, OutputLimits::Corrections,
                      context_.Tr("Wrong format", "!"), MessageIcon::Error);
  view_.SetOut = entry.shown;
  outputEntryWrong_ = entry.kind != OutputEntryKind::Accepted;
}

void CorrectionsWindowLogic::Close() {
  // The record keeps what the module holds, whether or not anything was
  // written and whatever the scroll bars showed after the last write.
  context_.config.ZeroReg = zeroSaved_;
  context_.config.GainReg = gainSaved_;
  closed_ = true;
}

void CorrectionsWindowLogic::SetShowIntTemp(bool on) {
  showIntTemp_ = on;
  view_.PomiarT = " " + context_.Tr(on ? "Int. temp." : "Result") + " ";
}

void CorrectionsWindowLogic::LetMessagesRun() { context_.ui.ProcessEvents(); }

}  // namespace q5480
