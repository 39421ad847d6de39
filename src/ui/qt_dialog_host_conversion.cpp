// The conversion windows and the external cold junction's temperature.
#include "ui/qt_dialog_host.h"

#include "ui/tlinaf.h"
#include "ui/tpowerf.h"
#include "ui/troomf.h"
#include "ui/ttablf.h"

namespace q5480 {
namespace {

template <typename Window>
bool RunWindow(ProgramContext& context, QWidget* parent) {
  Window window(context, parent);
  return window.exec() == QDialog::Accepted;
}

}  // namespace

bool QtDialogHost::Table() { return RunWindow<TTablF>(context_, parent_); }
bool QtDialogHost::PowerSeries() { return RunWindow<TPowerF>(context_, parent_); }
bool QtDialogHost::Linear() { return RunWindow<TLinaF>(context_, parent_); }
bool QtDialogHost::RoomTemperature() { return RunWindow<TRoomF>(context_, parent_); }

}  // namespace q5480
