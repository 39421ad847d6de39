// One parameters file gives one module image, whether the window logic opens
// it or q5480ctl builds it: the table file is found in the same folders, in
// the same order, and read the same way.
#include <filesystem>
#include <string>
#include <vector>

#include "config/dates.h"
#include "ctl_runner.h"
#include "support/recording_ui.h"
#include "workflow/file_commands.h"
#include "workflow/parameter_panel.h"
#include "workflow/program_context.h"

namespace q5480::device_test {
namespace {

namespace fs = std::filesystem;

const fs::path kExamples = fs::path(Q5480_SOURCE_DIR) / "examples";
// A table for the same range that gives another transfer table.
constexpr const char* kOtherTable = "0 4\r\n100 20\r\n";

class TableRouteTest : public ::testing::Test {
 protected:
  TableRouteTest() : ctl_(scratch_ / "program") {
    for (const char* folder : {"data", "work"}) fs::create_directories(scratch_ / folder);
  }

  // The window logic's File › Open of `par`, answering Yes to reading the
  // table, then the image that its Write would build.
  std::string ImageFromWindow(const fs::path& par) {
    RecordingUi ui;
    ProgramContext context(ui);
    context.programDirectory = ProgramFolder();
    context.fileName = context.Tr("No_name");
    ParameterPanel panel(context);
    FileCommands files(context, panel);
    ui.ChooseFile(par.string());
    ui.Answer(MessageResult::Yes);
    EXPECT_TRUE(files.Otworz1Click());
    EXPECT_EQ(ui.MessageTexts(), std::vector<std::string>{"User defined sensor or conversion!\n"
                                                          "No data available.\n"
                                                          "Read source file flow.dat?"});
    EXPECT_TRUE(context.config.TableLoaded);
    EXPECT_EQ(context.service.BuildForWrite(Today()), std::nullopt);
    return std::string(context.image.bytes.begin(), context.image.bytes.end());
  }

  // q5480ctl image build of `par`, with more arguments.
  std::string ImageFromCtl(const fs::path& par, std::vector<std::string> more = {}) {
    const fs::path out = scratch_ / "ctl.bin";
    std::vector<std::string> args{"image", "build", par.string(), "-o", out.string()};
    args.insert(args.end(), more.begin(), more.end());
    const Outcome outcome = ctl_.Run(args);
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    return ReadBytes(out);
  }

  fs::path ProgramFolder() const { return scratch_ / "program"; }

  ScratchDirectory scratch_;
  CtlRunner ctl_;
};

TEST_F(TableRouteTest, TheWindowAndQ5480ctlFindTheTableInTheSameFoldersAndBuildOneImage) {
  const fs::path program = ProgramFolder();
  // The folders in the order they are searched; a table placed in one of
  // them is found there although every later one holds another table.
  const std::vector<fs::path> folders{scratch_ / "data", scratch_ / "work", program,
                                      program / "Tables", program / "Tablice"};
  struct Case {
    std::size_t folder;
    const char* storedName;  // as the parameters file names the table
  };
  for (const Case& c : {Case{0, "C:\\Pomiary\\flow.dat"},
                        {1, "flow.dat"},
                        {2, "flow.dat"},
                        {3, "flow.dat"},
                        {4, "flow.dat"}}) {
    SCOPED_TRACE(folders[c.folder]);
    for (const fs::path& folder : folders) fs::remove_all(folder / "flow.dat");
    fs::remove_all(program / "Tables");
    fs::remove_all(program / "Tablice");
    for (std::size_t i = c.folder; i < folders.size(); ++i) {
      fs::create_directories(folders[i]);
      if (i == c.folder) {
        fs::copy_file(kExamples / "flow_4_20ma.dat", folders[i] / "flow.dat");
      } else {
        WriteBytes(folders[i] / "flow.dat", kOtherTable);
      }
    }
    std::string par = ReadBytes(kExamples / "user_table_flow_4_20ma.par");
    par.replace(par.find("flow_4_20ma.dat"), std::string("flow_4_20ma.dat").size(), c.storedName);
    WriteBytes(scratch_ / "data" / "flow.par", par);

    const CurrentFolder work(scratch_ / "work");
    const std::string fromWindow = ImageFromWindow(scratch_ / "data" / "flow.par");
    const std::string fromCtl = ImageFromCtl(scratch_ / "data" / "flow.par");
    ASSERT_EQ(fromWindow.size(), kImageSize);
    EXPECT_TRUE(fromCtl == fromWindow) << "q5480ctl's image differs from the window's";
    // The other table would have given another image.
    WriteBytes(scratch_ / "other.dat", kOtherTable);
    EXPECT_FALSE(ImageFromCtl(scratch_ / "data" / "flow.par",
                              {"--table", (scratch_ / "other.dat").string()}) == fromWindow);
  }
}

}  // namespace
}  // namespace q5480::device_test
