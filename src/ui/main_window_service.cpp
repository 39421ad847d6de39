// The main window's corrections command: the password window, then the
// corrections or the diagnostics window, modal over the main window.
#include "ui/corrections_dialog.h"
#include "ui/diagnostics_dialog.h"
#include "ui/main_window.h"
#include "ui/message_window.h"
#include "workflow/service_command.h"

namespace q5480 {

void MainWindow::Regulacja1Click() {
  StorePosition();
  ProgramContext& context = logic_.Context();
  ServiceWindows windows;
  windows.password = [this, &context] {
    return MessageWindow::AskPassword(context.language, this);
  };
  windows.corrections = [this, &context](ServiceSession& session) {
    Refresh();  // the emptied displays
    CorrectionsDialog window(context, session, this);
    window.exec();
  };
  windows.diagnostics = [this, &context](ServiceSession& session) {
    Refresh();
    DiagnosticsDialog window(context, session, this);
    window.exec();
  };
  q5480::Regulacja1Click(logic_, windows);
  Refresh();
}

}  // namespace q5480
