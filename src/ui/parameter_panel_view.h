// The sensor group, the parameter area and the information group of the
// main window: shows what the logic's panel view holds and hands what the
// person types and chooses to the logic.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include <QComboBox>
#include <QGroupBox>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QToolButton>
#include <QWidget>

#include "workflow/parameter_panel.h"

namespace q5480 {

class ParameterPanelView : public QWidget {
  Q_OBJECT
 public:
  explicit ParameterPanelView(QWidget* parent);

  // Paints the panel view of the logic. A field that holds text the person
  // is still typing keeps it.
  void Show(const PanelView& view);
  // Hands the person's edits to `logic`; `changed` runs after each, so that
  // the window shows what followed. Sets the logic's CommitTyping.
  void Connect(ParameterPanel& logic, std::function<void()> changed);
  // Runs the check of the field that holds text not yet taken over.
  void CommitTyping();
  // The sensor group and the parameter area, hidden in the monitor-only view.
  void SetConfigurationVisible(bool visible);
  // Room for the widest text the burnout list's label can show, so that the
  // window keeps its width whatever configuration it shows.
  void FitBurnoutLabel(const std::vector<std::string>& texts);

  QGroupBox* SenTypeG;
  QLabel* SenTypeText;
  QPushButton* SenSel;

  QGroupBox* ParametryG;
  QLabel* ZakresTxt;
  QLabel* Minimum;
  QLineEdit* MinInputE;
  QLabel* AbsMinE;
  QLabel* Maksimum;
  QLineEdit* MaxInputE;
  QLabel* AbsMaxE;
  QLabel* JednostkiE;
  QLabel* JednostkiE1;
  QLabel* Filtry;
  QLabel* FiltrZakresTxt;
  QLineEdit* FiltrZakresE;
  QLabel* FiltrCzasTxt;
  QLineEdit* FiltrCzasE;
  QLabel* FiltrLimitTxt;
  QLineEdit* FiltrLimitE;
  QSpinBox* FiltrLimitUpDown;
  QPushButton* FiltrDobierz;
  QLabel* Reakcja;
  QComboBox* BurnoutE;
  QLabel* SiecTxt;
  QComboBox* SiecE;
  QLabel* RegulT;
  QLabel* RegulZT;
  QLabel* RegulZV;
  QLabel* RegulGT;
  QLabel* RegulGV;
  QToolButton* RegulacjaPic;  // the corrections picture: opens the corrections window

  QGroupBox* Info;
  QLabel* KodTxt;
  QLineEdit* KodE;
  QLabel* OgolneTxt;
  QLineEdit* OgolneE;
  QLabel* SerialTxt;
  QLabel* SerialE;
  QLabel* DataTxt;
  QLabel* DataE;

 private:
  void BuildParameterArea();
  void BuildInfoGroup();
  void Paint(QWidget* field, FieldColour colour);
  // The check of a numeric field on leaving it or on Enter; a refused value
  // takes the focus back.
  void ConnectCheck(QLineEdit* edit, bool (ParameterPanel::*check)(const std::string&));
  void SetTextUnlessTyping(QLineEdit* edit, const std::string& text);
  // The field holds text other than what the program last put there: the
  // person's, typed, pasted or set through the accessibility interface.
  bool HoldsPersonsText(const QLineEdit* edit) const;
  // A change of text that the person made in a field open to editing.
  bool PersonsChange(const QLineEdit* edit) const;
  // The field's text counts as shown by the program from now on.
  void TakeAsShown(const QLineEdit* edit);

  ParameterPanel* logic_ = nullptr;
  std::function<void()> changed_;
  QHash<const QLineEdit*, QString> programText_;
};

}  // namespace q5480
