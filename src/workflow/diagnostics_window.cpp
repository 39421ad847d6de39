#include "workflow/diagnostics_window.h"

#include <algorithm>
#include <cmath>
#include <thread>
#include <utility>

#include "workflow/output_entry.h"

namespace q5480 {
namespace {

constexpr int kSilenceMs = 6000;
constexpr const char* kLost = "???        ";

}  // namespace

DiagnosticsWindowLogic::DiagnosticsWindowLogic(ProgramContext& context, ServiceSession& session)
    : Repaint([] {}),
      Sleep([](std::chrono::milliseconds wait) { std::this_thread::sleep_for(wait); }),
      context_(context),
      session_(session),
      maxFail_(
          static_cast<int>(std::lround(static_cast<double>(kSilenceMs) / kDiagnTimerInterval))) {
  // Failed commands other than the readings are not reported.
  session_.EnterServiceMode();
  view_.labels = RegisterLabelsFor(context.config);
  registerMode_ = RegisterModeOf(kMeasRegister);
  polling_ = true;
  focus_ = DiagnControl::Rejestry;
}

DiagnControl DiagnosticsWindowLogic::TakeFocus() {
  return std::exchange(focus_, DiagnControl::None);
}

void DiagnosticsWindowLogic::Timer1Timer() {
  if (!polling_) return;
  MeasurementSample sample;
  const bool ok = Succeeded(session_.Measure(registerMode_, sample, status_));
  if (ok) {
    view_.panels[view_.selected] = RegisterText(view_.selected, sample.Value, status_.ResultUnit);
    view_.Outputp = DiagnosticOutputText(sample.Current);
    view_.OutputTeal = status_.IndependentOutput;
    view_.StatusL = StatusLines(status_, context_.config);
    failCount_ = 0;
    return;
  }
  if (failCount_ < maxFail_) {
    ClearPanels();
    view_.StatusL.clear();
  } else if (failCount_ == maxFail_) {
    context_.ui.Beep(BeepKind::Question);
    view_.panels.fill(kLost);
    view_.Outputp = kLost;
  }
  failCount_ = std::min(failCount_ + 1, maxFail_ + 1);
}

void DiagnosticsWindowLogic::RejestryClick(std::size_t index) {
  if (!polling_ || index >= kRegisterCount) return;
  polling_ = false;
  session_.EnterServiceMode();
  view_.selected = index;
  registerMode_ = RegisterModeOf(index);
  polling_ = true;
}

void DiagnosticsWindowLogic::ResetbClick() {
  if (!polling_) return;
  polling_ = false;
  ClearPanels();
  view_.StatusL = "Resetting...";
  Repaint();
  session_.RestartIntoServiceMode();
  MeasurementSample discarded;
  DeviceStatus status = status_;
  session_.Measure(RegisterModeOf(kMeasRegister), discarded, status);
  view_.StatusL.clear();
  Repaint();
  view_.selected = kMeasRegister;
  registerMode_ = RegisterModeOf(kMeasRegister);
  focus_ = DiagnControl::Rejestry;
  polling_ = true;
}

void DiagnosticsWindowLogic::SetOutbuttClick(const std::string& text) {
  const OutputEntry entry =
      TakeOutputEntry(context_, session_, text, status_.CurrentFormat, OutputLimits::Preset,
                      "Wrong format!", MessageIcon::Warning);
  view_.SetOut = entry.shown;
  outputEntryWrong_ = entry.kind != OutputEntryKind::Accepted;
}

void DiagnosticsWindowLogic::Close() {
  if (closed_) return;
  closed_ = true;
  polling_ = false;
  // One timer interval passes before the restart, as the maker's window has it.
  Sleep(std::chrono::milliseconds(kDiagnTimerInterval));
  session_.Restart();
}

void DiagnosticsWindowLogic::ClearPanels() {
  for (std::string& panel : view_.panels) panel.clear();
  view_.Outputp.clear();
}

}  // namespace q5480
