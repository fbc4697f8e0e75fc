#pragma once

#include "solver/Solver.h"

#include <optional>
#include <string>
#include <vector>

struct sqlite3;

namespace tw {

// One tray's records in solution order (record k is solution k + 1).
struct BoardSolutions
{
    int board;
    std::vector<SolverRecord> records;
};

// A solution database being written: the rows go into a temporary file
// beside the final path, which is renamed into place only when complete, so
// an interrupted or failed run never leaves a half-written database and the
// old one stays as it was. The temporary file is removed when the object
// goes without a commit.
class SolutionDatabaseFile
{
public:
    // Prepares the database at path: refuses a path that is a folder, a
    // device or another file that is not a regular one; removes the
    // temporary files that earlier runs of this program left beside path
    // (their process is gone); and creates this run's own, empty. Returns a
    // one-line reason when it cannot.
    std::optional<std::string> open(const std::string &path);

    // Writes the trays into the temporary file and renames it to the path.
    std::optional<std::string> commit(const std::vector<BoardSolutions> &boards);

    SolutionDatabaseFile() = default;
    ~SolutionDatabaseFile();
    SolutionDatabaseFile(const SolutionDatabaseFile &) = delete;
    SolutionDatabaseFile &operator=(const SolutionDatabaseFile &) = delete;

private:
    void discard();

    std::string m_path;
    std::string m_temporary;
    sqlite3 *m_db = nullptr;
};

// The temporary file beside path for the process pid: "NAME.part-PID",
// with NAME shortened where a process number's ten digits would make the
// whole longer than a file name may be.
std::string temporaryPathFor(const std::string &path, long pid);

// Writes a solution database holding the given trays to path in one go.
// Returns a one-line reason on failure, when path is left as it was.
std::optional<std::string> writeSolutionDatabase(const std::string &path,
                                                 const std::vector<BoardSolutions> &boards);

// Makes an interrupt, a hang-up or a termination signal remove the file at
// path (the temporary file of a run) before the process ends as the signal
// asks. An empty path stops it.
void removeOnSignals(const std::string &path);

} // namespace tw
