// The XY plot: a small square control that plots points given in percent of
// two ranges, the input across (caption "In") and the output up ("Out"), over
// a bevelled frame with a diagonal for comparison. Every plotted point stays
// in an off-screen trace, so a repaint shows them all; a pair of cross-hairs
// marks the operating point and moves without disturbing the trace.
//
// Use:
//   plot.SetBipolar(true);            // input −100..100 % (default 0..100 %)
//   plot.ClearTrace();
//   for (...) plot.PlotPoint(x, y);   // percent; clamped to the margins
//   plot.SetCrossHairsOn(true);
//   plot.SetCrossHairs(x, y);         // as often as the operating point moves
//   plot.OnClick = [](XyPlot& sender) { ... };
//
// A point or a cross-hair move redraws a few pixels and two thin strips; the
// frame is drawn again only when the size, `Bipolar` or `BgndColor` changes.
#pragma once

#include <QImage>
#include <QWidget>
#include <cstdint>
#include <functional>

#include "charts/xy_plot_geometry.h"

namespace q5480 {

class XyPlot : public QWidget {
  Q_OBJECT
 public:
  explicit XyPlot(QWidget* parent = nullptr);

  // Adds the point (x, y), in percent, to the trace and shows it at once.
  // A NaN coordinate plots nothing.
  void PlotPoint(double x, double y);
  // Moves the cross-hairs to (x, y) in percent. Ignored while they are off,
  // and for a NaN coordinate.
  void SetCrossHairs(double x, double y);
  // Empties the trace and repaints.
  void ClearTrace();

  // Input −100..100 % instead of 0..100 %; repaints when it changes (and,
  // when the trace changes size with it, empties the trace).
  bool Bipolar() const { return bipolar_; }
  void SetBipolar(bool bipolar);
  // Lightens the frame's greys, 0..100 (clamped); repaints.
  int BgndColor() const { return bgndColor_; }
  void SetBgndColor(int shift);
  // Points as 2 by 2 squares instead of single pixels, from the next point.
  bool BigDot = false;
  // 0x00BBGGRR; the pen of the next point.
  std::uint32_t PenColor = 0x0000FFFF;  // yellow
  // 0x00BBGGRR; taken at the next cross-hair move or repaint.
  std::uint32_t HairsColor = 0x00FFFF00;  // aqua
  // Whether the cross-hairs are shown; switching them off forgets their
  // position and repaints.
  bool CrossHairs() const { return crossHairs_; }
  void SetCrossHairsOn(bool on);
  // The cross-hairs' pixel on the control; (0, 0) while none is shown.
  int HairX() const { return hair_.X; }
  int HairY() const { return hair_.Y; }

  // The plotted points on white, which stands for empty.
  const QImage& TraceBitmap() const { return trace_; }

  std::function<void(XyPlot& sender)> OnClick;
  std::function<void(XyPlot& sender)> OnDblClick;

  QSize sizeHint() const override { return {108, 108}; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  PixelSize ControlSize() const { return {width(), height()}; }
  // Sizes the images to the control, emptying the trace when its size
  // changes, and draws the frame again when it is stale.
  void FitImages();
  // The frame: bevel, plot edges, diagonal, axes, ticks and captions.
  void DrawFrame();
  // The picture: the frame with the trace's points OR-ed into it.
  void Compose();
  // The area the cross-hairs at `hair` cover on the control.
  QRegion HairsRegion(PixelPoint hair) const;

  bool bipolar_ = false;
  int bgndColor_ = 0;
  bool crossHairs_ = false;
  PixelPoint hair_;
  QImage trace_;    // at (1, 1) on the control
  QImage frame_;    // the control without points
  QImage picture_;  // the control without cross-hairs, as shown
  bool frameStale_ = true;
};

}  // namespace q5480
