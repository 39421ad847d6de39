#include "ui/selection_dialog.h"

#include <QSignalBlocker>
#include <QVBoxLayout>

#include "ui/dialog_buttons.h"
#include "ui/named_widgets.h"

namespace q5480 {

using namespace selection_ui;

SelectionDialog::SelectionDialog(const char* objectName, QWidget* parent) : QDialog(parent) {
  setObjectName(QString::fromLatin1(objectName));
}

void SelectionDialog::Frame(const Texts& texts, QBoxLayout* layout, Closings closings) {
  closings_ = std::move(closings);
  setWindowTitle(Q(texts.at("Caption")));
  QDialogButtonBox* buttons =
      OkCancelButtons(texts.at("CancelB"), this, &SelectionDialog::OKBClick);
  OKB = Named(buttons->button(QDialogButtonBox::Ok), "OKB");
  CancelB = Named(buttons->button(QDialogButtonBox::Cancel), "CancelB");
  if (closings_.more) {
    MoreB = Named(buttons->addButton(Q(texts.at("MoreB")), QDialogButtonBox::ActionRole), "MoreB");
    connect(MoreB, &QPushButton::clicked, this, &SelectionDialog::MoreBClick);
  }
  layout->addWidget(buttons);
}

void SelectionDialog::FramePages(const Texts& texts,
                                 const std::vector<std::pair<QWidget*, std::string>>& pages,
                                 std::function<void(int)> pageChanged, Closings closings) {
  PageControl = new QTabWidget(this);
  PageControl->setObjectName(QStringLiteral("PageControl"));
  PageControl->setAccessibleName(Q(texts.at("Caption")));
  for (const auto& [page, key] : pages) PageControl->addTab(page, Q(texts.at(key)));
  connect(PageControl, &QTabWidget::currentChanged, this, std::move(pageChanged));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(PageControl);
  Frame(texts, layout, std::move(closings));
}

void SelectionDialog::ShowPage(int page) {
  const QSignalBlocker blocker(PageControl);
  PageControl->setCurrentIndex(page);
}

void SelectionDialog::OKBClick() {
  if (const auto outcome = closings_.ok()) Close(*outcome);
}

void SelectionDialog::MoreBClick() { Close(closings_.more()); }

void SelectionDialog::Close(SelectionOutcome outcome) {
  outcome_ = outcome;
  done(ResultOf(outcome_));
}

void SelectionDialog::reject() {
  outcome_ = closings_.cancel();
  QDialog::reject();
}

}  // namespace q5480
