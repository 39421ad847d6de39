// The small seam through which the window logic talks to the person:
// messages, beeps, file names and progress. The desktop program implements
// it with Qt (ui/qt_user_interface.h); the tests and the window logic's
// fuzzer implement it with fakes that record and answer.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace q5480 {

enum class MessageIcon { None, Error, Warning, Information, Question };
// OkDetails: OK and "Details", for a message whose particulars the person
// may want to see.
enum class MessageButtons { Ok, OkCancel, YesNo, OkDetails };
enum class MessageResult { Ok, Cancel, Yes, No, Details };
enum class BeepKind { Default, Information, Warning, Exclamation, Question };

// The open or save dialog's request. The filter reads
// "Parameters files (*.par)|*.par|All files|*.*": pairs of a text and patterns.
struct FileDialogRequest {
  bool save = false;
  std::string filter;
  std::string defaultExtension;  // without the dot
  std::string directory;         // where the dialog starts; empty: its own choice
  std::string fileName;          // the name proposed by a save dialog
  // When not empty, a save dialog refuses a write-protected file with this
  // text and the file's path on the next line, and stays open for another.
  std::string protectedFileText;
};

// Every message box of the program carries this caption.
inline constexpr const char* kMessageCaption = "Q5480.exe";

class UserInterface {
 public:
  virtual ~UserInterface() = default;
  virtual MessageResult ShowMessage(const std::string& text, const std::string& caption,
                                    MessageIcon icon, MessageButtons buttons) = 0;
  virtual void Beep(BeepKind kind) = 0;

  // Windows of the desktop program; other users of the seam keep these.
  // The chosen path, or nothing when the dialog was cancelled.
  virtual std::optional<std::string> AskFileName(const FileDialogRequest&) { return std::nullopt; }
  // The first panel of the status bar.
  virtual void SetStatusText(const std::string&) {}
  // The progress bar of a transfer, 0 to 100.
  virtual void SetProgress(int) {}
  // The non-blocking "Please wait" window of a transfer.
  virtual void ShowWaitWindow(bool) {}
  // Lets the window system run while the window thread waits for a transfer.
  virtual void ProcessEvents() {}
  // A modal window with a title that lists lines, one to a row, until the
  // person closes it.
  virtual void ShowList(const std::string&, const std::vector<std::string>&) {}
};

}  // namespace q5480
