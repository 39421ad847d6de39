#include "ui/sensor_dialog.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "ui/named_widgets.h"

namespace q5480 {

using namespace selection_ui;

SensorDialog::SensorDialog(ProgramContext& context, DialogHost& host, QWidget* parent)
    : SelectionDialog("TWybor", parent), logic_(context, host) {
  const Texts texts = logic_.Texts();
  FramePages(
      texts, {{RtdPage(texts), "RtdPage"}, {TermoPage(texts), "TermoPage"}},
      [this](int page) { logic_.PageChange(page); }, ClosingsOf(logic_));
  ShowState();
}

QWidget* SensorDialog::RtdPage(const Texts& texts) {
  auto* page = new QWidget;
  page->setObjectName(QStringLiteral("RtdPage"));
  auto* types = new QGroupBox(Q(texts.at("RtdTypG")), page);
  auto* typeLayout = new QVBoxLayout(types);
  for (int typ = kTypPt385; typ <= kTypCu100; ++typ) {
    TypR[typ] = Radio(texts, "Typ" + std::to_string(typ) + "R", types);
    typeLayout->addWidget(TypR[typ]);
  }
  auto* wires = new QGroupBox(Q(texts.at("ConnectionG")), page);
  auto* wireLayout = new QVBoxLayout(wires);
  AddWireButtons(texts, WireR, wires, wireLayout,
                 ThenShow([this](int tryb) { logic_.WireClick(tryb); }));
  wireLayout->addStretch();
  RtdLinC = Check(texts, "RtdLinC", page);
  OnToggled(RtdLinC, this, ThenShow([this](bool checked) { logic_.RtdLinClick(checked); }));

  auto* layout = new QVBoxLayout(page);
  layout->addLayout(Row({types, wires}));
  layout->addWidget(RtdLinC);
  layout->addStretch();
  return page;
}

QWidget* SensorDialog::TermoPage(const Texts& texts) {
  auto* page = new QWidget;
  page->setObjectName(QStringLiteral("TermoPage"));
  auto* types = new QGroupBox(Q(texts.at("TermoTypG")), page);
  auto* typeLayout = new QGridLayout(types);
  constexpr int kRows = 5;
  for (int typ = kTypThermocoupleB; typ <= kTypUserThermocouple; ++typ) {
    TypR[typ] = Radio(texts, "Typ" + std::to_string(typ) + "R", types);
    const int place = typ - kTypThermocoupleB;
    typeLayout->addWidget(TypR[typ], place % kRows, place / kRows);
  }
  auto* mode = new QGroupBox(Q(texts.at("ModeG")), page);
  auto* modeLayout = new QVBoxLayout(mode);
  TempDiffC = Check(texts, "TempDiffC", mode);
  CompensationC = Check(texts, "CompensationC", mode);
  modeLayout->addWidget(TempDiffC);
  modeLayout->addWidget(CompensationC);
  modeLayout->addStretch();
  TermoLinC = Check(texts, "TermoLinC", page);

  const auto onToggled = [this](QCheckBox* box, void (SensorWindowLogic::*handler)(bool)) {
    OnToggled(box, this, ThenShow([this, handler](bool checked) { (logic_.*handler)(checked); }));
  };
  onToggled(TempDiffC, &SensorWindowLogic::TempDiffClick);
  onToggled(CompensationC, &SensorWindowLogic::CompensationClick);
  onToggled(TermoLinC, &SensorWindowLogic::TermoLinClick);

  auto* layout = new QVBoxLayout(page);
  layout->addLayout(Row({types, mode}));
  layout->addWidget(TermoLinC);
  layout->addStretch();

  for (auto& [typ, button] : TypR) {
    OnChosen(button, this, ThenShow([this, typ = typ] { logic_.TypClick(typ); }));
  }
  return page;
}

void SensorDialog::ShowState() {
  ShowPage(logic_.CurrentPage());
  for (auto& [typ, button] : TypR) Show(button, typ == logic_.RtdTyp() || typ == logic_.TermoTyp());
  ShowWires(WireR, logic_);
  Show(RtdLinC, logic_.RtdLin());
  Show(TermoLinC, logic_.TermoLin());
  Show(TempDiffC, logic_.TempDiff());
  Show(CompensationC, logic_.Compensation());
}

}  // namespace q5480
