#include "ui/sensor_dialog.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace q5480 {


using namespace selection_ui;

SensorDialog::SensorDialog(ProgramContext& context, DialogHost& host, QWidget* parent)
    : QDialog(parent), logic_(context, host) {
  setObjectName(QStringLiteral("TWybor"));
  const Texts texts = logic_.Texts();
  setWindowTitle(Q(texts.at("Caption")));

  PageControl = new QTabWidget(this);
  PageControl->setObjectName(QStringLiteral("PageControl"));
  PageControl->setAccessibleName(Q(texts.at("Caption")));
  PageControl->addTab(RtdPage(texts), Q(texts.at("RtdPage")));
  PageControl->addTab(TermoPage(texts), Q(texts.at("TermoPage")));
  connect(PageControl, &QTabWidget::currentChanged, this,
          [this](int page) { logic_.PageChange(page); });

  QDialogButtonBox* buttons = Buttons(texts, true, this);
  OKB = buttons->button(QDialogButtonBox::Ok);
  CancelB = buttons->button(QDialogButtonBox::Cancel);
  MoreB = buttons->findChild<QPushButton*>(QStringLiteral("MoreB"));
  connect(buttons, &QDialogButtonBox::accepted, this, &SensorDialog::OKBClick);
  connect(buttons, &QDialogButtonBox::rejected, this, &SensorDialog::reject);
  connect(MoreB, &QPushButton::clicked, this, &SensorDialog::MoreBClick);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(PageControl);
  layout->addWidget(buttons);
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
  for (int tryb = kTrybTwoWire; tryb <= kTrybFourWire; ++tryb) {
    WireR[tryb] = Radio(texts, "Wire" + std::to_string(tryb) + "R", wires);
    wireLayout->addWidget(WireR[tryb]);
    OnChosen(WireR[tryb], this, [this, tryb] {
      logic_.WireClick(tryb);
      ShowState();
    });
  }
  wireLayout->addStretch();
  RtdLinC = Check(texts, "RtdLinC", page);
  OnToggled(RtdLinC, this, [this](bool checked) {
    logic_.RtdLinClick(checked);
    ShowState();
  });

  auto* groups = new QHBoxLayout;
  groups->addWidget(types);
  groups->addWidget(wires);
  auto* layout = new QVBoxLayout(page);
  layout->addLayout(groups);
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
    OnToggled(box, this, [this, handler](bool checked) {
      (logic_.*handler)(checked);
      ShowState();
    });
  };
  onToggled(TempDiffC, &SensorWindowLogic::TempDiffClick);
  onToggled(CompensationC, &SensorWindowLogic::CompensationClick);
  onToggled(TermoLinC, &SensorWindowLogic::TermoLinClick);

  auto* groups = new QHBoxLayout;
  groups->addWidget(types);
  groups->addWidget(mode);
  auto* layout = new QVBoxLayout(page);
  layout->addLayout(groups);
  layout->addWidget(TermoLinC);
  layout->addStretch();

  for (auto& [typ, button] : TypR) {
    OnChosen(button, this, [this, typ = typ] {
      logic_.TypClick(typ);
      ShowState();
    });
  }
  return page;
}

void SensorDialog::ShowState() {
  {
    const QSignalBlocker blocker(PageControl);
    PageControl->setCurrentIndex(logic_.CurrentPage());
  }
  for (auto& [typ, button] : TypR) Show(button, typ == logic_.RtdTyp() || typ == logic_.TermoTyp());
  for (auto& [tryb, button] : WireR) Show(button, tryb == logic_.Wires(), logic_.WireEnabled(tryb));
  Show(RtdLinC, logic_.RtdLin());
  Show(TermoLinC, logic_.TermoLin());
  Show(TempDiffC, logic_.TempDiff());
  Show(CompensationC, logic_.Compensation());
}

void SensorDialog::OKBClick() {
  if (const auto outcome = logic_.Ok()) {
    outcome_ = *outcome;
    done(ResultOf(outcome_));
  }
}

void SensorDialog::MoreBClick() {
  outcome_ = logic_.More();
  done(ResultOf(outcome_));
}

void SensorDialog::reject() {
  outcome_ = logic_.Cancel();
  QDialog::reject();
}

}  // namespace q5480
