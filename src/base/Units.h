#pragma once

// The program's units. Positions and lengths on the main window and on
// report pages are twips; font sizes are points.

namespace tw {

inline constexpr double TwipsPerInch = 1440;
inline constexpr double TwipsPerPoint = 20;

// The width of outlines on paper and in PDF files, twips (0.4 point): a
// width of none would be left to each device and reader, which draw it
// anywhere from a faint grey to 1/1200 inch.
inline constexpr double PrintedOutline = 8;

// The main window's unit square, twips.
inline constexpr float ScreenUnit = 200;

} // namespace tw
