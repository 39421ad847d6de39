// The input signal window of the 4 to 20 mA input (LoopCurrentDialog).
#pragma once

#include <QComboBox>

#include "ui/sensor_dialog.h"
#include "workflow/loop_current_window.h"

namespace q5480 {

class LoopCurrentDialog : public QDialog {
  Q_OBJECT
 public:
  LoopCurrentDialog(ProgramContext& context, DialogHost& host, QWidget* parent);

  SelectionOutcome Outcome() const { return outcome_; }

  QRadioButton* SingleR;
  QRadioButton* DoubleR;
  // None, power series, linear, table.
  std::array<QRadioButton*, kConversionCount> ConversionR;
  selection_ui::RangeLabelWidgets RangeL;
  QLabel* KropkaT;
  QComboBox* KropkaE;
  QPushButton* OKB;
  QPushButton* CancelB;

 public slots:
  void OKBClick();
  // Cancel, Esc or the close box.
  void reject() override;

 private:
  void ShowState();

  LoopCurrentWindowLogic logic_;
  SelectionOutcome outcome_ = SelectionOutcome::Cancel;
};

}  // namespace q5480
