// The modal windows that the window logic opens from another window, shown
// as the program's Qt windows over the program context.
#pragma once

#include <QWidget>

#include "workflow/dialog_host.h"
#include "workflow/program_context.h"

namespace q5480 {

class QtDialogHost : public DialogHost {
 public:
  QtDialogHost(ProgramContext& context, QWidget* parent) : context_(context), parent_(parent) {}

  bool MeterType() override;
  SelectionOutcome Sensor() override;
  SelectionOutcome ResistanceVoltage() override;
  SelectionOutcome VoltageCurrent() override;
  SelectionOutcome LoopCurrent() override;
  bool Table() override;
  bool PowerSeries() override;
  bool Linear() override;
  bool RoomTemperature() override;

 private:
  ProgramContext& context_;
  QWidget* parent_;
};

}  // namespace q5480
