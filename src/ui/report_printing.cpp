#include "ui/report_printing.h"

#include <QFont>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrintDialog>
#include <QRawFont>
#include <cmath>
#include <string>
#include <vector>

#include "service/parameters_report.h"

namespace q5480 {
namespace {

constexpr int kTitlePoints = 14;
constexpr int kLinePoints = 12;
constexpr int kSmallPoints = 10;
constexpr int kLastRuledLine = 26;

bool RuledLine(int i) { return i == 4 || i == 10 || i == 18 || i == kLastRuledLine; }

// The Central European letters that a face must have for Polish.
bool CoversCentralEurope(const QString& family) {
  const QRawFont raw = QRawFont::fromFont(QFont(family));
  for (const QChar c : QStringLiteral("ąćęłńóśźżĄĆĘŁŃÓŚŹŻ")) {
    if (!raw.supportsCharacter(c)) return false;
  }
  return true;
}

// The printer's default face, or for Polish the first face that has the
// Central European letters when the default one lacks them.
QString ReportFamily(bool centralEuropean) {
  const QString family = QFont().family();
  if (!centralEuropean || CoversCentralEurope(family)) return family;
  for (const QString& candidate : QFontDatabase::families(QFontDatabase::Latin)) {
    if (CoversCentralEurope(candidate)) return candidate;
  }
  return family;
}

class PageWriter {
 public:
  PageWriter(QPainter& painter, QPaintDevice& device, QString family)
      : painter_(painter), device_(device), family_(std::move(family)) {}

  void SetFont(int points, bool bold, bool italic = false) {
    QFont font(family_, points);
    font.setBold(bold);
    font.setItalic(italic);
    painter_.setFont(QFont(font, &device_));
  }

  // The text with the top of its line at y, as a line printer would place it.
  void Text(int x, int y, const std::string& text) {
    const QFontMetrics metrics(painter_.font(), &device_);
    painter_.drawText(QPoint(x, y + metrics.ascent()), QString::fromStdString(text));
  }

 private:
  QPainter& painter_;
  QPaintDevice& device_;
  QString family_;
};

}  // namespace

bool PaintParametersReport(QPagedPaintDevice& device, const PrintedReport& report) {
  if (report.lines.size() < kReportLineCount) return false;
  QPainter painter;
  if (!painter.begin(&device)) return false;
  PageWriter page(painter, device, ReportFamily(report.centralEuropean));
  const int x = device.width() / 4;
  const int y0 = device.height() / 10;
  const int dpi = device.logicalDpiY();
  // The date takes the place of the empty line 26, right under its rule;
  // the accuracy and the fingerprint come in the places after it, so that
  // every line of the report stays where a page printed without them has it.
  const int date = kLastRuledLine;
  std::vector<std::string> afterDate;
  const std::vector<std::string> reading = report.ReadingOrder();
  for (std::size_t i = kReportLineCount; i < reading.size(); ++i) {
    if (!reading[i].empty()) afterDate.push_back(reading[i]);
  }
  const int last = date + static_cast<int>(afterDate.size());
  // The line pitch: the height of the 12-point font in device pixels, less
  // when a small printable area would otherwise cut off the last line.
  const int h = std::min(static_cast<int>(std::lround(kLinePoints * dpi / 72.0)),
                         (device.height() - y0) / (2 * last + 1));

  page.SetFont(kTitlePoints, true);
  page.Text(x, y0, report.lines[0]);
  // Rules half a point thick, so that they show at any resolution.
  painter.setPen(QPen(Qt::black, std::max(1.0, dpi / 144.0)));
  for (int i = 1; i <= kLastRuledLine; ++i) {
    const bool ruled = RuledLine(i);
    const int y = y0 + 2 * i * h;
    if (ruled) painter.drawLine(x, y - h, 3 * x, y - h);
    page.SetFont(kLinePoints, ruled);
    page.Text(x, y, report.lines[static_cast<std::size_t>(i)]);
  }
  page.SetFont(kSmallPoints, false, true);
  page.Text(x, y0 + 2 * date * h, report.lines[kReportDateLine]);
  page.SetFont(kSmallPoints, false);
  for (std::size_t k = 0; k < afterDate.size(); ++k) {
    page.Text(x, y0 + 2 * (date + 1 + static_cast<int>(k)) * h, afterDate[k]);
  }
  return painter.end();
}

bool PrintParametersReport(QPrinter& printer, const PrintedReport& report) {
  printer.setDocName(QString::fromStdString(report.jobTitle));
  printer.setPageOrientation(QPageLayout::Portrait);
  return PaintParametersReport(printer, report);
}

ReportPrinter::ReportPrinter() = default;
ReportPrinter::~ReportPrinter() = default;

QPrinter& ReportPrinter::Printer() {
  if (!printer_) printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
  return *printer_;
}

bool ReportPrinter::AskToPrint(QWidget* parent) {
  QPrintDialog dialog(&Printer(), parent);
  dialog.setAccessibleName(dialog.windowTitle());
  return dialog.exec() == QDialog::Accepted;
}

void ReportPrinter::SetUp(QWidget* parent) {
  QPageSetupDialog dialog(&Printer(), parent);
  dialog.setAccessibleName(dialog.windowTitle());
  dialog.exec();
}

bool ReportPrinter::Print(const PrintedReport& report) {
  return PrintParametersReport(Printer(), report);
}

}  // namespace q5480
