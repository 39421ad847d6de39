// The input signal window of the 4 to 20 mA input (LoopCurrentDialog).
#pragma once

#include <QComboBox>
#include <QLabel>
#include <QRadioButton>

#include "ui/selection_dialog.h"
#include "workflow/loop_current_window.h"

namespace q5480 {

class LoopCurrentDialog : public SelectionDialog {
  Q_OBJECT
 public:
  LoopCurrentDialog(ProgramContext& context, DialogHost& host, QWidget* parent);

  QRadioButton* SingleR;
  QRadioButton* DoubleR;
  // None, power series, linear, table.
  selection_ui::ConversionButtons ConversionR;
  selection_ui::RangeLabelWidgets RangeL;
  QLabel* KropkaT;
  QComboBox* KropkaE;

 private:
  void ShowState() override;

  LoopCurrentWindowLogic logic_;
};

}  // namespace q5480
