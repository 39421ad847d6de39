#include "workflow/form_texts.h"

#include <array>
#include <string_view>

namespace q5480 {
namespace {

// A control, the key of its text and what follows the translation.
struct TextOf {
  std::string_view control;
  std::string_view key;
  std::string_view suffix;
  std::string_view prefix;
};

constexpr std::array kMenuItems{
    TextOf{"Plik1", "&File", "", ""},
    TextOf{"Nowy1", "&New", "", ""},
    TextOf{"Otworz1", "&Open", "...", ""},
    TextOf{"Zachowaj1", "&Save", "", ""},
    TextOf{"Zapiszjako1", "Save as", "...", ""},
    TextOf{"Drukuj1", "&Print", "...", ""},
    TextOf{"PrintSetup1", "P&rint setup", "...", ""},
    TextOf{"Exit1", "E&xit", "", ""},
    TextOf{"Konfig1", "&Configuration", "", ""},
    TextOf{"Ustawienia1", "&Setup", "", ""},
    TextOf{"Odswierz1", "R&efresh", "", ""},
    TextOf{"Odczytaj1", "&Read", "", ""},
    TextOf{"Zapisz1", "&Write", "", ""},
    TextOf{"Weryfikuj1", "&Verify", "", ""},
    TextOf{"Czujniki1", "&Input", "", ""},
    TextOf{"Reset1", "&Reset", "", ""},
    TextOf{"Regulacja1", "&Corrections", "", ""},
    TextOf{"Widok1", "&View", "", ""},
    TextOf{"Symulacja1", "Simulation", "", "&"},
    TextOf{"Pasek1", "&Toolbar", "", ""},
    TextOf{"Status1", "S&tatus", "", ""},
    TextOf{"Wykres1", "&Diagram", "", ""},
    TextOf{"MonOnly1", "&Monitor only", "", ""},
    TextOf{"Opcje1", "&Options", "", ""},
    TextOf{"Ogolne1", "&General", "", ""},
    TextOf{"Komunikacja1", "&Communication", "", ""},
    TextOf{"Autoread1", "&Automatic read", "", ""},
    TextOf{"Pomoc1", "&Help", "", ""},
    TextOf{"Info1", "&Info", "", ""},
    TextOf{"Wersja1", "&Version", "", ""},
    TextOf{"DaneTech1", "&Help", "", ""},
};

constexpr std::array kCaptions{
    TextOf{"SenSel", "Select", "", ""},
    TextOf{"ParametryG", "Parameters", " ", " "},
    TextOf{"ZakresTxt", "Range", ":", " "},
    TextOf{"Minimum", "Minimum", ":", " "},
    TextOf{"Maksimum", "Maximum", ":", " "},
    TextOf{"Filtry", "Signal filter", "", " "},
    TextOf{"FiltrZakresTxt", "Range", " (0-25%)", ""},
    TextOf{"FiltrCzasTxt", "Time", " (0-40s)", ""},
    TextOf{"FiltrLimitTxt", "Spurious error threshold", " (0-100%)", ""},
    TextOf{"FiltrDobierz", "Optimal", "", ""},
    TextOf{"SiecTxt", "Net filter freq.", ":", ""},
    TextOf{"RegulT", "User corrections", ":", " "},
    TextOf{"RegulZT", "Zero", ":  ", ""},
    TextOf{"RegulGT", "Gain", ":  ", ""},
    TextOf{"Info", "Info", " ", " "},
    TextOf{"KodTxt", "User ID Tag", "", ""},
    TextOf{"SerialTxt", "Serial No", ":", ""},
    TextOf{"DataTxt", "Last config. date", ":", ""},
    TextOf{"OgolneTxt", "Other", "", ""},
    TextOf{"nResult", "Result", "", ""},
    TextOf{"nOutput", "Output", "", ""},
    TextOf{"StopScalingCB", "Stop scaling", "", ""},
    TextOf{"WykresStartB", "Stop", "", ""},
    TextOf{"WykresClearB", "Clear", "", ""},
    TextOf{"NewAvT", "new average", "", ""},
    TextOf{"LargeErT", "spurious error", "", ""},
    TextOf{"ShowFilterCB", "Filter limits", "", ""},
    TextOf{"WykresExitB", "Exit", "", ""},
    TextOf{"WykresIntT", "Interval", " [s]:", ""},
};

constexpr std::array kHints{
    TextOf{"NowyT", "New", "", ""},
    TextOf{"OtworzT", "Open", "", ""},
    TextOf{"ZachowajT", "Save", "", ""},
    TextOf{"DrukujT", "Print", "", ""},
    TextOf{"OdczytajT", "Read settings", "", ""},
    TextOf{"ZapiszT", "Write settings", "", ""},
    TextOf{"KomunikacjaT", "Communication", "", ""},
    TextOf{"RegulacjaT", "Corrections", "", ""},
    TextOf{"RegulacjaPic", "Corrections", "", ""},
    TextOf{"Wykres1T", "Show diagram", "", ""},
    TextOf{"SenSel", "Select sensor", "", ""},
    TextOf{"MinInputE", "Enter the minimum value", "", ""},
    TextOf{"MaxInputE", "Enter the maximum value", "", ""},
    TextOf{"FiltrZakresE", "Set filtration range", "", ""},
    TextOf{"FiltrCzasE", "Set time constant", "", ""},
    TextOf{"FiltrLimitE", "Set spurious error threshold", "", ""},
    TextOf{"FiltrLimitUpDown", "Set spurious error threshold", "", ""},
    TextOf{"BurnoutE", "Choose expected reaction", "", ""},
    TextOf{"SiecE", "Choose net frequency", "", ""},
    TextOf{"KodE", "Write down ID tag", "", ""},
    TextOf{"OgolneE", "Write down any information", "", ""},
    TextOf{"WykresClearB", "Clear diagram", "", ""},
    TextOf{"ShowFilterCB", "Show filter limits", "", ""},
    TextOf{"WykresIntT", "Preset plotting time interval", "", ""},
    TextOf{"WykresIntUD", "Preset plotting time interval", "", ""},
    TextOf{"SavingI", "Double-click to stop saving data", "", ""},
};

template <std::size_t N>
void Apply(const std::array<TextOf, N>& texts, const LanguageTable& language,
           std::map<std::string, std::string>& into) {
  for (const TextOf& t : texts) {
    into[std::string(t.control)] =
        std::string(t.prefix) + language.Tr(t.key) + std::string(t.suffix);
  }
}

}  // namespace

std::string ParametersFilter(const LanguageTable& language) {
  return language.Tr("Parameters files") + " (*.par)|*.par|" + language.Tr("All files") + "|*.*";
}

FormTexts TranslatedFormTexts(const LanguageTable& language) {
  FormTexts texts;
  Apply(kMenuItems, language, texts.captions);
  Apply(kCaptions, language, texts.captions);
  Apply(kHints, language, texts.hints);
  texts.hints["FiltrDobierz"] =
      language.Tr("Optimal settings") + "\n(" + language.Tr("no noise") + ")";
  texts.parametersFilter = ParametersFilter(language);
  texts.helpFile = language.Tr("Q5480EN") + ".HLP";
  return texts;
}

}  // namespace q5480
