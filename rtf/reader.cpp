#include "reader.h"

#include "code_pages.h"
#include "control_words.h"
#include "tokenizer.h"
#include "utf.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

namespace rtf {
namespace {

constexpr char16_t kReplacement = 0xFFFD;
constexpr int kDefaultAnsiCodePage = 1252;
constexpr int kDefaultFontSize = 24; // half-points
constexpr int kDefaultCellWidth = 1440;
constexpr int kMaxBorderWidth = 1440;

enum class Destination : std::uint8_t { Body, FontTable, ColorTable, Skip };

struct CharState {
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    bool allCaps = false;
    bool smallCaps = false;
    bool hidden = false;
    VerticalPosition verticalPosition = VerticalPosition::Normal;
    int font = -1; // -1: the document's default font (\deff)
    int fontSize = kDefaultFontSize;
    int color = 0;
    int spacing = 0;
};

struct State {
    Destination destination = Destination::Body;
    int unicodeSkip = 1; // \ucN: fallback characters after each \uN
    CharState chars;
    ParagraphFormat paragraph;
    int lineSpacing = 0; // \sl as written; paragraph.lineSpacingRule follows from it and \slmult
    bool lineSpacingMultiple = false;
    TabKind nextTabKind = TabKind::Left;
    TabLeader nextTabLeader = TabLeader::None;
};

struct Font {
    int codePage = 0; // 0: the document's code page
    std::string_view family;
};

struct ColorEntry {
    bool defined = false;
    Color color;
};

enum class ItemKind : std::uint8_t { Text, Tab, LineBreak };

struct Item {
    ItemKind kind = ItemKind::Text;
    std::uint32_t start = 0; // text items: the characters in the paragraph's text
    std::uint32_t length = 0;
    CharFormat format;
};

struct BufferedParagraph {
    std::u16string text;
    std::vector<Item> items;
    ParagraphFormat format;
    CharFormat mark;
    bool endsCell = false;
};

enum class BorderTarget : std::uint8_t { None, CellTop, CellLeft, CellBottom, CellRight, Other };

int clampTwips(std::int32_t value)
{
    return std::clamp<std::int32_t>(value, -kMaxTwips, kMaxTwips);
}

int clampLength(std::int32_t value)
{
    return std::clamp<std::int32_t>(value, 0, kMaxTwips);
}

bool isSurrogate(char16_t unit)
{
    return unit >= 0xD800 && unit <= 0xDFFF;
}

// Replaces every surrogate that is not part of a pair within text.
void repairSurrogates(char16_t *text, std::size_t length)
{
    for (std::size_t i = 0; i < length; ++i) {
        const char16_t unit = text[i];
        if (!isSurrogate(unit))
            continue;
        if (unit <= 0xDBFF && i + 1 < length && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            ++i;
            continue;
        }
        text[i] = kReplacement;
    }
}

void updateLineSpacing(State &state)
{
    ParagraphFormat &format = state.paragraph;
    const int value = state.lineSpacing;
    if (value == 0) {
        format.lineSpacingRule = LineSpacingRule::Single;
        format.lineSpacing = 0;
    } else if (value < 0) {
        format.lineSpacingRule = LineSpacingRule::Exactly;
        format.lineSpacing = -value;
    } else {
        format.lineSpacingRule =
            state.lineSpacingMultiple ? LineSpacingRule::Multiple : LineSpacingRule::AtLeast;
        format.lineSpacing = value;
    }
}

class Reader final {
public:
    Reader(std::string_view data, Sink &sink)
        : m_tokens(data)
        , m_sink(sink)
    {
        m_stack.reserve(kMaxGroupDepth + 1);
        m_stack.emplace_back();
    }

    void run();

private:
    State &top() { return m_stack.back(); }

    void pushGroup();
    bool popGroup(); // true when the document's outermost group has closed
    void enterDestination(Destination destination);

    void body(const Token &token);
    void bodyWord(const Token &token);
    void fontTable(const Token &token);
    void colorTable(const Token &token);

    // Text of the paragraph being read.
    const char16_t *highHalf();
    const Font *currentFont();
    CharFormat resolveFormat();
    Item &textItem();
    void appendBytes(std::string_view bytes);
    void appendByte(std::uint8_t byte);
    void appendUnit(char16_t unit);
    void appendCodePoint(std::int32_t codePoint);
    void appendBreak(ItemKind kind);
    void formatChanged() { m_textItemCurrent = false; }

    // Paragraphs and table rows.
    enum class ParagraphEnd : std::uint8_t { Paragraph, Cell };
    void endParagraph(ParagraphEnd end);
    void bufferParagraph(bool endsCell);
    void emitItems(const std::u16string &text, const std::vector<Item> &items);
    void endRow(bool takeCurrentParagraph);
    RowDefinition finishedRowDefinition(std::size_t cells) const;
    void resetRowDefinition();
    Border *borderTarget();

    // Fonts and colours.
    void startFont(int number);
    void commitFont();
    void appendFontName(char16_t unit);

    Tokenizer m_tokens;
    Sink &m_sink;

    std::vector<State> m_stack;      // m_stack[0] is outside every group
    std::size_t m_overflowDepth = 0; // groups open beyond kMaxGroupDepth
    std::size_t m_overflowSkip = 0;  // while nonzero, skip until m_overflowDepth drops below it
    bool m_entered = false;          // the document's outermost group has been opened
    std::int64_t m_fallbackLeft = 0; // characters still to skip after \uN

    int m_ansiCodePage = kDefaultAnsiCodePage;
    int m_defaultFont = 0;
    std::unordered_map<int, Font> m_fonts;
    std::set<std::string, std::less<>> m_familyNames; // never shrinks: formats point into it
    bool m_fontPending = false;
    std::size_t m_fontDepth = 0;
    int m_fontNumber = 0;
    int m_fontCharset = -1;
    std::string m_fontName;
    std::vector<ColorEntry> m_colors;
    ColorEntry m_nextColor;

    // Cache of the current font, dropped whenever the fonts or the code page change.
    int m_cachedFontNumber = INT_MIN;
    const Font *m_cachedFont = nullptr;
    const char16_t *m_cachedHighHalf = nullptr;

    std::u16string m_text;
    std::vector<Item> m_items;
    bool m_textItemCurrent = false; // the last item is text in the current format
    bool m_hasSurrogates = false;

    RowDefinition m_row;
    CellDefinition m_nextCell;
    BorderTarget m_borderTarget = BorderTarget::None;
    int m_rowGap = 0;
    int m_rowPadding[4] = {-1, -1, -1, -1}; // left, top, bottom, right; -1: not given
    std::vector<BufferedParagraph> m_rowParagraphs;
    std::size_t m_rowCells = 0; // cells ended by \cell in the row being read
    bool m_rowOpen = false;     // a \cell has been read since the last \row
};

void Reader::run()
{
    for (;;) {
        const Token token = m_tokens.next();
        if (token.kind == TokenKind::End)
            break;
        if (m_overflowSkip != 0) {
            if (token.kind == TokenKind::GroupStart) {
                ++m_overflowDepth;
            } else if (token.kind == TokenKind::GroupEnd) {
                --m_overflowDepth;
                if (m_overflowDepth < m_overflowSkip)
                    m_overflowSkip = 0;
            }
            continue;
        }
        if (token.kind == TokenKind::GroupStart) {
            m_fallbackLeft = 0; // a brace ends the fallback of \uN
            pushGroup();
            continue;
        }
        if (token.kind == TokenKind::GroupEnd) {
            m_fallbackLeft = 0;
            if (popGroup())
                break;
            continue;
        }

        Token rest = token;
        if (m_fallbackLeft > 0) {
            if (token.kind != TokenKind::Text) {
                --m_fallbackLeft; // a control word, symbol, \'hh or \bin is one character
                continue;
            }
            const auto skipped =
                static_cast<std::size_t>(std::min<std::int64_t>(m_fallbackLeft, token.text.size()));
            m_fallbackLeft -= static_cast<std::int64_t>(skipped);
            rest.text.remove_prefix(skipped);
            if (rest.text.empty())
                continue;
        }

        switch (top().destination) {
        case Destination::Body:
            body(rest);
            break;
        case Destination::FontTable:
            fontTable(rest);
            break;
        case Destination::ColorTable:
            colorTable(rest);
            break;
        case Destination::Skip:
            break;
        }
    }

    if (m_fontPending)
        commitFont();
    if (!m_items.empty())
        endParagraph(ParagraphEnd::Paragraph);
    // A row the file does not end with \row is still shown.
    if (!m_rowParagraphs.empty() || m_rowOpen)
        endRow(false);
    m_sink.documentEnd();
}

void Reader::pushGroup()
{
    if (m_overflowDepth > 0 || m_stack.size() > kMaxGroupDepth) {
        ++m_overflowDepth;
        return;
    }
    m_stack.push_back(m_stack.back()); // capacity reserved: no reallocation
    m_entered = true;
}

bool Reader::popGroup()
{
    if (m_overflowDepth > 0) {
        --m_overflowDepth;
        return false;
    }
    if (m_stack.size() <= 1)
        return false; // a stray closing brace
    if (m_fontPending && m_fontDepth == m_stack.size())
        commitFont();
    m_stack.pop_back();
    formatChanged();
    // Whatever follows the document's closing brace is not part of it.
    return m_entered && m_stack.size() == 1;
}

void Reader::enterDestination(Destination destination)
{
    if (m_overflowDepth > 0) {
        // No state of its own to hold the destination: skip the whole group instead.
        m_overflowSkip = m_overflowDepth;
        return;
    }
    top().destination = destination;
    if (destination == Destination::FontTable) {
        m_fontPending = false;
    } else if (destination == Destination::ColorTable) {
        m_colors.clear();
        m_nextColor = {};
        formatChanged();
    }
}

// ---- Body text ------------------------------------------------------------------------

void Reader::body(const Token &token)
{
    switch (token.kind) {
    case TokenKind::Text:
        if (!top().chars.hidden)
            appendBytes(token.text);
        break;
    case TokenKind::HexByte:
        if (!top().chars.hidden)
            appendByte(token.byte);
        break;
    case TokenKind::ControlSymbol:
        switch (token.symbol) {
        case '\\':
        case '{':
        case '}':
            appendUnit(static_cast<char16_t>(token.symbol));
            break;
        case '~':
            appendUnit(0x00A0); // non-breaking space
            break;
        case '-':
            appendUnit(0x00AD); // optional hyphen
            break;
        case '_':
            appendUnit(0x2011); // non-breaking hyphen
            break;
        case '*':
            enterDestination(Destination::Skip);
            break;
        default:
            break;
        }
        break;
    case TokenKind::ControlWord:
        bodyWord(token);
        break;
    default:
        break;
    }
}

void Reader::bodyWord(const Token &token)
{
    const Word word = LookupWord(token.text);
    const std::int32_t value = token.parameter;
    const bool on = !token.hasParameter || value != 0;

    // Words that add text or structure, and document-wide settings.
    switch (word) {
    case Word::Unknown:
        return;
    case Word::Par:
    case Word::Section:
    case Word::Page:
    case Word::NestedRow:
        endParagraph(ParagraphEnd::Paragraph);
        return;
    case Word::Line:
        appendBreak(ItemKind::LineBreak);
        return;
    case Word::Tab:
    case Word::NestedCell:
        appendBreak(ItemKind::Tab);
        return;
    case Word::EmDash:
        return appendUnit(0x2014);
    case Word::EnDash:
        return appendUnit(0x2013);
    case Word::Bullet:
        return appendUnit(0x2022);
    case Word::LeftQuote:
        return appendUnit(0x2018);
    case Word::RightQuote:
        return appendUnit(0x2019);
    case Word::LeftDoubleQuote:
        return appendUnit(0x201C);
    case Word::RightDoubleQuote:
        return appendUnit(0x201D);
    case Word::EmSpace:
        return appendUnit(0x2003);
    case Word::EnSpace:
        return appendUnit(0x2002);
    case Word::QuarterEmSpace:
        return appendUnit(0x2005);
    case Word::ZeroWidthJoiner:
        return appendUnit(0x200D);
    case Word::ZeroWidthNonJoiner:
        return appendUnit(0x200C);
    case Word::LeftToRightMark:
        return appendUnit(0x200E);
    case Word::RightToLeftMark:
        return appendUnit(0x200F);
    case Word::Unicode:
        if (!token.hasParameter)
            return;
        if (!top().chars.hidden)
            appendCodePoint(value < 0 ? value + 65536 : value);
        m_fallbackLeft = top().unicodeSkip;
        return;
    case Word::Cell:
        endParagraph(ParagraphEnd::Cell);
        return;
    case Word::Row:
        endRow(true);
        return;
    case Word::FontTable:
        return enterDestination(Destination::FontTable);
    case Word::ColorTable:
        return enterDestination(Destination::ColorTable);
    case Word::SkippedDestination:
        return enterDestination(Destination::Skip);
    case Word::Ansi:
        if (m_ansiCodePage != kDefaultAnsiCodePage) {
            m_ansiCodePage = kDefaultAnsiCodePage;
            m_cachedFontNumber = INT_MIN;
        }
        return;
    case Word::AnsiCodePage:
        m_ansiCodePage = HighHalfOf(value) != nullptr ? value : kDefaultAnsiCodePage;
        m_cachedFontNumber = INT_MIN;
        return;
    case Word::DefaultFont:
        m_defaultFont = value;
        formatChanged();
        return;

    // The row definition is not group state: writers often put \trowd in a group of its own.
    case Word::RowDefaults:
        resetRowDefinition();
        return;
    case Word::CellRightEdge:
        if (m_row.cells.size() < kMaxCellsPerRow) {
            m_nextCell.rightEdge = clampTwips(value);
            m_row.cells.push_back(m_nextCell);
        }
        m_nextCell = {};
        m_borderTarget = BorderTarget::None;
        return;
    case Word::CellBorderTop:
        m_borderTarget = BorderTarget::CellTop;
        return;
    case Word::CellBorderLeft:
        m_borderTarget = BorderTarget::CellLeft;
        return;
    case Word::CellBorderBottom:
        m_borderTarget = BorderTarget::CellBottom;
        return;
    case Word::CellBorderRight:
        m_borderTarget = BorderTarget::CellRight;
        return;
    case Word::OtherBorder:
        m_borderTarget = BorderTarget::Other;
        return;
    case Word::BorderSingle:
    case Word::BorderThick:
    case Word::BorderDouble:
    case Word::BorderDotted:
    case Word::BorderDashed:
    case Word::BorderHairline:
    case Word::BorderOtherStyle:
    case Word::BorderNone:
        if (Border *border = borderTarget()) {
            switch (word) {
            case Word::BorderThick:
                border->style = BorderStyle::Thick;
                break;
            case Word::BorderDouble:
                border->style = BorderStyle::Double;
                break;
            case Word::BorderDotted:
                border->style = BorderStyle::Dotted;
                break;
            case Word::BorderDashed:
                border->style = BorderStyle::Dashed;
                break;
            case Word::BorderHairline:
                border->style = BorderStyle::Hairline;
                break;
            case Word::BorderNone:
                border->style = BorderStyle::None;
                break;
            default:
                border->style = BorderStyle::Single;
                break;
            }
        }
        return;
    case Word::BorderWidth:
        if (Border *border = borderTarget())
            border->width = std::clamp<std::int32_t>(value, 0, kMaxBorderWidth);
        return;
    case Word::CellMergeFirst:
        m_nextCell.verticalMerge = VerticalMerge::First;
        return;
    case Word::CellMergeContinue:
        m_nextCell.verticalMerge = VerticalMerge::Continue;
        return;
    case Word::CellAlignTop:
        m_nextCell.verticalAlignment = CellAlignment::Top;
        return;
    case Word::CellAlignCentre:
        m_nextCell.verticalAlignment = CellAlignment::Centre;
        return;
    case Word::CellAlignBottom:
        m_nextCell.verticalAlignment = CellAlignment::Bottom;
        return;
    case Word::RowLeft:
        m_row.left = clampTwips(value);
        return;
    case Word::RowGap:
        m_rowGap = clampLength(value);
        return;
    case Word::RowHeight:
        m_row.height = clampTwips(value);
        return;
    case Word::RowPaddingLeft:
        m_rowPadding[0] = clampLength(value);
        return;
    case Word::RowPaddingTop:
        m_rowPadding[1] = clampLength(value);
        return;
    case Word::RowPaddingBottom:
        m_rowPadding[2] = clampLength(value);
        return;
    case Word::RowPaddingRight:
        m_rowPadding[3] = clampLength(value);
        return;
    default:
        break;
    }

    // What is left changes the group's state, which groups nested too deeply do not have.
    if (m_overflowDepth > 0)
        return;
    State &state = top();
    CharState &chars = state.chars;
    ParagraphFormat &paragraph = state.paragraph;
    switch (word) {
    case Word::UnicodeSkip:
        state.unicodeSkip = std::max<std::int32_t>(value, 0);
        return;
    case Word::SectionDefaults:
        return; // page and section layout do not show on screen
    case Word::Plain:
        chars = CharState{};
        break;
    case Word::Bold:
        chars.bold = on;
        break;
    case Word::Italic:
        chars.italic = on;
        break;
    case Word::Underline:
        chars.underline = on;
        break;
    case Word::UnderlineNone:
        chars.underline = false;
        break;
    case Word::StrikeOut:
        chars.strikeOut = on;
        break;
    case Word::AllCaps:
        chars.allCaps = on;
        break;
    case Word::SmallCaps:
        chars.smallCaps = on;
        break;
    case Word::Hidden:
        chars.hidden = on;
        break;
    case Word::Font:
        chars.font = std::max<std::int32_t>(value, 0);
        break;
    case Word::FontSize:
        chars.fontSize = token.hasParameter
                             ? std::clamp<std::int32_t>(value, 2, kMaxFontSizeHalfPoints)
                             : kDefaultFontSize;
        break;
    case Word::ForegroundColor:
        chars.color = std::max<std::int32_t>(value, 0);
        break;
    case Word::ExpandQuarterPoints:
        chars.spacing = clampTwips(static_cast<std::int32_t>(
            std::clamp<std::int64_t>(std::int64_t{value} * 5, INT_MIN, INT_MAX)));
        break;
    case Word::ExpandTwips:
        chars.spacing = clampTwips(value);
        break;
    case Word::Superscript:
        chars.verticalPosition = VerticalPosition::Superscript;
        break;
    case Word::Subscript:
        chars.verticalPosition = VerticalPosition::Subscript;
        break;
    case Word::NoSuperSub:
        chars.verticalPosition = VerticalPosition::Normal;
        break;

    case Word::ParagraphDefaults:
        paragraph = ParagraphFormat{};
        state.lineSpacing = 0;
        state.lineSpacingMultiple = false;
        state.nextTabKind = TabKind::Left;
        state.nextTabLeader = TabLeader::None;
        if (m_borderTarget == BorderTarget::Other)
            m_borderTarget = BorderTarget::None;
        return;
    case Word::AlignLeft:
        paragraph.alignment = Alignment::Left;
        return;
    case Word::AlignCentre:
        paragraph.alignment = Alignment::Centre;
        return;
    case Word::AlignRight:
        paragraph.alignment = Alignment::Right;
        return;
    case Word::AlignJustify:
    case Word::AlignDistribute:
        paragraph.alignment = Alignment::Justify;
        return;
    case Word::FirstLineIndent:
        paragraph.firstLineIndent = clampTwips(value);
        return;
    case Word::LeftIndent:
        paragraph.leftIndent = clampTwips(value);
        return;
    case Word::RightIndent:
        paragraph.rightIndent = clampTwips(value);
        return;
    case Word::SpaceBefore:
        paragraph.spaceBefore = clampLength(value);
        return;
    case Word::SpaceAfter:
        paragraph.spaceAfter = clampLength(value);
        return;
    case Word::LineSpacing:
        state.lineSpacing = clampTwips(value);
        updateLineSpacing(state);
        return;
    case Word::LineSpacingMultiple:
        state.lineSpacingMultiple = on;
        updateLineSpacing(state);
        return;
    case Word::TabCentre:
        state.nextTabKind = TabKind::Centre;
        return;
    case Word::TabRight:
        state.nextTabKind = TabKind::Right;
        return;
    case Word::TabDecimal:
        state.nextTabKind = TabKind::Decimal;
        return;
    case Word::LeaderDots:
        state.nextTabLeader = TabLeader::Dots;
        return;
    case Word::LeaderHyphens:
        state.nextTabLeader = TabLeader::Hyphens;
        return;
    case Word::LeaderUnderline:
        state.nextTabLeader = TabLeader::Underline;
        return;
    case Word::LeaderThickLine:
        state.nextTabLeader = TabLeader::ThickLine;
        return;
    case Word::LeaderEquals:
        state.nextTabLeader = TabLeader::Equals;
        return;
    case Word::TabPosition: {
        const TabStop stop{clampLength(value), state.nextTabKind, state.nextTabLeader};
        auto &stops = paragraph.tabStops;
        const auto at = std::lower_bound(
            stops.begin(), stops.end(), stop.position,
            [](const TabStop &tab, int position) { return tab.position < position; });
        if (at != stops.end() && at->position == stop.position)
            *at = stop;
        else if (stops.size() < kMaxTabStops)
            stops.insert(at, stop);
        state.nextTabKind = TabKind::Left;
        state.nextTabLeader = TabLeader::None;
        return;
    }
    case Word::BarTabPosition: // a vertical line, not a stop
        state.nextTabKind = TabKind::Left;
        state.nextTabLeader = TabLeader::None;
        return;
    case Word::Keep:
        paragraph.keepTogether = on;
        return;
    case Word::KeepNext:
        paragraph.keepWithNext = on;
        return;
    case Word::PageBreakBefore:
        paragraph.pageBreakBefore = on;
        return;
    case Word::InTable:
        paragraph.inTable = on;
        return;
    default:
        return;
    }
    formatChanged(); // one of the character words above
}

// ---- Fonts and colours ----------------------------------------------------------------

void Reader::fontTable(const Token &token)
{
    switch (token.kind) {
    case TokenKind::ControlWord:
        switch (LookupWord(token.text)) {
        case Word::Font:
            startFont(token.parameter);
            break;
        case Word::FontCharset:
            m_fontCharset = token.parameter;
            break;
        case Word::SkippedDestination:
        case Word::FontTable:
        case Word::ColorTable:
            enterDestination(Destination::Skip);
            break;
        default:
            break;
        }
        break;
    case TokenKind::ControlSymbol:
        if (token.symbol == '*')
            enterDestination(Destination::Skip);
        break;
    case TokenKind::Text:
        for (const char c : token.text) {
            if (c == ';') {
                if (m_fontPending)
                    commitFont();
            } else if (m_fontPending) {
                const auto byte = static_cast<unsigned char>(c);
                if (byte < 0x80) {
                    appendFontName(byte);
                } else {
                    const int codePage = CodePageOfCharset(m_fontCharset);
                    const char16_t *high = HighHalfOf(codePage != 0 ? codePage : m_ansiCodePage);
                    appendFontName(high[byte - 0x80]);
                }
            }
        }
        break;
    case TokenKind::HexByte:
        if (m_fontPending) {
            const int codePage = CodePageOfCharset(m_fontCharset);
            const char16_t *high = HighHalfOf(codePage != 0 ? codePage : m_ansiCodePage);
            appendFontName(token.byte < 0x80 ? char16_t{token.byte} : high[token.byte - 0x80]);
        }
        break;
    default:
        break;
    }
}

void Reader::startFont(int number)
{
    if (m_fontPending)
        commitFont();
    m_fontPending = true;
    m_fontDepth = m_stack.size();
    m_fontNumber = number;
    m_fontCharset = -1;
    m_fontName.clear();
}

void Reader::appendFontName(char16_t unit)
{
    if (unit < 0x20 || m_fontName.size() >= kMaxFontNameBytes)
        return;
    AppendUtf8(m_fontName, char32_t{unit});
}

void Reader::commitFont()
{
    m_fontPending = false;
    if (m_fonts.size() >= kMaxFonts && m_fonts.find(m_fontNumber) == m_fonts.end())
        return;
    const auto first = m_fontName.find_first_not_of(' ');
    const auto last = m_fontName.find_last_not_of(' ');
    const std::string family =
        first == std::string::npos ? std::string{} : m_fontName.substr(first, last - first + 1);
    const auto name = m_familyNames.insert(family).first;
    m_fonts[m_fontNumber] = Font{CodePageOfCharset(m_fontCharset), *name};
    m_cachedFontNumber = INT_MIN;
    formatChanged();
}

void Reader::colorTable(const Token &token)
{
    switch (token.kind) {
    case TokenKind::ControlWord: {
        const Word word = LookupWord(token.text);
        const auto component =
            static_cast<std::uint8_t>(std::clamp<std::int32_t>(token.parameter, 0, 255));
        if (word == Word::Red) {
            m_nextColor.color.red = component;
            m_nextColor.defined = true;
        } else if (word == Word::Green) {
            m_nextColor.color.green = component;
            m_nextColor.defined = true;
        } else if (word == Word::Blue) {
            m_nextColor.color.blue = component;
            m_nextColor.defined = true;
        } else if (word == Word::SkippedDestination) {
            enterDestination(Destination::Skip);
        }
        break;
    }
    case TokenKind::ControlSymbol:
        if (token.symbol == '*')
            enterDestination(Destination::Skip);
        break;
    case TokenKind::Text:
        for (const char c : token.text) {
            if (c != ';')
                continue;
            if (m_colors.size() < kMaxColors)
                m_colors.push_back(m_nextColor);
            m_nextColor = {};
        }
        break;
    default:
        break;
    }
}

const Font *Reader::currentFont()
{
    const int number = top().chars.font < 0 ? m_defaultFont : top().chars.font;
    if (number != m_cachedFontNumber) {
        const auto found = m_fonts.find(number);
        m_cachedFont = found == m_fonts.end() ? nullptr : &found->second;
        const int codePage = m_cachedFont != nullptr && m_cachedFont->codePage != 0
                                 ? m_cachedFont->codePage
                                 : m_ansiCodePage;
        m_cachedHighHalf = HighHalfOf(codePage);
        m_cachedFontNumber = number;
    }
    return m_cachedFont;
}

const char16_t *Reader::highHalf()
{
    currentFont();
    return m_cachedHighHalf;
}

CharFormat Reader::resolveFormat()
{
    const CharState &chars = top().chars;
    CharFormat format;
    format.bold = chars.bold;
    format.italic = chars.italic;
    format.underline = chars.underline;
    format.strikeOut = chars.strikeOut;
    format.allCaps = chars.allCaps;
    format.smallCaps = chars.smallCaps;
    format.verticalPosition = chars.verticalPosition;
    format.fontSizeHalfPoints = chars.fontSize;
    format.spacingTwips = chars.spacing;
    if (const Font *font = currentFont())
        format.fontFamily = font->family;
    if (chars.color >= 0 && static_cast<std::size_t>(chars.color) < m_colors.size()
        && m_colors[chars.color].defined) {
        format.hasColor = true;
        format.color = m_colors[chars.color].color;
    }
    return format;
}

// ---- The paragraph being read -----------------------------------------------------------

Item &Reader::textItem()
{
    if (m_textItemCurrent)
        return m_items.back();
    const CharFormat format = resolveFormat();
    m_textItemCurrent = true;
    if (!m_items.empty() && m_items.back().kind == ItemKind::Text
        && m_items.back().format == format)
        return m_items.back();
    Item &item = m_items.emplace_back();
    item.start = static_cast<std::uint32_t>(m_text.size());
    item.format = format;
    return item;
}

void Reader::appendBytes(std::string_view bytes)
{
    Item &item = textItem();
    const char16_t *high = nullptr;
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            if (byte != 0x7F)
                m_text.push_back(byte);
        } else {
            // Raw bytes above ASCII are read as if escaped with \'hh.
            if (high == nullptr)
                high = highHalf();
            m_text.push_back(high[byte - 0x80]);
        }
    }
    item.length = static_cast<std::uint32_t>(m_text.size() - item.start);
}

void Reader::appendByte(std::uint8_t byte)
{
    if (byte < 0x80)
        appendUnit(byte);
    else
        appendUnit(highHalf()[byte - 0x80]);
}

void Reader::appendUnit(char16_t unit)
{
    if (top().chars.hidden || unit < 0x20 || unit == 0x7F)
        return;
    Item &item = textItem();
    m_text.push_back(unit);
    item.length = static_cast<std::uint32_t>(m_text.size() - item.start);
    if (isSurrogate(unit))
        m_hasSurrogates = true;
}

void Reader::appendCodePoint(std::int32_t codePoint)
{
    if (codePoint < 0 || codePoint > 0x10FFFF) {
        appendUnit(kReplacement);
    } else if (codePoint > 0xFFFF) {
        appendUnit(static_cast<char16_t>(0xD800 + ((codePoint - 0x10000) >> 10)));
        appendUnit(static_cast<char16_t>(0xDC00 + ((codePoint - 0x10000) & 0x3FF)));
    } else {
        appendUnit(static_cast<char16_t>(codePoint));
    }
}

void Reader::appendBreak(ItemKind kind)
{
    if (top().chars.hidden)
        return;
    Item item;
    item.kind = kind;
    item.start = static_cast<std::uint32_t>(m_text.size());
    item.format = resolveFormat();
    m_items.push_back(item);
    m_textItemCurrent = false;
}

void Reader::endParagraph(ParagraphEnd end)
{
    if (m_hasSurrogates) {
        for (const Item &item : m_items) {
            if (item.kind == ItemKind::Text)
                repairSurrogates(m_text.data() + item.start, item.length);
        }
        m_hasSurrogates = false;
    }

    if (end == ParagraphEnd::Cell) {
        if (m_rowCells < kMaxCellsPerRow) {
            bufferParagraph(true);
            ++m_rowCells;
        } else {
            bufferParagraph(false);
        }
        m_rowOpen = true;
    } else if (m_rowOpen || top().paragraph.inTable) {
        // Once a row has a cell, everything up to \row belongs to it, even after \pard.
        bufferParagraph(false);
    } else {
        // Table paragraphs that never reached a \cell are shown as a row of their own.
        if (!m_rowParagraphs.empty())
            endRow(false);
        emitItems(m_text, m_items);
        ParagraphFormat format = top().paragraph;
        format.inTable = false;
        m_sink.paragraphEnd(format, resolveFormat());
    }
    m_text.clear();
    m_items.clear();
    m_textItemCurrent = false;
}

void Reader::bufferParagraph(bool endsCell)
{
    BufferedParagraph &paragraph = m_rowParagraphs.emplace_back();
    paragraph.text = m_text;
    paragraph.items = m_items;
    paragraph.format = top().paragraph;
    paragraph.format.inTable = true;
    paragraph.mark = resolveFormat();
    paragraph.endsCell = endsCell;
}

void Reader::emitItems(const std::u16string &text, const std::vector<Item> &items)
{
    for (const Item &item : items) {
        switch (item.kind) {
        case ItemKind::Text:
            if (item.length != 0)
                m_sink.text(std::u16string_view(text).substr(item.start, item.length), item.format);
            break;
        case ItemKind::Tab:
            m_sink.tab(item.format);
            break;
        case ItemKind::LineBreak:
            m_sink.lineBreak(item.format);
            break;
        }
    }
}

void Reader::endRow(bool takeCurrentParagraph)
{
    if (takeCurrentParagraph && !m_items.empty()) {
        // Text between the last \cell and \row: keep it as a cell rather than lose it.
        bufferParagraph(false);
        m_text.clear();
        m_items.clear();
        m_textItemCurrent = false;
    }

    std::size_t cells = m_rowCells;
    if (!m_rowParagraphs.empty() && !m_rowParagraphs.back().endsCell) {
        if (cells < kMaxCellsPerRow) {
            ++cells;
        } else {
            // No room for another cell: the trailing paragraphs join the last one.
            for (auto it = m_rowParagraphs.rbegin(); it != m_rowParagraphs.rend(); ++it) {
                if (it->endsCell) {
                    it->endsCell = false;
                    break;
                }
            }
        }
        m_rowParagraphs.back().endsCell = true;
    }
    cells = std::max(cells, m_row.cells.size());

    if (cells != 0) {
        m_sink.rowBegin(finishedRowDefinition(cells));
        for (const BufferedParagraph &paragraph : m_rowParagraphs) {
            emitItems(paragraph.text, paragraph.items);
            if (paragraph.endsCell)
                m_sink.cellEnd(paragraph.format, paragraph.mark);
            else
                m_sink.paragraphEnd(paragraph.format, paragraph.mark);
        }
        ParagraphFormat empty;
        empty.inTable = true;
        const CharFormat mark = resolveFormat();
        std::size_t delivered = 0;
        for (const BufferedParagraph &paragraph : m_rowParagraphs)
            delivered += paragraph.endsCell ? 1 : 0;
        for (; delivered < cells; ++delivered)
            m_sink.cellEnd(empty, mark);
        m_sink.rowEnd();
    }

    m_rowParagraphs.clear();
    m_rowCells = 0;
    m_rowOpen = false;
}

RowDefinition Reader::finishedRowDefinition(std::size_t cells) const
{
    RowDefinition row = m_row;
    row.paddingLeft = m_rowPadding[0] >= 0 ? m_rowPadding[0] : m_rowGap;
    row.paddingTop = std::max(m_rowPadding[1], 0);
    row.paddingBottom = std::max(m_rowPadding[2], 0);
    row.paddingRight = m_rowPadding[3] >= 0 ? m_rowPadding[3] : m_rowGap;

    int edge = row.left;
    int width = kDefaultCellWidth;
    for (CellDefinition &cell : row.cells) {
        cell.rightEdge = std::max(cell.rightEdge, edge);
        if (cell.rightEdge > edge)
            width = cell.rightEdge - edge;
        edge = cell.rightEdge;
    }
    // Cells the definition does not cover get the width of the last one it does.
    while (row.cells.size() < cells) {
        CellDefinition cell;
        edge += width;
        cell.rightEdge = edge;
        row.cells.push_back(cell);
    }
    return row;
}

void Reader::resetRowDefinition()
{
    m_row = RowDefinition{};
    m_nextCell = CellDefinition{};
    m_borderTarget = BorderTarget::None;
    m_rowGap = 0;
    std::fill(std::begin(m_rowPadding), std::end(m_rowPadding), -1);
}

Border *Reader::borderTarget()
{
    switch (m_borderTarget) {
    case BorderTarget::CellTop:
        return &m_nextCell.top;
    case BorderTarget::CellLeft:
        return &m_nextCell.left;
    case BorderTarget::CellBottom:
        return &m_nextCell.bottom;
    case BorderTarget::CellRight:
        return &m_nextCell.right;
    default:
        return nullptr;
    }
}

} // namespace

bool LooksLikeRtf(std::string_view data)
{
    return data.substr(0, 5) == "{\\rtf";
}

void Read(std::string_view data, Sink &sink)
{
    Reader reader(data, sink);
    reader.run();
}

} // namespace rtf
