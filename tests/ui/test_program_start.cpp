// Start and end of the desktop program against an emulated module.
#include <QKeyEvent>
#include <QListWidget>
#include <QStatusBar>

#include "config/settings_file.h"
#include "ui/port_dialog.h"
#include "ui/splash_window.h"
#include "ui_fixture.h"

namespace q5480::test {
namespace {

void PressKey(QWidget* window, Qt::Key key) {
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
  QApplication::sendEvent(window, &press);
  QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
  QApplication::sendEvent(window, &release);
}

using DesktopStart = ProgramTest;

TEST_F(DesktopStart, OpensThePortOfTheSettingsFileAndTheEndStoresPositionAndLanguage) {
  WriteSettings(kTestPort, "Polski");  // no such language file here
  DesktopOptions options = Options();
  options.link.portSettleTime = LinkSettings{}.portSettleTime;  // as the program runs
  program_ = std::make_unique<DesktopProgram>(options);
  ModalAnswers answers;
  ASSERT_TRUE(program_->Start());
  MainWindow& window = program_->Window();
  ASSERT_TRUE(WaitFor([&] { return window.isVisible(); }));
  EXPECT_TRUE(answers.Messages().empty()) << "the missing language is not reported";
  EXPECT_TRUE(program_->Context().link.PortOpen());
  EXPECT_TRUE(window.Timer1->isActive());
  EXPECT_EQ(window.windowTitle().toStdString(), "Unspecified type");
  EXPECT_EQ(window.StatusText->text().toStdString(), " No parameters");
  EXPECT_EQ(window.Panel->SenTypeText->text().toStdString(), "???");
  EXPECT_EQ(window.pos(), QPoint(40, 30));

  window.move(123, 77);
  ASSERT_TRUE(WaitFor([&] { return window.pos() == QPoint(123, 77); }));
  window.Exit1->trigger();
  EXPECT_FALSE(window.isVisible());
  EXPECT_FALSE(window.Timer1->isActive());
  program_->Stop();
  EXPECT_FALSE(program_->Context().link.PortOpen());
  EXPECT_FALSE(program_->Context().link.LinkStarted());
  ProgramSettings stored;
  ASSERT_TRUE(ReadSettingsFile(ProgramDirectory(), stored, {0, 0, 1920, 1080}));
  EXPECT_EQ(stored.MainLeft, 123);
  EXPECT_EQ(stored.MainTop, 77);
  EXPECT_EQ(stored.Language, "English");
  EXPECT_EQ(stored.ComPort, kTestPort);
}

// A first start, without a settings file, speaks Polish when its language
// file is there.
TEST_F(DesktopStart, AFirstStartSpeaksPolish) {
  InstallLanguageFile("Polski");
  ModalAnswers answers;
  std::string portCaption;
  answers.Then([](QWidget* window) { return PressMessageButton(window, QMessageBox::Ok); });
  answers.When<PortDialog>([&](PortDialog* ports) {
    portCaption = Text(ports->windowTitle());
    ports->reject();
  });
  StartProgram();
  ASSERT_TRUE(answers.AllUsed());
  // No settings file: COM 1, which does not open here, and why in Polish too.
  EXPECT_EQ(answers.Messages(),
            std::vector<std::string>{"Błąd inicjalizacji portu COM1!\nPort nie istnieje."});
  EXPECT_EQ(portCaption, "Port szeregowy");
  MainWindow& window = program_->Window();
  window.Timer1->stop();  // no sample renames the window meanwhile
  ProgramContext& context = program_->Context();
  EXPECT_EQ(context.settings.Language, "Polski");
  EXPECT_EQ(Text(window.Plik1->title()), "&Plik");
  EXPECT_EQ(Text(window.OdczytajT->toolTip()), "Odczytaj ustawienia z urządzenia");
  EXPECT_EQ(Text(window.windowTitle()), "Typ nieokreślony");
  EXPECT_EQ(context.fileName, "Bez_nazwy");
}

TEST_F(DesktopStart, APortThatDoesNotOpenIsReportedAndThePortWindowOffersTheOthers) {
  WriteSettings(12);
  ModalAnswers answers;
  answers.Then([](QWidget* window) { return PressMessageButton(window, QMessageBox::Ok); });
  answers.Then([&](QWidget* window) {
    auto* ports = qobject_cast<PortDialog*>(window);
    if (ports == nullptr) return false;
    const auto found = ports->PortList->findItems(QStringLiteral("COM 7"), Qt::MatchStartsWith);
    if (found.isEmpty()) return false;
    ports->PortList->setCurrentItem(found.constFirst());
    ports->OKClick();
    return true;
  });
  StartProgram();
  ASSERT_EQ(answers.Messages().size(), 1u);
  EXPECT_EQ(answers.Messages()[0], "COM12 initialization failed!\nThe port does not exist.");
  EXPECT_TRUE(answers.AllUsed());
  EXPECT_TRUE(program_->Context().link.PortOpen());
  EXPECT_EQ(program_->Context().settings.ComPort, kTestPort);
}

TEST_F(DesktopStart, TheSplashWindowGoesOnWithEnterAndEndsTheProgramWithEsc) {
  struct Case {
    Qt::Key key;
    bool runs;
  };
  for (const Case& c : {Case{Qt::Key_Escape, false}, Case{Qt::Key_Return, true}}) {
    SCOPED_TRACE(static_cast<int>(c.key));
    WriteSettings(kTestPort);
    const std::string settingsBefore =
        test_support::ReadBytes(ProgramDirectory() / kSettingsFileName);
    DesktopOptions options = Options();
    options.showSplash = true;
    auto program = std::make_unique<DesktopProgram>(options);
    ModalAnswers answers;
    std::string title;
    answers.When<SplashWindow>([&](SplashWindow* splash) {
      title = splash->Title->text().toStdString() + " " + splash->Wersja->text().toStdString();
      PressKey(splash->focusWidget() != nullptr ? splash->focusWidget() : splash, c.key);
    });
    EXPECT_EQ(program->Start(), c.runs);
    EXPECT_EQ(title, "Q5480 Panel Meters v 2.00");
    EXPECT_EQ(program->Window().isVisible(), c.runs);
    EXPECT_EQ(program->Context().link.PortOpen(), c.runs);
    program.reset();
    // Ended at the splash window, the program leaves its settings alone.
    if (!c.runs) {
      EXPECT_EQ(test_support::ReadBytes(ProgramDirectory() / kSettingsFileName), settingsBefore);
    }
  }
}

}  // namespace
}  // namespace q5480::test
