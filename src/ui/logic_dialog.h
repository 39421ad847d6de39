// The frame of the windows that edit one value set through their logic (the
// conversion windows and the room temperature window): the logic is the
// window's own, and tests reach it through Logic().
#pragma once

#include <QDialog>

#include "workflow/program_context.h"

namespace q5480 {

template <typename WindowLogic>
class LogicDialog : public QDialog {
 public:
  WindowLogic& Logic() { return logic_; }

 protected:
  LogicDialog(ProgramContext& context, const char* objectName, QWidget* parent)
      : QDialog(parent), logic_(context) {
    setObjectName(QString::fromLatin1(objectName));
  }

  WindowLogic logic_;
};

}  // namespace q5480
