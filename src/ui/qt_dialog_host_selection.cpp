// The selection windows of the sensor button.
#include "ui/qt_dialog_host.h"

namespace q5480 {

SelectionOutcome QtDialogHost::Sensor() { return SelectionOutcome::Cancel; }
SelectionOutcome QtDialogHost::ResistanceVoltage() { return SelectionOutcome::Cancel; }
SelectionOutcome QtDialogHost::VoltageCurrent() { return SelectionOutcome::Cancel; }
SelectionOutcome QtDialogHost::LoopCurrent() { return SelectionOutcome::Cancel; }

}  // namespace q5480
