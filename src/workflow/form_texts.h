// The texts of the main window in the current language: every menu item,
// caption, hint and the file dialog's filter, by control name, so that the
// window only applies them.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "config/language_table.h"

namespace q5480 {

struct FormTexts {
  std::map<std::string, std::string> captions;  // menu items and labels
  std::map<std::string, std::string> hints;
  std::string parametersFilter;  // the open and save dialogs of parameters files
  std::string helpFile;          // the help file's name, without a directory
  // Every text the burnout list's label can show, so that the window gives
  // it room for the widest.
  std::vector<std::string> burnoutLabelTexts;
};

FormTexts TranslatedFormTexts(const LanguageTable& language);

// "Parameters files (*.par)|*.par|All files|*.*" in the current language.
std::string ParametersFilter(const LanguageTable& language);

}  // namespace q5480
