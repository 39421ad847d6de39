// The options window (OptionsDialog): the language and the password.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "workflow/program_context.h"

namespace q5480 {

inline constexpr std::size_t kMaxLanguageFiles = 10;
inline constexpr std::size_t kPasswordMaxLength = 30;

enum class DialogResult { Ok, Cancel, StayOpen };

class OptionsWindowLogic {
 public:
  // Fills the language list from the ".lan" files wherever the program
  // looks for them; tells the person when there is none.
  explicit OptionsWindowLogic(ProgramContext& context);

  // Caption and label texts by control name ("Caption" for the window).
  std::map<std::string, std::string> Texts() const;
  const std::vector<std::string>& ListaLang() const { return languages_; }
  int Selected() const { return selected_; }
  void Select(int index) { selected_ = index; }

  // OK with the two password edits. StayOpen after a wrong old password
  // (the old-password edit is then to be emptied).
  DialogResult OKbuttClick(const std::string& oldPassword, const std::string& newPassword);
  // Cancel, also after an OK that stayed open: the language the window
  // found is put back, so that nothing of the window remains.
  void Cancelbutt();

 private:
  ProgramContext& context_;
  std::vector<std::string> languages_;
  int selected_ = -1;
  bool wasNoName_ = false;
  std::string openingLanguage_;
};

}  // namespace q5480
