// The windows of the Help menu: the version window (VersionWindow) and the info
// window (InfoWindow). A click anywhere closes them.
#pragma once

#include <QDialog>

#include "config/language_table.h"

namespace q5480 {

class VersionWindow : public QDialog {
  Q_OBJECT
 public:
  VersionWindow(const LanguageTable& language, QWidget* parent);

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;  // Enter closes as Esc does
};

class InfoWindow : public QDialog {
  Q_OBJECT
 public:
  explicit InfoWindow(QWidget* parent);

 protected:
  void mousePressEvent(QMouseEvent* event) override;
};

}  // namespace q5480
