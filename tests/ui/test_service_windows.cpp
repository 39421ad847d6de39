// The corrections command of the desktop program against the emulated
// module: the password window, the corrections window storing and forcing,
// polling back afterwards; and pictures of it and of the diagnostics window
// behind its access code (to Q5480_SCREENSHOTS when it is set).
#include <QTest>
#include <cmath>

#include "ui/corrections_dialog.h"
#include "ui/diagnostics_dialog.h"
#include "ui_fixture.h"

namespace q5480::test {
namespace {

constexpr double kMillivoltsAt500 = 20.644;  // type K at 500 °C

// The password window, asking under `label`, answered with `text` and
// Enter; the transfer form of the same window is left alone.
void TypePassword(ModalAnswers& answers, const QString& text,
                  const std::string& label = "Password") {
  answers.Then([text, label](QWidget* shown) {
    auto* window = qobject_cast<MessageWindow*>(shown);
    if (window == nullptr || window->Haslo == nullptr) return false;
    EXPECT_EQ(window->Label1->text().toStdString(), label);
    EXPECT_FALSE(window->Label2->isVisibleTo(window));
    window->Haslo->setText(text);
    QTest::keyClick(window->Haslo, Qt::Key_Return);
    return true;
  });
}

// The number a panel starts with; 0 when it shows none.
double LeadingNumber(const QString& text) {
  return text.trimmed().section(QLatin1Char(' '), 0, 0).toDouble();
}

class ServiceWindowsUi : public ProgramTest {
 protected:
  void SetUp() override { Start("English"); }

  void Start(const std::string& language) {
    StartConnected(language);
    ASSERT_TRUE(WaitFor([&] { return Window().RegulacjaT->isEnabled(); }));
  }

  MainWindow& Window() { return program_->Window(); }
  ProgramContext& Context() { return program_->Context(); }

  // Thermocouple K, 0 to 1000 °C, written into the module, 500 °C at its terminals.
  void ProgramTheOven(ModalAnswers& answers) {
    const auto example =
        std::filesystem::path(Q5480_SOURCE_DIR) / "examples" / "thermocouple_k_0_1000.par";
    OpenParameters(answers, test_support::ReadBytes(example), "oven.par");
    Window().ZapiszT->trigger();
    ASSERT_EQ(StatusWithoutFingerprint(*Window().StatusText),
              " " + Context().Tr("Device programmed"));
    module_.SetSignal(SignalShape{SignalKind::Constant, kMillivoltsAt500, 0, 10});
  }
};

TEST_F(ServiceWindowsUi, PasswordOpensTheCorrectionsWindowWhichStoresAndForces) {
  ModalAnswers answers;
  bool correctionsShown = false;
  answers.Every([&] {
    if (qobject_cast<CorrectionsDialog*>(QApplication::activeModalWidget()))
      correctionsShown = true;
  });
  answers.Then([](QWidget* shown) {
    auto* window = qobject_cast<MessageWindow*>(shown);
    if (window == nullptr) return false;
    QTest::keyClick(window->Haslo, Qt::Key_Escape);
    return true;
  });
  Window().Regulacja1->trigger();
  ASSERT_TRUE(answers.AllUsed());
  EXPECT_FALSE(correctionsShown);
  EXPECT_EQ(line_.interposer.CountOf('s'), 0) << "nothing read behind a closed password window";

  TypePassword(answers, QStringLiteral("vorn"));
  answers.When<CorrectionsDialog>([&](CorrectionsDialog* window) {
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Input corrections"));
    EXPECT_FALSE(Context().link.LinkStarted()) << "the window polls by itself";
    ExpectAccessibleNames(*window);
    window->ZeroS->setValue(250);
    window->GainS->setValue(175);
    EXPECT_EQ(window->ZeroP->text(), QStringLiteral("+0.50 "));
    window->ZapiszB->click();
    EXPECT_FLOAT_EQ(test_support::HeldFloat(module_, 96), 0.5f);
    EXPECT_FLOAT_EQ(test_support::HeldFloat(module_, 100), -0.25f);
    EXPECT_EQ(window->focusWidget(), window->ExitB);

    window->SetOut->setText(QStringLiteral("12"));
    QTest::keyClick(window->SetOut, Qt::Key_Return);
    EXPECT_TRUE(module_.IndependentOutput());
    EXPECT_EQ(window->focusWidget(), window->SetOutbutt);
    EXPECT_TRUE(WaitFor([&] { return window->Outputp->text() == QStringLiteral("12.00 mA  !"); }));
    window->ExitB->click();
  });
  Window().Regulacja1->trigger();
  ASSERT_TRUE(answers.AllUsed());
  EXPECT_EQ(Context().config.ZeroReg, 0.5);
  EXPECT_EQ(Window().Panel->RegulZV->text(), QStringLiteral(" 0.50%"));
  // Polling runs again, and the main window shows the forced output.
  EXPECT_TRUE(Context().link.LinkStarted());
  EXPECT_TRUE(
      WaitFor([&] { return Window().OutputDisplay->text() == QStringLiteral("12.00 mA  !"); }));
}

// The pictures, in the language of the pictures.
class ServiceWindowPictures : public ServiceWindowsUi {
 protected:
  void SetUp() override { Start(PictureLanguage()); }
};

// The diagnostics behind the access code end with a restart.
TEST_F(ServiceWindowPictures, OfThePreviewAndOfForcedOutputs) {
  const std::filesystem::path shots = PictureFolder(scratch_ / "shots");
  auto save = [&](QWidget* window, const char* name) {
    const auto path = shots / name;
    EXPECT_TRUE(window->grab().save(QString::fromStdString(path.string()), "PNG")) << name;
  };
  ModalAnswers answers;
  ProgramTheOven(answers);

  TypePassword(answers, QStringLiteral("vorn"), Context().Tr("Password"));
  answers.When<CorrectionsDialog>([&](CorrectionsDialog* window) {
    EXPECT_TRUE(WaitFor([&] { return window->SimulCB->isEnabled(); }));
    window->SimulCB->click();
    window->ZeroS->setValue(300);
    // 1 % of the span more: some 10 °C above the 500 °C at the terminals.
    const QColor teal(0, 128, 128);
    EXPECT_TRUE(WaitFor([&] {
      const double shown = LeadingNumber(window->PomiarP->text());
      return window->PomiarP->palette().color(QPalette::WindowText) == teal && shown > 505 &&
             shown < 515;
    })) << window->PomiarP->text().toStdString();
    save(window, "corrections_preview.png");

    window->SimulCB->click();
    window->SetOut->setText(QStringLiteral("16,5"));
    window->SetOutbutt->click();
    EXPECT_TRUE(WaitFor([&] { return window->Outputp->text() == QStringLiteral("16.50 mA  !"); }));
    save(window, "corrections_output.png");
    window->ResetB->click();
    window->reject();
  });
  Window().RegulacjaT->trigger();
  ASSERT_TRUE(answers.AllUsed());

  TypePassword(answers, QStringLiteral("@kesvra"), Context().Tr("Password"));
  answers.When<DiagnosticsDialog>([&](DiagnosticsDialog* window) {
    EXPECT_TRUE(module_.InServiceMode());
    ExpectAccessibleNames(*window);
    EXPECT_EQ(window->Items[1]->text(), QStringLiteral("RInpu"));
    EXPECT_FALSE(window->ReadEEB->isEnabled()) << "the register editor carries no action";
    window->Items[kResultRegister]->click();
    window->SetOut->setText(QStringLiteral("8"));
    QTest::keyClick(window->SetOut, Qt::Key_Return);
    EXPECT_TRUE(WaitFor([&] {
      return std::abs(LeadingNumber(window->Panels[kResultRegister]->text()) - 500) < 1 &&
             window->Outputp->text().startsWith(QStringLiteral(" 8.000"));
    })) << window->Panels[kResultRegister]->text().toStdString();
    EXPECT_TRUE(module_.IndependentOutput());
    save(window, "diagnostics.png");
    window->reject();
  });
  Window().RegulacjaT->trigger();
  ASSERT_TRUE(answers.AllUsed());
  EXPECT_FALSE(module_.InServiceMode());
  EXPECT_FALSE(module_.IndependentOutput()) << "the closing restart ends the forcing";
  EXPECT_TRUE(Context().link.LinkStarted());
  EXPECT_TRUE(WaitFor([&] { return Window().OutputDisplay->text().endsWith(" mA   "); }));
}

}  // namespace
}  // namespace q5480::test
