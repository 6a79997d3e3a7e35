#pragma once

// What a document source says, after parsing and before any RTF is written.

#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace docgen {

// Characters of run text that stand for RTF control symbols rather than for themselves.
// They sit in a Unicode private-use plane that sources may not contain.
namespace mark {
inline constexpr char32_t Tab = 0xF0000;
inline constexpr char32_t LineBreak = 0xF0001;
inline constexpr char32_t NonBreakingSpace = 0xF0002;
inline constexpr char32_t OptionalHyphen = 0xF0003;
inline constexpr bool isMark(char32_t c) { return c >= Tab && c <= OptionalHyphen; }
} // namespace mark

enum class FontFace { Arial, TimesNewRoman, Minion };

struct CharFormat {
    bool bold = false;
    bool italic = false;
    bool caps = false;
    bool smallCaps = false;
    bool unicode = false; // every non-ASCII character as \uN\'3f
    int size = 20;        // half-points
    int colour = 1;
    std::optional<int> expand; // twips
    FontFace font = FontFace::Arial;
    int language = 1049;

    bool operator==(const CharFormat &) const = default;
};

enum class Alignment { Justified, Centred, Left, Right };
enum class TabKind { Left, Centre, Right, UnderlineLeader };

struct TabStop {
    TabKind kind = TabKind::Left;
    int position = 0;
    bool operator==(const TabStop &) const = default;
};

struct ParagraphFormat {
    Alignment alignment = Alignment::Justified;
    bool heading = false;
    std::optional<int> firstIndent; // unset: the default for the alignment and place
    int leftIndent = 0;
    int rightIndent = 0;
    int spaceBefore = 0;
    int spaceAfter = 0;
    std::optional<int> lineSpacing; // unset: the default for the place
    bool lineSpacingAtLeast = false; // \slmult0
    bool keep = false;
    bool pageBreakBefore = false;
    bool noWidowControl = false;
    std::vector<TabStop> tabs;
};

struct Run {
    CharFormat format;
    std::u32string text;
};

struct Paragraph {
    ParagraphFormat format;
    CharFormat base; // what the paragraph's properties set; the format of an empty one
    std::vector<Run> runs;
    int line = 0; // source line, for messages
};

enum class Border { Single, Table, None };
enum class VerticalAlignment { Top, Centre, Bottom };

struct Cell {
    bool continuesAbove = false; // vertical merge with the cell above
    bool startsMerge = false;    // the cell below continues this one
    Paragraph content;
};

struct Table {
    std::vector<int> widths;
    Border border = Border::Single;
    int fontSize = 20;
    VerticalAlignment verticalAlignment = VerticalAlignment::Top;
    std::vector<std::vector<Cell>> rows;
    int line = 0;
};

using Block = std::variant<Paragraph, Table>;

struct Source {
    std::vector<Block> blocks;
};

} // namespace docgen
