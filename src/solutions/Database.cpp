#include "solutions/Database.h"

#include "base/NumberText.h"
#include "solutions/Boards.h"
#include "solutions/SolutionSchema.h"

#include <sqlite3.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <map>
#include <thread>
#include <tuple>

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

std::string describeValue(const Snapshot &rows, std::size_t place)
{
    return rows.values[place].kind == StoredValue::Null
               ? "no value"
               : "the value " + inQuotes(rows.textAt(place));
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
        const auto described = [&](std::size_t f) {
            return describeValue(rows, r * width + column[f]);
        };
        for (std::size_t f : {0u, 1u})
            if (field(f).kind != StoredValue::Whole)
                return broken(DatabaseFault::BadValue, path,
                              "has a record (row " + std::to_string(r + 1) + ") with " +
                                  described(f) + " in its " + std::string(SolutionFields[f]) +
                                  " field, where a whole number belongs.");
        const long long board = field(0).number;
        const long long solution = field(1).number;
        if (!isBuiltIn(board))
            return broken(DatabaseFault::UnknownBoard, path,
                          "has a record for board " + std::to_string(board) +
                              ", but the trays are numbered 0 to 4.");
        for (std::size_t f = 2; f < SolutionFields.size(); ++f)
            if (field(f).kind != StoredValue::Whole)
                return broken(DatabaseFault::BadValue, path,
                              "has " + described(f) + " in the " + std::string(SolutionFields[f]) +
                                  " field of solution " + std::to_string(solution) + " of " +
                                  trayName(board) + ", where a whole number belongs.");
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
            const auto tiling = DecodeSolution(static_cast<Integer>(b), e.record);
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
            index.add(static_cast<Integer>(b), key);
        }
    }
    index.finish();
    return std::nullopt;
}

// What the values alone cannot show: each record as the generator writes
// it (the smallest of its tiling's images), each tiling once, numbered in the
// order of the records' values, and as many solutions as the generator finds.
std::optional<DatabaseError> contentFault(const std::string &path, const SolutionIndex &index)
{
    for (const Integer board : BuiltInBoards) {
        const auto records = index.records(board);
        const std::string tray = trayName(board);
        for (std::size_t k = 0; k < records.size(); ++k)
            if (!smallestImage(board, records[k]))
                return broken(DatabaseFault::NotSmallest, path,
                              "holds a solution " + std::to_string(k + 1) + " of " + tray +
                                  " that is not written as the generator writes it: another "
                                  "image of its tiling has the smaller record.");
        // Strictly ascending, as written; where not, a tiling held twice
        // is the likelier change and is named first.
        for (std::size_t k = 1; k < records.size(); ++k) {
            if (records[k - 1] < records[k])
                continue;
            std::vector<std::size_t> byValue(records.size());
            for (std::size_t n = 0; n < byValue.size(); ++n)
                byValue[n] = n;
            std::sort(byValue.begin(), byValue.end(), [&](std::size_t a, std::size_t b) {
                return std::tie(records[a], a) < std::tie(records[b], b);
            });
            for (std::size_t n = 1; n < byValue.size(); ++n)
                if (records[byValue[n]] == records[byValue[n - 1]])
                    return broken(DatabaseFault::SameTiling, path,
                                  "holds one tiling twice, as solutions " +
                                      std::to_string(byValue[n - 1] + 1) + " and " +
                                      std::to_string(byValue[n] + 1) + " of " + tray + ".");
            return broken(DatabaseFault::OutOfOrder, path,
                          "does not number the solutions of " + tray +
                              " in the generator's order: solution " + std::to_string(k + 1) +
                              " comes before solution " + std::to_string(k) + ".");
        }
        const Integer written = Trays[static_cast<std::size_t>(board)].solutions;
        if (records.size() != static_cast<std::size_t>(written))
            return broken(DatabaseFault::WrongCount, path,
                          "holds " + groupedNumber(static_cast<long long>(records.size())) +
                              " solutions for " + tray + ", where the generator writes " +
                              groupedNumber(written) + ".");
    }
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
    const int rc = sqlite3_open_v2(
        uri.c_str(), &db, SQLITE_OPEN_READONLY | SQLITE_OPEN_URI | SQLITE_OPEN_NOMUTEX, nullptr);
    std::unique_ptr<Database> database(new Database(db, path, uri));
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
                    rows.texts.emplace(rows.values.size(), reinterpret_cast<const char *>(text));
                break;
            }
            rows.values.push_back(v);
        }
    }
    if (rc != SQLITE_DONE)
        return failure("could not be read");
    return rows;
}

namespace {

// A record as the quick read keeps it, its tray and number beside it.
struct KeptRecord
{
    Integer board;
    Integer solution;
    RecordKey key;
};

// Reads the records that the condition selects (split at the record
// (?1, ?2)), in the order of the table's key, checking each on its own: whole numbers, a tray,
// 16-bit values that tile it, no more for a tray than it can have. Nothing when one fails or the
// reading does.
std::optional<std::vector<KeptRecord>> readSound(sqlite3 *db, std::string_view condition,
                                                 const std::pair<int, int> &split)
{
    // The table's key orders the rows, so they come without a sort.
    const std::string sql =
        "SELECT Board, Solution, O_Index, X_Index, Shape1, Shape2, Shape3, Shape4, Shape5, "
        "Shape6, Shape7, Shape8, Shape9, Shape10, Shape11 FROM Solution WHERE " +
        std::string(condition) + " ORDER BY Board, Solution";
    sqlite3_stmt *statement = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), static_cast<int>(sql.size()), &statement, nullptr) !=
        SQLITE_OK)
        return std::nullopt;
    const std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt *)> guard(statement, sqlite3_finalize);
    sqlite3_bind_int(statement, 1, split.first);
    sqlite3_bind_int(statement, 2, split.second);
    std::vector<KeptRecord> kept;
    std::array<int, BoardCount> perBoard{};
    int rc;
    while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
        std::array<Integer, SolutionFields.size()> v;
        for (std::size_t c = 0; c < v.size(); ++c) {
            // One call into the statement a value; the value's own are cheap.
            sqlite3_value *value = sqlite3_column_value(statement, static_cast<int>(c));
            if (sqlite3_value_type(value) != SQLITE_INTEGER)
                return std::nullopt;
            const sqlite3_int64 number = sqlite3_value_int64(value);
            if (!fitsInteger(number))
                return std::nullopt;
            v[c] = static_cast<Integer>(number);
        }
        KeptRecord r{v[0], v[1], {}};
        std::copy(v.begin() + 2, v.end(), r.key.begin());
        // More records than a tray can have end the reading at once.
        if (!isBuiltIn(r.board) || ++perBoard[static_cast<std::size_t>(r.board)] > INT16_MAX ||
            !fillsTray(r.board, r.key))
            return std::nullopt;
        kept.push_back(r);
    }
    if (rc != SQLITE_DONE)
        return std::nullopt;
    return kept;
}

// The record where the generated table splits into two halves of about the
// same size, as (Board, Solution), from the counts the generator writes:
// two readers each seek their half through the table's key. Any split is
// correct, as the halves are counted against the whole; this one is even.
constexpr std::pair<int, int> middleRecord()
{
    int half = 0;
    for (const TrayInfo &tray : Trays)
        half += tray.solutions;
    half /= 2;
    for (int board = 0; board < BoardCount; ++board) {
        const int count = Trays[static_cast<std::size_t>(board)].solutions;
        if (half < count)
            return {board, half + 1};
        half -= count;
    }
    return {BoardCount, 1};
}
constexpr std::string_view FirstHalf = "(Board, Solution) < (?1, ?2)";
constexpr std::string_view SecondHalf = "(Board, Solution) >= (?1, ?2)";

// How many records the table holds, from its pages alone; -1 when it cannot
// be told.
long long recordCount(sqlite3 *db)
{
    sqlite3_stmt *statement = nullptr;
    if (sqlite3_prepare_v2(db, "SELECT count(*) FROM Solution", -1, &statement, nullptr) !=
        SQLITE_OK)
        return -1;
    const std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt *)> guard(statement, sqlite3_finalize);
    return sqlite3_step(statement) == SQLITE_ROW ? sqlite3_column_int64(statement, 0) : -1;
}

} // namespace

std::optional<SolutionIndex> Database::soundRecords() const
{
    // The first half is read on a second connection of its own, beside the
    // second half on this one: two cores read the table in about half the
    // time. Without a second connection this one reads it all.
    sqlite3 *other = nullptr;
    const bool split = std::thread::hardware_concurrency() > 1 &&
                       sqlite3_open_v2(m_uri.c_str(), &other,
                                       SQLITE_OPEN_READONLY | SQLITE_OPEN_URI | SQLITE_OPEN_NOMUTEX,
                                       nullptr) == SQLITE_OK;
    const std::unique_ptr<sqlite3, int (*)(sqlite3 *)> closer(other, sqlite3_close);
    std::optional<std::vector<KeptRecord>> first;
    std::optional<std::vector<KeptRecord>> second;
    if (split) {
        std::thread reader([&] { first = readSound(other, FirstHalf, middleRecord()); });
        second = readSound(m_db, SecondHalf, middleRecord());
        reader.join();
    } else {
        first = readSound(m_db, FirstHalf, middleRecord());
        second = readSound(m_db, SecondHalf, middleRecord());
    }
    // A record the halves both pass over (a key that is not a number, a
    // missing one) leaves the count short.
    if (!first || !second ||
        static_cast<long long>(first->size() + second->size()) != recordCount(m_db))
        return std::nullopt;

    // Each tray numbered 1 to n in key order, across the two halves.
    SolutionIndex index;
    std::array<Integer, BoardCount> count{};
    for (const auto *part : {&*first, &*second})
        for (const KeptRecord &r : *part) {
            Integer &n = count[static_cast<std::size_t>(r.board)];
            if (n == INT16_MAX || r.solution != n + 1)
                return std::nullopt;
            ++n;
            index.add(r.board, r.key);
        }
    if (std::find(count.begin(), count.end(), 0) != count.end())
        return std::nullopt;
    index.finish();
    return index;
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
                names.push_back(rows.textAt(r * rows.columns.size() + c));
    return names;
}

Expected<SolutionIndex, DatabaseError> OpenDatabase(const std::string &path,
                                                    const std::string &connectString)
{
    auto db = Database::open(path, connectString);
    if (!db)
        return db.error();
    const auto fields = (*db)->solutionFields();
    if (!fields)
        return fields.error();
    if (fields->empty())
        return broken(DatabaseFault::MissingTable, path, "has no Solution table.");
    for (std::string_view wanted : SolutionFields)
        if (std::none_of(fields->begin(), fields->end(),
                         [&](const std::string &f) { return sameName(f, wanted); }))
            return broken(DatabaseFault::MissingField, path,
                          "has no " + std::string(wanted) + " field in its Solution table.");

    // Almost always the table is sound and one pass into the compact form
    // shows it (stopping at a tray's 32768th record); when it is not, the
    // full check of every value as stored finds the first fault and says
    // what it is.
    if (auto sound = (*db)->soundRecords()) {
        if (auto fault = contentFault(path, *sound))
            return *fault;
        return std::move(*sound);
    }
    // Counted before the values are read, so that a file of a million
    // records is refused at once.
    const auto counts = (*db)->select("SELECT Board, count(*) FROM Solution GROUP BY Board");
    if (!counts)
        return counts.error();
    for (std::size_t r = 0; r < counts->rowCount(); ++r) {
        const StoredValue &board = counts->values[2 * r];
        const long long count = counts->values[2 * r + 1].number;
        if (count <= INT16_MAX)
            continue;
        if (board.kind == StoredValue::Whole && board.number >= 0 && board.number < BoardCount)
            return tooMany(path, board.number, count);
        return broken(DatabaseFault::BadNumbering, path,
                      "holds " + std::to_string(count) +
                          " records that belong to no tray; the trays are numbered 0 to 4.");
    }

    auto all = (*db)->select("SELECT * FROM Solution ORDER BY Solution");
    if (!all)
        return all.error();
    SolutionIndex index;
    if (auto problem = checkSolutions(path, *all, index))
        return *problem;
    if (auto fault = contentFault(path, index))
        return *fault;
    return index;
}

} // namespace tw
