#include "charts/chart_strip.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace q5480 {
namespace {

constexpr QRgb kBlack = 0xFF000000;

// n / d rounded to the nearest integer, halves up; d is not 0.
std::int64_t DivideRounded(std::int64_t n, std::int64_t d) {
  if (d < 0) {
    n = -n;
    d = -d;
  }
  const std::int64_t twice = 2 * n + d;
  const std::int64_t quotient = twice / (2 * d);
  return (twice % (2 * d) != 0 && twice < 0) ? quotient - 1 : quotient;
}

}  // namespace

void ChartStrip::Rows::Add(int from, int to) {
  Top = std::min({Top, from, to});
  Bottom = std::max({Bottom, from, to});
}

bool ChartStrip::Resize(QSize size) {
  if (size.isEmpty()) {
    *this = ChartStrip();
    return false;
  }
  if (size == size_) return true;
  size_ = size;
  strip_ = QImage(2 * size.width(), size.height(), QImage::Format_RGB32);
  strip_.fill(kBlack);
  offset_ = 0;
  drawn_.assign(static_cast<std::size_t>(strip_.width()), Rows());
  overlay_ = QImage(size, QImage::Format_RGB32);
  shown_.assign(static_cast<std::size_t>(size.width()), Rows());
  lineRows_.clear();
  composed_ = false;
  return true;
}

void ChartStrip::Clear() {
  if (IsNull()) return;
  strip_.fill(kBlack);
  offset_ = 0;
  std::fill(drawn_.begin(), drawn_.end(), Rows());
}

void ChartStrip::Scroll() {
  if (IsNull()) return;
  const int width = size_.width();
  if (offset_ + width + 1 > strip_.width()) {
    // Back to the start of the image, once per strip width.
    for (int y = 0; y < size_.height(); ++y) {
      QRgb* line = reinterpret_cast<QRgb*>(strip_.scanLine(y));
      std::memmove(line, line + offset_, static_cast<std::size_t>(width) * sizeof(QRgb));
    }
    std::copy(drawn_.begin() + offset_, drawn_.begin() + offset_ + width, drawn_.begin());
    offset_ = 0;
  }
  ++offset_;
  // The first column now holds the dropped point, the last one whatever was
  // left beyond the strip.
  ClearColumn(0);
  ClearColumn(width - 1);
}

void ChartStrip::ClearColumn(int x) {
  const qsizetype stride = strip_.bytesPerLine() / 4;
  QRgb* pixel = reinterpret_cast<QRgb*>(strip_.bits()) + offset_ + x;
  for (int y = 0; y < size_.height(); ++y, pixel += stride) *pixel = kBlack;
  drawn_[static_cast<std::size_t>(offset_ + x)] = Rows();
}

void ChartStrip::Pixel(int x, int y, QRgb colour) {
  if (x < 0 || x >= size_.width() || y < 0 || y >= size_.height()) return;
  StripLine(y)[x] = colour;
  drawn_[static_cast<std::size_t>(offset_ + x)].Add(y, y);
}

void ChartStrip::VerticalLine(int x, int fromY, int toY, QRgb colour) {
  if (x < 0 || x >= size_.width()) return;
  const int top = std::max(std::min(fromY, toY), 0);
  const int bottom = std::min(std::max(fromY, toY), size_.height() - 1);
  if (top > bottom) return;
  for (int y = top; y <= bottom; ++y) StripLine(y)[x] = colour;
  drawn_[static_cast<std::size_t>(offset_ + x)].Add(top, bottom);
}

void ChartStrip::Line(QPoint from, QPoint to, QRgb colour) {
  const std::int64_t dx = to.x() - from.x();
  const std::int64_t dy = to.y() - from.y();
  // One pixel per step along the longer axis; only the steps inside the
  // strip are walked, so a far-away end costs nothing.
  if (std::llabs(dy) >= std::llabs(dx)) {
    if (dy == 0) return Pixel(from.x(), from.y(), colour);
    const int top = std::max(std::min(from.y(), to.y()), 0);
    const int bottom = std::min(std::max(from.y(), to.y()), size_.height() - 1);
    for (int y = top; y <= bottom; ++y) {
      Pixel(static_cast<int>(from.x() + DivideRounded((y - from.y()) * dx, dy)), y, colour);
    }
    return;
  }
  const int left = std::max(std::min(from.x(), to.x()), 0);
  const int right = std::min(std::max(from.x(), to.x()), size_.width() - 1);
  for (int x = left; x <= right; ++x) {
    Pixel(x, static_cast<int>(from.y() + DivideRounded((x - from.x()) * dy, dx)), colour);
  }
}

void ChartStrip::Ring(int x, int y, QRgb colour) {
  // The ellipse's black inside first, then its outline.
  if (x >= 0 && x < size_.width() && y >= 0 && y < size_.height()) StripLine(y)[x] = kBlack;
  Pixel(x, y - 1, colour);
  Pixel(x - 1, y, colour);
  Pixel(x + 1, y, colour);
  Pixel(x, y + 1, colour);
}

void ChartStrip::ComposeRow(const QImage& chart, QPoint origin, int y) {
  const auto* chartLine =
      reinterpret_cast<const QRgb*>(chart.constScanLine(origin.y() + y)) + origin.x();
  const auto* stripLine = reinterpret_cast<const QRgb*>(strip_.constScanLine(y)) + offset_;
  auto* overlayLine = reinterpret_cast<QRgb*>(overlay_.scanLine(y));
  for (int x = 0; x < size_.width(); ++x) overlayLine[x] = chartLine[x] | stripLine[x];
}

void ChartStrip::Compose(const QImage& chart, QPoint origin, bool whole) {
  if (IsNull() || chart.format() != QImage::Format_RGB32 ||
      !chart.rect().contains(QRect(origin, size_))) {
    return;
  }
  const int width = size_.width();
  const int height = size_.height();
  auto changed = [&](int x) {
    Rows rows = shown_[static_cast<std::size_t>(x)];
    const Rows& drawn = drawn_[static_cast<std::size_t>(offset_ + x)];
    if (!drawn.Empty()) rows.Add(drawn.Top, drawn.Bottom);
    return rows;
  };

  if (!whole && composed_) {
    long long work = 0;
    for (int x = 0; x < width; ++x) {
      const Rows rows = changed(x);
      if (!rows.Empty()) work += rows.Bottom - rows.Top + 1;
    }
    // Column by column pays only while it is a small part of the area.
    whole = work * 8 > static_cast<long long>(width) * height;
  }
  if (whole || !composed_) {
    for (int y = 0; y < height; ++y) ComposeRow(chart, origin, y);
    for (int x = 0; x < width; ++x) {
      shown_[static_cast<std::size_t>(x)] = drawn_[static_cast<std::size_t>(offset_ + x)];
    }
    lineRows_.clear();
    composed_ = true;
    return;
  }

  for (int y : lineRows_) ComposeRow(chart, origin, y);
  lineRows_.clear();
  const qsizetype chartStride = chart.bytesPerLine() / 4;
  const qsizetype stripStride = strip_.bytesPerLine() / 4;
  const qsizetype overlayStride = overlay_.bytesPerLine() / 4;
  const auto* chartBits =
      reinterpret_cast<const QRgb*>(chart.constBits()) + origin.y() * chartStride + origin.x();
  const auto* stripBits = reinterpret_cast<const QRgb*>(strip_.constBits()) + offset_;
  auto* overlayBits = reinterpret_cast<QRgb*>(overlay_.bits());
  for (int x = 0; x < width; ++x) {
    const Rows rows = changed(x);
    const int top = std::max(rows.Top, 0);
    const int bottom = std::min(rows.Bottom, height - 1);
    for (int y = top; y <= bottom; ++y) {
      overlayBits[y * overlayStride + x] =
          chartBits[y * chartStride + x] | stripBits[y * stripStride + x];
    }
    shown_[static_cast<std::size_t>(x)] = drawn_[static_cast<std::size_t>(offset_ + x)];
  }
}

void ChartStrip::OverlayLine(int y, int fromX, int toX, QRgb colour) {
  if (IsNull() || y < 0 || y >= size_.height()) return;
  const int left = std::max(std::min(fromX, toX), 0);
  const int right = std::min(std::max(fromX, toX), size_.width() - 1);
  if (left > right) return;
  auto* line = reinterpret_cast<QRgb*>(overlay_.scanLine(y));
  std::fill(line + left, line + right + 1, colour);
  lineRows_.push_back(y);
}

QImage ChartStrip::StripImage() const {
  if (IsNull()) return {};
  return strip_.copy(offset_, 0, size_.width(), size_.height());
}

}  // namespace q5480
