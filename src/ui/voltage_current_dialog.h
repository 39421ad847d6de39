// The input signal window of the ±11 V and ±22 mA inputs (VoltageCurrentDialog).
#pragma once

#include "ui/sensor_dialog.h"
#include "workflow/voltage_current_window.h"

namespace q5480 {

class VoltageCurrentDialog : public QDialog {
  Q_OBJECT
 public:
  VoltageCurrentDialog(ProgramContext& context, DialogHost& host, QWidget* parent);

  SelectionOutcome Outcome() const { return outcome_; }

  QTabWidget* PageControl;
  QRadioButton* SingleR;
  QRadioButton* DoubleR;
  // By page (voltage, current), then by conversion: none, power series,
  // linear, table.
  std::array<std::array<QRadioButton*, kConversionCount>, 2> ConversionR;
  std::array<selection_ui::RangeLabelWidgets, 2> RangeL;
  QPushButton* OKB;
  QPushButton* CancelB;

 public slots:
  void OKBClick();
  // Cancel, Esc or the close box.
  void reject() override;

 private:
  QWidget* Page(const selection_ui::Texts& texts, int page);
  void ShowState();

  VoltageCurrentWindowLogic logic_;
  SelectionOutcome outcome_ = SelectionOutcome::Cancel;
};

}  // namespace q5480
