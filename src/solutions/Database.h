#pragma once

#include "base/Expected.h"
#include "base/Integer.h"
#include "solutions/Decoding.h"
#include "solutions/SolutionIndex.h"

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct sqlite3;

// The solution database: an SQLite file opened read-only, read through a
// record set that is a snapshot of the rows a query selected. Nothing here
// ever writes the file. Values in queries are always bound as parameters.

namespace tw {

enum class DatabaseFault {
    FileMissing,  // there is no file at the path
    NotAFile,     // a folder or something else that is not a regular file is there
    Unreadable,   // the user may not read the file (or reach its folder)
    InUse,        // another program holds the file locked or is changing it
    HalfChanged,  // a program stopped while changing the file; its journal remains
    NotADatabase, // the file is not an SQLite database, or its content is damaged
    MissingTable, // no Solution table
    MissingField, // the table lacks a field
    BadValue,     // a NULL or a value that is not a whole number
    UnknownBoard, // a Board value outside 0..4
    BadNumbering, // a board's Solution numbers are not 1..N
    NoSolutions,  // a tray has no records
    NotATiling,   // a record does not decode to a complete tiling
    NotSmallest,  // a record is not the smallest of its tiling's images
    SameTiling,   // two records of one tray hold the same tiling
    OutOfOrder,   // a tray's records are not numbered in the order of their values
    WrongCount,   // a tray holds another number of solutions than the generator writes
};

// What is wrong with the database, in a sentence that names the file (and
// where it matters the tray and solution). What the user can do about it is
// the program's to say, by the fault.
struct DatabaseError
{
    DatabaseFault fault;
    std::string problem;
    std::string path; // the database file
};

// The version of the database engine (SQLite), for bug reports.
std::string databaseEngineVersion();

// The SQLite URI that opens path read-only: "file:" + the path with the
// characters that URIs reserve escaped + "?mode=ro".
std::string readOnlyUri(std::string_view path);

// A value as stored: a whole number, NULL, or something else (whose text,
// for messages, the snapshot keeps apart).
struct StoredValue
{
    enum Kind : unsigned char { Whole, Null, Other } kind = Null;
    long long number = 0;
};

// The rows a query returned, with the names of its columns.
struct Snapshot
{
    std::vector<std::string> columns;
    std::vector<StoredValue> values;          // row-major
    std::map<std::size_t, std::string> texts; // of the values that are Other, by place
    std::size_t rowCount() const { return columns.empty() ? 0 : values.size() / columns.size(); }
    std::string textAt(std::size_t place) const
    {
        const auto it = texts.find(place);
        return it == texts.end() ? std::string() : it->second;
    }
};

// The one connection to the database file (DbConnection).
class Database
{
public:
    // Opens the file at path, read-only, through the SQLite URI connectString.
    // Reading creates nothing beside the file: a database in write-ahead-log
    // mode whose log is empty is read as an unchanging file, and one whose
    // log holds changes is refused as in use. A lock held by another program
    // is waited for a moment, then reported.
    static Expected<std::unique_ptr<Database>, DatabaseError>
    open(const std::string &path, const std::string &connectString);
    ~Database();
    Database(const Database &) = delete;
    Database &operator=(const Database &) = delete;

    // Runs sql with the whole numbers bound to its parameters ?1, ?2, ...
    Expected<Snapshot, DatabaseError> select(std::string_view sql,
                                             const std::vector<long long> &parameters = {}) const;

    // Every record in the compact form, when the table is sound: each tray
    // has solutions numbered 1 to n and each value is a 16-bit whole number
    // that tiles its tray. Nothing otherwise (or when reading fails); the
    // full check then says what is wrong.
    std::optional<SolutionIndex> soundRecords() const;

    // The field names of the Solution table (empty when there is none).
    Expected<std::vector<std::string>, DatabaseError> solutionFields() const;

private:
    Database(sqlite3 *db, std::string path, std::string uri)
        : m_db(db), m_path(std::move(path)), m_uri(std::move(uri))
    {}
    DatabaseError failure(std::string_view doing) const;

    sqlite3 *m_db;
    std::string m_path;
    std::string m_uri; // as opened, for a second reader
};

// Opens the database at path through the SQLite URI connectString and
// checks the whole file before the program relies on it: the table and its
// fields, whole-number values, each tray numbered 1..N with at least one
// solution, every record a complete tiling, the smallest of its images, in
// order, as many as the generator writes. A tray with more records than a
// tray can have is refused from a count, before its values are read.
// Returns every record, for the catalogue to hold; the file is not read
// again.
Expected<SolutionIndex, DatabaseError> OpenDatabase(const std::string &path,
                                                    const std::string &connectString);

} // namespace tw
