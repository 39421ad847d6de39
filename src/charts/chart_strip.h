// The strip chart's two plot-area bitmaps: the strip, which holds the points
// on black and scrolls one column per point, and the overlay, in which the
// plot area is composed as the chart bitmap OR the strip, with the reference
// lines on top.
//
// An accepted point must cost little even on a wide, tall strip, so
// - the strip is a window that slides over an image twice as wide: scrolling
//   moves no pixels, except once per strip width when the window goes back
//   to the start;
// - each strip column remembers the rows it has drawn in, and each overlay
//   column the rows in which it differs from the chart; recomposing after a
//   point touches those rows only.
// The result is pixel for pixel a plain copy of the chart area OR-ed with the
// whole strip.
#pragma once

#include <QImage>
#include <QPoint>
#include <QSize>
#include <climits>
#include <vector>

namespace q5480 {

class ChartStrip {
 public:
  // Both bitmaps `size` pixels, the strip black. False, and nothing held,
  // when the size is empty.
  bool Resize(QSize size);
  QSize Size() const { return size_; }
  bool IsNull() const { return size_.isEmpty(); }

  // The whole strip black.
  void Clear();
  // Moves the strip one column to the left; the first and the last column
  // become black.
  void Scroll();

  // Drawing on the strip, in its coordinates, clipped to it.
  void Pixel(int x, int y, QRgb colour);
  // Both ends included.
  void Line(QPoint from, QPoint to, QRgb colour);
  void VerticalLine(int x, int fromY, int toY, QRgb colour);
  // The outline of a 3 by 3 ellipse about (x, y): its four edge pixels.
  void Ring(int x, int y, QRgb colour);

  // Composes the overlay from the area of `chart` at `origin` and the strip.
  // Unless `whole`, only what changed since the last composition is redone,
  // which needs the same chart image and origin as then.
  void Compose(const QImage& chart, QPoint origin, bool whole);
  // A reference line on the overlay, columns fromX..toX of row y; the next
  // composition removes it.
  void OverlayLine(int y, int fromX, int toX, QRgb colour);

  // The strip as it stands (a copy: its image is wider than the strip).
  QImage StripImage() const;
  const QImage& Overlay() const { return overlay_; }

 private:
  struct Rows {
    int Top = INT_MAX;  // empty while Top > Bottom
    int Bottom = INT_MIN;

    void Add(int from, int to);
    bool Empty() const { return Top > Bottom; }
  };

  QRgb* StripLine(int y) { return reinterpret_cast<QRgb*>(strip_.scanLine(y)) + offset_; }
  void ClearColumn(int x);
  void ComposeRow(const QImage& chart, QPoint origin, int y);

  QSize size_;
  QImage strip_;             // twice as wide as the strip
  int offset_ = 0;           // the strip's first column in strip_
  std::vector<Rows> drawn_;  // per column of strip_: rows that may hold points
  QImage overlay_;
  std::vector<Rows> shown_;    // per overlay column: rows that may differ from the chart
  std::vector<int> lineRows_;  // rows of reference lines since the last composition
  bool composed_ = false;
};

}  // namespace q5480
