// The windows of the Help menu: the version window (VersionWindow) and the info
// window (InfoWindow), which a click anywhere closes, and the user manual
// (ManualWindow).
#pragma once

#include <QDialog>
#include <QString>
#include <QVBoxLayout>

#include "config/language_table.h"

namespace q5480 {

// A small window of centred lines that a click anywhere closes.
class ClickClosedWindow : public QDialog {
  Q_OBJECT
 protected:
  ClickClosedWindow(const char* objectName, const QString& title, QWidget* parent);
  void mousePressEvent(QMouseEvent* event) override;

  QVBoxLayout* const content_;
};

class VersionWindow : public ClickClosedWindow {
  Q_OBJECT
 public:
  VersionWindow(const LanguageTable& language, QWidget* parent);

 protected:
  void keyPressEvent(QKeyEvent* event) override;  // Enter closes as Esc does
};

class InfoWindow : public ClickClosedWindow {
  Q_OBJECT
 public:
  explicit InfoWindow(QWidget* parent);
};

// The user manual's file among the program's data files.
inline constexpr const char* kManualFile = "manual.md";

// The user manual, rendered from its Markdown text; works offline.
class ManualWindow : public QDialog {
  Q_OBJECT
 public:
  ManualWindow(const QString& title, const QString& markdown, QWidget* parent);
};

}  // namespace q5480
