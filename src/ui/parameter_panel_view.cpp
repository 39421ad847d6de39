#include "ui/parameter_panel_view.h"

#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QSignalBlocker>
#include <QStyle>
#include <QVBoxLayout>
#include <algorithm>

#include "ui/qt_text.h"
#include "ui/ui_colours.h"

namespace q5480 {
namespace {

template <typename Widget, typename... Args>
Widget* Named(const char* name, Args&&... args) {
  auto* widget = new Widget(std::forward<Args>(args)...);
  widget->setObjectName(QString::fromLatin1(name));
  return widget;
}

QLineEdit* Edit(const char* name, int maxLength, QWidget* parent) {
  auto* edit = Named<QLineEdit>(name, parent);
  edit->setMaxLength(maxLength);
  return edit;
}

void SetColour(QWidget* widget, const QColor& colour) {
  QPalette palette = widget->palette();
  for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
    palette.setColor(group, QPalette::Base, colour);
    palette.setColor(group, QPalette::Button, colour);
  }
  widget->setPalette(palette);
}

}  // namespace

ParameterPanelView::ParameterPanelView(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("ParameterPanel"));
  SenTypeG = Named<QGroupBox>("SenTypeG", this);
  SenTypeText = Named<QLabel>("SenTypeText", SenTypeG);
  SenTypeText->setMinimumWidth(360);
  SenSel = Named<QPushButton>("SenSel", SenTypeG);
  auto* sensorLayout = new QHBoxLayout(SenTypeG);
  sensorLayout->addWidget(SenTypeText, 1);
  sensorLayout->addWidget(SenSel);

  BuildParameterArea();
  BuildInfoGroup();

  auto* lower = new QHBoxLayout;
  lower->addWidget(ParametryG, 3);
  lower->addWidget(Info, 2);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(SenTypeG);
  layout->addLayout(lower);
}

void ParameterPanelView::BuildParameterArea() {
  ParametryG = Named<QGroupBox>("ParametryG", this);
  QWidget* p = ParametryG;
  ZakresTxt = Named<QLabel>("ZakresTxt", p);
  Minimum = Named<QLabel>("Minimum", p);
  MinInputE = Edit("MinInputE", 8, p);
  AbsMinE = Named<QLabel>("AbsMinE", p);
  Maksimum = Named<QLabel>("Maksimum", p);
  MaxInputE = Edit("MaxInputE", 8, p);
  AbsMaxE = Named<QLabel>("AbsMaxE", p);
  JednostkiE = Named<QLabel>("JednostkiE", p);
  JednostkiE1 = Named<QLabel>("JednostkiE1", p);
  Filtry = Named<QLabel>("Filtry", p);
  FiltrZakresTxt = Named<QLabel>("FiltrZakresTxt", p);
  FiltrZakresE = Edit("FiltrZakresE", 4, p);
  FiltrCzasTxt = Named<QLabel>("FiltrCzasTxt", p);
  FiltrCzasE = Edit("FiltrCzasE", 4, p);
  FiltrLimitTxt = Named<QLabel>("FiltrLimitTxt", p);
  FiltrLimitE = Edit("FiltrLimitE", 4, p);
  FiltrLimitUpDown = Named<QSpinBox>("FiltrLimitUpDown", p);
  FiltrLimitUpDown->setRange(0, 100);
  FiltrLimitUpDown->setFixedWidth(22);
  // Only its arrows show: the number stands in FiltrLimitE beside it.
  FiltrLimitUpDown->setStyleSheet(
      QStringLiteral("QSpinBox { color: transparent; selection-color: transparent; }"));
  FiltrDobierz = Named<QPushButton>("FiltrDobierz", p);
  Reakcja = Named<QLabel>("Reakcja", p);
  BurnoutE = Named<QComboBox>("BurnoutE", p);
  BurnoutE->addItems({QStringLiteral("< 4mA"), QStringLiteral("> 20mA"), QStringLiteral("Io=4mA")});
  SiecTxt = Named<QLabel>("SiecTxt", p);
  SiecE = Named<QComboBox>("SiecE", p);
  SiecE->addItems({QStringLiteral(" 50Hz"), QStringLiteral(" 60Hz")});
  RegulT = Named<QLabel>("RegulT", p);
  RegulZT = Named<QLabel>("RegulZT", p);
  RegulZV = Named<QLabel>("RegulZV", p);
  RegulGT = Named<QLabel>("RegulGT", p);
  RegulGV = Named<QLabel>("RegulGV", p);
  RegulacjaPic = Named<QToolButton>("RegulacjaPic", p);
  RegulacjaPic->setIcon(style()->standardIcon(QStyle::SP_FileDialogContentsView));
  RegulacjaPic->setIconSize(QSize(24, 24));
  RegulacjaPic->setAutoRaise(true);
  for (QLineEdit* edit : {MinInputE, MaxInputE}) edit->setFixedWidth(80);
  for (QLineEdit* edit : {FiltrZakresE, FiltrCzasE, FiltrLimitE}) edit->setFixedWidth(50);
  for (QLineEdit* edit : {MinInputE, MaxInputE, FiltrZakresE, FiltrCzasE, FiltrLimitE}) {
    edit->setAlignment(Qt::AlignRight);
  }

  auto* limit = new QHBoxLayout;
  limit->setSpacing(0);
  limit->addWidget(FiltrLimitE);
  limit->addWidget(FiltrLimitUpDown);
  limit->addStretch();
  auto* grid = new QGridLayout(p);
  grid->addWidget(ZakresTxt, 0, 0, 1, 4);
  grid->addWidget(Minimum, 1, 0);
  grid->addWidget(MinInputE, 1, 1);
  grid->addWidget(JednostkiE1, 1, 2);
  grid->addWidget(AbsMinE, 1, 3);
  grid->addWidget(Maksimum, 2, 0);
  grid->addWidget(MaxInputE, 2, 1);
  grid->addWidget(JednostkiE, 2, 2);
  grid->addWidget(AbsMaxE, 2, 3);
  grid->addWidget(Filtry, 3, 0, 1, 4);
  grid->addWidget(FiltrZakresTxt, 4, 0);
  grid->addWidget(FiltrZakresE, 4, 1);
  grid->addWidget(FiltrDobierz, 4, 2, 2, 2);
  grid->addWidget(FiltrCzasTxt, 5, 0);
  grid->addWidget(FiltrCzasE, 5, 1);
  grid->addWidget(FiltrLimitTxt, 6, 0);
  grid->addLayout(limit, 6, 1);
  grid->addWidget(Reakcja, 7, 0);
  grid->addWidget(BurnoutE, 7, 1, 1, 2);
  grid->addWidget(SiecTxt, 8, 0);
  grid->addWidget(SiecE, 8, 1, 1, 2);
  // Screen readers name each field by the label beside it.
  const std::pair<QLabel*, QWidget*> buddies[] = {
      {Minimum, MinInputE},       {Maksimum, MaxInputE},        {FiltrZakresTxt, FiltrZakresE},
      {FiltrCzasTxt, FiltrCzasE}, {FiltrLimitTxt, FiltrLimitE}, {Reakcja, BurnoutE},
      {SiecTxt, SiecE},           {RegulZT, RegulZV},           {RegulGT, RegulGV}};
  for (const auto& [label, field] : buddies) label->setBuddy(field);
  // Room for the widest unit and limits from the start: the window keeps
  // its width whatever configuration it shows.
  grid->setColumnMinimumWidth(2,
                              JednostkiE->fontMetrics().horizontalAdvance(QStringLiteral("kOhm")));
  grid->setColumnMinimumWidth(
      3, AbsMinE->fontMetrics().horizontalAdvance(QStringLiteral("-1999.0 ..")));
  grid->addWidget(RegulT, 9, 0, 1, 4);
  grid->addWidget(RegulZT, 10, 0, Qt::AlignRight);
  grid->addWidget(RegulZV, 10, 1);
  grid->addWidget(RegulGT, 11, 0, Qt::AlignRight);
  grid->addWidget(RegulGV, 11, 1);
  grid->addWidget(RegulacjaPic, 10, 2, 2, 1, Qt::AlignLeft);
  grid->setColumnStretch(3, 1);
}

void ParameterPanelView::BuildInfoGroup() {
  Info = Named<QGroupBox>("Info", this);
  QWidget* p = Info;
  KodTxt = Named<QLabel>("KodTxt", p);
  // What the module and the file keep of the texts.
  KodE = Edit("KodE", 15, p);
  OgolneTxt = Named<QLabel>("OgolneTxt", p);
  OgolneE = Edit("OgolneE", 60, p);
  SerialTxt = Named<QLabel>("SerialTxt", p);
  SerialE = Named<QLabel>("SerialE", p);
  DataTxt = Named<QLabel>("DataTxt", p);
  DataE = Named<QLabel>("DataE", p);
  KodTxt->setBuddy(KodE);
  OgolneTxt->setBuddy(OgolneE);
  SerialTxt->setBuddy(SerialE);
  DataTxt->setBuddy(DataE);
  auto* layout = new QVBoxLayout(p);
  for (QWidget* widget : {static_cast<QWidget*>(KodTxt), static_cast<QWidget*>(KodE),
                          static_cast<QWidget*>(OgolneTxt), static_cast<QWidget*>(OgolneE)}) {
    layout->addWidget(widget);
  }
  layout->addSpacing(8);
  auto* factory = new QGridLayout;
  factory->addWidget(SerialTxt, 0, 0);
  factory->addWidget(SerialE, 0, 1);
  factory->addWidget(DataTxt, 1, 0);
  factory->addWidget(DataE, 1, 1);
  factory->setColumnStretch(1, 1);
  layout->addLayout(factory);
  layout->addStretch();
  // The hidden captions keep their room, and the values have room for ten
  // characters, so that showing them does not widen the window.
  for (QLabel* caption : {SerialTxt, DataTxt}) {
    QSizePolicy policy = caption->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    caption->setSizePolicy(policy);
  }
  for (QLabel* value : {SerialE, DataE}) {
    value->setMinimumWidth(value->fontMetrics().horizontalAdvance(QStringLiteral("00.00.0000")));
  }
}

void ParameterPanelView::Paint(QWidget* field, FieldColour colour) {
  switch (colour) {
    case FieldColour::ButtonFace:
      SetColour(field, QApplication::palette().color(QPalette::Button));
      break;
    case FieldColour::Window:
      SetColour(field, QApplication::palette().color(QPalette::Base));
      break;
    case FieldColour::Aqua: SetColour(field, ColourOf(kAquaColour)); break;
  }
}

void ParameterPanelView::Show(const PanelView& view) {
  SenTypeG->setTitle(Q(view.SenTypeG));
  SenTypeText->setText(Q(view.SenTypeText));
  Reakcja->setText(Q(view.Reakcja));
  JednostkiE->setText(Q(view.JednostkiE));
  JednostkiE1->setText(Q(view.JednostkiE1));
  SetTextUnlessTyping(MinInputE, view.MinInputE);
  SetTextUnlessTyping(MaxInputE, view.MaxInputE);
  SetTextUnlessTyping(FiltrZakresE, view.FiltrZakresE);
  SetTextUnlessTyping(FiltrCzasE, view.FiltrCzasE);
  SetTextUnlessTyping(FiltrLimitE, view.FiltrLimitE);
  {
    const QSignalBlocker quiet(FiltrLimitUpDown);
    FiltrLimitUpDown->setValue(view.FiltrLimitUpDown);
  }
  BurnoutE->setCurrentIndex(view.BurnoutE);
  SiecE->setCurrentIndex(view.SiecE);
  RegulZV->setText(Q(view.RegulZV));
  RegulGV->setText(Q(view.RegulGV));
  // The picture has no caption: it is named by its hint, in the current language.
  RegulacjaPic->setAccessibleName(RegulacjaPic->toolTip());
  AbsMinE->setText(Q(view.AbsMinE));
  AbsMaxE->setText(Q(view.AbsMaxE));
  SerialE->setText(Q(view.SerialE));
  DataE->setText(Q(view.DataE));
  SerialTxt->setVisible(view.InfoCaptionsVisible);
  DataTxt->setVisible(view.InfoCaptionsVisible);
  SetTextUnlessTyping(KodE, view.KodE);
  SetTextUnlessTyping(OgolneE, view.OgolneE);

  for (QWidget* field : {static_cast<QWidget*>(FiltrZakresE), static_cast<QWidget*>(FiltrCzasE),
                         static_cast<QWidget*>(FiltrLimitE),
                         static_cast<QWidget*>(FiltrLimitUpDown), static_cast<QWidget*>(MinInputE),
                         static_cast<QWidget*>(MaxInputE), static_cast<QWidget*>(SiecE)}) {
    field->setEnabled(view.RangeFieldsEnabled);
  }
  for (QWidget* field : {static_cast<QWidget*>(FiltrDobierz), static_cast<QWidget*>(BurnoutE),
                         static_cast<QWidget*>(KodE), static_cast<QWidget*>(OgolneE)}) {
    field->setEnabled(view.OtherFieldsEnabled);
  }

  const std::array<QWidget*, kPanelFieldCount> fields{
      FiltrZakresE, FiltrCzasE, FiltrLimitE, MinInputE, MaxInputE, BurnoutE, SiecE, KodE, OgolneE};
  for (std::size_t i = 0; i < kPanelFieldCount; ++i) Paint(fields[i], view.Colours[i]);
}

void ParameterPanelView::SetConfigurationVisible(bool visible) {
  SenTypeG->setVisible(visible);
  ParametryG->setVisible(visible);
  Info->setVisible(visible);
}

void ParameterPanelView::FitBurnoutLabel(const std::vector<std::string>& texts) {
  int widest = 0;
  for (const std::string& text : texts) {
    widest = std::max(widest, Reakcja->fontMetrics().horizontalAdvance(Q(text)));
  }
  Reakcja->setMinimumWidth(widest);
}

}  // namespace q5480
