// The input signal window of the ±11 V and ±22 mA inputs (VoltageCurrentDialog).
#pragma once

#include <QRadioButton>
#include <array>

#include "ui/two_page_input_dialog.h"
#include "workflow/voltage_current_window.h"

namespace q5480 {

class VoltageCurrentDialog : public TwoPageInputDialog {
  Q_OBJECT
 public:
  VoltageCurrentDialog(ProgramContext& context, DialogHost& host, QWidget* parent);

  QRadioButton* SingleR;
  QRadioButton* DoubleR;
  // By page (voltage, current), then by conversion: none, power series,
  // linear, table.
  std::array<selection_ui::ConversionButtons, 2> ConversionR;

 private:
  void AddChoices(const selection_ui::Texts& texts, int page, const std::string& prefix,
                  QWidget* pageWidget, QHBoxLayout* choices) override;
  void ShowState() override;

  VoltageCurrentWindowLogic logic_;
};

}  // namespace q5480
