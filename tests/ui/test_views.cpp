// The main window's views against an emulated module: the chart view, its
// controls named and saved as a picture as the screen shows it, and View › Simulation offered only
// where the configuration is shown.
#include "ui/chart_panel.h"
#include "ui_fixture.h"

namespace q5480::test {
namespace {

class Views : public ProgramTest {
 protected:
  void SetUp() override {
    StartConnected();
    OpenParameters(answers_, kLevelTransmitter, "level.par");
  }
  MainWindow& Window() { return program_->Window(); }

  ModalAnswers answers_;
};

TEST_F(Views, TheChartNamesItsControlsAndIsSavedAsAPicture) {
  ChartPanel& chart = *Window().Chart;
  Window().Wykres1->trigger();
  ExpectAccessibleNames(chart);
  ASSERT_TRUE(WaitFor([&] { return chart.XYChart1->Points().Count() >= 3; }));
  const auto picture = scratch_ / "trace.png";
  answers_.Then([picture](QWidget* shown) { return ChooseFile(shown, picture); });
  chart.SavePicture();
  QImage saved(QString::fromStdString(picture.string()));
  ASSERT_FALSE(saved.isNull());
  EXPECT_EQ(saved.size(), chart.XYChart1->size());
}

TEST_F(Views, SimulationIsOfferedInTheConfigurationViewOnly) {
  EXPECT_TRUE(Window().Symulacja1->isEnabled());
  Window().MonOnly1->trigger();
  EXPECT_FALSE(Window().Symulacja1->isEnabled());
  Window().MonOnly1->trigger();
  Window().Wykres1->trigger();
  EXPECT_FALSE(Window().Symulacja1->isEnabled()) << "the chart view is shown";
  Window().Wykres1->trigger();
  EXPECT_TRUE(Window().Symulacja1->isEnabled());
}

}  // namespace
}  // namespace q5480::test
