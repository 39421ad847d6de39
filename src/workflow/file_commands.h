// The File commands of the main window: New, Open, Save and Save as of
// parameters files.
#pragma once

#include <string>

#include "workflow/parameter_panel.h"
#include "workflow/program_context.h"

namespace q5480 {

class FileCommands {
 public:
  FileCommands(ProgramContext& context, ParameterPanel& panel) : context_(context), panel_(panel) {}

  void Nowy1Click();
  // False when nothing was loaded (cancelled or a file that does not load).
  bool Otworz1Click();
  bool Zachowaj1Click();
  bool Zapiszjako1Click();

 private:
  FileDialogRequest Request(bool save) const;
  bool WriteCurrent();

  ProgramContext& context_;
  ParameterPanel& panel_;
};

}  // namespace q5480
