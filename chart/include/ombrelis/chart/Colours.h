#pragma once

#include <cstdint>

namespace ombrelis::chart {

/// Colour as 0x00BBGGRR: red in the low byte.
using Colour = std::uint32_t;

constexpr Colour rgb(int red, int green, int blue) {
    return static_cast<Colour>(red) | (static_cast<Colour>(green) << 8) |
           (static_cast<Colour>(blue) << 16);
}

/// The colour as any type built from red, green and blue components (a QColor, say).
template <typename Rgb> Rgb toRgb(Colour colour) {
    return Rgb(static_cast<int>(colour & 0xFFU), static_cast<int>((colour >> 8) & 0xFFU),
               static_cast<int>((colour >> 16) & 0xFFU));
}

/// The chart's colours: the window's chart and the log tool's picture of a log both use them,
/// so that a plotted log looks like the live chart.
inline constexpr Colour kGridColour = rgb(255, 0, 0);
inline constexpr Colour kTraceColour = rgb(0, 192, 0);
inline constexpr Colour kBackground = rgb(64, 64, 64);

} // namespace ombrelis::chart
