// The linear conversion window, and what the conversion windows share: their
// checked fields and named controls.
#pragma once

#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "ui/dialog_buttons.h"
#include "ui/logic_dialog.h"
#include "ui/named_widgets.h"
#include "ui/qt_text.h"
#include "workflow/linear_window.h"

namespace q5480 {

// The checked fields of a window: leaving a field that was typed in runs its
// check. A refusal during a key press keeps that same Enter from also
// pressing the default button.
class FieldExits {
 public:
  using Check = std::function<bool(const std::string&)>;
  // `after` runs after every check, so that the window shows the logic.
  explicit FieldExits(std::function<void()> after) : after_(std::move(after)) {}
  // Goes before the window's fields: a field that loses the focus as the
  // window is torn down must not reach a logic already gone.
  ~FieldExits();
  FieldExits(const FieldExits&) = delete;
  FieldExits& operator=(const FieldExits&) = delete;

  void Watch(QLineEdit* edit, Check check);
  // The checks of the fields still typed in, before a button acts on them;
  // false when one refused, or a refusal came with this very key press.
  bool Commit();
  // The window closes: what is left in a field is not checked.
  void Stop() { stopped_ = true; }

 private:
  bool Run(QLineEdit* edit, const Check& check);

  std::function<void()> after_;
  std::vector<std::pair<QLineEdit*, Check>> fields_;
  std::vector<QMetaObject::Connection> connections_;
  bool justRefused_ = false;
  bool stopped_ = false;
};

// Widgets named as the window logic names them.
template <typename Widget, typename... Args>
Widget* NamedControl(const char* name, Args&&... args) {
  auto* widget = new Widget(std::forward<Args>(args)...);
  widget->setObjectName(QString::fromLatin1(name));
  return widget;
}

// Takes OK and Cancel of a conversion window's row, named "OKB" and
// "CancelB". A click on Cancel leaves the field being typed in unchecked.
void NameButtons(QDialogButtonBox* buttons, QPushButton*& ok, QPushButton*& cancel);
// Fills a unit list with the offered units and selects `unit`.
void FillUnits(QComboBox* list, int unit);
// Moves the focus to the control that the logic names, if any.
void FocusNamed(QWidget* window, const std::string& control);
// A field that only shows a value: read-only, out of the tab order, with the
// window's background so that it does not invite typing.
void ShowOnly(QLineEdit* field);
// Keeps the labels and fields of a group's grid together at its left.
void PackLeft(QGridLayout* grid);

// The input and result range groups that the table, power-series and linear
// windows share; each window makes the fields its own way.
struct RangeGroups {
  QGroupBox* InputG;
  QLabel* InMinT;
  QLineEdit* InMinE;
  QLabel* InMinUnitT;
  QLabel* InMaxT;
  QLineEdit* InMaxE;
  QLabel* InMaxUnitT;
  QGroupBox* ResultG;
  QLabel* ResMinT;
  QLineEdit* ResMinE;  // the series window's and the table's only show a value
  QLabel* ResMaxT;
  QLineEdit* ResMaxE;
  QLabel* JednostkiT;
  QComboBox* JednostkiE;

 protected:
  using MakeField = std::function<QLineEdit*(const char* name, QWidget* parent)>;
  // Both groups in `parent` with their captions from `texts`, the fields made
  // by `field`, each caption the buddy of its field, the unit list at `unit`.
  void BuildRangeGroups(const std::map<std::string, std::string>& texts, int unit,
                        const MakeField& field, QWidget* parent);
  // Each range field that holds nothing typed shows the logic's text for it.
  template <typename WindowLogic>
  void ShowRangeFields(const WindowLogic& logic) {
    const std::pair<QLineEdit*, DialogField> fields[] = {{InMinE, DialogField::InMin},
                                                         {InMaxE, DialogField::InMax},
                                                         {ResMinE, DialogField::ResMin},
                                                         {ResMaxE, DialogField::ResMax}};
    for (const auto& [field, which] : fields) {
      if (!field->isModified()) field->setText(Q(logic.FieldText(which)));
    }
  }
};

class LinearDialog : public LogicDialog<LinearWindowLogic>, public RangeGroups {
  Q_OBJECT
 public:
  LinearDialog(ProgramContext& context, QWidget* parent);

  QPushButton* OKB;
  QPushButton* CancelB;

 public slots:
  void OKBClick();
  void done(int result) override;

 private:
  void ShowLogic();

  FieldExits exits_;
};

}  // namespace q5480
