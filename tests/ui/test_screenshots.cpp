// Pictures of the windows as a person sees them: the main window after a
// Read, during a write with the message window up, in the monitor-only view,
// the options and port selection windows, and the selection, conversion and
// help windows, each with every control named. They go to the folder named
// by Q5480_SCREENSHOTS (scripts/screenshots.sh), else to a scratch folder,
// in the language Q5480_SCREENSHOTS_LANGUAGE names, else in English.
#include <QPainter>
#include <QPixmap>

#include "emulator/module_signal.h"
#include "ui/help_windows.h"
#include "ui/linear_dialog.h"
#include "ui/loop_current_dialog.h"
#include "ui/message_window.h"
#include "ui/meter_type_dialog.h"
#include "ui/options_dialog.h"
#include "ui/port_dialog.h"
#include "ui/power_series_dialog.h"
#include "ui/resistance_voltage_dialog.h"
#include "ui/room_temperature_dialog.h"
#include "ui/sensor_dialog.h"
#include "ui/simulation_dialog.h"
#include "ui/splash_window.h"
#include "ui/table_dialog.h"
#include "ui/voltage_current_dialog.h"
#include "ui_fixture.h"

namespace q5480::test {
namespace {

class Screenshots : public ProgramTest {
 protected:
  Screenshots() : folder_(PictureFolder(scratch_ / "shots")) {}

  // Saves the picture and gives its size.
  QSize Save(const QPixmap& picture, const char* name) {
    const auto path = folder_ / name;
    EXPECT_TRUE(picture.save(QString::fromStdString(path.string()), "PNG")) << name;
    EXPECT_GT(std::filesystem::file_size(path), 1000u) << name;
    return picture.size();
  }

  // Shows the window, saves its picture and checks that every control has
  // an accessible name.
  template <typename Window>
  void Shoot(Window&& window, const char* name) {
    window.show();
    Save(window.grab(), name);
    ExpectAccessibleNames(window);
    window.hide();
  }

  // The program connected to the module, with the level transmitter opened.
  MainWindow& StartWithLevel(ModalAnswers& answers) {
    StartConnected(PictureLanguage());
    OpenParameters(answers, kLevelTransmitter, "level.par");
    return program_->Window();
  }

  // The main window with the message window where it stands on top of it.
  static QPixmap WithMessageWindow(MainWindow& window) {
    QPixmap picture = window.grab();
    QPainter painter(&picture);
    const QPoint at = window.Wiadomosc->pos() - window.mapToGlobal(QPoint(0, 0));
    painter.drawPixmap(at, window.Wiadomosc->grab());
    return picture;
  }

  std::filesystem::path folder_;
};

TEST_F(Screenshots, OfTheMainWindowAndTheOptionsAndPortWindows) {
  ModalAnswers answers;
  MainWindow& window = StartWithLevel(answers);
  QPixmap writing;
  answers.Every([&] {
    if (writing.isNull() && window.Wiadomosc != nullptr && window.Wiadomosc->isVisible() &&
        window.ProgressBar1->value() > 20) {
      writing = WithMessageWindow(window);
    }
  });
  window.ZapiszT->trigger();
  ASSERT_FALSE(writing.isNull()) << "no picture while the message window was up";
  ASSERT_EQ(StatusWithoutFingerprint(*window.StatusText),
            " " + program_->Context().Tr("Device programmed"));
  Save(writing, "write_in_progress.png");

  window.Nowy1->trigger();
  window.OdczytajT->trigger();
  ASSERT_TRUE(answers.Messages().empty()) << answers.Messages().front();
  ASSERT_TRUE(WaitFor([&] {
    window.Timer1Timer();
    return !window.ResultDisplay->text().trimmed().isEmpty();
  }));
  const QSize full = Save(window.grab(), "main_after_read.png");

  window.MonOnly1->trigger();
  ASSERT_TRUE(WaitFor([&] { return window.height() < full.height() / 2; }));
  window.Timer1Timer();
  const QSize compact = Save(window.grab(), "monitor_only.png");
  EXPECT_LT(compact.height(), full.height() / 2);
  window.MonOnly1->trigger();

  answers.When<OptionsDialog>([&](OptionsDialog* dialog) {
    Save(dialog->grab(), "options.png");
    dialog->reject();
  });
  window.Ogolne1->trigger();
  answers.When<PortDialog>([&](PortDialog* dialog) {
    Save(dialog->grab(), "port_selection.png");
    dialog->reject();
  });
  window.Komunikacja1->trigger();
  EXPECT_TRUE(answers.AllUsed());
}

TEST_F(Screenshots, OfTheChartViewInItsThreeStyles) {
  ModalAnswers answers;
  MainWindow& window = StartWithLevel(answers);  // whose filter limits the chart shows
  window.ZapiszT->trigger();
  ASSERT_EQ(StatusWithoutFingerprint(*window.StatusText),
            " " + program_->Context().Tr("Device programmed"));
  module_.SetSignal({SignalKind::Sine, 12, 5, 30});

  window.Wykres1->trigger();
  window.Chart->ShowFilterCB->click();
  ASSERT_TRUE(window.Chart->ShowFilterCB->isChecked()) << "the configuration was read";
  const std::pair<QRadioButton*, const char*> styles[] = {{window.Chart->LineRB, "chart_line.png"},
                                                          {window.Chart->DotRB, "chart_dot.png"},
                                                          {window.Chart->BarRB, "chart_bar.png"}};
  for (const auto& [button, name] : styles) {
    button->click();
    const std::size_t points = window.Chart->XYChart1->Points().Count();
    ASSERT_TRUE(WaitFor([&] { return window.Chart->XYChart1->Points().Count() >= points + 12; },
                        std::chrono::seconds(30)));
    Save(window.grab(), name);
  }
  EXPECT_TRUE(answers.Messages().empty()) << answers.Messages().front();
}

TEST_F(Screenshots, OfTheSelectionAndConversionWindowsAndTheChangedPanel) {
  ModalAnswers answers;
  MainWindow& window = StartWithLevel(answers);
  ProgramContext& context = program_->Context();
  window.Panel->FiltrCzasE->setFocus();
  Save(window.grab(), "panel_changed.png");  // loaded with a module present: aqua

  QtDialogHost host(context, &window);
  Shoot(MeterTypeDialog(context, &window), "dialog_meter_type.png");
  SensorDialog sensor(context, host, &window);
  Shoot(sensor, "dialog_sensor_rtd.png");
  sensor.PageControl->setCurrentIndex(1);
  Shoot(sensor, "dialog_sensor_thermocouple.png");
  Shoot(ResistanceVoltageDialog(context, host, &window), "dialog_resistance_voltage.png");
  Shoot(VoltageCurrentDialog(context, host, &window), "dialog_voltage_current.png");
  Shoot(LoopCurrentDialog(context, host, &window), "dialog_loop_current.png");
  Shoot(RoomTemperatureDialog(context, &window), "dialog_room_temperature.png");
  Shoot(TableDialog(context, &window), "dialog_table.png");
  Shoot(PowerSeriesDialog(context, &window), "dialog_power_series.png");
  Shoot(LinearDialog(context, &window), "dialog_linear.png");
}

TEST_F(Screenshots, OfTheSplashTheHelpWindowsAndThePasswordWindow) {
  StartConnected(PictureLanguage());
  MainWindow& window = program_->Window();
  const LanguageTable& language = program_->Context().language;
  Shoot(SplashWindow(language, &window), "splash.png");
  Shoot(VersionWindow(language, &window), "version.png");
  Shoot(InfoWindow(&window), "info.png");

  ASSERT_TRUE(WaitFor([&] { return window.RegulacjaT->isEnabled(); }));
  ModalAnswers answers;
  answers.When<MessageWindow>([&](MessageWindow* password) {
    Save(password->grab(), "password.png");
    password->close();
  });
  window.RegulacjaT->trigger();
  EXPECT_TRUE(answers.AllUsed());
}

// `text` with its first `from` made `to`.
std::string Replaced(std::string text, const std::string& from, const std::string& to) {
  text.replace(text.find(from), from.size(), to);
  return text;
}

TEST_F(Screenshots, OfTheSimulationWindowUnipolarAndBipolar) {
  StartConnected(PictureLanguage());
  MainWindow& window = program_->Window();
  // The level transmitter, and a current of -20 to 20 mA shown as it is: a
  // range symmetric about zero.
  std::string bipolar =
      Replaced(Replaced(kLevelTransmitter, "Lin=4", "Lin=1"), "MinInput=0", "MinInput=-20");
  bipolar =
      Replaced(Replaced(bipolar, "MaxInput=100", "MaxInput=20"), "Jednostki=9", "Jednostki=4");
  struct Shot {
    std::string parameters;
    bool bipolar;
    const char* name;
  };
  for (const Shot& shot : {Shot{kLevelTransmitter, false, "simulation_unipolar.png"},
                           Shot{bipolar, true, "simulation_bipolar.png"}}) {
    ModalAnswers answers;
    OpenParameters(answers, shot.parameters, "simulated.par");
    answers.When<SimulationDialog>([&](SimulationDialog* dialog) {
      EXPECT_EQ(dialog->WykresXY1->Bipolar(), shot.bipolar) << shot.name;
      dialog->InputE->setText(QStringLiteral("30"));
      dialog->Logic().InputEEnter();
      Save(dialog->grab(), shot.name);
      dialog->reject();
    });
    window.Symulacja1->trigger();
    EXPECT_TRUE(answers.AllUsed()) << shot.name;
    EXPECT_TRUE(answers.Messages().empty()) << answers.Messages().front();
  }
}

}  // namespace
}  // namespace q5480::test
