// New, Open, Save and Save as of parameters files.
#include "config/parameters_file.h"
#include "workflow_fixture.h"

namespace q5480 {
namespace {

using test_support::ScratchDirectory;
using test_support::WriteBytes;

class FileCommandsTest : public ::testing::Test {
 protected:
  FileCommandsTest() : context_(ui_), panel_(context_), files_(context_, panel_) {
    context_.programDirectory = scratch_.Path();
    panel_.odnowa();
    context_.state.TimerEnabled = true;
  }

  // A parameters file of a type K thermocouple written by the program itself.
  std::string WriteExample(const std::string& name) {
    ModuleConfig k;
    k.Device = "Q5495";
    k.Typ = 10;
    k.Tryb = 7;
    k.Lin = kLinTable;
    k.MinInput = 0;
    k.MaxInput = 1000;
    k.FiltrZakres = 20;
    k.kod = "TI-7";
    std::string dataDir;
    const std::string path = (scratch_ / name).string();
    EXPECT_TRUE(WriteParametersFile(path, k, RegionalSettings{}, dataDir));
    return path;
  }

  ScratchDirectory scratch_;
  RecordingUi ui_;
  ProgramContext context_;
  ParameterPanel panel_;
  FileCommands files_;
};

TEST_F(FileCommandsTest, OpenShowsTheFileAndRemembersItsFolder) {
  const std::string path = WriteExample("k.par");
  ui_.ChooseFile(path);
  ASSERT_TRUE(files_.Otworz1Click());
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

  // The next dialog starts in that folder.
  ui_.ChooseFile(std::nullopt);
  EXPECT_FALSE(files_.Otworz1Click());
  EXPECT_EQ(ui_.Dialogs().back().directory, scratch_.Path().string());
  EXPECT_EQ(context_.fileName, path) << "a cancelled dialog changes nothing";
}

TEST_F(FileCommandsTest, OpenWithAModuleConnectedMarksEveryField) {
  context_.state.Connected = true;
  context_.state.ZeroCoefficients = true;
  context_.state.Programmed = true;
  ui_.ChooseFile(WriteExample("k.par"));
  ASSERT_TRUE(files_.Otworz1Click());
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
  EXPECT_EQ(context_.config.Typ, 20);
}

TEST_F(FileCommandsTest, SaveOfANewConfigurationAsksForAName) {
  ui_.ChooseFile(WriteExample("k.par"));
  ASSERT_TRUE(files_.Otworz1Click());
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
  EXPECT_EQ(back.kod, "TI-7");
}

TEST_F(FileCommandsTest, SaveUnderTheCurrentNameNeedsNoDialog) {
  const std::string path = WriteExample("k.par");
  ui_.ChooseFile(path);
  ASSERT_TRUE(files_.Otworz1Click());
  context_.config.kod = "changed";
  ASSERT_TRUE(files_.Zachowaj1Click());
  EXPECT_EQ(ui_.Dialogs().size(), 1u);
  EXPECT_NE(test_support::ReadBytes(path).find("kod=changed\r\n"), std::string::npos);
}

TEST_F(FileCommandsTest, SaveWithoutConfigurationWritesNothing) {
  EXPECT_FALSE(files_.Zachowaj1Click());
  EXPECT_FALSE(files_.Zapiszjako1Click());
  EXPECT_TRUE(ui_.Dialogs().empty());
  EXPECT_EQ(ui_.MessageTexts(), (std::vector<std::string>{"No parameters!", "No parameters!"}));
}

TEST_F(FileCommandsTest, UnwritableFileIsNamedInTheWarning) {
  ui_.ChooseFile(WriteExample("k.par"));
  ASSERT_TRUE(files_.Otworz1Click());
  const std::string target = (scratch_ / "missing" / "k.par").string();
  ui_.ChooseFile(target);
  EXPECT_FALSE(files_.Zapiszjako1Click());
  ASSERT_EQ(ui_.MessageTexts(), std::vector<std::string>{"Cannot open file:\n" + target});
  EXPECT_EQ(ui_.Messages()[0].icon, MessageIcon::Warning);
  EXPECT_EQ(context_.fileName, target);
  EXPECT_TRUE(context_.state.TimerEnabled);
}

TEST_F(FileCommandsTest, NewForgetsTheFile) {
  ui_.ChooseFile(WriteExample("k.par"));
  ASSERT_TRUE(files_.Otworz1Click());
  files_.Nowy1Click();
  EXPECT_EQ(context_.fileName, "No_name");
  EXPECT_FALSE(panel_.ConfigurationShown());
  EXPECT_EQ(context_.caption, "Unspecified type");
}

}  // namespace
}  // namespace q5480
