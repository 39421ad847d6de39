#include <QEvent>
#include <QFontMetrics>
#include <QPainter>
#include <QPixmap>
#include <algorithm>

#include "charts/chart_clicks.h"
#include "charts/chart_colour.h"
#include "charts/xy_chart.h"
#include "config/text.h"

namespace q5480 {

CustomChart::CustomChart(QWidget* parent)
    : QWidget(parent), yLabelFont_(QStringLiteral("arial"), 8) {
  SetUpChartControl(*this, QStringLiteral("Chart"));
  resize(sizeHint());
}

void CustomChart::SetYLabel(const std::string& text) {
  yLabel_ = Utf8Left(text, kTitleLength);
  // Screen readers name the chart by its caption.
  if (!yLabel_.empty()) setAccessibleName(QString::fromStdString(yLabel_));
  RepaintAll();
}

void CustomChart::SetYLabelFont(const QFont& font) {
  yLabelFont_ = font;
  RepaintAll();
}

void CustomChart::SetGrid(GridType grid) {
  if (grid == grid_) return;
  grid_ = grid;
  RepaintAll();
}

void CustomChart::SetBackGround(std::uint32_t colour) {
  if (colour == backGround_) return;
  backGround_ = colour;
  RepaintAll();
}

void CustomChart::SetChartColor(std::uint32_t colour) {
  if (colour == chartColor_) return;
  chartColor_ = colour;
  RepaintAll();
}

void CustomChart::SetBorderWidth(int width) {
  if (width == borderWidth_) return;
  borderWidth_ = std::clamp(width, 1, 4);
  RepaintAll();
}

void CustomChart::SetDecimalSeparator(char separator) {
  if (separator == decimalSeparator_) return;
  decimalSeparator_ = separator;
  RepaintAll();
}

PixelRect CustomChart::GetChartRect() const {
  return BaseChartRect(width(), height(), YLabelHeight());
}

int CustomChart::YLabelHeight() const { return QFontMetrics(yLabelFont_).height(); }

QImage CustomChart::Picture() const {
  // Grabbing paints the control, which refreshes only its cached images.
  return const_cast<CustomChart*>(this)->grab().toImage();
}

void CustomChart::RepaintAll() {
  chartStale_ = true;
  update();
}

void CustomChart::Paint(QPainter& control) {
  if (width() <= 0 || height() <= 0) return;
  if (chartBitmap_.size() != size()) chartBitmap_ = QImage(size(), QImage::Format_RGB32);
  chartBitmap_.fill(ColourFromBgr(backGround_));
  QPainter canvas(&chartBitmap_);
  DrawYLabel(canvas);
  AutoScale();

  const PixelRect chart = GetChartRect();
  canvas.setPen(QPen(Qt::black, borderWidth_));
  canvas.setBrush(ColourFromBgr(chartColor_));
  // Right and Bottom lie just outside the frame.
  canvas.drawRoundedRect(
      QRect(chart.Left, chart.Top, chart.Right - chart.Left - 1, chart.Bottom - chart.Top - 1), 7.5,
      7.5);
  canvas.setPen(QPen(Qt::black, 1));
  canvas.setBrush(Qt::NoBrush);
  canvas.setFont(font());
  DrawGrid(canvas);
  DrawTimeTicks(canvas);
  DrawYScale(canvas);
  canvas.end();
  DrawData();
  chartStale_ = false;
  control.drawImage(0, 0, chartBitmap_);
}

void CustomChart::DrawYLabel(QPainter& canvas) const {
  if (yLabel_.empty()) return;
  // The caption takes the face and styles of font(); YLabelFont only sizes
  // the margin.
  const QFont& base = font();
  QFont captionFont(base.family());
  if (base.pixelSize() > 0) {
    captionFont.setPixelSize(base.pixelSize());
  } else {
    captionFont.setPointSizeF(base.pointSizeF());
  }
  captionFont.setBold(base.bold());
  captionFont.setItalic(base.italic());
  captionFont.setUnderline(base.underline());
  captionFont.setStrikeOut(base.strikeOut());
  const QFontMetrics metrics(captionFont);

  canvas.save();
  canvas.setFont(captionFont);
  canvas.setPen(Qt::black);
  // Reading upward, starting at x = 1 just below the middle.
  canvas.translate(1, (metrics.height() + height()) / 2);
  canvas.rotate(-90);
  canvas.drawText(QPoint(0, metrics.ascent()), QString::fromStdString(yLabel_));
  canvas.restore();
}

void CustomChart::paintEvent(QPaintEvent*) {
  QPainter control(this);
  Paint(control);
}

void CustomChart::resizeEvent(QResizeEvent* event) {
  chartStale_ = true;
  QWidget::resizeEvent(event);
}

void CustomChart::changeEvent(QEvent* event) {
  if (event->type() == QEvent::FontChange) RepaintAll();
  QWidget::changeEvent(event);
}

}  // namespace q5480
