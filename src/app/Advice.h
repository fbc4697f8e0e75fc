#pragma once

#include "solutions/Database.h"

#include <string>

namespace tw {

// What the user can do about a database problem, by its cause: close the
// other program, check permissions, roll a change back; generating the
// database again only where its content is damaged or missing.
std::string remedyFor(const DatabaseError &error);

// The problem and its remedy, in two paragraphs.
std::string explain(const DatabaseError &error);

} // namespace tw
