#pragma once

#include <QRect>
#include <cmath>

namespace ombrelis::ui {

/// The window is designed in twips; Qt places widgets in logical pixels, which it scales on
/// high-DPI screens itself. One logical pixel is 15 twips, as at 96 dots per inch.
inline constexpr int kTwipsPerPixel = 15;

/// Nearest logical pixel, halves away from zero.
inline int twipsToPixels(double twips) {
    return static_cast<int>(std::lround(twips / kTwipsPerPixel));
}

inline constexpr int pixelsToTwips(int pixels) {
    return pixels * kTwipsPerPixel;
}

/// A control's Left, Top, Width and Height in twips, as a rectangle in logical pixels.
inline QRect twipsRect(int left, int top, int width, int height) {
    return QRect(twipsToPixels(left), twipsToPixels(top), twipsToPixels(width),
                 twipsToPixels(height));
}

} // namespace ombrelis::ui
