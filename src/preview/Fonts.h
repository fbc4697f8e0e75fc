#pragma once

#include <QFont>

namespace tw {

// The sans-serif the program writes in, on screen and on paper: Liberation
// Sans (Arial's widths, which the windows' designs assume) when installed,
// else the system's own sans-serif.
QFont sansFont(double points);

} // namespace tw
