#include "ui/loop_current_dialog.h"

#include <QHBoxLayout>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace q5480 {

using namespace selection_ui;

LoopCurrentDialog::LoopCurrentDialog(ProgramContext& context, DialogHost& host, QWidget* parent)
    : SelectionDialog("TWyborI", parent), logic_(context, host) {
  const Texts texts = logic_.Texts();
  auto* groups = new QHBoxLayout;
  groups->addWidget(InputGroup(texts, SingleR, DoubleR, this, ThenShow([this](bool doubleInput) {
                                 logic_.InputClick(doubleInput);
                               })));
  groups->addWidget(ConversionGroup(texts, "", ConversionR, this, ThenShow([this](Conversion kind) {
                                      logic_.ConversionClick(kind);
                                    })));
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(groups);
  RangeL = AddRangeLabels("", this, layout);

  KropkaT = new QLabel(Q(texts.at("KropkaT")), this);
  KropkaT->setObjectName(QStringLiteral("KropkaT"));
  KropkaE = new QComboBox(this);
  KropkaE->setObjectName(QStringLiteral("KropkaE"));
  for (const std::string& item : logic_.DotPositions()) KropkaE->addItem(Q(item));
  KropkaT->setBuddy(KropkaE);
  connect(KropkaE, &QComboBox::currentIndexChanged, this,
          [this](int index) { logic_.DotPositionChange(index); });
  auto* dot = new QHBoxLayout;
  dot->addWidget(KropkaT);
  dot->addWidget(KropkaE);
  dot->addStretch();
  layout->addLayout(dot);
  Frame(texts, layout, ClosingsOf(logic_));
  ShowState();
}

void LoopCurrentDialog::ShowState() {
  Show(SingleR, logic_.Single());
  Show(DoubleR, logic_.Double());
  const InputPage& state = logic_.PageState();
  ShowConversion(ConversionR, state.conversion);
  ShowRangeLabels(RangeL, state.labels);
  const QSignalBlocker blocker(KropkaE);
  KropkaE->setCurrentIndex(logic_.DotPosition());
}

}  // namespace q5480
