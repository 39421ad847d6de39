// Transfers of the desktop program against the emulated module: one at a
// time whatever route asks for a second, commands that are off whatever
// route reaches them, and the question about a module of another model,
// never over a modal window.
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <chrono>

#include "ui/meter_type_dialog.h"
#include "ui/resistance_voltage_dialog.h"
#include "ui/sensor_dialog.h"
#include "ui_fixture.h"

namespace q5480::test {
namespace {

constexpr const char* kInconsistency =
    "Type of panel meter inconsistency! New data will be read.\n"
    "Disconnect the panel meter and press Cancel to preserve present configuration.";

// Answers the next `Window` once Timer1 has ticked `count` times while it
// was up, as a person who takes time to choose.
template <typename Window>
std::function<bool(QWidget*)> AfterTicks(const int& ticks, int count, std::function<void(Window*)> act) {
  return [&ticks, count, act = std::move(act), until = -1,
          deadline = std::chrono::steady_clock::time_point()](QWidget* shown) mutable {
    auto* window = qobject_cast<Window*>(shown);
    if (window == nullptr) return false;
    if (until < 0) {
      until = ticks + count;
      deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    }
    if (ticks < until && std::chrono::steady_clock::now() < deadline) return false;
    act(window);
    return true;
  };
}

class Transfers : public ProgramTest {
 protected:
  void SetUp() override {
    StartConnected();
  }
  MainWindow& Window() { return program_->Window(); }
  // Every transfer starts by asking the module for its identifier.
  long TransferCount() const {
    const auto requests = line_.interposer.Requests();
    return std::count_if(requests.begin(), requests.end(), [](const test_support::Bytes& r) {
      return r[0] == 's' && r[1] == kIdentifyCount;
    });
  }
  long Requests(std::uint8_t code) const { return line_.interposer.CountOf(code); }
};

TEST_F(Transfers, ReadAskedForTwiceAtOnceRunsOnceAndTheProgramGoesOn) {
  ModalAnswers answers;
  // Ctrl+O pressed twice in a row: the second press comes while the first
  // read runs.
  for (int press = 0; press < 2; ++press) {
    QTimer::singleShot(0, &Window(), [this] { QTest::keyClick(&Window(), Qt::Key_O, Qt::ControlModifier); });
  }
  ASSERT_TRUE(WaitFor([&] { return TransferCount() >= 1 && !program_->Context().state.InTransfer; }));
  ASSERT_TRUE(WaitFor([&] { return program_->Context().state.ConfigRead; }));
  QCoreApplication::processEvents();
  EXPECT_EQ(TransferCount(), 1);
  EXPECT_TRUE(answers.Messages().empty()) << answers.Messages().front();
  // Polling runs again and the window answers.
  const long polls = Requests('m');
  ASSERT_TRUE(WaitFor([&] { return Requests('m') > polls + 3; }));
  Window().Nowy1->trigger();
  EXPECT_EQ(Window().Panel->SenTypeText->text(), QStringLiteral("???"));
}

TEST_F(Transfers, WriteAndVerifyByShortcutSendNothingWhileTheyAreOff) {
  ModalAnswers answers;
  EXPECT_FALSE(Window().Weryfikuj1->isEnabled()) << "nothing programmed yet";
  QTest::keyClick(&Window(), Qt::Key_W, Qt::ControlModifier);
  Window().MonOnly1->trigger();
  EXPECT_FALSE(Window().Zapisz1->isEnabled());
  EXPECT_FALSE(Window().ZapiszT->isEnabled());
  QTest::keyClick(&Window(), Qt::Key_Z, Qt::ControlModifier);
  QTest::keyClick(&Window(), Qt::Key_O, Qt::ControlModifier);
  // The menu items and tool buttons reached any other way.
  for (QAction* action : {Window().Zapisz1, Window().ZapiszT, Window().Weryfikuj1, Window().Odczytaj1}) {
    action->trigger();
  }
  QCoreApplication::processEvents();
  EXPECT_EQ(TransferCount(), 0);
  EXPECT_EQ(Requests('D'), 0);
  EXPECT_TRUE(answers.Messages().empty()) << answers.Messages().front();
}

TEST_F(Transfers, EveryCommandHasAStateAndAnAccessibleName) {
  const CommandStates& states = program_->Logic().Commands();
  for (QAction* action : Window().findChildren<QAction*>()) {
    const std::string name = action->objectName().toStdString();
    if (name.empty() || action->isSeparator() || action->menu() != nullptr) continue;
    EXPECT_EQ(states.count(name), 1u) << name;
    EXPECT_FALSE(action->text().isEmpty()) << name;
  }
  ExpectAccessibleNames(Window());
}

// New, then the sensor button before a tick has taken the module's model
// (a Q5495), with the selection windows left open for some ticks: nothing
// comes over them, and once they have closed the model check concerns the
// model chosen in them.
TEST_F(Transfers, TicksUnderTheSelectionWindowsAskNothingAndAfterOkOnlyAboutAnotherModel) {
  ProgramContext& context = program_->Context();
  int ticks = 0;
  QObject counter;
  QObject::connect(Window().Timer1, &QTimer::timeout, &counter, [&ticks] { ++ticks; });
  struct Case {
    const char* chosen;
    bool asked;  // and answered with OK, which reads the module's configuration
  };
  for (const Case& k : {Case{"Q5495", false}, Case{"Q5497", true}}) {
    SCOPED_TRACE(k.chosen);
    line_.interposer.ClearRequests();
    ModalAnswers answers;
    Window().Nowy1->trigger();
    ASSERT_TRUE(context.config.Device.empty());
    const QString chosen = QString::fromLatin1(k.chosen);
    answers.Then(AfterTicks<MeterTypeDialog>(ticks, 1, [chosen](MeterTypeDialog* window) {
      window->TypeList->setCurrentItem(window->TypeList->findItems(chosen, Qt::MatchExactly).front());
      window->OKClick();
    }));
    answers.When<SensorDialog>([](SensorDialog* window) { window->MoreBClick(); });
    std::string resultUnderTheWindow;
    answers.Then(
        AfterTicks<ResistanceVoltageDialog>(ticks, 3, [&](ResistanceVoltageDialog* window) {
          resultUnderTheWindow = context.display.ResultText;
          window->OKBClick();
        }));
    const int openedAt = ticks;
    context.display.Clear();  // what the ticks under the windows show
    Window().Panel->SenSel->click();
    ASSERT_TRUE(answers.AllUsed());
    EXPECT_GE(ticks, openedAt + 4);
    EXPECT_TRUE(answers.Messages().empty()) << answers.Messages().front();
    EXPECT_EQ(TransferCount(), 0);
    EXPECT_FALSE(resultUnderTheWindow.empty()) << "the displays stay live";
    EXPECT_EQ(context.config.Device, k.chosen);
    EXPECT_EQ(context.config.Typ, 16);

    if (k.asked) answers.Then([](QWidget* shown) { return PressMessageButton(shown, QMessageBox::Ok); });
    const int closedAt = ticks;
    ASSERT_TRUE(WaitFor([&] { return ticks >= closedAt + 2 && !context.state.InTransfer; }));
    EXPECT_EQ(answers.Messages(), k.asked ? std::vector<std::string>{kInconsistency} : std::vector<std::string>{});
    EXPECT_EQ(TransferCount(), k.asked ? 1 : 0);
    EXPECT_EQ(context.config.Device, "Q5495");
  }
}

class AnotherModel : public ProgramTest {
 protected:
  AnotherModel() : ProgramTest(5491) {}
};

TEST_F(AnotherModel, IsAskedAboutUntilOkReadsItsConfiguration) {
  WriteSettings(kTestPort);
  StartProgram();
  ProgramContext& context = program_->Context();
  context.config.Device = "Q5495";  // a configuration made for another model
  ModalAnswers answers;
  std::string deviceAtSecondQuestion;
  answers.Then([](QWidget* shown) { return PressMessageButton(shown, QMessageBox::Cancel); });
  answers.Then([&](QWidget* shown) {
    deviceAtSecondQuestion = context.config.Device;
    return PressMessageButton(shown, QMessageBox::Ok);
  });
  ASSERT_TRUE(WaitFor([&] { return answers.AllUsed() && context.state.ConfigRead; }));
  ASSERT_GE(answers.Messages().size(), 2u);
  EXPECT_EQ(answers.Messages()[0], kInconsistency);
  EXPECT_EQ(answers.Messages()[1], kInconsistency);
  EXPECT_EQ(deviceAtSecondQuestion, "Q5495");  // Cancel kept the configuration
  EXPECT_EQ(context.fileName, "No_name");
  EXPECT_EQ(context.config.Device, "Q5491");
}

}  // namespace
}  // namespace q5480::test
