// The XY plot's frame: drawn once per size, bipolar mode and grey.
#include <QFontMetrics>
#include <QPainter>

#include "charts/chart_colour.h"
#include "charts/xy_plot.h"

namespace q5480 {
namespace {

constexpr std::uint32_t kAxisRed = 0x000000FF;
constexpr std::uint32_t kCaptionOlive = 0x00008080;
constexpr int kTick = 2;  // pixels each side of the axis

}  // namespace

void XyPlot::DrawFrame() {
  const PixelSize control = ControlSize();
  const int right = control.Width - 1;
  const int bottom = control.Height - 1;
  frame_ = QImage(size(), QImage::Format_RGB32);
  QPainter canvas(&frame_);
  const PlotGreys greys = FrameGreys(bgndColor_);
  const QColor light = ColourFromBgr(greys.Light);

  // The bevel.
  canvas.setPen(light);
  canvas.setBrush(ColourFromBgr(greys.Mid));
  canvas.drawRect(0, 0, right, bottom);
  canvas.setPen(ColourFromBgr(greys.Face));
  canvas.drawLine(0, bottom, right, bottom);
  canvas.drawLine(right, 0, right, bottom);

  const PixelRect area = PlotArea(control, bipolar_);
  const int axisX = OutputAxisX(area, bipolar_);
  canvas.setPen(light);
  // The straight-line characteristic, for comparison.
  canvas.drawLine(area.Left, area.Bottom, area.Right, area.Top);
  canvas.drawLine(area.Left, area.Top, area.Right, area.Top);
  canvas.drawLine(area.Right, area.Top, area.Right, area.Bottom);
  if (bipolar_) canvas.drawLine(area.Left, area.Top, area.Left, area.Bottom);

  canvas.setPen(ColourFromBgr(kAxisRed));
  canvas.drawLine(area.Left, area.Bottom, area.Right, area.Bottom);
  canvas.drawLine(axisX, area.Top, axisX, area.Bottom);
  // Ticks where the points of those percentages land.
  for (double percent : InputTickPercents(bipolar_)) {
    const int x = PlotPixel(percent, 0, control, bipolar_).X;
    canvas.drawLine(x, area.Bottom - kTick, x, area.Bottom + kTick);
  }
  for (double percent : OutputTickPercents(bipolar_)) {
    const int y = PlotPixel(0, percent, control, bipolar_).Y;
    canvas.drawLine(axisX - kTick, y, axisX + kTick, y);
  }

  const QFont font(QStringLiteral("Arial"), 10);
  const QFontMetrics metrics(font);
  canvas.setFont(font);
  canvas.setPen(ColourFromBgr(kCaptionOlive));
  const QString in = QStringLiteral("In");
  const QString out = QStringLiteral("Out");
  // "In" above the right end of the input axis; "Out" at the top, clear of
  // the ticks, or centred over the axis when it runs through the middle.
  canvas.drawText(area.Right - 1 - metrics.horizontalAdvance(in),
                  area.Bottom - kTick - 1 - metrics.descent(), in);
  const int outLeft = bipolar_ ? axisX - metrics.horizontalAdvance(out) / 2 : area.Left + kTick + 2;
  canvas.drawText(outLeft, area.Top + 1 + metrics.ascent(), out);
}

}  // namespace q5480
