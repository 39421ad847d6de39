// The main window's commands: each goes to the logic, then the window shows
// what changed.
#include <QApplication>
#include <QFile>
#include <filesystem>
#include <optional>

#include "config/program_directory.h"
#include "config/text.h"
#include "ui/help_windows.h"
#include "ui/main_window.h"
#include "ui/options_dialog.h"
#include "ui/port_dialog.h"
#include "ui/simulation_dialog.h"

namespace q5480 {

void MainWindow::Timer1Timer() {
  logic_.Timer1Timer();
  Timer1->setInterval(logic_.TimerInterval());
  Refresh();
}

void MainWindow::Nowy1Click() {
  logic_.Files().Nowy1Click();
  Refresh();
}

void MainWindow::Otworz1Click() {
  WithStoredPosition([this] { logic_.Files().Otworz1Click(); });
}

void MainWindow::Zachowaj1Click() {
  WithStoredPosition([this] { logic_.Files().Zachowaj1Click(); });
}

void MainWindow::Zapiszjako1Click() {
  WithStoredPosition([this] { logic_.Zapiszjako1Click(); });
}

void MainWindow::Wykres1Click() {
  logic_.Wykres1Click();
  Timer1->setInterval(logic_.TimerInterval());
  if (logic_.Context().state.ChartShown) Chart->XYChart1->SetChartColor(kChartFrameColour);
  Refresh();
  if (logic_.Context().state.ChartShown) {
    Chart->WykresExitB->setFocus();
  } else {
    Panel->SenSel->setFocus();
  }
}

void MainWindow::Exit1Click() { close(); }

void MainWindow::OdczytajTClick() {
  WithStoredPosition([this] { logic_.OdczytajTClick(); });
}

void MainWindow::ZapiszTClick() {
  WithStoredPosition([this] { logic_.ZapiszTClick(); });
}

void MainWindow::Weryfikuj1Click() {
  WithStoredPosition([this] { logic_.Weryfikuj1Click(); });
}

void MainWindow::Odswierz1Click() { OdczytajTClick(); }

void MainWindow::Reset1Click() { logic_.Reset1Click(); }

void MainWindow::Komunikacja1Click() {
  StorePosition();
  logic_.Komunikacja1Click([this] {
    PortDialog window(logic_.Context(), this);
    return window.exec() == QDialog::Accepted;
  });
  Refresh();
}

void MainWindow::Autoread1Click() {
  logic_.Autoread1Click();
  Refresh();
}

void MainWindow::MonOnly1Click() {
  logic_.MonOnly1Click();
  Refresh();
}

void MainWindow::Pasek1Click() { UpdateBars(); }

void MainWindow::Status1Click() { UpdateBars(); }

void MainWindow::Ogolne1Click() {
  StorePosition();
  OptionsDialog window(logic_.Context(), this);
  const double scale = logicalDpiX() / 96.0;
  window.move(x() + static_cast<int>(69 * scale), y() + static_cast<int>(122 * scale));
  if (window.exec() != QDialog::Accepted) return;
  logic_.ApplyLanguage();
  ApplyTexts();
  Refresh();
}

void MainWindow::SenSelClick() {
  WithStoredPosition([this] { logic_.SenSelClick(dialogs_); });
}

void MainWindow::Wersja1Click() {
  StorePosition();
  VersionWindow window(logic_.Context().language, this);
  const double scale = logicalDpiX() / 96.0;
  window.adjustSize();
  window.move(x() + (width() - window.width()) / 2, y() + static_cast<int>(87 * scale));
  window.exec();
}

void MainWindow::Info1Click() {
  StorePosition();
  InfoWindow window(this);
  window.exec();
}

void MainWindow::DaneTech1Click() {
  StorePosition();
  ProgramContext& context = logic_.Context();
  const std::optional<std::filesystem::path> manual =
      FindDataFile(kManualFile, context.programDirectory);
  QFile file(manual ? QString::fromStdString(manual->string()) : QString());
  if (!manual || !file.open(QIODevice::ReadOnly)) {
    context.ShowMessage(context.Tr("Cannot open file") + " " + kManualFile, MessageIcon::Error);
    return;
  }
  const QString title = QString::fromStdString(Utf8Mid(context.Tr("&Help"), 1));
  ManualWindow window(title, QString::fromUtf8(file.readAll()), this);
  window.exec();
}

void MainWindow::Drukuj1Click() {
  StorePosition();
  logic_.Drukuj1Click([this] { return printer_.AskToPrint(this); },
                      [this](const PrintedReport& report) {
                        // The window is drawn again before the printing starts.
                        Refresh();
                        repaint();
                        return printer_.Print(report);
                      });
  Refresh();
}

void MainWindow::PrintSetup1Click() {
  StorePosition();
  logic_.PrintSetup1Click([this] { printer_.SetUp(this); });
}

void MainWindow::Symulacja1Click() {
  StorePosition();
  logic_.Symulacja1Click([this](SimulationWindowLogic& simulation) {
    SimulationDialog window(simulation, this);
    window.exec();
  });
}

}  // namespace q5480
