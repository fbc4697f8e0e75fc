#include "app/Advice.h"

namespace tw {

namespace {

std::string inQuotes(const std::string &text)
{
    return "\"" + text + "\"";
}

} // namespace

std::string remedyFor(const DatabaseError &error)
{
    const std::string regenerate = "run \"make run\" in Tilewright's source folder";
    switch (error.fault) {
    case DatabaseFault::FileMissing:
        return "Run \"make run\" in Tilewright's source folder: it builds the program and "
               "generates its database.";
    case DatabaseFault::NotAFile:
        return "Move it out of the way, then generate the database again: " + regenerate + ".";
    case DatabaseFault::Unreadable:
        return "Check the permissions of the file and of its folder: Tilewright needs to read "
               "the file.";
    case DatabaseFault::InUse:
        return "Close the other program that uses it, or let it finish, then try again.";
    case DatabaseFault::HalfChanged:
        return "Open the file once with a program that may write to it, which rolls the change "
               "back (for example: sqlite3 " +
               inQuotes(error.path) + " \"PRAGMA quick_check;\"), then try again.";
    case DatabaseFault::NotOpen:
        return "Start Tilewright again.";
    case DatabaseFault::NotADatabase:
    case DatabaseFault::MissingTable:
    case DatabaseFault::MissingField:
    case DatabaseFault::BadValue:
    case DatabaseFault::UnknownBoard:
    case DatabaseFault::BadNumbering:
    case DatabaseFault::NoSolutions:
    case DatabaseFault::NotATiling:
        break;
    }
    return "Delete " + inQuotes(error.path) + " and " + regenerate + " to generate it again.";
}

std::string explain(const DatabaseError &error)
{
    return error.problem + "\n\n" + remedyFor(error);
}

} // namespace tw
