#include "ui/chart_panel.h"

#include <QContextMenuEvent>
#include <QHBoxLayout>
#include <QMenu>
#include <QStyle>
#include <QVBoxLayout>

#include "charts/chart_colour.h"
#include "ui/linear_dialog.h"
#include "ui/logic_forwarding.h"
#include "ui/qt_text.h"

namespace q5480 {
namespace {

constexpr int kLampSize = 14;
constexpr int kIntervalMax = 99;

QLabel* Lamp(const char* name, QWidget* parent) {
  auto* lamp = NamedControl<QLabel>(name, parent);
  lamp->setFixedSize(kLampSize, kLampSize);
  lamp->setAutoFillBackground(true);
  lamp->setFrameShape(QFrame::Panel);
  lamp->setFrameShadow(QFrame::Sunken);
  return lamp;
}

void Light(QLabel* lamp, std::uint32_t colour) {
  QPalette palette = lamp->palette();
  palette.setColor(QPalette::Window, ColourFromBgr(colour));
  lamp->setPalette(palette);
}

}  // namespace

void StripChartControl::SetStyle(ChartStyle style) {
  switch (style) {
    case ChartStyle::Line: chart_.SetChartType(ChartKind::ctLine); break;
    case ChartStyle::Dot: chart_.SetChartType(ChartKind::ctScatter); break;
    case ChartStyle::Bar: chart_.SetChartType(ChartKind::ctBar); break;
  }
}

void StripChartControl::SetAutoScaling(bool on) {
  chart_.AutoScaling = on;
  chart_.RepaintAll();
}

ChartPanel::ChartPanel(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("ChartPanel"));
  WykresP1 = NamedControl<QWidget>("WykresP1", this);
  NewAvLED = Lamp("NewAvLED", WykresP1);
  NewAvT = NamedControl<QLabel>("NewAvT", WykresP1);
  LargeErLED = Lamp("LargeErLED", WykresP1);
  LargeErT = NamedControl<QLabel>("LargeErT", WykresP1);
  // A lamp is announced by its caption.
  NewAvT->setBuddy(NewAvLED);
  LargeErT->setBuddy(LargeErLED);
  ShowFilterCB = NamedControl<QCheckBox>("ShowFilterCB", WykresP1);
  LineRB = NamedControl<QRadioButton>("LineRB", QStringLiteral("Line"), WykresP1);
  DotRB = NamedControl<QRadioButton>("DotRB", QStringLiteral("Dot"), WykresP1);
  BarRB = NamedControl<QRadioButton>("BarRB", QStringLiteral("Bar"), WykresP1);
  LineRB->setChecked(true);
  WykresIntT = NamedControl<QLabel>("WykresIntT", WykresP1);
  WykresIntUD = NamedControl<QSpinBox>("WykresIntUD", WykresP1);
  WykresIntUD->setRange(0, kIntervalMax);
  WykresIntUD->setValue(1);
  WykresIntT->setBuddy(WykresIntUD);

  auto* top = new QHBoxLayout(WykresP1);
  top->setContentsMargins(4, 2, 4, 2);
  for (QWidget* widget :
       std::initializer_list<QWidget*>{NewAvLED, NewAvT, LargeErLED, LargeErT, ShowFilterCB}) {
    top->addWidget(widget);
  }
  top->addStretch();
  for (QWidget* widget :
       std::initializer_list<QWidget*>{LineRB, DotRB, BarRB, WykresIntT, WykresIntUD}) {
    top->addWidget(widget);
  }

  WykresP2 = NamedControl<QWidget>("WykresP2", this);
  XYChart1 = NamedControl<XyChart>("XYChart1", WykresP2);
  XYChart1->SetChartType(ChartKind::ctLine);
  XYChart1->SetGrid(GridType::gtBoth);
  const QColor face = palette().color(QPalette::Button);
  XYChart1->SetBackGround(
      static_cast<std::uint32_t>(face.red() | face.green() << 8 | face.blue() << 16));
  QFont captionFont(QStringLiteral("Arial"));
  captionFont.setPixelSize(11);
  XYChart1->SetYLabelFont(captionFont);
  XYChart1->setMinimumSize(420, 220);
  XYChart1->setContextMenuPolicy(Qt::DefaultContextMenu);
  XYChart1->installEventFilter(this);
  control_ = std::make_unique<StripChartControl>(*XYChart1);

  WykresTimeT = NamedControl<QLabel>("WykresTimeT", QStringLiteral("00:00:00"), WykresP2);
  WykresTimeT->setAccessibleName(QStringLiteral("Elapsed time"));
  QFont clockFont = WykresTimeT->font();
  clockFont.setBold(true);
  WykresTimeT->setFont(clockFont);
  SavingI = NamedControl<QLabel>("SavingI", WykresP2);
  SavingI->setPixmap(style()->standardIcon(QStyle::SP_DialogSaveButton).pixmap(16, 16));
  SavingI->setAccessibleName(QStringLiteral("Recording"));
  SavingI->hide();
  SavingI->installEventFilter(this);
  StopScalingCB = NamedControl<QCheckBox>("StopScalingCB", WykresP2);
  WykresStartB = NamedControl<QPushButton>("WykresStartB", WykresP2);
  WykresClearB = NamedControl<QPushButton>("WykresClearB", WykresP2);
  WykresExitB = NamedControl<QPushButton>("WykresExitB", WykresP2);

  auto* bottom = new QHBoxLayout;
  bottom->addWidget(WykresTimeT);
  bottom->addWidget(SavingI);
  bottom->addWidget(StopScalingCB);
  bottom->addStretch();
  bottom->addWidget(WykresStartB);
  bottom->addWidget(WykresClearB);
  bottom->addWidget(WykresExitB);
  auto* chartArea = new QVBoxLayout(WykresP2);
  chartArea->setContentsMargins(4, 0, 4, 4);
  chartArea->addWidget(XYChart1, 1);
  chartArea->addLayout(bottom);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(WykresP1);
  layout->addWidget(WykresP2, 1);
}

void ChartPanel::Connect(ChartView& logic, ProgramContext& context, std::function<void()> leave,
                         std::function<void()> changed) {
  logic_ = &logic;
  context_ = &context;
  changed_ = std::move(changed);
  const auto after = [this] {
    changed_();
    WykresExitB->setFocus();
  };
  XYChart1->SetDecimalSeparator(context.regional.decimalSeparator);
  XYChart1->OnNeedLinesY = [this](XyChart&, double& value, std::uint32_t& colour, bool& finished) {
    logic_->NeedLinesY(XYChart1->Tag, value, colour, finished);
  };
  XYChart1->OnDblClick = [leave](CustomChart&) { leave(); };
  connect(WykresExitB, &QPushButton::clicked, this, [leave] { leave(); });
  ForwardToLogic(this, WykresStartB, &QPushButton::clicked, logic_, &ChartView::WykresStartBClick,
                 after);
  ForwardToLogic(this, WykresClearB, &QPushButton::clicked, logic_, &ChartView::WykresClearBClick,
                 after);
  const std::pair<QRadioButton*, ChartStyle> styles[] = {
      {LineRB, ChartStyle::Line}, {DotRB, ChartStyle::Dot}, {BarRB, ChartStyle::Bar}};
  for (const auto& [button, style] : styles) {
    connect(button, &QRadioButton::clicked, this, [this, after, style = style] {
      logic_->StyleClick(style);
      after();
    });
  }
  ForwardToLogic(this, StopScalingCB, &QCheckBox::clicked, logic_, &ChartView::StopScalingCBClick,
                 after);
  ForwardToLogic(this, ShowFilterCB, &QCheckBox::clicked, logic_, &ChartView::ShowFilterCBClick,
                 after);
  connect(WykresIntUD, &QSpinBox::valueChanged, this, [this](int seconds) {
    logic_->WykresIntChange(std::to_string(seconds));
    changed_();
  });
}

void ChartPanel::Show(const ChartView& logic) {
  const ChartViewState& view = logic.View();
  Light(NewAvLED, view.NewAvLED);
  Light(LargeErLED, view.LargeErLED);
  WykresTimeT->setText(Q(view.WykresTimeT));
  WykresStartB->setText(Q(context_->Tr(view.Running ? "Stop" : "Start")));
  SavingI->setVisible(view.SavingShown);
  ShowFilterCB->setChecked(view.ShowFilter);
  StopScalingCB->setChecked(view.StopScaling);
  LineRB->setChecked(view.Style == ChartStyle::Line);
  DotRB->setChecked(view.Style == ChartStyle::Dot);
  BarRB->setChecked(view.Style == ChartStyle::Bar);
  if (WykresIntUD->value() != view.Interval) {
    const QSignalBlocker blocker(WykresIntUD);
    WykresIntUD->setValue(view.Interval);
  }
}

bool ChartPanel::eventFilter(QObject* watched, QEvent* event) {
  if (watched == SavingI && event->type() == QEvent::MouseButtonDblClick && logic_ != nullptr) {
    logic_->StopRecording();
    changed_();
    return true;
  }
  if (watched == XYChart1 && event->type() == QEvent::ContextMenu && context_ != nullptr) {
    QMenu menu(this);
    QAction* save = menu.addAction(Q(context_->TextOf("Save picture") + "..."));
    save->setObjectName(QStringLiteral("SavePicture"));
    if (menu.exec(static_cast<QContextMenuEvent*>(event)->globalPos()) == save) SavePicture();
    return true;
  }
  return QWidget::eventFilter(watched, event);
}

void ChartPanel::SavePicture() {
  FileDialogRequest request;
  request.save = true;
  request.filter =
      context_->TextOf("Pictures") + " (*.png)|*.png|" + context_->Tr("All files") + "|*.*";
  request.defaultExtension = "png";
  request.directory = context_->settings.DataDir;
  request.protectedFileText = context_->Tr("Cannot open file", ":");
  const std::optional<std::string> path = context_->ui.AskFileName(request);
  if (!path) return;
  if (!XYChart1->Picture().save(Q(*path), "PNG")) {
    context_->ShowMessage(context_->Tr("Cannot open file", ":") + "\n" + *path,
                          MessageIcon::Warning);
  }
}

}  // namespace q5480
