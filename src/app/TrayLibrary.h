#pragma once

#include "app/Commands.h"
#include "solutions/Catalogue.h"
#include "solutions/Library.h"

#include <optional>
#include <string>

// The user's library of trays as the program finds and names it.

namespace tw {

// Trays.sqlite in the program's data folder (QStandardPaths'
// AppDataLocation, which honours XDG_DATA_HOME).
std::string libraryPath();

// The name and its key: case-folded, so that names differing only in case
// are one name.
TrayName trayNameOf(const std::string &name);

// Why a name cannot name a kept tray: empty, longer than 64 characters, not
// text, a control character, or a built-in tray's label. Nothing when it can.
std::optional<std::string> nameRefusal(const std::string &name);

// Reads the library at path into the catalogue, in place of the trays read
// before; the one line to say when the file or a tray in it could not be
// used (the trays that could are there).
std::optional<std::string> readKeptTrays(Catalogue &catalogue, const std::string &path);

// "My tray 1", "My tray 2", ...: the first not kept yet.
std::string defaultTrayName(const Catalogue &catalogue);

// The place of the kept tray of that name (case aside), or none.
std::optional<Integer> keptTrayNamed(const Catalogue &catalogue, const std::string &name);

// Why the region, drawn any way round, cannot be kept: it is one of the
// database's trays, or a tray kept already; nothing when it can.
std::optional<std::string> regionTaken(const Tray &region, const Catalogue &catalogue);

// The side of a unit square a kept tray is printed at unless told: as
// large as the 8 x 8 tray is, within largest (inches).
Single keptTraySide(Single largest, const Tray &tray);

// --new-tray, --trays, --delete-tray and --export-tray on the library at
// path. Exit status 0, or 2 with one line on err saying why and what to do;
// the library is left as it was unless the command succeeded.
int runTrayCommand(const Command &command, const std::string &path, CommandIo &io);

} // namespace tw
