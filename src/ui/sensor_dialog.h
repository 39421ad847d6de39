// The sensor selection window (SensorDialog).
#pragma once

#include <QAbstractButton>
#include <QCheckBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <array>
#include <map>
#include <string>

#include "ui/selection_widgets.h"
#include "workflow/sensor_window.h"

namespace q5480 {


class SensorDialog : public QDialog {
  Q_OBJECT
 public:
  SensorDialog(ProgramContext& context, DialogHost& host, QWidget* parent);

  SelectionOutcome Outcome() const { return outcome_; }

  QTabWidget* PageControl;
  std::map<int, QRadioButton*> TypR;   // by `Typ`: 1 to 4, 6 to 15
  std::map<int, QRadioButton*> WireR;  // by `Tryb`: 2 to 4
  QCheckBox* RtdLinC;
  QCheckBox* TermoLinC;
  QCheckBox* TempDiffC;
  QCheckBox* CompensationC;
  QPushButton* OKB;
  QPushButton* MoreB;
  QPushButton* CancelB;

 public slots:
  void OKBClick();
  void MoreBClick();
  // Cancel, Esc or the close box.
  void reject() override;

 private:
  QWidget* RtdPage(const selection_ui::Texts& texts);
  QWidget* TermoPage(const selection_ui::Texts& texts);
  // Paints what the logic holds.
  void ShowState();

  SensorWindowLogic logic_;
  SelectionOutcome outcome_ = SelectionOutcome::Cancel;
};

}  // namespace q5480
