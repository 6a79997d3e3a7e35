#pragma once

// A minimal RTF token scan for checking the generated documents: tokens with their group
// depth, the top-level groups, the font and colour tables and the visible paragraphs.
// It knows only what the documents use; the program's own reader is elsewhere.

#include <cstddef>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace rtfscan {

enum class Kind { Word, Symbol, Hex, Open, Close, Text };

struct Token {
    Kind kind = Kind::Text;
    std::string name;   // control word name, or the symbol character
    long long value = 0;
    bool hasValue = false;
    std::string text;   // Text: the characters; Hex: the one byte
    std::size_t offset = 0;
    int depth = 0;      // group depth the token stands in (the \rtf1 group is depth 1)
};

// Tokens of the whole file; CR and LF between tokens are dropped.
std::vector<Token> tokenize(std::string_view rtf);

// A control word as written, without its backslash: "pnseclvl1".
std::string spelled(const Token &word);

// The first word of every group directly inside the \rtf1 group, "*name" for a "\*"
// destination, "" for a group that starts with text or a symbol.
std::vector<std::string> topLevelGroups(const std::vector<Token> &tokens);

// How often each control word occurs.
std::map<std::string, int> wordCounts(const std::vector<Token> &tokens);

struct Font {
    int number = -1;
    std::string themeTag;
    std::string family;
    int charset = -1;
    bool panose = false;
    bool alternate = false;
    std::string name;
};

std::vector<Font> fontTable(const std::vector<Token> &tokens);

struct Colour {
    bool automatic = false;
    int red = 0, green = 0, blue = 0;
};

std::vector<Colour> colourTable(const std::vector<Token> &tokens);

// A paragraph of the body (or one table cell) as a reader would see it.
struct Paragraph {
    std::u32string text;           // \tab as U+0009, \line as U+000A, \~ as U+00A0
    std::map<std::string, int> words; // control words from the paragraph's \pard to its end
    std::map<std::string, std::set<long long>> values; // their parameters
    bool inTable = false;
};

// The body: destinations, the font, colour and style tables, the info group and the
// pnseclvl groups are skipped. \'hh is read as code page 1251, \uN with one fallback.
std::vector<Paragraph> paragraphs(const std::vector<Token> &tokens);

// Every \uN of the body with the \lang in effect where it stands.
struct UnicodeEscape {
    long long value = 0;
    long long language = 0;
    bool fallbackIsQuestionMark = false;
};
std::vector<UnicodeEscape> unicodeEscapes(const std::vector<Token> &tokens);

std::u32string lowerCase(std::u32string_view text);
std::string utf8(std::u32string_view text);
std::u32string fromUtf8(std::string_view text);

} // namespace rtfscan
