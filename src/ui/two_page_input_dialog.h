// The frame of the input windows with two pages (ResistanceVoltageDialog,
// VoltageCurrentDialog): each page holds the window's own choices above the
// range labels of its conversion.
#pragma once

#include <QHBoxLayout>
#include <array>
#include <string>

#include "ui/selection_dialog.h"

namespace q5480 {

class TwoPageInputDialog : public SelectionDialog {
  Q_OBJECT
 public:
  std::array<selection_ui::RangeLabelWidgets, 2> RangeL;  // by page

 protected:
  // `logic` is the derived window's, used once that window is built.
  TwoPageInputDialog(const char* objectName, TwoPageInputLogic& logic, QWidget* parent);

  // Builds both pages, each named by its prefix + "Page", frames them and
  // shows the logic's state.
  void FrameInputPages(const selection_ui::Texts& texts, const std::array<std::string, 2>& prefixes,
                       Closings closings);
  // The window's own choices on `page`, added to `choices`.
  virtual void AddChoices(const selection_ui::Texts& texts, int page, const std::string& prefix,
                          QWidget* pageWidget, QHBoxLayout* choices) = 0;
  // Shows the page the logic holds and paints each page's choices by
  // `showChoices` and its range labels.
  template <typename ShowChoices>
  void ShowPages(ShowChoices showChoices) {
    ShowPage(logic_.CurrentPage());
    for (std::size_t index = 0; index < RangeL.size(); ++index) {
      const InputPage& state = logic_.PageState(static_cast<int>(index));
      showChoices(index, state);
      ShowRangeLabels(RangeL[index], state.labels);
    }
  }

 private:
  QWidget* Page(const selection_ui::Texts& texts, int page, const std::string& prefix);

  TwoPageInputLogic& logic_;
};

}  // namespace q5480
