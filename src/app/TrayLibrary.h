#pragma once

#include "app/Commands.h"
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

// "My tray 1", "My tray 2", ...: the first not kept yet.
std::string defaultTrayName(const LibraryContents &library);

// The kept tray of that name (case aside), or none.
const KeptTray *keptTrayNamed(const LibraryContents &library, const std::string &name);

// Why the region, drawn any way round, cannot be kept: it is one of the
// five, or a tray kept already; nothing when it can.
std::optional<std::string> regionTaken(const Tray &region, const LibraryContents &library);

// Solution n (from 1) of a kept tray known by board, as the painter takes it.
Tiling keptTiling(const KeptTray &kept, Integer board, Long n);

// The side of a unit square a kept tray is printed at unless told: as
// large as the 8 x 8 tray is, within largest (inches).
Single keptTraySide(Single largest, const Tray &tray);

// --new-tray, --trays, --delete-tray and --export-tray on the library at
// path. Exit status 0, or 2 with one line on err saying why and what to do;
// the library is left as it was unless the command succeeded.
int runTrayCommand(const Command &command, const std::string &path, CommandIo &io);

} // namespace tw
