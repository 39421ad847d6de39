// The chart bitmap's rules, ticks and value axis.
#include <QFontMetrics>
#include <QPainter>

#include "charts/chart_colour.h"
#include "charts/xy_chart.h"

namespace q5480 {

void XyChart::DrawGrid(QPainter& canvas) {
  if (Grid() == GridType::gtNone) return;
  const PixelRect chart = GetChartRect();
  const PixelRect plot = GetPlotRect();
  const int w = plot.Right - plot.Left;
  const int h = plot.Bottom - plot.Top;
  const int border = BorderWidth();
  canvas.save();
  // Silver rules vanish on a silver chart.
  canvas.setPen(ColourFromBgr(ChartColor() == kChartSilver ? kChartGrey : kChartSilver));
  if (Grid() == GridType::gtVert || Grid() == GridType::gtBoth) {
    for (int offset : GridOffsets(w, w / 10)) {
      const int x = plot.Right - offset;
      canvas.drawLine(x, chart.Top + border, x, chart.Bottom - border - 1);
    }
  }
  if (Grid() == GridType::gtHorz || Grid() == GridType::gtBoth) {
    const int count = ScaleCount(h, canvas.fontMetrics().height());
    for (int offset : GridOffsets(h, count)) {
      const int y = plot.Top + offset;
      canvas.drawLine(chart.Left + border, y, chart.Right - border - 1, y);
    }
  }
  canvas.restore();
}

void XyChart::DrawTimeTicks(QPainter& canvas) {
  const PixelRect chart = GetChartRect();
  const PixelRect plot = GetPlotRect();
  const int bottom = chart.Bottom - BorderWidth();
  canvas.setPen(Qt::black);
  for (int offset : TimeTickOffsets(plot.Right - plot.Left)) {
    const int x = plot.Right - offset;
    canvas.drawLine(x, bottom - 5, x, bottom - 1);
  }
}

void XyChart::DrawYScale(QPainter& canvas) {
  const PixelRect chart = GetChartRect();
  const PixelRect plot = GetPlotRect();
  const QFontMetrics metrics = canvas.fontMetrics();
  const int textHeight = metrics.height();
  const int h = plot.Bottom - plot.Top;
  const QColor background = ColourFromBgr(BackGround());
  canvas.setPen(Qt::black);
  for (const ScaleLabel& label : ScaleLabels(h, ScaleCount(h, textHeight), {minY_, maxY_})) {
    const int y = plot.Top + label.Offset;
    canvas.drawLine(chart.Left, y, chart.Left + 4, y);
    if (!label.HasText) continue;
    std::string text = FormatScaleValue(label.Value);
    if (OnDrawScales) OnDrawScales(*this, text);
    const QString shown = QString::fromStdString(text);
    const int textWidth = metrics.horizontalAdvance(shown);
    // Right-aligned 3 pixels left of the frame, on the background colour.
    const QRect box(chart.Left - 3 - textWidth, y - textHeight / 2, textWidth, textHeight);
    canvas.fillRect(box, background);
    canvas.drawText(box, Qt::AlignLeft | Qt::AlignTop, shown);
  }
}

}  // namespace q5480
