// What the person types and chooses on the parameter panel goes to the
// panel's logic; the panel then shows what the logic decided.
#include <QAbstractSpinBox>

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

  // Only the person's typing counts as a change, not text the program puts in.
  const std::pair<QLineEdit*, PanelField> marked[] = {{MinInputE, PanelField::MinInputE},
                                                      {MaxInputE, PanelField::MaxInputE},
                                                      {FiltrZakresE, PanelField::FiltrZakresE},
                                                      {FiltrCzasE, PanelField::FiltrCzasE}};
  for (const auto& [edit, field] : marked) {
    connect(edit, &QLineEdit::textEdited, this, [this, field = field] {
      logic_->MarkChanged(field);
      changed_();
    });
  }
  connect(FiltrLimitE, &QLineEdit::textEdited, this, [this](const QString& text) {
    logic_->FiltrLimitEChange(text.toStdString());
    changed_();
  });
  connect(KodE, &QLineEdit::textEdited, this, [this](const QString& text) {
    logic_->KodEChange(text.toStdString());
    changed_();
  });
  connect(OgolneE, &QLineEdit::textEdited, this, [this](const QString& text) {
    logic_->OgolneEChange(text.toStdString());
    changed_();
  });
  for (QLineEdit* edit : {KodE, OgolneE}) {
    connect(edit, &QLineEdit::editingFinished, edit, [edit] { edit->setModified(false); });
  }
  connect(BurnoutE, &QComboBox::activated, this, [this](int index) {
    logic_->BurnoutEChange(index);
    changed_();
  });
  connect(SiecE, &QComboBox::activated, this, [this](int index) {
    logic_->SiecEChange(index);
    changed_();
  });
  connect(FiltrLimitUpDown, &QSpinBox::valueChanged, this, [this](int value) {
    if (value == logic_->View().FiltrLimitUpDown) return;  // set by the program
    logic_->FiltrLimitUpDownClick(value > logic_->View().FiltrLimitUpDown);
    FiltrLimitE->setModified(false);
    changed_();
    FiltrLimitE->setFocus();
  });
  connect(FiltrDobierz, &QPushButton::clicked, this, [this] {
    logic_->FiltrDobierzClick();
    changed_();
  });
}

void ParameterPanelView::ConnectCheck(QLineEdit* edit,
                                      bool (ParameterPanel::*check)(const std::string&)) {
  connect(edit, &QLineEdit::editingFinished, this, [this, edit, check] {
    // Leaving a field that was not typed in checks nothing.
    if (!edit->isModified() || edit->isReadOnly() || !edit->isEnabled()) return;
    edit->setModified(false);
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
    if (edit->isModified()) emit edit->editingFinished();
  }
}

void ParameterPanelView::SetTextUnlessTyping(QLineEdit* edit, const std::string& text) {
  if (edit->isModified()) return;
  const QString shown = QString::fromStdString(text);
  if (edit->text() != shown) edit->setText(shown);
}

}  // namespace q5480
