#include "ui/diagnostics_dialog.h"

#include <QCoreApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "ui/named_widgets.h"
#include "ui/output_field.h"
#include "ui/qt_text.h"
#include "ui/ui_colours.h"
#include "ui/window_placement.h"

namespace q5480 {
namespace {

constexpr const char* kPanelNames[kRegisterCount] = {"IinpuP",  "RinpuP", "Tinpup", "XinpuP",
                                                     "PomiarP", "WynikP", "WnormP", "AverP"};
constexpr int kMainWindowWidth = 498;  // the width the window is centred over
constexpr int kLastEepromAddress = 1727;

QLabel* Panel(const char* name, QWidget* parent) {
  auto* label = FixedFontLabel(name, parent);
  label->setFrameShape(QFrame::Panel);
  label->setFrameShadow(QFrame::Sunken);
  label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  label->setMinimumWidth(
      QFontMetrics(label->font()).horizontalAdvance(QString(16, QLatin1Char('0'))));
  return label;
}

}  // namespace

DiagnosticsDialog::DiagnosticsDialog(ProgramContext& context, ServiceSession& session,
                                     QWidget* parent)
    : QDialog(parent), logic_(context, session) {
  setObjectName(QStringLiteral("TDiagnF"));
  setWindowTitle(QStringLiteral("Q5480 Diagnostics"));
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);

  StatusGB = Named(new QGroupBox(QStringLiteral(" Status "), this), "StatusGB");
  StatusL = Named(new QLabel(StatusGB), "StatusL");
  StatusL->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  // Room for the seven status lines.
  const QFontMetrics metrics = StatusL->fontMetrics();
  StatusL->setMinimumSize(metrics.horizontalAdvance(QStringLiteral("Independent output  ")),
                          metrics.height() * 7);
  StatusL->setAccessibleName(QStringLiteral("Status"));
  (new QVBoxLayout(StatusGB))->addWidget(StatusL);
  SensorGB = Named(new QGroupBox(QStringLiteral(" Parameters "), this), "SensorGB");
  SensorL = Named(new QLabel(SensorGB), "SensorL");
  SensorL->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  SensorL->setAccessibleName(QStringLiteral("Parameters"));
  (new QVBoxLayout(SensorGB))->addWidget(SensorL);

  auto* left = new QVBoxLayout;
  left->addWidget(BuildRegisters());
  left->addWidget(BuildOutput());
  left->addWidget(BuildEditor());
  auto* right = new QVBoxLayout;
  right->addWidget(StatusGB);
  right->addWidget(SensorGB, 1);
  auto* layout = new QHBoxLayout(this);
  layout->addLayout(left);
  layout->addLayout(right);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  Timer1 = new QTimer(this);
  Timer1->setObjectName(QStringLiteral("Timer1"));
  Timer1->setInterval(kDiagnTimerInterval);
  logic_.Repaint = [this] {
    Paint();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  };
  Connect();
  Paint();
  ApplyFocus();
  Timer1->start();

  PlaceBelowParentTop(*this, parent, kMainWindowWidth);
}

QWidget* DiagnosticsDialog::BuildRegisters() {
  Rejestry = Named(new QGroupBox(this), "Rejestry");
  Rejestry->setAccessibleName(QStringLiteral("Registers"));
  RejestryItems = new QButtonGroup(Rejestry);
  auto* grid = new QGridLayout(Rejestry);
  for (std::size_t i = 0; i < kRegisterCount; ++i) {
    Items[i] = new QRadioButton(Rejestry);
    Panels[i] = Panel(kPanelNames[i], Rejestry);
    RejestryItems->addButton(Items[i], static_cast<int>(i));
    grid->addWidget(Items[i], static_cast<int>(i), 0);
    grid->addWidget(Panels[i], static_cast<int>(i), 1);
  }
  return Rejestry;
}

QWidget* DiagnosticsDialog::BuildOutput() {
  auto* area = new QWidget(this);
  auto* grid = new QGridLayout(area);
  grid->setContentsMargins(0, 0, 0, 0);
  auto* caption = new QLabel(QStringLiteral("Output"), area);
  Outputp = Panel("Outputp", area);
  caption->setBuddy(Outputp);
  Resetb = Named(new QPushButton(QStringLiteral("Reset"), area), "Resetb");
  SetOut = Named(new QLineEdit(QStringLiteral("12.000"), area), "SetOut");
  SetOut->setMaxLength(6);
  SetOut->setAlignment(Qt::AlignRight);
  SetOut->setFixedWidth(SetOut->fontMetrics().horizontalAdvance(QStringLiteral("0000000")) + 12);
  auto* unit = new QLabel(QStringLiteral("mA"), area);
  unit->setBuddy(SetOut);
  SetOutbutt = Named(new QPushButton(QStringLiteral("Preset"), area), "SetOutbutt");
  for (QPushButton* button : {Resetb, SetOutbutt}) button->setAutoDefault(false);
  grid->addWidget(caption, 0, 0);
  grid->addWidget(Outputp, 0, 1, 1, 3);
  grid->addWidget(Resetb, 1, 0);
  grid->addWidget(SetOut, 1, 1);
  grid->addWidget(unit, 1, 2);
  grid->addWidget(SetOutbutt, 1, 3);
  return area;
}

QWidget* DiagnosticsDialog::BuildEditor() {
  // Shown as the maker's form has it; reading and writing registers is not
  // part of this program, so the editor stays inert.
  auto* editor = new QFrame(this);
  editor->setFrameShape(QFrame::StyledPanel);
  EepromRB = Named(new QRadioButton(QStringLiteral("EEPROM"), editor), "EepromRB");
  EepromRB->setChecked(true);
  FlashRB = Named(new QRadioButton(QStringLiteral("Flash"), editor), "FlashRB");
  EEadr = Named(new QLineEdit(QStringLiteral("0"), editor), "EEadr");
  EEadr->setMaxLength(4);
  EEadr->setAccessibleName(QStringLiteral("Address"));
  EEadr->setFixedWidth(EEadr->fontMetrics().horizontalAdvance(QStringLiteral("000000")));
  EEadrUD = Named(new QSpinBox(editor), "EEadrUD");
  EEadrUD->setRange(0, kLastEepromAddress);
  EEadrUD->setAccessibleName(QStringLiteral("Address"));
  MessTxt = Named(new QLineEdit(QStringLiteral("??"), editor), "MessTxt");
  MessTxt->setMaxLength(11);
  MessTxt->setAccessibleName(QStringLiteral("Register value"));
  ReadEEB = Named(new QPushButton(QStringLiteral("read EE"), editor), "ReadEEB");
  ReadEEB->setToolTip(QStringLiteral("Reads 4 bytes"));
  EEwriteB = Named(new QPushButton(QStringLiteral("write EE"), editor), "EEwriteB");
  EEwriteB->setToolTip(QStringLiteral("Writes 1 byte to EEPROM or output Flash: OAE9B0000"));
  auto* grid = new QGridLayout(editor);
  grid->addWidget(EepromRB, 0, 0);
  grid->addWidget(FlashRB, 1, 0);
  grid->addWidget(EEadr, 0, 1);
  grid->addWidget(EEadrUD, 0, 2);
  grid->addWidget(MessTxt, 1, 1, 1, 2);
  grid->addWidget(ReadEEB, 0, 3);
  grid->addWidget(EEwriteB, 1, 3);
  editor->setEnabled(false);
  return editor;
}

void DiagnosticsDialog::Connect() {
  connect(Timer1, &QTimer::timeout, this, [this] {
    logic_.Timer1Timer();
    Paint();
  });
  connect(RejestryItems, &QButtonGroup::idClicked, this, [this](int id) {
    logic_.RejestryClick(static_cast<std::size_t>(id));
    Paint();
  });
  connect(Resetb, &QPushButton::clicked, this, [this] {
    logic_.ResetbClick();
    Paint();
    ApplyFocus();
  });
  ConnectOutputField(this, logic_, SetOut, SetOutbutt, [this] { Paint(); });
}

void DiagnosticsDialog::Paint() {
  const DiagnView& view = logic_.View();
  for (std::size_t i = 0; i < kRegisterCount; ++i) {
    const QString label = Q(view.labels[i]);
    Items[i]->setText(label);
    // An item without a label is no register of this model.
    Items[i]->setVisible(!label.isEmpty());
    Panels[i]->setVisible(!label.isEmpty());
    Panels[i]->setAccessibleName(label);
    Panels[i]->setText(Q(view.panels[i]));
  }
  Items[view.selected]->setChecked(true);
  QPalette palette = Outputp->palette();
  palette.setColor(QPalette::WindowText, ColourOf(view.OutputTeal ? kTeal : 0));
  Outputp->setPalette(palette);
  Outputp->setText(Q(view.Outputp));
  StatusL->setText(Q(view.StatusL));
  SensorL->setText(Q(logic_.SensorL()));
}

void DiagnosticsDialog::ApplyFocus() {
  if (logic_.TakeFocus() == DiagnControl::Rejestry) Items[logic_.View().selected]->setFocus();
}

void DiagnosticsDialog::done(int result) {
  logic_.Close();
  Timer1->stop();
  QDialog::done(result);
}

}  // namespace q5480
