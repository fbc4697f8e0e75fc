#pragma once

#include "base/Expected.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// Files the program reads and writes, named byte for byte as the file system
// names them (a name need not be valid text).

namespace tw {

// Whether the program may write one of its outputs (a report, a page image,
// a database) to path: only to a new file or over an existing regular file,
// never over the solution database the program reads nor over the files
// SQLite keeps beside it ("-journal", "-wal", "-shm"), whatever name or link
// leads to them. Returns why not ("it is a folder"), or nothing when it may.
// database may be empty when there is none to protect.
std::optional<std::string> outputRefusal(const std::string &path, const std::string &database = {});

// Why a file could not be written or read: the reason in words (the
// system's own, "No space left on device", or the program's, "it is a
// folder") and what the user can do about it.
struct FileFailure
{
    std::string reason;
    std::string remedy;

    // One line for the user: `cannot write "PATH": REASON; REMEDY.`
    std::string sentence(std::string_view doing, std::string_view path) const;
};

// What a user can do about a failure with the system error number error.
FileFailure failureOf(int error);
// The same for a file that could not be read.
FileFailure readFailureOf(int error);

// Whether digits, the process number a temporary file's name carries, name
// a process other than this one that has ended: its file was left behind.
bool leftByEndedRun(std::string_view digits);

// Writes bytes to path as a whole, or not at all: into a new file beside it,
// every write and the final flush to the disk checked, then renamed over
// path (over the file a link leads to), keeping the old file's permissions.
// On any failure the new file goes and path is left as it was. Refuses first
// what outputRefusal refuses.
std::optional<FileFailure> writeWholeFile(const std::string &path, std::string_view bytes,
                                          const std::string &database = {});

// The same into a temporary file of the caller's choosing beside target
// (created, or emptied): written, flushed, then renamed to target. On
// failure temporary is removed and target left as it was.
std::optional<FileFailure> replaceWith(const std::string &temporary, const std::string &target,
                                       std::string_view bytes);

// Reads the file at path, or standard input for "-", up to limit bytes; a
// longer file comes back as limit + 1 bytes so the caller can tell. A
// folder, a read error, a file that cannot be opened and a pipe that
// nothing writes to are failures.
Expected<std::string, FileFailure> readLimited(const std::string &path, std::size_t limit);

// The same from an open file descriptor (standard input is 0).
Expected<std::string, FileFailure> readLimited(int fd, std::size_t limit);

} // namespace tw
