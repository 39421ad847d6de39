#include "ui/resistance_voltage_dialog.h"

#include <QVBoxLayout>

namespace q5480 {

using namespace selection_ui;

ResistanceVoltageDialog::ResistanceVoltageDialog(ProgramContext& context, DialogHost& host,
                                                 QWidget* parent)
    : TwoPageInputDialog("TWyborRV", logic_, parent), logic_(context, host) {
  FrameInputPages(logic_.Texts(), {"Voltage", "Resistance"}, ClosingsOf(logic_));
}

void ResistanceVoltageDialog::AddChoices(const Texts& texts, int page, const std::string& prefix,
                                         QWidget* pageWidget, QHBoxLayout* choices) {
  auto* connection = new QGroupBox(Q(texts.at("ConnectionG")), pageWidget);
  auto* connectionLayout = new QVBoxLayout(connection);
  if (page == ResistanceVoltageWindowLogic::kResistancePage) {
    AddWireButtons(texts, WireR, connection, connectionLayout,
                   ThenShow([this](int tryb) { logic_.WireClick(tryb); }));
  } else {
    // The millivolt input has one connection, shown rather than chosen.
    auto* differential = new QLabel(Q(texts.at("DifferentialL")), connection);
    differential->setObjectName(QStringLiteral("DifferentialL"));
    connectionLayout->addWidget(differential);
  }
  connectionLayout->addStretch();
  choices->addWidget(connection);

  auto* conversion = new QGroupBox(Q(texts.at("ConversionG")), pageWidget);
  auto* conversionLayout = new QVBoxLayout(conversion);
  const auto index = static_cast<std::size_t>(page);
  TableC[index] = new QCheckBox(Q(texts.at("TableC")), conversion);
  TableC[index]->setObjectName(Q(prefix + "TableC"));
  LinearC[index] = new QCheckBox(Q(texts.at("LinearC")), conversion);
  LinearC[index]->setObjectName(Q(prefix + "LinearC"));
  for (auto [box, kind] : {std::pair{TableC[index], Conversion::Table},
                           std::pair{LinearC[index], Conversion::Linear}}) {
    conversionLayout->addWidget(box);
    OnToggled(box, this, ThenShow([this, page, kind = kind](bool checked) {
                logic_.ConversionClick(page, kind, checked);
              }));
  }
  conversionLayout->addStretch();
  choices->addWidget(conversion);
}

void ResistanceVoltageDialog::ShowState() {
  ShowWires(WireR, logic_);
  ShowPages([this](std::size_t index, const InputPage& state) {
    Show(TableC[index], state.conversion == Conversion::Table);
    Show(LinearC[index], state.conversion == Conversion::Linear);
  });
}

}  // namespace q5480
