#pragma once

#include "solutions/Region.h"
#include "solutions/Tray.h"

#include <optional>
#include <string>
#include <vector>

// The user's own trays: an SQLite file of their own, apart from the solution
// database, holding each tray's name, region and solutions. Every change is
// one transaction, so a full disk, a killed process or a second copy of the
// program writing at the same time leaves the file as it was. Values are
// always bound as parameters.
//
// A tray's solutions are kept as the smallest image of each under the
// region's symmetries, ascending, four bits a cell; reading checks every
// record (a whole tiling, its smallest image, in order, as many as the tray
// says) and leaves out a tray that fails, never showing it wrong.

namespace tw {

struct KeptTray
{
    std::string name;
    Tray tray; // in its standard orientation, labelled with its name
    std::vector<CellLetters> solutions;
};

struct LibraryContents
{
    std::vector<KeptTray> trays; // in the order they were kept
    // One line naming the file and what to do, when the file or a tray in it
    // could not be used; the trays that could are still there.
    std::optional<std::string> warning;
};

// The library at path; no file there is an empty library.
LibraryContents readLibrary(const std::string &path);

enum class LibraryFault {
    InUse,    // another program holds the file locked
    Full,     // the disk is full
    ReadOnly, // the file or its folder cannot be written
    Damaged,  // not a library, or a newer version's
    Taken,    // the name, or the region under another name, is kept already
    NotFound, // no tray of that name
};

// What went wrong, in a sentence that names the file and says what to do;
// the library is as it was.
struct LibraryError
{
    LibraryFault fault;
    std::string message;
};

// A name's key for uniqueness: the name in a case-folded form, made by the
// caller (which knows Unicode's case rules).
struct TrayName
{
    std::string name;
    std::string key;
};

// Keeps the tray (standard orientation) and its solutions under the name.
std::optional<LibraryError> keepTray(const std::string &path, const TrayName &name,
                                     const Tray &tray, const std::vector<CellLetters> &solutions);
std::optional<LibraryError> deleteTray(const std::string &path, const std::string &key);
// Gives the tray kept under key the new name.
std::optional<LibraryError> renameTray(const std::string &path, const std::string &key,
                                       const TrayName &name);

} // namespace tw
