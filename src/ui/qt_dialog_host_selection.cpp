// The selection windows of the sensor button.
#include "ui/loop_current_dialog.h"
#include "ui/qt_dialog_host.h"
#include "ui/resistance_voltage_dialog.h"
#include "ui/sensor_dialog.h"
#include "ui/voltage_current_dialog.h"

namespace q5480 {
namespace {

template <typename Window>
SelectionOutcome Run(ProgramContext& context, DialogHost& host, QWidget* parent) {
  Window window(context, host, parent);
  window.exec();
  return window.Outcome();
}

}  // namespace

SelectionOutcome QtDialogHost::Sensor() { return Run<SensorDialog>(context_, *this, parent_); }
SelectionOutcome QtDialogHost::ResistanceVoltage() {
  return Run<ResistanceVoltageDialog>(context_, *this, parent_);
}
SelectionOutcome QtDialogHost::VoltageCurrent() {
  return Run<VoltageCurrentDialog>(context_, *this, parent_);
}
SelectionOutcome QtDialogHost::LoopCurrent() {
  return Run<LoopCurrentDialog>(context_, *this, parent_);
}

}  // namespace q5480
