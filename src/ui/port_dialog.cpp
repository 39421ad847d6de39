#include "ui/port_dialog.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <QVBoxLayout>

#include "ui/dialog_buttons.h"
#include "ui/qt_text.h"
#include "ui/ui_colours.h"

namespace q5480 {

PortDialog::PortDialog(ProgramContext& context, QWidget* parent)
    : QDialog(parent), logic_(context) {
  setObjectName(QStringLiteral("TPortS"));
  const auto texts = logic_.Texts();
  setWindowTitle(Q(texts.at("Caption")));

  auto* label = new QLabel(Q(texts.at("Label")), this);
  PortList = new QListWidget(this);
  PortList->setObjectName(QStringLiteral("PortList"));
  for (const std::string& item : logic_.Items()) PortList->addItem(Q(item));
  PortList->setCurrentRow(logic_.Selected());
  PortList->setMinimumWidth(320);
  label->setBuddy(PortList);

  RTPriority = new QCheckBox(Q(texts.at("RTPriority")), this);
  RTPriority->setObjectName(QStringLiteral("RTPriority"));
  RTPriority->setToolTip(Q(texts.at("RTPriorityHint")));
  RTPriority->setChecked(logic_.RTPriorityChecked());

  Switching = new QFrame(this);
  Switching->setObjectName(QStringLiteral("Switching"));
  Switching->setFrameShape(QFrame::Panel);
  Switching->setAutoFillBackground(true);
  QPalette palette = Switching->palette();
  palette.setColor(QPalette::Window, ColourOf(kTeal));
  palette.setColor(QPalette::WindowText, Qt::white);
  Switching->setPalette(palette);
  auto* switchingLayout = new QVBoxLayout(Switching);
  for (const char* key : {"Switching", "PleaseWait"}) {
    auto* line = new QLabel(Q(texts.at(key)), Switching);
    line->setAlignment(Qt::AlignCenter);
    switchingLayout->addWidget(line);
  }
  Switching->hide();

  QDialogButtonBox* buttons = OkCancelButtons(texts.at("Cancel"), this, &PortDialog::OKClick);
  connect(PortList, &QListWidget::itemDoubleClicked, this, &PortDialog::OKClick);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(label);
  layout->addWidget(PortList);
  layout->addWidget(RTPriority);
  layout->addWidget(Switching);
  layout->addWidget(buttons);

  logic_.OnSwitchingPanel = [this](bool shown) {
    Switching->setVisible(shown);
    QCoreApplication::processEvents();
  };
  logic_.Wait = [](int milliseconds) {
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
  };
}

void PortDialog::OKClick() {
  logic_.Select(PortList->currentRow());
  logic_.SetRTPriority(RTPriority->isChecked());
  switch (logic_.OKClick()) {
    case DialogResult::Ok: accept(); break;
    case DialogResult::Cancel: reject(); break;
    case DialogResult::StayOpen: PortList->setFocus(); break;
  }
}

}  // namespace q5480
