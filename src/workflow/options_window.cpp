#include "workflow/options_window.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "config/path_text.h"
#include "config/program_directory.h"
#include "config/text.h"

namespace q5480 {
namespace {

// The languages of the ".lan" files in `directories`, each name once, at
// most kMaxLanguageFiles.
std::vector<std::string> LanguageFiles(const std::vector<std::filesystem::path>& directories) {
  std::vector<std::string> names;
  for (const std::filesystem::path& directory : directories) {
    std::error_code error;
    for (std::filesystem::directory_iterator it(directory, error), end; !error && it != end;
         it.increment(error)) {
      const std::string file = Utf8FromPath(it->path().filename());
      if (file.size() <= 4 || !SameTextIgnoringCase(file.substr(file.size() - 4), ".lan") ||
          !it->is_regular_file(error)) {
        continue;
      }
      const std::string name = file.substr(0, file.size() - 4);
      if (std::find(names.begin(), names.end(), name) != names.end()) continue;
      names.push_back(name);
      if (names.size() == kMaxLanguageFiles) return names;
    }
  }
  return names;
}

}  // namespace

OptionsWindowLogic::OptionsWindowLogic(ProgramContext& context)
    : context_(context),
      wasNoName_(context.fileName == context.Tr("No_name")),
      openingLanguage_(context.settings.Language) {
  languages_.push_back("English");
  std::vector<std::filesystem::path> directories{context.programDirectory};
  const std::vector<std::filesystem::path> data = DataDirectories();
  directories.insert(directories.end(), data.begin(), data.end());
  const std::vector<std::string> files = LanguageFiles(directories);
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

std::map<std::string, std::string> OptionsWindowLogic::Texts() const {
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

DialogResult OptionsWindowLogic::OKbuttClick(const std::string& oldPassword,
                                             const std::string& newPassword) {
  // The language must not change under a running transfer.
  if (context_.state.InTransfer) return DialogResult::Cancel;
  ProgramSettings& settings = context_.settings;
  const std::string oldLanguage = settings.Language;
  const bool chosen = selected_ >= 0 && selected_ < static_cast<int>(languages_.size());
  const std::string newLanguage =
      chosen ? languages_[static_cast<std::size_t>(selected_)] : std::string("Polski");
  if (newLanguage == oldLanguage && oldPassword.empty()) {
    // An earlier OK that stayed open may have switched the language already.
    if (SameTextIgnoringCase(settings.Language, openingLanguage_)) return DialogResult::Cancel;
    if (wasNoName_) context_.fileName = context_.Tr("No_name");
    return DialogResult::Ok;
  }

  settings.Language = newLanguage;
  if (!context_.LoadLanguage()) {
    context_.ui.Beep(BeepKind::Exclamation);
    context_.ShowMessage(newLanguage + ".lan " + context_.Tr("file is invalid", "!"),
                         MessageIcon::Error);
    settings.Language = oldLanguage;
    context_.LoadLanguage();
  }

  if (oldPassword != settings.Pass) {
    if (!oldPassword.empty()) {
      context_.ui.Beep(BeepKind::Exclamation);
      context_.ShowMessage(context_.Tr("Wrong") + " " + Utf8ToLower(context_.Tr("Password")) + "!",
                           MessageIcon::Error);
      return DialogResult::StayOpen;
    }
  } else if (!newPassword.empty()) {
    settings.Pass = Utf8Left(newPassword, kPasswordMaxLength);
  }

  if (wasNoName_) context_.fileName = context_.Tr("No_name");
  return DialogResult::Ok;
}

void OptionsWindowLogic::Cancelbutt() {
  if (SameTextIgnoringCase(context_.settings.Language, openingLanguage_)) return;
  context_.settings.Language = openingLanguage_;
  context_.LoadLanguage();
}

}  // namespace q5480
