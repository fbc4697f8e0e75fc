#pragma once

#include "app/CommandLine.h"
#include "base/Expected.h"
#include "base/Files.h"

#include <QSizeF>

#include <functional>
#include <ostream>
#include <string>

namespace tw {

class Program;

// Where a command reads and writes its text: standard output and error,
// and standard input (read up to a limit, as readLimited reads it).
struct CommandIo
{
    std::ostream &out;
    std::ostream &err;
    std::function<Expected<std::string, FileFailure>(std::size_t limit)> input;
};

// Runs a command other than Window, Help, Version and Error: opens the
// program's database in programFolder and answers it. paper: the report's
// portrait paper, twips, when the command names none. Returns the exit
// status: 0; 1 for a tiling the database lacks; 2, with one line on err
// ("tilewright: ..."), for anything that cannot be done, whatever fails on
// the way. Writes nothing unless the whole output is written. Needs a
// QGuiApplication.
int runCommand(const Command &command, const std::string &programFolder, QSizeF paper,
               CommandIo &io);

// The same on a program whose database is open, for many commands in turn.
int answer(Program &program, const Command &command, CommandIo &io);

// Runs body, turning a failure that escapes it (an exception) into a line
// on err and status 2.
int guarded(std::ostream &err, const std::function<int()> &body);

} // namespace tw
