// The parameters report on paper: one portrait page laid out line by line,
// the system's print and page set-up dialogs, and the printer kept from one
// print to the next.
#pragma once

#include <QPagedPaintDevice>
#include <QPrinter>
#include <memory>

#include "service/printed_report.h"

class QWidget;

namespace q5480 {

// Paints the report on the page of `device`: a quarter of the page's width
// to the left, a tenth of its height above; the title in 14 points bold,
// every line in 12 points followed by an empty line's height, rules above
// lines 4, 10, 18 and 26 (which are bold), the date in 10 points italic,
// and the table's accuracy and the fingerprint in 10 points in the places
// after the date. False when the device cannot be painted on.
bool PaintParametersReport(QPagedPaintDevice& device, const PrintedReport& report);

// The print job: titled after the report, portrait, painted as above.
bool PrintParametersReport(QPrinter& printer, const PrintedReport& report);

// The printer of the report, created when first needed and kept, so that
// what the person chose in one dialog holds for the next print.
class ReportPrinter {
 public:
  ReportPrinter();
  ~ReportPrinter();
  ReportPrinter(const ReportPrinter&) = delete;
  ReportPrinter& operator=(const ReportPrinter&) = delete;

  // The print dialog; true when confirmed.
  bool AskToPrint(QWidget* parent);
  // The page set-up dialog.
  void SetUp(QWidget* parent);
  bool Print(const PrintedReport& report);

 private:
  QPrinter& Printer();

  std::unique_ptr<QPrinter> printer_;
};

}  // namespace q5480
