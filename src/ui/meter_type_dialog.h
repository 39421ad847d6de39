// The meter type window: the models the program knows, by display name.
#pragma once

#include <QDialog>
#include <QListWidget>

#include "workflow/meter_type_window.h"

namespace q5480 {

class MeterTypeDialog : public QDialog {
  Q_OBJECT
 public:
  MeterTypeDialog(ProgramContext& context, QWidget* parent);

  QListWidget* TypeList;

 public slots:
  void OKClick();
  // Cancel, Esc or the close box: nothing chosen.
  void reject() override;

 private:
  MeterTypeWindowLogic logic_;
};

// Runs the meter type window; true when a model that can be configured was
// chosen.
bool TypSelect(ProgramContext& context, QWidget* parent);

}  // namespace q5480
