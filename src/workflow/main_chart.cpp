// The chart view's commands on the main window: switching it on and off,
// and the save-as item that keeps its results while it is shown.
#include "workflow/main_window.h"

namespace q5480 {

void MainWindowLogic::AttachChart(ChartControl& chart) {
  chart_ = std::make_unique<ChartView>(context_, chart, [this] {
    // The filter limits need the configuration of the module.
    OdczytajTClick();
    return context_.state.ConfigRead;
  });
  samples_.Add([this](const MeasurementSample& sample, const DeviceStatus& status) {
    if (context_.state.ChartShown) chart_->PlotSample(sample.Value, sample.Current, status);
  });
}

void MainWindowLogic::Wykres1Click() {
  ConnectionState& state = context_.state;
  if (state.InTransfer || !chart_) return;
  if (!state.ChartShown) {
    if (state.MonitorOnly) MonOnly1Click();
    state.ChartShown = true;
    chart_->Enter();
  } else {
    state.ChartShown = false;
    chart_->Leave();
  }
  UpdateCommandStates();
}

void MainWindowLogic::Zapiszjako1Click() {
  if (context_.state.ChartShown && chart_) {
    chart_->KeepResultsClick();
  } else {
    files_.Zapiszjako1Click();
  }
}

std::string MainWindowLogic::SaveAsCaption() const {
  if (context_.state.ChartShown && chart_) return chart_->KeepResultsCaption();
  return context_.Tr("Save as", "...");
}

}  // namespace q5480
