// The parameters report printed to a PDF file, read back with pdftotext
// (poppler-utils) line by line, and File › Print of the main window.
#include <QLineEdit>
#include <QPrintDialog>
#include <QProcess>
#include <sstream>

#include "support/sample_configurations.h"
#include "ui/report_printing.h"
#include "ui_fixture.h"

namespace q5480::test {
namespace {

// Runs of blanks made one, none at the ends, the typesetter's ligatures
// spelt out.
std::string Normalised(std::string line) {
  for (const auto& [ligature, letters] : {std::pair<std::string, std::string>{"\uFB01", "fi"}, {"\uFB02", "fl"}}) {
    for (std::size_t at; (at = line.find(ligature)) != std::string::npos;) line.replace(at, ligature.size(), letters);
  }
  std::string out;
  for (char c : line) {
    if (c == ' ' && (out.empty() || out.back() == ' ')) continue;
    out += c;
  }
  if (!out.empty() && out.back() == ' ') out.pop_back();
  return out;
}

// The non-empty lines of a text, normalised.
std::vector<std::string> TextLines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream stream(text);
  for (std::string line; std::getline(stream, line);) {
    line = Normalised(line);
    if (!line.empty() && line != "\f") lines.push_back(line);
  }
  return lines;
}

class ReportPrintingTest : public ::testing::Test {
 protected:
  ReportPrintingTest() { Application(); }

  PrintedReport Report(const LanguageTable& language, const std::string& languageName) {
    return ComposePrintedReport(config_, limits_, state_, language, languageName, CivilDate{2026, 3, 5});
  }

  // The report printed as the program prints it, and the text of the page.
  std::string PrintedText(const PrintedReport& report) {
    const std::string pdf = (scratch_ / "report.pdf").string();
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(pdf));
    EXPECT_TRUE(PrintParametersReport(printer, report));
    EXPECT_EQ(printer.docName().toStdString(), report.jobTitle);
    QProcess pdftotext;
    pdftotext.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), QString::fromStdString(pdf),
                                                 QStringLiteral("-")});
    if (!pdftotext.waitForFinished(30000) || pdftotext.exitCode() != 0) {
      ADD_FAILURE() << "pdftotext (poppler-utils, see scripts/setup.sh) could not read the page";
      return {};
    }
    return pdftotext.readAllStandardOutput().toStdString();
  }

  test_support::ScratchDirectory scratch_;
  ModuleConfig config_;
  InputLimits limits_;
  ConversionState state_;
};

TEST_F(ReportPrintingTest, ThePageCarriesEveryLineInOrder) {
  test_support::SetPt100Configuration(config_);
  const PrintedReport report = Report(LanguageTable(), "English");
  std::vector<std::string> expected;
  for (const std::string& line : report.ReadingOrder()) {
    if (!Normalised(line).empty()) expected.push_back(Normalised(line));
  }
  ASSERT_GE(expected.size(), 20u);
  EXPECT_EQ(TextLines(PrintedText(report)), expected);
}

TEST_F(ReportPrintingTest, PolishWordsKeepTheirCentralEuropeanLetters) {
  test_support::SetThermocoupleK(config_);
  config_.ogolne = "Zażółć gęślą jaźń, kociołek nr 3";
  LanguageTable polish;
  polish.SetLines({"Parameters  of=Parametry miernika", "Sensor=Czujnik", "Thermocouple type=Termopara typu",
                   "Input range=Zakres wejściowy", "to=do", "Printed=Wydrukowano", "User info=Informacje"});
  const PrintedReport report = Report(polish, "Polski");
  ASSERT_TRUE(report.centralEuropean);
  const std::vector<std::string> lines = TextLines(PrintedText(report));
  for (const char* line : {"Parametry miernika Q5495", "Czujnik: Termopara typu K", "Zażółć gęślą jaźń, kociołek",
                           "Zakres wejściowy: 0.00 do 1000.00 °C", "Wydrukowano: 05.03.2026"}) {
    EXPECT_NE(std::find(lines.begin(), lines.end(), line), lines.end()) << line;
  }
}

class PrintCommand : public ProgramTest {
 protected:
  void SetUp() override {
    WriteSettings(kTestPort);
    StartProgram();
  }
  TQ5480F& Window() { return program_->Window(); }
  ProgramContext& Context() { return program_->Context(); }
};

TEST_F(PrintCommand, PrintsThroughTheDialogsPrintToFileWithTheTimerStopped) {
  ModalAnswers answers;
  Window().Drukuj1->trigger();  // the menu item as well as the tool button
  EXPECT_EQ(answers.Messages(), std::vector<std::string>{"No parameters!"});
  test_support::SetPt100Configuration(Context().config);
  program_->Logic().Panel().pokaz(kColourWhite);
  bool timerWhileAsked = true;
  const std::filesystem::path pdf = scratch_ / "printed.pdf";
  answers.When<QPrintDialog>([&](QPrintDialog* dialog) {
    timerWhileAsked = Context().state.TimerEnabled;
    auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("filename"));
    ASSERT_NE(name, nullptr);
    name->setText(QString::fromStdString(pdf.string()));
    dialog->accept();
  });
  Window().DrukujT->trigger();
  EXPECT_TRUE(answers.AllUsed());
  EXPECT_FALSE(timerWhileAsked);
  EXPECT_TRUE(Context().state.TimerEnabled);
  ASSERT_TRUE(std::filesystem::exists(pdf));
  EXPECT_GT(std::filesystem::file_size(pdf), 1000u);
}

}  // namespace
}  // namespace q5480::test
