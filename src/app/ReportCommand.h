#pragma once

#include <QSizeF>
#include <QStringList>

#include <ostream>
#include <string>

namespace tw {

// tilewright --report BOARD FROM TO (--pdf OUT.pdf | --png-page N OUT.png)
//            [--side INCHES] [--landscape] [--color]
//
// Builds the cheat sheet of solutions FROM..TO of tray BOARD (0..4 or its
// label without blanks, "10x6" .. "8x8") as the "Print" tab would, and writes
// it as a vector PDF, or page N as a PNG image, without opening a window.
// Bad arguments or a database that fails its checks print one line to err
// and return 2, writing nothing. paper: the report's portrait paper, twips.
// Needs a QGuiApplication.
int runReportCommand(const QStringList &arguments, const std::string &programFolder, QSizeF paper,
                     std::ostream &out, std::ostream &err);

// True when the arguments ask for the report command.
bool isReportCommand(const QStringList &arguments);

} // namespace tw
