#include "ui/resistance_voltage_dialog.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

namespace q5480 {

using namespace selection_ui;

ResistanceVoltageDialog::ResistanceVoltageDialog(ProgramContext& context, DialogHost& host,
                                                 QWidget* parent)
    : SelectionDialog("TWyborRV", parent), logic_(context, host) {
  const Texts texts = logic_.Texts();
  FramePages(
      texts,
      {{Page(texts, ResistanceVoltageWindowLogic::kVoltagePage), "VoltagePage"},
       {Page(texts, ResistanceVoltageWindowLogic::kResistancePage), "ResistancePage"}},
      [this](int page) { logic_.PageChange(page); }, ClosingsOf(logic_));
  ShowState();
}

QWidget* ResistanceVoltageDialog::Page(const Texts& texts, int page) {
  const bool resistance = page == ResistanceVoltageWindowLogic::kResistancePage;
  const std::string prefix = resistance ? "Resistance" : "Voltage";
  auto* widget = new QWidget;
  widget->setObjectName(Q(prefix + "Page"));
  auto* top = new QHBoxLayout;
  auto* connection = new QGroupBox(Q(texts.at("ConnectionG")), widget);
  auto* connectionLayout = new QVBoxLayout(connection);
  if (resistance) {
    AddWireButtons(texts, WireR, connection, connectionLayout,
                   ThenShow([this](int tryb) { logic_.WireClick(tryb); }));
  } else {
    // The millivolt input has one connection, shown rather than chosen.
    auto* differential = new QLabel(Q(texts.at("DifferentialL")), connection);
    differential->setObjectName(QStringLiteral("DifferentialL"));
    connectionLayout->addWidget(differential);
  }
  connectionLayout->addStretch();
  top->addWidget(connection);

  auto* conversion = new QGroupBox(Q(texts.at("ConversionG")), widget);
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
  top->addWidget(conversion);

  auto* layout = new QVBoxLayout(widget);
  layout->addLayout(top);
  RangeL[index] = AddRangeLabels(prefix, widget, layout);
  layout->addStretch();
  return widget;
}

void ResistanceVoltageDialog::ShowState() {
  ShowPage(logic_.CurrentPage());
  ShowWires(WireR, logic_);
  for (int page : {ResistanceVoltageWindowLogic::kVoltagePage,
                   ResistanceVoltageWindowLogic::kResistancePage}) {
    const InputPage& state = logic_.PageState(page);
    const auto index = static_cast<std::size_t>(page);
    Show(TableC[index], state.conversion == Conversion::Table);
    Show(LinearC[index], state.conversion == Conversion::Linear);
    ShowRangeLabels(RangeL[index], state.labels);
  }
}

}  // namespace q5480
