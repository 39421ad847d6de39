// The conversion windows and the external cold junction's window as Qt
// windows: they drive their logic, a table comes in through the Load button
// and its file dialog, and every control has an accessible name.
#include <QPlainTextEdit>
#include <QTest>

#include "support/scratch_directory.h"
#include "ui/linear_dialog.h"
#include "ui/power_series_dialog.h"
#include "ui/qt_dialog_host.h"
#include "ui/qt_user_interface.h"
#include "ui/room_temperature_dialog.h"
#include "ui/table_dialog.h"
#include "ui_fixture.h"

namespace q5480::test {
namespace {

class ConversionWindows : public ::testing::Test {
 protected:
  ConversionWindows() : context_(ui_) {
    Application();
    context_.config.Device = "Q5494";
    context_.config.Typ = 17;
    context_.conversion.TableType = 17;
    context_.settings.DataDir = scratch_.Path().string();
  }

  // Replaces the text of `edit` as typed; moving the focus there leaves the
  // field before.
  static void Type(QLineEdit* edit, const char* text) {
    // A message box that closed may leave no window active.
    edit->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(edit->window()));
    edit->setFocus();
    ASSERT_TRUE(WaitFor([edit] { return edit->hasFocus(); }));
    edit->selectAll();
    QTest::keyClicks(edit, QString::fromLatin1(text));
  }

  test_support::ScratchDirectory scratch_;
  QtUserInterface ui_;
  ProgramContext context_;
};

TEST_F(ConversionWindows, TablesLoadedThroughLoadShowTheirValuesAndOnlyAnAcceptedOneCanBeConfirmed) {
  const std::filesystem::path example = std::filesystem::path(Q5480_SOURCE_DIR) / "examples" / "flow_4_20ma.dat";
  test_support::WriteBytes(scratch_ / "bad.dat", "; flow\n0 4\n100 20\n50 21\n");
  QtDialogHost host(context_, nullptr);
  ModalAnswers answers;
  std::vector<std::string> shown;
  std::vector<bool> okEnabled;
  TableDialog* table = nullptr;
  std::string selectedAfterRejection;
  answers.When<TableDialog>([&](TableDialog* window) {
    table = window;
    okEnabled.push_back(window->OKB->isEnabled());
    for (int load = 0; load < 3; ++load) {  // the file dialogs open meanwhile
      window->LoadB->click();
      okEnabled.push_back(window->OKB->isEnabled());
      shown.push_back(Text(window->InMinE->text()));
    }
    EXPECT_EQ(Text(window->ResMaxE->text()), "100");
    EXPECT_TRUE(window->TableM->toPlainText().startsWith(QLatin1String("; Flow through an orifice")));
    EXPECT_EQ(Text(window->FileT->text()), "flow_4_20ma.dat");
    EXPECT_EQ(Text(window->windowTitle()), example.parent_path().string());
    window->JednostkiE->setCurrentIndex(9);
    emit window->JednostkiE->activated(9);
    window->OKB->click();
  });
  answers.Then([&](QWidget* window) { return ChooseFile(window, example); });
  answers.Then([&](QWidget* window) { return ChooseFile(window, scratch_ / "bad.dat"); });
  answers.Then([&](QWidget* window) {
    selectedAfterRejection = Text(table->TableM->textCursor().selectedText());
    return ChooseFile(window, example);
  });
  EXPECT_TRUE(host.Table());
  EXPECT_TRUE(answers.AllUsed());
  EXPECT_EQ(okEnabled, (std::vector<bool>{false, true, false, true}));
  EXPECT_EQ(shown, (std::vector<std::string>{"4.000", "", "4.000"}));
  EXPECT_EQ(selectedAfterRejection, "50 21") << "the rejected file's failing line";
  EXPECT_EQ(answers.Messages(), std::vector<std::string>{"Corrupted or wrong data file!\n(Values should rise.)"});
  EXPECT_TRUE(context_.config.TableLoaded);
  EXPECT_EQ(context_.config.Jednostki, 9);
  EXPECT_EQ(context_.config.File, example.string());
}

TEST_F(ConversionWindows, LinearRefusalOnEnterKeepsTheWindowOpenAndOkStoresTheRange) {
  LinearDialog window(context_, nullptr);
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  ModalAnswers answers;
  EXPECT_EQ(Text(window.InMinE->text()), "-22.000");
  Type(window.InMinE, "-21.5");
  Type(window.InMaxE, "-21");  // leaves the minimum, then refused: too narrow
  QTest::keyClick(window.InMaxE, Qt::Key_Return);
  ASSERT_EQ(answers.Messages(), std::vector<std::string>{"Input range too small!"});
  EXPECT_TRUE(window.isVisible()) << "the Enter that was refused does not press OK";
  EXPECT_EQ(Text(window.InMaxE->text()), "22.000");
  EXPECT_EQ(Text(window.InMinE->text()), "-21.500");
  EXPECT_EQ(window.focusWidget(), window.InMaxE) << "the field refused has the focus back";

  Type(window.InMinE, "0");
  Type(window.InMaxE, "20");
  Type(window.ResMinE, "0");
  Type(window.ResMaxE, "100");
  window.OKB->click();  // takes over what is still being typed
  EXPECT_EQ(window.result(), QDialog::Accepted);
  EXPECT_EQ(context_.config.Coefficients[9], 0);
  EXPECT_EQ(context_.config.Coefficients[10], 100);
  EXPECT_NEAR(context_.config.Coefficients[1], 0.2, 1e-12);
  EXPECT_EQ(context_.conversion.ConversionConfirmed, 1);
}

TEST_F(ConversionWindows, SeriesButtonChecksThenConfirmsAndTypingAsksForAnotherCheck) {
  context_.config.Coefficients[1] = 3;
  PowerSeriesDialog window(context_, nullptr);
  window.show();
  ModalAnswers answers;
  EXPECT_EQ(Text(window.OKB->text()), "Check");
  window.OKB->click();
  EXPECT_EQ(Text(window.OKB->text()), "OK");
  EXPECT_EQ(Text(window.ResMaxE->text()), "22");
  QTest::keyClicks(window.CoefficientE[1], QStringLiteral("0"));  // b = 10
  EXPECT_EQ(Text(window.OKB->text()), "Check");
  window.OKB->click();
  EXPECT_EQ(Text(window.ResMaxE->text()), "220");
  EXPECT_TRUE(window.isVisible());
  window.CancelB->click();
  EXPECT_EQ(context_.config.Coefficients[1], 3) << "Cancel puts the coefficients back";
  EXPECT_TRUE(answers.Messages().empty());
}

TEST_F(ConversionWindows, RoomTemperatureClosesOnlyWithAValueInsideTheBand) {
  RoomTemperatureDialog window(context_, nullptr);
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  ModalAnswers answers;
  Type(window.RoomTE, "70");
  QTest::keyClick(window.RoomTE, Qt::Key_Return);
  EXPECT_EQ(answers.Messages(), std::vector<std::string>{"Out of range!"});
  EXPECT_TRUE(window.isVisible());
  EXPECT_EQ(Text(window.RoomTE->text()), "25.00");
  Type(window.RoomTE, "30");
  QTest::keyClick(window.RoomTE, Qt::Key_Return);
  EXPECT_EQ(window.result(), QDialog::Accepted);
  EXPECT_EQ(context_.config.RoomT, 30);
}

TEST_F(ConversionWindows, EveryControlHasAnAccessibleName) {
  TableDialog table(context_, nullptr);
  PowerSeriesDialog series(context_, nullptr);
  LinearDialog linear(context_, nullptr);
  RoomTemperatureDialog room(context_, nullptr);
  for (QDialog* window : std::initializer_list<QDialog*>{&table, &series, &linear, &room}) {
    ExpectAccessibleNames(*window);
  }
}

}  // namespace
}  // namespace q5480::test
