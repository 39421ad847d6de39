// What the program asks and tells from the window thread and from the link's
// threads.
#include <thread>

#include "ui_fixture.h"

namespace q5480::test {
namespace {

constexpr const char* kInconsistency =
    "Type of panel meter inconsistency! New data will be read.\n"
    "Disconnect the panel meter and press Cancel to preserve present configuration.";

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

using LinkThreads = ProgramTest;

TEST_F(LinkThreads, AMessageFromAnotherThreadDoesNotWaitForThePerson) {
  WriteSettings(kTestPort);
  StartProgram();
  ModalAnswers answers;
  MessageResult result = MessageResult::Yes;
  std::thread link([&] {
    result = program_->Context().ui.ShowMessage("Command failed!", kMessageCaption,
                                                MessageIcon::Warning, MessageButtons::OkCancel);
    program_->Context().ui.Beep(BeepKind::Warning);
  });
  link.join();  // returned without anybody answering
  EXPECT_EQ(result, MessageResult::Cancel);
  // The window thread shows the message when it gets to it.
  ASSERT_TRUE(WaitFor([&] { return !answers.Messages().empty(); }));
  EXPECT_EQ(answers.Messages()[0], "Command failed!");
}

}  // namespace
}  // namespace q5480::test
