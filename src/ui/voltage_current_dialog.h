// The input signal window of the ±11 V and ±22 mA inputs (TWyborIV).
#pragma once

#include "ui/sensor_dialog.h"
#include "workflow/voltage_current_window.h"

namespace q5480 {

class TWyborIV : public QDialog {
  Q_OBJECT
 public:
  TWyborIV(ProgramContext& context, DialogHost& host, QWidget* parent);

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

  TWyborIVLogic logic_;
  SelectionOutcome outcome_ = SelectionOutcome::Cancel;
};

}  // namespace q5480
