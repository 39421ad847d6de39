// The corrections window: the zero and gain scroll bars with their values,
// the reading and output panels, the preview, Write, Reset and the output
// current. Every event goes to the window logic; the window paints its view.
#pragma once

#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>

#include "workflow/corrections_window.h"

namespace q5480 {

class CorrectionsDialog : public QDialog {
  Q_OBJECT
 public:
  CorrectionsDialog(ProgramContext& context, ServiceSession& session, QWidget* parent);

  CorrectionsWindowLogic& Logic() { return logic_; }

  QPushButton* PomiarT;  // the caption over PomiarP; a click shows the internal temperature
  QLabel* PomiarP;
  QLabel* OutputT;
  QLabel* Outputp;
  QLabel* ZeroT;
  QScrollBar* ZeroS;
  QLabel* ZeroP;
  QLabel* GainT;
  QScrollBar* GainS;
  QLabel* GainP;
  QCheckBox* SimulCB;
  QPushButton* ZapiszB;
  QPushButton* AllZeroB;
  QPushButton* ResetB;
  QLineEdit* SetOut;
  QPushButton* SetOutbutt;
  QPushButton* ExitB;
  QTimer* Timer1;

  // Paints what the logic holds.
  void Paint();

 public slots:
  void done(int result) override;

 private:
  QWidget* BuildReadings();
  QWidget* BuildCorrections();
  QWidget* BuildButtons();
  void Connect();
  void ApplyFocus();

  CorrectionsWindowLogic logic_;
};

}  // namespace q5480
