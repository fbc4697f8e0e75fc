#pragma once

#include "base/Integer.h"
#include "pieces/Tiling.h"
#include "solutions/Decoding.h"
#include "solutions/Library.h"
#include "solutions/SharedState.h"
#include "solutions/SolutionIndex.h"
#include "solutions/TilingIndex.h"
#include "solutions/Tray.h"

#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tw {

// The trays the program shows, each with every solution it has: the five of
// the solution database first, in the database's order, then the trays of
// the user's library, then any a caller gives. A tray goes by its place in
// the catalogue (from 0): the number the windows and the commands hold, and
// that only the catalogue turns into a tray. Each tray's solutions are held
// here once, in their compact form (a database record, or the letters of
// the tray's cells), and handed out as tilings. Read-only to its users; the
// program that owns it reads the database and the library into it.
class Catalogue
{
public:
    // Where a tray comes from.
    enum class Source { Database, Library, Given };

    // Where the main window shows a tray's cell (0, 0), twips.
    struct ScreenPlace
    {
        Integer left = 0, top = 0;
    };

    // A tray and what the program shows it with.
    struct Entry
    {
        Tray tray; // labelled: "10 x 6", or the name it is kept under
        Source source = Source::Given;
        // The database's trays' own: their place on the main window and the
        // side of a unit square their cheat sheet starts from (inches);
        // other trays are fitted to the page and the window.
        std::optional<ScreenPlace> place;
        std::optional<Single> side;
        // What remembers things of the tray from run to run: "tray0" to
        // "tray4" for the database's trays, "kept/" and the name for a
        // kept one.
        std::string key;
    };

    // The database's five trays, without solutions until it is read.
    Catalogue();

    // The database's records, checked: each a tiling of its tray, the
    // smallest of its images, in the order they are numbered.
    void setDatabase(SolutionIndex records);
    // The user's trays, in the library's order, in place of those before.
    void setKept(std::vector<KeptTray> trays);
    // A tray of the caller's with its solutions, the smallest image of each
    // (see Region.h) in ascending order; returns its place.
    Integer add(Tray tray, std::vector<CellLetters> solutions);

    // How many trays there are.
    Integer size() const { return static_cast<Integer>(m_entries.size()); }
    // The tray at place t; throws std::out_of_range for no such place.
    const Entry &entry(Integer t) const;
    const Tray &tray(Integer t) const { return entry(t).tray; }
    // How many solutions the tray has.
    Long count(Integer t) const;
    // Solution n (1..count) of the tray; throws std::out_of_range for
    // another n.
    Tiling solution(Integer t, Long n) const;
    // The number of the solution whose images' records these are, among a
    // database tray's; or of the solution with these letters (its smallest
    // image), among another tray's. None when the tray has no such one.
    std::optional<Integer> find(Integer t, std::span<const RecordKey> images) const;
    std::optional<Integer> find(Integer t, const CellLetters &smallest) const;
    // Every tiling of the tray in its compact form, made when first asked.
    std::shared_ptr<const TilingIndex> tilingIndex(Integer t) const;

    // The place of the database's tray that a name means: its number, 0 to
    // 4, or its label ("10x6", "10 x 6"), spaces and case aside.
    static std::optional<Integer> databaseTrayNamed(std::string_view name);
    // The database's trays, in its order.
    static std::span<const Tray> databaseTrays();

private:
    struct Held
    {
        Entry entry;
        Integer board = 0;                // the database's Board, for its trays
        std::vector<CellLetters> letters; // other trays' solutions
        mutable std::shared_ptr<const TilingIndex> index;
    };
    const Held &held(Integer t) const;

    std::vector<Held> m_entries;
    SolutionIndex m_records;
};

// Makes tray t the one shown, on its first solution (SolutionNo 0 when it
// has none); false, changing nothing, when the catalogue has no tray t.
bool SelectBoard(SharedState &state, const Catalogue &catalogue, Integer t);

} // namespace tw
