#include "ui/loop_current_dialog.h"

#include <QHBoxLayout>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace q5480 {

using namespace selection_ui;

LoopCurrentDialog::LoopCurrentDialog(ProgramContext& context, DialogHost& host, QWidget* parent)
    : QDialog(parent), logic_(context, host) {
  setObjectName(QStringLiteral("TWyborI"));
  const Texts texts = logic_.Texts();
  setWindowTitle(Q(texts.at("Caption")));

  auto* input = new QGroupBox(Q(texts.at("InputG")), this);
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
  QGroupBox* conversion = ConversionGroup(texts, "", ConversionR, this);
  for (int kind = 0; kind < kConversionCount; ++kind) {
    OnChosen(ConversionR[static_cast<std::size_t>(kind)], this, [this, kind] {
      logic_.ConversionClick(static_cast<Conversion>(kind));
      ShowState();
    });
  }
  RangeL = MakeRangeLabels("", this);

  KropkaT = new QLabel(Q(texts.at("KropkaT")), this);
  KropkaT->setObjectName(QStringLiteral("KropkaT"));
  KropkaE = new QComboBox(this);
  KropkaE->setObjectName(QStringLiteral("KropkaE"));
  for (const std::string& item : logic_.DotPositions()) KropkaE->addItem(Q(item));
  KropkaT->setBuddy(KropkaE);
  connect(KropkaE, &QComboBox::currentIndexChanged, this,
          [this](int index) { logic_.DotPositionChange(index); });

  QDialogButtonBox* buttons = Buttons(texts, false, this);
  OKB = buttons->button(QDialogButtonBox::Ok);
  CancelB = buttons->button(QDialogButtonBox::Cancel);
  connect(buttons, &QDialogButtonBox::accepted, this, &LoopCurrentDialog::OKBClick);
  connect(buttons, &QDialogButtonBox::rejected, this, &LoopCurrentDialog::reject);

  auto* groups = new QHBoxLayout;
  groups->addWidget(input);
  groups->addWidget(conversion);
  auto* dot = new QHBoxLayout;
  dot->addWidget(KropkaT);
  dot->addWidget(KropkaE);
  dot->addStretch();
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(groups);
  layout->addWidget(RangeL.maximum);
  layout->addWidget(RangeL.input);
  layout->addWidget(RangeL.result);
  layout->addLayout(dot);
  layout->addWidget(buttons);
  ShowState();
}

void LoopCurrentDialog::ShowState() {
  Show(SingleR, logic_.Single());
  Show(DoubleR, logic_.Double());
  const InputPage& state = logic_.PageState();
  for (std::size_t kind = 0; kind < ConversionR.size(); ++kind) {
    Show(ConversionR[kind], static_cast<Conversion>(kind) == state.conversion);
  }
  ShowRangeLabels(RangeL, state.labels);
  const QSignalBlocker blocker(KropkaE);
  KropkaE->setCurrentIndex(logic_.DotPosition());
}

void LoopCurrentDialog::OKBClick() {
  outcome_ = logic_.Ok();
  done(ResultOf(outcome_));
}

void LoopCurrentDialog::reject() {
  outcome_ = logic_.Cancel();
  QDialog::reject();
}

}  // namespace q5480
