// The external cold junction's temperature window.
#pragma once

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "ui/linear_dialog.h"
#include "workflow/room_temperature_window.h"

namespace q5480 {

class RoomTemperatureDialog : public QDialog {
  Q_OBJECT
 public:
  RoomTemperatureDialog(ProgramContext& context, QWidget* parent);

  RoomTemperatureWindowLogic& Logic() { return logic_; }

  QLabel* PromptT;
  QLineEdit* RoomTE;
  QPushButton* OKB;

 public slots:
  void OKBClick();
  void done(int result) override;

 private:
  void ShowLogic();

  RoomTemperatureWindowLogic logic_;
  FieldExits exits_;
};

}  // namespace q5480
