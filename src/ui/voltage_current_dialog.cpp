#include "ui/voltage_current_dialog.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

namespace q5480 {

using namespace selection_ui;

VoltageCurrentDialog::VoltageCurrentDialog(ProgramContext& context, DialogHost& host,
                                           QWidget* parent)
    : SelectionDialog("TWyborIV", parent), logic_(context, host) {
  const Texts texts = logic_.Texts();
  FramePages(
      texts,
      {{Page(texts, VoltageCurrentWindowLogic::kVoltagePage), "VoltagePage"},
       {Page(texts, VoltageCurrentWindowLogic::kCurrentPage), "CurrentPage"}},
      [this](int page) { logic_.PageChange(page); }, ClosingsOf(logic_));
  ShowState();
}

QWidget* VoltageCurrentDialog::Page(const Texts& texts, int page) {
  const bool current = page == VoltageCurrentWindowLogic::kCurrentPage;
  const std::string prefix = current ? "Current" : "Voltage";
  const auto index = static_cast<std::size_t>(page);
  auto* widget = new QWidget;
  widget->setObjectName(Q(prefix + "Page"));
  auto* top = new QHBoxLayout;
  if (current) {
    top->addWidget(InputGroup(texts, SingleR, DoubleR, widget, ThenShow([this](bool doubleInput) {
                                logic_.InputClick(doubleInput);
                              })));
  }
  top->addWidget(ConversionGroup(
      texts, prefix, ConversionR[index], widget,
      ThenShow([this, page](Conversion kind) { logic_.ConversionClick(page, kind); })));

  auto* layout = new QVBoxLayout(widget);
  layout->addLayout(top);
  RangeL[index] = AddRangeLabels(prefix, widget, layout);
  layout->addStretch();
  return widget;
}

void VoltageCurrentDialog::ShowState() {
  ShowPage(logic_.CurrentPage());
  Show(SingleR, !logic_.DoubleInput());
  Show(DoubleR, logic_.DoubleInput());
  for (int page :
       {VoltageCurrentWindowLogic::kVoltagePage, VoltageCurrentWindowLogic::kCurrentPage}) {
    const InputPage& state = logic_.PageState(page);
    const auto index = static_cast<std::size_t>(page);
    ShowConversion(ConversionR[index], state.conversion);
    ShowRangeLabels(RangeL[index], state.labels);
  }
}

}  // namespace q5480
