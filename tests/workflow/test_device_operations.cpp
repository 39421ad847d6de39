// Write and Verify of the main window: their checks, the choice of an
// information-only write, the waiting window and the result texts.

#include "config/dates.h"
#include "workflow_fixture.h"

namespace q5480 {
namespace {

class DeviceOperations : public WorkflowTest {
 protected:
  void SetUp() override {
    ModuleCommands commands = LinkCommands();
    commands.WriteWorker = [this] { return Worker("write"); };
    commands.InfoWriteWorker = [this] { return Worker("info"); };
    commands.ReadWorker = [this](int kind) { return Worker("read" + std::to_string(kind)); };
    commands.ImagesMatch = [this](const ModuleImage& expected, const ModuleImage& read) {
      compared_ = expected.bytes == expectedImage_.bytes;
      return imagesMatch_ && &read == &context_.image;
    };
    UseCommands(std::move(commands));
    SetThermocoupleK(context_.config);
    OpenPort();
    TickUntilConnected();
  }

  Link::Worker Worker(const std::string& name) {
    return [this, name] {
      workers_.push_back(name);
      if (silentWorker_) {
        // Nothing reported: the window gives up after its silence bound.
        while (context_.link.TransferRunning()) std::this_thread::sleep_for(std::chrono::milliseconds(2));
        return true;
      }
      int last = -1;
      for (long done = 0; done <= 10; ++done) context_.link.ReportProgress(done, 10, last);
      return true;
    };
  }

  std::string KodInImage() const {
    const auto first = context_.image.bytes.begin() + image_offset::kKod;
    return std::string(first, first + 6);
  }

  std::vector<std::string> workers_;
  bool silentWorker_ = false;
  bool imagesMatch_ = true;
  bool compared_ = false;
  ModuleImage expectedImage_;
};

TEST_F(DeviceOperations, WriteWithoutConfigurationSaysSo) {
  EXPECT_FALSE(window_->ZapiszTClick());
  EXPECT_EQ(ui_.MessageTexts(), std::vector<std::string>{"No parameters!"});
  EXPECT_TRUE(workers_.empty());
}

TEST_F(DeviceOperations, WriteWithARefusedFieldDoesNothingSilently) {
  window_->Panel().pokaz(kColourWhite);
  context_.state.InvalidEntry = true;
  EXPECT_FALSE(window_->ZapiszTClick());
  EXPECT_TRUE(ui_.Messages().empty());
  EXPECT_TRUE(workers_.empty());
}

TEST_F(DeviceOperations, WriteRefusesAnotherModel) {
  context_.config.Device = "Q5497";
  window_->Panel().pokaz(kColourWhite);
  EXPECT_FALSE(window_->ZapiszTClick());
  ASSERT_EQ(ui_.MessageTexts(), std::vector<std::string>{"Type of panel meter inconsistency!"});
  EXPECT_EQ(ui_.Messages()[0].icon, MessageIcon::Warning);
  EXPECT_TRUE(workers_.empty());
}

TEST_F(DeviceOperations, FullWriteBuildsTheImageAndProgramsTheModule) {
  window_->Panel().pokaz(kColourChangedAll);
  ASSERT_TRUE(window_->ZapiszTClick());
  EXPECT_EQ(workers_, std::vector<std::string>{"write"});
  EXPECT_EQ(context_.image[0], 0x55) << "a built image";
  EXPECT_EQ(context_.config.data, FormatDate(Today()));
  EXPECT_EQ(window_->Panel().View().DataE, context_.config.data);
  EXPECT_EQ(context_.statusText, "Device programmed");
  EXPECT_TRUE(context_.state.Programmed);
  for (FieldColour colour : window_->Panel().View().Colours) EXPECT_EQ(colour, FieldColour::Window);
  const std::vector<std::string> status = ui_.StatusTexts();
  EXPECT_NE(std::find(status.begin(), status.end(), " Writing data...  100%"), status.end());
  EXPECT_EQ(ui_.WaitWindow(), (std::vector<bool>{true, false}));
}

TEST_F(DeviceOperations, ChangedTextsAloneWriteOnlyTheInformation) {
  window_->Panel().pokaz(kColourWhite);
  window_->Panel().MarkChanged(PanelField::KodE);
  ASSERT_TRUE(window_->ZapiszTClick());
  EXPECT_EQ(workers_, std::vector<std::string>{"info"});
  EXPECT_EQ(KodInImage(), "TI-101");
  EXPECT_EQ(context_.image[0], 0) << "nothing else was built";
  EXPECT_EQ(context_.statusText, "Device programmed");
}

TEST_F(DeviceOperations, MissingUserDataMakesAnInformationWrite) {
  ModuleConfig& c = context_.config;
  c.Typ = 16;
  c.Lin = kLinTable;
  c.File = "gone.dat";
  c.MinInput = 0;
  c.MaxInput = 100;
  window_->Panel().pokaz(kColourWhite);  // tells that the table file is missing
  ASSERT_TRUE(window_->ZapiszTClick());  // and again before the write
  EXPECT_EQ(workers_, std::vector<std::string>{"info"});
  EXPECT_EQ(context_.statusText, "Information transferred");
}

TEST_F(DeviceOperations, VerifyComparesWithTheImageLeftBefore) {
  window_->Panel().pokaz(kColourWhite);
  ASSERT_TRUE(window_->ZapiszTClick());
  expectedImage_ = context_.image;
  ASSERT_TRUE(window_->Weryfikuj1Click());
  EXPECT_EQ(workers_.back(), "read5");
  EXPECT_TRUE(compared_);
  EXPECT_EQ(context_.statusText, "Verification successful");
  EXPECT_TRUE(ui_.Messages().empty());
}

TEST_F(DeviceOperations, VerifyWithDifferencesRestoresTheImage) {
  window_->Panel().pokaz(kColourWhite);
  ASSERT_TRUE(window_->ZapiszTClick());
  expectedImage_ = context_.image;
  imagesMatch_ = false;
  EXPECT_FALSE(window_->Weryfikuj1Click());
  ASSERT_EQ(ui_.MessageTexts(), std::vector<std::string>{"Errors have been found!"});
  EXPECT_EQ(ui_.Messages()[0].icon, MessageIcon::Warning);
  EXPECT_EQ(context_.statusText, "Verification ended with errors");
  EXPECT_EQ(context_.image.bytes, expectedImage_.bytes);
}

TEST_F(DeviceOperations, SilentWorkerIsCancelledAndReported) {
  window_->Panel().pokaz(kColourWhite);
  context_.StatBarTxt("before");
  silentWorker_ = true;
  EXPECT_FALSE(window_->ZapiszTClick());
  ASSERT_EQ(ui_.MessageTexts(), std::vector<std::string>{"Transmission unsuccessful!"});
  EXPECT_EQ(ui_.Messages()[0].icon, MessageIcon::Error);
  EXPECT_EQ(context_.statusText, "before");
  EXPECT_FALSE(context_.state.Programmed);
  EXPECT_FALSE(context_.state.InTransfer);
  EXPECT_TRUE(WaitUntil([&] { return context_.link.LinkStarted(); }));
}

TEST_F(DeviceOperations, NoTransferWithoutAModule) {
  context_.state.Connected = false;
  EXPECT_FALSE(window_->showiad("Reading data...", [] { return true; }));
  EXPECT_EQ(ui_.MessageTexts(), std::vector<std::string>{"No communication with device!"});
  EXPECT_TRUE(ui_.WaitWindow().empty());
}

}  // namespace
}  // namespace q5480
