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

#include "ui/tlinaf.h"
#include "workflow/power_series_window.h"

namespace q5480 {

class TPowerF : public QDialog {
  Q_OBJECT
 public:
  TPowerF(ProgramContext& context, QWidget* parent);

  TPowerFLogic& Logic() { return logic_; }

  QLabel* FormulaT;
  std::array<QLabel*, kCoefficientFields> CoefficientT;
  std::array<QLineEdit*, kCoefficientFields> CoefficientE;  // AE to JE
  QGroupBox* InputG;
  QLabel* InMinT;
  QLineEdit* InMinE;
  QLabel* InMinUnitT;
  QLabel* InMaxT;
  QLineEdit* InMaxE;
  QLabel* InMaxUnitT;
  QGroupBox* ResultG;
  QLabel* ResMinT;
  QLineEdit* ResMinE;  // read-only: the range a check found
  QLabel* ResMaxT;
  QLineEdit* ResMaxE;
  QLabel* JednostkiT;
  QComboBox* JednostkiE;
  QPushButton* OKB;  // "Check" until the series passed
  QPushButton* CancelB;

 public slots:
  void OKBClick();
  // Cancel, Esc or the close box: the coefficients as they were.
  void reject() override;

 private:
  void ShowLogic();

  TPowerFLogic logic_;
  FieldExits exits_;
};

}  // namespace q5480
