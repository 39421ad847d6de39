// Colours of the charts, which keep them as 0x00BBGGRR.
#pragma once

#include <QColor>
#include <QRgb>
#include <cstdint>

namespace q5480 {

inline QColor ColourFromBgr(std::uint32_t bgr) {
  return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
                static_cast<int>((bgr >> 16) & 0xFF));
}

// The same colour as a pixel of an RGB32 image.
inline QRgb RgbFromBgr(std::uint32_t bgr) {
  return qRgb(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
              static_cast<int>((bgr >> 16) & 0xFF));
}

}  // namespace q5480
