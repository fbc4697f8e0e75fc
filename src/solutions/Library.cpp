#include "solutions/Library.h"

#include <sqlite3.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <cstdint>
#include <memory>
#include <unordered_set>

namespace tw {

namespace {

// Kept as a cell's four bits: the letters in their sorting order, so that
// records sort as their letters do.
constexpr std::string_view Codes = "FILNOPTUVWXYZ";
constexpr int Version = 1;

using Handle = std::unique_ptr<sqlite3, int (*)(sqlite3 *)>;
using Statement = std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt *)>;

Statement prepare(sqlite3 *db, const char *sql)
{
    sqlite3_stmt *statement = nullptr;
    sqlite3_prepare_v2(db, sql, -1, &statement, nullptr);
    return Statement(statement, sqlite3_finalize);
}

void bindText(sqlite3_stmt *statement, int k, const std::string &text)
{
    sqlite3_bind_text(statement, k, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
}

std::string packed(const std::vector<CellLetters> &solutions)
{
    std::string bytes;
    for (const CellLetters &solution : solutions)
        for (std::size_t k = 0; k < solution.size(); k += 2) {
            const auto code = [&](std::size_t j) {
                return j < solution.size() ? static_cast<unsigned>(Codes.find(solution[j])) : 0u;
            };
            bytes += static_cast<char>(code(k) | code(k + 1) << 4);
        }
    return bytes;
}

// The tray's solutions from their records, each checked; nothing when one
// fails.
std::optional<std::vector<CellLetters>> unpacked(const Tray &tray, std::string_view bytes,
                                                 long long count)
{
    const auto cells = static_cast<std::size_t>(tray.cellCount());
    const std::size_t size = (cells + 1) / 2;
    if (count < 1 || bytes.size() != static_cast<std::size_t>(count) * size)
        return std::nullopt;
    // The places each piece may lie, to check a record's pieces by their cells.
    std::string letters(Codes);
    if (!tray.takesTheSquare())
        letters.erase(letters.find('O'), 1);
    std::array<std::unordered_set<std::uint64_t>, 13> places;
    for (std::size_t p = 0; p < letters.size(); ++p)
        for (const std::uint64_t m : placementsOf(tray, letters[p]))
            places[p].insert(m);
    // For each symmetry, the cell that it moves onto cell k.
    std::vector<std::vector<int>> from;
    for (const auto &moved : cellImages(tray)) {
        std::vector<int> back(cells);
        for (std::size_t j = 0; j < cells; ++j)
            back[static_cast<std::size_t>(moved[j])] = static_cast<int>(j);
        from.push_back(std::move(back));
    }

    std::vector<CellLetters> solutions;
    solutions.reserve(static_cast<std::size_t>(count));
    for (std::size_t at = 0; at < bytes.size(); at += size) {
        CellLetters solution(cells, ' ');
        std::array<std::uint64_t, 13> masks{};
        for (std::size_t k = 0; k < cells; ++k) {
            const unsigned code = static_cast<unsigned char>(bytes[at + k / 2]) >> (k % 2 * 4) & 15;
            const std::size_t piece = code < Codes.size() ? letters.find(Codes[code]) : letters.npos;
            if (piece == letters.npos)
                return std::nullopt;
            solution[k] = letters[piece];
            masks[piece] |= std::uint64_t{1} << k;
        }
        for (std::size_t p = 0; p < letters.size(); ++p)
            if (!places[p].contains(masks[p]))
                return std::nullopt;
        // The smallest of its images: no image comes before it.
        for (const auto &back : from)
            for (std::size_t k = 0; k < cells; ++k) {
                const char mine = solution[k];
                const char theirs = solution[static_cast<std::size_t>(back[k])];
                if (theirs != mine) {
                    if (theirs < mine)
                        return std::nullopt;
                    break;
                }
            }
        if (!solutions.empty() && !(solutions.back() < solution))
            return std::nullopt;
        solutions.push_back(std::move(solution));
    }
    return solutions;
}

std::string text(sqlite3_stmt *statement, int column)
{
    const auto *p = sqlite3_column_text(statement, column);
    return p ? std::string(reinterpret_cast<const char *>(p),
                           static_cast<std::size_t>(sqlite3_column_bytes(statement, column)))
             : std::string();
}

std::string quoted(const std::string &path) { return "\"" + path + "\""; }

LibraryError writeError(sqlite3 *db, int rc, const std::string &path)
{
    // The system's reason, where a write to the disk failed.
    const int error = db ? sqlite3_system_errno(db) : 0;
    if (error == ENOSPC || error == EDQUOT || error == EFBIG)
        return {LibraryFault::Full, "the tray library " + quoted(path) + " could not grow (" +
                                        std::strerror(error) +
                                        "); free some space and try again"};
    // A write cut short: the disk filled up, or the file reached the size
    // the system allows.
    if ((db && sqlite3_extended_errcode(db) == SQLITE_IOERR_WRITE) || (rc & 0xFF) == SQLITE_FULL)
        return {LibraryFault::Full, "the tray library " + quoted(path) +
                                        " could not grow (the disk is full, or files may grow no "
                                        "larger there); free some space and try again"};
    switch (rc & 0xFF) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return {LibraryFault::InUse, "the tray library " + quoted(path) +
                                         " is in use by another copy of Tilewright; close it "
                                         "and try again"};
    case SQLITE_READONLY:
    case SQLITE_CANTOPEN:
    case SQLITE_PERM:
        return {LibraryFault::ReadOnly, "cannot write the tray library " + quoted(path) +
                                            "; make it and its folder writable and try again"};
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT:
        return {LibraryFault::Damaged, "the tray library " + quoted(path) +
                                           " is damaged; move it away and try again to start "
                                           "a new one"};
    default:
        return {LibraryFault::ReadOnly,
                "cannot write the tray library " + quoted(path) + " (" +
                    (error ? std::strerror(error) : db ? sqlite3_errmsg(db) : sqlite3_errstr(rc)) +
                    "); check the disk and try again"};
    }
}

// Runs change inside one write transaction on a library created when
// missing; the transaction is rolled back on any failure.
template<class Change>
std::optional<LibraryError> write(const std::string &path, Change change)
{
    sqlite3 *raw = nullptr;
    int rc = sqlite3_open_v2(path.c_str(), &raw, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    const Handle db(raw, sqlite3_close);
    if (rc != SQLITE_OK)
        return writeError(raw, rc, path);
    sqlite3_busy_timeout(raw, 2000);
    if ((rc = sqlite3_exec(raw, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr)) != SQLITE_OK)
        return writeError(raw, rc, path);
    const auto fail = [&](std::optional<LibraryError> error) {
        sqlite3_exec(raw, "ROLLBACK", nullptr, nullptr, nullptr);
        return error;
    };
    const auto version = prepare(raw, "PRAGMA user_version");
    if (!version || sqlite3_step(version.get()) != SQLITE_ROW)
        return fail(writeError(raw, sqlite3_errcode(raw), path));
    const int found = sqlite3_column_int(version.get(), 0);
    if (found > Version)
        return fail(LibraryError{LibraryFault::Damaged,
                                 "the tray library " + quoted(path) +
                                     " was written by a newer version of Tilewright; use that "
                                     "version to change it"});
    if (found == 0) {
        rc = sqlite3_exec(raw,
                          "CREATE TABLE Trays(Id INTEGER PRIMARY KEY, Name TEXT NOT NULL, "
                          "NameKey TEXT NOT NULL UNIQUE, Region TEXT NOT NULL UNIQUE, "
                          "Solutions INTEGER NOT NULL, Records BLOB NOT NULL);"
                          "PRAGMA user_version = 1",
                          nullptr, nullptr, nullptr);
        if (rc != SQLITE_OK)
            return fail(writeError(raw, rc, path));
    }
    if (auto error = change(raw))
        return fail(error);
    if ((rc = sqlite3_exec(raw, "COMMIT", nullptr, nullptr, nullptr)) != SQLITE_OK)
        return fail(writeError(raw, rc, path));
    return std::nullopt;
}

// The name of the tray kept under key, or nothing.
std::optional<std::string> nameOf(sqlite3 *db, const char *field, const std::string &value)
{
    const std::string sql = std::string("SELECT Name FROM Trays WHERE ") + field + " = ?1";
    const auto find = prepare(db, sql.c_str());
    bindText(find.get(), 1, value);
    if (sqlite3_step(find.get()) != SQLITE_ROW)
        return std::nullopt;
    return text(find.get(), 0);
}

std::optional<LibraryError> stepped(sqlite3 *db, sqlite3_stmt *statement, const std::string &path)
{
    const int rc = sqlite3_step(statement);
    if (rc != SQLITE_DONE)
        return writeError(db, rc, path);
    return std::nullopt;
}

} // namespace

LibraryContents readLibrary(const std::string &path)
{
    LibraryContents contents;
    std::error_code error;
    const auto status = std::filesystem::status(path, error);
    if (status.type() == std::filesystem::file_type::not_found)
        return contents;
    if (error || status.type() != std::filesystem::file_type::regular) {
        contents.warning = "cannot read the tray library " + quoted(path) + " (" +
                           (error ? error.message() : std::string("it is not a file")) +
                           "); move it away or make it readable, then start Tilewright again to "
                           "see your trays";
        return contents;
    }
    // Opened for writing where the file allows it, though only read: a copy
    // stopped in the middle of a change leaves a journal that the next
    // reader must play back, and a read-only connection cannot.
    sqlite3 *raw = nullptr;
    int rc = sqlite3_open_v2(path.c_str(), &raw, SQLITE_OPEN_READWRITE, nullptr);
    const Handle db(raw, sqlite3_close);
    if (rc != SQLITE_OK) {
        contents.warning = "cannot read the tray library " + quoted(path) +
                           "; make it readable, then start Tilewright again to see your trays";
        return contents;
    }
    sqlite3_busy_timeout(raw, 2000);
    const auto version = prepare(raw, "PRAGMA user_version");
    rc = version ? sqlite3_step(version.get()) : sqlite3_errcode(raw);
    if (rc != SQLITE_ROW) {
        const int code = rc & 0xFF;
        contents.warning =
            sqlite3_extended_errcode(raw) == SQLITE_READONLY_ROLLBACK
                ? "the tray library " + quoted(path) +
                      " was left half-changed and cannot be mended while it is read-only; make "
                      "it writable, then start Tilewright again to see your trays"
            : code == SQLITE_BUSY || code == SQLITE_LOCKED
                ? "the tray library " + quoted(path) +
                      " is locked by another program; close it, then start Tilewright again to "
                      "see your trays"
                : "the tray library " + quoted(path) +
                      " is damaged and was not read; move it away (Tilewright then starts a new "
                      "one) or restore it from a backup";
        return contents;
    }
    const int found = sqlite3_column_int(version.get(), 0);
    if (found == 0)
        return contents;
    if (found > Version) {
        contents.warning = "the tray library " + quoted(path) +
                           " was written by a newer version of Tilewright; update Tilewright to "
                           "see your trays";
        return contents;
    }
    const auto select =
        prepare(raw, "SELECT Name, Region, Solutions, Records FROM Trays ORDER BY Id");
    if (!select) {
        contents.warning = "the tray library " + quoted(path) +
                           " is damaged and was not read; move it away (Tilewright then starts a "
                           "new one) or restore it from a backup";
        return contents;
    }
    std::vector<std::string> damaged;
    while ((rc = sqlite3_step(select.get())) == SQLITE_ROW) {
        const std::string name = text(select.get(), 0);
        const auto region = readRegion(text(select.get(), 1), name);
        const auto *blob = static_cast<const char *>(sqlite3_column_blob(select.get(), 3));
        const std::string_view bytes(blob ? blob : "",
                                     static_cast<std::size_t>(sqlite3_column_bytes(select.get(), 3)));
        std::optional<std::vector<CellLetters>> solutions;
        if (region && standardOrientation(*region) == *region &&
            sqlite3_column_type(select.get(), 2) == SQLITE_INTEGER)
            solutions = unpacked(*region, bytes, sqlite3_column_int64(select.get(), 2));
        if (solutions)
            contents.trays.push_back({name, *region, std::move(*solutions)});
        else
            damaged.push_back("\"" + name + "\"");
    }
    if (rc != SQLITE_DONE)
        damaged.push_back("some");
    if (!damaged.empty()) {
        std::string names;
        for (const auto &n : damaged)
            names += (names.empty() ? "" : ", ") + n;
        contents.warning = "the tray library " + quoted(path) + " holds damaged trays (" + names +
                           ") that were left out; delete them and draw them again";
    }
    return contents;
}

std::optional<LibraryError> keepTray(const std::string &path, const TrayName &name,
                                     const Tray &tray, const std::vector<CellLetters> &solutions)
{
    return write(path, [&](sqlite3 *db) -> std::optional<LibraryError> {
        const std::string region = regionText(tray);
        if (const auto taken = nameOf(db, "NameKey", name.key))
            return LibraryError{LibraryFault::Taken,
                                "a tray named \"" + *taken + "\" is kept already; choose another name"};
        if (const auto taken = nameOf(db, "Region", region))
            return LibraryError{LibraryFault::Taken,
                                "this region is kept already, as \"" + *taken + "\""};
        const auto insert = prepare(
            db, "INSERT INTO Trays(Name, NameKey, Region, Solutions, Records) VALUES(?1, ?2, ?3, ?4, ?5)");
        const std::string bytes = packed(solutions);
        bindText(insert.get(), 1, name.name);
        bindText(insert.get(), 2, name.key);
        bindText(insert.get(), 3, region);
        sqlite3_bind_int64(insert.get(), 4, static_cast<sqlite3_int64>(solutions.size()));
        sqlite3_bind_blob(insert.get(), 5, bytes.data(), static_cast<int>(bytes.size()), SQLITE_TRANSIENT);
        return stepped(db, insert.get(), path);
    });
}

std::optional<LibraryError> deleteTray(const std::string &path, const std::string &key)
{
    return write(path, [&](sqlite3 *db) -> std::optional<LibraryError> {
        const auto remove = prepare(db, "DELETE FROM Trays WHERE NameKey = ?1");
        bindText(remove.get(), 1, key);
        if (auto error = stepped(db, remove.get(), path))
            return error;
        if (sqlite3_changes(db) == 0)
            return LibraryError{LibraryFault::NotFound, "no tray of that name is kept"};
        return std::nullopt;
    });
}

std::optional<LibraryError> renameTray(const std::string &path, const std::string &key,
                                       const TrayName &name)
{
    return write(path, [&](sqlite3 *db) -> std::optional<LibraryError> {
        if (name.key != key)
            if (const auto taken = nameOf(db, "NameKey", name.key))
                return LibraryError{LibraryFault::Taken,
                                    "a tray named \"" + *taken + "\" is kept already"};
        const auto update = prepare(db, "UPDATE Trays SET Name = ?1, NameKey = ?2 WHERE NameKey = ?3");
        bindText(update.get(), 1, name.name);
        bindText(update.get(), 2, name.key);
        bindText(update.get(), 3, key);
        if (auto error = stepped(db, update.get(), path))
            return error;
        if (sqlite3_changes(db) == 0)
            return LibraryError{LibraryFault::NotFound, "no tray of that name is kept"};
        return std::nullopt;
    });
}

} // namespace tw
