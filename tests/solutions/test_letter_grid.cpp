#include "solutions/Boards.h"
#include "solutions/Decoding.h"
#include "solutions/LetterGrid.h"

#include <gtest/gtest.h>

namespace tw {
namespace {

const char *const First10x6 = "UUUPPPTTTY\n"
                              "UXUFPPWTYY\n"
                              "XXXFFWWTNY\n"
                              "VXFFWWZZNY\n"
                              "VIIIIILZNN\n"
                              "VVVLLLLZZN\n";

const char *const First8x8 = "OOWWTTTP\n"
                             "OOZWWTPP\n"
                             "ZZZFWTPP\n"
                             "ZXFFFUUU\n"
                             "XXXYFUNU\n"
                             "VXYYYYNN\n"
                             "VIIIIILN\n"
                             "VVVLLLLN\n";

TEST(ReadLetterGrid, TakesLowerCaseBlanksAndBlankLines)
{
    const auto plain = readLetterGrid(First10x6);
    const auto loose = readLetterGrid("\r\n  u u u p p p t t t y  \r\n\n"
                                      "UXUFPPWTYY\t\nxxxffwwtny\nVXFFWWZZNY\nVIIIIILZNN\nVVVLLLLZZN"
                                      "\n\n   \n");
    ASSERT_TRUE(plain);
    ASSERT_TRUE(loose) << loose.error().message;
    EXPECT_EQ(loose->images, plain->images);
    EXPECT_EQ(plain->images.size(), 4u);
    // Upside down, the same images, smallest first.
    const auto flipped = readLetterGrid("VVVLLLLZZN\nVIIIIILZNN\nVXFFWWZZNY\nXXXFFWWTNY\n"
                                        "UXUFPPWTYY\nUUUPPPTTTY\n");
    ASSERT_TRUE(flipped);
    EXPECT_EQ(flipped->images, plain->images);
}

struct BadGrid
{
    const char *name;
    std::string text;
    LetterGridError::Fault fault;
    const char *message;
};

void PrintTo(const BadGrid &b, std::ostream *os)
{
    *os << b.name;
}

std::string replaced(std::string text, char from, char to)
{
    std::replace(text.begin(), text.end(), from, to);
    return text;
}

std::string swapped(std::string text, std::size_t a, std::size_t b)
{
    std::swap(text[a], text[b]);
    return text;
}

class RefusedGrid : public testing::TestWithParam<BadGrid>
{
};

TEST_P(RefusedGrid, SaysWhatIsWrong)
{
    const auto read = readLetterGrid(GetParam().text);
    ASSERT_FALSE(read);
    EXPECT_EQ(read.error().fault, GetParam().fault);
    EXPECT_EQ(read.error().message, GetParam().message);
}

using Fault = LetterGridError::Fault;

INSTANTIATE_TEST_SUITE_P(
    Faults, RefusedGrid,
    testing::Values(
        BadGrid{"empty", " \n\t\n", Fault::Empty,
                "There is no grid: write the tiling as rows of piece letters."},
        BadGrid{"ragged", "UUUPPPTTTY\nUXUFPPWTY\n", Fault::Ragged,
                "Row 2 has 9 letters where row 1 has 10."},
        BadGrid{"one_row", "FILN\n", Fault::Size,
                "A grid of 1 row of 4 letters fits no tray: the trays are 10 x 6, 12 x 5, "
                "15 x 4, 20 x 3 and 8 x 8."},
        BadGrid{
            "a_character_that_shows_nothing",
            replaced(First10x6, 'Z', '\x01').replace(36, 1, std::string(1, '\0')), Fault::Letter,
            "U+0000 at row 4, column 4 is not a piece: the pieces are F I L N P T U V W X Y Z."},
        BadGrid{"a_byte_that_is_no_text", replaced(First10x6, 'Z', '\xE9'), Fault::Letter,
                "byte 0xE9 at row 4, column 7 is not a piece: the pieces are F I L N P T U V W X "
                "Y Z."},
        BadGrid{"no_tray_is_7_by_9", std::string(7, 'X') + "\n" + std::string(7, 'X') + "\n",
                Fault::Size,
                "A grid of 2 rows of 7 letters fits no tray: the trays are 10 x 6, 12 x 5, "
                "15 x 4, 20 x 3 and 8 x 8."},
        BadGrid{"unknown_letter", replaced(First10x6, 'Z', 'q'), Fault::Letter,
                "\"Q\" at row 4, column 7 is not a piece: the pieces are F I L N P T U V W X Y Z."},
        BadGrid{"a_character_outside_ascii", replaced(First8x8, 'P', '?').replace(7, 1, "\xc3\xa9"),
                Fault::Letter,
                "\"\xc3\xa9\" at row 1, column 8 is not a piece: the pieces are F I L N P T U V W "
                "X Y Z and O, the 2 x 2 square."},
        BadGrid{"piece_missing", replaced(First10x6, 'I', 'Z'), Fault::Missing,
                "There is no I piece."},
        BadGrid{"piece_twice", replaced(First10x6, 'Z', 'F'), Fault::Repeated,
                "There are 2 F pieces, not one."},
        BadGrid{"cells_apart", swapped(First10x6, 3, 14), Fault::Shape,
                "The F cells, the first at row 1, column 4, are not one F pentomino."},
        BadGrid{"another_pieces_shape",
                replaced(replaced(replaced(First10x6, 'I', '#'), 'L', 'I'), '#', 'L'), Fault::Shape,
                "The I cells, the first at row 5, column 7, are not one I pentomino."},
        BadGrid{"square_missing", replaced(First8x8, 'O', 'X'), Fault::Missing,
                "The 2 x 2 square (O) of the 8 x 8 tray is missing."},
        BadGrid{"square_apart", swapped(First8x8, 1, 2), Fault::Shape,
                "The O cells, the first at row 1, column 1, are not one 2 x 2 square."}),
    [](const auto &info) { return std::string(info.param.name); });

// What Windows editors and PowerShell's ">" write: a byte-order mark, and
// UTF-16 in either byte order.
TEST(ReadLetterGrid, TakesAByteOrderMarkAndUtf16)
{
    const auto plain = readLetterGrid(First10x6);
    ASSERT_TRUE(plain);
    const auto utf16 = [](std::string_view text, bool little) {
        std::string out = little ? "\xFF\xFE" : "\xFE\xFF";
        for (char c : text) {
            out += little ? c : '\0';
            out += little ? '\0' : c;
        }
        return out;
    };
    std::string windows;
    for (char c : std::string(First10x6))
        windows += c == '\n' ? std::string("\r\n") : std::string(1, c);
    for (const auto &[name, text] :
         {std::pair{"a UTF-8 mark", "\xEF\xBB\xBF" + std::string(First10x6)},
          std::pair{"UTF-16, little end first", utf16(First10x6, true)},
          std::pair{"UTF-16, big end first", utf16(First10x6, false)},
          std::pair{"UTF-16 with Windows line ends", utf16(windows, true)}}) {
        SCOPED_TRACE(name);
        const auto read = readLetterGrid(text);
        ASSERT_TRUE(read) << read.error().message;
        EXPECT_EQ(read->images, plain->images);
    }
    // A character beyond ASCII is named as the one character it is: two
    // or three bytes of UTF-8, or four from two UTF-16 units, up to the last.
    for (const auto &[units, named] :
         {std::pair{std::string("\xE9\x00", 2), "\"\xC3\xA9\""},
          std::pair{std::string("\xAC\x20", 2), "\"\xE2\x82\xAC\""},
          std::pair{std::string("\xFD\xFF", 2), "\"\xEF\xBF\xBD\""},
          std::pair{std::string("\x3D\xD8\x00\xDE", 4), "\"\xF0\x9F\x98\x80\""},
          std::pair{std::string("\xFF\xDB\xFF\xDF", 4), "\"\xF4\x8F\xBF\xBF\""}}) {
        const auto read = readLetterGrid("\xFF\xFE" + units + utf16(First10x6, true).substr(4));
        ASSERT_FALSE(read);
        EXPECT_EQ(read.error().message, std::string(named) +
                                            " at row 1, column 1 is not a piece: the pieces are F "
                                            "I L N P T U V W X Y Z.");
    }
    // A lone second half of a pair after a letter is a character of its own.
    const auto lone = readLetterGrid("\xFF\xFE" + std::string("F\x00\x00\xDC", 4) +
                                     utf16(First10x6, true).substr(6));
    ASSERT_FALSE(lone);
    EXPECT_EQ(lone.error().message, "\"\xEF\xBF\xBD\" at row 1, column 2 is not a piece: the "
                                    "pieces are F I L N P T U V W X Y Z.");
}

} // namespace
} // namespace tw
