#include "Table.h"
#include "solutions/Boards.h"
#include "solutions/Decoding.h"
#include "solutions/LetterGrid.h"

#include <gtest/gtest.h>

#include <map>

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

// A row: its name, the text, the fault and the message.
class RefusedGrid : public testing::TestWithParam<std::vector<std::string>>
{
};

TEST_P(RefusedGrid, SaysWhatIsWrong)
{
    using Fault = LetterGridError::Fault;
    const std::map<std::string, Fault> faults{
        {"Empty", Fault::Empty},   {"Ragged", Fault::Ragged},   {"Size", Fault::Size},
        {"Letter", Fault::Letter}, {"Missing", Fault::Missing}, {"Repeated", Fault::Repeated},
        {"Shape", Fault::Shape}};
    const auto read = readLetterGrid(test::unescaped(GetParam().at(1)));
    ASSERT_FALSE(read);
    EXPECT_EQ(read.error().fault, faults.at(GetParam().at(2)));
    EXPECT_EQ(read.error().message, test::unescaped(GetParam().at(3)));
}

INSTANTIATE_TEST_SUITE_P(Faults, RefusedGrid,
                         testing::ValuesIn(test::tableRows("refused-grids.txt")),
                         [](const auto &info) { return info.param[0]; });

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
