// A modal window that lists lines of text, one to a row, with a Close
// button: what a verify found to differ, for one.
#pragma once

#include <QDialog>
#include <QListWidget>
#include <QPushButton>
#include <string>
#include <vector>

namespace q5480 {

class ListWindow : public QDialog {
  Q_OBJECT
 public:
  ListWindow(const std::string& title, const std::vector<std::string>& lines, QWidget* parent);

  QListWidget* Lines;
  QPushButton* CloseButton;
};

}  // namespace q5480
