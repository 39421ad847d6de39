// The recording fake of the user-interface seam: keeps everything the
// windows say and answers questions and file dialogs from scripts.
#pragma once

#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "workflow/user_interface.h"

namespace q5480::test_support {

struct ShownMessage {
  std::string text;
  std::string caption;
  MessageIcon icon;
  MessageButtons buttons;
};

struct ShownList {
  std::string title;
  std::vector<std::string> lines;
};

class RecordingUi : public UserInterface {
 public:
  MessageResult ShowMessage(const std::string& text, const std::string& caption, MessageIcon icon,
                            MessageButtons buttons) override;
  void Beep(BeepKind kind) override;
  std::optional<std::string> AskFileName(const FileDialogRequest& request) override;
  void SetStatusText(const std::string& text) override;
  void SetProgress(int percent) override;
  void ShowWaitWindow(bool shown) override;
  void ProcessEvents() override;
  void ShowList(const std::string& title, const std::vector<std::string>& lines) override;

  // Answers of the next questions, in order; then the safe answer (No, Ok).
  void Answer(MessageResult answer);
  // The path chosen in the next file dialog; nothing cancels it.
  void ChooseFile(std::optional<std::string> name);
  // Runs whenever the logic lets the window system run, as during a
  // transfer: a test's person acting meanwhile.
  void WhileWaiting(std::function<void()> action);
  // Runs while each message is up, as the window's timers do meanwhile.
  void OnMessage(std::function<void(const ShownMessage&)> action);

  std::vector<ShownMessage> Messages() const;
  std::vector<std::string> MessageTexts() const;
  std::vector<BeepKind> Beeps() const;
  std::vector<FileDialogRequest> Dialogs() const;
  std::vector<std::string> StatusTexts() const;
  std::vector<ShownList> Lists() const;
  std::vector<int> Progress() const;
  // Shown and hidden, in order; `true` entries open the waiting window.
  std::vector<bool> WaitWindow() const;
  // Messages, each with whether the waiting window was up when it came.
  std::vector<bool> MessagesOverWaitWindow() const;
  void Forget();

 private:
  mutable std::mutex mutex_;
  std::vector<ShownMessage> messages_;
  std::vector<bool> overWaitWindow_;
  std::vector<BeepKind> beeps_;
  std::vector<FileDialogRequest> dialogs_;
  std::vector<std::string> statusTexts_;
  std::vector<ShownList> lists_;
  std::vector<int> progress_;
  std::vector<bool> waitWindow_;
  bool waitWindowShown_ = false;
  std::deque<MessageResult> answers_;
  std::deque<std::optional<std::string>> fileNames_;
  std::function<void()> whileWaiting_;
  std::function<void(const ShownMessage&)> onMessage_;
};

}  // namespace q5480::test_support
