// The main window's commands that show the configuration elsewhere: on the
// printed page and in the simulation window.
#include "workflow/main_window.h"
#include "workflow/simulation_window.h"

namespace q5480 {

bool MainWindowLogic::Drukuj1Click(const std::function<bool()>& printDialog,
                                   const std::function<bool(const PrintedReport&)>& print) {
  if (context_.state.InTransfer) return false;
  return panel_.RunCommand([&] {
    if (!panel_.CheckParam(false, false)) return false;
    // A configuration that cannot be reported is told before a printer is chosen.
    const PrintedReport report =
        ComposePrintedReport(context_.config, context_.limits, context_.conversion,
                             context_.language, context_.settings.Language, Today());
    TimerPause pause(context_.state);
    if (!printDialog()) return false;
    if (print(report)) return true;
    // The printing service refused the job: nothing came out.
    context_.ShowMessage(context_.TextOf("Printing failed") + "!", MessageIcon::Error);
    return false;
  });
}

void MainWindowLogic::PrintSetup1Click(const std::function<void()>& setupDialog) {
  if (context_.state.InTransfer) return;
  TimerPause pause(context_.state);
  setupDialog();
}

bool MainWindowLogic::Symulacja1Click(const std::function<void(SimulationWindowLogic&)>& window) {
  const std::unique_ptr<SimulationWindowLogic> simulation =
      SimulationWindowLogic::Open(context_, panel_);
  if (!simulation) return false;
  window(*simulation);
  return true;
}

}  // namespace q5480
