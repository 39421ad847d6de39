#include "ui/twiadomosc.h"

#include <QFrame>
#include <QMouseEvent>
#include <QVBoxLayout>

#include "ui/ui_colours.h"

namespace q5480 {

TWiadomosc::TWiadomosc(const LanguageTable& language, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint) {
  setObjectName(QStringLiteral("Wiadomosc"));
  // While a transfer runs, no input reaches the other windows.
  setWindowModality(Qt::ApplicationModal);
  setWindowTitle(QString::fromStdString(language.Tr("Message")));
  auto* panel = new QFrame(this);
  panel->setFrameShape(QFrame::Panel);
  panel->setFrameShadow(QFrame::Sunken);
  panel->setAutoFillBackground(true);
  QPalette palette = panel->palette();
  palette.setColor(QPalette::Window, ColourOf(kTeal));
  palette.setColor(QPalette::WindowText, Qt::white);
  panel->setPalette(palette);

  Label1 = new QLabel(QString::fromStdString(language.Tr("Communicating with device")), panel);
  Label2 = new QLabel(QString::fromStdString(language.Tr("Please wait") + "..."), panel);
  QFont font = Label1->font();
  font.setPointSize(12);
  font.setBold(true);
  for (QLabel* label : {Label1, Label2}) {
    label->setFont(font);
    label->setAlignment(Qt::AlignCenter);
  }
  auto* inner = new QVBoxLayout(panel);
  inner->setContentsMargins(24, 16, 24, 16);
  inner->addWidget(Label1);
  inner->addWidget(Label2);
  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(6, 6, 6, 6);
  outer->addWidget(panel);
  setFixedSize(sizeHint().expandedTo(QSize(320, 110)));
}

void TWiadomosc::mousePressEvent(QMouseEvent* event) { event->accept(); }

}  // namespace q5480
