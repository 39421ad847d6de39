// The conversion windows and the external cold junction's temperature.
#include "ui/qt_dialog_host.h"

namespace q5480 {

bool QtDialogHost::Table() { return false; }
bool QtDialogHost::PowerSeries() { return false; }
bool QtDialogHost::Linear() { return false; }
bool QtDialogHost::RoomTemperature() { return false; }

}  // namespace q5480
