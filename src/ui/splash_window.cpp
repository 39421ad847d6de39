#include "ui/splash_window.h"

#include <QGuiApplication>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>

#include "ui/ui_colours.h"
#include "workflow/program_start.h"

namespace q5480 {
namespace {

constexpr int kNarrowScreen = 800;

}  // namespace

SplashWindow::SplashWindow(const LanguageTable& language, QWidget* parent)
    : QDialog(parent, Qt::FramelessWindowHint | Qt::Dialog), language_(language) {
  setObjectName(QStringLiteral("Twitryna"));
  setAutoFillBackground(true);
  QPalette palette = this->palette();
  palette.setColor(QPalette::Window, ColourOf(kSilver));
  setPalette(palette);

  auto* picture = new QLabel(this);
  picture->setPixmap(style()->standardIcon(QStyle::SP_ComputerIcon).pixmap(64, 64));
  picture->setAlignment(Qt::AlignCenter);
  Title = new QLabel(this);
  QFont titleFont = Title->font();
  titleFont.setPointSize(18);
  titleFont.setBold(true);
  Title->setFont(titleFont);
  Title->setAlignment(Qt::AlignCenter);
  Wersja = new QLabel(QString::fromLatin1(kProgramVersion), this);
  Wersja->setAlignment(Qt::AlignCenter);
  auto* program = new QLabel(QStringLiteral("Q5480.exe"), this);
  program->setAlignment(Qt::AlignCenter);
  OKButton = new QPushButton(QStringLiteral("OK"), this);
  OKButton->setDefault(true);
  connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(32, 24, 32, 24);
  layout->addWidget(picture);
  layout->addWidget(Title);
  layout->addWidget(program);
  layout->addWidget(Wersja);
  layout->addSpacing(12);
  layout->addWidget(OKButton, 0, Qt::AlignCenter);

  const QScreen* screen = QGuiApplication::primaryScreen();
  if (screen != nullptr && screen->geometry().width() < kNarrowScreen) {
    picture->hide();
    QPalette grey = Title->palette();
    grey.setColor(QPalette::WindowText, Qt::gray);
    Title->setPalette(grey);
  }
  Title->setText(QString::fromStdString(SplashTitle(language_)));
}

void SplashWindow::paintEvent(QPaintEvent* event) {
  const QString title = QString::fromStdString(SplashTitle(language_));
  if (Title->text() != title) Title->setText(title);
  QDialog::paintEvent(event);
}

}  // namespace q5480
