// The sensor selection window (SensorDialog).
#pragma once

#include <QCheckBox>
#include <QRadioButton>
#include <map>

#include "ui/selection_dialog.h"
#include "workflow/sensor_window.h"

namespace q5480 {

class SensorDialog : public SelectionDialog {
  Q_OBJECT
 public:
  SensorDialog(ProgramContext& context, DialogHost& host, QWidget* parent);

  std::map<int, QRadioButton*> TypR;  // by `Typ`: 1 to 4, 6 to 15
  selection_ui::WireButtons WireR;    // by `Tryb`: 2 to 4
  QCheckBox* RtdLinC;
  QCheckBox* TermoLinC;
  QCheckBox* TempDiffC;
  QCheckBox* CompensationC;

 private:
  QWidget* RtdPage(const selection_ui::Texts& texts);
  QWidget* TermoPage(const selection_ui::Texts& texts);
  void ShowState() override;

  SensorWindowLogic logic_;
};

}  // namespace q5480
