#include "pieces/PieceTables.h"

#include <charconv>
#include <stdexcept>
#include <string>

namespace tw {

const std::string_view OrientationTable =
    "X,1,3,3,7,8,9,16;"
    "I,0,1,5,1,2,3,4;I,0,5,1,8,16,24,32;"
    "V,0,3,3,1,2,8,16;V,0,3,3,1,2,10,18;V,2,3,3,8,14,15,16;V,0,3,3,8,16,17,18;"
    "W,0,3,3,1,9,10,18;W,0,3,3,8,9,17,18;W,2,3,3,7,8,14,15;W,1,3,3,1,7,8,15;"
    "T,0,3,3,8,9,10,16;T,2,3,3,6,7,8,16;T,1,3,3,8,15,16,17;T,0,3,3,1,2,9,17;"
    "Z,0,3,3,1,9,17,18;Z,0,3,3,8,9,10,18;Z,2,3,3,6,7,8,14;Z,1,3,3,1,8,15,16;"
    "U,0,2,3,1,2,8,10;U,0,2,3,2,8,9,10;U,0,3,2,1,9,16,17;U,0,3,2,1,8,16,17;"
    "Y,1,2,4,7,8,9,10;Y,0,4,2,8,9,16,24;Y,1,4,2,7,8,16,24;Y,0,2,4,1,2,3,9;"
    "Y,0,4,2,8,16,17,24;Y,1,4,2,8,15,16,24;Y,2,2,4,6,7,8,9;Y,0,2,4,1,2,3,10;"
    "N,2,2,4,1,6,7,8;N,0,4,2,8,16,17,25;N,1,4,2,8,15,16,23;N,0,4,2,8,9,17,25;"
    "N,1,4,2,7,8,15,23;N,0,2,4,1,2,10,11;N,1,2,4,1,2,7,8;N,0,2,4,1,9,10,11;"
    "L,0,2,4,8,9,10,11;L,0,4,2,1,8,16,24;L,0,4,2,1,9,17,25;L,1,4,2,8,16,23,24;"
    "L,0,4,2,8,16,24,25;L,0,2,4,1,2,3,8;L,0,2,4,1,2,3,11;L,3,2,4,5,6,7,8;"
    "F,0,3,3,1,9,10,17;F,1,3,3,1,7,8,16;F,1,3,3,7,8,9,15;F,1,3,3,7,8,9,17;"
    "F,1,3,3,8,9,15,16;F,1,3,3,7,8,16,17;F,0,3,3,8,9,10,17;F,2,3,3,6,7,8,15;"
    "P,0,2,3,1,2,8,9;P,0,3,2,1,8,9,16;P,0,3,2,1,8,9,17;P,0,2,3,1,8,9,10;"
    "P,0,2,3,1,2,9,10;P,1,2,3,1,7,8,9;P,1,3,2,7,8,15,16;P,0,3,2,8,9,16,17";

const std::string_view ColourTable =
    "X,&H000000,1;I,&H80C0FF,2;V,&HFFC0FF,4;W,&HC0C000,4;T,&HFFFF40,4;Z,&HFF0000,4;"
    "U,&H40C0C0,4;Y,&H40FF40,8;N,&H0000FF,8;L,&H00FFFF,8;F,&HA000A0,8;P,&HB0B0B0,8";

namespace {

std::vector<std::string_view> split(std::string_view text, char separator)
{
    std::vector<std::string_view> parts;
    for (;;) {
        const auto at = text.find(separator);
        parts.push_back(text.substr(0, at));
        if (at == std::string_view::npos)
            return parts;
        text.remove_prefix(at + 1);
    }
}

// The tables are constants of this file, so a malformed field is a
// programming error caught by the catalogue tests, never a user's problem.
long parseNumber(std::string_view field, int base)
{
    long value = 0;
    const auto [end, ec] = std::from_chars(field.data(), field.data() + field.size(), value, base);
    if (ec != std::errc() || end != field.data() + field.size())
        throw std::logic_error("piece table field is not a number: " + std::string(field));
    return value;
}

PieceCatalogue parseTables()
{
    const auto colours = split(ColourTable, ';');
    const auto orientations = split(OrientationTable, ';');
    PieceCatalogue pieces;
    std::size_t next = 0;
    for (std::size_t p = 0; p < colours.size(); ++p) {
        const auto colour = split(colours[p], ',');
        if (colour.size() != 3 || !colour[1].starts_with("&H"))
            throw std::logic_error("malformed colour table entry");
        const Colour rgb = static_cast<Colour>(parseNumber(colour[1].substr(2), 16));
        const long count = parseNumber(colour[2], 10);
        PieceCollection piece;
        for (long k = 0; k < count; ++k, ++next) {
            if (next >= orientations.size())
                throw std::logic_error("colour table counts run past the orientation table");
            const auto f = split(orientations[next], ',');
            if (f.size() != 8)
                throw std::logic_error("malformed orientation table entry");
            clsShape s;
            s.Shape = toInteger(static_cast<long long>(next));
            s.Piece = toInteger(static_cast<long long>(p));
            s.Letter = std::string(f[0]);
            s.StartX = toInteger(parseNumber(f[1], 10));
            s.Width = toInteger(parseNumber(f[2], 10));
            s.Height = toInteger(parseNumber(f[3], 10));
            s.Square2 = toInteger(parseNumber(f[4], 10));
            s.Square3 = toInteger(parseNumber(f[5], 10));
            s.Square4 = toInteger(parseNumber(f[6], 10));
            s.Square5 = toInteger(parseNumber(f[7], 10));
            s.Color = rgb;
            piece.push_back(std::move(s));
        }
        pieces.push_back(std::move(piece));
    }
    return pieces;
}

} // namespace

const PieceCatalogue &LoadShapes()
{
    return catalogue();
}

const PieceCatalogue &catalogue()
{
    static const PieceCatalogue pieces = parseTables();
    return pieces;
}

const clsShape &orientation(int shape)
{
    static const std::vector<const clsShape *> byNumber = [] {
        std::vector<const clsShape *> list;
        for (const auto &piece : catalogue())
            for (const auto &s : piece)
                list.push_back(&s);
        return list;
    }();
    return *byNumber.at(static_cast<std::size_t>(shape));
}

ColumnRow offsetToColumnRow(int offset8)
{
    int column = 0;
    for (int threshold : ColumnThresholds)
        if (offset8 >= threshold)
            ++column;
    return {column, offset8 - 8 * column};
}

std::array<ColumnRow, 4> squareSteps(const clsShape &s)
{
    return {offsetToColumnRow(s.Square2), offsetToColumnRow(s.Square3),
            offsetToColumnRow(s.Square4), offsetToColumnRow(s.Square5)};
}

} // namespace tw
