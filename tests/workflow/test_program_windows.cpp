// The main window's texts in another language, the options window and the
// meter type window.
#include "config/program_directory.h"
#include "workflow/meter_type_window.h"
#include "workflow/options_window.h"
#include "workflow/program_start.h"
#include "workflow_fixture.h"

namespace q5480 {
namespace {

// A language file that translates every key as "PL<key>", CR LF lines.
std::string CompleteLanguageFile(std::string_view skipKey = {}) {
  std::string text;
  for (std::string_view key : LanguageKeys()) {
    if (key == skipKey) continue;
    text += std::string(key) + "=PL" + std::string(key) + "\r\n";
  }
  return text;
}

using LanguageTest = OfflineTest;

TEST_F(LanguageTest, CompleteLanguageFileChangesEveryTextAndNewIsShownInIt) {
  const FormTexts english = TranslatedFormTexts(context_.language);
  // An incomplete file beside the program gives English.
  WriteBytes(scratch_ / "Testowy.lan", CompleteLanguageFile("Output locked"));
  context_.settings.Language = "Testowy";
  EXPECT_FALSE(context_.LoadLanguage());
  EXPECT_EQ(context_.settings.Language, "English");
  WriteBytes(scratch_ / "Testowy.lan", CompleteLanguageFile());
  context_.settings.Language = "Testowy";
  ASSERT_TRUE(context_.LoadLanguage());
  const FormTexts translated = TranslatedFormTexts(context_.language);

  ASSERT_EQ(translated.captions.size(), english.captions.size());
  ASSERT_EQ(translated.hints.size(), english.hints.size());
  EXPECT_GE(english.captions.size(), 60u);
  for (const auto& [control, text] : english.captions) {
    EXPECT_NE(translated.captions.at(control), text) << control;
    EXPECT_NE(translated.captions.at(control).find("PL"), std::string::npos) << control;
  }
  for (const auto& [control, text] : english.hints) {
    EXPECT_NE(translated.hints.at(control), text) << control;
  }
  // What follows or precedes a translation stays where it is.
  EXPECT_EQ(translated.captions.at("Otworz1"), "PL&Open...");
  EXPECT_EQ(translated.captions.at("Symulacja1"), "&PLSimulation");
  EXPECT_EQ(english.hints.at("FiltrDobierz"), "Optimal settings\n(no noise)");
  EXPECT_EQ(translated.parametersFilter, "PLParameters files (*.par)|*.par|PLAll files|*.*");
  EXPECT_EQ(translated.helpFile, "PLQ5480EN.HLP");
  EXPECT_EQ(VersionCaption(context_.language), "L&Version") << "without its first character";
  EXPECT_EQ(SplashTitle(context_.language), "PLQ5480 Panel Meters");

  MainWindowLogic window(context_);
  window.ApplyLanguage();
  EXPECT_EQ(window.Texts().captions.at("Plik1"), "PL&File");
  EXPECT_EQ(context_.statusText, "PLNo parameters");
  EXPECT_EQ(context_.caption, "PLUnspecified type");
  EXPECT_EQ(window.Panel().View().SenTypeG, " PLSensor type ");
}

TEST_F(LanguageTest, OptionsWithoutLanguageFilesSaysSo) {
  OptionsWindowLogic options(context_);
  EXPECT_EQ(options.ListaLang(), std::vector<std::string>{"English"});
  ASSERT_EQ(ui_.Messages().size(), 1u);
  EXPECT_EQ(ui_.Messages()[0].text, "No optional language (*.lan) files found!");
  EXPECT_EQ(ui_.Messages()[0].icon, MessageIcon::None);
  EXPECT_EQ(options.Selected(), -1) << "Polski is not in the list";
}

class OptionsTest : public LanguageTest {
 protected:
  void SetUp() override {
    WriteBytes(scratch_ / "Testowy.lan", CompleteLanguageFile());
    WriteBytes(scratch_ / "Zepsuty.lan", CompleteLanguageFile("Wrong"));
    WriteBytes(scratch_ / "notes.txt", "x");
    context_.settings.Language = "english";
  }
  int IndexOf(const OptionsWindowLogic& options, const std::string& name) {
    const auto& list = options.ListaLang();
    return static_cast<int>(std::find(list.begin(), list.end(), name) - list.begin());
  }
};

TEST_F(OptionsTest, ListHoldsEnglishAndAtMostTenLanguageFiles) {
  OptionsWindowLogic options(context_);
  std::vector<std::string> list = options.ListaLang();
  ASSERT_EQ(list.size(), 3u);
  EXPECT_EQ(list[0], "English");
  std::sort(list.begin() + 1, list.end());
  EXPECT_EQ(list[1], "Testowy");
  EXPECT_EQ(list[2], "Zepsuty");
  EXPECT_EQ(options.Selected(), 0) << "found without regard to letter case";
  EXPECT_TRUE(ui_.Messages().empty());

  for (int i = 0; i < 12; ++i) WriteBytes(scratch_ / ("L" + std::to_string(i) + ".lan"), "");
  EXPECT_EQ(OptionsWindowLogic(context_).ListaLang().size(), 11u);
}

// OK switches the language, also as the second OK after a refused password;
// the unnamed file follows the language, a real file name stays.
TEST_F(OptionsTest, OkSwitchesTheLanguageAndKeepsARealFileName) {
  for (const bool refusedFirst : {false, true}) {
    SCOPED_TRACE(refusedFirst);
    context_.settings.Language = "English";
    ASSERT_TRUE(context_.LoadLanguage());
    context_.fileName = refusedFirst ? context_.Tr("No_name") : "/data/k.par";
    OptionsWindowLogic options(context_);
    options.Select(IndexOf(options, "Testowy"));
    if (refusedFirst) { EXPECT_EQ(options.OKbuttClick("wrong", ""), DialogResult::StayOpen); }
    EXPECT_EQ(options.OKbuttClick("", ""), DialogResult::Ok);
    EXPECT_EQ(context_.settings.Language, "Testowy");
    EXPECT_EQ(context_.language.Tr("Options"), "PLOptions");
    EXPECT_EQ(context_.fileName, refusedFirst ? "PLNo_name" : "/data/k.par");
  }
}

TEST_F(OptionsTest, CancelAfterASwitchThatStayedOpenPutsTheLanguageBack) {
  OptionsWindowLogic options(context_);
  options.Select(IndexOf(options, "Testowy"));
  EXPECT_EQ(options.OKbuttClick("wrong", ""), DialogResult::StayOpen);
  EXPECT_EQ(context_.language.Tr("Options"), "PLOptions") << "switched while the window is open";
  options.Cancelbutt();
  EXPECT_EQ(context_.settings.Language, "English");
  EXPECT_EQ(context_.language.Tr("No_name"), "No_name");
  // Save of the unnamed configuration still asks for a name.
  SetThermocoupleK(context_.config);
  panel_.ShowConfiguration(kColourWhite);
  context_.fileName = context_.Tr("No_name");
  EXPECT_FALSE(files_.Zachowaj1Click());
  EXPECT_EQ(ui_.Dialogs().size(), 1u);
  EXPECT_FALSE(std::filesystem::remove("No_name")) << "written without asking for a name";
}

TEST_F(OptionsTest, LanguageFilesBesideTheProgramAreOfferedToo) {
  const std::filesystem::path besides = ExecutableDirectory() / "Obok.lan";
  WriteBytes(besides, CompleteLanguageFile());
  OptionsWindowLogic options(context_);
  std::filesystem::remove(besides);
  EXPECT_LT(IndexOf(options, "Obok"), static_cast<int>(options.ListaLang().size()));
}

TEST_F(OptionsTest, InvalidLanguageFileKeepsTheOldLanguage) {
  context_.settings.Language = "Testowy";
  ASSERT_TRUE(context_.LoadLanguage());
  OptionsWindowLogic options(context_);
  options.Select(IndexOf(options, "Zepsuty"));
  EXPECT_EQ(options.OKbuttClick("", ""), DialogResult::Ok);
  // The failed load left English in the table when the message is composed.
  ASSERT_EQ(ui_.MessageTexts(), std::vector<std::string>{"Zepsuty.lan file is invalid!"});
  EXPECT_EQ(ui_.Messages()[0].icon, MessageIcon::Error);
  EXPECT_EQ(ui_.Beeps(), std::vector<BeepKind>{BeepKind::Exclamation});
  EXPECT_EQ(context_.settings.Language, "Testowy");
  EXPECT_EQ(context_.language.Tr("Options"), "PLOptions");
}

TEST_F(OptionsTest, PasswordRules) {
  OptionsWindowLogic options(context_);
  context_.settings.Language = "English";
  options.Select(0);
  EXPECT_EQ(options.OKbuttClick("", "new"), DialogResult::Cancel) << "nothing changed";
  EXPECT_EQ(options.OKbuttClick("wrong", "x"), DialogResult::StayOpen);
  EXPECT_EQ(ui_.MessageTexts(), std::vector<std::string>{"Wrong password!"});
  EXPECT_EQ(ui_.Beeps(), std::vector<BeepKind>{BeepKind::Exclamation});
  EXPECT_EQ(context_.settings.Pass, "vorn");

  EXPECT_EQ(options.OKbuttClick("vorn", ""), DialogResult::Ok);
  EXPECT_EQ(context_.settings.Pass, "vorn") << "an empty new password changes nothing";
  const std::string thirty(30, 'q');
  EXPECT_EQ(options.OKbuttClick("vorn", thirty + "z"), DialogResult::Ok);
  EXPECT_EQ(context_.settings.Pass, thirty);
}

TEST_F(LanguageTest, MeterTypeWindowOffersTheModelsSortedAndAcceptsOnlyConfigurableOnes) {
  MeterTypeWindowLogic window(context_);
  EXPECT_EQ(window.Items(),
            (std::vector<std::string>{"Q5491", "Q5494", "Q5495", "Q5497", "Q5498", "Q5499"}));
  EXPECT_EQ(window.Selected(), 0) << "Q5491 without a model";
  context_.config.Device = "Q5497";
  EXPECT_EQ(MeterTypeWindowLogic(context_).Selected(), 3);
  context_.config.Device = "Q5496";  // accepted from a module, never offered
  EXPECT_EQ(MeterTypeWindowLogic(context_).Selected(), 0);

  context_.config.Device = "Q5495";
  MeterTypeWindowLogic refused(context_);
  refused.Select(4);  // Q5498
  EXPECT_FALSE(refused.Ok());
  ASSERT_EQ(ui_.MessageTexts(), std::vector<std::string>{"Device Q5498 not implemented yet"});
  EXPECT_EQ(ui_.Messages()[0].icon, MessageIcon::Information);
  EXPECT_EQ(context_.config.Device, "Q5495");
  MeterTypeWindowLogic accepted(context_);
  accepted.Select(1);
  EXPECT_TRUE(accepted.Ok());
  EXPECT_EQ(context_.config.Device, "Q5494");
  EXPECT_EQ(context_.caption, "Q5494 - No_name");
}

}  // namespace
}  // namespace q5480
