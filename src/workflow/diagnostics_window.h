// The diagnostics window (DiagnosticsDialog) without its widgets: the module in
// service mode, one register read live, the output current, the status in
// words and the configuration's summary; the reset back into service mode
// and the preset output. The window drives Timer1Timer every
// kDiagnTimerInterval.
#pragma once

#include <chrono>
#include <functional>
#include <string>

#include "service/diagnostics_texts.h"
#include "service/service_session.h"
#include "workflow/program_context.h"

namespace q5480 {

inline constexpr int kDiagnTimerInterval = 300;  // ms

enum class DiagnControl { None, Rejestry };

struct DiagnView {
  RegisterLabels labels = FormRegisterLabels();
  std::array<std::string, kRegisterCount> panels;  // IinpuP ... AverP
  std::size_t selected = kMeasRegister;
  std::string Outputp;
  bool OutputTeal = false;  // the output is forced
  std::string StatusL;
  std::string SetOut = "12.000";
};

class DiagnosticsWindowLogic {
 public:
  // The window's start: service mode, the labels of the model, polling on.
  DiagnosticsWindowLogic(ProgramContext& context, ServiceSession& session);

  const DiagnView& View() const { return view_; }
  // Rebuilt whenever the window paints.
  std::string SensorL() const { return ParametersSummary(context_.config); }
  bool Polling() const { return polling_; }
  std::uint8_t RegisterMode() const { return registerMode_; }
  bool OutputEntryWrong() const { return outputEntryWrong_; }
  DiagnControl TakeFocus();

  void Timer1Timer();
  // A register chosen in Rejestry; only while polling.
  void RejestryClick(std::size_t index);
  // The module restarted and brought back into service mode.
  void ResetbClick();
  // "Preset" or Enter in SetOut with the text typed there.
  void SetOutbuttClick(const std::string& text);
  // Polling ends and a restart takes the module out of service mode.
  void Close();

  // Paints the window while the reset waits for the module.
  std::function<void()> Repaint;
  // The closing wait of one timer interval; tests make it instant.
  std::function<void(std::chrono::milliseconds)> Sleep;

 private:
  void ClearPanels();

  ProgramContext& context_;
  ServiceSession& session_;
  DiagnView view_;
  DeviceStatus status_;
  bool polling_ = false;
  bool closed_ = false;
  std::uint8_t registerMode_ = 0;
  bool outputEntryWrong_ = false;
  int failCount_ = 0;
  const int maxFail_;
  DiagnControl focus_ = DiagnControl::None;
};

}  // namespace q5480
