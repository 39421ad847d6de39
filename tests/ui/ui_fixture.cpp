#include "ui_fixture.h"

#include <QAbstractButton>
#include <QFileDialog>
#include <QTimer>
#include <cstdlib>
#include <thread>

#include "config/settings_file.h"

// Qt's own libraries keep allocations to the end of the process.
extern "C" const char* __asan_default_options() { return "detect_leaks=0"; }

namespace q5480::test {

QApplication& Application() {
  if (auto* existing = qobject_cast<QApplication*>(QCoreApplication::instance())) return *existing;
  ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
  // The file dialogs remember folders in Qt's own settings: those of the
  // test program, not the person's, and none from an earlier run.
  static const test_support::ScratchDirectory qtSettings;
  ::setenv("XDG_CONFIG_HOME", qtSettings.Path().c_str(), 1);
  static int argc = 1;
  static char name[] = "test_ui";
  static char* argv[] = {name, nullptr};
  // Lives to the end of the process: Qt's own globals go before static
  // objects would, and a QApplication destroyed after them crashes.
  auto* application = new QApplication(argc, argv);
  // Tests close windows and go on with the next.
  QApplication::setQuitOnLastWindowClosed(false);
  ApplyProgramStyle();
  return *application;
}

bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds bound) {
  const auto end = std::chrono::steady_clock::now() + bound;
  while (!condition()) {
    if (std::chrono::steady_clock::now() > end) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

ModalAnswers::ModalAnswers() : timer_(new QObject) { Schedule(); }

ModalAnswers::~ModalAnswers() { delete timer_; }  // and with it the next poll

// A timer does not fire again while its own slot runs, so each poll is a new
// one: a handler's window may open another that the next poll answers.
void ModalAnswers::Schedule() {
  QTimer::singleShot(10, timer_, [this] {
    Schedule();
    Poll();
  });
}

void ModalAnswers::Poll() {
  for (const auto& watcher : watchers_) watcher();
  QWidget* window = QApplication::activeModalWidget();
  if (window == nullptr || !window->isVisible()) return;
  auto* box = qobject_cast<QMessageBox*>(window);
  if (box != nullptr && box->property("recorded").isNull()) {
    box->setProperty("recorded", true);
    messages_.push_back(box->text().toStdString());
  }
  if (!handlers_.empty()) {
    // A handler may open another modal window, which the next polls answer.
    auto handler = std::move(handlers_.front());
    handlers_.erase(handlers_.begin());
    if (handler(window)) return;
    handlers_.insert(handlers_.begin(), std::move(handler));
  }
  if (box != nullptr) {
    QAbstractButton* button = box->defaultButton();
    if (button == nullptr && !box->buttons().isEmpty()) button = box->buttons().constFirst();
    if (button != nullptr) button->click();
  }
}

bool ChooseFile(QWidget* window, const std::filesystem::path& path) {
  auto* dialog = qobject_cast<QFileDialog*>(window);
  if (dialog == nullptr) return false;
  // The dialog leaves its name field alone while the field has the focus.
  if (QWidget* focused = QApplication::focusWidget()) focused->clearFocus();
  dialog->selectFile(QString::fromStdString(path.string()));
  static_cast<QDialog*>(dialog)->accept();  // as the dialog's own Open button does
  // A dialog still reading its folder may refuse; the next poll tries again.
  return !dialog->isVisible();
}

bool PressMessageButton(QWidget* window, QMessageBox::StandardButton which) {
  auto* box = qobject_cast<QMessageBox*>(window);
  if (box == nullptr || box->button(which) == nullptr) return false;
  box->button(which)->click();
  return true;
}

ProgramTest::ProgramTest(std::uint16_t modelNumber)
    : line_(test_support::ModuleWith(test_support::kNewId, modelNumber), scratch_ / "ports",
            kTestPort),
      module_(line_.module) {
  Application();
  std::filesystem::create_directories(ProgramDirectory());
}

ProgramTest::~ProgramTest() {
  program_.reset();
  QCoreApplication::processEvents();
}

void ProgramTest::WriteSettings(int port, const std::string& language) {
  ProgramSettings settings;
  settings.ComPort = static_cast<std::uint16_t>(port);
  settings.Language = language;
  settings.MainLeft = 40;
  settings.MainTop = 30;
  ASSERT_TRUE(WriteSettingsFile(ProgramDirectory(), settings));
}

DesktopOptions ProgramTest::Options() const {
  DesktopOptions options;
  options.programDirectory = ProgramDirectory();
  options.desktop = {0, 0, 1920, 1080};
  options.link = test_support::TestLinkSettings(scratch_ / "ports");
  options.showSplash = false;
  return options;
}

void ProgramTest::StartProgram() {
  program_ = std::make_unique<DesktopProgram>(Options());
  ASSERT_TRUE(program_->Start());
}

}  // namespace q5480::test
