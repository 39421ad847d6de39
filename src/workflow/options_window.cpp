#include "workflow/options_window.h"

#include <filesystem>
#include <system_error>

#include "config/text.h"

namespace q5480 {
namespace {

std::vector<std::string> LanguageFiles(const std::filesystem::path& directory) {
  std::vector<std::string> names;
  std::error_code error;
  for (std::filesystem::directory_iterator it(directory, error), end; !error && it != end;
       it.increment(error)) {
    const std::string name = it->path().filename().string();
    if (name.size() > 4 && SameTextIgnoringCase(name.substr(name.size() - 4), ".lan") &&
        it->is_regular_file(error)) {
      names.push_back(name.substr(0, name.size() - 4));
      if (names.size() == kMaxLanguageFiles) break;
    }
  }
  return names;
}

}  // namespace

TOgolneFLogic::TOgolneFLogic(ProgramContext& context)
    : context_(context), wasNoName_(context.fileName == context.Tr("No_name")) {
  languages_.push_back("English");
  const std::vector<std::string> files = LanguageFiles(context.programDirectory);
  if (files.empty()) {
    context.ui.ShowMessage("No optional language (*.lan) files found!", kMessageCaption,
                           MessageIcon::None, MessageButtons::Ok);
  }
  languages_.insert(languages_.end(), files.begin(), files.end());
  for (std::size_t i = 0; i < languages_.size(); ++i) {
    if (SameTextIgnoringCase(languages_[i], context.settings.Language)) {
      selected_ = static_cast<int>(i);
      break;
    }
  }
}

std::map<std::string, std::string> TOgolneFLogic::Texts() const {
  const std::string password = Utf8ToLower(context_.Tr("Password"));
  return {
      {"Caption", context_.Tr("Options")},
      {"JezykG", " " + context_.Tr("language") + " "},
      {"Wybierz", context_.Tr("Select", ":")},
      {"HasloG", " " + password + " "},
      {"StareT", context_.Tr("Old", ":")},
      {"NoweT", DropLastCharacter(context_.Tr("New1")) + ":"},
      {"Cancelbutt", context_.Tr("Cancel")},
  };
}

DialogResult TOgolneFLogic::OKbuttClick(const std::string& oldPassword,
                                        const std::string& newPassword) {
  ProgramSettings& settings = context_.settings;
  const std::string oldLanguage = settings.Language;
  const bool chosen = selected_ >= 0 && selected_ < static_cast<int>(languages_.size());
  const std::string newLanguage =
      chosen ? languages_[static_cast<std::size_t>(selected_)] : std::string("Polski");
  if (newLanguage == oldLanguage && oldPassword.empty()) return DialogResult::Cancel;

  settings.Language = newLanguage;
  if (!context_.LoadLanguage()) {
    context_.ui.Beep(BeepKind::Exclamation);
    context_.MyMesM(newLanguage + ".lan " + context_.Tr("file is invalid", "!"),
                    MessageIcon::Error);
    settings.Language = oldLanguage;
    context_.LoadLanguage();
  }

  if (oldPassword != settings.Pass) {
    if (!oldPassword.empty()) {
      context_.ui.Beep(BeepKind::Exclamation);
      context_.MyMesM(context_.Tr("Wrong") + " " + Utf8ToLower(context_.Tr("Password")) + "!",
                      MessageIcon::Error);
      return DialogResult::StayOpen;
    }
  } else if (!newPassword.empty()) {
    settings.Pass = Utf8Left(newPassword, kPasswordMaxLength);
  }

  if (wasNoName_) context_.fileName = context_.Tr("No_name");
  return DialogResult::Ok;
}

}  // namespace q5480
