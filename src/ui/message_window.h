// The "Message" window. Its transfer form stays on top and keeps the
// person's input from the other windows until the transfer ends; its
// password form asks for the password before the service windows.
#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QWidget>
#include <optional>
#include <string>

#include "config/language_table.h"

namespace q5480 {

class MessageWindow : public QWidget {
  Q_OBJECT
 public:
  // The transfer form.
  MessageWindow(const LanguageTable& language, QWidget* parent);

  // The password form, shown modally over `parent`: the text typed when
  // Enter ended it; nothing after Esc or a click on the window.
  static std::optional<std::string> AskPassword(const LanguageTable& language, QWidget* parent);

  QLabel* Label1;              // "Communicating with device", or "Password"
  QLabel* Label2;              // "Please wait...", hidden in the password form
  QLineEdit* Haslo = nullptr;  // the password form's edit

 signals:
  // The password form ended.
  void Finished();

 protected:
  // Clicks do nothing while a transfer runs, and cancel the password form.
  void mousePressEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  // The password form closed by the window manager is cancelled.
  void closeEvent(QCloseEvent* event) override;

 private:
  enum class Form { Transfer, Password };
  MessageWindow(const LanguageTable& language, QWidget* parent, Form form);
  void Finish(std::optional<std::string> typed);

  Form form_;
  std::optional<std::string> typed_;
  bool finished_ = false;
};

}  // namespace q5480
