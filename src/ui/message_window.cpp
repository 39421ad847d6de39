#include "ui/message_window.h"

#include <QCloseEvent>
#include <QEventLoop>
#include <QFrame>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QVBoxLayout>

#include "ui/ui_colours.h"

namespace q5480 {
namespace {

constexpr std::uint32_t kGrey = 0x00808080;
constexpr int kPasswordMaxLength = 30;

}  // namespace

MessageWindow::MessageWindow(const LanguageTable& language, QWidget* parent)
    : MessageWindow(language, parent, Form::Transfer) {}

MessageWindow::MessageWindow(const LanguageTable& language, QWidget* parent, Form form)
    : QWidget(parent,
              Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      form_(form) {
  setObjectName(QStringLiteral("Wiadomosc"));
  // While a transfer runs, or the password is asked, no input reaches the
  // other windows.
  setWindowModality(Qt::ApplicationModal);
  setWindowTitle(QString::fromStdString(language.Tr("Message")));
  auto* panel = new QFrame(this);
  panel->setFrameShape(QFrame::Panel);
  panel->setFrameShadow(QFrame::Sunken);
  panel->setAutoFillBackground(true);
  QPalette palette = panel->palette();
  palette.setColor(QPalette::Window, ColourOf(form == Form::Password ? kGrey : kTeal));
  palette.setColor(QPalette::WindowText, Qt::white);
  panel->setPalette(palette);

  const bool password = form == Form::Password;
  Label1 = new QLabel(
      QString::fromStdString(language.Tr(password ? "Password" : "Communicating with device")),
      panel);
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
  if (password) {
    Label2->hide();
    Haslo = new QLineEdit(panel);
    Haslo->setObjectName(QStringLiteral("Haslo"));
    Haslo->setEchoMode(QLineEdit::Password);
    Haslo->setMaxLength(kPasswordMaxLength);
    Label1->setBuddy(Haslo);
    inner->addWidget(Haslo);
    connect(Haslo, &QLineEdit::returnPressed, this,
            [this] { Finish(Haslo->text().toStdString()); });
  }
  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(6, 6, 6, 6);
  outer->addWidget(panel);
  setFixedSize(sizeHint().expandedTo(QSize(320, 110)));
}

std::optional<std::string> MessageWindow::AskPassword(const LanguageTable& language,
                                                      QWidget* parent) {
  MessageWindow window(language, parent, Form::Password);
  if (parent != nullptr) { window.move(parent->geometry().center() - window.rect().center()); }
  QEventLoop loop;
  connect(&window, &MessageWindow::Finished, &loop, &QEventLoop::quit);
  window.show();
  window.activateWindow();
  window.Haslo->setFocus();
  loop.exec();
  return window.typed_;
}

void MessageWindow::Finish(std::optional<std::string> typed) {
  if (finished_) return;
  finished_ = true;
  typed_ = std::move(typed);
  hide();
  emit Finished();
}

void MessageWindow::mousePressEvent(QMouseEvent* event) {
  event->accept();
  if (form_ == Form::Password) Finish(std::nullopt);
}

void MessageWindow::keyPressEvent(QKeyEvent* event) {
  if (form_ == Form::Password && event->key() == Qt::Key_Escape) {
    Finish(std::nullopt);
    return;
  }
  QWidget::keyPressEvent(event);
}

void MessageWindow::closeEvent(QCloseEvent* event) {
  if (form_ == Form::Password) Finish(std::nullopt);
  QWidget::closeEvent(event);
}

}  // namespace q5480
