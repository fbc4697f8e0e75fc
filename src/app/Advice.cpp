#include "app/Advice.h"

namespace tw {

namespace {

std::string inQuotes(const std::string &text)
{
    return "\"" + text + "\"";
}

} // namespace

std::string Advice::remedy(const DatabaseError &error) const
{
    // The generator writes a new file and puts it in place only when
    // complete, so it can run over a damaged one: the one that was opened,
    // or where a missing one belongs.
    const bool missing = error.fault == DatabaseFault::FileMissing || error.path.empty();
    const std::string target = missing ? m_where.home : error.path;
    const std::string command = inQuotes(m_where.solve) + " " + inQuotes(target);
    const bool built =
        !m_where.sourceFolder.empty() && !m_where.tried.empty() && target == m_where.tried.front();
    const std::string generate =
        built ? "run \"make\" in " + inQuotes(m_where.sourceFolder) + ", or: " + command + "."
              : "generate it with: " + command +
                    " (as root where that folder belongs to the system).";
    switch (error.fault) {
    case DatabaseFault::FileMissing:
        return "To make the database, " + generate;
    case DatabaseFault::NotAFile:
        return "Move it out of the way, then " + generate;
    case DatabaseFault::Unreadable:
        return "Check the permissions of the file and of its folder: Tilewright needs to read "
               "the file.";
    case DatabaseFault::InUse:
        return "Close the other program that uses it, or let it finish, then try again.";
    case DatabaseFault::HalfChanged:
        return "Open the file once with a program that may write to it, which rolls the change "
               "back (for example: sqlite3 " +
               inQuotes(error.path) + " \"PRAGMA quick_check;\"), then try again.";
    case DatabaseFault::NotADatabase:
    case DatabaseFault::MissingTable:
    case DatabaseFault::MissingField:
    case DatabaseFault::BadValue:
    case DatabaseFault::UnknownBoard:
    case DatabaseFault::BadNumbering:
    case DatabaseFault::NoSolutions:
    case DatabaseFault::NotATiling:
    case DatabaseFault::NotSmallest:
    case DatabaseFault::SameTiling:
    case DatabaseFault::OutOfOrder:
    case DatabaseFault::WrongCount:
        break;
    }
    return "Its content is damaged. To make it again, " + generate;
}

std::string Advice::explain(const DatabaseError &error) const
{
    return error.problem + "\n\n" + remedy(error);
}

} // namespace tw
