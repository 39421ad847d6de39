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

VersionWindow::VersionWindow(const LanguageTable& language, QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("TProgwerF"));
  setWindowTitle(QString::fromStdString(VersionCaption(language)));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(40, 24, 40, 24);
  layout->addWidget(CentredLabel(QStringLiteral("Q5480.exe"), this, 16));
  layout->addWidget(CentredLabel(QString::fromLatin1(kProgramVersion), this, 12));
  layout->addSpacing(8);
  layout->addWidget(CentredLabel(QStringLiteral("Copyright \u00A9 the maker of the Q5480 series.\n"
                                                "All rights reserved."),
                                 this));
}

void VersionWindow::mousePressEvent(QMouseEvent* event) {
  event->accept();
  accept();
}

void VersionWindow::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    accept();
    return;
  }
  QDialog::keyPressEvent(event);
}

InfoWindow::InfoWindow(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("TInfoF"));
  setWindowTitle(QStringLiteral("Info"));
  auto* logo = new QLabel(this);
  logo->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(48, 48));
  logo->setAlignment(Qt::AlignCenter);
  logo->setAttribute(Qt::WA_TransparentForMouseEvents);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(40, 24, 40, 24);
  layout->addWidget(logo);
  layout->addWidget(CentredLabel(QStringLiteral("Q5480 Panel Meters"), this, 14));
  layout->addWidget(CentredLabel(QStringLiteral("Service and support: the maker of your module.\n"
                                                "The contact data are printed on its label."),
                                 this));
}

void InfoWindow::mousePressEvent(QMouseEvent* event) {
  event->accept();
  accept();
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
