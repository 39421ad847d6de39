// The conversion windows and the external cold junction's temperature.
#include "ui/linear_dialog.h"
#include "ui/power_series_dialog.h"
#include "ui/qt_dialog_host.h"
#include "ui/room_temperature_dialog.h"
#include "ui/table_dialog.h"

namespace q5480 {
namespace {

template <typename Window>
bool RunWindow(ProgramContext& context, QWidget* parent) {
  Window window(context, parent);
  return window.exec() == QDialog::Accepted;
}

}  // namespace

bool QtDialogHost::Table() { return RunWindow<TableDialog>(context_, parent_); }
bool QtDialogHost::PowerSeries() { return RunWindow<PowerSeriesDialog>(context_, parent_); }
bool QtDialogHost::Linear() { return RunWindow<LinearDialog>(context_, parent_); }
bool QtDialogHost::RoomTemperature() { return RunWindow<RoomTemperatureDialog>(context_, parent_); }

}  // namespace q5480
