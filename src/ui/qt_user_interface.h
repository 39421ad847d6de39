// The user-interface seam of the logic, for the desktop program: message
// boxes, beeps, file dialogs, the status bar, the waiting window and the
// list window.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>

#include "config/language_table.h"
#include "workflow/user_interface.h"

class QWidget;

namespace q5480 {

// "Parameters files (*.par)|*.par|All files|*.*" as the filter list of a Qt
// file dialog: each text, with its patterns in brackets when it has none.
QStringList DialogFilters(const std::string& filter);

class QtUserInterface : public UserInterface {
 public:
  // The window the message boxes and dialogs belong to; may change.
  void SetParent(QWidget* parent) { parent_ = parent; }
  // The table the message boxes name their buttons from; none: Qt's own.
  void SetLanguage(const LanguageTable* language) { language_ = language; }

  // What the main window shows of the logic's status and transfers.
  std::function<void(const QString&)> onStatusText;
  std::function<void(int)> onProgress;
  std::function<void(bool)> onWaitWindow;

  // The window thread's: the link's threads never talk to the person.
  MessageResult ShowMessage(const std::string& text, const std::string& caption, MessageIcon icon,
                            MessageButtons buttons) override;
  void Beep(BeepKind kind) override;

  std::optional<std::string> AskFileName(const FileDialogRequest& request) override;
  void SetStatusText(const std::string& text) override;
  void SetProgress(int percent) override;
  void ShowWaitWindow(bool shown) override;
  void ProcessEvents() override;
  void ShowList(const std::string& title, const std::vector<std::string>& lines) override;

 private:
  QWidget* parent_ = nullptr;
  const LanguageTable* language_ = nullptr;
};

}  // namespace q5480
