// A configuration made from nothing on the main window and written to the
// emulated module: the selection windows, the range typed into the panel,
// and the module then holding exactly what the command-line tool builds
// from the same configuration saved to a file.
#include <QAccessible>
#include <QTest>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include "emulator/module_memory.h"
#include "module/image_packing.h"
#include "ui/loop_current_dialog.h"
#include "ui/meter_type_dialog.h"
#include "ui/power_series_dialog.h"
#include "ui/sensor_dialog.h"
#include "ui/table_dialog.h"
#include "ui_fixture.h"

namespace q5480::test {
namespace {

class Editing : public ProgramTest {
 protected:
  void SetUp() override { StartConnected(); }
  MainWindow& Window() { return program_->Window(); }
  ParameterPanelView& Panel() { return *Window().Panel; }

  // File › New, then the meter type window answered with `model`.
  void NewConfiguration(ModalAnswers& answers, const QString& model) {
    Window().Nowy1->trigger();
    answers.When<MeterTypeDialog>([model](MeterTypeDialog* window) {
      const auto items = window->TypeList->findItems(model, Qt::MatchStartsWith);
      ASSERT_FALSE(items.empty());
      window->TypeList->setCurrentItem(items.front());
      window->OKClick();
    });
  }

  // The sensor window answered with a thermocouple K, compensated and
  // linearised.
  void ChooseThermocoupleK(ModalAnswers& answers) {
    answers.When<SensorDialog>([](SensorDialog* window) {
      window->PageControl->setCurrentIndex(1);  // thermocouples
      window->TypR.at(10)->click();             // K
      for (QCheckBox* option : {window->CompensationC, window->TermoLinC}) {
        if (!option->isChecked()) option->click();
      }
      window->OKBClick();
    });
    Panel().SenSel->click();
    ASSERT_TRUE(answers.AllUsed());
    EXPECT_TRUE(Panel().SenTypeText->text().startsWith(QLatin1String("Thermocouple K")))
        << Text(Panel().SenTypeText->text());
  }

  bool IsAqua(QWidget* field) const {
    return field->palette().color(QPalette::Base) == QColor(0, 255, 255);
  }

  void Write() {
    Window().ZapiszT->trigger();
    ASSERT_EQ(StatusWithoutFingerprint(*Window().StatusText), " Device programmed");
  }

  // Saves the configuration as `path` and checks that the module holds what
  // the command-line tool builds from that file, compared as Verify does.
  void ExpectModuleHoldsImageOf(ModalAnswers& answers, const std::filesystem::path& path) {
    answers.Then([path](QWidget* window) { return ChooseFile(window, path); });
    Window().Zapiszjako1->trigger();
    ASSERT_TRUE(answers.AllUsed());
    const auto image = scratch_ / "built.bin";
    const std::string command = std::string(Q5480_BIN_DIR) + "/q5480ctl image build '" +
                                path.string() + "' -o '" + image.string() + "'";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    std::ifstream file(image, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(file), {}};
    ASSERT_EQ(bytes.size(), kImageSize);
    ModuleImage built;
    std::copy(bytes.begin(), bytes.end(), built.bytes.begin());

    MemoryMap map{};
    const MemoryBytes memory = module_.Memory();
    std::copy(memory.begin(), memory.end(), map.begin());
    // Verify's reading: what the map does not hold stays as written.
    ModuleImage held = built;
    UnpackImage(map, held);
    // The module keeps the path the table was loaded from, the file its name.
    const bool table = program_->Context().config.Lin == 2;
    if (table) {
      const std::string path = program_->Context().config.File;
      ASSERT_TRUE(
          std::equal(path.begin(), path.end(), held.bytes.begin() + image_offset::kFileName));
    }
    // The module keeps its own factory part (model number, date, serial and
    // calibration, and so its check byte): a new configuration has none.
    std::vector<std::size_t> differences;
    for (std::size_t at : VerifyDifferences(built, held, true, test_support::kNewId)) {
      const bool factory = at >= image_offset::kModelNumber && at < image_offset::kColdJunction;
      const bool tableName =
          table && at >= image_offset::kFileName && at < image_offset::kFileName + 61;
      if (!factory && !tableName && at != image_offset::kCheckByte) differences.push_back(at);
    }
    EXPECT_TRUE(differences.empty())
        << differences.size() << " bytes differ, the first at " << differences.front() << ": "
        << int(built[differences.front()]) << " built, " << int(held[differences.front()])
        << " held";
  }
};

TEST_F(Editing, AThermocoupleMadeFromNothingIsWrittenAsTheToolBuildsIt) {
  ModalAnswers answers;
  NewConfiguration(answers, "Q5495");
  ChooseThermocoupleK(answers);
  ParameterPanelView& panel = Panel();
  const auto setValue = [](QLineEdit* field, const QString& text) {
    QAccessible::queryAccessibleInterface(field)->setText(QAccessible::Value, text);
  };
  const MemoryBytes before = module_.Memory();

  // Below the thermocouple's range, set through the accessibility interface
  // while the field never had the focus: Write checks it as if typed, says
  // why and hands the focus to it.
  setValue(panel.MinInputE, "-150.1");
  EXPECT_TRUE(IsAqua(panel.MinInputE));
  Window().ZapiszT->trigger();
  EXPECT_EQ(answers.Messages(), std::vector<std::string>{"Minimum out of range!"});
  EXPECT_EQ(Window().focusWidget(), panel.MinInputE);
  EXPECT_NE(StatusWithoutFingerprint(*Window().StatusText), " Device programmed");
  EXPECT_EQ(module_.Memory(), before);

  // Accepted values: the timer's repainting keeps them, leaving the field
  // checks the number, and the texts go into the record at once.
  setValue(panel.MinInputE, "-100");
  ReplaceTextAccessibly(panel.KodE, "TT-5");
  setValue(panel.OgolneE, "Set by a screen reader");
  Window().Timer1Timer();
  EXPECT_EQ(panel.MinInputE->text(), QStringLiteral("-100"));
  EXPECT_EQ(program_->Context().config.kod, "TT-5");
  EXPECT_EQ(program_->Context().config.ogolne, "Set by a screen reader");
  EXPECT_TRUE(IsAqua(panel.KodE));
  Window().activateWindow();  // focus moves and shortcuts work in the active window only
  ASSERT_TRUE(WaitFor([&] { return Window().isActiveWindow(); }));
  panel.MinInputE->setFocus();
  panel.MaxInputE->setFocus();
  ASSERT_TRUE(WaitFor([&] { return program_->Context().config.MinInput == -100; }));

  Type(panel.MaxInputE, "1000");
  Type(panel.FiltrCzasE, "2");
  EXPECT_TRUE(IsAqua(panel.MaxInputE)) << "changed, not written";
  // A maximum still being typed when Ctrl+Z comes is the maximum written.
  Type(panel.MaxInputE, "900", false);
  QTest::keyClick(panel.MaxInputE, Qt::Key_Z, Qt::ControlModifier);
  ASSERT_EQ(StatusWithoutFingerprint(*Window().StatusText), " Device programmed");
  EXPECT_EQ(program_->Context().config.MaxInput, 900.0L);
  EXPECT_EQ(panel.MaxInputE->palette().color(QPalette::Base),
            QApplication::palette().color(QPalette::Base));
  ExpectModuleHoldsImageOf(answers, scratch_ / "oven.par");
  EXPECT_EQ(answers.Messages().size(), 1u) << answers.Messages().back();
}

}  // namespace
}  // namespace q5480::test
