#include "workflow/file_commands.h"

#include "config/parameters_file.h"
#include "config/path_text.h"
#include "workflow/form_texts.h"

namespace q5480 {
FileDialogRequest FileCommands::Request(bool save) const {
  FileDialogRequest request;
  request.save = save;
  request.filter = ParametersFilter(context_.language);
  request.defaultExtension = "par";
  request.directory = context_.settings.DataDir;
  if (save) {
    request.fileName = context_.fileName;
    request.protectedFileText = context_.Tr("Cannot open file", ":");
  }
  return request;
}

// The configuration must not change, nor be read, under a running transfer.
void FileCommands::Nowy1Click() {
  if (!context_.state.InTransfer) panel_.NewConfiguration();
}

bool FileCommands::Otworz1Click() {
  if (context_.state.InTransfer) return false;
  TimerPause pause(context_.state);
  const std::optional<std::string> path = context_.ui.AskFileName(Request(false));
  if (!path) return false;
  context_.fileName = *path;
  // The table of an earlier configuration is not this file's table.
  context_.config.TableLoaded = false;
  if (!ReadParametersFile(PathFromUtf8(*path), context_.config, context_.limits,
                          context_.settings.DataDir)) {
    context_.ShowMessage(context_.Tr("Corrupted or wrong data file", "!"), MessageIcon::Error);
    panel_.NewConfiguration();
    return false;
  }
  context_.state.ZeroCoefficients = false;
  context_.state.Programmed = false;
  panel_.ShowConfiguration(context_.state.Connected ? kColourChangedAll : kColourWhite);
  return true;
}

bool FileCommands::Zachowaj1Click() {
  if (context_.state.InTransfer || !panel_.CheckParam(false, false)) return false;
  if (context_.fileName == context_.Tr("No_name")) return Zapiszjako1Click();
  return WriteCurrent();
}

bool FileCommands::Zapiszjako1Click() {
  if (context_.state.InTransfer || !panel_.CheckParam(false, false)) return false;
  TimerPause pause(context_.state);
  const std::optional<std::string> path = context_.ui.AskFileName(Request(true));
  if (!path) return false;
  context_.fileName = *path;
  return WriteCurrent();
}

bool FileCommands::WriteCurrent() {
  if (!WriteParametersFile(PathFromUtf8(context_.fileName), context_.config, context_.regional,
                           context_.settings.DataDir)) {
    context_.ShowMessage(context_.Tr("Cannot open file", ":") + "\n" + context_.fileName,
                         MessageIcon::Warning);
    return false;
  }
  context_.ShowCaption();
  return true;
}

}  // namespace q5480
