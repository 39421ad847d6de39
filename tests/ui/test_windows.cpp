// The windows' texts, the message boxes' buttons, the options, version and
// info windows, the monitor-only view and the status bar's lock key panels.
#include <QKeyEvent>
#include <QMenuBar>
#include <QMouseEvent>
#include <QStatusBar>
#include <QTextBrowser>
#include <fstream>

#include "config/language_table.h"
#include "ui/options_dialog.h"
#include "ui/qt_user_interface.h"
#include "ui_fixture.h"

namespace q5480::test {
namespace {

constexpr const char* kPrefix = "xx-";

// A complete language whose every text is the key with a prefix.
void WritePrefixedLanguage(const std::filesystem::path& directory, const std::string& name) {
  std::ofstream file(directory / (name + ".lan"), std::ios::binary);
  for (std::string_view key : LanguageKeys()) file << key << '=' << kPrefix << key << "\r\n";
}

std::vector<QAction*> MenuItems(const QList<QAction*>& actions) {
  std::vector<QAction*> items;
  for (QAction* action : actions) {
    if (action->isSeparator()) continue;
    items.push_back(action);
    if (action->menu() != nullptr) {
      const std::vector<QAction*> inner = MenuItems(action->menu()->actions());
      items.insert(items.end(), inner.begin(), inner.end());
    }
  }
  return items;
}

bool Translated(const QString& text) { return text.contains(QLatin1String(kPrefix)); }

TEST(DialogFilters, BecomeQtFilterListsWithThePatternsInBrackets) {
  const std::vector<std::pair<std::string, QStringList>> cases{
      {"Parameters files (*.par)|*.par|All files|*.*",
       {"Parameters files (*.par)", "All files (*.*)"}},
      {"Pliki parametrów|*.par;*.PAR", {"Pliki parametrów (*.par *.PAR)"}},
      {"Text (*.txt)|*.txt|", {"Text (*.txt)"}},
      {"", {}},
  };
  for (const auto& [filter, expected] : cases) EXPECT_EQ(DialogFilters(filter), expected) << filter;
}

// A message may tell the person which button to press: its buttons are in
// the language of its text.
TEST(MessageBoxes, NameTheirButtonsInTheProgramsLanguage) {
  Application();
  LanguageTable polish;
  polish.SetLines({"Cancel=Anuluj", "Yes=Tak", "No=Nie"});
  const LanguageTable english;
  struct Case {
    const LanguageTable* language;
    MessageButtons buttons;
    QMessageBox::StandardButton press;
    MessageResult result;
    const char* texts;    // sorted, joined by "|"
    const char* pressed;  // the text of the button pressed
  };
  const Case cases[] = {
      {&polish, MessageButtons::OkCancel, QMessageBox::Cancel, MessageResult::Cancel, "Anuluj|OK",
       "Anuluj"},
      {&polish, MessageButtons::YesNo, QMessageBox::Yes, MessageResult::Yes, "Nie|Tak", "Tak"},
      {&polish, MessageButtons::YesNo, QMessageBox::No, MessageResult::No, "Nie|Tak", "Nie"},
      {&polish, MessageButtons::Ok, QMessageBox::Ok, MessageResult::Ok, "OK", "OK"},
      {&english, MessageButtons::OkCancel, QMessageBox::Ok, MessageResult::Ok, "Cancel|OK", "OK"},
      {&english, MessageButtons::YesNo, QMessageBox::No, MessageResult::No, "No|Yes", "No"},
  };
  for (const Case& c : cases) {
    QtUserInterface ui;
    ui.SetLanguage(c.language);
    ModalAnswers answers;
    QStringList texts;
    QString pressed;
    answers.When<QMessageBox>([&](QMessageBox* box) {
      for (QAbstractButton* button : box->buttons())
        texts << button->text().remove(QLatin1Char('&'));
      pressed = box->button(c.press)->text().remove(QLatin1Char('&'));
      PressMessageButton(box, c.press);
    });
    EXPECT_EQ(ui.ShowMessage("?", kMessageCaption, MessageIcon::Question, c.buttons), c.result);
    texts.sort();
    EXPECT_EQ(Text(texts.join(QLatin1Char('|'))), c.texts);
    EXPECT_EQ(Text(pressed), c.pressed);
  }
}

using DesktopWindows = ProgramTest;

TEST_F(DesktopWindows, TheOptionsWindowSwitchesEveryCaptionMenuItemAndHintToAnotherLanguage) {
  WritePrefixedLanguage(ProgramDirectory(), "xx");
  WriteSettings(kTestPort, "English");
  StartProgram();
  MainWindow& window = program_->Window();
  window.Timer1->stop();  // no sample renames the window meanwhile
  ASSERT_EQ(window.Nowy1->text().toStdString(), "&New");

  ModalAnswers answers;
  answers.When<OptionsDialog>([&](OptionsDialog* options) {
    const auto xx = options->ListaLang->findItems(QStringLiteral("xx"), Qt::MatchExactly);
    ASSERT_EQ(xx.size(), 1);
    options->ListaLang->setCurrentItem(xx.constFirst());
    options->OKbutt->click();
  });
  window.Ogolne1->trigger();
  ASSERT_TRUE(answers.AllUsed());
  EXPECT_EQ(program_->Context().settings.Language, "xx");

  const std::vector<QAction*> items = MenuItems(window.menuBar()->actions());
  ASSERT_EQ(items.size(), 31u);  // five menus, the Setup submenu and 25 items
  for (QAction* item : items) EXPECT_TRUE(Translated(item->text())) << item->text().toStdString();
  for (QAction* tool : window.ToolBar1->actions()) {
    EXPECT_TRUE(tool->isSeparator() || Translated(tool->toolTip()))
        << tool->toolTip().toStdString();
  }
  int captions = 0;
  for (const auto& [control, text] : program_->Logic().Texts().captions) {
    auto* widget = window.findChild<QWidget*>(QString::fromStdString(control));
    if (widget == nullptr) continue;  // the chart's controls come with the chart
    ++captions;
    QString shown;
    if (auto* menu = qobject_cast<QMenu*>(widget)) {
      shown = menu->title();
    } else if (auto* group = qobject_cast<QGroupBox*>(widget)) {
      shown = group->title();
    } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
      shown = button->text();
    } else if (auto* label = qobject_cast<QLabel*>(widget)) {
      shown = label->text();
    }
    EXPECT_EQ(shown.toStdString(), text) << control;
    EXPECT_TRUE(Translated(shown)) << control;
  }
  EXPECT_GE(captions, 27);
  for (QWidget* field :
       {static_cast<QWidget*>(window.Panel->MinInputE),
        static_cast<QWidget*>(window.Panel->BurnoutE), static_cast<QWidget*>(window.Panel->KodE)}) {
    EXPECT_TRUE(Translated(field->toolTip())) << field->objectName().toStdString();
  }
  EXPECT_EQ(window.windowTitle().toStdString(), "xx-Unspecified type");
  EXPECT_EQ(window.StatusText->text().toStdString(), " xx-No parameters");

  // The other windows take their texts from the same table.
  const MessageWindow message(program_->Context().language, nullptr);
  EXPECT_EQ(message.windowTitle().toStdString(), "xx-Message");
  EXPECT_EQ(message.Label1->text().toStdString(), "xx-Communicating with device");
  EXPECT_EQ(message.Label2->text().toStdString(), "xx-Please wait...");
  QStringList titles;
  for (int i = 0; i < 2; ++i) {
    answers.When<QDialog>([&](QDialog* dialog) {
      titles << dialog->windowTitle();
      for (auto* button : dialog->findChildren<QAbstractButton*>()) {
        if (button->text() == QLatin1String("xx-Cancel")) titles << button->text();
      }
      dialog->reject();
    });
  }
  window.Komunikacja1->trigger();
  window.Ogolne1->trigger();
  EXPECT_EQ(titles, QStringList({"xx-Serial port", "xx-Cancel", "xx-Options", "xx-Cancel"}));
}

TEST_F(DesktopWindows, AWrongOldPasswordKeepsTheWindowOpenAndCancelLeavesNothingOfIt) {
  WriteSettings(kTestPort);
  WritePrefixedLanguage(ProgramDirectory(), "xx");
  StartProgram();
  ModalAnswers answers;
  bool emptied = false;
  answers.When<OptionsDialog>([&](OptionsDialog* options) {
    EXPECT_EQ(options->StareE->echoMode(), QLineEdit::Password);
    EXPECT_EQ(options->NoweE->maxLength(), 30);
    options->ListaLang->setCurrentRow(1);  // another language as well
    options->StareE->setText(QStringLiteral("wrong"));
    options->NoweE->setText(QStringLiteral("secret"));
    options->OKbutt->click();  // the message box opens from here
    emptied = options->StareE->text().isEmpty();
    options->Cancelbutt->click();
  });
  MainWindow& window = program_->Window();
  window.Ogolne1->trigger();
  ASSERT_EQ(answers.Messages().size(), 1u);
  // Said in the language chosen, which the window had switched to already.
  EXPECT_EQ(answers.Messages()[0], "xx-Wrong xx-password!");
  EXPECT_TRUE(emptied);
  EXPECT_EQ(program_->Context().settings.Pass, "vorn");
  EXPECT_EQ(window.Nowy1->text().toStdString(), "&New");
}

TEST_F(DesktopWindows, TheVersionAndInfoWindowsCloseOnAClick) {
  WriteSettings(kTestPort);
  StartProgram();
  ModalAnswers answers;
  QStringList shown;
  for (QAction* command : {program_->Window().Wersja1, program_->Window().Info1}) {
    answers.When<QDialog>([&](QDialog* window) {
      QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 5), window->mapToGlobal(QPointF(5, 5)),
                        Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
      QApplication::sendEvent(window, &press);
      shown << window->windowTitle();
      if (window->isVisible()) {
        shown << QStringLiteral("stayed open");
        window->reject();
      }
    });
    command->trigger();
  }
  EXPECT_EQ(shown, QStringList({"Version", "Info"}));
}

TEST_F(DesktopWindows, HelpAndF1ShowTheManualRenderedFromItsMarkdown) {
  WriteSettings(kTestPort);
  test_support::WriteBytes(ProgramDirectory() / "manual.md",
                           "# Manual of this desk\n\nRead **first** the ports.\n");
  StartProgram();
  QAction* help = program_->Window().DaneTech1;
  EXPECT_TRUE(help->isEnabled());
  EXPECT_EQ(help->shortcut(), QKeySequence(Qt::Key_F1));
  ModalAnswers answers;
  QString title, text;
  answers.When<QDialog>([&](QDialog* window) {
    title = window->windowTitle();
    if (auto* browser = window->findChild<QTextBrowser*>()) text = browser->toPlainText();
    window->reject();
  });
  help->trigger();
  EXPECT_EQ(title, QStringLiteral("Help"));
  // Rendered, not shown as source: no heading marks, no asterisks.
  EXPECT_EQ(text, QStringLiteral("Manual of this desk\nRead first the ports."));
}

TEST_F(DesktopWindows, MonitorOnlyAndTheBarCommandsShowJustWhatIsAskedFor) {
  WriteSettings(kTestPort);
  StartProgram();
  MainWindow& window = program_->Window();
  ASSERT_TRUE(WaitFor([&] { return window.isVisible(); }));
  const QSize full = window.size();

  window.MonOnly1->trigger();
  EXPECT_TRUE(WaitFor([&] { return window.height() < full.height(); }));
  EXPECT_TRUE(window.MonOnly1->isChecked());
  for (QWidget* hidden :
       std::initializer_list<QWidget*>{window.Panel->ParametryG, window.Panel->SenTypeG,
                                       window.Panel->Info, window.ToolBar1, window.statusBar()}) {
    EXPECT_FALSE(hidden->isVisible()) << hidden->objectName().toStdString();
  }
  EXPECT_TRUE(window.ResultDisplay->isVisible());
  EXPECT_TRUE(window.OutputDisplay->isVisible());

  window.MonOnly1->trigger();
  EXPECT_TRUE(WaitFor([&] { return window.size() == full; }));
  EXPECT_TRUE(window.Panel->ParametryG->isVisible());

  // The tool bar and the status bar follow their own items.
  window.Pasek1->trigger();
  window.Status1->trigger();
  EXPECT_FALSE(window.ToolBar1->isVisible());
  EXPECT_FALSE(window.statusBar()->isVisible());
  window.Pasek1->trigger();
  EXPECT_TRUE(window.ToolBar1->isVisible());
  EXPECT_FALSE(window.statusBar()->isVisible());
}

TEST_F(DesktopWindows, TheLockKeyPanelsFollowTheirKeys) {
  WriteSettings(kTestPort);
  StartProgram();
  MainWindow& window = program_->Window();
  window.activateWindow();
  ASSERT_TRUE(WaitFor([&] { return QApplication::activeWindow() == &window; }));
  const auto press = [](Qt::Key key) {
    QWidget* target = QApplication::focusWidget() != nullptr ? QApplication::focusWidget()
                                                             : QApplication::activeWindow();
    QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
  };
  const auto shown = [&] {
    return window.LockKeys->Cap->text() + "|" + window.LockKeys->Num->text() + "|" +
           window.LockKeys->Ins->text();
  };
  EXPECT_EQ(shown(), QStringLiteral("||"));
  press(Qt::Key_CapsLock);
  press(Qt::Key_Insert);
  EXPECT_EQ(shown(), QStringLiteral("CAP||INS"));
  press(Qt::Key_CapsLock);
  press(Qt::Key_NumLock);
  EXPECT_EQ(shown(), QStringLiteral("|NUM|INS"));
}

}  // namespace
}  // namespace q5480::test
