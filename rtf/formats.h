#pragma once

// What the reader tells a sink about the text it delivers. Lengths are in twips (1/1440 inch)
// unless a name says otherwise; every value has already been clamped to a sane range, so a
// sink may use them without checking.

#include <cstdint>
#include <string_view>
#include <vector>

namespace rtf {

struct Color {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;

    friend bool operator==(const Color &, const Color &) = default;
};

enum class VerticalPosition : std::uint8_t { Normal, Superscript, Subscript };

struct CharFormat {
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    bool allCaps = false;
    bool smallCaps = false;
    VerticalPosition verticalPosition = VerticalPosition::Normal;
    bool hasColor = false; // false: the automatic text colour
    Color color;
    int fontSizeHalfPoints = 24;
    int spacingTwips = 0; // added between characters, may be negative
    // Face name in UTF-8, empty when the font is not defined. The characters stay valid until
    // the read call that delivered this format returns.
    std::string_view fontFamily;

    friend bool operator==(const CharFormat &, const CharFormat &) = default;
};

enum class Alignment : std::uint8_t { Left, Centre, Right, Justify };

enum class TabKind : std::uint8_t { Left, Centre, Right, Decimal };
enum class TabLeader : std::uint8_t { None, Dots, Hyphens, Underline, ThickLine, Equals };

struct TabStop {
    int position = 0;
    TabKind kind = TabKind::Left;
    TabLeader leader = TabLeader::None;

    friend bool operator==(const TabStop &, const TabStop &) = default;
};

enum class LineSpacingRule : std::uint8_t {
    Single,   // the font's own line height
    AtLeast,  // lineSpacing twips or more
    Exactly,  // lineSpacing twips
    Multiple, // lineSpacing 240ths of a single line (288 = 1.2 lines)
};

struct ParagraphFormat {
    Alignment alignment = Alignment::Left;
    int firstLineIndent = 0; // relative to leftIndent, may be negative
    int leftIndent = 0;
    int rightIndent = 0;
    int spaceBefore = 0;
    int spaceAfter = 0;
    LineSpacingRule lineSpacingRule = LineSpacingRule::Single;
    int lineSpacing = 0;
    std::vector<TabStop> tabStops; // ascending positions, no duplicates
    // Pagination controls: kept for completeness, they change nothing on screen.
    bool keepTogether = false;
    bool keepWithNext = false;
    bool pageBreakBefore = false;
    bool inTable = false;

    friend bool operator==(const ParagraphFormat &, const ParagraphFormat &) = default;
};

enum class BorderStyle : std::uint8_t { None, Single, Thick, Double, Dotted, Dashed, Hairline };

struct Border {
    BorderStyle style = BorderStyle::None;
    int width = 0;

    friend bool operator==(const Border &, const Border &) = default;
};

enum class VerticalMerge : std::uint8_t { None, First, Continue };
enum class CellAlignment : std::uint8_t { Top, Centre, Bottom };

struct CellDefinition {
    int rightEdge = 0; // from the page's left margin; never left of the previous cell's edge
    Border top;
    Border left;
    Border bottom;
    Border right;
    VerticalMerge verticalMerge = VerticalMerge::None;
    CellAlignment verticalAlignment = CellAlignment::Top;

    friend bool operator==(const CellDefinition &, const CellDefinition &) = default;
};

struct RowDefinition {
    int left = 0;   // left edge of the first cell
    int height = 0; // positive: at least, negative: exactly, 0: as the content needs
    int paddingLeft = 0;
    int paddingRight = 0;
    int paddingTop = 0;
    int paddingBottom = 0;
    std::vector<CellDefinition> cells;

    friend bool operator==(const RowDefinition &, const RowDefinition &) = default;
};

} // namespace rtf
