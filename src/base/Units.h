#pragma once

// The program's units. Positions and lengths on the main window and on
// report pages are twips; font sizes are points.

namespace tw {

inline constexpr double TwipsPerInch = 1440;
inline constexpr double TwipsPerPoint = 20;

// The main window's unit square, twips.
inline constexpr float ScreenUnit = 200;

} // namespace tw
