// The options window: the language and the password.
#pragma once

#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include "workflow/options_window.h"

namespace q5480 {

class OptionsDialog : public QDialog {
  Q_OBJECT
 public:
  OptionsDialog(ProgramContext& context, QWidget* parent);

  QGroupBox* JezykG;
  QLabel* Wybierz;
  QListWidget* ListaLang;
  QGroupBox* HasloG;
  QLabel* StareT;
  QLineEdit* StareE;
  QLabel* NoweT;
  QLineEdit* NoweE;
  QPushButton* OKbutt;
  QPushButton* Cancelbutt;

 public slots:
  void OKbuttClick();
  // Cancel, Esc or the close box: nothing of the window remains.
  void reject() override;

 private:
  OptionsWindowLogic logic_;
};

}  // namespace q5480
