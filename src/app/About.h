#pragma once

#include <string>

#include <QString>

namespace tw {

class Catalogue;

// What "About Tilewright" says, as plain text a user can paste into a bug
// report: the version, the database in use and its trays' counts, the
// keys, the licence, and the libraries' versions; and the user's library of
// trays: its file and how many it holds.
QString aboutText(const Catalogue &catalogue, const std::string &database,
                  const std::string &library);

} // namespace tw
