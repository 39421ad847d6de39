// Colours of the program's panels and fields.
#pragma once

#include <QColor>
#include <cstdint>

namespace q5480 {

// The program keeps colours as 0x00BBGGRR.
inline QColor ColourOf(std::uint32_t bgr) {
  return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
                static_cast<int>((bgr >> 16) & 0xFF));
}

inline constexpr std::uint32_t kTeal = 0x00808000;
inline constexpr std::uint32_t kSilver = 0x00C0C0C0;

}  // namespace q5480
