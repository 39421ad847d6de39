// The input signal window of the millivolt and resistance inputs (ResistanceVoltageDialog).
#pragma once

#include <QCheckBox>
#include <array>

#include "ui/two_page_input_dialog.h"
#include "workflow/resistance_voltage_window.h"

namespace q5480 {

class ResistanceVoltageDialog : public TwoPageInputDialog {
  Q_OBJECT
 public:
  ResistanceVoltageDialog(ProgramContext& context, DialogHost& host, QWidget* parent);

  selection_ui::WireButtons WireR;  // by `Tryb`: 2 to 4
  // By page: voltage, resistance.
  std::array<QCheckBox*, 2> TableC;
  std::array<QCheckBox*, 2> LinearC;

 private:
  void AddChoices(const selection_ui::Texts& texts, int page, const std::string& prefix,
                  QWidget* pageWidget, QHBoxLayout* choices) override;
  void ShowState() override;

  ResistanceVoltageWindowLogic logic_;
};

}  // namespace q5480
