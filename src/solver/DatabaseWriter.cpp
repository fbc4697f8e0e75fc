#include "solver/DatabaseWriter.h"

#include "base/Files.h"
#include "solutions/SolutionSchema.h"

#include <sqlite3.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <memory>
#include <signal.h>
#include <unistd.h>

namespace tw {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view PartMarker = ".part-";
// The longest file name most file systems allow, in bytes.
constexpr std::size_t NameMax = 255;

// "NAME.part-" beside path, NAME shortened so that any process number fits
// after it within a file name's length.
std::string temporaryStem(const std::string &path)
{
    constexpr std::size_t PidDigits = 10;
    const fs::path target(path);
    std::string name = target.filename().string();
    if (name.size() + PartMarker.size() + PidDigits > NameMax)
        name.resize(NameMax - PartMarker.size() - PidDigits);
    return (target.parent_path() / (name + std::string(PartMarker))).string();
}

// Removes "NAME.part-PID" files beside path whose process has ended.
void removeStaleTemporaries(const std::string &path)
{
    const fs::path target(path);
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    const std::string stem = fs::path(temporaryStem(path)).filename().string();
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.size() <= stem.size() || name.compare(0, stem.size(), stem) != 0)
            continue;
        if (leftByEndedRun(std::string_view(name).substr(stem.size()))) {
            std::error_code ignored;
            fs::remove(it->path(), ignored);
        }
    }
}

std::optional<std::string> execute(sqlite3 *db, const char *sql)
{
    if (sqlite3_exec(db, sql, nullptr, nullptr, nullptr) != SQLITE_OK)
        return std::string(sqlite3_errmsg(db));
    return std::nullopt;
}

// Rows go in statements of RowsPerInsert rows each, the rest one by one:
// an SQLite statement step costs as much as the rows it writes.
constexpr int RowsPerInsert = 50;
constexpr int FieldsPerRow = 15;

using Statement = std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt *)>;

std::optional<Statement> prepareInsert(sqlite3 *db, int rows)
{
    std::string sql = "INSERT INTO Solution VALUES ";
    for (int r = 0; r < rows; ++r)
        sql += r ? ",(?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)" : "(?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)";
    sqlite3_stmt *statement = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr) != SQLITE_OK)
        return std::nullopt;
    return Statement(statement, sqlite3_finalize);
}

std::optional<std::string> fill(sqlite3 *db, const std::vector<BoardSolutions> &boards)
{
    if (auto e = execute(db, "BEGIN"))
        return e;
    auto many = prepareInsert(db, RowsPerInsert);
    auto one = prepareInsert(db, 1);
    if (!many || !one)
        return std::string(sqlite3_errmsg(db));
    for (const BoardSolutions &b : boards) {
        const std::size_t count = b.records.size();
        for (std::size_t k = 0; k < count;) {
            sqlite3_stmt *insert = count - k >= RowsPerInsert ? many->get() : one->get();
            const int rows = insert == many->get() ? RowsPerInsert : 1;
            // Every value bound, or the first refusal said.
            int bound = SQLITE_OK;
            const auto bind = [&](int field, int value) {
                if (bound == SQLITE_OK)
                    bound = sqlite3_bind_int(insert, field, value);
            };
            for (int row = 0; row < rows; ++row, ++k) {
                const SolverRecord &r = b.records[k];
                const int at = row * FieldsPerRow;
                bind(at + 1, b.board);
                bind(at + 2, static_cast<int>(k + 1));
                bind(at + 3, r.O_Index);
                bind(at + 4, r.X_Index);
                for (int s = 0; s < 11; ++s)
                    bind(at + 5 + s, r.Shape[static_cast<std::size_t>(s)]);
            }
            if (bound != SQLITE_OK)
                return std::string(sqlite3_errstr(bound));
            if (sqlite3_step(insert) != SQLITE_DONE)
                return std::string(sqlite3_errmsg(db));
            sqlite3_reset(insert);
        }
    }
    return execute(db, "COMMIT");
}

// The temporary file a signal removes; written before the handlers can run.
char g_signalledPath[4096];

extern "C" void removeAndRaise(int signal)
{
    if (g_signalledPath[0])
        ::unlink(g_signalledPath);
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

} // namespace

std::string temporaryPathFor(const std::string &path, long pid)
{
    return temporaryStem(path) + std::to_string(pid);
}

std::optional<std::string> SolutionDatabaseFile::open(const std::string &path)
{
    discard();
    const auto fail = [&](const std::string &why) {
        discard();
        return "cannot write " + path + ": " + why;
    };
    if (auto refusal = outputRefusal(path))
        return "cannot write " + path + ": " + *refusal;
    m_path = path;
    removeStaleTemporaries(path);
    m_temporary = temporaryPathFor(path, ::getpid());
    std::error_code ec;
    fs::remove(m_temporary, ec);
    // The file is made now, so that a place that cannot be written is told
    // before the search; it is written once the database is complete.
    const int fd = ::open(m_temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0) {
        const FileFailure failure = failureOf(errno);
        m_temporary.clear();
        return fail(failure.reason + (failure.remedy.empty() ? "" : "; " + failure.remedy));
    }
    ::close(fd);
    // The database is built in memory and written as a whole, every write
    // and the flush checked, as every other output of the program. It is a
    // plain rollback-mode database that a read-only reader opens without
    // leaving anything behind.
    if (sqlite3_open_v2(":memory:", &m_db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) !=
        SQLITE_OK)
        return fail(m_db ? sqlite3_errmsg(m_db) : "out of memory");
    if (auto e = execute(m_db, std::string(CreateSolutionTable).c_str()))
        return fail(*e);
    return std::nullopt;
}

std::optional<std::string> SolutionDatabaseFile::commit(const std::vector<BoardSolutions> &boards)
{
    if (!m_db)
        return "cannot write " + m_path + ": the file was not prepared";
    const auto fail = [&](const std::string &why) {
        const std::string path = m_path;
        discard();
        return "cannot write " + path + ": " + why;
    };
    if (auto error = fill(m_db, boards))
        return fail(*error);
    sqlite3_int64 size = 0;
    unsigned char *image = sqlite3_serialize(m_db, "main", &size, 0);
    if (!image)
        return fail("out of memory");
    const auto failure = replaceWith(
        m_temporary, m_path,
        std::string_view(reinterpret_cast<const char *>(image), static_cast<std::size_t>(size)));
    sqlite3_free(image);
    if (failure)
        return fail(failure->reason + (failure->remedy.empty() ? "" : "; " + failure->remedy));
    m_temporary.clear();
    discard();
    return std::nullopt;
}

void SolutionDatabaseFile::discard()
{
    if (m_db) {
        sqlite3_close(m_db);
        m_db = nullptr;
    }
    if (!m_temporary.empty()) {
        std::error_code ec;
        fs::remove(m_temporary, ec);
        m_temporary.clear();
    }
}

SolutionDatabaseFile::~SolutionDatabaseFile()
{
    discard();
}

std::optional<std::string> writeSolutionDatabase(const std::string &path,
                                                 const std::vector<BoardSolutions> &boards)
{
    SolutionDatabaseFile file;
    if (auto error = file.open(path))
        return error;
    return file.commit(boards);
}

void removeOnSignals(const std::string &path)
{
    // Block the signals while the path changes, so a handler never reads
    // half of it.
    sigset_t signals, previous;
    sigemptyset(&signals);
    for (int s : {SIGINT, SIGTERM, SIGHUP})
        sigaddset(&signals, s);
    sigprocmask(SIG_BLOCK, &signals, &previous);
    const std::size_t n = std::min(path.size(), sizeof g_signalledPath - 1);
    std::memcpy(g_signalledPath, path.data(), n);
    g_signalledPath[n] = '\0';
    struct sigaction action
    {
    };
    action.sa_handler = path.empty() ? SIG_DFL : removeAndRaise;
    sigemptyset(&action.sa_mask);
    for (int s : {SIGINT, SIGTERM, SIGHUP})
        sigaction(s, &action, nullptr);
    sigprocmask(SIG_SETMASK, &previous, nullptr);
}

} // namespace tw
