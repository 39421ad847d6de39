// The splash window of start-up: OK or Enter goes on, Esc ends the program.
#pragma once

#include <QDialog>
#include <QLabel>
#include <QPushButton>

#include "config/language_table.h"

namespace q5480 {

class SplashWindow : public QDialog {
  Q_OBJECT
 public:
  SplashWindow(const LanguageTable& language, QWidget* parent = nullptr);

  QLabel* Title;
  QLabel* Wersja;  // the version label
  QPushButton* OKButton;

 protected:
  // The title follows the language whenever the window is painted.
  void paintEvent(QPaintEvent* event) override;

 private:
  const LanguageTable& language_;
};

}  // namespace q5480
