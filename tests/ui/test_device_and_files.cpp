// The main window against the emulated module: Open and Save as of a
// parameters file, Write, Verify and Read of its configuration, live values.
#include <sys/stat.h>

#include <QStatusBar>

#include "emulator/module_memory.h"
#include "ui_fixture.h"

namespace q5480::test {
namespace {

constexpr const char* kThermocoupleK =
    "Parametry miernika serii Q5480\r\n\r\nDevice=Q5495\r\n\r\nCzujnik:\r\nTyp=10\r\nTryb=7\r\n"
    "Lin=2\r\n\r\n\r\nParametry:\r\nMinInput=0\r\nMaxInput=1000\r\nRoomT=25\r\nZeroReg=0\r\n"
    "GainReg=0\r\nFiltrZakres=1\r\nFiltrCzas=20\r\nFiltrLimit=0\r\nBurnout=1\r\nSiec=50\r\n"
    "Jednostki=8\r\n\r\nInformacje:\r\nFactory:\r\nserial=2612001\r\ndata=06.12.2026\r\nUser:\r\n"
    "kod=TC-OVEN-2\r\nogolne=Hardening oven 2, upper zone\r\nogolne1=\r\n\r\n\r\n\r\n\r\n\r\n\r\n"
    "\r\n\r\n\r\n\r\n\r\n\r\nKropka=0\r\n";

class DeviceAndFiles : public ProgramTest {
 protected:
  void SetUp() override { StartConnected(); }

  MainWindow& Window() { return program_->Window(); }
  ProgramContext& Context() { return program_->Context(); }

  // `command` with `path` chosen in its file dialog.
  void Choose(ModalAnswers& answers, QAction* command, const std::filesystem::path& path) {
    answers.Then([path](QWidget* window) { return ChooseFile(window, path); });
    command->trigger();
    ASSERT_TRUE(answers.AllUsed());
  }
  // The oven's parameters file opened with the module connected.
  std::filesystem::path OpenOven(ModalAnswers& answers) { return OpenParameters(answers, kThermocoupleK, "oven.par"); }
};

TEST_F(DeviceAndFiles, OpenShowsTheFileAndWriteProgramsTheModuleWhichVerifies) {
  ModalAnswers answers;
  const std::filesystem::path oven = OpenOven(answers);
  EXPECT_EQ(Text(Window().windowTitle()), "Q5495 - " + oven.string());
  EXPECT_EQ(Text(Window().Panel->MinInputE->text()), "    0.0");
  EXPECT_EQ(Text(Window().Panel->MaxInputE->text()), " 1000.0");
  EXPECT_EQ(Text(Window().Panel->KodE->text()), "TC-OVEN-2");
  EXPECT_TRUE(Window().Panel->SenTypeText->text().startsWith(QLatin1String("Thermocouple K")));
  EXPECT_EQ(Window().Panel->BurnoutE->currentIndex(), 1);
  // Loaded while a module is connected: every field differs from it.
  EXPECT_EQ(Window().Panel->KodE->palette().color(QPalette::Base), QColor(0, 255, 255));
  // Save as writes it under another name, which the caption shows.
  const auto copy = scratch_ / "copy.par";
  Choose(answers, Window().Zapiszjako1, copy);
  EXPECT_EQ(Text(Window().windowTitle()), "Q5495 - " + copy.string());
  EXPECT_NE(test_support::ReadBytes(copy).find("kod=TC-OVEN-2\r\n"), std::string::npos);

  bool messageWindowSeen = false;
  answers.Every([&] {
    const MessageWindow* message = Window().Wiadomosc;
    if (message != nullptr && message->isVisible() &&
        message->Label1->text() == QLatin1String("Communicating with device")) {
      messageWindowSeen = true;
    }
  });
  Window().ZapiszT->trigger();
  EXPECT_TRUE(answers.Messages().empty()) << answers.Messages().front();
  EXPECT_EQ(Text(Window().StatusText->text()), " Device programmed");
  EXPECT_TRUE(messageWindowSeen);
  EXPECT_EQ(Window().Wiadomosc, nullptr);
  EXPECT_EQ(Window().Panel->KodE->palette().color(QPalette::Base),
            QApplication::palette().color(QPalette::Base));

  // What the module now measures with.
  ModuleMemory memory(module_.Layout());
  memory.Bytes() = module_.Memory();
  const LayoutAddresses& at = memory.Addresses();
  EXPECT_EQ(memory.Bytes()[at.typ], 10);
  EXPECT_DOUBLE_EQ(memory.Float(at.minInput), 0.0);
  const std::string stored(memory.Bytes().begin() + static_cast<long>(at.textFirst),
                           memory.Bytes().begin() + static_cast<long>(at.textLast) + 1);
  EXPECT_NE(stored.find("TC-OVEN-2"), std::string::npos);

  // Verify is offered from the next tick on.
  ASSERT_TRUE(WaitFor([&] { return Window().Weryfikuj1->isEnabled(); }));
  Window().Weryfikuj1->trigger();
  EXPECT_TRUE(answers.Messages().empty());
  EXPECT_EQ(Text(Window().StatusText->text()), " Verification successful");

  // A module changed behind the program's back fails the verification.
  module_.PokeMemory(at.minInput, static_cast<std::uint8_t>(memory.Bytes()[at.minInput] ^ 0x55));
  Window().Weryfikuj1->trigger();
  ASSERT_EQ(answers.Messages().size(), 1u);
  EXPECT_EQ(answers.Messages()[0], "Errors have been found!");
  EXPECT_EQ(Text(Window().StatusText->text()), " Verification ended with errors");
}

mode_t ModeOf(const std::filesystem::path& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 ? info.st_mode & 07777 : ~mode_t{0};
}

TEST_F(DeviceAndFiles, SavingLeavesAProtectedFileAsItWasAndOthersTheirMode) {
  ModalAnswers answers;
  const std::filesystem::path oven = OpenOven(answers);
  ASSERT_EQ(::chmod(oven.c_str(), 0444), 0);
  const std::string before = test_support::ReadBytes(oven);
  Type(Window().Panel->KodE, QStringLiteral("TC-OVEN-3"));  // something to lose

  Window().Zachowaj1->trigger();
  ASSERT_EQ(answers.Messages().size(), 1u);
  EXPECT_EQ(answers.Messages()[0], "Cannot open file:\n" + oven.string());
  EXPECT_EQ(test_support::ReadBytes(oven), before);
  EXPECT_EQ(ModeOf(oven), 0444u);

  // Save as refuses it in the dialog, which stays open for another name.
  const auto copy = scratch_ / "copy.par";
  ChooseRefusedFile(answers, oven);
  answers.Then([copy](QWidget* window) { return ChooseFile(window, copy); });
  Window().Zapiszjako1->trigger();
  ASSERT_TRUE(answers.AllUsed());
  ASSERT_EQ(answers.Messages().size(), 2u);
  EXPECT_EQ(answers.Messages()[1], "Cannot open file:\n" + oven.string());
  EXPECT_EQ(test_support::ReadBytes(oven), before);
  EXPECT_EQ(Text(Window().windowTitle()), "Q5495 - " + copy.string());

  // A private file stays private.
  ASSERT_EQ(::chmod(copy.c_str(), 0600), 0);
  Type(Window().Panel->KodE, QStringLiteral("TC-OVEN-4"));
  Window().Zachowaj1->trigger();
  EXPECT_EQ(answers.Messages().size(), 2u);
  EXPECT_NE(test_support::ReadBytes(copy).find("kod=TC-OVEN-4\r\n"), std::string::npos);
  EXPECT_EQ(ModeOf(copy), 0600u);
}

TEST_F(DeviceAndFiles, ReadFillsThePanelWithWhatTheModuleHolds) {
  ModalAnswers answers;
  OpenOven(answers);
  Window().ZapiszT->trigger();
  ASSERT_EQ(Text(Window().StatusText->text()), " Device programmed");
  Window().Nowy1->trigger();
  ASSERT_EQ(Text(Window().Panel->SenTypeText->text()), "???");
  ASSERT_TRUE(Window().Panel->KodE->text().isEmpty());
  const int emptyWidth = Window().width();

  Window().OdczytajT->trigger();
  EXPECT_EQ(Window().width(), emptyWidth) << "the window keeps its width";
  EXPECT_TRUE(answers.Messages().empty());
  EXPECT_EQ(Text(Window().Panel->MinInputE->text()), "    0.0");
  EXPECT_EQ(Text(Window().Panel->MaxInputE->text()), " 1000.0");
  EXPECT_EQ(Text(Window().Panel->KodE->text()), "TC-OVEN-2");
  EXPECT_EQ(Text(Window().Panel->OgolneE->text()), "Hardening oven 2, upper zone");
  // The module counts the time constant in steps of 0.16 s: 2 s is kept as 12.
  EXPECT_EQ(Text(Window().Panel->FiltrCzasE->text()), "1.9");
  EXPECT_TRUE(Window().Panel->MinInputE->isEnabled());
  EXPECT_EQ(Text(Window().StatusText->text()), " Information complete");
  EXPECT_EQ(Window().Panel->KodE->palette().color(QPalette::Base),
            QApplication::palette().color(QPalette::Base));
  // Read from the module: the results take their decimals from the range.
  EXPECT_TRUE(Context().state.ConfigRead);
  ASSERT_TRUE(WaitFor([&] { return !Window().ResultDisplay->text().trimmed().isEmpty(); }));
  EXPECT_TRUE(Window().OutputDisplay->text().endsWith(QLatin1String(" mA   ")));
  EXPECT_EQ(Window().OutputDisplay->palette().color(QPalette::WindowText), QColor(Qt::black));
  // An output the module drives on its own is shown in red.
  Window().Timer1->stop();
  Context().display.OutputRed = true;
  Window().Refresh();
  EXPECT_EQ(Window().OutputDisplay->palette().color(QPalette::WindowText), QColor(Qt::red));
}

}  // namespace
}  // namespace q5480::test
