#include "ui/main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QStatusBar>
#include <QStyle>
#include <QVBoxLayout>

#include "ui/named_widgets.h"
#include "ui/qt_text.h"
#include "ui/ui_colours.h"

namespace q5480 {
namespace {

constexpr int kOutputPointSize = 14;

QLabel* DisplayLabel(const char* name, QWidget* parent) {
  auto* label = FixedFontLabel(name, parent, 18);
  const QFont font = label->font();
  label->setMinimumWidth(QFontMetrics(font).horizontalAdvance(QString(15, QLatin1Char('0'))));
  label->setMinimumHeight(QFontMetrics(font).height() + 8);
  return label;
}

}  // namespace

MainWindow::MainWindow(MainWindowLogic& logic)
    : QMainWindow(nullptr), logic_(logic), dialogs_(logic.Context(), this) {
  setObjectName(QStringLiteral("Q5480F"));
  // Only the system menu and the minimise box: the window keeps its size.
  setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
  BuildMenus();
  BuildToolBar();
  BuildStatusBar();

  auto* central = new QWidget(this);
  auto* layout = new QVBoxLayout(central);
  layout->addWidget(BuildDisplays());
  Panel = new ParameterPanelView(central);
  Panel->Connect(logic_.Panel(), [this] { Refresh(); });
  for (QLineEdit* field : Panel->findChildren<QLineEdit*>()) field->installEventFilter(this);
  connect(Panel->SenSel, &QPushButton::clicked, this, [this] {
    if (logic_.CommandEnabled("Czujniki1")) SenSelClick();
  });
  connect(Panel->RegulacjaPic, &QToolButton::clicked, this, [this] {
    if (logic_.CommandEnabled("RegulacjaPic")) Regulacja1Click();
  });
  layout->addWidget(Panel);
  Chart = new ChartPanel(central);
  Chart->hide();
  logic_.AttachChart(Chart->Control());
  Chart->Connect(
      logic_.Chart(), logic_.Context(), [this] { Wykres1Click(); }, [this] { Refresh(); });
  layout->addWidget(Chart, 1);
  setCentralWidget(central);
  // The window takes the size its contents need, also in the monitor-only view.
  QMainWindow::layout()->setSizeConstraint(QLayout::SetFixedSize);

  Timer1 = new QTimer(this);
  Timer1->setObjectName(QStringLiteral("Timer1"));
  Timer1->setInterval(logic_.TimerInterval());
  connect(Timer1, &QTimer::timeout, this, &MainWindow::Timer1Timer);
  // The simulation window reads this when its scroll bars move next.
  connect(qApp, &QGuiApplication::applicationStateChanged, this,
          [this](Qt::ApplicationState state) {
            if (state != Qt::ApplicationActive) logic_.Context().state.AppDeactivated = true;
          });
}

QWidget* MainWindow::BuildDisplays() {
  QFrame* outer = ColouredFrame(kTeal, QFrame::Raised, this);
  auto* row = new QHBoxLayout(outer);
  row->setContentsMargins(8, 8, 8, 8);
  auto addDisplay = [&](const char* captionName, const char* displayName, QLabel*& caption,
                        QLabel*& display) {
    QFrame* frame = ColouredFrame(kSilver, QFrame::Sunken, outer);
    auto* column = new QVBoxLayout(frame);
    column->setContentsMargins(6, 2, 6, 4);
    caption = new QLabel(frame);
    caption->setObjectName(QString::fromLatin1(captionName));
    display = DisplayLabel(displayName, frame);
    caption->setBuddy(display);
    column->addWidget(caption);
    column->addWidget(display);
    row->addWidget(frame);
  };
  addDisplay("nResult", "ResultDisplay", nResult, ResultDisplay);
  addDisplay("nOutput", "OutputDisplay", nOutput, OutputDisplay);
  QFont font = OutputDisplay->font();
  font.setPointSize(kOutputPointSize);
  OutputDisplay->setFont(font);
  OutputDisplay->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  OutputDisplay->setMinimumWidth(
      QFontMetrics(font).horizontalAdvance(QString(12, QLatin1Char('0'))));
  return outer;
}

void MainWindow::PaintDisplays() {
  const DisplayState& display = logic_.Context().display;
  QFont font = ResultDisplay->font();
  font.setPointSize(display.ResultPointSize);
  ResultDisplay->setFont(font);
  ResultDisplay->setAlignment(
      (display.ResultAlign == DisplayAlign::Centre ? Qt::AlignHCenter : Qt::AlignRight) |
      Qt::AlignVCenter);
  ResultDisplay->setText(Q(display.ResultText));
  QPalette palette = OutputDisplay->palette();
  palette.setColor(QPalette::WindowText, display.OutputRed ? Qt::red : Qt::black);
  OutputDisplay->setPalette(palette);
  OutputDisplay->setText(Q(display.OutputText));
}

void MainWindow::Refresh() {
  ProgramContext& context = logic_.Context();
  setWindowTitle(Q(context.caption));
  PaintDisplays();
  Panel->Show(logic_.Panel().View());
  Panel->SetConfigurationVisible(!context.state.MonitorOnly);
  // The chart view takes the place of the parameter panel.
  Panel->setVisible(!context.state.ChartShown);
  Chart->setVisible(context.state.ChartShown);
  Chart->Show(logic_.Chart());
  PaintCommandStates();
  UpdateBars();
}

void MainWindow::SetStatusText(const QString& text) { StatusText->setText(text); }

void MainWindow::SetProgress(int percent) {
  ProgressBar1->setValue(percent);
  // A transfer empties the displays; this is where the window is painted meanwhile.
  PaintDisplays();
}

void MainWindow::ShowWaitWindow(bool shown) {
  // The command states change with the transfer before the window blocks.
  PaintCommandStates();
  if (shown) {
    if (Wiadomosc == nullptr) Wiadomosc = new MessageWindow(logic_.Context().language, this);
    Wiadomosc->move(geometry().center() - Wiadomosc->rect().center());
    Wiadomosc->show();
    Wiadomosc->raise();
  } else if (Wiadomosc != nullptr) {
    Wiadomosc->close();
    Wiadomosc->deleteLater();
    Wiadomosc = nullptr;
  }
  PaintDisplays();
}

void MainWindow::StorePosition() {
  ProgramSettings& settings = logic_.Context().settings;
  settings.MainLeft = x();
  settings.MainTop = y();
}

void MainWindow::closeEvent(QCloseEvent* event) {
  StorePosition();
  Timer1->stop();
  if (logic_.Context().state.InTransfer) logic_.Context().link.CancelTransfer();
  event->accept();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  // A field would take Ctrl+Z as its own undo: the program's commands win,
  // so Write by shortcut works while a value is being typed.
  if (event->type() == QEvent::ShortcutOverride) {
    const QKeySequence pressed(static_cast<QKeyEvent*>(event)->keyCombination());
    for (const QAction* action : findChildren<QAction*>()) {
      if (!action->shortcut().isEmpty() && action->shortcut() == pressed) return true;
    }
  }
  return QMainWindow::eventFilter(watched, event);
}

bool MainWindow::event(QEvent* event) {
  // Every modal window of the program blocks this one while it is open:
  // dialogs, message boxes, file and print dialogs, the password window.
  if (event->type() == QEvent::WindowBlocked) logic_.ModalWindowOpened();
  if (event->type() == QEvent::WindowUnblocked) logic_.ModalWindowClosed();
  return QMainWindow::event(event);
}

void MainWindow::changeEvent(QEvent* event) {
  // The message window of a transfer stays in front of the main window.
  if (event->type() == QEvent::ActivationChange && isActiveWindow() && Wiadomosc != nullptr) {
    Wiadomosc->raise();
  }
  QMainWindow::changeEvent(event);
}

}  // namespace q5480
