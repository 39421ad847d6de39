#include "support/recording_ui.h"

namespace q5480::test_support {

MessageResult RecordingUi::ShowMessage(const std::string& text, const std::string& caption,
                                       MessageIcon icon, MessageButtons buttons) {
  std::function<void(const ShownMessage&)> action;
  MessageResult answer = buttons == MessageButtons::YesNo ? MessageResult::No : MessageResult::Ok;
  {
    std::lock_guard lock(mutex_);
    messages_.push_back({text, caption, icon, buttons});
    overWaitWindow_.push_back(waitWindowShown_);
    if (!answers_.empty()) {
      answer = answers_.front();
      answers_.pop_front();
    }
    action = onMessage_;
  }
  if (action) action({text, caption, icon, buttons});
  return answer;
}

void RecordingUi::Beep(BeepKind kind) {
  std::lock_guard lock(mutex_);
  beeps_.push_back(kind);
}

std::optional<std::string> RecordingUi::AskFileName(const FileDialogRequest& request) {
  std::lock_guard lock(mutex_);
  dialogs_.push_back(request);
  if (fileNames_.empty()) return std::nullopt;
  std::optional<std::string> name = fileNames_.front();
  fileNames_.pop_front();
  return name;
}

void RecordingUi::SetStatusText(const std::string& text) {
  std::lock_guard lock(mutex_);
  statusTexts_.push_back(text);
}

void RecordingUi::SetProgress(int percent) {
  std::lock_guard lock(mutex_);
  progress_.push_back(percent);
}

void RecordingUi::ShowWaitWindow(bool shown) {
  std::lock_guard lock(mutex_);
  waitWindow_.push_back(shown);
  waitWindowShown_ = shown;
}

void RecordingUi::ProcessEvents() {
  std::function<void()> action;
  {
    std::lock_guard lock(mutex_);
    action = whileWaiting_;
  }
  if (action) action();
}

void RecordingUi::ShowList(const std::string& title, const std::vector<std::string>& lines) {
  std::lock_guard lock(mutex_);
  lists_.push_back({title, lines});
}

void RecordingUi::Answer(MessageResult answer) {
  std::lock_guard lock(mutex_);
  answers_.push_back(answer);
}

void RecordingUi::ChooseFile(std::optional<std::string> name) {
  std::lock_guard lock(mutex_);
  fileNames_.push_back(std::move(name));
}

void RecordingUi::WhileWaiting(std::function<void()> action) {
  std::lock_guard lock(mutex_);
  whileWaiting_ = std::move(action);
}

void RecordingUi::OnMessage(std::function<void(const ShownMessage&)> action) {
  std::lock_guard lock(mutex_);
  onMessage_ = std::move(action);
}

std::vector<ShownMessage> RecordingUi::Messages() const {
  std::lock_guard lock(mutex_);
  return messages_;
}

std::vector<std::string> RecordingUi::MessageTexts() const {
  std::vector<std::string> texts;
  for (const ShownMessage& m : Messages()) texts.push_back(m.text);
  return texts;
}

std::vector<BeepKind> RecordingUi::Beeps() const {
  std::lock_guard lock(mutex_);
  return beeps_;
}

std::vector<FileDialogRequest> RecordingUi::Dialogs() const {
  std::lock_guard lock(mutex_);
  return dialogs_;
}

std::vector<std::string> RecordingUi::StatusTexts() const {
  std::lock_guard lock(mutex_);
  return statusTexts_;
}

std::vector<ShownList> RecordingUi::Lists() const {
  std::lock_guard lock(mutex_);
  return lists_;
}

std::vector<int> RecordingUi::Progress() const {
  std::lock_guard lock(mutex_);
  return progress_;
}

std::vector<bool> RecordingUi::WaitWindow() const {
  std::lock_guard lock(mutex_);
  return waitWindow_;
}

std::vector<bool> RecordingUi::MessagesOverWaitWindow() const {
  std::lock_guard lock(mutex_);
  return overWaitWindow_;
}

void RecordingUi::Forget() {
  std::lock_guard lock(mutex_);
  messages_.clear();
  overWaitWindow_.clear();
  beeps_.clear();
  statusTexts_.clear();
  lists_.clear();
}

}  // namespace q5480::test_support
