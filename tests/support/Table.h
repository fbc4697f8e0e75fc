#pragma once

#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace tw::test {

// A table of cases kept in a text file under tests/data: a row a line, its
// fields apart by " | "; blank lines and lines that begin with "#" are
// notes.
inline std::vector<std::vector<std::string>> tableRows(const std::string &name)
{
    std::ifstream in(std::string(TILEWRIGHT_TEST_DATA) + "/" + name);
    std::vector<std::vector<std::string>> rows;
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line.front() == '#')
            continue;
        std::vector<std::string> fields;
        for (std::size_t from = 0;;) {
            const std::size_t at = line.find(" | ", from);
            fields.push_back(line.substr(from, at == std::string::npos ? at : at - from));
            if (at == std::string::npos)
                break;
            from = at + 3;
        }
        rows.push_back(std::move(fields));
    }
    if (rows.empty())
        throw std::runtime_error("the table " + name + " has no rows");
    return rows;
}

// A field's words, apart by spaces: a command's arguments.
inline std::vector<std::string> words(const std::string &field)
{
    std::vector<std::string> out;
    for (std::size_t from = 0; from < field.size();) {
        const std::size_t at = std::min(field.find(' ', from), field.size());
        if (at > from)
            out.push_back(field.substr(from, at - from));
        from = at + 1;
    }
    return out;
}

// A field's text with its escapes read: \n, \r, \t, \\ and \xNN, a byte.
inline std::string unescaped(const std::string &field)
{
    std::string out;
    for (std::size_t k = 0; k < field.size(); ++k) {
        if (field[k] != '\\' || k + 1 == field.size()) {
            out += field[k];
            continue;
        }
        const char next = field[++k];
        if (next == 'x' && k + 2 < field.size()) {
            out += static_cast<char>(std::stoi(field.substr(k + 1, 2), nullptr, 16));
            k += 2;
        } else {
            out += next == 'n' ? '\n' : next == 'r' ? '\r' : next == 't' ? '\t' : next;
        }
    }
    return out;
}

} // namespace tw::test
