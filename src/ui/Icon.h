#pragma once

#include <QIcon>

namespace tw {

// The program's icon, drawn from its SVG at the sizes desktops ask for.
QIcon programIcon();

} // namespace tw
