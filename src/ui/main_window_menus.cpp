// The menus, tool bar and status bar of the main window, their texts in the
// current language and the states the logic gives them.
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QStyle>

#include "ui/main_window.h"
#include "ui/qt_text.h"

namespace q5480 {

void MainWindow::ConnectCommand(QAction* action, void (MainWindow::*handler)()) {
  // Whatever route triggers the action, the logic's state for it decides.
  connect(action, &QAction::triggered, this, [this, action, handler] {
    if (logic_.CommandEnabled(action->objectName().toStdString())) (this->*handler)();
  });
}

void MainWindow::BuildMenus() {
  auto item = [this](QMenu* menu, const char* name, void (MainWindow::*handler)() = nullptr,
                     QKeySequence shortcut = {}) {
    QAction* action = menu->addAction(QString::fromLatin1(name));
    action->setObjectName(QString::fromLatin1(name));
    action->setShortcut(shortcut);
    if (handler != nullptr) ConnectCommand(action, handler);
    return action;
  };
  auto named = [](QMenu* created, const char* name) {
    created->setObjectName(QString::fromLatin1(name));
    return created;
  };
  QMenuBar* bar = menuBar();
  auto menu = [&](const char* name) {
    return named(bar->addMenu(QString::fromLatin1(name)), name);
  };
  auto submenu = [&](QMenu* parent, const char* name) {
    return named(parent->addMenu(QString::fromLatin1(name)), name);
  };

  Plik1 = menu("Plik1");
  Nowy1 = item(Plik1, "Nowy1", &MainWindow::Nowy1Click);
  Otworz1 = item(Plik1, "Otworz1", &MainWindow::Otworz1Click);
  Zachowaj1 = item(Plik1, "Zachowaj1", &MainWindow::Zachowaj1Click);
  Zapiszjako1 = item(Plik1, "Zapiszjako1", &MainWindow::Zapiszjako1Click);
  Plik1->addSeparator();
  Drukuj1 = item(Plik1, "Drukuj1", &MainWindow::Drukuj1Click);
  PrintSetup1 = item(Plik1, "PrintSetup1", &MainWindow::PrintSetup1Click);
  Plik1->addSeparator();
  Exit1 = item(Plik1, "Exit1", &MainWindow::Exit1Click);

  Konfig1 = menu("Konfig1");
  Ustawienia1 = submenu(Konfig1, "Ustawienia1");
  Odczytaj1 = item(Ustawienia1, "Odczytaj1", &MainWindow::OdczytajTClick,
                   QKeySequence(Qt::CTRL | Qt::Key_O));
  Zapisz1 =
      item(Ustawienia1, "Zapisz1", &MainWindow::ZapiszTClick, QKeySequence(Qt::CTRL | Qt::Key_Z));
  Weryfikuj1 = item(Ustawienia1, "Weryfikuj1", &MainWindow::Weryfikuj1Click,
                    QKeySequence(Qt::CTRL | Qt::Key_W));
  Odswierz1 = item(Ustawienia1, "Odswierz1", &MainWindow::Odswierz1Click);
  Czujniki1 = item(Konfig1, "Czujniki1", &MainWindow::SenSelClick);
  Reset1 = item(Konfig1, "Reset1", &MainWindow::Reset1Click, QKeySequence(Qt::CTRL | Qt::Key_R));
  Regulacja1 = item(Konfig1, "Regulacja1", &MainWindow::Regulacja1Click);

  Widok1 = menu("Widok1");
  Symulacja1 = item(Widok1, "Symulacja1", &MainWindow::Symulacja1Click);
  Pasek1 = item(Widok1, "Pasek1", &MainWindow::Pasek1Click);
  Status1 = item(Widok1, "Status1", &MainWindow::Status1Click);
  Wykres1 = item(Widok1, "Wykres1", &MainWindow::Wykres1Click);
  MonOnly1 = item(Widok1, "MonOnly1", &MainWindow::MonOnly1Click);

  Opcje1 = menu("Opcje1");
  Ogolne1 = item(Opcje1, "Ogolne1", &MainWindow::Ogolne1Click);
  Komunikacja1 = item(Opcje1, "Komunikacja1", &MainWindow::Komunikacja1Click);
  Autoread1 = item(Opcje1, "Autoread1", &MainWindow::Autoread1Click);

  Pomoc1 = menu("Pomoc1");
  Info1 = item(Pomoc1, "Info1", &MainWindow::Info1Click);
  Wersja1 = item(Pomoc1, "Wersja1", &MainWindow::Wersja1Click);
  DaneTech1 = item(Pomoc1, "DaneTech1", &MainWindow::DaneTech1Click, QKeySequence(Qt::Key_F1));

  for (QAction* action : {Pasek1, Status1, Wykres1, MonOnly1, Autoread1})
    action->setCheckable(true);
  Pasek1->setChecked(true);
  Status1->setChecked(true);
}

void MainWindow::BuildToolBar() {
  ToolBar1 = addToolBar(QStringLiteral("ToolBar1"));
  ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
  ToolBar1->setMovable(false);
  ToolBar1->setIconSize(QSize(20, 20));
  auto tool = [this](const char* name, QStyle::StandardPixmap icon,
                     void (MainWindow::*handler)() = nullptr) {
    QAction* action = ToolBar1->addAction(style()->standardIcon(icon), QString::fromLatin1(name));
    action->setObjectName(QString::fromLatin1(name));
    if (handler != nullptr) ConnectCommand(action, handler);
    return action;
  };
  NowyT = tool("NowyT", QStyle::SP_FileIcon, &MainWindow::Nowy1Click);
  OtworzT = tool("OtworzT", QStyle::SP_DialogOpenButton, &MainWindow::Otworz1Click);
  ZachowajT = tool("ZachowajT", QStyle::SP_DialogSaveButton, &MainWindow::Zachowaj1Click);
  DrukujT = tool("DrukujT", QStyle::SP_FileDialogDetailedView, &MainWindow::Drukuj1Click);
  ToolBar1->addSeparator();
  OdczytajT = tool("OdczytajT", QStyle::SP_ArrowDown, &MainWindow::OdczytajTClick);
  ZapiszT = tool("ZapiszT", QStyle::SP_ArrowUp, &MainWindow::ZapiszTClick);
  KomunikacjaT = tool("KomunikacjaT", QStyle::SP_DriveNetIcon, &MainWindow::Komunikacja1Click);
  ToolBar1->addSeparator();
  RegulacjaT = tool("RegulacjaT", QStyle::SP_FileDialogContentsView, &MainWindow::Regulacja1Click);
  Wykres1T = tool("Wykres1T", QStyle::SP_FileDialogInfoView, &MainWindow::Wykres1Click);
}

void MainWindow::BuildStatusBar() {
  QStatusBar* bar = statusBar();
  bar->setSizeGripEnabled(false);
  StatusText = new QLabel(bar);
  StatusText->setObjectName(QStringLiteral("StatusText"));
  StatusText->setMinimumWidth(260);
  ProgressBar1 = new QProgressBar(bar);
  ProgressBar1->setAccessibleName(QStringLiteral("Progress"));
  ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
  ProgressBar1->setRange(0, 100);
  ProgressBar1->setValue(0);
  ProgressBar1->setTextVisible(false);
  ProgressBar1->setMaximumWidth(140);
  LockKeys = new LockKeyPanels(bar);
  bar->addWidget(StatusText, 1);
  bar->addWidget(ProgressBar1);
  bar->addPermanentWidget(LockKeys->Cap);
  bar->addPermanentWidget(LockKeys->Num);
  bar->addPermanentWidget(LockKeys->Ins);
}

void MainWindow::ApplyTexts() {
  const FormTexts& texts = logic_.Texts();
  for (const auto& [name, text] : texts.captions) {
    const QString control = Q(name);
    const QString shown = Q(text);
    if (auto* menuFound = findChild<QMenu*>(control)) {
      menuFound->setTitle(shown);
    } else if (auto* action = findChild<QAction*>(control)) {
      action->setText(shown);
    } else if (auto* group = findChild<QGroupBox*>(control)) {
      group->setTitle(shown);
    } else if (auto* button = findChild<QAbstractButton*>(control)) {
      button->setText(shown);
    } else if (auto* label = findChild<QLabel*>(control)) {
      label->setText(shown);
    }
  }
  Panel->FitBurnoutLabel(texts.burnoutLabelTexts);
  // Controls without a label of their own are named after the nearest one.
  Panel->FiltrLimitUpDown->setAccessibleName(Panel->FiltrLimitTxt->text());
  Panel->FiltrDobierz->setAccessibleDescription(Panel->FiltrDobierz->toolTip());
  for (const auto& [name, text] : texts.hints) {
    const QString control = Q(name);
    if (auto* action = findChild<QAction*>(control)) {
      action->setToolTip(Q(text));
      action->setIconText(Q(text));
    } else if (auto* widget = findChild<QWidget*>(control)) {
      widget->setToolTip(Q(text));
    }
  }
}

void MainWindow::PaintCommandStates() {
  for (const auto& [name, enabled] : logic_.Commands()) {
    const QString control = Q(name);
    if (auto* menu = findChild<QMenu*>(control)) {
      menu->setEnabled(enabled);
    } else if (auto* action = findChild<QAction*>(control)) {
      action->setEnabled(enabled);
    }
  }
  Panel->SenSel->setEnabled(logic_.CommandEnabled("Czujniki1"));
  Panel->RegulacjaPic->setEnabled(logic_.CommandEnabled("RegulacjaPic"));
  Autoread1->setChecked(logic_.AutoreadChecked());
  MonOnly1->setChecked(logic_.Context().state.MonitorOnly);
  Wykres1->setChecked(logic_.Context().state.ChartShown);
  Zapiszjako1->setText(Q(logic_.SaveAsCaption()));
  // The Read button: its busy state for the time of a read, else whether
  // the configuration is read by itself.
  QStyle::StandardPixmap readIcon = QStyle::SP_ArrowDown;
  if (logic_.ReadBusy()) {
    readIcon = QStyle::SP_BrowserStop;
  } else if (logic_.ReadButtonImage() == 9) {
    readIcon = QStyle::SP_BrowserReload;
  }
  OdczytajT->setIcon(style()->standardIcon(readIcon));
}

void MainWindow::UpdateBars() {
  const bool shown = logic_.BarsShown();
  ToolBar1->setVisible(shown && Pasek1->isChecked());
  statusBar()->setVisible(shown && Status1->isChecked());
}

}  // namespace q5480
