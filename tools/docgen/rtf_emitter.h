#pragma once

// Builds RTF text one token at a time and lays it out in lines.
//
// The emitter writes one long logical line; markers in it ask for a line break or mark
// the place where padding lines go. layoutLines() then breaks it into CR LF lines that
// never split a token, so line breaks carry no meaning to a reader.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace docgen {

class RtfEmitter final {
public:
    // \name or \nameN.
    void word(std::string_view name);
    void word(std::string_view name, long long value);
    // A control symbol: \~ \- \* and the like.
    void symbol(char c);
    void open();
    void close();
    // The delimiter after the last control word, written now for readability.
    void space();
    // ASCII text that needs no escaping (names in tables, hex digits). plain() always
    // puts a blank after a control word before it; tight() only when the text would
    // otherwise continue the word (a letter, digit, '-' or blank follows).
    void plain(std::string_view ascii);
    void tight(std::string_view ascii);
    // Ready-made control words and symbols, as "\\pard\\plain ".
    void controls(std::string_view rtf);
    // One character of document text, escaped as its kind requires. With forceUnicode
    // every non-ASCII character becomes \uN\'3f.
    void character(char32_t c, bool forceUnicode = false);
    // The code page byte as \'hh.
    void hexByte(unsigned char byte);
    // \uN followed by the one fallback character '?'.
    void unicodeEscape(char32_t c);

    // Ends the current output line here.
    void lineBreak();
    // Ends the current output line and marks the place for padding lines.
    void paddingSlot();

    const std::string &text() const { return m_text; }
    std::string take() { return std::move(m_text); }

private:
    void beforeText();

    std::string m_text;
    bool m_pendingDelimiter = false;
};

struct LaidOutText {
    std::vector<std::string> lines;
    std::vector<std::size_t> slots; // index of the line each padding slot precedes
};

// Output lines are kept to this width; the hard limit is 350.
inline constexpr std::size_t kLineWidth = 255;
inline constexpr std::size_t kMaxLineLength = 350;

LaidOutText layoutLines(std::string_view logical, std::size_t width = kLineWidth);

// Joins lines with CR LF, inserting the given padding lines (without their line ends) at
// the first slot. Nothing follows the last line.
std::string joinLines(const LaidOutText &text, const std::vector<std::string> &padding = {});

} // namespace docgen
