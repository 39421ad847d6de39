// The sensor and input selection windows as Qt windows: the person's clicks
// reach the logic, the window's own setting of its controls runs no click
// handler, OK, Cancel and More close them as they should, and every control
// has an accessible name.
#include <QTest>

#include "support/recording_ui.h"
#include "support/scripted_dialog_host.h"
#include "ui/loop_current_dialog.h"
#include "ui/qt_dialog_host.h"
#include "ui/resistance_voltage_dialog.h"
#include "ui/sensor_dialog.h"
#include "ui/voltage_current_dialog.h"
#include "ui_fixture.h"

namespace q5480::test {
namespace {

class SelectionWindows : public ::testing::Test {
 protected:
  SelectionWindows() : context_(ui_) {
    Application();
    context_.config.Device = "Q5497";
  }

  void Set(std::uint8_t typ, std::uint8_t tryb, std::uint8_t lin) {
    context_.config.Typ = typ;
    context_.config.Tryb = tryb;
    context_.config.Lin = lin;
  }

  test_support::RecordingUi ui_;
  ProgramContext context_;
  test_support::ScriptedDialogHost host_;
};

// Each window closed each way it can be: with the outcome it reports and the
// dialog result its caller sees.
template <typename Window>
void ExpectClosings(ProgramContext& context, DialogHost& host, bool withMore) {
  SCOPED_TRACE(Window::staticMetaObject.className());
  struct Case {
    const char* button;
    SelectionOutcome outcome;
    int result;
  };
  std::vector<Case> cases{{"OKB", SelectionOutcome::Ok, QDialog::Accepted},
                          {"CancelB", SelectionOutcome::Cancel, QDialog::Rejected}};
  if (withMore) cases.push_back({"MoreB", SelectionOutcome::More, selection_ui::kMoreResult});
  for (const Case& k : cases) {
    Window window(context, host, nullptr);
    window.show();
    auto* button = window.template findChild<QPushButton*>(QString::fromLatin1(k.button));
    ASSERT_NE(button, nullptr) << k.button;
    button->click();
    EXPECT_FALSE(window.isVisible()) << k.button;
    EXPECT_EQ(window.Outcome(), k.outcome) << k.button;
    EXPECT_EQ(window.result(), k.result) << k.button;
  }
  Window window(context, host, nullptr);
  window.show();
  EXPECT_EQ(window.template findChild<QPushButton*>(QStringLiteral("MoreB")) != nullptr, withMore);
  ExpectAccessibleNames(window);
  QTest::keyClick(&window, Qt::Key_Escape);
  EXPECT_FALSE(window.isVisible()) << "Esc";
  EXPECT_EQ(window.Outcome(), SelectionOutcome::Cancel) << "Esc";
}

TEST_F(SelectionWindows, CloseWithTheirOutcomeAndNameEveryControl) {
  Set(10, 7, kLinTable);
  ExpectClosings<SensorDialog>(context_, host_, true);
  Set(16, 5, kLinNone);
  ExpectClosings<ResistanceVoltageDialog>(context_, host_, true);
  Set(18, 5, kLinNone);
  ExpectClosings<VoltageCurrentDialog>(context_, host_, false);
  Set(19, 5, kLinNone);
  ExpectClosings<LoopCurrentDialog>(context_, host_, false);
  EXPECT_TRUE(host_.opened.empty());
}

// One choice of each kind in each window, toggled as a screen reader does,
// reaches the window's logic; the rules themselves are the logic's tests.
TEST_F(SelectionWindows, ChoicesToggledThroughTheAccessibilityInterfaceReachTheLogic) {
  const ModuleConfig& c = context_.config;
  const auto held = [&c] { return std::vector<int>({c.Typ, c.Tryb, c.Lin}); };
  Set(10, kTrybCompensation, kLinTable);
  {
    SensorDialog window(context_, host_, nullptr);
    window.show();
    ToggleAccessibly(window.TypR.at(14));
    ToggleAccessibly(window.TermoLinC);
    ToggleAccessibly(window.TempDiffC);
    EXPECT_FALSE(window.CompensationC->isChecked()) << "shown as the logic decided";
    window.OKB->click();
    EXPECT_EQ(held(), std::vector<int>({14, kTrybDifferential, kLinNone}));
  }
  Set(5, kTrybThreeWire, kLinNone);
  {
    ResistanceVoltageDialog window(context_, host_, nullptr);
    window.show();
    ToggleAccessibly(window.LinearC[ResistanceVoltageWindowLogic::kResistancePage]);
    EXPECT_EQ(host_.opened["TLinaF"], 1);
    ToggleAccessibly(window.WireR.at(kTrybTwoWire));
    window.OKB->click();
    EXPECT_EQ(held(), std::vector<int>({5, kTrybTwoWire, kLinNone}));
  }
  Set(18, kTrybDifferential, kLinNone);
  {
    VoltageCurrentDialog window(context_, host_, nullptr);
    window.show();
    auto& voltage = window.ConversionR[VoltageCurrentWindowLogic::kVoltagePage];
    ToggleAccessibly(voltage[static_cast<int>(Conversion::PowerSeries)]);
    EXPECT_EQ(host_.opened["TPowerF"], 1);
  }
  Set(19, kTrybDifferential, kLinNone);
  host_.linear = [] { return true; };
  {
    LoopCurrentDialog window(context_, host_, nullptr);
    window.show();
    ToggleAccessibly(window.ConversionR[static_cast<int>(Conversion::Linear)]);
    window.OKB->click();
    EXPECT_EQ(c.Lin, kLinLinear);
  }
}

TEST_F(SelectionWindows, TheDotPositionListSetsKropkaOnOk) {
  Set(19, 5, kLinNone);
  context_.config.Kropka = 2;
  LoopCurrentDialog window(context_, host_, nullptr);
  EXPECT_EQ(window.KropkaE->currentIndex(), 2);
  window.KropkaE->setFocus();
  QTest::keyClick(window.KropkaE, Qt::Key_Down);
  window.OKB->click();
  EXPECT_EQ(context_.config.Kropka, 3);
}

TEST_F(SelectionWindows, TheDesktopHostShowsEachWindowModallyAndReturnsHowItClosed) {
  QtDialogHost host(context_, nullptr);
  ModalAnswers answers;
  answers.When<SensorDialog>([](SensorDialog* window) { window->MoreB->click(); });
  answers.When<ResistanceVoltageDialog>(
      [](ResistanceVoltageDialog* window) { window->OKB->click(); });
  answers.When<VoltageCurrentDialog>(
      [](VoltageCurrentDialog* window) { window->CancelB->click(); });
  answers.When<LoopCurrentDialog>([](LoopCurrentDialog* window) { window->OKB->click(); });
  EXPECT_EQ(host.Sensor(), SelectionOutcome::More);
  EXPECT_EQ(host.ResistanceVoltage(), SelectionOutcome::Ok);
  EXPECT_EQ(context_.config.Typ, 16);
  EXPECT_EQ(host.VoltageCurrent(), SelectionOutcome::Cancel);
  EXPECT_EQ(host.LoopCurrent(), SelectionOutcome::Ok);
  EXPECT_EQ(context_.config.Typ, 19);
  EXPECT_TRUE(answers.AllUsed());
}

}  // namespace
}  // namespace q5480::test
