// A person at the windows, played from bytes: the answers to questions and
// file dialogs, the numbers typed into fields, and the windows that the
// window logic opens, each driven through its own logic as its Qt window
// would drive it. When the bytes run out every question gets its safe
// answer and every window is cancelled, so that every command ends.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "workflow/dialog_host.h"
#include "workflow/program_context.h"
#include "workflow/user_interface.h"

namespace q5480::fuzz {

class Script {
 public:
  Script(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

  bool Empty() const { return next_ >= size_; }
  // The next byte; 0 once the script has run out.
  std::uint8_t Byte();
  // One of `count` choices; the first once the script has run out.
  int Choice(int count) { return Byte() % count; }
  bool Flag() { return (Byte() & 1) != 0; }
  // A text typed into a number field: values at the edges of the program's
  // ranges, far past them, and texts that are no number at all.
  std::string Number();

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t next_ = 0;
};

// The person's side of the user-interface seam: questions answered from the
// script, the open dialog of a table given `tableFile`, every other open
// dialog `parametersFile`, the save dialog `savedFile`.
class ScriptedUi : public UserInterface {
 public:
  explicit ScriptedUi(Script& script) : script_(script) {}

  std::filesystem::path parametersFile;
  std::filesystem::path tableFile;
  std::filesystem::path savedFile;

  MessageResult ShowMessage(const std::string& text, const std::string& caption, MessageIcon icon,
                            MessageButtons buttons) override;
  void Beep(BeepKind) override {}
  std::optional<std::string> AskFileName(const FileDialogRequest& request) override;

  // The texts shown since the last call.
  std::vector<std::string> TakeMessages();

 private:
  Script& script_;
  std::vector<std::string> messages_;
};

// The windows that one window opens from another, each one's logic driven
// by the script: choices, typed numbers, then OK, Cancel or "More".
class ScriptedWindows : public DialogHost {
 public:
  ScriptedWindows(ProgramContext& context, Script& script) : context_(context), script_(script) {}

  bool MeterType() override;
  SelectionOutcome Sensor() override;
  SelectionOutcome ResistanceVoltage() override;
  SelectionOutcome VoltageCurrent() override;
  SelectionOutcome LoopCurrent() override;
  bool Table() override;
  bool PowerSeries() override;
  bool Linear() override;
  bool RoomTemperature() override;

 private:
  // False once windows have handed over to each other too often in one
  // command: every further one is cancelled at once.
  bool Opened();

  ProgramContext& context_;
  Script& script_;
  int openings_ = 0;
};

}  // namespace q5480::fuzz
