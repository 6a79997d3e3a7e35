#include "markup_parser.h"

#include "text_encoding.h"

#include <charconv>
#include <limits>

namespace docgen {

SourceError::SourceError(int line, int column, const std::string &message)
    : std::runtime_error(std::to_string(line) + ":" + std::to_string(column) + ": " + message),
      m_line(line), m_column(column), m_message(message)
{
}

namespace {

// Spans nest; a deeper nesting than this is a fault in the source, not a document.
constexpr int kMaxSpanDepth = 16;

// One line of the source, decoded, with its number.
struct Line {
    std::u32string text;
    int number = 0;
};

bool isBlank(char32_t c) { return c == U' ' || c == U'\t'; }

std::string utf8(std::u32string_view s) { return encodeUtf8(s); }

bool isAsciiLetter(char32_t c) { return (c >= U'a' && c <= U'z') || (c >= U'A' && c <= U'Z'); }

// Where properties are allowed: a paragraph or table row/cell, or a span.
enum class PropertyPlace { Paragraph, Span };

class Parser {
public:
    explicit Parser(std::vector<Line> lines) : m_lines(std::move(lines)) {}

    Source parse()
    {
        Source source;
        while (m_index < m_lines.size()) {
            const Line &line = m_lines[m_index++];
            if (skippable(line.text))
                continue;
            if (isDirective(line.text, U"table")) {
                source.blocks.emplace_back(parseTable(line));
            } else if (!line.text.empty() && line.text[0] == U'@' && line.text.size() > 1 &&
                       isAsciiLetter(line.text[1])) {
                throw SourceError(line.number, 1, "unknown directive '" + utf8(directiveName(line.text)) +
                                                      "' (only @table ... @end)");
            } else {
                source.blocks.emplace_back(parseParagraphLine(line));
            }
        }
        return source;
    }

private:
    static bool skippable(const std::u32string &text)
    {
        if (!text.empty() && text[0] == U'#')
            return true;
        for (char32_t c : text) {
            if (!isBlank(c))
                return false;
        }
        return true;
    }

    static std::u32string directiveName(const std::u32string &text)
    {
        std::size_t end = 1;
        while (end < text.size() && isAsciiLetter(text[end]))
            ++end;
        return text.substr(1, end - 1);
    }

    static bool isDirective(const std::u32string &text, std::u32string_view name)
    {
        return !text.empty() && text[0] == U'@' && directiveName(text) == name;
    }

    // --- properties -------------------------------------------------------------------

    struct Token {
        std::u32string text;
        int column = 0;
    };

    static std::vector<Token> splitTokens(const std::u32string &text, std::size_t begin, std::size_t end,
                                          int firstColumn)
    {
        std::vector<Token> tokens;
        std::size_t i = begin;
        while (i < end) {
            while (i < end && isBlank(text[i]))
                ++i;
            const std::size_t start = i;
            while (i < end && !isBlank(text[i]))
                ++i;
            if (i > start)
                tokens.push_back({text.substr(start, i - start), firstColumn + static_cast<int>(start - begin)});
        }
        return tokens;
    }

    static int parseInt(const Token &token, std::u32string_view digits, int line, int minimum, int maximum,
                        const std::string &what)
    {
        std::string ascii;
        for (char32_t c : digits) {
            if (c > 0x7F)
                throw SourceError(line, token.column, what + " needs a whole number, not '" + utf8(digits) + "'");
            ascii.push_back(static_cast<char>(c));
        }
        int value = 0;
        const auto *first = ascii.data();
        const auto *last = ascii.data() + ascii.size();
        const auto result = std::from_chars(first, last, value);
        if (ascii.empty() || result.ec != std::errc() || result.ptr != last)
            throw SourceError(line, token.column, what + " needs a whole number, not '" + ascii + "'");
        if (value < minimum || value > maximum)
            throw SourceError(line, token.column,
                              what + " must be from " + std::to_string(minimum) + " to " + std::to_string(maximum));
        return value;
    }

    static std::vector<TabStop> parseTabs(const Token &token, std::u32string_view list, int line)
    {
        std::vector<TabStop> tabs;
        std::size_t start = 0;
        while (start <= list.size()) {
            std::size_t comma = list.find(U',', start);
            if (comma == std::u32string_view::npos)
                comma = list.size();
            std::u32string_view item = list.substr(start, comma - start);
            TabStop stop;
            if (item.starts_with(U"ul")) {
                stop.kind = TabKind::UnderlineLeader;
                item.remove_prefix(2);
            } else if (item.starts_with(U"c")) {
                stop.kind = TabKind::Centre;
                item.remove_prefix(1);
            } else if (item.starts_with(U"r")) {
                stop.kind = TabKind::Right;
                item.remove_prefix(1);
            }
            stop.position = parseInt(token, item, line, 1, 31680, "tab stop position");
            tabs.push_back(stop);
            start = comma + 1;
        }
        for (std::size_t i = 1; i < tabs.size(); ++i) {
            if (tabs[i].position <= tabs[i - 1].position)
                throw SourceError(line, token.column, "tab stops must be listed from left to right");
        }
        return tabs;
    }

    // A property token split at its '=': "fs=24" is key "fs", value "24".
    struct Property {
        Property(const Token &token, int line)
            : token(token)
            , line(line)
        {
            const auto eq = token.text.find(U'=');
            hasValue = eq != std::u32string::npos;
            key = hasValue ? token.text.substr(0, eq) : token.text;
            value = hasValue ? token.text.substr(eq + 1) : std::u32string();
        }
        void noValue() const
        {
            if (hasValue)
                throw SourceError(line, token.column, "property '" + utf8(key) + "' takes no value");
        }
        void needValue() const
        {
            if (!hasValue)
                throw SourceError(line, token.column, "property '" + utf8(key) + "' needs a value");
        }

        const Token &token;
        int line;
        std::u32string key;
        std::u32string value;
        bool hasValue = false;
    };

    // Applies one property; false when it is not a character property (for spans).
    static bool applyCharProperty(const Token &token, int line, CharFormat &format)
    {
        const Property property(token, line);
        const std::u32string &key = property.key;
        const std::u32string &value = property.value;
        if (key == U"b") {
            property.noValue();
            format.bold = true;
        } else if (key == U"i") {
            property.noValue();
            format.italic = true;
        } else if (key == U"caps") {
            property.noValue();
            format.caps = true;
        } else if (key == U"scaps") {
            property.noValue();
            format.smallCaps = true;
        } else if (key == U"uni") {
            property.noValue();
            format.unicode = true;
        } else if (key == U"fs") {
            property.needValue();
            format.size = parseInt(token, value, line, 2, 144, "fs");
        } else if (key == U"cf") {
            property.needValue();
            format.colour = parseInt(token, value, line, 0, 255, "cf");
        } else if (key == U"expnd") {
            property.needValue();
            format.expand = parseInt(token, value, line, -100, 100, "expnd");
        } else if (key == U"lang") {
            property.needValue();
            format.language = parseInt(token, value, line, 1, 65535, "lang");
        } else if (key == U"font") {
            property.needValue();
            if (value == U"tnr")
                format.font = FontFace::TimesNewRoman;
            else if (value == U"minion")
                format.font = FontFace::Minion;
            else if (value == U"arial")
                format.font = FontFace::Arial;
            else
                throw SourceError(line, token.column, "unknown font '" + utf8(value) + "' (tnr, minion or arial)");
        } else {
            return false;
        }
        return true;
    }

    static bool applyParagraphProperty(const Token &token, int line, ParagraphFormat &format)
    {
        const Property property(token, line);
        const std::u32string &key = property.key;
        const std::u32string &value = property.value;
        if (key == U"j" || key == U"c" || key == U"l" || key == U"r") {
            property.noValue();
            format.alignment = key == U"j"   ? Alignment::Justified
                               : key == U"c" ? Alignment::Centred
                               : key == U"l" ? Alignment::Left
                                             : Alignment::Right;
        } else if (key == U"fi") {
            property.needValue();
            format.firstIndent = parseInt(token, value, line, -15840, 15840, "fi");
        } else if (key == U"li") {
            property.needValue();
            format.leftIndent = parseInt(token, value, line, -15840, 15840, "li");
        } else if (key == U"ri") {
            property.needValue();
            format.rightIndent = parseInt(token, value, line, -15840, 15840, "ri");
        } else if (key == U"sb") {
            property.needValue();
            format.spaceBefore = parseInt(token, value, line, 0, 31680, "sb");
        } else if (key == U"sa") {
            property.needValue();
            format.spaceAfter = parseInt(token, value, line, 0, 31680, "sa");
        } else if (key == U"sl") {
            property.needValue();
            format.lineSpacing = parseInt(token, value, line, 1, 2400, "sl");
            format.lineSpacingAtLeast = false;
        } else if (key == U"slmin") {
            property.needValue();
            format.lineSpacing = parseInt(token, value, line, 1, 31680, "slmin");
            format.lineSpacingAtLeast = true;
        } else if (key == U"keep") {
            property.noValue();
            format.keep = true;
        } else if (key == U"pagebb") {
            property.noValue();
            format.pageBreakBefore = true;
        } else if (key == U"nowidctl") {
            property.noValue();
            format.noWidowControl = true;
        } else if (key == U"tx") {
            property.needValue();
            format.tabs = parseTabs(token, value, line);
        } else {
            return false;
        }
        return true;
    }

    // Applies the tokens of a list in brackets or before a span's colon. A heading
    // ('h') goes first whatever its place, so that properties next to it refine it.
    static void applyProperties(const std::vector<Token> &tokens, int line, PropertyPlace place,
                                ParagraphFormat *paragraph, CharFormat &chars)
    {
        for (const Token &token : tokens) {
            if (token.text == U"h") {
                if (place == PropertyPlace::Span)
                    throw SourceError(line, token.column, "'h' is a paragraph property, not one of a span");
                paragraph->heading = true;
                paragraph->alignment = Alignment::Centred;
                chars.bold = true;
                chars.size = 24;
            }
        }
        for (const Token &token : tokens) {
            if (token.text == U"h")
                continue;
            if (applyCharProperty(token, line, chars))
                continue;
            if (place == PropertyPlace::Paragraph && applyParagraphProperty(token, line, *paragraph))
                continue;
            ParagraphFormat probe;
            if (place == PropertyPlace::Span && applyParagraphProperty(token, line, probe))
                throw SourceError(line, token.column,
                                  "'" + utf8(token.text) + "' is a paragraph property, not one of a span");
            throw SourceError(line, token.column, "unknown property '" + utf8(token.text) + "'");
        }
    }

    // Reads "[...]" at text[pos]; returns the position after the bracket and one blank.
    static std::size_t parsePropertyList(const std::u32string &text, std::size_t pos, int line, int columnBase,
                                         ParagraphFormat &paragraph, CharFormat &chars)
    {
        const std::size_t close = text.find(U']', pos);
        if (close == std::u32string::npos)
            throw SourceError(line, columnBase + static_cast<int>(pos), "property list '[' is not closed with ']'");
        const auto tokens = splitTokens(text, pos + 1, close, columnBase + static_cast<int>(pos) + 1);
        applyProperties(tokens, line, PropertyPlace::Paragraph, &paragraph, chars);
        std::size_t after = close + 1;
        if (after < text.size() && text[after] == U' ')
            ++after;
        return after;
    }

    // --- inline text ------------------------------------------------------------------

    struct InlineContext {
        const std::u32string &text;
        int line;
        int columnBase; // column of text[0]
        std::vector<Run> &runs;
    };

    static void appendChar(std::vector<Run> &runs, const CharFormat &format, char32_t c)
    {
        if (runs.empty() || !(runs.back().format == format))
            runs.push_back(Run{format, {}});
        runs.back().text.push_back(c);
    }

    // Parses text from pos up to the end or to the '}' closing the current span; returns
    // the position after that brace, the end for the outermost level, or npos when a span
    // runs to the end of the line unclosed.
    static std::size_t parseInline(InlineContext &ctx, std::size_t pos, const CharFormat &format, int depth)
    {
        const std::u32string &text = ctx.text;
        while (pos < text.size()) {
            const char32_t c = text[pos];
            const int column = ctx.columnBase + static_cast<int>(pos);
            if (c == U'\\') {
                if (pos + 1 >= text.size())
                    throw SourceError(ctx.line, column, "a backslash at the end of the line escapes nothing");
                const char32_t e = text[pos + 1];
                char32_t out = 0;
                switch (e) {
                case U't': out = mark::Tab; break;
                case U'n': out = mark::LineBreak; break;
                case U'~': out = mark::NonBreakingSpace; break;
                case U'-': out = mark::OptionalHyphen; break;
                case U'\\': case U'{': case U'}': case U'|': case U'[': case U']': out = e; break;
                default:
                    throw SourceError(ctx.line, column,
                                      "unknown escape '\\" + utf8(std::u32string(1, e)) +
                                          "' (\\t \\n \\~ \\- \\\\ \\{ \\} \\| \\[ \\])");
                }
                appendChar(ctx.runs, format, out);
                pos += 2;
            } else if (c == U'{') {
                if (depth + 1 > kMaxSpanDepth)
                    throw SourceError(ctx.line, column, "spans nested too deeply");
                const std::size_t colon = text.find(U':', pos);
                const std::size_t closeBrace = text.find(U'}', pos);
                if (colon == std::u32string::npos || (closeBrace != std::u32string::npos && closeBrace < colon))
                    throw SourceError(ctx.line, column,
                                      "a span is '{props: text}'; write \\{ for a brace in the text");
                if (colon + 1 >= text.size() || text[colon + 1] != U' ')
                    throw SourceError(ctx.line, ctx.columnBase + static_cast<int>(colon),
                                      "the colon of a span must be followed by one blank");
                const auto tokens = splitTokens(text, pos + 1, colon, column + 1);
                if (tokens.empty())
                    throw SourceError(ctx.line, column, "a span needs at least one property");
                CharFormat inner = format;
                applyProperties(tokens, ctx.line, PropertyPlace::Span, nullptr, inner);
                const std::size_t after = parseInline(ctx, colon + 2, inner, depth + 1);
                if (after == std::u32string::npos)
                    throw SourceError(ctx.line, column, "span is not closed with '}' before the end of the line");
                pos = after;
            } else if (c == U'}') {
                if (depth == 0)
                    throw SourceError(ctx.line, column, "'}' closes no span; write \\} for a brace in the text");
                return pos + 1;
            } else if (c == U'\t') {
                appendChar(ctx.runs, format, mark::Tab);
                ++pos;
            } else if (c < 0x20 || c == 0x7F) {
                throw SourceError(ctx.line, column, "control character in the text");
            } else if (mark::isMark(c) || (c >= 0xF0000)) {
                throw SourceError(ctx.line, column, "private-use character in the text");
            } else {
                appendChar(ctx.runs, format, c);
                ++pos;
            }
        }
        return depth > 0 ? std::u32string::npos : pos;
    }

    static void parseInlineInto(const std::u32string &text, std::size_t begin, std::size_t end, int line,
                                int firstColumn, const CharFormat &format, std::vector<Run> &runs)
    {
        const std::u32string part = text.substr(begin, end - begin);
        InlineContext ctx{part, line, firstColumn, runs};
        parseInline(ctx, 0, format, 0);
    }

    Paragraph parseParagraphLine(const Line &line)
    {
        Paragraph paragraph;
        paragraph.line = line.number;
        CharFormat chars;
        std::size_t pos = 0;
        if (!line.text.empty() && line.text[0] == U'[')
            pos = parsePropertyList(line.text, 0, line.number, 1, paragraph.format, chars);
        paragraph.base = chars;
        parseInlineInto(line.text, pos, line.text.size(), line.number, 1 + static_cast<int>(pos), chars,
                        paragraph.runs);
        return paragraph;
    }

    // --- tables -----------------------------------------------------------------------

    Table parseTable(const Line &header)
    {
        Table table;
        table.line = header.number;
        const auto tokens = splitTokens(header.text, 6, header.text.size(), 7);
        bool haveCols = false;
        for (const Token &token : tokens) {
            const auto eq = token.text.find(U'=');
            if (eq == std::u32string::npos)
                throw SourceError(header.number, token.column, "table option '" + utf8(token.text) + "' needs a value");
            const std::u32string key = token.text.substr(0, eq);
            const std::u32string value = token.text.substr(eq + 1);
            if (key == U"cols") {
                haveCols = true;
                std::size_t start = 0;
                while (start <= value.size()) {
                    std::size_t comma = value.find(U',', start);
                    if (comma == std::u32string::npos)
                        comma = value.size();
                    table.widths.push_back(parseInt(token, std::u32string_view(value).substr(start, comma - start),
                                                    header.number, 1, 31680, "column width"));
                    start = comma + 1;
                }
            } else if (key == U"border") {
                if (value == U"single")
                    table.border = Border::Single;
                else if (value == U"tbl")
                    table.border = Border::Table;
                else if (value == U"none")
                    table.border = Border::None;
                else
                    throw SourceError(header.number, token.column, "border is single, tbl or none");
            } else if (key == U"fs") {
                table.fontSize = parseInt(token, value, header.number, 2, 144, "fs");
            } else if (key == U"valign") {
                if (value == U"t")
                    table.verticalAlignment = VerticalAlignment::Top;
                else if (value == U"c")
                    table.verticalAlignment = VerticalAlignment::Centre;
                else if (value == U"b")
                    table.verticalAlignment = VerticalAlignment::Bottom;
                else
                    throw SourceError(header.number, token.column, "valign is t, c or b");
            } else {
                throw SourceError(header.number, token.column, "unknown table option '" + utf8(key) + "'");
            }
        }
        if (!haveCols)
            throw SourceError(header.number, 1, "a table needs cols=");
        int total = 0;
        for (int w : table.widths)
            total += w;
        if (total > 31680)
            throw SourceError(header.number, 1, "the table is wider than 22 inches");

        while (m_index < m_lines.size()) {
            const Line &line = m_lines[m_index++];
            if (skippable(line.text))
                continue;
            if (isDirective(line.text, U"end")) {
                if (table.rows.empty())
                    throw SourceError(line.number, 1, "a table needs at least one row");
                return table;
            }
            if (isDirective(line.text, U"table"))
                throw SourceError(line.number, 1, "tables do not nest; close the table above with @end");
            table.rows.push_back(parseRow(line, table));
        }
        throw SourceError(header.number, 1, "table is not closed with @end");
    }

    std::vector<Cell> parseRow(const Line &line, const Table &table)
    {
        const std::u32string &text = line.text;
        ParagraphFormat rowFormat;
        rowFormat.alignment = Alignment::Left;
        CharFormat rowChars;
        rowChars.size = table.fontSize;
        std::size_t pos = 0;
        if (!text.empty() && text[0] == U'[')
            pos = parsePropertyList(text, 0, line.number, 1, rowFormat, rowChars);

        // Cells end at a '|' outside escapes and spans.
        std::vector<std::pair<std::size_t, std::size_t>> bounds;
        std::size_t start = pos;
        int depth = 0;
        for (std::size_t i = pos; i < text.size(); ++i) {
            if (text[i] == U'\\') {
                ++i;
            } else if (text[i] == U'{') {
                ++depth;
            } else if (text[i] == U'}') {
                if (depth > 0)
                    --depth;
            } else if (text[i] == U'|' && depth == 0) {
                bounds.emplace_back(start, i);
                start = i + 1;
            }
        }
        bounds.emplace_back(start, text.size());
        if (bounds.size() != table.widths.size())
            throw SourceError(line.number, 1,
                              "row has " + std::to_string(bounds.size()) + " cells, the table " +
                                  std::to_string(table.widths.size()));

        std::vector<Cell> cells;
        for (std::size_t k = 0; k < bounds.size(); ++k) {
            auto [b, e] = bounds[k];
            while (b < e && text[b] == U' ')
                ++b;
            while (e > b && text[e - 1] == U' ')
                --e;
            Cell cell;
            cell.content.line = line.number;
            cell.content.format = rowFormat;
            CharFormat chars = rowChars;
            std::size_t contentStart = b;
            if (b < e && text[b] == U'[') {
                const std::u32string cellText = text.substr(0, e);
                contentStart = parsePropertyList(cellText, b, line.number, 1, cell.content.format, chars);
            }
            cell.content.base = chars;
            const std::u32string content = text.substr(contentStart, e - std::min(e, contentStart));
            if (content == U"^") {
                if (table.rows.empty())
                    throw SourceError(line.number, 1 + static_cast<int>(contentStart),
                                      "'^' in the first row has no cell above to continue");
                cell.continuesAbove = true;
            } else {
                parseInlineInto(text, contentStart, std::max(e, contentStart), line.number,
                                1 + static_cast<int>(contentStart), chars, cell.content.runs);
            }
            cells.push_back(std::move(cell));
        }
        return cells;
    }

    std::vector<Line> m_lines;
    std::size_t m_index = 0;
};

} // namespace

Source parseSource(std::string_view bytes)
{
    std::size_t errorOffset = 0;
    const auto decoded = decodeUtf8(bytes, &errorOffset);
    if (!decoded) {
        int line = 1;
        int column = 1;
        for (std::size_t i = 0; i < errorOffset; ++i) {
            if (bytes[i] == '\n') {
                ++line;
                column = 1;
            } else if ((static_cast<unsigned char>(bytes[i]) & 0xC0) != 0x80) {
                ++column;
            }
        }
        throw SourceError(line, column, "not valid UTF-8");
    }
    std::u32string text = *decoded;
    if (!text.empty() && text[0] == 0xFEFF)
        text.erase(0, 1);

    std::vector<Line> lines;
    std::size_t start = 0;
    int number = 1;
    while (start <= text.size()) {
        std::size_t end = text.find(U'\n', start);
        if (end == std::u32string::npos)
            end = text.size();
        std::u32string lineText = text.substr(start, end - start);
        if (!lineText.empty() && lineText.back() == U'\r')
            lineText.pop_back();
        lines.push_back({std::move(lineText), number++});
        start = end + 1;
    }

    Parser parser(std::move(lines));
    Source source = parser.parse();

    // Mark the first cell of every vertical merge.
    for (Block &block : source.blocks) {
        if (auto *table = std::get_if<Table>(&block)) {
            for (std::size_t r = 1; r < table->rows.size(); ++r) {
                for (std::size_t c = 0; c < table->rows[r].size(); ++c) {
                    if (table->rows[r][c].continuesAbove && !table->rows[r - 1][c].continuesAbove)
                        table->rows[r - 1][c].startsMerge = true;
                }
            }
        }
    }
    return source;
}

} // namespace docgen
