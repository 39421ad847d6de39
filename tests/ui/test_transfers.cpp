// Transfers of the desktop program against the emulated module: one at a
// time whatever route asks for a second, commands that are off whatever
// route reaches them, every command's state and accessible name, and the
// differences a verify found, with their picture (to Q5480_SCREENSHOTS when
// it is set).
#include <QTest>
#include <QTimer>
#include <algorithm>

#include "emulator/module_memory.h"
#include "service/configuration_comparison.h"
#include "ui/list_window.h"
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

// Which commands are off is the window logic's rule; the window's part is
// that a command it shows as off sends nothing.
TEST_F(Transfers, WriteAndVerifyByShortcutSendNothingWhileTheyAreOff) {
  ModalAnswers answers;
  EXPECT_FALSE(Window().Weryfikuj1->isEnabled()) << "nothing programmed yet";
  QTest::keyClick(&Window(), Qt::Key_W, Qt::ControlModifier);
  Window().MonOnly1->trigger();
  QTest::keyClick(&Window(), Qt::Key_Z, Qt::ControlModifier);
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

// In the language of the pictures, as the picture of its window is taken.
class VerifyDetails : public ProgramTest {
 protected:
  void SetUp() override { StartConnected(PictureLanguage()); }
};

TEST_F(VerifyDetails, TheMessagesDetailsButtonListsTheFieldsThatDiffer) {
  ModalAnswers answers;
  OpenParameters(answers, kLevelTransmitter, "level.par");
  MainWindow& window = program_->Window();
  const ProgramContext& context = program_->Context();
  window.ZapiszT->trigger();
  ASSERT_EQ(StatusWithoutFingerprint(*window.StatusText), " " + context.Tr("Device programmed"));
  EXPECT_NE(Text(window.StatusText->text()).find(context.TextOf("Fingerprint") + ": "),
            std::string::npos)
      << Text(window.StatusText->text());
  // The ID tag "LT-104" becomes "XT-104" inside the module.
  module_.PokeMemory(AddressesOf(module_.Layout()).textFirst, 'X');

  answers.Then([&](QWidget* shown) {
    auto* box = qobject_cast<QMessageBox*>(shown);
    if (box == nullptr) return false;
    EXPECT_EQ(Text(box->text()), context.Tr("Errors have been found!"));
    auto* details = box->findChild<QAbstractButton*>(QStringLiteral("DetailsButton"));
    EXPECT_NE(details, nullptr);
    if (details == nullptr) return false;
    EXPECT_EQ(Text(details->text()), context.TextOf("Details"));
    details->click();
    return true;
  });
  std::vector<std::string> listed;
  answers.When<ListWindow>([&](ListWindow* list) {
    EXPECT_EQ(Text(list->windowTitle()), context.TextOf("Differences"));
    EXPECT_FALSE(list->Lines->accessibleName().isEmpty());
    ExpectAccessibleNames(*list);
    for (int row = 0; row < list->Lines->count(); ++row) {
      listed.push_back(Text(list->Lines->item(row)->text()));
    }
    const auto picture = PictureFolder(scratch_ / "shots") / "verify_differences.png";
    EXPECT_TRUE(list->grab().save(QString::fromStdString(picture.string()), "PNG"));
    list->CloseButton->click();
  });
  // Verify is on once a tick after the write found the module again.
  ASSERT_TRUE(WaitFor([&] { return window.Weryfikuj1->isEnabled(); }));
  window.Weryfikuj1->trigger();
  EXPECT_TRUE(answers.AllUsed());
  const std::vector<std::string> expected = {context.TextOf("ID Tag") + ": " +
                                                 context.TextOf("configuration") + " \"LT-104\", " +
                                                 context.TextOf("module") + " \"XT-104\"",
                                             LeftOutOfComparison(context.language)};
  EXPECT_EQ(listed, expected);
  EXPECT_EQ(Text(window.StatusText->text()), " " + context.Tr("Verification ended with errors"));
}

}  // namespace
}  // namespace q5480::test
