#pragma once

#include "base/Integer.h"
#include "solutions/Database.h"
#include "solutions/SolutionIndex.h"

#include <memory>
#include <string>

namespace tw {

// The session: the solution database, the selected records with their
// cursor, the board and the solution number. The program owns one and
// hands it to the parts that need it; each test starts from a fresh one.
// What is drawn where, and how, is handed to the painters as arguments.
struct SharedState
{
    // --- the solution database ---
    std::string DbPath;        // the program's folder + "/Solutions.mdb"
    std::string ConnectString; // how the database is opened (an SQLite URI)
    std::unique_ptr<Database> DbConnection;
    RecordSet SolutionSet;     // the selected records, with the cursor
    SolutionIndex RecordIndex; // every record, compact, and its number by record

    // --- current solution and board ---
    Integer SolutionNo = 0; // 1-based position of the record set's cursor
    Integer BoardIndex = 0; // 0..4, the board list's index
};

} // namespace tw
