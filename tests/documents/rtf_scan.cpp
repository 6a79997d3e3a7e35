#include "rtf_scan.h"

#include <set>

namespace rtfscan {

namespace {

bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Enough of code page 1251 for contract texts; anything else shows as U+FFFD.
char32_t cp1251(unsigned char b)
{
    if (b < 0x80)
        return b;
    if (b >= 0xC0)
        return 0x0410 + (b - 0xC0);
    switch (b) {
    case 0xA8: return 0x0401;
    case 0xB8: return 0x0451;
    case 0xB9: return 0x2116;
    case 0xAB: return 0x00AB;
    case 0xBB: return 0x00BB;
    case 0xA0: return 0x00A0;
    case 0x96: return 0x2013;
    case 0x97: return 0x2014;
    case 0x85: return 0x2026;
    case 0x91: return 0x2018;
    case 0x92: return 0x2019;
    case 0x93: return 0x201C;
    case 0x94: return 0x201D;
    case 0x95: return 0x2022;
    case 0xA7: return 0x00A7;
    case 0xB0: return 0x00B0;
    case 0xB1: return 0x00B1;
    default: return 0xFFFD;
    }
}

// Groups whose contents are never shown.
const std::set<std::string> kHiddenGroups = {"fonttbl", "colortbl", "stylesheet", "info", "pict", "header",
                                             "footer",  "headerl",  "headerr",    "footerl", "footerr"};

} // namespace

std::vector<Token> tokenize(std::string_view s)
{
    std::vector<Token> tokens;
    int depth = 0;
    std::size_t i = 0;
    while (i < s.size()) {
        const char c = s[i];
        Token t;
        t.offset = i;
        if (c == '\r' || c == '\n') {
            ++i;
            continue;
        }
        if (c == '{') {
            t.kind = Kind::Open;
            t.depth = ++depth;
            ++i;
        } else if (c == '}') {
            t.kind = Kind::Close;
            t.depth = depth--;
            ++i;
        } else if (c == '\\' && i + 1 < s.size()) {
            t.depth = depth;
            const char n = s[i + 1];
            if (isLetter(n)) {
                std::size_t j = i + 1;
                while (j < s.size() && isLetter(s[j]))
                    ++j;
                t.kind = Kind::Word;
                t.name = std::string(s.substr(i + 1, j - i - 1));
                std::size_t k = j;
                bool negative = false;
                if (k < s.size() && s[k] == '-') {
                    negative = true;
                    ++k;
                }
                const std::size_t digits = k;
                while (k < s.size() && isDigit(s[k]))
                    ++k;
                if (k > digits) {
                    t.hasValue = true;
                    t.value = std::stoll(std::string(s.substr(digits, k - digits)));
                    if (negative)
                        t.value = -t.value;
                    j = k;
                }
                if (j < s.size() && s[j] == ' ')
                    ++j;
                i = j;
            } else if (n == '\'' && i + 3 < s.size() && hexValue(s[i + 2]) >= 0 && hexValue(s[i + 3]) >= 0) {
                t.kind = Kind::Hex;
                t.text = std::string(1, static_cast<char>(hexValue(s[i + 2]) * 16 + hexValue(s[i + 3])));
                i += 4;
            } else {
                t.kind = Kind::Symbol;
                t.name = std::string(1, n);
                i += 2;
            }
        } else {
            t.kind = Kind::Text;
            t.depth = depth;
            std::size_t j = i;
            while (j < s.size() && s[j] != '\\' && s[j] != '{' && s[j] != '}' && s[j] != '\r' && s[j] != '\n')
                ++j;
            t.text = std::string(s.substr(i, j - i));
            i = j;
        }
        tokens.push_back(std::move(t));
    }
    return tokens;
}

std::string spelled(const Token &word) { return word.hasValue ? word.name + std::to_string(word.value) : word.name; }

std::vector<std::string> topLevelGroups(const std::vector<Token> &tokens)
{
    std::vector<std::string> groups;
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        if (tokens[i].kind != Kind::Open || tokens[i].depth != 2)
            continue;
        std::string name;
        if (i + 1 < tokens.size()) {
            const Token &next = tokens[i + 1];
            if (next.kind == Kind::Symbol && next.name == "*" && i + 2 < tokens.size() &&
                tokens[i + 2].kind == Kind::Word)
                name = "*" + spelled(tokens[i + 2]);
            else if (next.kind == Kind::Word)
                name = spelled(next);
        }
        groups.push_back(name);
    }
    return groups;
}

std::map<std::string, int> wordCounts(const std::vector<Token> &tokens)
{
    std::map<std::string, int> counts;
    for (const Token &t : tokens) {
        if (t.kind == Kind::Word)
            ++counts[t.name];
        else if (t.kind == Kind::Symbol)
            ++counts["\\" + t.name];
    }
    return counts;
}

namespace {

// [begin, end) of the group that starts with the given word at depth 2.
std::pair<std::size_t, std::size_t> groupOf(const std::vector<Token> &tokens, const std::string &word)
{
    for (std::size_t i = 0; i + 1 < tokens.size(); ++i) {
        if (tokens[i].kind == Kind::Open && tokens[i].depth == 2 && tokens[i + 1].kind == Kind::Word &&
            tokens[i + 1].name == word) {
            for (std::size_t j = i + 1; j < tokens.size(); ++j) {
                if (tokens[j].kind == Kind::Close && tokens[j].depth == 2)
                    return {i, j + 1};
            }
            return {i, tokens.size()};
        }
    }
    return {0, 0};
}

} // namespace

std::vector<Font> fontTable(const std::vector<Token> &tokens)
{
    std::vector<Font> fonts;
    const auto [begin, end] = groupOf(tokens, "fonttbl");
    Font *current = nullptr;
    std::string subgroup;
    for (std::size_t i = begin; i < end; ++i) {
        const Token &t = tokens[i];
        if (t.kind == Kind::Open && t.depth == 3) {
            fonts.emplace_back();
            current = &fonts.back();
            continue;
        }
        if (!current)
            continue;
        if (t.kind == Kind::Open && t.depth == 4) {
            subgroup.clear();
            if (i + 2 < end && tokens[i + 1].kind == Kind::Symbol && tokens[i + 2].kind == Kind::Word)
                subgroup = tokens[i + 2].name;
            if (subgroup == "panose")
                current->panose = true;
            if (subgroup == "falt")
                current->alternate = true;
            continue;
        }
        if (t.depth != 3)
            continue;
        if (t.kind == Kind::Word) {
            if (t.name == "f")
                current->number = static_cast<int>(t.value);
            else if (t.name == "fcharset")
                current->charset = static_cast<int>(t.value);
            else if (t.name.size() > 1 && t.name[0] == 'f' &&
                     (t.name == "froman" || t.name == "fswiss" || t.name == "fmodern" || t.name == "fscript" ||
                      t.name == "fdecor" || t.name == "ftech" || t.name == "fnil"))
                current->family = t.name;
            else if (t.name.rfind("flo", 0) == 0 || t.name.rfind("fhi", 0) == 0 || t.name.rfind("fdb", 0) == 0 ||
                     t.name.rfind("fbimajor", 0) == 0 || t.name.rfind("fbiminor", 0) == 0)
                current->themeTag = t.name;
        } else if (t.kind == Kind::Text) {
            current->name += t.text;
        }
    }
    for (Font &font : fonts) {
        while (!font.name.empty() && (font.name.back() == ';' || font.name.back() == ' '))
            font.name.pop_back();
        while (!font.name.empty() && font.name.front() == ' ')
            font.name.erase(0, 1);
    }
    return fonts;
}

std::vector<Colour> colourTable(const std::vector<Token> &tokens)
{
    std::vector<Colour> colours;
    const auto [begin, end] = groupOf(tokens, "colortbl");
    Colour current;
    bool any = false;
    for (std::size_t i = begin; i < end; ++i) {
        const Token &t = tokens[i];
        if (t.kind == Kind::Word) {
            if (t.name == "red")
                current.red = static_cast<int>(t.value), any = true;
            else if (t.name == "green")
                current.green = static_cast<int>(t.value), any = true;
            else if (t.name == "blue")
                current.blue = static_cast<int>(t.value), any = true;
        } else if (t.kind == Kind::Text) {
            for (const char c : t.text) {
                if (c == ';') {
                    current.automatic = !any;
                    colours.push_back(current);
                    current = Colour{};
                    any = false;
                }
            }
        }
    }
    return colours;
}

namespace {

// Walks the body: calls onText for visible characters and onWord for control words
// outside hidden groups, keeping the \lang in effect.
template <typename TextFn, typename WordFn, typename UnicodeFn>
void walkBody(const std::vector<Token> &tokens, TextFn onText, WordFn onWord, UnicodeFn onUnicode)
{
    struct State {
        bool hidden = false;
        long long language = 1049;
    };
    std::vector<State> stack{State{}};
    int skipFallback = 0;
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        const Token &t = tokens[i];
        if (t.kind == Kind::Open) {
            State next = stack.back();
            if (i + 1 < tokens.size()) {
                const Token &first = tokens[i + 1];
                if ((first.kind == Kind::Symbol && first.name == "*") ||
                    (first.kind == Kind::Word && kHiddenGroups.count(first.name)))
                    next.hidden = true;
            }
            stack.push_back(next);
            skipFallback = 0;
            continue;
        }
        if (t.kind == Kind::Close) {
            if (stack.size() > 1)
                stack.pop_back();
            skipFallback = 0;
            continue;
        }
        State &state = stack.back();
        if (state.hidden)
            continue;
        switch (t.kind) {
        case Kind::Word:
            if (t.name == "lang")
                state.language = t.value;
            else if (t.name == "plain")
                state.language = 1049;
            if (t.name == "u") {
                const long long value = t.value < 0 ? t.value + 65536 : t.value;
                bool question = i + 1 < tokens.size() && tokens[i + 1].kind == Kind::Hex && tokens[i + 1].text == "?";
                onUnicode(UnicodeEscape{value, state.language, question});
                onText(static_cast<char32_t>(value));
                skipFallback = 1;
                continue;
            }
            onWord(t);
            if (t.name == "tab")
                onText(U'\t');
            else if (t.name == "line")
                onText(U'\n');
            else if (t.name == "emdash")
                onText(0x2014);
            else if (t.name == "endash")
                onText(0x2013);
            else if (t.name == "bullet")
                onText(0x2022);
            else if (t.name == "rquote")
                onText(0x2019);
            else if (t.name == "lquote")
                onText(0x2018);
            else if (t.name == "ldblquote")
                onText(0x201C);
            else if (t.name == "rdblquote")
                onText(0x201D);
            break;
        case Kind::Symbol:
            if (t.name == "~")
                onText(0x00A0);
            else if (t.name == "\\" || t.name == "{" || t.name == "}")
                onText(static_cast<char32_t>(t.name[0]));
            else
                onWord(t);
            break;
        case Kind::Hex:
            if (skipFallback > 0) {
                --skipFallback;
                break;
            }
            onText(cp1251(static_cast<unsigned char>(t.text[0])));
            break;
        case Kind::Text: {
            std::size_t from = 0;
            if (skipFallback > 0 && !t.text.empty()) {
                from = 1;
                --skipFallback;
            }
            for (std::size_t k = from; k < t.text.size(); ++k)
                onText(static_cast<char32_t>(static_cast<unsigned char>(t.text[k])));
            break;
        }
        default:
            break;
        }
    }
}

} // namespace

std::vector<Paragraph> paragraphs(const std::vector<Token> &tokens)
{
    std::vector<Paragraph> result;
    Paragraph current;
    walkBody(
        tokens, [&](char32_t c) { current.text.push_back(c); },
        [&](const Token &t) {
            if (t.kind == Kind::Word && t.name == "pard") {
                current.words.clear();
                current.values.clear();
                current.inTable = false;
            }
            if (t.kind == Kind::Word) {
                ++current.words[t.name];
                if (t.hasValue)
                    current.values[t.name].insert(t.value);
            }
            if (t.kind == Kind::Word && t.name == "intbl")
                current.inTable = true;
            if (t.kind == Kind::Word && (t.name == "par" || t.name == "cell")) {
                result.push_back(current);
                current.text.clear();
                current.words.clear();
                current.values.clear();
            }
        },
        [](const UnicodeEscape &) {});
    return result;
}

std::vector<UnicodeEscape> unicodeEscapes(const std::vector<Token> &tokens)
{
    std::vector<UnicodeEscape> escapes;
    walkBody(
        tokens, [](char32_t) {}, [](const Token &) {}, [&](const UnicodeEscape &e) { escapes.push_back(e); });
    return escapes;
}

std::u32string lowerCase(std::u32string_view text)
{
    std::u32string out(text);
    for (char32_t &c : out) {
        if (c >= U'A' && c <= U'Z')
            c += 32;
        else if (c >= 0x0410 && c <= 0x042F)
            c += 0x20;
        else if (c >= 0x0400 && c <= 0x040F)
            c += 0x50;
    }
    return out;
}

std::string utf8(std::u32string_view text)
{
    std::string out;
    for (const char32_t c : text) {
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

std::u32string fromUtf8(std::string_view s)
{
    std::u32string out;
    for (std::size_t i = 0; i < s.size();) {
        const auto b = static_cast<unsigned char>(s[i]);
        int n = b < 0x80 ? 1 : (b & 0xE0) == 0xC0 ? 2 : (b & 0xF0) == 0xE0 ? 3 : 4;
        char32_t c = n == 1 ? b : n == 2 ? (b & 0x1F) : n == 3 ? (b & 0x0F) : (b & 0x07);
        for (int k = 1; k < n && i + k < s.size(); ++k)
            c = (c << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
        out.push_back(c);
        i += n;
    }
    return out;
}

} // namespace rtfscan
