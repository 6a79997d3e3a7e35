#include "control_words.h"

#include <array>
#include <cstddef>
#include <utility>

namespace rtf {
namespace {

struct Entry {
    std::string_view name;
    Word word;
};

constexpr Entry kEntries[] = {
    {"ansi", Word::Ansi},
    {"ansicpg", Word::AnsiCodePage},
    {"deff", Word::DefaultFont},
    {"sectd", Word::SectionDefaults},

    {"fonttbl", Word::FontTable},
    {"colortbl", Word::ColorTable},
    // Destinations whose text is never shown. Writers put most of them behind \*, which skips
    // a group anyway; these are the ones that also appear without it.
    {"stylesheet", Word::SkippedDestination},
    {"info", Word::SkippedDestination},
    {"pict", Word::SkippedDestination},
    {"object", Word::SkippedDestination},
    {"nonshppict", Word::SkippedDestination},
    {"shpinst", Word::SkippedDestination},
    {"sp", Word::SkippedDestination},
    {"header", Word::SkippedDestination},
    {"headerl", Word::SkippedDestination},
    {"headerr", Word::SkippedDestination},
    {"headerf", Word::SkippedDestination},
    {"footer", Word::SkippedDestination},
    {"footerl", Word::SkippedDestination},
    {"footerr", Word::SkippedDestination},
    {"footerf", Word::SkippedDestination},
    {"footnote", Word::SkippedDestination},
    {"annotation", Word::SkippedDestination},
    {"fldinst", Word::SkippedDestination},
    {"xe", Word::SkippedDestination},
    {"tc", Word::SkippedDestination},
    {"bkmkstart", Word::SkippedDestination},
    {"bkmkend", Word::SkippedDestination},
    {"pn", Word::SkippedDestination},
    {"pntxta", Word::SkippedDestination},
    {"pntxtb", Word::SkippedDestination},
    {"listtable", Word::SkippedDestination},
    {"listoverridetable", Word::SkippedDestination},
    {"revtbl", Word::SkippedDestination},
    {"rsidtbl", Word::SkippedDestination},
    {"pgptbl", Word::SkippedDestination},
    {"filetbl", Word::SkippedDestination},
    {"xmlnstbl", Word::SkippedDestination},
    {"generator", Word::SkippedDestination},
    {"themedata", Word::SkippedDestination},
    {"colorschememapping", Word::SkippedDestination},
    {"latentstyles", Word::SkippedDestination},
    {"datastore", Word::SkippedDestination},
    {"userprops", Word::SkippedDestination},
    {"docvar", Word::SkippedDestination},
    {"template", Word::SkippedDestination},

    {"fcharset", Word::FontCharset},
    {"red", Word::Red},
    {"green", Word::Green},
    {"blue", Word::Blue},

    {"plain", Word::Plain},
    {"b", Word::Bold},
    {"i", Word::Italic},
    {"ul", Word::Underline},
    {"uld", Word::Underline},
    {"uldash", Word::Underline},
    {"uldashd", Word::Underline},
    {"uldashdd", Word::Underline},
    {"uldb", Word::Underline},
    {"ulhwave", Word::Underline},
    {"ulldash", Word::Underline},
    {"ulth", Word::Underline},
    {"ulthd", Word::Underline},
    {"ulthdash", Word::Underline},
    {"ulthdashd", Word::Underline},
    {"ulthdashdd", Word::Underline},
    {"ulthldash", Word::Underline},
    {"ululdbwave", Word::Underline},
    {"ulw", Word::Underline},
    {"ulwave", Word::Underline},
    {"ulnone", Word::UnderlineNone},
    {"strike", Word::StrikeOut},
    {"striked", Word::StrikeOut},
    {"caps", Word::AllCaps},
    {"scaps", Word::SmallCaps},
    {"v", Word::Hidden},
    {"f", Word::Font},
    {"fs", Word::FontSize},
    {"cf", Word::ForegroundColor},
    {"expnd", Word::ExpandQuarterPoints},
    {"expndtw", Word::ExpandTwips},
    {"super", Word::Superscript},
    {"sub", Word::Subscript},
    {"nosupersub", Word::NoSuperSub},

    {"pard", Word::ParagraphDefaults},
    {"ql", Word::AlignLeft},
    {"qc", Word::AlignCentre},
    {"qr", Word::AlignRight},
    {"qj", Word::AlignJustify},
    {"qd", Word::AlignDistribute},
    {"fi", Word::FirstLineIndent},
    {"li", Word::LeftIndent},
    {"lin", Word::LeftIndent},
    {"ri", Word::RightIndent},
    {"rin", Word::RightIndent},
    {"sb", Word::SpaceBefore},
    {"sa", Word::SpaceAfter},
    {"sl", Word::LineSpacing},
    {"slmult", Word::LineSpacingMultiple},
    {"tx", Word::TabPosition},
    {"tb", Word::BarTabPosition},
    {"tqc", Word::TabCentre},
    {"tqr", Word::TabRight},
    {"tqdec", Word::TabDecimal},
    {"tldot", Word::LeaderDots},
    {"tlmdot", Word::LeaderDots},
    {"tlhyph", Word::LeaderHyphens},
    {"tlul", Word::LeaderUnderline},
    {"tlth", Word::LeaderThickLine},
    {"tleq", Word::LeaderEquals},
    {"keep", Word::Keep},
    {"keepn", Word::KeepNext},
    {"pagebb", Word::PageBreakBefore},
    {"intbl", Word::InTable},

    {"par", Word::Par},
    {"sect", Word::Section},
    {"page", Word::Page},
    {"line", Word::Line},
    {"tab", Word::Tab},
    {"emdash", Word::EmDash},
    {"endash", Word::EnDash},
    {"bullet", Word::Bullet},
    {"lquote", Word::LeftQuote},
    {"rquote", Word::RightQuote},
    {"ldblquote", Word::LeftDoubleQuote},
    {"rdblquote", Word::RightDoubleQuote},
    {"emspace", Word::EmSpace},
    {"enspace", Word::EnSpace},
    {"qmspace", Word::QuarterEmSpace},
    {"zwj", Word::ZeroWidthJoiner},
    {"zwnj", Word::ZeroWidthNonJoiner},
    {"ltrmark", Word::LeftToRightMark},
    {"rtlmark", Word::RightToLeftMark},
    {"u", Word::Unicode},
    {"uc", Word::UnicodeSkip},

    {"cell", Word::Cell},
    {"row", Word::Row},
    {"nestcell", Word::NestedCell},
    {"nestrow", Word::NestedRow},
    {"trowd", Word::RowDefaults},
    {"cellx", Word::CellRightEdge},
    {"clbrdrt", Word::CellBorderTop},
    {"clbrdrl", Word::CellBorderLeft},
    {"clbrdrb", Word::CellBorderBottom},
    {"clbrdrr", Word::CellBorderRight},
    {"brdrt", Word::OtherBorder},
    {"brdrl", Word::OtherBorder},
    {"brdrb", Word::OtherBorder},
    {"brdrr", Word::OtherBorder},
    {"brdrbtw", Word::OtherBorder},
    {"brdrbar", Word::OtherBorder},
    {"box", Word::OtherBorder},
    {"trbrdrt", Word::OtherBorder},
    {"trbrdrl", Word::OtherBorder},
    {"trbrdrb", Word::OtherBorder},
    {"trbrdrr", Word::OtherBorder},
    {"trbrdrh", Word::OtherBorder},
    {"trbrdrv", Word::OtherBorder},
    {"chbrdr", Word::OtherBorder},
    {"pgbrdrt", Word::OtherBorder},
    {"pgbrdrl", Word::OtherBorder},
    {"pgbrdrb", Word::OtherBorder},
    {"pgbrdrr", Word::OtherBorder},
    {"cldglu", Word::OtherBorder},
    {"cldgll", Word::OtherBorder},
    {"brdrs", Word::BorderSingle},
    {"brdrth", Word::BorderThick},
    {"brdrdb", Word::BorderDouble},
    {"brdrdot", Word::BorderDotted},
    {"brdrdash", Word::BorderDashed},
    {"brdrdashsm", Word::BorderDashed},
    {"brdrdashd", Word::BorderDashed},
    {"brdrdashdd", Word::BorderDashed},
    {"brdrhair", Word::BorderHairline},
    {"brdrtriple", Word::BorderOtherStyle},
    {"brdrwavy", Word::BorderOtherStyle},
    {"brdrwavydb", Word::BorderOtherStyle},
    {"brdrinset", Word::BorderOtherStyle},
    {"brdroutset", Word::BorderOtherStyle},
    {"brdremboss", Word::BorderOtherStyle},
    {"brdrengrave", Word::BorderOtherStyle},
    {"brdrdashdotstr", Word::BorderOtherStyle},
    {"brdrthtnsg", Word::BorderOtherStyle},
    {"brdrtnthsg", Word::BorderOtherStyle},
    {"brdrtnthtnsg", Word::BorderOtherStyle},
    {"brdrnone", Word::BorderNone},
    {"brdrnil", Word::BorderNone},
    {"brdrtbl", Word::BorderNone},
    {"brdrw", Word::BorderWidth},
    {"clvmgf", Word::CellMergeFirst},
    {"clvmrg", Word::CellMergeContinue},
    {"clvertalt", Word::CellAlignTop},
    {"clvertalc", Word::CellAlignCentre},
    {"clvertalb", Word::CellAlignBottom},
    {"trleft", Word::RowLeft},
    {"trgaph", Word::RowGap},
    {"trrh", Word::RowHeight},
    {"trpaddl", Word::RowPaddingLeft},
    {"trpaddt", Word::RowPaddingTop},
    {"trpaddb", Word::RowPaddingBottom},
    {"trpaddr", Word::RowPaddingRight},
};

constexpr std::size_t kTableSize = 1024; // a power of two, well above twice the entries
static_assert(std::size(kEntries) * 2 < kTableSize);

constexpr std::uint32_t hashName(std::string_view name)
{
    std::uint32_t hash = 2166136261u; // FNV-1a
    for (char c : name) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 16777619u;
    }
    return hash;
}

struct Table {
    std::array<const Entry *, kTableSize> slots{};

    constexpr Table()
    {
        for (const Entry &entry : kEntries) {
            std::size_t slot = hashName(entry.name) & (kTableSize - 1);
            while (slots[slot] != nullptr)
                slot = (slot + 1) & (kTableSize - 1);
            slots[slot] = &entry;
        }
    }
};

constexpr Table kTable;

} // namespace

Word LookupWord(std::string_view name)
{
    std::size_t slot = hashName(name) & (kTableSize - 1);
    while (const Entry *entry = kTable.slots[slot]) {
        if (entry->name == name)
            return entry->word;
        slot = (slot + 1) & (kTableSize - 1);
    }
    return Word::Unknown;
}

} // namespace rtf
