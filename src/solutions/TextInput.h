#pragma once

#include <string>
#include <string_view>

// Reading what a user typed or saved: grids of letters, regions.

namespace tw {

// A character as typed, for messages: the letter itself, U+0000 for a
// character that shows nothing, "byte 0xE9" for a byte that is not text.
std::string shown(std::string_view typed);

// How many bytes the UTF-8 character starting at text[k] takes: 1 for a
// byte that starts no valid character.
std::size_t characterLength(std::string_view text, std::size_t k);

// The text as UTF-8: a UTF-8 byte-order mark left out, a text in UTF-16
// with its mark (as Windows editors write it) converted into `converted`.
std::string_view asUtf8(std::string_view text, std::string &converted);

} // namespace tw
