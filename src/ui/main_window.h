// The main window: menus, tool bar, status bar, the result and output
// displays and the parameter panel. Every event goes to the window logic;
// the window paints what the logic and the program context hold.
#pragma once

#include <QAction>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QProgressBar>
#include <QTimer>
#include <QToolBar>

#include "ui/chart_panel.h"
#include "ui/lock_keys.h"
#include "ui/message_window.h"
#include "ui/parameter_panel_view.h"
#include "ui/qt_dialog_host.h"
#include "ui/report_printing.h"
#include "workflow/main_window.h"

namespace q5480 {

class MainWindow : public QMainWindow {
  Q_OBJECT
 public:
  explicit MainWindow(MainWindowLogic& logic);

  // The texts of the current language on every menu item, caption and hint.
  void ApplyTexts();
  // Paints the caption, the displays, the panel and the command states.
  void Refresh();
  // The non-blocking "Message" window of a transfer.
  void ShowWaitWindow(bool shown);
  void SetStatusText(const QString& text);
  void SetProgress(int percent);

  // Menus and their items, by the names of the window's form.
  QMenu *Plik1, *Konfig1, *Ustawienia1, *Widok1, *Opcje1, *Pomoc1;
  QAction *Nowy1, *Otworz1, *Zachowaj1, *Zapiszjako1, *Drukuj1, *PrintSetup1, *Exit1;
  QAction *Odczytaj1, *Zapisz1, *Weryfikuj1, *Odswierz1, *Czujniki1, *Reset1, *Regulacja1;
  QAction *Symulacja1, *Pasek1, *Status1, *Wykres1, *MonOnly1;
  QAction *Ogolne1, *Komunikacja1, *Autoread1;
  QAction *Info1, *Wersja1, *DaneTech1;
  // Tool bar.
  QToolBar* ToolBar1;
  QAction *NowyT, *OtworzT, *ZachowajT, *DrukujT, *OdczytajT, *ZapiszT, *KomunikacjaT, *RegulacjaT,
      *Wykres1T;
  // Status bar: the text panel, the progress bar and the lock key panels.
  QLabel* StatusText;
  QProgressBar* ProgressBar1;
  LockKeyPanels* LockKeys;
  // Displays.
  QLabel *nResult, *ResultDisplay, *nOutput, *OutputDisplay;
  ParameterPanelView* Panel;
  ChartPanel* Chart;  // the chart view
  MessageWindow* Wiadomosc = nullptr;
  QTimer* Timer1;

 public slots:
  void Timer1Timer();
  void Nowy1Click();
  void Otworz1Click();
  void Zachowaj1Click();
  void Zapiszjako1Click();
  void Exit1Click();
  void OdczytajTClick();
  void ZapiszTClick();
  void Weryfikuj1Click();
  void Odswierz1Click();
  void Reset1Click();
  void Komunikacja1Click();
  void Autoread1Click();
  void MonOnly1Click();
  void Pasek1Click();
  void Status1Click();
  void Ogolne1Click();
  void SenSelClick();
  void Wersja1Click();
  void Info1Click();
  void DaneTech1Click();  // the user manual
  void Wykres1Click();
  // Corrections: the password, then the corrections or diagnostics window.
  void Regulacja1Click();
  void Drukuj1Click();
  void PrintSetup1Click();
  void Symulacja1Click();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;
  // Tells the logic of every modal window over this one.
  bool event(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void ConnectCommand(QAction* action, void (MainWindow::*handler)());
  void BuildMenus();
  void BuildToolBar();
  void BuildStatusBar();
  QWidget* BuildDisplays();
  void PaintDisplays();
  void PaintCommandStates();
  void UpdateBars();
  void StorePosition();
  // A command that may open a window: the main window's place is kept first
  // (windows open relative to it), and the window shows what changed after.
  template <typename Command>
  void WithStoredPosition(Command command) {
    StorePosition();
    command();
    Refresh();
  }

  MainWindowLogic& logic_;
  QtDialogHost dialogs_;
  ReportPrinter printer_;
  QSize fullSize_;
};

}  // namespace q5480
