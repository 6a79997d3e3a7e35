#pragma once

// Parser of the document source markup described in FORMAT.md.

#include "source_model.h"

#include <stdexcept>
#include <string>
#include <string_view>

namespace docgen {

// A fault in a source, with the place it was found: 1-based line and column, the column
// counted in characters.
class SourceError : public std::runtime_error {
public:
    SourceError(int line, int column, const std::string &message);

    int line() const { return m_line; }
    int column() const { return m_column; }
    const std::string &message() const { return m_message; }

private:
    int m_line;
    int m_column;
    std::string m_message;
};

// Parses a whole UTF-8 source. Throws SourceError at the first fault; a source either
// parses completely or not at all.
Source parseSource(std::string_view utf8);

} // namespace docgen
