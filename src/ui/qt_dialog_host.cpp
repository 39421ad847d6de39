#include "ui/qt_dialog_host.h"

#include "ui/meter_type_dialog.h"

namespace q5480 {

bool QtDialogHost::MeterType() { return TypSelect(context_, parent_); }

}  // namespace q5480
