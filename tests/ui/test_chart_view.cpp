// The chart view on the main window against an emulated module whose
// thermocouple signal moves: the view switched on and off, recording to a
// data file, and the points and clock kept across leaving the view.
#include <sys/stat.h>

#include <QTest>
#include <regex>

#include "emulator/module_signal.h"
#include "support/scratch_directory.h"
#include "ui_fixture.h"

namespace q5480::test {
namespace {

std::vector<std::string> FileLines(const std::filesystem::path& path) {
  std::vector<std::string> lines;
  const std::string bytes = test_support::ReadBytes(path);
  std::size_t start = 0;
  for (std::size_t end; (end = bytes.find("\r\n", start)) != std::string::npos; start = end + 2) {
    lines.push_back(bytes.substr(start, end - start));
  }
  return lines;
}

class ChartViewWindow : public ProgramTest {
 protected:
  void SetUp() override {
    StartConnected();
    // A thermocouple K whose terminal voltage swings around 300 °C.
    std::string file = test_support::ReadBytes(std::filesystem::path(Q5480_SOURCE_DIR) / "examples" /
                                               "thermocouple_k_0_1000.par");
    file.replace(file.find("FiltrZakres=1\r"), 14, "FiltrZakres=20\r");
    file.replace(file.find("FiltrLimit=0\r"), 13, "FiltrLimit=5\r");
    OpenParameters(answers_, file, "oven.par");
    Window().ZapiszT->trigger();
    ASSERT_EQ(Text(Window().StatusText->text()), " Device programmed");
    module_.SetSignal({SignalKind::Sine, 12.2, 4.0, 20});
  }
  MainWindow& Window() { return program_->Window(); }
  ProgramContext& Context() { return program_->Context(); }
  ChartPanel& Chart() { return *Window().Chart; }
  std::size_t Points() { return Chart().XYChart1->Points().Count(); }

  ModalAnswers answers_;
};

TEST_F(ChartViewWindow, RecordsThePlottedSamplesAndKeepsPointsAndClockAcrossLeaving) {
  Window().Wykres1T->trigger();
  ASSERT_TRUE(Context().state.ChartShown);
  EXPECT_TRUE(Chart().isVisible());
  EXPECT_FALSE(Window().Panel->isVisible());
  EXPECT_FALSE(Window().ToolBar1->isVisible());
  EXPECT_EQ(Window().Timer1->interval(), 250);
  EXPECT_EQ(Text(Window().Zapiszjako1->text()), "&Keep results...");
  for (QAction* off : {Window().Nowy1, Window().Otworz1, Window().Zachowaj1, Window().Zapisz1, Window().Ogolne1}) {
    EXPECT_FALSE(off->isEnabled()) << Text(off->objectName());
  }
  ExpectAccessibleNames(Chart());
  ASSERT_TRUE(WaitFor([&] { return Points() >= 2; }));

  const auto data = scratch_ / "oven.txt";
  answers_.Then([data](QWidget* window) { return ChooseFile(window, data); });
  Window().Zapiszjako1->trigger();
  ASSERT_TRUE(Context().state.TimerEnabled) << "the timer runs again after the dialog";
  EXPECT_EQ(Text(Window().Zapiszjako1->text()), "&Stop saving");
  EXPECT_TRUE(Chart().SavingI->isVisible());
  ASSERT_TRUE(WaitFor([&] { return FileLines(data).size() >= 4 + 3; }, std::chrono::seconds(15)));
  Window().Zapiszjako1->trigger();
  EXPECT_FALSE(Chart().SavingI->isVisible());
  EXPECT_EQ(Text(Window().Zapiszjako1->text()), "&Keep results...");

  const std::vector<std::string> lines = FileLines(data);
  EXPECT_EQ(lines[0], "Q5480 series module measurements");
  EXPECT_TRUE(std::regex_match(lines[1], std::regex(R"(Date: \d\d\.\d\d\.\d{4}   Time: \d\d:\d\d:\d\d)")))
      << lines[1];
  EXPECT_EQ(lines[2], "");
  EXPECT_EQ(lines[3], "Time [s]\tResult [\xB0" "C]\tOutput [mA]");
  const std::regex record(R"(\+(\d+)\.(\d\d)\t[+-]\d+(\.\d+)?\t\+\d+\.\d\d)");
  double previous = -1;
  for (std::size_t i = 4; i < lines.size(); ++i) {
    std::smatch parts;
    ASSERT_TRUE(std::regex_match(lines[i], parts, record)) << lines[i];
    const double seconds = std::stod(parts[1].str() + "." + parts[2].str());
    // Interval 1: one record a second, give or take a poll.
    if (previous >= 0) {
      EXPECT_NEAR(seconds - previous, 1.0, 0.3) << lines[i];
    }
    previous = seconds;
  }
  // Nothing more is appended once stopped.
  const std::size_t written = lines.size();
  const std::size_t before = Points();
  ASSERT_TRUE(WaitFor([&] { return Points() > before; }));
  EXPECT_EQ(FileLines(data).size(), written);

  Chart().WykresExitB->click();
  EXPECT_FALSE(Context().state.ChartShown);
  EXPECT_TRUE(Window().Panel->isVisible());
  EXPECT_EQ(Window().Timer1->interval(), 500);
  EXPECT_EQ(Text(Window().Zapiszjako1->text()), "Save as...");
  const std::size_t kept = Points();
  Window().Wykres1->trigger();
  EXPECT_GE(Points(), kept);
  EXPECT_NE(Text(Chart().WykresTimeT->text()), "00:00:00") << "the clock goes on";
  EXPECT_TRUE(answers_.Messages().empty()) << answers_.Messages().front();
}

TEST_F(ChartViewWindow, KeepResultsRefusesAProtectedDataFileAndLeavesItAsItWas) {
  const auto kept = scratch_ / "earlier.txt";
  test_support::WriteBytes(kept, "an earlier run\r\n");
  ASSERT_EQ(::chmod(kept.c_str(), 0444), 0);
  Window().Wykres1->trigger();
  ASSERT_TRUE(WaitFor([&] { return Points() >= 1; }));

  const auto data = scratch_ / "oven.txt";
  const std::size_t seen = answers_.Messages().size();
  ChooseRefusedFile(answers_, kept);
  answers_.Then([data](QWidget* window) { return ChooseFile(window, data); });
  Window().Zapiszjako1->trigger();
  ASSERT_TRUE(answers_.AllUsed());
  ASSERT_EQ(answers_.Messages().size(), seen + 1);
  EXPECT_EQ(answers_.Messages().back(), "Cannot open file:\n" + kept.string());
  EXPECT_TRUE(Chart().SavingI->isVisible()) << "recording to the other file";
  ASSERT_TRUE(WaitFor([&] { return FileLines(data).size() >= 4 + 1; }));
  EXPECT_EQ(test_support::ReadBytes(kept), "an earlier run\r\n");
  EXPECT_EQ(answers_.Messages().size(), seen + 1);
}

TEST_F(ChartViewWindow, SavesTheChartAsAPicture) {
  Window().Wykres1->trigger();
  ASSERT_TRUE(WaitFor([&] { return Points() >= 3; }));
  const auto picture = scratch_ / "trace.png";
  answers_.Then([picture](QWidget* window) { return ChooseFile(window, picture); });
  Chart().SavePicture();
  QImage saved(QString::fromStdString(picture.string()));
  ASSERT_FALSE(saved.isNull());
  EXPECT_EQ(saved.size(), Chart().XYChart1->size());
}

}  // namespace
}  // namespace q5480::test
