#pragma once

// The control words the reader acts on. Every other word is passed over.

#include <cstdint>
#include <string_view>

namespace rtf {

enum class Word : std::uint8_t {
    Unknown,

    // Document
    Ansi,
    AnsiCodePage,
    DefaultFont,
    SectionDefaults,

    // Destinations: read, or skipped whole with everything nested in them
    FontTable,
    ColorTable,
    SkippedDestination,

    // Font and colour tables
    FontCharset,
    Red,
    Green,
    Blue,

    // Characters
    Plain,
    Bold,
    Italic,
    Underline,
    UnderlineNone,
    StrikeOut,
    AllCaps,
    SmallCaps,
    Hidden,
    Font,
    FontSize,
    ForegroundColor,
    ExpandQuarterPoints,
    ExpandTwips,
    Superscript,
    Subscript,
    NoSuperSub,

    // Paragraphs
    ParagraphDefaults,
    AlignLeft,
    AlignCentre,
    AlignRight,
    AlignJustify,
    AlignDistribute,
    FirstLineIndent,
    LeftIndent,
    RightIndent,
    SpaceBefore,
    SpaceAfter,
    LineSpacing,
    LineSpacingMultiple,
    TabPosition,
    BarTabPosition,
    TabCentre,
    TabRight,
    TabDecimal,
    LeaderDots,
    LeaderHyphens,
    LeaderUnderline,
    LeaderThickLine,
    LeaderEquals,
    Keep,
    KeepNext,
    PageBreakBefore,
    InTable,

    // Characters and breaks written as words
    Par,
    Section,
    Page,
    Line,
    Tab,
    EmDash,
    EnDash,
    Bullet,
    LeftQuote,
    RightQuote,
    LeftDoubleQuote,
    RightDoubleQuote,
    EmSpace,
    EnSpace,
    QuarterEmSpace,
    ZeroWidthJoiner,
    ZeroWidthNonJoiner,
    LeftToRightMark,
    RightToLeftMark,
    Unicode,
    UnicodeSkip,

    // Tables
    Cell,
    Row,
    NestedCell,
    NestedRow,
    RowDefaults,
    CellRightEdge,
    CellBorderTop,
    CellBorderLeft,
    CellBorderBottom,
    CellBorderRight,
    OtherBorder, // paragraph, row and page borders: their border words are not ours
    BorderSingle,
    BorderThick,
    BorderDouble,
    BorderDotted,
    BorderDashed,
    BorderHairline,
    BorderOtherStyle,
    BorderNone,
    BorderWidth,
    CellMergeFirst,
    CellMergeContinue,
    CellAlignTop,
    CellAlignCentre,
    CellAlignBottom,
    RowLeft,
    RowGap,
    RowHeight,
    RowPaddingLeft,
    RowPaddingTop,
    RowPaddingBottom,
    RowPaddingRight,
};

Word LookupWord(std::string_view name);

} // namespace rtf
