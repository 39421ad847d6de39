#include "ui/help_windows.h"

#include <QDialogButtonBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QStyle>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "workflow/program_start.h"

namespace q5480 {
namespace {

QLabel* CentredLabel(const QString& text, QWidget* parent, int pointSize = 0) {
  auto* label = new QLabel(text, parent);
  label->setAlignment(Qt::AlignCenter);
  if (pointSize > 0) {
    QFont font = label->font();
    font.setPointSize(pointSize);
    font.setBold(true);
    label->setFont(font);
  }
  // Clicks go through to the window, which closes.
  label->setAttribute(Qt::WA_TransparentForMouseEvents);
  return label;
}

}  // namespace

ClickClosedWindow::ClickClosedWindow(const char* objectName, const QString& title, QWidget* parent)
    : QDialog(parent), content_(new QVBoxLayout(this)) {
  setObjectName(QString::fromLatin1(objectName));
  setWindowTitle(title);
  content_->setContentsMargins(40, 24, 40, 24);
}

void ClickClosedWindow::mousePressEvent(QMouseEvent* event) {
  event->accept();
  accept();
}

VersionWindow::VersionWindow(const LanguageTable& language, QWidget* parent)
    : ClickClosedWindow("TProgwerF", QString::fromStdString(VersionCaption(language)), parent) {
  content_->addWidget(CentredLabel(QStringLiteral("Q5480.exe"), this, 16));
  content_->addWidget(CentredLabel(QString::fromLatin1(kProgramVersion), this, 12));
  content_->addSpacing(8);
  content_->addWidget(
      CentredLabel(QStringLiteral("Copyright \u00A9 the maker of the Q5480 series.\n"
                                  "All rights reserved."),
                   this));
}

void VersionWindow::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    accept();
    return;
  }
  QDialog::keyPressEvent(event);
}

InfoWindow::InfoWindow(QWidget* parent)
    : ClickClosedWindow("TInfoF", QStringLiteral("Info"), parent) {
  auto* logo = new QLabel(this);
  logo->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(48, 48));
  logo->setAlignment(Qt::AlignCenter);
  logo->setAttribute(Qt::WA_TransparentForMouseEvents);
  content_->addWidget(logo);
  content_->addWidget(CentredLabel(QStringLiteral("Q5480 Panel Meters"), this, 14));
  content_->addWidget(CentredLabel(QStringLiteral("Service and support: the maker of your module.\n"
                                                  "The contact data are printed on its label."),
                                   this));
}

ManualWindow::ManualWindow(const QString& title, const QString& markdown, QWidget* parent)
    : QDialog(parent) {
  setObjectName(QStringLiteral("ManualWindow"));
  setWindowTitle(title);
  auto* text = new QTextBrowser(this);
  text->setObjectName(QStringLiteral("ManualText"));
  text->setAccessibleName(title);
  text->setOpenExternalLinks(false);
  text->setMarkdown(markdown);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(text);
  layout->addWidget(buttons);
  // Logical pixels: Qt scales them on high-resolution screens.
  resize(760, 640);
}

}  // namespace q5480
