#include "ui/lock_keys.h"

#include <QApplication>
#include <QKeyEvent>

namespace q5480 {
namespace {

QLabel* Panel(const char* name, QWidget* parent) {
  auto* panel = new QLabel(parent);
  panel->setObjectName(QString::fromLatin1(name));
  panel->setMinimumWidth(36);
  panel->setAlignment(Qt::AlignCenter);
  panel->setFrameShape(QFrame::Panel);
  panel->setFrameShadow(QFrame::Sunken);
  return panel;
}

}  // namespace

LockKeyPanels::LockKeyPanels(QWidget* parent)
    : QObject(parent),
      Cap(Panel("CapPanel", parent)),
      Num(Panel("NumPanel", parent)),
      Ins(Panel("InsPanel", parent)) {
  QApplication::instance()->installEventFilter(this);
}

bool LockKeyPanels::eventFilter(QObject* watched, QEvent* event) {
  // A key press that no widget takes travels up to the parents and passes
  // here for each: count it only where it starts.
  QWidget* start = QApplication::focusWidget();
  if (start == nullptr) start = QApplication::activeWindow();
  if (event->type() == QEvent::KeyPress && watched == start &&
      !static_cast<const QKeyEvent*>(event)->isAutoRepeat()) {
    switch (static_cast<const QKeyEvent*>(event)->key()) {
      case Qt::Key_CapsLock: Toggle(Cap, "CAP"); break;
      case Qt::Key_NumLock: Toggle(Num, "NUM"); break;
      case Qt::Key_Insert: Toggle(Ins, "INS"); break;
      default: break;
    }
  }
  return QObject::eventFilter(watched, event);
}

void LockKeyPanels::Toggle(QLabel* panel, const char* text) {
  panel->setText(panel->text().isEmpty() ? QString::fromLatin1(text) : QString());
}

}  // namespace q5480
