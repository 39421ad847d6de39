// The simulation window opened from View › Simulation on a configuration
// loaded from a file: typed entries, the entry timer, the scroll bars, the
// plot, and when the command is offered.
#include <QAccessible>
#include <QTest>

#include "ui/simulation_dialog.h"
#include "ui_fixture.h"

namespace q5480::test {
namespace {

int PenPixels(const QImage& trace) {
  int count = 0;
  for (int y = 0; y < trace.height(); ++y) {
    for (int x = 0; x < trace.width(); ++x) count += trace.pixel(x, y) == qRgb(255, 255, 0) ? 1 : 0;
  }
  return count;
}

class SimulationWindow : public ProgramTest {
 protected:
  void SetUp() override {
    StartConnected();
    OpenParameters(answers_, kLevelTransmitter, "level.par");
  }
  MainWindow& Window() { return program_->Window(); }

  ModalAnswers answers_;
};

TEST_F(SimulationWindow, IsOfferedInTheConfigurationViewOnly) {
  EXPECT_TRUE(Window().Symulacja1->isEnabled());
  Window().MonOnly1->trigger();
  EXPECT_FALSE(Window().Symulacja1->isEnabled());
  Window().MonOnly1->trigger();
  Window().Wykres1->trigger();
  EXPECT_FALSE(Window().Symulacja1->isEnabled()) << "the chart view is shown";
  Window().Wykres1->trigger();
  EXPECT_TRUE(Window().Symulacja1->isEnabled());
}

TEST_F(SimulationWindow, ShowsTheOperatingPointOfTypedAndScrolledEntries) {
  bool shown = false;
  answers_.When<SimulationDialog>([&](SimulationDialog* window) {
    shown = true;
    EXPECT_EQ(Text(window->InputE->text()), "0.00");
    EXPECT_EQ(Text(window->OutputE->text()), "4.00");
    EXPECT_EQ(Text(window->Input1T->text()), "(4.00 mA)");
    EXPECT_FALSE(window->WykresXY1->Bipolar());
    for (QWidget* control : {static_cast<QWidget*>(window->InputE), static_cast<QWidget*>(window->OutputE),
                             static_cast<QWidget*>(window->InputS), static_cast<QWidget*>(window->OutputS),
                             static_cast<QWidget*>(window->ResultP), static_cast<QWidget*>(window->WykresXY1)}) {
      QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(control);
      ASSERT_NE(accessible, nullptr);
      EXPECT_FALSE(accessible->text(QAccessible::Name).trimmed().isEmpty()) << Text(control->objectName());
    }

    // Half the input: 12 mA in, half the range as the result and 12 mA out,
    // both bars in their middle and the cross-hairs over the middle.
    Type(window->InputE, QStringLiteral("50"));
    EXPECT_EQ(Text(window->Input1T->text()), "(12.00 mA)");
    EXPECT_EQ(Text(window->ResultP->text().trimmed()), "50.00");
    EXPECT_EQ(Text(window->OutputE->text()), "12.00");
    EXPECT_EQ(window->InputS->value(), kInputScrollMax / 2);
    EXPECT_EQ(window->OutputS->value(), kOutputScrollMax / 2);
    EXPECT_NEAR(window->WykresXY1->HairX(), window->WykresXY1->width() / 2, 3);

    // A refused output puts the last one back into the edit.
    Type(window->OutputE, QStringLiteral("21"));
    EXPECT_EQ(Text(window->OutputE->text()), "12.00");

    // Typed without Enter: taken when the entry timer fires.
    Type(window->OutputE, QStringLiteral("8"), false);
    EXPECT_EQ(Text(window->InputE->text()), "50.00");
    EXPECT_TRUE(WaitFor([&] { return window->InputE->text() == QLatin1String("25.00"); }));
    EXPECT_EQ(Text(window->Input1T->text()), "(8.00 mA)");

    // Typing stops at five characters.
    Type(window->InputE, QStringLiteral("123456"), false);
    EXPECT_EQ(Text(window->InputE->text()), "12345");

    // The output bar at its top is the full output and the full input.
    window->OutputS->triggerAction(QAbstractSlider::SliderToMinimum);
    EXPECT_EQ(Text(window->OutputE->text()), "20.00");
    EXPECT_EQ(Text(window->InputE->text()), "100.00");
    EXPECT_EQ(window->InputS->value(), 0);

    // A click on the plot draws the characteristic again in big dots.
    const int small = PenPixels(window->WykresXY1->TraceBitmap());
    QTest::mouseClick(window->WykresXY1, Qt::LeftButton, {}, QPoint(20, 20));
    EXPECT_TRUE(window->Logic().Plot().bigDots);
    EXPECT_GT(PenPixels(window->WykresXY1->TraceBitmap()), small * 3 / 2);
    EXPECT_GT(window->WykresXY1->HairX(), 0) << "the cross-hairs came back";
    window->close();
  });
  Window().Symulacja1->trigger();
  EXPECT_TRUE(shown);
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  EXPECT_EQ(answers_.Messages(), std::vector<std::string>{"Out of range!"});
}

}  // namespace
}  // namespace q5480::test
