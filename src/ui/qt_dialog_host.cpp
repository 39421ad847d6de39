#include "ui/qt_dialog_host.h"

#include "ui/ttransdf.h"

namespace q5480 {

bool QtDialogHost::MeterType() { return TypSelect(context_, parent_); }

}  // namespace q5480
