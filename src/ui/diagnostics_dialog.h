// The diagnostics window: the register list with a panel for each, the
// output current, the status in words, the configuration's summary, Reset
// and the preset output, and the register editor, which carries no action.
// Every event goes to the window logic; the window paints its view.
#pragma once

#include <QButtonGroup>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTimer>
#include <array>

#include "workflow/diagnostics_window.h"

namespace q5480 {

class DiagnosticsDialog : public QDialog {
  Q_OBJECT
 public:
  DiagnosticsDialog(ProgramContext& context, ServiceSession& session, QWidget* parent);

  DiagnosticsWindowLogic& Logic() { return logic_; }

  QGroupBox* Rejestry;
  QButtonGroup* RejestryItems;
  std::array<QRadioButton*, kRegisterCount> Items;
  // IinpuP, RinpuP, Tinpup, XinpuP, PomiarP, WynikP, WnormP, AverP.
  std::array<QLabel*, kRegisterCount> Panels;
  QLabel* Outputp;
  QGroupBox* StatusGB;
  QLabel* StatusL;
  QGroupBox* SensorGB;
  QLabel* SensorL;
  QPushButton* Resetb;
  QPushButton* SetOutbutt;
  QLineEdit* SetOut;
  // The register editor.
  QRadioButton* EepromRB;
  QRadioButton* FlashRB;
  QLineEdit* EEadr;
  QSpinBox* EEadrUD;
  QLineEdit* MessTxt;
  QPushButton* ReadEEB;
  QPushButton* EEwriteB;
  QTimer* Timer1;

  // Paints what the logic holds.
  void Paint();

 public slots:
  void done(int result) override;

 private:
  QWidget* BuildRegisters();
  QWidget* BuildOutput();
  QWidget* BuildEditor();
  void Connect();
  void ApplyFocus();

  DiagnosticsWindowLogic logic_;
};

}  // namespace q5480
