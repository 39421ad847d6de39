// The windows' texts, the options, meter type, version and info windows, the
// monitor-only view and the status bar's lock key panels.
#include <QKeyEvent>
#include <QMenuBar>
#include <QMouseEvent>
#include <QStatusBar>
#include <fstream>

#include "config/language_table.h"
#include "ui/help_windows.h"
#include "ui/togolnef.h"
#include "ui/ttransdf.h"
#include "ui_fixture.h"

namespace q5480::test {
namespace {

constexpr const char* kPrefix = "xx-";

// A complete language whose every text is the key with a prefix.
void WritePrefixedLanguage(const std::filesystem::path& directory, const std::string& name) {
  std::ofstream file(directory / (name + ".lan"), std::ios::binary);
  for (std::string_view key : LanguageKeys()) file << key << '=' << kPrefix << key << "\r\n";
}

std::vector<QAction*> MenuItems(QMenuBar* bar) {
  std::vector<QAction*> items;
  std::function<void(const QList<QAction*>&)> collect = [&](const QList<QAction*>& actions) {
    for (QAction* action : actions) {
      if (action->isSeparator()) continue;
      items.push_back(action);
      if (action->menu() != nullptr) collect(action->menu()->actions());
    }
  };
  collect(bar->actions());
  return items;
}

bool Translated(const QString& text) { return text.contains(QLatin1String(kPrefix)); }

void PressKey(QWidget* target, Qt::Key key) {
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
  QApplication::sendEvent(target, &press);
}

void Click(QWidget* target) {
  QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 5), target->mapToGlobal(QPointF(5, 5)),
                    Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(target, &press);
}

TEST(DialogFilters, BecomeQtFilterListsWithThePatternsInBrackets) {
  struct Case {
    std::string filter;
    QStringList expected;
  };
  const std::vector<Case> cases{
      {"Parameters files (*.par)|*.par|All files|*.*",
       {"Parameters files (*.par)", "All files (*.*)"}},
      {"Pliki parametrów|*.par;*.PAR", {"Pliki parametrów (*.par *.PAR)"}},
      {"Text (*.txt)|*.txt|", {"Text (*.txt)"}},
      {"", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.filter);
    EXPECT_EQ(DialogFilters(c.filter), c.expected);
  }
}

using DesktopWindows = ProgramTest;

TEST_F(DesktopWindows, ACompleteLanguageFileChangesEveryCaptionMenuItemAndHint) {
  WritePrefixedLanguage(ProgramDirectory(), "xx");
  WriteSettings(kTestPort, "xx");
  StartProgram();
  TQ5480F& window = program_->Window();

  const std::vector<QAction*> items = MenuItems(window.menuBar());
  ASSERT_EQ(items.size(), 31u);  // five menus, the Setup submenu and 25 items
  for (QAction* item : items) {
    SCOPED_TRACE(item->objectName().toStdString());
    EXPECT_TRUE(Translated(item->text())) << item->text().toStdString();
  }
  for (QAction* tool : window.ToolBar1->actions()) {
    if (tool->isSeparator()) continue;
    SCOPED_TRACE(tool->objectName().toStdString());
    EXPECT_TRUE(Translated(tool->toolTip())) << tool->toolTip().toStdString();
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
  for (QWidget* field : {static_cast<QWidget*>(window.Panel->MinInputE),
                         static_cast<QWidget*>(window.Panel->BurnoutE),
                         static_cast<QWidget*>(window.Panel->KodE)}) {
    EXPECT_TRUE(Translated(field->toolTip())) << field->objectName().toStdString();
  }
  EXPECT_EQ(window.windowTitle().toStdString(), "xx-Unspecified type");
  EXPECT_EQ(window.StatusText->text().toStdString(), " xx-No parameters");
  EXPECT_EQ(window.Panel->SenTypeG->title().toStdString(), " xx-Sensor type ");

  // The other windows take their texts from the same table.
  const TWiadomosc message(program_->Context().language, nullptr);
  EXPECT_EQ(message.windowTitle().toStdString(), "xx-Message");
  EXPECT_EQ(message.Label1->text().toStdString(), "xx-Communicating with device");
  EXPECT_EQ(message.Label2->text().toStdString(), "xx-Please wait...");
  ModalAnswers answers;
  QStringList titles;
  for (int i = 0; i < 2; ++i) {
    answers.Then([&](QWidget* shown) {
      auto* dialog = qobject_cast<QDialog*>(shown);
      if (dialog == nullptr || qobject_cast<QMessageBox*>(shown) != nullptr) return false;
      titles << dialog->windowTitle();
      for (auto* button : dialog->findChildren<QAbstractButton*>()) {
        if (button->text() == QLatin1String("xx-Cancel")) titles << button->text();
      }
      dialog->reject();
      return true;
    });
  }
  window.Komunikacja1->trigger();
  window.Ogolne1->trigger();
  EXPECT_EQ(titles, QStringList({"xx-Serial port", "xx-Cancel", "xx-Options", "xx-Cancel"}));
}

TEST_F(DesktopWindows, TheOptionsWindowSwitchesTheLanguageOfTheMainWindow) {
  WritePrefixedLanguage(ProgramDirectory(), "xx");
  WriteSettings(kTestPort, "English");
  StartProgram();
  TQ5480F& window = program_->Window();
  ASSERT_EQ(window.Nowy1->text().toStdString(), "&New");

  ModalAnswers answers;
  QStringList offered;
  answers.Then([&](QWidget* shown) {
    auto* options = qobject_cast<TOgolneF*>(shown);
    if (options == nullptr) return false;
    for (int row = 0; row < options->ListaLang->count(); ++row) {
      offered << options->ListaLang->item(row)->text();
    }
    options->ListaLang->setCurrentRow(offered.indexOf(QStringLiteral("xx")));
    options->OKbutt->click();
    return true;
  });
  window.Ogolne1->trigger();
  EXPECT_TRUE(answers.AllUsed());
  EXPECT_EQ(offered, QStringList({"English", "xx"}));
  EXPECT_EQ(window.Nowy1->text().toStdString(), "xx-&New");
  EXPECT_EQ(window.Panel->SenTypeG->title().toStdString(), " xx-Sensor type ");
  // The unnamed file follows the language; the settings keep the choice.
  EXPECT_EQ(program_->Context().fileName, "xx-No_name");
  EXPECT_EQ(program_->Context().settings.Language, "xx");
}

TEST_F(DesktopWindows, AWrongOldPasswordKeepsTheWindowOpenAndCancelLeavesNothingOfIt) {
  WriteSettings(kTestPort);
  WritePrefixedLanguage(ProgramDirectory(), "xx");
  StartProgram();
  ModalAnswers answers;
  bool emptied = false;
  answers.Then([&](QWidget* shown) {
    auto* options = qobject_cast<TOgolneF*>(shown);
    if (options == nullptr) return false;
    EXPECT_EQ(options->StareE->echoMode(), QLineEdit::Password);
    EXPECT_EQ(options->NoweE->maxLength(), 30);
    options->ListaLang->setCurrentRow(1);  // another language as well
    options->StareE->setText(QStringLiteral("wrong"));
    options->NoweE->setText(QStringLiteral("secret"));
    options->OKbutt->click();  // the message box opens from here
    emptied = options->StareE->text().isEmpty();
    options->Cancelbutt->click();
    return true;
  });
  TQ5480F& window = program_->Window();
  window.Ogolne1->trigger();
  ASSERT_EQ(answers.Messages().size(), 1u);
  // Said in the language chosen, which the window had switched to already.
  EXPECT_EQ(answers.Messages()[0], "xx-Wrong xx-password!");
  EXPECT_TRUE(emptied);
  ProgramContext& context = program_->Context();
  EXPECT_EQ(context.settings.Pass, "vorn");
  EXPECT_EQ(context.settings.Language, "English");
  EXPECT_EQ(context.language.Tr("No_name"), context.fileName);

  // Save of the unnamed configuration asks for a name rather than writing a
  // file the person never named.
  context.config.Device = "Q5495";
  context.config.Typ = 10;
  program_->Logic().Panel().pokaz(kColourWhite);
  bool asked = false;
  answers.Then([&](QWidget* shown) {
    auto* dialog = qobject_cast<QDialog*>(shown);
    asked = dialog != nullptr && dialog->objectName() == QLatin1String("SaveDialog");
    if (dialog != nullptr) dialog->reject();
    return true;
  });
  window.Zachowaj1->trigger();
  EXPECT_TRUE(asked);
  EXPECT_FALSE(std::filesystem::exists(std::filesystem::current_path() / context.fileName));
}

TEST_F(DesktopWindows, TheMeterTypeWindowOffersTheKnownModelsAndRefusesThoseNotImplemented) {
  WriteSettings(kTestPort);
  StartProgram();
  ProgramContext& context = program_->Context();
  struct Case {
    const char* chosen;
    bool accepted;
    const char* device;
  };
  for (const Case& c : {Case{"Q5495", true, "Q5495"}, Case{"Q5498", false, "Q5495"}}) {
    SCOPED_TRACE(c.chosen);
    ModalAnswers answers;
    QStringList offered;
    answers.Then([&](QWidget* shown) {
      auto* types = qobject_cast<TTransdF*>(shown);
      if (types == nullptr) return false;
      for (int row = 0; row < types->TypeList->count(); ++row) offered << types->TypeList->item(row)->text();
      types->TypeList->setCurrentRow(offered.indexOf(QString::fromLatin1(c.chosen)));
      types->OKClick();
      return true;
    });
    EXPECT_EQ(TypSelect(context, &program_->Window()), c.accepted);
    EXPECT_EQ(offered, QStringList({"Q5491", "Q5494", "Q5495", "Q5497", "Q5498", "Q5499"}));
    EXPECT_EQ(context.config.Device, c.device);
    if (!c.accepted) {
      ASSERT_EQ(answers.Messages().size(), 1u);
      EXPECT_EQ(answers.Messages()[0], "Device Q5498 not implemented yet");
    }
  }
}

TEST_F(DesktopWindows, TheVersionAndInfoWindowsCloseOnAClick) {
  WriteSettings(kTestPort);
  StartProgram();
  for (QAction* command : {program_->Window().Wersja1, program_->Window().Info1}) {
    SCOPED_TRACE(command->objectName().toStdString());
    ModalAnswers answers;
    QString caption;
    answers.Then([&](QWidget* shown) {
      if (qobject_cast<QDialog*>(shown) == nullptr) return false;
      caption = shown->windowTitle();
      Click(shown);
      return true;
    });
    command->trigger();
    EXPECT_TRUE(answers.AllUsed());
    if (command == program_->Window().Wersja1) {
      EXPECT_EQ(caption.toStdString(), "Version");
    }
  }
}

TEST_F(DesktopWindows, MonitorOnlyShowsJustTheDisplaysAndGivesTheWholeWindowBack) {
  WriteSettings(kTestPort);
  StartProgram();
  TQ5480F& window = program_->Window();
  ASSERT_TRUE(WaitFor([&] { return window.isVisible(); }));
  const QSize full = window.size();

  window.MonOnly1->trigger();
  EXPECT_TRUE(WaitFor([&] { return window.height() < full.height(); }));
  EXPECT_TRUE(window.MonOnly1->isChecked());
  EXPECT_FALSE(window.Panel->ParametryG->isVisible());
  EXPECT_FALSE(window.Panel->SenTypeG->isVisible());
  EXPECT_FALSE(window.ToolBar1->isVisible());
  EXPECT_FALSE(window.statusBar()->isVisible());
  EXPECT_FALSE(window.Autoread1->isEnabled());
  EXPECT_TRUE(window.ResultDisplay->isVisible());
  EXPECT_TRUE(window.OutputDisplay->isVisible());

  window.MonOnly1->trigger();
  EXPECT_TRUE(WaitFor([&] { return window.size() == full; }));
  EXPECT_TRUE(window.Panel->ParametryG->isVisible());
  EXPECT_TRUE(window.ToolBar1->isVisible());
  EXPECT_TRUE(window.statusBar()->isVisible());
  EXPECT_TRUE(window.Autoread1->isEnabled());
}

TEST_F(DesktopWindows, TheToolBarAndStatusBarCommandsHideAndShowThem) {
  WriteSettings(kTestPort);
  StartProgram();
  TQ5480F& window = program_->Window();
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
  TQ5480F& window = program_->Window();
  window.activateWindow();
  ASSERT_TRUE(WaitFor([&] { return QApplication::activeWindow() == &window; }));
  auto target = [] {
    return QApplication::focusWidget() != nullptr ? QApplication::focusWidget()
                                                  : QApplication::activeWindow();
  };
  EXPECT_EQ(window.LockKeys->Cap->text(), QString());
  PressKey(target(), Qt::Key_CapsLock);
  PressKey(target(), Qt::Key_Insert);
  EXPECT_EQ(window.LockKeys->Cap->text(), QStringLiteral("CAP"));
  EXPECT_EQ(window.LockKeys->Ins->text(), QStringLiteral("INS"));
  EXPECT_EQ(window.LockKeys->Num->text(), QString());
  PressKey(target(), Qt::Key_CapsLock);
  PressKey(target(), Qt::Key_NumLock);
  EXPECT_EQ(window.LockKeys->Cap->text(), QString());
  EXPECT_EQ(window.LockKeys->Num->text(), QStringLiteral("NUM"));
}

}  // namespace
}  // namespace q5480::test
