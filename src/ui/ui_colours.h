// Colours of the program's panels and fields.
#pragma once

#include <QColor>
#include <QFrame>
#include <QPalette>
#include <cstdint>

namespace q5480 {

// The program keeps colours as 0x00BBGGRR.
inline QColor ColourOf(std::uint32_t bgr) {
  return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
                static_cast<int>((bgr >> 16) & 0xFF));
}

inline constexpr std::uint32_t kTeal = 0x00808000;
inline constexpr std::uint32_t kSilver = 0x00C0C0C0;

// A bevelled panel filled with one colour, as the value displays sit in.
inline QFrame* ColouredFrame(std::uint32_t colour, QFrame::Shadow shadow, QWidget* parent) {
  auto* frame = new QFrame(parent);
  frame->setFrameShape(QFrame::Panel);
  frame->setFrameShadow(shadow);
  frame->setLineWidth(2);
  frame->setAutoFillBackground(true);
  QPalette palette = frame->palette();
  palette.setColor(QPalette::Window, ColourOf(colour));
  frame->setPalette(palette);
  return frame;
}

}  // namespace q5480
