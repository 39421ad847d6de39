// Transfers of the desktop program against the emulated module: one at a
// time whatever route asks for a second, commands that are off whatever
// route reaches them, and every command's state and accessible name.
#include <QTest>
#include <QTimer>
#include <algorithm>

#include "ui_fixture.h"

namespace q5480::test {
namespace {

class Transfers : public ProgramTest {
 protected:
  void SetUp() override { StartConnected(); }
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
    QTimer::singleShot(0, &Window(),
                       [this] { QTest::keyClick(&Window(), Qt::Key_O, Qt::ControlModifier); });
  }
  ASSERT_TRUE(
      WaitFor([&] { return TransferCount() >= 1 && !program_->Context().state.InTransfer; }));
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
  for (QAction* action :
       {Window().Zapisz1, Window().ZapiszT, Window().Weryfikuj1, Window().Odczytaj1}) {
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

}  // namespace
}  // namespace q5480::test
