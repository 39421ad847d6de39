// The world of a window test: the real desktop program in a program
// directory of its own, talking through a pseudo-terminal to an emulated
// module that it finds as COM 7, and helpers that answer its modal windows
// as a person would.
#pragma once

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "support/module_on_line.h"
#include "support/scratch_directory.h"
#include "ui/desktop_program.h"

namespace q5480::test {

inline constexpr int kTestPort = 7;

// A level transmitter: 4 to 20 mA (4 + 0.16 x) shown as 0 to 100 %.
inline constexpr const char* kLevelTransmitter =
    "Device=Q5495\r\nTyp=17\r\nTryb=1\r\nLin=4\r\nMinInput=0\r\nMaxInput=100\r\nRoomT=25\r\n"
    "ZeroReg=0\r\nGainReg=0\r\nFiltrZakres=5\r\nFiltrCzas=10\r\nFiltrLimit=10\r\nBurnout=0\r\n"
    "Siec=50\r\nJednostki=9\r\nserial=2612001\r\ndata=06.12.2026\r\nkod=LT-104\r\n"
    "ogolne=Feed water level, boiler 1\r\nogolne1=\r\nLinA=4\r\nLinB=0.16\r\nLinC=0\r\nLinD=0\r\n"
    "LinE=0\r\nLinF=0\r\nLinG=0\r\nLinH=0\r\nLinI=0\r\nLinJ=0\r\nLinK=100\r\nKropka=0\r\n";

inline std::string Text(const QString& text) { return text.toStdString(); }

// The status bar's text without the fingerprint that a read or a write adds.
inline std::string StatusWithoutFingerprint(const QLabel& status) {
  const std::string text = Text(status.text());
  return text.substr(0, text.find("   "));
}

// The one application object of the test program, offscreen unless the
// caller chose a platform (the screenshot script runs under a display).
QApplication& Application();

// Runs the event loop until `condition` holds or the generous bound passed.
bool WaitFor(const std::function<bool()>& condition,
             std::chrono::milliseconds bound = std::chrono::seconds(10));

// Answers the modal windows that open while a step runs: each handler gets
// the window and returns true once it has dealt with it. Message boxes that
// no handler takes are answered with their default button and recorded.
class ModalAnswers {
 public:
  ModalAnswers();
  ~ModalAnswers();
  ModalAnswers(const ModalAnswers&) = delete;
  ModalAnswers& operator=(const ModalAnswers&) = delete;

  void Then(std::function<bool(QWidget*)> handler) { handlers_.push_back(std::move(handler)); }
  // The next modal window, once it is a `Window`, gets `act`.
  template <typename Window>
  void When(std::function<void(Window*)> act) {
    Then([act = std::move(act)](QWidget* shown) {
      auto* window = qobject_cast<Window*>(shown);
      if (window != nullptr) act(window);
      return window != nullptr;
    });
  }
  // Runs at every poll, also while a transfer runs.
  void Every(std::function<void()> watcher) { watchers_.push_back(std::move(watcher)); }
  // "text" of each message box seen.
  const std::vector<std::string>& Messages() const { return messages_; }
  bool AllUsed() const { return handlers_.empty(); }

 private:
  void Schedule();
  void Poll();

  std::vector<std::function<bool(QWidget*)>> handlers_;
  std::vector<std::function<void()>> watchers_;
  std::vector<std::string> messages_;
  QObject* timer_;
};

// Chooses `path` in an open or save dialog.
bool ChooseFile(QWidget* window, const std::filesystem::path& path);

// Typed as a person would; Enter ends the entry and checks it.
void Type(QLineEdit* field, const QString& text, bool enter = true);

// What a screen reader or a GUI test tool does through the accessibility
// interface: the Toggle action of a check box or radio button, and the text
// of a field replaced as a whole (QAccessibleEditableTextInterface).
void ToggleAccessibly(QAbstractButton* button);
void ReplaceTextAccessibly(QLineEdit* field, const QString& text);

// Clicks the button of a message box with this role.
bool PressMessageButton(QWidget* window, QMessageBox::StandardButton button);

// Every control a person works in `window` says what it is to a screen reader.
void ExpectAccessibleNames(QWidget& window);

// The language of the window pictures: Q5480_SCREENSHOTS_LANGUAGE
// (scripts/screenshots.sh), else English.
std::string PictureLanguage();

// The folder the pictures go to: Q5480_SCREENSHOTS, else `fallback`.
std::filesystem::path PictureFolder(const std::filesystem::path& fallback);

class ProgramTest : public ::testing::Test {
 protected:
  explicit ProgramTest(std::uint16_t modelNumber = 5495);
  ~ProgramTest() override;

  // The settings file of the program directory names COM `port` and
  // `language`. English unless a test asks for another: the tests check the
  // English texts, and the program's own default is Polish.
  void WriteSettings(int port, const std::string& language = "English");
  // The language file that comes with the program, put in the program
  // directory as an installation has it.
  void InstallLanguageFile(const std::string& language);
  DesktopOptions Options() const;
  // Starts the program as main() does, past the splash window.
  void StartProgram();
  // Starts the program on COM 7 in `language` (whose file it installs) and
  // waits until it polls the module.
  void StartConnected(const std::string& language = "English");
  // File › Open of `text` saved as `name` in the scratch folder; gives its path.
  std::filesystem::path OpenParameters(ModalAnswers& answers, const std::string& text,
                                       const std::string& name);

  std::filesystem::path ProgramDirectory() const { return scratch_ / "program"; }

  test_support::ScratchDirectory scratch_;
  test_support::ModuleOnLine line_;
  EmulatedModule& module_;
  std::unique_ptr<DesktopProgram> program_;
};

}  // namespace q5480::test
