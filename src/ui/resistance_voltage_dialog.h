// The input signal window of the millivolt and resistance inputs (ResistanceVoltageDialog).
#pragma once

#include <QCheckBox>
#include <array>

#include "ui/selection_dialog.h"
#include "workflow/resistance_voltage_window.h"

namespace q5480 {

class ResistanceVoltageDialog : public SelectionDialog {
  Q_OBJECT
 public:
  ResistanceVoltageDialog(ProgramContext& context, DialogHost& host, QWidget* parent);

  selection_ui::WireButtons WireR;  // by `Tryb`: 2 to 4
  // By page: voltage, resistance.
  std::array<QCheckBox*, 2> TableC;
  std::array<QCheckBox*, 2> LinearC;
  std::array<selection_ui::RangeLabelWidgets, 2> RangeL;

 private:
  QWidget* Page(const selection_ui::Texts& texts, int page);
  void ShowState() override;

  ResistanceVoltageWindowLogic logic_;
};

}  // namespace q5480
