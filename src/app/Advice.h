#pragma once

#include "solutions/Database.h"

#include <string>
#include <vector>

namespace tw {

// Where the program runs, as far as its database goes.
struct Whereabouts
{
    std::vector<std::string> tried; // the places the database is looked for, in order
    std::string home;               // where it belongs: where to write it
    std::string solve;              // the generator, beside the program
    std::string sourceFolder;       // the sources, when run from their build folder
};

// What the user can do about a database problem, by its cause: close the
// other program, check permissions, roll a change back; generate the
// database again, where it belongs, only where its content is missing or
// damaged.
class Advice
{
public:
    explicit Advice(Whereabouts where = {}) : m_where(std::move(where)) {}

    const Whereabouts &where() const { return m_where; }
    std::string remedy(const DatabaseError &error) const;
    // The problem and its remedy, in two paragraphs.
    std::string explain(const DatabaseError &error) const;

private:
    Whereabouts m_where;
};

} // namespace tw
