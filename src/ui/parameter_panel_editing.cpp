// What the person types and chooses on the parameter panel goes to the
// panel's logic; the panel then shows what the logic decided.
#include <QAbstractSpinBox>

#include "ui/logic_forwarding.h"
#include "ui/parameter_panel_view.h"

namespace q5480 {
namespace {

std::string Text(const QLineEdit* edit) { return edit->text().toStdString(); }

}  // namespace

void ParameterPanelView::Connect(ParameterPanel& logic, std::function<void()> changed) {
  logic_ = &logic;
  changed_ = std::move(changed);
  logic.CommitTyping = [this] { CommitTyping(); };

  ConnectCheck(MinInputE, &ParameterPanel::MinInputEExit);
  ConnectCheck(MaxInputE, &ParameterPanel::MaxInputEExit);
  ConnectCheck(FiltrZakresE, &ParameterPanel::FiltrZakresEExit);
  ConnectCheck(FiltrCzasE, &ParameterPanel::FiltrCzasEExit);
  ConnectCheck(FiltrLimitE, &ParameterPanel::FiltrLimitEExit);

  // Text that differs from what the program put there is the person's,
  // however it came: typed, pasted or set through the accessibility
  // interface.
  const std::pair<QLineEdit*, PanelField> marked[] = {{MinInputE, PanelField::MinInputE},
                                                      {MaxInputE, PanelField::MaxInputE},
                                                      {FiltrZakresE, PanelField::FiltrZakresE},
                                                      {FiltrCzasE, PanelField::FiltrCzasE}};
  for (const auto& [edit, field] : marked) {
    connect(edit, &QLineEdit::textChanged, this, [this, edit = edit, field = field] {
      if (!PersonsChange(edit)) return;
      logic_->MarkChanged(field);
      changed_();
    });
  }
  connect(FiltrLimitE, &QLineEdit::textChanged, this, [this](const QString& text) {
    if (!PersonsChange(FiltrLimitE)) return;
    logic_->FiltrLimitEChange(text.toStdString());
    changed_();
  });
  // The texts are taken into the record as they change.
  const std::pair<QLineEdit*, void (ParameterPanel::*)(const std::string&)> taken[] = {
      {KodE, &ParameterPanel::KodEChange}, {OgolneE, &ParameterPanel::OgolneEChange}};
  for (const auto& [edit, change] : taken) {
    connect(edit, &QLineEdit::textChanged, this,
            [this, edit = edit, change = change](const QString& text) {
              if (!PersonsChange(edit)) return;
              ParameterPanel& logic = *logic_;
              (logic.*change)(text.toStdString());
              TakeAsShown(edit);  // the record has it
              changed_();
            });
  }
  const auto afterChange = [this] { changed_(); };
  ForwardToLogic(this, BurnoutE, &QComboBox::activated, logic_, &ParameterPanel::BurnoutEChange,
                 afterChange);
  ForwardToLogic(this, SiecE, &QComboBox::activated, logic_, &ParameterPanel::SiecEChange,
                 afterChange);
  connect(FiltrLimitUpDown, &QSpinBox::valueChanged, this, [this](int value) {
    if (value == logic_->View().FiltrLimitUpDown) return;  // set by the program
    logic_->FiltrLimitUpDownClick(value > logic_->View().FiltrLimitUpDown);
    TakeAsShown(FiltrLimitE);  // the arrows replace what was typed
    changed_();
    FiltrLimitE->setFocus();
  });
  ForwardToLogic(this, FiltrDobierz, &QPushButton::clicked, logic_,
                 &ParameterPanel::FiltrDobierzClick, afterChange);
}

void ParameterPanelView::ConnectCheck(QLineEdit* edit,
                                      bool (ParameterPanel::*check)(const std::string&)) {
  connect(edit, &QLineEdit::editingFinished, this, [this, edit, check] {
    // Leaving a field that holds what the program put there checks nothing.
    if (!HoldsPersonsText(edit) || edit->isReadOnly() || !edit->isEnabled()) return;
    // The message box takes the focus: that must not check the field again.
    TakeAsShown(edit);
    // Called through a reference: GCC's vptr check misreads a member
    // function pointer applied to a member.
    ParameterPanel& logic = *logic_;
    const bool accepted = (logic.*check)(Text(edit));
    changed_();
    if (!accepted) edit->setFocus();
  });
}

void ParameterPanelView::CommitTyping() {
  for (QLineEdit* edit : {MinInputE, MaxInputE, FiltrZakresE, FiltrCzasE, FiltrLimitE}) {
    if (HoldsPersonsText(edit)) emit edit->editingFinished();
  }
}

bool ParameterPanelView::HoldsPersonsText(const QLineEdit* edit) const {
  return edit->text() != programText_.value(edit);
}

bool ParameterPanelView::PersonsChange(const QLineEdit* edit) const {
  return edit->isEnabled() && !edit->isReadOnly() && HoldsPersonsText(edit);
}

void ParameterPanelView::TakeAsShown(const QLineEdit* edit) { programText_[edit] = edit->text(); }

void ParameterPanelView::SetTextUnlessTyping(QLineEdit* edit, const std::string& text) {
  // A disabled field takes nothing from the person: it shows the record.
  if (edit->isEnabled() && HoldsPersonsText(edit)) return;
  // Known before the change is announced, so that it is not taken for the
  // person's; cut as the field cuts it.
  const QString shown = QString::fromStdString(text).left(edit->maxLength());
  programText_[edit] = shown;
  if (edit->text() != shown) edit->setText(shown);
}

}  // namespace q5480
