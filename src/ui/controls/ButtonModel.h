#pragma once
// The plain rules of the image button: style word, state index, text colour.
#include <QColor>

namespace tavelo::ui {

// Style word of SetImages: low four bits kind, high four bits text alignment.
enum ButtonKind { kButtonPlain = 0, kButtonTwoState = 1 };
enum ButtonAlign { kAlignCentre = 0, kAlignLeft = 1, kAlignRight = 2 };
inline constexpr int kStyleTwoStateCentred = 1;
inline constexpr int kStyleTwoStateLeft = 17;
inline constexpr int kStyleTwoStateRight = 33;

inline constexpr int ButtonKindOf(int style) {
  return style & 0x0f;
}
inline constexpr int ButtonAlignOf(int style) {
  return (style >> 4) & 0x0f;
}

// Which of the four faces to draw: 0 normal, 1 pressed, 2 lit, 3 lit and pressed.
inline constexpr int ButtonStateIndex(int kind, bool pressed, bool lit) {
  if (kind == kButtonTwoState) return pressed && lit ? 3 : pressed ? 1 : lit ? 2 : 0;
  return pressed ? 1 : 0;
}

inline const QColor kButtonText{20, 20, 20};
inline const QColor kButtonLitText{20, 20, 20};
inline const QColor kButtonDisabledText{160, 160, 160};

inline QColor ButtonTextColour(bool enabled, bool lit) {
  return !enabled ? kButtonDisabledText : lit ? kButtonLitText : kButtonText;
}

}  // namespace tavelo::ui
