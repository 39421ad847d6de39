#include "ui/voltage_current_dialog.h"

#include <QHBoxLayout>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace q5480 {

using namespace selection_ui;

VoltageCurrentDialog::VoltageCurrentDialog(ProgramContext& context, DialogHost& host,
                                           QWidget* parent)
    : QDialog(parent), logic_(context, host) {
  setObjectName(QStringLiteral("TWyborIV"));
  const Texts texts = logic_.Texts();
  setWindowTitle(Q(texts.at("Caption")));

  PageControl = new QTabWidget(this);
  PageControl->setObjectName(QStringLiteral("PageControl"));
  PageControl->setAccessibleName(Q(texts.at("Caption")));
  PageControl->addTab(Page(texts, VoltageCurrentWindowLogic::kVoltagePage),
                      Q(texts.at("VoltagePage")));
  PageControl->addTab(Page(texts, VoltageCurrentWindowLogic::kCurrentPage),
                      Q(texts.at("CurrentPage")));
  connect(PageControl, &QTabWidget::currentChanged, this,
          [this](int page) { logic_.PageChange(page); });

  QDialogButtonBox* buttons = Buttons(texts, false, this);
  OKB = buttons->button(QDialogButtonBox::Ok);
  CancelB = buttons->button(QDialogButtonBox::Cancel);
  connect(buttons, &QDialogButtonBox::accepted, this, &VoltageCurrentDialog::OKBClick);
  connect(buttons, &QDialogButtonBox::rejected, this, &VoltageCurrentDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(PageControl);
  layout->addWidget(buttons);
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
    auto* input = new QGroupBox(Q(texts.at("InputG")), widget);
    auto* inputLayout = new QVBoxLayout(input);
    SingleR = Radio(texts, "SingleR", input);
    DoubleR = Radio(texts, "DoubleR", input);
    inputLayout->addWidget(SingleR);
    inputLayout->addWidget(DoubleR);
    inputLayout->addStretch();
    for (auto [button, doubleInput] : {std::pair{SingleR, false}, std::pair{DoubleR, true}}) {
      OnChosen(button, this, [this, doubleInput = doubleInput] {
        logic_.InputClick(doubleInput);
        ShowState();
      });
    }
    top->addWidget(input);
  }
  top->addWidget(ConversionGroup(texts, prefix, ConversionR[index], widget));
  for (int kind = 0; kind < kConversionCount; ++kind) {
    OnChosen(ConversionR[index][static_cast<std::size_t>(kind)], this, [this, page, kind] {
      logic_.ConversionClick(page, static_cast<Conversion>(kind));
      ShowState();
    });
  }

  RangeL[index] = MakeRangeLabels(prefix, widget);
  auto* layout = new QVBoxLayout(widget);
  layout->addLayout(top);
  layout->addWidget(RangeL[index].maximum);
  layout->addWidget(RangeL[index].input);
  layout->addWidget(RangeL[index].result);
  layout->addStretch();
  return widget;
}

void VoltageCurrentDialog::ShowState() {
  {
    const QSignalBlocker blocker(PageControl);
    PageControl->setCurrentIndex(logic_.CurrentPage());
  }
  Show(SingleR, !logic_.DoubleInput());
  Show(DoubleR, logic_.DoubleInput());
  for (int page :
       {VoltageCurrentWindowLogic::kVoltagePage, VoltageCurrentWindowLogic::kCurrentPage}) {
    const InputPage& state = logic_.PageState(page);
    const auto index = static_cast<std::size_t>(page);
    for (std::size_t kind = 0; kind < ConversionR[index].size(); ++kind) {
      Show(ConversionR[index][kind], static_cast<Conversion>(kind) == state.conversion);
    }
    ShowRangeLabels(RangeL[index], state.labels);
  }
}

void VoltageCurrentDialog::OKBClick() {
  outcome_ = logic_.Ok();
  done(ResultOf(outcome_));
}

void VoltageCurrentDialog::reject() {
  outcome_ = logic_.Cancel();
  QDialog::reject();
}

}  // namespace q5480
