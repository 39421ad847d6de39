#include "ui/simulation_dialog.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>
#include <algorithm>

#include "ui/linear_dialog.h"
#include "ui/qt_text.h"
#include "ui/window_placement.h"

namespace q5480 {
namespace {

constexpr int kPlotSide = 216;  // twice the control's own size
constexpr int kResultPointSize = 14;

QLineEdit* EntryEdit(const char* name, QWidget* parent) {
  auto* edit = NamedControl<QLineEdit>(name, parent);
  // The limit holds for typing only: the window itself shows "100.00".
  const QRegularExpression limit(QStringLiteral(".{0,%1}").arg(kEditMaxLength));
  edit->setValidator(new QRegularExpressionValidator(limit, edit));
  edit->setAlignment(Qt::AlignRight);
  edit->setFixedWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("0000000")) + 12);
  return edit;
}

QScrollBar* EntryScrollBar(const char* name, int max, QWidget* parent) {
  auto* bar = NamedControl<QScrollBar>(name, Qt::Vertical, parent);
  // A vertical bar has its minimum at the top, where the logic puts 100 %.
  bar->setRange(0, max);
  bar->setPageStep(kScrollLargeStep);
  bar->setFixedHeight(kPlotSide);
  return bar;
}

}  // namespace

SimulationDialog::SimulationDialog(SimulationWindowLogic& logic, QWidget* parent)
    : QDialog(parent), logic_(logic) {
  setObjectName(QStringLiteral("TSymulF"));
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);

  WykresXY1 = NamedControl<XyPlot>("WykresXY1", this);
  WykresXY1->setFixedSize(kPlotSide, kPlotSide);
  WykresXY1->SetBgndColor(kPlotBackground);
  WykresXY1->PenColor = kPlotPenColour;
  WykresXY1->HairsColor = kPlotHairsColour;
  InputS = EntryScrollBar("InputS", kInputScrollMax, this);
  OutputS = EntryScrollBar("OutputS", kOutputScrollMax, this);
  AccuracyT = NamedControl<QLabel>("AccuracyT", this);
  AccuracyT->setWordWrap(true);

  auto* top = new QHBoxLayout;
  top->addWidget(WykresXY1, 0, Qt::AlignTop);
  top->addWidget(InputS, 0, Qt::AlignTop);
  top->addWidget(OutputS, 0, Qt::AlignTop);
  top->addSpacing(6);
  top->addWidget(BuildEntries(), 0, Qt::AlignTop);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(AccuracyT);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  Timer1 = NamedControl<QTimer>("Timer1", this);
  Timer1->setSingleShot(true);
  logic_.Repaint = [this] { Paint(); };
  logic_.FormShow();
  Connect();
  InputE->setFocus();

  PlaceBelowParentTop(*this, parent);
}

SimulationDialog::~SimulationDialog() { logic_.Repaint = nullptr; }

QWidget* SimulationDialog::BuildEntries() {
  auto* area = new QWidget(this);
  auto* column = new QVBoxLayout(area);
  column->setContentsMargins(0, 0, 0, 0);
  auto group = [&](const char* name, QGroupBox*& box) {
    box = NamedControl<QGroupBox>(name, area);
    column->addWidget(box);
    return new QHBoxLayout(box);
  };

  QHBoxLayout* input = group("InputGB", InputGB);
  InputE = EntryEdit("InputE", InputGB);
  Input1T = NamedControl<QLabel>("Input1T", InputGB);
  Input1T->setMinimumWidth(
      Input1T->fontMetrics().horizontalAdvance(QStringLiteral("(-0000.00 Ohm)")));
  input->addWidget(InputE);
  input->addWidget(new QLabel(QStringLiteral("%"), InputGB));
  input->addWidget(Input1T, 1);

  QHBoxLayout* result = group("ResultGB", ResultGB);
  ResultP = NamedControl<QLabel>("ResultP", ResultGB);
  ResultP->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  ResultP->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  font.setBold(true);
  font.setPointSize(kResultPointSize);
  ResultP->setFont(font);
  ResultP->setMinimumWidth(QFontMetrics(font).horizontalAdvance(QString(9, QLatin1Char('0'))));
  ResultJT = NamedControl<QLabel>("ResultJT", ResultGB);
  result->addWidget(ResultP, 1);
  result->addWidget(ResultJT);

  QHBoxLayout* output = group("OutputGB", OutputGB);
  OutputE = EntryEdit("OutputE", OutputGB);
  output->addWidget(OutputE);
  output->addWidget(new QLabel(QStringLiteral("mA"), OutputGB));
  output->addStretch();
  column->addStretch();
  return area;
}

void SimulationDialog::Connect() {
  connect(Timer1, &QTimer::timeout, this, [this] {
    logic_.Tick(SimulationClock::now());
    Schedule();
  });
  connect(InputE, &QLineEdit::textChanged, this, [this](const QString& text) {
    logic_.InputEChange(text.toStdString(), SimulationClock::now());
    Schedule();
  });
  connect(OutputE, &QLineEdit::textChanged, this, [this](const QString& text) {
    logic_.OutputEChange(text.toStdString(), SimulationClock::now());
    Schedule();
  });
  InputE->installEventFilter(this);
  OutputE->installEventFilter(this);
  connect(InputS, &QScrollBar::valueChanged, this,
          [this](int position) { logic_.InputSChange(position); });
  connect(OutputS, &QScrollBar::valueChanged, this,
          [this](int position) { logic_.OutputSChange(position); });
  WykresXY1->OnClick = [this](XyPlot&) { logic_.WykresXY1Click(); };
}

bool SimulationDialog::eventFilter(QObject* watched, QEvent* event) {
  // Enter is taken here: for a text longer than the typing limit the edit
  // would not report it.
  if (event->type() != QEvent::KeyPress || (watched != InputE && watched != OutputE)) {
    return QDialog::eventFilter(watched, event);
  }
  const int key = static_cast<QKeyEvent*>(event)->key();
  if (key != Qt::Key_Return && key != Qt::Key_Enter) return QDialog::eventFilter(watched, event);
  if (watched == InputE) {
    logic_.InputEEnter();
  } else {
    logic_.OutputEEnter();
  }
  Schedule();
  return true;
}

void SimulationDialog::Schedule() {
  const auto next = logic_.NextDeadline();
  if (!next) {
    Timer1->stop();
    return;
  }
  // A timer that fires early finds nothing due and is started again.
  const auto wait = std::chrono::ceil<std::chrono::milliseconds>(*next - SimulationClock::now());
  Timer1->start(std::max(wait, std::chrono::milliseconds(0)));
}

void SimulationDialog::Paint() {
  const SimulationView& view = logic_.View();
  setWindowTitle(Q(view.caption));
  InputGB->setTitle(Q(view.InputGB));
  ResultGB->setTitle(Q(view.ResultGB));
  OutputGB->setTitle(Q(view.OutputGB));
  // The change events these cause come back while the logic is updating.
  InputE->setText(Q(view.InputE));
  OutputE->setText(Q(view.OutputE));
  InputS->setValue(view.InputS);
  OutputS->setValue(view.OutputS);
  Input1T->setText(Q(view.Input1T));
  ResultP->setText(Q(view.ResultP));
  ResultJT->setText(Q(view.ResultJT));
  AccuracyT->setText(Q(view.accuracy));
  for (QWidget* control : {static_cast<QWidget*>(InputE), static_cast<QWidget*>(InputS)}) {
    control->setToolTip(Q(view.inputHint));
  }
  for (QWidget* control : {static_cast<QWidget*>(OutputE), static_cast<QWidget*>(OutputS)}) {
    control->setToolTip(Q(view.outputHint));
  }
  WykresXY1->setToolTip(Q(view.plotHint));
  // The edits and the result are named after their groups, the bars after
  // their hints.
  InputE->setAccessibleName(InputGB->title().trimmed());
  ResultP->setAccessibleName(ResultGB->title().trimmed());
  OutputE->setAccessibleName(OutputGB->title().trimmed());
  InputS->setAccessibleName(Q(view.inputHint));
  OutputS->setAccessibleName(Q(view.outputHint));
  WykresXY1->setAccessibleDescription(Q(view.plotHint));
  PaintPlot();
}

void SimulationDialog::PaintPlot() {
  const SimulationPlot& plot = logic_.Plot();
  // Before the points: a change of the range may resize the trace.
  WykresXY1->SetBipolar(plot.bipolar);
  if (plot.traceRevision != plottedRevision_) {
    plottedRevision_ = plot.traceRevision;
    // The cross-hairs stay out of the way while the trace is drawn again.
    WykresXY1->SetCrossHairsOn(false);
    WykresXY1->ClearTrace();
    WykresXY1->BigDot = plot.bigDots;
    for (const PlotPoint& point : plot.points) WykresXY1->PlotPoint(point.x, point.y);
  }
  WykresXY1->SetCrossHairsOn(plot.hairsOn);
  WykresXY1->SetCrossHairs(plot.hairs.x, plot.hairs.y);
}

void SimulationDialog::done(int result) {
  Timer1->stop();
  QDialog::done(result);
}

}  // namespace q5480
