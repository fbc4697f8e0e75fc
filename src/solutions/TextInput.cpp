#include "solutions/TextInput.h"

#include <cctype>
#include <cstdint>
#include <cstdio>

namespace tw {

// A character as typed, for messages: the letter itself, U+0000 for a
// character that shows nothing, "byte 0xE9" for a byte that is not text.
std::string shown(std::string_view typed)
{
    const auto byte = static_cast<unsigned char>(typed[0]);
    char code[16];
    if (typed.size() == 1 && (byte < 0x20 || byte == 0x7F)) {
        std::snprintf(code, sizeof code, "U+%04X", byte);
        return code;
    }
    if (typed.size() == 1 && byte >= 0x80) {
        std::snprintf(code, sizeof code, "byte 0x%02X", byte);
        return code;
    }
    if (typed.size() == 1)
        return std::string("\"") + static_cast<char>(std::toupper(byte)) + "\"";
    return "\"" + std::string(typed) + "\"";
}

// How many bytes the UTF-8 character starting at text[k] takes: 1 for a
// byte that starts no valid character.
std::size_t characterLength(std::string_view text, std::size_t k)
{
    const auto lead = static_cast<unsigned char>(text[k]);
    const std::size_t length = lead >= 0xC2 && lead <= 0xDF   ? 2
                               : lead >= 0xE0 && lead <= 0xEF ? 3
                               : lead >= 0xF0 && lead <= 0xF4 ? 4
                                                              : 1;
    if (k + length > text.size())
        return 1;
    for (std::size_t j = 1; j < length; ++j)
        if ((static_cast<unsigned char>(text[k + j]) & 0xC0) != 0x80)
            return 1;
    return length;
}

// The text as UTF-8: a UTF-8 byte-order mark left out, a text in UTF-16
// with its mark (as Windows editors write it) converted.
std::string_view asUtf8(std::string_view text, std::string &converted)
{
    if (text.starts_with("\xEF\xBB\xBF"))
        return text.substr(3);
    const bool little = text.starts_with("\xFF\xFE"), big = text.starts_with("\xFE\xFF");
    if (!little && !big)
        return text;
    const auto unit = [&](std::size_t k) -> std::uint32_t {
        const auto a = static_cast<unsigned char>(text[k]),
                   b = static_cast<unsigned char>(text[k + 1]);
        return little ? a | b << 8 : b | a << 8;
    };
    const auto put = [&](std::uint32_t c) {
        if (c < 0x80) {
            converted += static_cast<char>(c);
        } else if (c < 0x800) {
            converted += static_cast<char>(0xC0 | c >> 6);
            converted += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            converted += static_cast<char>(0xE0 | c >> 12);
            converted += static_cast<char>(0x80 | (c >> 6 & 0x3F));
            converted += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            converted += static_cast<char>(0xF0 | c >> 18);
            converted += static_cast<char>(0x80 | (c >> 12 & 0x3F));
            converted += static_cast<char>(0x80 | (c >> 6 & 0x3F));
            converted += static_cast<char>(0x80 | (c & 0x3F));
        }
    };
    for (std::size_t k = 2; k + 1 < text.size(); k += 2) {
        std::uint32_t c = unit(k);
        if (c >= 0xD800 && c <= 0xDBFF && k + 3 < text.size() && unit(k + 2) >= 0xDC00 &&
            unit(k + 2) <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (unit(k + 2) - 0xDC00);
            k += 2;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = 0xFFFD;
        }
        put(c);
    }
    return converted;
}

} // namespace tw
