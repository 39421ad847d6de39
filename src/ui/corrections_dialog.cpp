#include "ui/corrections_dialog.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "ui/logic_forwarding.h"
#include "ui/named_widgets.h"
#include "ui/output_field.h"
#include "ui/qt_text.h"
#include "ui/ui_colours.h"
#include "ui/window_placement.h"

namespace q5480 {
namespace {

constexpr int kOutputPointSize = 14;
constexpr int kValuePointSize = 11;

void PaintReading(QLabel* label, const ReadingPanel& panel) {
  QFont font = label->font();
  font.setPointSize(panel.pointSize);
  label->setFont(font);
  label->setAlignment((panel.centred ? Qt::AlignHCenter : Qt::AlignRight) | Qt::AlignVCenter);
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, ColourOf(panel.colour));
  label->setPalette(palette);
  label->setText(Q(panel.text));
}

// Room for `text` in the widget's own font.
int WidthOf(const QWidget* widget, const QString& text) {
  return QFontMetrics(widget->font()).horizontalAdvance(text);
}

}  // namespace

CorrectionsDialog::CorrectionsDialog(ProgramContext& context, ServiceSession& session,
                                     QWidget* parent)
    : QDialog(parent), logic_(context, session) {
  setObjectName(QStringLiteral("TRegulF"));
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(BuildReadings());
  layout->addWidget(BuildCorrections());
  layout->addWidget(BuildButtons());
  layout->setSizeConstraint(QLayout::SetFixedSize);

  const auto captions = logic_.Captions();
  setWindowTitle(Q(captions.at("Caption")));
  for (QWidget* control : findChildren<QWidget*>()) {
    const auto caption = captions.find(control->objectName().toStdString());
    if (caption == captions.end()) continue;
    if (auto* label = qobject_cast<QLabel*>(control)) label->setText(Q(caption->second));
    if (auto* button = qobject_cast<QAbstractButton*>(control)) button->setText(Q(caption->second));
  }
  for (const auto& [name, hint] : logic_.Hints()) {
    if (auto* control = findChild<QWidget*>(Q(name))) control->setToolTip(Q(hint));
  }
  // Controls without a caption of their own are named after their label.
  ZeroP->setAccessibleName(ZeroT->text());
  GainP->setAccessibleName(GainT->text());
  SetOut->setAccessibleName(SetOut->toolTip());

  Timer1 = new QTimer(this);
  Timer1->setObjectName(QStringLiteral("Timer1"));
  Timer1->setInterval(kRegulTimerInterval);
  Connect();
  Paint();
  Timer1->start();

  PlaceBelowParentTop(*this, parent);
}

QWidget* CorrectionsDialog::BuildReadings() {
  QFrame* outer = ColouredFrame(kTeal, QFrame::Raised, this);
  auto* row = new QHBoxLayout(outer);
  row->setContentsMargins(8, 8, 8, 8);

  QFrame* result = ColouredFrame(kSilver, QFrame::Sunken, outer);
  PomiarT = Named(new QPushButton(result), "PomiarT");
  PomiarT->setFlat(true);
  PomiarT->setFocusPolicy(Qt::NoFocus);
  PomiarP = FixedFontLabel("PomiarP", result, 18);
  PomiarP->setMinimumWidth(WidthOf(PomiarP, QString(15, QLatin1Char('0'))));
  PomiarP->setMinimumHeight(QFontMetrics(PomiarP->font()).height() + 8);
  auto* resultColumn = new QVBoxLayout(result);
  resultColumn->setContentsMargins(6, 2, 6, 4);
  resultColumn->addWidget(PomiarT, 0, Qt::AlignHCenter);
  resultColumn->addWidget(PomiarP);

  QFrame* output = ColouredFrame(kSilver, QFrame::Sunken, outer);
  OutputT = Named(new QLabel(output), "OutputT");
  Outputp = FixedFontLabel("Outputp", output, kOutputPointSize);
  Outputp->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  Outputp->setMinimumWidth(WidthOf(Outputp, QString(12, QLatin1Char('0'))));
  OutputT->setBuddy(Outputp);
  auto* outputColumn = new QVBoxLayout(output);
  outputColumn->setContentsMargins(6, 2, 6, 4);
  outputColumn->addWidget(OutputT, 0, Qt::AlignHCenter);
  outputColumn->addWidget(Outputp, 1);

  row->addWidget(result);
  row->addWidget(output);
  return outer;
}

QWidget* CorrectionsDialog::BuildCorrections() {
  auto* area = new QWidget(this);
  auto* grid = new QGridLayout(area);
  grid->setContentsMargins(0, 4, 0, 4);
  auto addRow = [&](int row, const char* caption, const char* scroll, const char* value,
                    QLabel*& captionLabel, QScrollBar*& bar, QLabel*& valuePanel) {
    captionLabel = Named(new QLabel(area), caption);
    bar = Named(new QScrollBar(Qt::Horizontal, area), scroll);
    bar->setRange(0, kScrollEnd);
    bar->setPageStep(kScrollPage);
    bar->setMinimumWidth(300);
    captionLabel->setBuddy(bar);
    valuePanel = FixedFontLabel(value, area, kValuePointSize);
    valuePanel->setAutoFillBackground(true);
    QPalette palette = valuePanel->palette();
    palette.setColor(QPalette::Window, Qt::black);
    palette.setColor(QPalette::WindowText, Qt::white);
    valuePanel->setPalette(palette);
    valuePanel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    valuePanel->setMinimumWidth(WidthOf(valuePanel, QStringLiteral("+0.00  ")));
    grid->addWidget(captionLabel, row, 0);
    grid->addWidget(bar, row, 1);
    grid->addWidget(valuePanel, row, 2);
  };
  addRow(0, "ZeroT", "ZeroS", "ZeroP", ZeroT, ZeroS, ZeroP);
  addRow(1, "GainT", "GainS", "GainP", GainT, GainS, GainP);
  grid->setColumnStretch(1, 1);
  return area;
}

QWidget* CorrectionsDialog::BuildButtons() {
  auto* area = new QWidget(this);
  auto* grid = new QGridLayout(area);
  grid->setContentsMargins(0, 0, 0, 0);
  auto button = [&](const char* name) {
    auto* created = Named(new QPushButton(area), name);
    // Enter belongs to the output field, not to a default button.
    created->setAutoDefault(false);
    return created;
  };
  SimulCB = Named(new QCheckBox(area), "SimulCB");
  AllZeroB = button("AllZeroB");
  ZapiszB = button("ZapiszB");
  SetOut = Named(new QLineEdit(area), "SetOut");
  SetOut->setMaxLength(5);
  SetOut->setFixedWidth(SetOut->fontMetrics().horizontalAdvance(QStringLiteral("000000")) + 12);
  SetOut->setAlignment(Qt::AlignRight);
  SetOut->setText(Q(logic_.View().SetOut));
  auto* unit = new QLabel(QStringLiteral("mA"), area);
  SetOutbutt = button("SetOutbutt");
  ResetB = button("ResetB");
  ExitB = button("ExitB");

  auto* output = new QHBoxLayout;
  output->addWidget(SetOut);
  output->addWidget(unit);
  output->addWidget(SetOutbutt);
  output->addStretch();
  grid->addWidget(SimulCB, 0, 0);
  grid->addWidget(AllZeroB, 0, 1);
  grid->addWidget(ZapiszB, 0, 2);
  grid->addLayout(output, 1, 0);
  grid->addWidget(ResetB, 1, 1);
  grid->addWidget(ExitB, 1, 2);
  grid->setColumnStretch(0, 1);
  return area;
}

void CorrectionsDialog::Connect() {
  // After every event the window shows what the logic made of it.
  const auto then = [this] {
    Paint();
    ApplyFocus();
  };
  using Logic = CorrectionsWindowLogic;
  ForwardToLogic(this, Timer1, &QTimer::timeout, &logic_, &Logic::Timer1Timer, then);
  ForwardToLogic(this, ZeroS, &QScrollBar::valueChanged, &logic_, &Logic::ZeroSChange, then);
  ForwardToLogic(this, GainS, &QScrollBar::valueChanged, &logic_, &Logic::GainSChange, then);
  ForwardToLogic(this, AllZeroB, &QPushButton::clicked, &logic_, &Logic::AllZeroBClick, then);
  ForwardToLogic(this, PomiarT, &QPushButton::clicked, &logic_, &Logic::PomiarTClick, then);
  ForwardToLogic(this, SimulCB, &QCheckBox::clicked, &logic_, &Logic::SimulCBClick, then);
  ForwardToLogic(this, ZapiszB, &QPushButton::clicked, &logic_, &Logic::ZapiszBClick, then);
  ForwardToLogic(this, ResetB, &QPushButton::clicked, &logic_, &Logic::ResetBClick, then);
  ConnectOutputField(this, logic_, SetOut, SetOutbutt, [this] { Paint(); });
  connect(ExitB, &QPushButton::clicked, this, &QDialog::reject);
}

void CorrectionsDialog::Paint() {
  const RegulView& view = logic_.View();
  {
    const QSignalBlocker quietZero(ZeroS);
    const QSignalBlocker quietGain(GainS);
    ZeroS->setValue(view.ZeroS);
    GainS->setValue(view.GainS);
  }
  ZeroP->setText(Q(view.ZeroP));
  GainP->setText(Q(view.GainP));
  PomiarT->setText(Q(view.PomiarT));
  PomiarT->setEnabled(view.PomiarTEnabled);
  PomiarP->setAccessibleName(PomiarT->text().trimmed());
  SimulCB->setChecked(view.SimulChecked);
  SimulCB->setEnabled(view.SimulEnabled);
  PaintReading(PomiarP, view.PomiarP);
  PaintReading(Outputp, view.Outputp);
}

void CorrectionsDialog::ApplyFocus() {
  switch (logic_.TakeFocus()) {
    case RegulControl::ZeroS: ZeroS->setFocus(); break;
    case RegulControl::ExitB: ExitB->setFocus(); break;
    case RegulControl::None: break;
  }
}

void CorrectionsDialog::done(int result) {
  Timer1->stop();
  logic_.Close();
  QDialog::done(result);
}

}  // namespace q5480
