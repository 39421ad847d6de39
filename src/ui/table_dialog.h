// The user table window: a ".dat" file shown as it stands, the ranges of
// its table and the result unit.
#pragma once

#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include "ui/linear_dialog.h"
#include "workflow/table_window.h"

namespace q5480 {

class TableDialog : public LogicDialog<TableWindowLogic>, public RangeGroups {
  Q_OBJECT
 public:
  TableDialog(ProgramContext& context, QWidget* parent);

  QPlainTextEdit* TableM;  // the file, with the line that failed selected
  QLabel* FileT;
  QPushButton* LoadB;
  QPushButton* OKB;
  QPushButton* ExitB;

 public slots:
  void LoadBClick();
  void OKBClick();
  // Exit, Esc or the close box: the data directory and file name as before.
  void reject() override;

 private:
  void ShowLogic();
};

}  // namespace q5480
