#include "ui/resistance_voltage_dialog.h"

#include <QHBoxLayout>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace q5480 {

using namespace selection_ui;

ResistanceVoltageDialog::ResistanceVoltageDialog(ProgramContext& context, DialogHost& host,
                                                 QWidget* parent)
    : QDialog(parent), logic_(context, host) {
  setObjectName(QStringLiteral("TWyborRV"));
  const Texts texts = logic_.Texts();
  setWindowTitle(Q(texts.at("Caption")));

  PageControl = new QTabWidget(this);
  PageControl->setObjectName(QStringLiteral("PageControl"));
  PageControl->setAccessibleName(Q(texts.at("Caption")));
  PageControl->addTab(Page(texts, ResistanceVoltageWindowLogic::kVoltagePage),
                      Q(texts.at("VoltagePage")));
  PageControl->addTab(Page(texts, ResistanceVoltageWindowLogic::kResistancePage),
                      Q(texts.at("ResistancePage")));
  connect(PageControl, &QTabWidget::currentChanged, this,
          [this](int page) { logic_.PageChange(page); });

  QDialogButtonBox* buttons = Buttons(texts, true, this);
  OKB = buttons->button(QDialogButtonBox::Ok);
  CancelB = buttons->button(QDialogButtonBox::Cancel);
  MoreB = buttons->findChild<QPushButton*>(QStringLiteral("MoreB"));
  connect(buttons, &QDialogButtonBox::accepted, this, &ResistanceVoltageDialog::OKBClick);
  connect(buttons, &QDialogButtonBox::rejected, this, &ResistanceVoltageDialog::reject);
  connect(MoreB, &QPushButton::clicked, this, &ResistanceVoltageDialog::MoreBClick);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(PageControl);
  layout->addWidget(buttons);
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
    for (int tryb = kTrybTwoWire; tryb <= kTrybFourWire; ++tryb) {
      WireR[tryb] = Radio(texts, "Wire" + std::to_string(tryb) + "R", connection);
      connectionLayout->addWidget(WireR[tryb]);
      OnChosen(WireR[tryb], this, [this, tryb] {
        logic_.WireClick(tryb);
        ShowState();
      });
    }
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
    OnToggled(box, this, [this, page, kind = kind](bool checked) {
      logic_.ConversionClick(page, kind, checked);
      ShowState();
    });
  }
  conversionLayout->addStretch();
  top->addWidget(conversion);

  RangeL[index] = MakeRangeLabels(prefix, widget);
  auto* layout = new QVBoxLayout(widget);
  layout->addLayout(top);
  layout->addWidget(RangeL[index].maximum);
  layout->addWidget(RangeL[index].input);
  layout->addWidget(RangeL[index].result);
  layout->addStretch();
  return widget;
}

void ResistanceVoltageDialog::ShowState() {
  {
    const QSignalBlocker blocker(PageControl);
    PageControl->setCurrentIndex(logic_.CurrentPage());
  }
  for (auto& [tryb, button] : WireR) Show(button, tryb == logic_.Wires(), logic_.WireEnabled(tryb));
  for (int page : {ResistanceVoltageWindowLogic::kVoltagePage,
                   ResistanceVoltageWindowLogic::kResistancePage}) {
    const InputPage& state = logic_.PageState(page);
    const auto index = static_cast<std::size_t>(page);
    Show(TableC[index], state.conversion == Conversion::Table);
    Show(LinearC[index], state.conversion == Conversion::Linear);
    ShowRangeLabels(RangeL[index], state.labels);
  }
}

void ResistanceVoltageDialog::OKBClick() {
  outcome_ = logic_.Ok();
  done(ResultOf(outcome_));
}

void ResistanceVoltageDialog::MoreBClick() {
  outcome_ = logic_.More();
  done(ResultOf(outcome_));
}

void ResistanceVoltageDialog::reject() {
  outcome_ = logic_.Cancel();
  QDialog::reject();
}

}  // namespace q5480
