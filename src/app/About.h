#pragma once

#include <QString>

namespace tw {

struct SharedState;

// What "About Tilewright" says, as plain text a user can paste into a bug
// report: the version, the database in use and its trays' counts, the
// keys, the licence, and the libraries' versions.
QString aboutText(const SharedState &state);

} // namespace tw
