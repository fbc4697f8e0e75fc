#pragma once

#include "base/Integer.h"

namespace tw {

// The session: the one cursor the windows move, which tray is shown and
// which of its solutions. The trays and their solutions are the catalogue's;
// what is drawn where, and how, is handed to the painters as arguments.
struct SharedState
{
    Integer BoardIndex = 0; // the tray shown: its place in the catalogue
    Integer SolutionNo = 0; // the solution shown, 1..its count; 0 for none
};

} // namespace tw
