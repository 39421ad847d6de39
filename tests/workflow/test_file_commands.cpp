// New, Open, Save and Save as of parameters files.
#include "config/parameters_file.h"
#include "workflow_fixture.h"

namespace q5480 {
namespace {

class FileCommandsTest : public OfflineTest {
 protected:
  FileCommandsTest() {
    panel_.NewConfiguration();
    context_.state.TimerEnabled = true;
  }

  // Opens a parameters file of a type K thermocouple written by the program
  // itself; gives its path.
  std::string OpenExample() {
    ModuleConfig k;
    SetThermocoupleK(k);
    k.kod = "TI-7";
    std::string dataDir;
    const std::string path = (scratch_ / "k.par").string();
    EXPECT_TRUE(WriteParametersFile(path, k, RegionalSettings{}, dataDir));
    ui_.ChooseFile(path);
    EXPECT_TRUE(files_.Otworz1Click());
    return path;
  }
};

TEST_F(FileCommandsTest, OpenShowsTheFileAndRemembersItsFolderAndNewForgetsIt) {
  const std::string path = OpenExample();
  const std::vector<FileDialogRequest> dialogs = ui_.Dialogs();
  ASSERT_EQ(dialogs.size(), 1u);
  EXPECT_FALSE(dialogs[0].save);
  EXPECT_EQ(dialogs[0].filter, "Parameters files (*.par)|*.par|All files|*.*");
  EXPECT_EQ(dialogs[0].defaultExtension, "par");
  EXPECT_EQ(context_.fileName, path);
  EXPECT_EQ(context_.caption, "Q5495 - " + path);
  EXPECT_EQ(context_.config.kod, "TI-7");
  EXPECT_EQ(context_.settings.DataDir, scratch_.Path().string());
  EXPECT_TRUE(panel_.ConfigurationShown());
  EXPECT_EQ(panel_.View().Colour(PanelField::MinInputE), FieldColour::Window);
  EXPECT_TRUE(context_.state.TimerEnabled);

  // The next dialog starts in that folder; cancelled, it changes nothing.
  ui_.ChooseFile(std::nullopt);
  EXPECT_FALSE(files_.Otworz1Click());
  EXPECT_EQ(ui_.Dialogs().back().directory, scratch_.Path().string());
  EXPECT_EQ(context_.fileName, path);

  files_.Nowy1Click();
  EXPECT_EQ(context_.fileName, "No_name");
  EXPECT_FALSE(panel_.ConfigurationShown());
  EXPECT_EQ(context_.caption, "Unspecified type");

  // Opened with a module connected, every field differs from the module.
  context_.state.Connected = true;
  context_.state.ZeroCoefficients = true;
  context_.state.Programmed = true;
  OpenExample();
  for (FieldColour colour : panel_.View().Colours) EXPECT_EQ(colour, FieldColour::Aqua);
  EXPECT_FALSE(context_.state.ZeroCoefficients);
  EXPECT_FALSE(context_.state.Programmed);
}

TEST_F(FileCommandsTest, CorruptedFileIsReportedAndGivesNew) {
  WriteBytes(scratch_ / "bad.par", "Device=Q5495\r\nTyp=10\r\n");
  ui_.ChooseFile((scratch_ / "bad.par").string());
  EXPECT_FALSE(files_.Otworz1Click());
  ASSERT_EQ(ui_.MessageTexts(), std::vector<std::string>{"Corrupted or wrong data file!"});
  EXPECT_EQ(ui_.Messages()[0].icon, MessageIcon::Error);
  EXPECT_FALSE(panel_.ConfigurationShown());
  EXPECT_EQ(context_.fileName, "No_name");
  EXPECT_EQ(context_.config.Typ, kTypNone);
}

TEST_F(FileCommandsTest, SaveAsksForANameOnlyWhileTheConfigurationHasNone) {
  const std::string path = OpenExample();
  context_.config.kod = "changed";
  ASSERT_TRUE(files_.Zachowaj1Click());
  EXPECT_EQ(ui_.Dialogs().size(), 1u) << "saved under its name";
  EXPECT_NE(ReadBytes(path).find("kod=changed\r\n"), std::string::npos);

  context_.fileName = "No_name";
  const std::string target = (scratch_ / "copy.par").string();
  ui_.ChooseFile(target);
  ASSERT_TRUE(files_.Zachowaj1Click());
  const FileDialogRequest request = ui_.Dialogs().back();
  EXPECT_TRUE(request.save);
  EXPECT_EQ(request.fileName, "No_name");
  EXPECT_EQ(request.defaultExtension, "par");
  EXPECT_EQ(context_.fileName, target);
  EXPECT_EQ(context_.caption, "Q5495 - " + target);
  ModuleConfig back;
  InputLimits limits;
  std::string dataDir;
  ASSERT_TRUE(ReadParametersFile(target, back, limits, dataDir));
  EXPECT_EQ(back.kod, "changed");
}

TEST_F(FileCommandsTest, SaveStopsOnlyForAValueRefusedAsItSaves) {
  const std::string path = OpenExample();
  ASSERT_FALSE(panel_.MaxInputEExit("1400"));
  ui_.Forget();
  context_.config.kod = "after";
  ASSERT_TRUE(files_.Zachowaj1Click()) << "the refusal was told; the field holds the old value";
  EXPECT_TRUE(ui_.Messages().empty());
  EXPECT_NE(ReadBytes(path).find("kod=after\r\n"), std::string::npos);

  // The value being typed is checked first; refused, nothing is saved.
  panel_.CommitTyping = [&] { panel_.MaxInputEExit("1400"); };
  context_.config.kod = "refused";
  EXPECT_FALSE(files_.Zachowaj1Click());
  EXPECT_EQ(ui_.MessageTexts(), std::vector<std::string>{"Maximum out of range!"});
  EXPECT_EQ(ReadBytes(path).find("kod=refused"), std::string::npos);
}

TEST_F(FileCommandsTest, SaveWithoutConfigurationWritesNothing) {
  EXPECT_FALSE(panel_.CheckParam(true, true));
  EXPECT_TRUE(ui_.Messages().empty()) << "quiet";
  EXPECT_FALSE(files_.Zachowaj1Click());
  EXPECT_FALSE(files_.Zapiszjako1Click());
  EXPECT_TRUE(ui_.Dialogs().empty());
  EXPECT_EQ(ui_.MessageTexts(), (std::vector<std::string>{"No parameters!", "No parameters!"}));
  EXPECT_EQ(ui_.Messages()[0].icon, MessageIcon::Error);
  EXPECT_EQ(ui_.Beeps(), (std::vector<BeepKind>{BeepKind::Exclamation, BeepKind::Exclamation}));
}

TEST_F(FileCommandsTest, UnwritableFileIsNamedInTheWarning) {
  OpenExample();
  const std::string target = (scratch_ / "missing" / "k.par").string();
  ui_.ChooseFile(target);
  EXPECT_FALSE(files_.Zapiszjako1Click());
  ASSERT_EQ(ui_.MessageTexts(), std::vector<std::string>{"Cannot open file:\n" + target});
  EXPECT_EQ(ui_.Messages()[0].icon, MessageIcon::Warning);
  EXPECT_EQ(context_.fileName, target);
  EXPECT_TRUE(context_.state.TimerEnabled);
}

}  // namespace
}  // namespace q5480
