// The port selection window: the serial ports, the priority option and the
// switch to another port.
#pragma once

#include <QCheckBox>
#include <QDialog>
#include <QFrame>
#include <QLabel>
#include <QListWidget>

#include "workflow/port_window.h"

namespace q5480 {

class PortDialog : public QDialog {
  Q_OBJECT
 public:
  PortDialog(ProgramContext& context, QWidget* parent);

  QListWidget* PortList;
  QCheckBox* RTPriority;  // "Force highest priority"
  QFrame* Switching;      // "Switching the serial port" while the link is switched

 public slots:
  void OKClick();

 private:
  PortWindowLogic logic_;
};

}  // namespace q5480
