#include "ui/list_window.h"

#include <QDialogButtonBox>
#include <QVBoxLayout>

#include "ui/named_widgets.h"

namespace q5480 {

ListWindow::ListWindow(const std::string& title, const std::vector<std::string>& lines,
                       QWidget* parent)
    : QDialog(parent) {
  setObjectName(QStringLiteral("ListWindow"));
  const QString caption = QString::fromStdString(title);
  setWindowTitle(caption);
  Lines = Named(new QListWidget(this), "Lines");
  Lines->setAccessibleName(caption);
  // A sentence longer than the window wraps instead of hiding its end.
  Lines->setWordWrap(true);
  Lines->setSelectionMode(QAbstractItemView::SingleSelection);
  for (const std::string& line : lines) Lines->addItem(QString::fromStdString(line));
  // Keyboard and screen reader start at the first line; nothing is selected.
  if (Lines->count() > 0) Lines->setCurrentRow(0, QItemSelectionModel::NoUpdate);

  // Close keeps its own text, as OK does in the message boxes.
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
  CloseButton = Named(buttons->button(QDialogButtonBox::Close), "CloseButton");
  CloseButton->setAccessibleName(CloseButton->text());
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(Lines);
  layout->addWidget(buttons);
  // Logical pixels: Qt scales them on high-resolution screens.
  resize(640, 320);
}

}  // namespace q5480
