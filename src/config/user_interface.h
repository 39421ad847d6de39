// The small seam through which the logic talks to the person: messages,
// beeps, file names and progress. The desktop program implements it with Qt,
// tests with a recording fake, the command-line tool with standard error.
#pragma once

#include <optional>
#include <string>

namespace q5480 {

enum class MessageIcon { None, Error, Warning, Information, Question };
enum class MessageButtons { Ok, OkCancel, YesNo };
enum class MessageResult { Ok, Cancel, Yes, No };
enum class BeepKind { Default, Information, Warning, Exclamation };

// Every message box of the program carries this caption.
inline constexpr const char* kMessageCaption = "Q5480.exe";

class UserInterface {
 public:
  virtual ~UserInterface() = default;
  virtual MessageResult ShowMessage(const std::string& text, const std::string& caption,
                                    MessageIcon icon, MessageButtons buttons) = 0;
  virtual void Beep(BeepKind kind) = 0;
};

}  // namespace q5480
