#include "base/OutputFile.h"

#include <filesystem>

namespace tw {

std::optional<std::string> outputRefusal(const std::string &path, const std::string &database)
{
    namespace fs = std::filesystem;
    std::error_code ec;
    // The status of what a link leads to: writing goes there.
    const fs::file_status target = fs::status(path, ec);
    if (!fs::exists(target))
        return std::nullopt;
    if (fs::is_directory(target))
        return "it is a folder";
    if (!fs::is_regular_file(target))
        return "it is not a regular file but a device, a pipe or a socket";
    if (!database.empty() && fs::equivalent(path, database, ec))
        return "it is the solution database that Tilewright reads";
    return std::nullopt;
}

} // namespace tw
