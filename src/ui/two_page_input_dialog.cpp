#include "ui/two_page_input_dialog.h"

#include <QVBoxLayout>

#include "ui/qt_text.h"

namespace q5480 {

TwoPageInputDialog::TwoPageInputDialog(const char* objectName, TwoPageInputLogic& logic,
                                       QWidget* parent)
    : SelectionDialog(objectName, parent), logic_(logic) {}

void TwoPageInputDialog::FrameInputPages(const selection_ui::Texts& texts,
                                         const std::array<std::string, 2>& prefixes,
                                         Closings closings) {
  QWidget* first = Page(texts, 0, prefixes[0]);
  QWidget* second = Page(texts, 1, prefixes[1]);
  SelectionDialog::FramePages(
      texts, {{first, prefixes[0] + "Page"}, {second, prefixes[1] + "Page"}},
      [this](int page) { logic_.PageChange(page); }, std::move(closings));
  ShowState();
}

QWidget* TwoPageInputDialog::Page(const selection_ui::Texts& texts, int page,
                                  const std::string& prefix) {
  auto* widget = new QWidget;
  widget->setObjectName(Q(prefix + "Page"));
  auto* choices = new QHBoxLayout;
  AddChoices(texts, page, prefix, widget, choices);
  auto* layout = new QVBoxLayout(widget);
  layout->addLayout(choices);
  RangeL[static_cast<std::size_t>(page)] = selection_ui::AddRangeLabels(prefix, widget, layout);
  layout->addStretch();
  return widget;
}

}  // namespace q5480
