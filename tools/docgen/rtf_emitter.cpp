#include "rtf_emitter.h"

#include "text_encoding.h"

#include <algorithm>
#include <stdexcept>

namespace docgen {

namespace {

constexpr char kBreakMarker = '\x01';
constexpr char kSlotMarker = '\x02';

const char *const kHex = "0123456789abcdef";

bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

// The end of the control word, symbol or \'hh that starts at s[i] == '\\'.
std::size_t controlEnd(std::string_view s, std::size_t i)
{
    if (i + 1 >= s.size())
        return s.size();
    if (s[i + 1] == '\'')
        return std::min(s.size(), i + 4);
    if (!isLetter(s[i + 1]))
        return i + 2;
    std::size_t end = i + 1;
    while (end < s.size() && isLetter(s[end]))
        ++end;
    const bool isU = end == i + 2 && s[i + 1] == 'u';
    if (end < s.size() && s[end] == '-')
        ++end;
    const std::size_t digitsStart = end;
    while (end < s.size() && isDigit(s[end]))
        ++end;
    const bool hasParameter = end > digitsStart;
    if (end < s.size() && s[end] == ' ')
        return end + 1;
    // \uN keeps its fallback character with it.
    if (isU && hasParameter && end + 4 <= s.size() && s[end] == '\\' && s[end + 1] == '\'')
        return end + 4;
    return end;
}

} // namespace

void RtfEmitter::word(std::string_view name)
{
    m_text += '\\';
    m_text += name;
    m_pendingDelimiter = true;
}

void RtfEmitter::word(std::string_view name, long long value)
{
    m_text += '\\';
    m_text += name;
    m_text += std::to_string(value);
    m_pendingDelimiter = true;
}

void RtfEmitter::symbol(char c)
{
    m_text += '\\';
    m_text += c;
    m_pendingDelimiter = false;
}

void RtfEmitter::open()
{
    m_text += '{';
    m_pendingDelimiter = false;
}

void RtfEmitter::close()
{
    m_text += '}';
    m_pendingDelimiter = false;
}

void RtfEmitter::space()
{
    if (m_pendingDelimiter) {
        m_text += ' ';
        m_pendingDelimiter = false;
    }
}

void RtfEmitter::beforeText()
{
    // A control word ends at the first character that cannot continue it; a blank is
    // the delimiter that is swallowed, so text always starts after one.
    space();
}

void RtfEmitter::plain(std::string_view ascii)
{
    if (ascii.empty())
        return;
    beforeText();
    m_text += ascii;
}

void RtfEmitter::tight(std::string_view ascii)
{
    if (ascii.empty())
        return;
    const char c = ascii.front();
    if (isLetter(c) || isDigit(c) || c == '-' || c == ' ')
        space();
    m_pendingDelimiter = false;
    m_text += ascii;
}

void RtfEmitter::controls(std::string_view rtf)
{
    if (rtf.empty())
        return;
    if (rtf.front() == ' ')
        throw std::logic_error("control text may not start with a blank");
    if (rtf.front() != '\\' && rtf.front() != '{' && rtf.front() != '}')
        space();
    m_text += rtf;
    const char last = rtf.back();
    m_pendingDelimiter = isLetter(last) || isDigit(last);
}

void RtfEmitter::hexByte(unsigned char byte)
{
    m_text += "\\'";
    m_text += kHex[byte >> 4];
    m_text += kHex[byte & 0xF];
    m_pendingDelimiter = false;
}

void RtfEmitter::unicodeEscape(char32_t c)
{
    auto one = [this](unsigned value) {
        // \u takes a signed 16-bit number.
        const long long n = value > 0x7FFF ? static_cast<long long>(value) - 0x10000 : value;
        word("u", n);
        hexByte('?');
    };
    if (c > 0xFFFF) {
        const char32_t v = c - 0x10000;
        one(0xD800 + (v >> 10));
        one(0xDC00 + (v & 0x3FF));
    } else {
        one(c);
    }
}

void RtfEmitter::character(char32_t c, bool forceUnicode)
{
    switch (c) {
    case '\\':
    case '{':
    case '}':
        symbol(static_cast<char>(c));
        return;
    default:
        break;
    }
    if (c < 0x80) {
        if (c < 0x20 || c == 0x7F)
            throw std::logic_error("control character in document text");
        beforeText();
        m_text += static_cast<char>(c);
        return;
    }
    if (forceUnicode) {
        unicodeEscape(c);
        return;
    }
    switch (c) {
    case 0x2014: word("emdash"); return;
    case 0x2013: word("endash"); return;
    case 0x2022: word("bullet"); return;
    case 0x2019: word("rquote"); return;
    case 0x2018: word("lquote"); return;
    case 0x201C: word("ldblquote"); return;
    case 0x201D: word("rdblquote"); return;
    default: break;
    }
    if (const auto byte = toCp1251(c)) {
        hexByte(*byte);
        return;
    }
    unicodeEscape(c);
}

void RtfEmitter::lineBreak()
{
    m_text += kBreakMarker;
    m_pendingDelimiter = false;
}

void RtfEmitter::paddingSlot()
{
    m_text += kSlotMarker;
    m_pendingDelimiter = false;
}

LaidOutText layoutLines(std::string_view s, std::size_t width)
{
    LaidOutText out;
    std::string line;
    auto endLine = [&] {
        if (!line.empty()) {
            out.lines.push_back(std::move(line));
            line.clear();
        }
    };
    std::size_t i = 0;
    while (i < s.size()) {
        const char c = s[i];
        if (c == kBreakMarker) {
            endLine();
            ++i;
            continue;
        }
        if (c == kSlotMarker) {
            endLine();
            out.slots.push_back(out.lines.size());
            ++i;
            continue;
        }
        // One token: a control word with its parameter and delimiter (and, for \u, its
        // fallback), a control symbol, \'hh, a brace or one text character. A group that
        // opens a "\*" destination stays with its first word, as readers look for it there.
        std::size_t end = i + 1;
        if (c == '\\') {
            end = controlEnd(s, i);
        } else if (c == '{' && s.substr(i + 1, 2) == "\\*") {
            end = i + 3;
            if (end + 1 < s.size() && s[end] == '\\' && isLetter(s[end + 1]))
                end = controlEnd(s, end);
        }
        if (end > s.size())
            end = s.size();
        const std::size_t length = end - i;
        if (!line.empty() && line.size() + length > width)
            endLine();
        line.append(s.substr(i, length));
        i = end;
    }
    endLine();
    return out;
}

std::string joinLines(const LaidOutText &text, const std::vector<std::string> &padding)
{
    std::string out;
    std::size_t total = 0;
    for (const auto &line : text.lines)
        total += line.size() + 2;
    for (const auto &line : padding)
        total += line.size() + 2;
    out.reserve(total);
    const std::size_t slot = text.slots.empty() ? text.lines.size() : text.slots.front();
    bool first = true;
    auto put = [&](const std::string &line) {
        if (!first)
            out += "\r\n";
        out += line;
        first = false;
    };
    for (std::size_t i = 0; i < text.lines.size(); ++i) {
        if (i == slot) {
            for (const auto &p : padding)
                put(p);
        }
        put(text.lines[i]);
    }
    if (slot >= text.lines.size()) {
        for (const auto &p : padding)
            put(p);
    }
    return out;
}

} // namespace docgen
