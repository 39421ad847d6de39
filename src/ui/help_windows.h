// The windows of the Help menu: the version window (TProgwerF) and the info
// window (TInfoF). A click anywhere closes them.
#pragma once

#include <QDialog>

#include "config/language_table.h"

namespace q5480 {

class TProgwerF : public QDialog {
  Q_OBJECT
 public:
  TProgwerF(const LanguageTable& language, QWidget* parent);

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;  // Enter closes as Esc does
};

class TInfoF : public QDialog {
  Q_OBJECT
 public:
  explicit TInfoF(QWidget* parent);

 protected:
  void mousePressEvent(QMouseEvent* event) override;
};

}  // namespace q5480
