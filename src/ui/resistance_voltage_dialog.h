// The input signal window of the millivolt and resistance inputs (ResistanceVoltageDialog).
#pragma once

#include "ui/sensor_dialog.h"
#include "workflow/resistance_voltage_window.h"

namespace q5480 {

class ResistanceVoltageDialog : public QDialog {
  Q_OBJECT
 public:
  ResistanceVoltageDialog(ProgramContext& context, DialogHost& host, QWidget* parent);

  SelectionOutcome Outcome() const { return outcome_; }

  QTabWidget* PageControl;
  std::map<int, QRadioButton*> WireR;  // by `Tryb`: 2 to 4
  // By page: voltage, resistance.
  std::array<QCheckBox*, 2> TableC;
  std::array<QCheckBox*, 2> LinearC;
  std::array<selection_ui::RangeLabelWidgets, 2> RangeL;
  QPushButton* OKB;
  QPushButton* MoreB;
  QPushButton* CancelB;

 public slots:
  void OKBClick();
  void MoreBClick();
  // Cancel, Esc or the close box.
  void reject() override;

 private:
  QWidget* Page(const selection_ui::Texts& texts, int page);
  void ShowState();

  ResistanceVoltageWindowLogic logic_;
  SelectionOutcome outcome_ = SelectionOutcome::Cancel;
};

}  // namespace q5480
