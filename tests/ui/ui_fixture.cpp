#include "ui_fixture.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <algorithm>
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

void Type(QLineEdit* field, const QString& text, bool enter) {
  field->setFocus();
  field->selectAll();
  QTest::keyClicks(field, text);
  if (enter) QTest::keyClick(field, Qt::Key_Return);
}

void ToggleAccessibly(QAbstractButton* button) {
  QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(button);
  ASSERT_NE(accessible, nullptr);
  ASSERT_NE(accessible->actionInterface(), nullptr);
  const QString toggle = QAccessibleActionInterface::toggleAction();
  ASSERT_TRUE(accessible->actionInterface()->actionNames().contains(toggle));
  accessible->actionInterface()->doAction(toggle);
}

void ReplaceTextAccessibly(QLineEdit* field, const QString& text) {
  QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(field);
  ASSERT_NE(accessible, nullptr);
  ASSERT_NE(accessible->editableTextInterface(), nullptr);
  accessible->editableTextInterface()->replaceText(0, static_cast<int>(field->text().size()), text);
}

bool PressMessageButton(QWidget* window, QMessageBox::StandardButton which) {
  auto* box = qobject_cast<QMessageBox*>(window);
  if (box == nullptr || box->button(which) == nullptr) return false;
  box->button(which)->click();
  return true;
}

void ExpectAccessibleNames(QWidget& window) {
  const auto labels = window.findChildren<QLabel*>();
  for (QWidget* control : window.findChildren<QWidget*>()) {
    if (!control->isVisibleTo(&window)) continue;
    const std::string name =
        window.objectName().toStdString() + "." + control->objectName().toStdString();
    if (qobject_cast<QComboBox*>(control)) {
      // A list would fall back on its current item: it needs a label or a name.
      const bool labelled = std::any_of(labels.begin(), labels.end(), [&](QLabel* label) {
        return label->buddy() == control && !label->text().isEmpty();
      });
      EXPECT_TRUE(labelled || !control->accessibleName().isEmpty()) << name;
      continue;
    }
    // The line edit inside a spin box or a list, and the scroll bars of a
    // text area, are named by their owner.
    QWidget* owner = control->parentWidget();
    const bool inner = qobject_cast<QAbstractSpinBox*>(owner) || qobject_cast<QComboBox*>(owner);
    if (qobject_cast<QScrollBar*>(control) && owner != nullptr &&
        qobject_cast<QAbstractScrollArea*>(owner->parentWidget()))
      continue;
    const bool worked =
        qobject_cast<QAbstractButton*>(control) || qobject_cast<QAbstractSlider*>(control) ||
        qobject_cast<QAbstractSpinBox*>(control) || qobject_cast<QPlainTextEdit*>(control) ||
        qobject_cast<QTabWidget*>(control) || (qobject_cast<QLineEdit*>(control) && !inner);
    if (!worked) continue;
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(control);
    ASSERT_NE(accessible, nullptr) << name;
    EXPECT_FALSE(accessible->text(QAccessible::Name).trimmed().isEmpty()) << name;
  }
  for (QTabWidget* pages : window.findChildren<QTabWidget*>()) {
    for (int i = 0; i < pages->count(); ++i) EXPECT_FALSE(pages->tabText(i).isEmpty());
  }
}

std::string PictureLanguage() {
  const char* language = std::getenv("Q5480_SCREENSHOTS_LANGUAGE");
  return language != nullptr && *language != '\0' ? std::string(language) : std::string("English");
}

std::filesystem::path PictureFolder(const std::filesystem::path& fallback) {
  const char* folder = std::getenv("Q5480_SCREENSHOTS");
  const std::filesystem::path chosen =
      folder != nullptr && *folder != '\0' ? std::filesystem::path(folder) : fallback;
  std::filesystem::create_directories(chosen);
  return chosen;
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

void ProgramTest::InstallLanguageFile(const std::string& language) {
  const auto file = std::filesystem::path(Q5480_SOURCE_DIR) / "lang" / (language + ".lan");
  std::filesystem::copy_file(file, ProgramDirectory() / file.filename(),
                             std::filesystem::copy_options::overwrite_existing);
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

void ProgramTest::StartConnected(const std::string& language) {
  if (language != "English") InstallLanguageFile(language);
  WriteSettings(kTestPort, language);
  StartProgram();
  ASSERT_EQ(program_->Context().settings.Language, language) << "its file was refused";
  ASSERT_TRUE(WaitFor([&] {
    return program_->Context().state.Connected && program_->Window().OdczytajT->isEnabled();
  }));
}

std::filesystem::path ProgramTest::OpenParameters(ModalAnswers& answers, const std::string& text,
                                                  const std::string& name) {
  const auto path = scratch_ / name;
  test_support::WriteBytes(path, text);
  answers.Then([path](QWidget* shown) { return ChooseFile(shown, path); });
  program_->Window().Otworz1->trigger();
  EXPECT_TRUE(answers.AllUsed()) << name;
  return path;
}

}  // namespace q5480::test
