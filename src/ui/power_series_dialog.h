// The power series window: nine coefficients and the signal range, checked
// before they can be confirmed.
#pragma once

#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <array>

#include "ui/linear_dialog.h"
#include "workflow/power_series_window.h"

namespace q5480 {

class PowerSeriesDialog : public LogicDialog<PowerSeriesWindowLogic>, public RangeGroups {
  Q_OBJECT
 public:
  PowerSeriesDialog(ProgramContext& context, QWidget* parent);

  QLabel* FormulaT;
  std::array<QLabel*, kCoefficientFields> CoefficientT;
  std::array<QLineEdit*, kCoefficientFields> CoefficientE;  // AE to JE
  QPushButton* OKB;                                         // "Check" until the series passed
  QPushButton* CancelB;

 public slots:
  void OKBClick();
  // Cancel, Esc or the close box: the coefficients as they were.
  void reject() override;

 private:
  void ShowLogic();

  FieldExits exits_;
};

}  // namespace q5480
