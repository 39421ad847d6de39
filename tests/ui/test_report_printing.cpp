// The parameters report printed to a PDF file, read back with poppler-utils:
// its lines in order, where each line and rule sits on the page, and File ›
// Print of the main window.
#include <QImage>
#include <QLineEdit>
#include <QPrintDialog>
#include <QProcess>
#include <QRegularExpression>
#include <algorithm>
#include <cmath>

#include "support/sample_configurations.h"
#include "ui/report_printing.h"
#include "ui_fixture.h"

namespace q5480::test {
namespace {

// Runs of blanks made one, none at the ends, the typesetter's ligatures
// spelt out.
std::string Normalised(std::string line) {
  for (const auto& [ligature, letters] :
       {std::pair<std::string, std::string>{"\uFB01", "fi"}, {"\uFB02", "fl"}}) {
    for (std::size_t at; (at = line.find(ligature)) != std::string::npos;)
      line.replace(at, ligature.size(), letters);
  }
  std::string out;
  for (char c : line) {
    if (c == ' ' && (out.empty() || out.back() == ' ')) continue;
    out += c;
  }
  if (!out.empty() && out.back() == ' ') out.pop_back();
  return out;
}

// A line of the page as pdftotext -bbox finds it: its words, and the top
// of its box in points from the top of the page.
struct PageLine {
  std::string text;
  double top = 0;
};

std::string Unescaped(std::string text) {
  for (const auto& [entity, letter] : {std::pair<std::string, std::string>{"&lt;", "<"},
                                       {"&gt;", ">"},
                                       {"&quot;", "\""},
                                       {"&apos;", "'"},
                                       {"&amp;", "&"}}) {
    for (std::size_t at; (at = text.find(entity)) != std::string::npos;)
      text.replace(at, entity.size(), letter);
  }
  return text;
}

// The words of pdftotext -bbox gathered into lines, top to bottom: words
// whose tops lie within a point of each other share a line.
std::vector<PageLine> PageLines(const std::string& bbox) {
  static const QRegularExpression word(QStringLiteral(
      R"re(<word xMin="([0-9.]+)" yMin="([0-9.]+)" xMax="[0-9.]+" yMax="[0-9.]+">([^<]*)</word>)re"));
  struct Word {
    double left, top;
    std::string text;
  };
  std::vector<Word> words;
  for (const QRegularExpressionMatch& m : word.globalMatch(QString::fromStdString(bbox))) {
    words.push_back({m.captured(1).toDouble(), m.captured(2).toDouble(),
                     Unescaped(m.captured(3).toStdString())});
  }
  std::stable_sort(words.begin(), words.end(),
                   [](const Word& a, const Word& b) { return a.top < b.top; });
  std::vector<std::vector<Word>> rows;
  for (const Word& w : words) {
    if (rows.empty() || w.top - rows.back().front().top > 1) rows.emplace_back();
    rows.back().push_back(w);
  }
  std::vector<PageLine> lines;
  for (std::vector<Word>& row : rows) {
    std::sort(row.begin(), row.end(), [](const Word& a, const Word& b) { return a.left < b.left; });
    PageLine line{"", row.front().top};
    for (const Word& w : row) line.text += (line.text.empty() ? "" : " ") + w.text;
    line.text = Normalised(line.text);
    lines.push_back(line);
  }
  return lines;
}

// The heights, in points from the top of the page, of the horizontal rules
// between `left` and `right` on a grey picture of the page made at `dpi`:
// the middle of each run of rows that are dark almost all along.
std::vector<double> RuleHeights(const QImage& page, int dpi, double left, double right) {
  const double pixelsPerPoint = dpi / 72.0;
  const int from = static_cast<int>(std::ceil(left * pixelsPerPoint)) + 2;
  const int to = static_cast<int>(std::floor(right * pixelsPerPoint)) - 2;
  std::vector<double> heights;
  int runStart = -1;
  for (int y = 0; y < page.height(); ++y) {
    int dark = 0;
    for (int x = from; x <= to; ++x) dark += qGray(page.pixel(x, y)) < 200;
    const bool ruled = dark > 0.9 * (to - from + 1);
    if (ruled && runStart < 0) runStart = y;
    if (!ruled && runStart >= 0) {
      heights.push_back((runStart + y) / 2.0 / pixelsPerPoint);
      runStart = -1;
    }
  }
  return heights;
}

class ReportPrintingTest : public ::testing::Test {
 protected:
  ReportPrintingTest() { Application(); }

  PrintedReport Report(const LanguageTable& language, const std::string& languageName) {
    return ComposePrintedReport(config_, limits_, state_, language, languageName,
                                CivilDate{2026, 3, 5});
  }

  // The report printed as the program prints it, to a PDF file.
  std::string PrintedPdf(const PrintedReport& report) {
    const std::string pdf = (scratch_ / "report.pdf").string();
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(pdf));
    EXPECT_TRUE(PrintParametersReport(printer, report));
    EXPECT_EQ(printer.docName().toStdString(), report.jobTitle);
    paintRect_ = printer.pageLayout().paintRect(QPageLayout::Point);
    return pdf;
  }

  // What a tool of poppler-utils writes for `arguments`.
  static std::string ToolOutput(const QString& tool, const QStringList& arguments) {
    QProcess process;
    process.start(tool, arguments);
    if (!process.waitForFinished(30000) || process.exitCode() != 0) {
      ADD_FAILURE() << tool.toStdString()
                    << " (poppler-utils, see scripts/setup.sh) could not read the page";
      return {};
    }
    return process.readAllStandardOutput().toStdString();
  }

  // The lines of the page as pdftotext -bbox finds them.
  std::vector<PageLine> PrintedLines(const PrintedReport& report) {
    return PageLines(ToolOutput(QStringLiteral("pdftotext"),
                                {QStringLiteral("-bbox"),
                                 QString::fromStdString(PrintedPdf(report)), QStringLiteral("-")}));
  }

  test_support::ScratchDirectory scratch_;
  ModuleConfig config_;
  InputLimits limits_;
  ConversionState state_;
  QRectF paintRect_;  // the printable area of the last page, in points
};

// The places of an old printout: a quarter of the printable width in, a
// tenth of its height down, a 12-point pitch; line i at y0 + 2i pitches,
// the date under the last rule at y0 + 52 pitches, rules a pitch above lines
// 4, 10, 18 and 26. The accuracy and the fingerprint come after the date,
// at y0 + 54 and 56 pitches.
TEST_F(ReportPrintingTest, EveryLineAndRuleLiesWhereAnOldPrintoutHasIt) {
  test_support::SetPt100Configuration(config_);
  const PrintedReport report = Report(LanguageTable(), "English");
  ASSERT_FALSE(report.accuracy.empty());
  ASSERT_EQ(report.fingerprint.rfind("Fingerprint: ", 0), 0u) << report.fingerprint;
  const std::vector<PageLine> lines = PrintedLines(report);
  constexpr double kPitch = 12;  // points
  const double y0 = paintRect_.top() + paintRect_.height() / 10;

  constexpr std::size_t kDateLine = 27;
  std::vector<std::pair<std::string, double>> expected;  // each line's text and top
  for (std::size_t i = 0; i < kDateLine; ++i) {
    if (!Normalised(report.lines[i]).empty())
      expected.emplace_back(Normalised(report.lines[i]), y0 + 2 * i * kPitch);
  }
  expected.emplace_back(Normalised(report.lines[kDateLine]), y0 + 52 * kPitch);
  expected.emplace_back(Normalised(report.accuracy), y0 + 54 * kPitch);
  expected.emplace_back(Normalised(report.fingerprint), y0 + 56 * kPitch);

  ASSERT_EQ(lines.size(), expected.size());
  for (std::size_t k = 0; k < lines.size(); ++k) {
    EXPECT_EQ(lines[k].text, expected[k].first);
    EXPECT_NEAR(lines[k].top, expected[k].second, 1) << lines[k].text;
  }

  constexpr int kDpi = 144;
  ToolOutput(
      QStringLiteral("pdftoppm"),
      {QStringLiteral("-r"), QString::number(kDpi), QStringLiteral("-gray"), QStringLiteral("-png"),
       QStringLiteral("-singlefile"), QString::fromStdString((scratch_ / "report.pdf").string()),
       QString::fromStdString((scratch_ / "page").string())});
  const QImage page(QString::fromStdString((scratch_ / "page.png").string()));
  ASSERT_FALSE(page.isNull());
  const double quarter = paintRect_.width() / 4;
  const std::vector<double> rules =
      RuleHeights(page, kDpi, paintRect_.left() + quarter, paintRect_.left() + 3 * quarter);
  ASSERT_EQ(rules.size(), 4u);
  const int ruledLines[] = {4, 10, 18, 26};
  for (std::size_t k = 0; k < rules.size(); ++k) {
    EXPECT_NEAR(rules[k], y0 + (2 * ruledLines[k] - 1) * kPitch, 1) << ruledLines[k];
  }
}

TEST_F(ReportPrintingTest, PolishWordsKeepTheirCentralEuropeanLetters) {
  test_support::SetThermocoupleK(config_);
  config_.ogolne = "Zażółć gęślą jaźń, kociołek nr 3";
  LanguageTable polish;
  polish.SetLines({"Parameters  of=Parametry miernika", "Sensor=Czujnik",
                   "Thermocouple type=Termopara typu", "Input range=Zakres wejściowy", "to=do",
                   "Printed=Wydrukowano", "User info=Informacje"});
  const PrintedReport report = Report(polish, "Polski");
  ASSERT_TRUE(report.centralEuropean);
  std::vector<std::string> lines;
  for (const PageLine& line : PrintedLines(report)) lines.push_back(line.text);
  for (const char* line :
       {"Parametry miernika Q5495", "Czujnik: Termopara typu K", "Zażółć gęślą jaźń, kociołek",
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
  MainWindow& Window() { return program_->Window(); }
  ProgramContext& Context() { return program_->Context(); }
};

TEST_F(PrintCommand, PrintsThroughTheDialogsPrintToFile) {
  ModalAnswers answers;
  Window().Drukuj1->trigger();  // the menu item as well as the tool button
  EXPECT_EQ(answers.Messages(), std::vector<std::string>{"No parameters!"});
  test_support::SetPt100Configuration(Context().config);
  program_->Logic().Panel().ShowConfiguration(kColourWhite);
  const std::filesystem::path pdf = scratch_ / "printed.pdf";
  answers.When<QPrintDialog>([&](QPrintDialog* dialog) {
    auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("filename"));
    ASSERT_NE(name, nullptr);
    name->setText(QString::fromStdString(pdf.string()));
    dialog->accept();
  });
  Window().DrukujT->trigger();
  EXPECT_TRUE(answers.AllUsed());
  ASSERT_TRUE(std::filesystem::exists(pdf));
  EXPECT_GT(std::filesystem::file_size(pdf), 1000u);
}

}  // namespace
}  // namespace q5480::test
