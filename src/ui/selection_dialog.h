// The frame the four selection windows share: the caption, the pages as
// tabs, OK, an optional "More" and Cancel, and how each of them closes the
// window. Each window adds its own choices and paints its own state.
#pragma once

#include <QBoxLayout>
#include <QDialog>
#include <QPushButton>
#include <QTabWidget>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "ui/selection_widgets.h"

namespace q5480 {

class SelectionDialog : public QDialog {
  Q_OBJECT
 public:
  SelectionOutcome Outcome() const { return outcome_; }

  QTabWidget* PageControl = nullptr;  // windows with pages
  QPushButton* OKB = nullptr;
  QPushButton* MoreB = nullptr;  // windows that hand over to the next
  QPushButton* CancelB = nullptr;

 public slots:
  void OKBClick();
  void MoreBClick();
  // Cancel, Esc or the close box.
  void reject() override;

 protected:
  // What the window's logic answers as the window closes. No answer to OK
  // keeps the window open; without `more` there is no "More".
  struct Closings {
    std::function<std::optional<SelectionOutcome>()> ok;
    std::function<SelectionOutcome()> cancel;
    std::function<SelectionOutcome()> more;
  };
  template <typename Logic>
  static Closings ClosingsOf(Logic& logic) {
    Closings closings{[&logic]() -> std::optional<SelectionOutcome> { return logic.Ok(); },
                      [&logic] { return logic.Cancel(); },
                      {}};
    if constexpr (requires { logic.More(); }) closings.more = [&logic] { return logic.More(); };
    return closings;
  }

  SelectionDialog(const char* objectName, QWidget* parent);

  // Captions the window and puts its buttons below `layout`'s content.
  void Frame(const selection_ui::Texts& texts, QBoxLayout* layout, Closings closings);
  // The window of pages, each captioned by its key in `texts`; the logic
  // hears of every change of page.
  void FramePages(const selection_ui::Texts& texts,
                  const std::vector<std::pair<QWidget*, std::string>>& pages,
                  std::function<void(int)> pageChanged, Closings closings);

  // A handler of the person's choices: the logic's, then the window shows
  // what the logic holds.
  template <typename Handler>
  auto ThenShow(Handler handler) {
    return [this, handler](auto... arguments) {
      handler(arguments...);
      ShowState();
    };
  }
  // Shows the page the logic holds without telling the logic of it.
  void ShowPage(int page);
  virtual void ShowState() = 0;

 private:
  void Close(SelectionOutcome outcome);

  Closings closings_;
  SelectionOutcome outcome_ = SelectionOutcome::Cancel;
};

}  // namespace q5480
