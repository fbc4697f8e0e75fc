#include "solutions/Database.h"

#include "solutions/Boards.h"
#include "solutions/SharedState.h"
#include "solutions/SolutionSchema.h"

#include <sqlite3.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <map>

namespace tw {

namespace {

bool sameName(std::string_view a, std::string_view b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}

std::string inQuotes(std::string_view text)
{
    return "\"" + std::string(text) + "\"";
}

// problem goes on from "The solution database "path" ".
DatabaseError broken(DatabaseFault fault, const std::string &path, const std::string &problem)
{
    return {fault, "The solution database " + inQuotes(path) + " " + problem, path};
}

DatabaseError inUse(const std::string &path, const std::string &detail)
{
    return broken(DatabaseFault::InUse, path, "is in use by another program (" + detail + ").");
}

DatabaseError unreadable(const std::string &path)
{
    return broken(DatabaseFault::Unreadable, path, "cannot be read: permission denied.");
}

// SQLite's code for a read-only connection that finds a hot journal.
constexpr int ReadOnlyRollback = SQLITE_READONLY | (3 << 8);

// What a failed SQLite call on path means to the user.
DatabaseError sqliteFailure(sqlite3 *db, const std::string &path, std::string_view doing)
{
    if (!db)
        return broken(DatabaseFault::NotADatabase, path, std::string(doing) + ": out of memory.");
    const int code = sqlite3_extended_errcode(db);
    const std::string reason = sqlite3_errmsg(db);
    switch (code & 0xFF) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return inUse(path, reason);
    case SQLITE_CANTOPEN:
    case SQLITE_PERM:
    case SQLITE_AUTH:
        if (sqlite3_system_errno(db) == EACCES || sqlite3_system_errno(db) == EPERM)
            return unreadable(path);
        break;
    case SQLITE_READONLY:
        if (code == ReadOnlyRollback)
            return broken(DatabaseFault::HalfChanged, path,
                          "was left half-changed by a program that stopped while writing it: "
                          "its journal " +
                              inQuotes(path + "-journal") + " still holds the unfinished change.");
        break;
    }
    return broken(DatabaseFault::NotADatabase, path, std::string(doing) + ": " + reason + ".");
}

// Whether the file at path is in write-ahead-log mode, read from its header.
bool inWalMode(const std::string &path)
{
    std::ifstream file(path, std::ios::binary);
    char header[20] = {};
    if (!file.read(header, sizeof header))
        return false;
    return std::string_view(header, 16) == std::string_view("SQLite format 3\0", 16) &&
           header[18] == 2 && header[19] == 2;
}

std::string trayName(long long board)
{
    return "the " + std::string(Trays[static_cast<std::size_t>(board)].label) + " tray";
}

// Solution numbers are 16-bit wherever the program counts them.
DatabaseError tooMany(const std::string &path, long long board, long long count)
{
    return broken(DatabaseFault::BadNumbering, path,
                  "holds " + std::to_string(count) + " solutions for " + trayName(board) +
                      ", more than the 32767 a tray can have.");
}

std::string describeValue(const StoredValue &v)
{
    return v.kind == StoredValue::Null ? "no value" : "the value " + inQuotes(v.text);
}

// The content checks, on a snapshot of the whole Solution table; fills the
// index with the records that pass.
std::optional<DatabaseError> checkSolutions(const std::string &path, const Snapshot &rows,
                                            SolutionIndex &index)
{
    std::array<std::size_t, SolutionFields.size()> column{};
    for (std::size_t f = 0; f < SolutionFields.size(); ++f)
        for (std::size_t c = 0; c < rows.columns.size(); ++c)
            if (sameName(rows.columns[c], SolutionFields[f]))
                column[f] = c;
    const std::size_t width = rows.columns.size();

    struct Entry
    {
        long long solution;
        SolutionRecord record;
    };
    std::array<std::vector<Entry>, BoardCount> boards;
    for (std::size_t r = 0; r < rows.rowCount(); ++r) {
        const auto field = [&](std::size_t f) -> const StoredValue & {
            return rows.values[r * width + column[f]];
        };
        for (std::size_t f : {0u, 1u})
            if (field(f).kind != StoredValue::Whole)
                return broken(DatabaseFault::BadValue, path,
                              "has a record (row " + std::to_string(r + 1) + ") with " +
                                  describeValue(field(f)) + " in its " +
                                  std::string(SolutionFields[f]) +
                                  " field, where a whole number belongs.");
        const long long board = field(0).number;
        const long long solution = field(1).number;
        if (board < 0 || board >= BoardCount)
            return broken(DatabaseFault::UnknownBoard, path,
                          "has a record for board " + std::to_string(board) +
                              ", but the trays are numbered 0 to 4.");
        for (std::size_t f = 2; f < SolutionFields.size(); ++f)
            if (field(f).kind != StoredValue::Whole)
                return broken(DatabaseFault::BadValue, path,
                              "has " + describeValue(field(f)) + " in the " +
                                  std::string(SolutionFields[f]) + " field of solution " +
                                  std::to_string(solution) + " of " + trayName(board) +
                                  ", where a whole number belongs.");
        Entry e{solution, {}};
        e.record.O_Index = field(2).number;
        e.record.X_Index = field(3).number;
        for (std::size_t k = 0; k < 11; ++k)
            e.record.Shape[k] = field(4 + k).number;
        boards[static_cast<std::size_t>(board)].push_back(e);
    }

    for (std::size_t b = 0; b < boards.size(); ++b) {
        auto &entries = boards[b];
        const long long board = static_cast<long long>(b);
        if (entries.empty())
            return broken(DatabaseFault::NoSolutions, path,
                          "has no solutions for " + trayName(board) + ".");
        std::sort(entries.begin(), entries.end(),
                  [](const Entry &x, const Entry &y) { return x.solution < y.solution; });
        for (std::size_t k = 0; k < entries.size(); ++k) {
            const long long expected = static_cast<long long>(k) + 1;
            if (entries[k].solution == expected)
                continue;
            const std::string what =
                k > 0 && entries[k].solution == entries[k - 1].solution
                    ? "solution " + std::to_string(entries[k].solution) + " appears twice"
                    : "solution " + std::to_string(expected) + " is missing";
            return broken(DatabaseFault::BadNumbering, path,
                          "does not number the solutions of " + trayName(board) + " 1 to " +
                              std::to_string(entries.size()) + " without gaps: " + what + ".");
        }
        for (const Entry &e : entries) {
            const auto tiling = tileRecord(static_cast<Integer>(b), e.record);
            if (!tiling)
                return broken(DatabaseFault::NotATiling, path,
                              "holds a solution " + std::to_string(e.solution) + " of " +
                                  trayName(board) +
                                  " that does not fill the tray: " + tiling.error().message + ".");
            // A tiling's values are 16-bit: the square and the X lie in the
            // tray, the shapes are orientation numbers.
            RecordKey key{};
            key[0] = static_cast<Integer>(*e.record.O_Index);
            key[1] = static_cast<Integer>(*e.record.X_Index);
            for (std::size_t k = 0; k < 11; ++k)
                key[k + 2] = static_cast<Integer>(*e.record.Shape[k]);
            index.add(static_cast<Integer>(b), key, static_cast<Integer>(e.solution));
        }
    }
    index.finish();
    return std::nullopt;
}

} // namespace

std::string databaseEngineVersion()
{
    return sqlite3_libversion();
}

std::string readOnlyUri(std::string_view path)
{
    static const char hex[] = "0123456789ABCDEF";
    std::string uri = "file:";
    for (unsigned char c : path) {
        if (c == '%' || c == '?' || c == '#' || c == ' ' || c < 0x20) {
            uri += '%';
            uri += hex[c >> 4];
            uri += hex[c & 15];
        } else {
            uri += static_cast<char>(c);
        }
    }
    return uri + "?mode=ro";
}

Expected<std::unique_ptr<Database>, DatabaseError> Database::open(const std::string &path,
                                                                  const std::string &connectString)
{
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (ec && ec != std::errc::no_such_file_or_directory) {
        if (ec == std::errc::permission_denied)
            return unreadable(path);
        return broken(DatabaseFault::NotADatabase, path, "cannot be reached: " + ec.message());
    }
    if (!fs::exists(status))
        return broken(DatabaseFault::FileMissing, path, "does not exist.");
    if (!fs::is_regular_file(status))
        return broken(DatabaseFault::NotAFile, path,
                      fs::is_directory(status) ? "is a folder, not a database file."
                                               : "is not a regular file.");

    std::string uri = connectString;
    if (inWalMode(path)) {
        // Reading a log-mode file normally creates "-wal" and "-shm" files
        // beside it (or fails in a read-only folder). With an empty log the
        // whole content is in the file, which is then read as it stands.
        const fs::path log = path + "-wal";
        if (fs::exists(log, ec) && fs::file_size(log, ec) > 0)
            return inUse(path, "its log " + inQuotes(log.string()) +
                                   " holds changes not yet written into it");
        uri += "&immutable=1";
    }
    sqlite3 *db = nullptr;
    const int rc =
        sqlite3_open_v2(uri.c_str(), &db, SQLITE_OPEN_READONLY | SQLITE_OPEN_URI, nullptr);
    std::unique_ptr<Database> database(new Database(db, path));
    if (rc != SQLITE_OK)
        return database->failure("could not be opened");
    // A lock of another program's is waited for a moment before it counts.
    sqlite3_busy_timeout(db, 250);
    // Opening is lazy: reading the schema is what finds a file that is not a
    // database.
    const auto probe = database->select("SELECT count(*) FROM sqlite_master");
    if (!probe)
        return probe.error();
    return database;
}

Database::~Database()
{
    sqlite3_close(m_db);
}

DatabaseError Database::failure(std::string_view doing) const
{
    return sqliteFailure(m_db, m_path, doing);
}

Expected<Snapshot, DatabaseError> Database::select(std::string_view sql,
                                                   const std::vector<long long> &parameters) const
{
    sqlite3_stmt *statement = nullptr;
    if (sqlite3_prepare_v2(m_db, sql.data(), static_cast<int>(sql.size()), &statement, nullptr) !=
        SQLITE_OK)
        return failure("could not be read");
    const std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt *)> guard(statement, sqlite3_finalize);
    for (std::size_t k = 0; k < parameters.size(); ++k)
        sqlite3_bind_int64(statement, static_cast<int>(k + 1), parameters[k]);

    Snapshot rows;
    const int width = sqlite3_column_count(statement);
    for (int c = 0; c < width; ++c)
        rows.columns.emplace_back(sqlite3_column_name(statement, c));
    int rc;
    while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
        for (int c = 0; c < width; ++c) {
            StoredValue v;
            switch (sqlite3_column_type(statement, c)) {
            case SQLITE_INTEGER:
                v.kind = StoredValue::Whole;
                v.number = sqlite3_column_int64(statement, c);
                break;
            case SQLITE_NULL:
                v.kind = StoredValue::Null;
                break;
            default:
                v.kind = StoredValue::Other;
                if (const auto *text = sqlite3_column_text(statement, c))
                    v.text = reinterpret_cast<const char *>(text);
                break;
            }
            rows.values.push_back(std::move(v));
        }
    }
    if (rc != SQLITE_DONE)
        return failure("could not be read");
    return rows;
}

Expected<std::vector<std::string>, DatabaseError> Database::solutionFields() const
{
    const auto info = select("PRAGMA table_info(Solution)");
    if (!info)
        return info.error();
    std::vector<std::string> names;
    const auto &rows = *info;
    for (std::size_t c = 0; c < rows.columns.size(); ++c)
        if (rows.columns[c] == "name")
            for (std::size_t r = 0; r < rows.rowCount(); ++r)
                names.push_back(rows.values[r * rows.columns.size() + c].text);
    return names;
}

void RecordSet::Open(Snapshot rows)
{
    m_rows = std::move(rows);
    m_open = true;
    m_cursor = 0;
    m_recordColumns.clear();
    for (std::size_t f = 2; f < SolutionFields.size(); ++f)
        m_recordColumns.push_back(columnOf(SolutionFields[f]));
}

void RecordSet::Close()
{
    m_rows = {};
    m_open = false;
    m_cursor = -1;
    m_recordColumns.clear();
}

void RecordSet::MoveNext()
{
    if (!IsEOF())
        ++m_cursor;
}

void RecordSet::MovePrevious()
{
    if (!IsBOF())
        --m_cursor;
}

bool RecordSet::FindSolution(long long number)
{
    const long solution = columnOf("Solution");
    if (m_cursor < 0)
        m_cursor = 0;
    for (; !IsEOF(); ++m_cursor) {
        const StoredValue *v = value(solution);
        if (v && v->kind == StoredValue::Whole && v->number == number)
            return true;
    }
    return false;
}

long RecordSet::columnOf(std::string_view name) const
{
    for (std::size_t c = 0; c < m_rows.columns.size(); ++c)
        if (sameName(m_rows.columns[c], name))
            return static_cast<long>(c);
    return -1;
}

const StoredValue *RecordSet::value(long column) const
{
    if (column < 0 || IsBOF() || IsEOF())
        return nullptr;
    return &m_rows.values[static_cast<std::size_t>(m_cursor) * m_rows.columns.size() +
                          static_cast<std::size_t>(column)];
}

std::optional<long long> RecordSet::Fields(std::string_view name) const
{
    const StoredValue *v = value(columnOf(name));
    if (!v || v->kind != StoredValue::Whole)
        return std::nullopt;
    return v->number;
}

SolutionRecord RecordSet::currentRecord() const
{
    SolutionRecord r;
    const auto get = [&](std::size_t k) -> std::optional<long long> {
        const StoredValue *v = k < m_recordColumns.size() ? value(m_recordColumns[k]) : nullptr;
        if (!v || v->kind != StoredValue::Whole)
            return std::nullopt;
        return v->number;
    };
    r.O_Index = get(0);
    r.X_Index = get(1);
    for (std::size_t k = 0; k < 11; ++k)
        r.Shape[k] = get(2 + k);
    return r;
}

std::optional<DatabaseError> OpenDatabase(SharedState &state)
{
    auto db = Database::open(state.DbPath, state.ConnectString);
    if (!db)
        return db.error();
    const auto fields = (*db)->solutionFields();
    if (!fields)
        return fields.error();
    if (fields->empty())
        return broken(DatabaseFault::MissingTable, state.DbPath, "has no Solution table.");
    for (std::string_view wanted : SolutionFields)
        if (std::none_of(fields->begin(), fields->end(),
                         [&](const std::string &f) { return sameName(f, wanted); }))
            return broken(DatabaseFault::MissingField, state.DbPath,
                          "has no " + std::string(wanted) + " field in its Solution table.");

    // Counted before anything is read, so that a file of a million records
    // is refused at once.
    const auto counts = (*db)->select("SELECT Board, count(*) FROM Solution GROUP BY Board");
    if (!counts)
        return counts.error();
    for (std::size_t r = 0; r < counts->rowCount(); ++r) {
        const StoredValue &board = counts->values[2 * r];
        const long long count = counts->values[2 * r + 1].number;
        if (count <= INT16_MAX)
            continue;
        if (board.kind == StoredValue::Whole && board.number >= 0 && board.number < BoardCount)
            return tooMany(state.DbPath, board.number, count);
        return broken(DatabaseFault::BadNumbering, state.DbPath,
                      "holds " + std::to_string(count) +
                          " records that belong to no tray; the trays are numbered 0 to 4.");
    }

    auto all = (*db)->select("SELECT * FROM Solution ORDER BY Solution");
    if (!all)
        return all.error();
    SolutionIndex index;
    if (auto problem = checkSolutions(state.DbPath, *all, index))
        return problem;
    state.RecordIndex = std::move(index);
    state.DbConnection = std::move(*db);
    state.SolutionSet.Open(std::move(*all));
    return std::nullopt;
}

namespace {

std::optional<DatabaseError> reopen(SharedState &state, std::string_view sql,
                                    const std::vector<long long> &parameters)
{
    state.SolutionSet.Close();
    if (!state.DbConnection)
        return broken(DatabaseFault::NotOpen, state.DbPath, "is not open.");
    auto rows = state.DbConnection->select(sql, parameters);
    if (!rows)
        return rows.error();
    state.SolutionSet.Open(std::move(*rows));
    return std::nullopt;
}

} // namespace

std::optional<DatabaseError> SelectBoard(SharedState &state, Integer board)
{
    // The file may have changed since it was checked: count first.
    if (state.DbConnection) {
        const auto count =
            state.DbConnection->select("SELECT count(*) FROM Solution WHERE Board=?1", {board});
        if (!count) {
            state.SolutionSet.Close();
            return count.error();
        }
        if (count->values.at(0).number > INT16_MAX) {
            state.SolutionSet.Close();
            return tooMany(state.DbPath, board, count->values[0].number);
        }
    }
    return reopen(state, "SELECT * FROM Solution WHERE Board=?1 ORDER BY Solution", {board});
}

std::optional<DatabaseError> SelectBoard(SharedState &state, Integer board, Integer from,
                                         Integer to)
{
    return reopen(state,
                  "SELECT * FROM Solution WHERE Board=?1 AND Solution>=?2 AND Solution<=?3 "
                  "ORDER BY Solution",
                  {board, from, to});
}

} // namespace tw
