#include "solver/DatabaseWriter.h"

#include "solutions/SolutionSchema.h"

#include <sqlite3.h>

#include <filesystem>
#include <memory>
#include <unistd.h>

namespace tw {

namespace {

struct Closer
{
    void operator()(sqlite3 *db) const { sqlite3_close(db); }
};

std::optional<std::string> fill(sqlite3 *db, const std::vector<BoardSolutions> &boards)
{
    const auto exec = [db](const std::string &sql) -> std::optional<std::string> {
        if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK)
            return std::string(sqlite3_errmsg(db));
        return std::nullopt;
    };
    // Nothing needs to survive a crash half-way: the file is renamed into
    // place only once complete.
    for (const char *sql : {"PRAGMA journal_mode=OFF", "PRAGMA synchronous=OFF"})
        if (auto e = exec(sql))
            return e;
    if (auto e = exec(std::string(CreateSolutionTable)))
        return e;
    if (auto e = exec("BEGIN"))
        return e;
    sqlite3_stmt *insert = nullptr;
    if (sqlite3_prepare_v2(db,
                           "INSERT INTO Solution VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, "
                           "?10, ?11, ?12, ?13, ?14, ?15)",
                           -1, &insert, nullptr) != SQLITE_OK)
        return std::string(sqlite3_errmsg(db));
    const std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt *)> guard(insert, sqlite3_finalize);
    for (const BoardSolutions &b : boards) {
        for (std::size_t k = 0; k < b.records.size(); ++k) {
            const SolverRecord &r = b.records[k];
            sqlite3_bind_int(insert, 1, b.board);
            sqlite3_bind_int(insert, 2, static_cast<int>(k + 1));
            sqlite3_bind_int(insert, 3, r.O_Index);
            sqlite3_bind_int(insert, 4, r.X_Index);
            for (int s = 0; s < 11; ++s)
                sqlite3_bind_int(insert, 5 + s, r.Shape[static_cast<std::size_t>(s)]);
            if (sqlite3_step(insert) != SQLITE_DONE)
                return std::string(sqlite3_errmsg(db));
            sqlite3_reset(insert);
        }
    }
    return exec("COMMIT");
}

} // namespace

std::optional<std::string> writeSolutionDatabase(const std::string &path,
                                                 const std::vector<BoardSolutions> &boards)
{
    namespace fs = std::filesystem;
    const std::string temporary = path + ".part-" + std::to_string(::getpid());
    std::error_code ec;
    fs::remove(temporary, ec);

    std::optional<std::string> error;
    {
        sqlite3 *raw = nullptr;
        const int rc = sqlite3_open_v2(temporary.c_str(), &raw,
                                       SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
        const std::unique_ptr<sqlite3, Closer> db(raw);
        if (rc != SQLITE_OK)
            error = raw ? sqlite3_errmsg(raw) : "out of memory";
        else
            error = fill(raw, boards);
    }
    if (!error) {
        fs::rename(temporary, path, ec);
        if (ec)
            error = ec.message();
    }
    if (error) {
        fs::remove(temporary, ec);
        return "cannot write " + path + ": " + *error;
    }
    return std::nullopt;
}

} // namespace tw
