// The main window's commands: each goes to the logic, then the window shows
// what changed.
#include <QApplication>

#include "ui/help_windows.h"
#include "ui/options_dialog.h"
#include "ui/port_dialog.h"
#include "ui/main_window.h"
#include "ui/simulation_dialog.h"

namespace q5480 {

void TQ5480F::Timer1Timer() {
  logic_.Timer1Timer();
  Timer1->setInterval(logic_.TimerInterval());
  Refresh();
}

void TQ5480F::Nowy1Click() {
  logic_.Files().Nowy1Click();
  Refresh();
}

void TQ5480F::Otworz1Click() {
  StorePosition();
  logic_.Files().Otworz1Click();
  Refresh();
}

void TQ5480F::Zachowaj1Click() {
  StorePosition();
  logic_.Files().Zachowaj1Click();
  Refresh();
}

void TQ5480F::Zapiszjako1Click() {
  StorePosition();
  logic_.Zapiszjako1Click();
  Refresh();
}

void TQ5480F::Wykres1Click() {
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

void TQ5480F::Exit1Click() { close(); }

void TQ5480F::OdczytajTClick() {
  StorePosition();
  logic_.OdczytajTClick();
  Refresh();
}

void TQ5480F::ZapiszTClick() {
  StorePosition();
  logic_.ZapiszTClick();
  Refresh();
}

void TQ5480F::Weryfikuj1Click() {
  StorePosition();
  logic_.Weryfikuj1Click();
  Refresh();
}

void TQ5480F::Odswierz1Click() { OdczytajTClick(); }

void TQ5480F::Reset1Click() { logic_.Reset1Click(); }

void TQ5480F::Komunikacja1Click() {
  StorePosition();
  logic_.Komunikacja1Click([this] {
    TPortS window(logic_.Context(), this);
    return window.exec() == QDialog::Accepted;
  });
  Refresh();
}

void TQ5480F::Autoread1Click() {
  logic_.Autoread1Click();
  Refresh();
}

void TQ5480F::MonOnly1Click() {
  logic_.MonOnly1Click();
  Refresh();
}

void TQ5480F::Pasek1Click() { UpdateBars(); }

void TQ5480F::Status1Click() { UpdateBars(); }

void TQ5480F::Ogolne1Click() {
  StorePosition();
  TOgolneF window(logic_.Context(), this);
  const double scale = logicalDpiX() / 96.0;
  window.move(x() + static_cast<int>(69 * scale), y() + static_cast<int>(122 * scale));
  if (window.exec() != QDialog::Accepted) return;
  logic_.FormLang();
  ApplyTexts();
  Refresh();
}

void TQ5480F::SenSelClick() {
  StorePosition();
  logic_.SenSelClick(dialogs_);
  Refresh();
}

void TQ5480F::Wersja1Click() {
  StorePosition();
  TProgwerF window(logic_.Context().language, this);
  const double scale = logicalDpiX() / 96.0;
  window.adjustSize();
  window.move(x() + (width() - window.width()) / 2, y() + static_cast<int>(87 * scale));
  window.exec();
}

void TQ5480F::Info1Click() {
  StorePosition();
  TInfoF window(this);
  window.exec();
}

void TQ5480F::Drukuj1Click() {
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

void TQ5480F::PrintSetup1Click() {
  StorePosition();
  logic_.PrintSetup1Click([this] { printer_.SetUp(this); });
}

void TQ5480F::Symulacja1Click() {
  StorePosition();
  logic_.Symulacja1Click([this](TSymulFLogic& simulation) {
    TSymulF window(simulation, this);
    window.exec();
  });
}

}  // namespace q5480
