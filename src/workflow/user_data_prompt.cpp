// The user-data prompt of the parameter panel: a configuration that needs a
// user table or power series that is not in memory gets it back before it
// can be edited or written.
#include <filesystem>
#include <optional>
#include <string>

#include "config/path_text.h"
#include "conversion/conversion_messages.h"
#include "service/user_data.h"
#include "workflow/parameter_panel.h"

namespace q5480 {

bool ParameterPanel::AskForMissingUserData() {
  bool missing = true;
  RunCommand([&] {
    missing = UserDataMissing();
    return true;
  });
  return missing;
}

bool ParameterPanel::UserDataMissing() {
  if (context_.state.ZeroCoefficients) return true;
  // The questions below let ticks in; none of them may read or ask again.
  TimerPause pause(context_.state);
  // The table file is looked for first in the folder of the parameters file
  // last opened, which an open dialog makes the current folder elsewhere.
  const UserDataResult result = RestoreUserData(
      {context_.config, context_.limits, context_.conversion},
      {TableFolders(PathFromUtf8(context_.settings.DataDir), context_.programDirectory),
       std::nullopt},
      [this](const std::filesystem::path&) {
        return context_.ShowMessage(NoUserDataText() + context_.Tr("Read source file") + " " +
                                        context_.config.File + "?",
                                    MessageIcon::Question,
                                    MessageButtons::YesNo) == MessageResult::Yes;
      });
  TellUserDataMissing(result);
  if (!NeedsUserData(context_)) ShowConfiguration(kColourKeep);
  return result.status != UserDataStatus::Ready;
}

std::string ParameterPanel::NoUserDataText() const {
  return context_.Tr("User defined sensor or conversion", "!") + "\n" +
         context_.Tr("No data available", ".") + "\n";
}

void ParameterPanel::TellUserDataMissing(const UserDataResult& result) {
  switch (result.status) {
    case UserDataStatus::Ready:
    case UserDataStatus::Declined: return;
    case UserDataStatus::SeriesRefused:
      context_.ui.Beep(BeepKind::Exclamation);
      context_.ShowMessage(context_.TextOf(result.refusal.key), MessageIcon::Warning);
      return;
    case UserDataStatus::TableNotFound: {
      std::string text = NoUserDataText();
      const std::string& file = context_.config.File;
      if (!file.empty()) text += "(" + context_.Tr("source file", ": ") + file + ")";
      context_.ui.Beep(BeepKind::Exclamation);
      context_.ShowMessage(text, MessageIcon::Warning);
      return;
    }
    case UserDataStatus::TableUnreadable:
    case UserDataStatus::TableRefused: {
      std::string text = context_.Tr(kCorruptedFile, "!");
      if (!result.refusal.detail.empty())
        text += "\n(" + context_.TextOf(result.refusal.detail) + ".)";
      context_.ShowMessage(text, MessageIcon::Error);
      return;
    }
    case UserDataStatus::RangeTooSmall:
      context_.ShowMessage(context_.Tr(kInputRangeTooSmall), MessageIcon::Warning);
      return;
    case UserDataStatus::RangeOutsideTable:
      context_.ShowMessage(context_.Tr(kCorruptedFile, "!"), MessageIcon::Error);
      return;
  }
}

}  // namespace q5480
