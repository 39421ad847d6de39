// The external cold junction's temperature window.
#pragma once

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "ui/linear_dialog.h"
#include "workflow/room_temperature_window.h"

namespace q5480 {

class RoomTemperatureDialog : public LogicDialog<RoomTemperatureWindowLogic> {
  Q_OBJECT
 public:
  RoomTemperatureDialog(ProgramContext& context, QWidget* parent);

  QLabel* PromptT;
  QLineEdit* RoomTE;
  QPushButton* OKB;

 public slots:
  void OKBClick();
  void done(int result) override;

 private:
  void ShowLogic();

  FieldExits exits_;
};

}  // namespace q5480
