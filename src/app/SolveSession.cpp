#include "app/SolveSession.h"

#include "base/NumberText.h"
#include "pieces/PieceTables.h"
#include "solutions/Catalogue.h"
#include "solutions/LetterGrid.h"
#include "solutions/Region.h"

#include <algorithm>
#include <map>
#include <set>

namespace tw {

namespace {

// The piece a placement is: 0..11, 12 for the square.
int pieceOf(const Placement &p)
{
    return p.shape == SquarePiece ? 12 : orientation(p.shape).Piece;
}

QString letterName(const Placement &p)
{
    return p.shape == SquarePiece
               ? QStringLiteral("the square (O)")
               : QStringLiteral("the ") + QString::fromStdString(orientation(p.shape).Letter);
}

} // namespace

SolveSession::SolveSession(const TilingIndex &index) : m_index(index)
{
    m_position = emptyTiling(index.tray(), index.board());
    recount();
}

void SolveSession::step(Tiling next)
{
    m_undo.push_back(std::move(m_position));
    m_redo.clear();
    m_position = std::move(next);
    recount();
}

std::optional<Tiling> SolveSession::withLaid(Tiling from, Integer shape, int column, int row) const
{
    const auto placed = placeOn(from, shape, column, row);
    if (!placed)
        return std::nullopt;
    for (const Placement &p : from.placements)
        if (pieceOf(p) == pieceOf(*placed))
            return std::nullopt;
    if (shape == SquarePiece && !m_index.tray().takesTheSquare())
        return std::nullopt;
    from.placements.push_back(*placed);
    return from;
}

bool SolveSession::lay(Integer shape, int column, int row)
{
    auto next = withLaid(m_position, shape, column, row);
    if (!next)
        return false;
    step(std::move(*next));
    return true;
}

Tiling SolveSession::without(const Placement *p) const
{
    Tiling rest = m_position;
    if (p)
        std::erase(rest.placements, *p);
    return rest;
}

bool SolveSession::move(int fromColumn, int fromRow, Integer shape, int column, int row)
{
    const Placement *p = m_position.at(fromColumn, fromRow);
    if (!p)
        return false;
    auto next = withLaid(without(p), shape, column, row);
    if (!next)
        return false;
    step(std::move(*next));
    return true;
}

bool SolveSession::fits(Integer shape, int column, int row, const Placement *from) const
{
    return withLaid(without(from), shape, column, row).has_value();
}

bool SolveSession::takeBack(int column, int row)
{
    const Placement *p = m_position.at(column, row);
    if (!p)
        return false;
    Tiling next = m_position;
    next.placements.erase(next.placements.begin() + (p - m_position.placements.data()));
    step(std::move(next));
    return true;
}

std::optional<std::string> SolveSession::open(std::string_view text)
{
    const auto database = Catalogue::databaseTrays();
    if (std::find(database.begin(), database.end(), m_index.tray()) == database.end()) {
        // A position of a tray drawn by a user: its region, with letters
        // where pieces lie.
        const auto read = readRegionTiling(text, true);
        if (!read)
            return read.error();
        if (!(read->tray == m_index.tray()))
            return "This is a position of another tray, not of this one.";
        if (const auto fault = tilingFault(m_index.tray(), read->letters, true))
            return *fault;
        step(tilingOf(m_index.tray(), m_index.board(), read->letters));
        return std::nullopt;
    }
    auto read = readPosition(text);
    if (!read)
        return read.error().message;
    const Tray &tray = database[static_cast<std::size_t>(read->board)];
    if (!(tray == m_index.tray()))
        return "This is a position of " + theTray(tray) + ", not of this one.";
    read->board = m_index.board();
    step(std::move(*read));
    return std::nullopt;
}

bool SolveSession::undo()
{
    if (m_undo.empty())
        return false;
    m_redo.push_back(std::move(m_position));
    m_position = std::move(m_undo.back());
    m_undo.pop_back();
    recount();
    return true;
}

bool SolveSession::redo()
{
    if (m_redo.empty())
        return false;
    m_undo.push_back(std::move(m_position));
    m_position = std::move(m_redo.back());
    m_redo.pop_back();
    recount();
    return true;
}

void SolveSession::recount()
{
    std::vector<std::uint32_t> laid;
    for (const Placement &p : m_position.placements) {
        const auto number = m_index.placementOf(p);
        if (!number) {
            // A piece no tiling lays there: none completes the position.
            m_remaining.clear();
            return;
        }
        laid.push_back(*number);
    }
    m_remaining = m_index.holding(laid);
}

std::size_t SolveSession::solutions() const
{
    std::set<Integer> numbers;
    for (std::uint32_t t : m_remaining)
        numbers.insert(m_index.solutionOf(t));
    return numbers.size();
}

QString SolveSession::countText() const
{
    if (m_remaining.empty())
        return QStringLiteral("No tiling completes this: take a piece back");
    const std::size_t n = m_remaining.size(), s = solutions();
    return QStringLiteral("%1 %2 still complete%3 this (%4 %5)")
        .arg(QString::fromStdString(groupedNumber(static_cast<long long>(n))))
        .arg(n == 1 ? QStringLiteral("tiling") : QStringLiteral("tilings"))
        .arg(n == 1 ? QStringLiteral("s") : QString())
        .arg(QString::fromStdString(groupedNumber(static_cast<long long>(s))))
        .arg(s == 1 ? QStringLiteral("solution") : QStringLiteral("solutions"));
}

const Placement *SolveSession::lastLaid() const
{
    return m_position.placements.empty() ? nullptr : &m_position.placements.back();
}

std::optional<QString> SolveSession::hint()
{
    if (m_remaining.empty()) {
        // The most recently laid piece whose taking back opens a way on.
        for (auto p = m_position.placements.rbegin(); p != m_position.placements.rend(); ++p) {
            Tiling without = m_position;
            without.placements.erase(without.placements.begin() +
                                     (&*p - m_position.placements.data()));
            std::vector<std::uint32_t> laid;
            bool possible = true;
            for (const Placement &q : without.placements) {
                const auto n = m_index.placementOf(q);
                possible = possible && n;
                if (n)
                    laid.push_back(*n);
            }
            if (possible && m_index.count(laid, 1) > 0)
                return QStringLiteral("Take back %1 first.").arg(letterName(*p));
        }
        return QStringLiteral("Take pieces back: no tiling completes this.");
    }
    if (finished())
        return QStringLiteral("The tray is full.");
    // The pieces not laid yet, counted over the tilings that remain.
    std::map<std::uint32_t, std::size_t> shared;
    for (std::uint32_t t : m_remaining)
        for (std::uint32_t piece : m_index.piecesOf(t))
            if (!m_position.at(m_index.placement(piece).cells[0] / m_position.stride(),
                               m_index.placement(piece).cells[0] % m_position.stride()))
                ++shared[piece];
    const auto best = std::max_element(shared.begin(), shared.end(), [](auto a, auto b) {
        return a.second < b.second || (a.second == b.second && a.first > b.first);
    });
    Tiling next = m_position;
    next.placements.push_back(m_index.placement(best->first));
    step(std::move(next));
    return std::nullopt;
}

std::optional<Integer> SolveSession::solution() const
{
    if (!finished() || m_remaining.size() != 1)
        return std::nullopt;
    return m_index.solutionOf(m_remaining.front());
}

std::string SolveSession::text() const
{
    return letterRows(m_position);
}

std::string countLines(const SolveSession &session)
{
    const std::size_t n = session.remaining().size();
    std::string text = session.index().tray().label() + ": " + std::to_string(n) +
                       (n == 1 ? " tiling, " : " tilings, ") + std::to_string(session.solutions()) +
                       (session.solutions() == 1 ? " solution\n" : " solutions\n");
    std::set<Integer> numbers;
    for (std::uint32_t t : session.remaining())
        numbers.insert(session.index().solutionOf(t));
    bool first = true;
    for (Integer s : numbers) {
        text += (first ? "" : " ") + std::to_string(s);
        first = false;
    }
    return text + "\n";
}

} // namespace tw
