#pragma once

#include <optional>
#include <string>

namespace tw {

// Whether the program may write one of its outputs (a report, a page image,
// a database) to path: only to a new file or over an existing regular file,
// and never over the solution database the program reads, whatever name or
// link leads to it. Returns why not ("it is a folder"), or nothing when it
// may. database may be empty when there is none to protect.
std::optional<std::string> outputRefusal(const std::string &path, const std::string &database = {});

} // namespace tw
