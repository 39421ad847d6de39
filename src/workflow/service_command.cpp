#include "workflow/service_command.h"

namespace q5480 {

PasswordVerdict CheckServicePassword(const std::optional<std::string>& typed,
                                     const std::string& password) {
  if (!typed) return PasswordVerdict::Refused;
  if (*typed == kDiagnosticsAccessCode) return PasswordVerdict::Diagnostics;
  return *typed == password ? PasswordVerdict::Corrections : PasswordVerdict::Refused;
}

bool Regulacja1Click(MainWindowLogic& window, const ServiceWindows& windows) {
  ProgramContext& context = window.Context();
  ConnectionState& state = context.state;
  if (state.InTransfer) return false;
  if (!state.Connected) {
    context.ShowMessage(context.Tr("Panel meter has to be connected!"), MessageIcon::Information);
    return false;
  }
  if (window.Status().EepromError) {
    context.ShowMessage(context.Tr("EEPROM error", "!"), MessageIcon::Error);
    return false;
  }
  const PasswordVerdict verdict = CheckServicePassword(windows.password(), context.settings.Pass);
  if (verdict == PasswordVerdict::Refused) return false;
  if (!state.ConfigRead && (!window.OdczytajTClick() || !state.ConfigRead)) return false;

  ServiceSession session(context.service);
  if (!session.Active()) return false;
  {
    TimerPause pause(state);
    context.display.Clear();
    if (verdict == PasswordVerdict::Diagnostics) {
      windows.diagnostics(session);
    } else {
      windows.corrections(session);
    }
  }
  window.Panel().ShowCorrections();
  window.UpdateCommandStates();
  return true;
}

}  // namespace q5480
