#include "document_writer.h"

#include "fonts.h"
#include "metadata.h"
#include "text_encoding.h"

#include <algorithm>
#include <set>

namespace docgen {

namespace {

// Deterministic numbers: every id and time in a document follows from its number.
class SplitMix final {
public:
    explicit SplitMix(std::uint64_t seed) : m_state(seed) {}

    std::uint64_t next()
    {
        std::uint64_t z = (m_state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }

    // Uniform enough in [low, high].
    std::uint64_t between(std::uint64_t low, std::uint64_t high) { return low + next() % (high - low + 1); }

private:
    std::uint64_t m_state;
};

// Revision ids are 24-bit numbers; the ones of editing sessions look like a word
// processor's, seven or eight digits.
std::vector<std::uint32_t> sessionRsids(int documentNumber)
{
    SplitMix rng(0x5645'4C54'0000ull + static_cast<std::uint64_t>(documentNumber));
    const int count = 3 + documentNumber % 5;
    std::set<std::uint32_t> seen;
    std::vector<std::uint32_t> rsids;
    while (static_cast<int>(rsids.size()) < count) {
        const auto value = static_cast<std::uint32_t>(rng.between(0x100000, 0xFFFFFF));
        if (seen.insert(value).second)
            rsids.push_back(value);
    }
    return rsids;
}

const char *alignmentWord(Alignment a)
{
    switch (a) {
    case Alignment::Justified: return "qj";
    case Alignment::Centred: return "qc";
    case Alignment::Left: return "ql";
    case Alignment::Right: return "qr";
    }
    return "qj";
}

// Style sheet numbers of the paragraph styles.
constexpr int kHeadingStyle = 1;
constexpr int kSectionStyle = 2;
constexpr int kClauseStyle = 3;

int styleOf(const Paragraph &p)
{
    if (p.format.heading)
        return kHeadingStyle;
    if (p.format.alignment == Alignment::Centred && p.base.bold)
        return kSectionStyle;
    if (p.format.alignment == Alignment::Justified)
        return kClauseStyle;
    return 0;
}

class BodyWriter final {
public:
    BodyWriter(RtfEmitter &out, const BodySettings &settings, std::size_t paragraphCount)
        : m_out(out), m_settings(settings), m_paragraphCount(std::max<std::size_t>(paragraphCount, 1))
    {
        if (m_settings.rsids.empty())
            throw GenerationError("no revision ids for the body");
    }

    void write(const Source &source)
    {
        for (const Block &block : source.blocks) {
            if (const auto *p = std::get_if<Paragraph>(&block))
                paragraph(*p, false);
            else
                table(std::get<Table>(block));
        }
    }

private:
    bool formA() const { return m_settings.form == Form::A; }

    std::uint32_t rsid() const
    {
        const std::size_t index = std::min(m_index, m_paragraphCount - 1);
        return m_settings.rsids[index * m_settings.rsids.size() / m_paragraphCount];
    }

    int fontNumber(FontFace face, int line) const
    {
        const std::optional<int> *number = nullptr;
        const char *name = "";
        switch (face) {
        case FontFace::Arial:
            number = &m_settings.arialFont;
            name = "Arial";
            break;
        case FontFace::TimesNewRoman:
            number = &m_settings.timesFont;
            name = "Times New Roman";
            break;
        case FontFace::Minion:
            number = &m_settings.minionFont;
            name = "Minion Pro Cyr";
            break;
        }
        if (!*number)
            throw GenerationError("line " + std::to_string(line) + ": the document's font table has no " + name +
                                  " (add it to the faces in the manifest)");
        return **number;
    }

    void runFormat(const CharFormat &f, int line)
    {
        if (f.colour >= m_settings.colours)
            throw GenerationError("line " + std::to_string(line) + ": cf=" + std::to_string(f.colour) +
                                  " but the colour table has indexes 0 to " + std::to_string(m_settings.colours - 1) +
                                  " (its last entry is cf=" + std::to_string(m_settings.colours - 1) + ")");
        const int font = fontNumber(f.font, line);
        if (formA()) {
            m_out.controls("\\rtlch\\fcs1 ");
            if (f.bold)
                m_out.word("ab");
            if (f.italic)
                m_out.word("ai");
            m_out.word("af", font);
            m_out.space();
            m_out.controls("\\ltrch\\fcs0 ");
        }
        if (f.bold)
            m_out.word("b");
        if (f.italic)
            m_out.word("i");
        if (f.caps)
            m_out.word("caps");
        if (f.smallCaps)
            m_out.word("scaps");
        m_out.word("f", font);
        m_out.word("fs", f.size);
        m_out.word("cf", f.colour);
        if (f.expand) {
            // \expnd is in quarter points, \expndtw in twips.
            const int twips = *f.expand;
            const int quarters = twips >= 0 ? (twips + 2) / 5 : -((-twips + 2) / 5);
            m_out.word("expnd", quarters);
            m_out.word("expndtw", twips);
        }
        m_out.word("lang", f.language);
        m_out.word("langnp", f.language);
        m_out.word("insrsid", rsid());
        if (m_settings.characterRsids && (f.bold || f.italic))
            m_out.word("charrsid", rsid());
        m_out.space();
    }

    void runText(const Run &run)
    {
        for (const char32_t c : run.text) {
            switch (c) {
            case mark::Tab: m_out.word("tab"); break;
            case mark::LineBreak: m_out.word("line"); break;
            case mark::NonBreakingSpace: m_out.symbol('~'); break;
            case mark::OptionalHyphen: m_out.symbol('-'); break;
            default: m_out.character(c, run.format.unicode); break;
            }
        }
    }

    void paragraphFormat(const Paragraph &p, bool inCell)
    {
        const ParagraphFormat &f = p.format;
        m_out.lineBreak();
        m_out.controls("\\pard\\plain ");
        if (formA())
            m_out.word("ltrpar");
        const int style = inCell ? 0 : styleOf(p);
        if (style != 0)
            m_out.word("s", style);
        m_out.word(alignmentWord(f.alignment));
        m_out.space();
        const int firstIndent = f.firstIndent ? *f.firstIndent
                                : (inCell || f.heading || f.alignment != Alignment::Justified) ? 0
                                                                                                : 283;
        m_out.word("fi", firstIndent);
        if (f.leftIndent != 0)
            m_out.word("li", f.leftIndent);
        if (f.rightIndent != 0)
            m_out.word("ri", f.rightIndent);
        if (f.spaceBefore != 0)
            m_out.word("sb", f.spaceBefore);
        if (formA() || f.spaceAfter != 0)
            m_out.word("sa", f.spaceAfter);
        m_out.word("sl", f.lineSpacing ? *f.lineSpacing : inCell ? 240 : 288);
        m_out.word("slmult", f.lineSpacingAtLeast ? 0 : 1);
        if (f.keep)
            m_out.word("keep");
        if (f.heading)
            m_out.word("keepn");
        if (f.pageBreakBefore)
            m_out.word("pagebb");
        m_out.word(f.noWidowControl ? "nowidctlpar" : "widctlpar");
        if (inCell)
            m_out.word("intbl");
        for (const TabStop &tab : f.tabs) {
            switch (tab.kind) {
            case TabKind::Left: break;
            case TabKind::Centre: m_out.word("tqc"); break;
            case TabKind::Right: m_out.word("tqr"); break;
            case TabKind::UnderlineLeader: m_out.word("tlul"); break;
            }
            m_out.word("tx", tab.position);
        }
        if (f.rightIndent != 0)
            m_out.word("rin", f.rightIndent);
        if (f.leftIndent != 0)
            m_out.word("lin", f.leftIndent);
        m_out.word("pararsid", rsid());
        m_out.space();
    }

    void paragraph(const Paragraph &p, bool inCell)
    {
        paragraphFormat(p, inCell);
        const char *end = inCell ? "cell" : "par";
        if (p.runs.empty()) {
            m_out.open();
            runFormat(p.base, p.line);
            m_out.word(end);
            m_out.close();
        }
        for (std::size_t i = 0; i < p.runs.size(); ++i) {
            m_out.open();
            runFormat(p.runs[i].format, p.line);
            runText(p.runs[i]);
            if (i + 1 == p.runs.size())
                m_out.word(end);
            m_out.close();
        }
        ++m_index;
    }

    void border(const char *side, Border kind)
    {
        if (kind == Border::None)
            return;
        m_out.word(side);
        if (kind == Border::Table) {
            m_out.word("brdrtbl");
        } else {
            m_out.word("brdrs");
            m_out.word("brdrw", 10);
        }
        m_out.space();
    }

    void table(const Table &t)
    {
        for (std::size_t r = 0; r < t.rows.size(); ++r) {
            const auto &row = t.rows[r];
            m_out.lineBreak();
            m_out.controls("\\trowd ");
            m_out.word("irow", static_cast<long long>(r));
            m_out.word("irowband", static_cast<long long>(r));
            if (r + 1 == t.rows.size())
                m_out.word("lastrow");
            if (formA())
                m_out.word("ltrrow");
            m_out.word("ts", 11);
            m_out.word("trgaph", 108);
            m_out.word("trleft", 0);
            if (t.border == Border::Single) {
                for (const char *side : {"trbrdrt", "trbrdrl", "trbrdrb", "trbrdrr", "trbrdrh", "trbrdrv"})
                    border(side, Border::Single);
            }
            m_out.word("trftsWidth", 1);
            m_out.word("trpaddl", 108);
            m_out.word("trpaddr", 108);
            m_out.word("trpaddfl", 3);
            m_out.word("trpaddfr", 3);
            m_out.word("tblrsid", rsid());
            m_out.word("tblind", 0);
            m_out.word("tblindtype", 3);
            m_out.space();
            int edge = 0;
            for (std::size_t c = 0; c < row.size(); ++c) {
                const Cell &cell = row[c];
                if (cell.continuesAbove)
                    m_out.word("clvmrg");
                else if (cell.startsMerge)
                    m_out.word("clvmgf");
                switch (t.verticalAlignment) {
                case VerticalAlignment::Top: m_out.word("clvertalt"); break;
                case VerticalAlignment::Centre: m_out.word("clvertalc"); break;
                case VerticalAlignment::Bottom: m_out.word("clvertalb"); break;
                }
                for (const char *side : {"clbrdrt", "clbrdrl", "clbrdrb", "clbrdrr"})
                    border(side, t.border);
                m_out.word("cltxlrtb");
                m_out.word("clftsWidth", 3);
                m_out.word("clwWidth", t.widths[c]);
                edge += t.widths[c];
                m_out.word("cellx", edge);
            }
            for (const Cell &cell : row)
                paragraph(cell.content, true);
            m_out.lineBreak();
            m_out.controls("\\pard\\plain ");
            if (formA())
                m_out.word("ltrpar");
            m_out.controls("\\ql \\li0\\ri0\\widctlpar\\intbl ");
            m_out.open();
            if (formA())
                m_out.controls("\\rtlch\\fcs1 \\af1 \\ltrch\\fcs0 ");
            m_out.word("insrsid", rsid());
            m_out.word("row");
            m_out.close();
        }
    }

    RtfEmitter &m_out;
    const BodySettings &m_settings;
    std::size_t m_paragraphCount;
    std::size_t m_index = 0;
};

std::size_t countParagraphs(const Source &source)
{
    std::size_t count = 0;
    for (const Block &block : source.blocks) {
        if (std::holds_alternative<Paragraph>(block)) {
            ++count;
        } else {
            for (const auto &row : std::get<Table>(block).rows)
                count += row.size();
        }
    }
    return count;
}

struct TextStatistics {
    long words = 0;
    long characters = 0;       // without blanks
    long charactersBlanks = 0; // with them
};

void countText(const Paragraph &p, TextStatistics &stats)
{
    bool inWord = false;
    for (const Run &run : p.runs) {
        for (const char32_t c : run.text) {
            const bool blank = c == U' ' || c == mark::Tab || c == mark::LineBreak;
            if (c == mark::OptionalHyphen)
                continue;
            if (blank) {
                inWord = false;
                if (c == U' ')
                    ++stats.charactersBlanks;
                continue;
            }
            if (!inWord)
                ++stats.words;
            inWord = true;
            ++stats.characters;
            ++stats.charactersBlanks;
        }
    }
}

TextStatistics statistics(const Source &source)
{
    TextStatistics stats;
    for (const Block &block : source.blocks) {
        if (const auto *p = std::get_if<Paragraph>(&block)) {
            countText(*p, stats);
        } else {
            for (const auto &row : std::get<Table>(block).rows) {
                for (const Cell &cell : row)
                    countText(cell.content, stats);
            }
        }
    }
    return stats;
}

const char *headerWords(const ManifestEntry &e)
{
    if (e.form == Form::B)
        return "\\rtf1\\ansi\\ansicpg1251\\uc1\\deff0\\stshfdbch0\\stshfloch0\\stshfhich0\\stshfbi0\\deflang1049"
               "\\deflangfe1049";
    switch (e.header) {
    case HeaderVariant::Standard:
        return "\\rtf1\\adeflang1025\\ansi\\ansicpg1251\\uc1\\adeff31507\\deff0\\stshfdbch31506\\stshfloch31506"
               "\\stshfhich31506\\stshfbi31507\\deflang1049\\deflangfe1049\\themelang1049\\themelangfe0"
               "\\themelangcs0";
    case HeaderVariant::Stshf0:
        return "\\rtf1\\adeflang1025\\ansi\\ansicpg1251\\uc1\\adeff31507\\deff0\\stshfdbch0\\stshfloch31506"
               "\\stshfhich31506\\stshfbi31506\\deflang1049\\deflangfe1049\\themelang1049\\themelangfe0"
               "\\themelangcs0";
    case HeaderVariant::Stshfdbch31505:
        return "\\rtf1\\adeflang1025\\ansi\\ansicpg1251\\uc1\\adeff31507\\deff0\\stshfdbch31505\\stshfloch31506"
               "\\stshfhich31506\\stshfbi31507\\deflang1049\\deflangfe1049\\themelang1049\\themelangfe0"
               "\\themelangcs0";
    case HeaderVariant::Letter:
        return "\\rtf1\\adeflang1025\\ansi\\ansicpg1251\\uc1\\adeff0\\deff0\\stshfdbch37\\stshfloch37"
               "\\stshfhich37\\stshfbi0\\deflang1049\\deflangfe1049\\themelang1049\\themelangfe0\\themelangcs0";
    }
    return "";
}

struct Rgb {
    int red, green, blue;
};

// The automatic colour comes first and has no values.
constexpr Rgb kStandardColours[16] = {
    {0, 0, 0},     {0, 0, 255},   {0, 255, 255}, {0, 255, 0},     {255, 0, 255},   {255, 0, 0},
    {255, 255, 0}, {255, 255, 255}, {0, 0, 128},  {0, 128, 128},  {0, 128, 0},     {128, 0, 128},
    {128, 0, 0},   {128, 128, 0}, {128, 128, 128}, {192, 192, 192},
};
constexpr Rgb kNearBlack = {0, 0, 10};

// Latent style exceptions: built-in style names with their priority and flags.
struct LatentStyle {
    const char *name;
    int priority;
    bool semiHidden;
    bool quickFormat;
};

constexpr LatentStyle kLatentStyles[] = {
    {"Normal", 0, false, true},
    {"heading 1", 9, false, true},
    {"heading 2", 9, true, true},
    {"heading 3", 9, true, true},
    {"heading 4", 9, true, true},
    {"heading 5", 9, true, true},
    {"heading 6", 9, true, true},
    {"heading 7", 9, true, true},
    {"heading 8", 9, true, true},
    {"heading 9", 9, true, true},
    {"toc 1", 39, true, false},
    {"toc 2", 39, true, false},
    {"toc 3", 39, true, false},
    {"caption", 35, true, true},
    {"Title", 10, false, true},
    {"Default Paragraph Font", 1, true, false},
    {"Subtitle", 11, false, true},
    {"Strong", 22, false, true},
    {"Emphasis", 20, false, true},
    {"Table Grid", 59, false, false},
    {"Placeholder Text", 99, true, false},
    {"No Spacing", 1, false, true},
    {"Quote", 29, false, true},
    {"Intense Quote", 30, false, true},
    {"Subtle Emphasis", 19, false, true},
    {"Intense Emphasis", 21, false, true},
    {"Subtle Reference", 31, false, true},
    {"Intense Reference", 32, false, true},
    {"Book Title", 33, false, true},
    {"Bibliography", 37, true, false},
    {"TOC Heading", 39, true, true},
};

class DocumentWriter final {
public:
    DocumentWriter(const Source &source, const ManifestEntry &entry) : m_source(source), m_entry(entry)
    {
        m_settings = bodySettingsFor(entry);
        m_sessions = m_settings.rsids;
        for (const Block &block : source.blocks) {
            if (const auto *p = std::get_if<Paragraph>(&block)) {
                const int style = styleOf(*p);
                if (style != 0)
                    m_styles.insert(style);
            }
        }
    }

    // The document without padding lines, with its padding slot.
    LaidOutText layout(std::size_t reserve)
    {
        RtfEmitter out;
        out.open();
        out.controls(headerWords(m_entry));
        fontTable(out);
        colourTable(out);
        if (formA()) {
            out.lineBreak();
            out.controls("{\\*\\defchp \\f1\\fs20\\lang1049\\langfe1049\\langfenp1049 }");
            out.controls("{\\*\\defpap \\ql \\li0\\ri0\\widctlpar\\wrapdefault\\aspalpha\\aspnum\\faauto"
                         "\\adjustright\\rin0\\lin0\\itap0 }");
            out.controls("\\noqfpromote ");
            styleSheet(out);
            if (m_entry.revisionTable)
                revisionTable(out);
            if (m_entry.paragraphGroupTable) {
                out.lineBreak();
                out.controls("{\\*\\pgptbl {\\pgp\\ipgp0\\itap0\\li0\\ri0\\sb0\\sa0}}");
            }
            rsidTable(out);
            out.lineBreak();
            out.controls("{\\mmathPr\\mmathFont34\\mbrkBin0\\mbrkBinSub0\\msmallFrac0\\mdispDef1\\mlMargin0"
                         "\\mrMargin0\\mdefJc1\\mwrapIndent1440\\mintLim0\\mnaryLim1}");
            info(out);
            out.lineBreak();
            out.controls("{\\*\\xmlnstbl {\\xmlns1 urn:veltrano:docgen:1}}");
            documentFormatting(out);
            out.controls("{\\*\\wgrffmtfilter 013f}");
            section(out);
        } else {
            styleSheet(out);
            out.lineBreak();
            out.controls("{\\*\\latentstyles\\lsdstimax156\\lsdlockeddef0}");
            if (m_entry.revisionTable)
                revisionTable(out);
            rsidTable(out);
            out.lineBreak();
            out.controls("{\\*\\generator Veltrano docgen 1.0;}");
            info(out);
            documentFormatting(out);
            section(out);
        }
        writeBody(out, m_source, m_settings);
        if (formA()) {
            out.lineBreak();
            out.controls("{\\*\\themedata ");
            out.plain(hexEncode(themePackage()));
            out.close();
            out.lineBreak();
            out.controls("{\\*\\colorschememapping ");
            out.plain(hexEncode(colourSchemeMapping()));
            out.close();
            latentStyles(out);
            out.lineBreak();
            out.controls("{\\*\\datastore ");
            out.plain(hexEncode(dataStore(m_entry.number, reserve)));
            out.close();
        }
        out.close();
        return layoutLines(out.text());
    }

    std::vector<std::string> fillerLines(std::size_t bytes) const
    {
        std::vector<std::string> lines;
        if (bytes == 0)
            return lines;
        if (bytes < kMinimumFiller)
            throw GenerationError("internal: filler below the smallest line");
        std::set<std::uint32_t> used(m_sessions.begin(), m_sessions.end());
        SplitMix rng(0x5041'4444'0000ull + static_cast<std::uint64_t>(m_entry.number));
        auto entry = [&](std::size_t length) {
            // "\rsid" and 1 to 8 digits.
            const std::size_t digits = length - 5;
            std::uint64_t low = 1;
            for (std::size_t i = 1; i < digits; ++i)
                low *= 10;
            const std::uint64_t high = std::min<std::uint64_t>(low * 10 - 1, 0xFFFFFF);
            if (digits == 1)
                low = 1;
            std::uint64_t value = 0;
            do {
                value = rng.between(low, high);
            } while (!used.insert(static_cast<std::uint32_t>(value)).second && used.size() < high - low);
            return "\\rsid" + std::to_string(value);
        };
        const std::size_t perLine = kLineWidth + 2;
        const std::size_t count = (bytes + perLine - 1) / perLine;
        for (std::size_t j = 0; j < count; ++j) {
            const std::size_t share = bytes / count + (j < bytes % count ? 1 : 0);
            std::size_t content = share - 2;
            std::string line;
            while (content > 26) {
                line += entry(13);
                content -= 13;
            }
            if (content <= 13) {
                line += entry(content);
            } else {
                const std::size_t first = content / 2;
                line += entry(first);
                line += entry(content - first);
            }
            lines.push_back(std::move(line));
        }
        return lines;
    }

private:
    bool formA() const { return m_entry.form == Form::A; }

    void fontTable(RtfEmitter &out)
    {
        out.controls("{\\fonttbl");
        for (const FontEntry &font : buildFontTable(m_entry)) {
            out.lineBreak();
            out.open();
            if (!font.themeTag.empty())
                out.word(font.themeTag);
            out.word("f", font.number);
            if (formA() || font.face->bidi) {
                out.word("fbidi");
                out.space();
            }
            out.word(font.face->family);
            out.word("fcharset", font.charset);
            out.word("fprq", font.face->pitch);
            if (font.panose) {
                out.controls("{\\*\\panose ");
                out.plain(font.face->panose);
                out.close();
            }
            out.plain(font.name);
            if (font.alternate) {
                out.controls("{\\*\\falt ");
                out.plain(font.face->alternate);
                out.close();
            }
            out.tight(";");
            out.close();
        }
        out.close();
    }

    void colourTable(RtfEmitter &out)
    {
        out.lineBreak();
        out.controls("{\\colortbl");
        out.tight(";");
        auto colour = [&](const Rgb &c) {
            out.word("red", c.red);
            out.word("green", c.green);
            out.word("blue", c.blue);
            out.tight(";");
        };
        for (const Rgb &c : kStandardColours)
            colour(c);
        if (m_entry.colours == 18)
            colour(kNearBlack);
        out.close();
    }

    void styleSheet(RtfEmitter &out)
    {
        out.lineBreak();
        out.controls("{\\stylesheet");
        const char *common = formA() ? "\\wrapdefault\\aspalpha\\aspnum\\faauto\\adjustright\\rin0\\lin0\\itap0"
                                     : "\\rin0\\lin0\\itap0";
        auto para = [&](const std::string &prefix) { return prefix + common; };
        // In form A the Arial size of the bidirectional side is written after \afs.
        const std::string normal = para("\\ql \\li0\\ri0\\widctlpar");
        writeStyle(out, 0, normal, false, 20, "Normal", 0);
        if (m_styles.count(kHeadingStyle))
            writeStyle(out, kHeadingStyle, para("\\qc \\li0\\ri0\\keepn\\widctlpar"), true, 24, "Document Heading",
                       9);
        if (m_styles.count(kSectionStyle))
            writeStyle(out, kSectionStyle, para("\\qc \\li0\\ri0\\sb120\\sa60\\keepn\\widctlpar"), true, 20,
                       "Section Heading", 10);
        if (m_styles.count(kClauseStyle))
            writeStyle(out, kClauseStyle, para("\\qj \\fi283\\li0\\ri0\\sl288\\slmult1\\widctlpar"), false, 20,
                       "Contract Clause", 11);
        out.lineBreak();
        if (formA())
            out.controls("{\\*\\cs10 \\additive \\ssemihidden \\sunhideused \\spriority1 Default Paragraph Font;}");
        else
            out.controls("{\\*\\cs10 \\additive \\ssemihidden Default Paragraph Font;}");
        out.lineBreak();
        if (formA()) {
            out.controls("{\\*\\ts11\\tsrowd\\trftsWidthB3\\trpaddl108\\trpaddr108\\trpaddfl3\\trpaddft3\\trpaddfb3"
                         "\\trpaddfr3\\tblind0\\tblindtype3\\tsvertalt\\tsbrdrt\\tsbrdrl\\tsbrdrb\\tsbrdrr\\tsbrdrdgl"
                         "\\tsbrdrdgr\\tsbrdrh\\tsbrdrv \\ql \\li0\\ri0\\widctlpar\\wrapdefault\\aspalpha\\aspnum"
                         "\\faauto\\adjustright\\rin0\\lin0\\itap0 \\rtlch\\fcs1 \\af1\\afs20\\alang1025 \\ltrch\\fcs0 "
                         "\\fs20\\lang1049\\langfe1049\\cgrid\\langnp1049\\langfenp1049 \\snext11 \\ssemihidden "
                         "\\sunhideused Normal Table;}");
        } else {
            out.controls("{\\*\\ts11\\tsrowd\\trftsWidthB3\\trpaddl108\\trpaddr108\\trpaddfl3\\trpaddft3\\trpaddfb3"
                         "\\trpaddfr3\\tscellwidthfts0\\tsvertalt\\tsbrdrt\\tsbrdrl\\tsbrdrb\\tsbrdrr\\tsbrdrdgl"
                         "\\tsbrdrdgr\\tsbrdrh\\tsbrdrv \\ql \\li0\\ri0\\widctlpar\\rin0\\lin0\\itap0 \\fs20\\lang1024"
                         "\\langfe1024\\cgrid\\langnp1024\\langfenp1024 \\snext11 \\ssemihidden Normal Table;}");
        }
        static const char *const kCharacterStyles[] = {
            "{\\*\\cs15 \\additive \\rtlch\\fcs1 \\ab\\af1 \\ltrch\\fcs0 \\b\\f1 \\sbasedon10 Defined Term;}",
            "{\\*\\cs16 \\additive \\rtlch\\fcs1 \\af1 \\ltrch\\fcs0 \\f1\\cf17 \\sbasedon10 Dark Text;}",
            "{\\*\\cs17 \\additive \\rtlch\\fcs1 \\ai\\af1 \\ltrch\\fcs0 \\i\\f1 \\sbasedon10 Note Text;}",
            "{\\*\\cs18 \\additive \\rtlch\\fcs1 \\af1 \\ltrch\\fcs0 \\f1\\fs16 \\sbasedon10 Small Print;}",
        };
        for (int i = 0; i < m_entry.characterStyles; ++i) {
            std::string style = kCharacterStyles[i];
            if (i == 1 && m_entry.colours < 18)
                style.replace(style.find("\\cf17"), 5, "\\cf1");
            out.lineBreak();
            out.controls(style);
        }
        out.close();
    }

    void writeStyle(RtfEmitter &out, int number, const std::string &paragraph, bool bold, int size,
                    const char *name, int priority)
    {
        out.lineBreak();
        out.open();
        if (number != 0)
            out.word("s", number);
        out.controls(paragraph);
        out.space();
        if (formA()) {
            out.controls("\\rtlch\\fcs1 ");
            if (bold)
                out.word("ab");
            out.word("af", 1);
            out.word("afs", size);
            out.word("alang", 1025);
            out.space();
            out.controls("\\ltrch\\fcs0 ");
        }
        if (bold)
            out.word("b");
        out.word("f", 1);
        out.word("fs", size);
        out.controls("\\lang1049\\langfe1049\\cgrid\\langnp1049\\langfenp1049 ");
        if (number != 0) {
            out.word("sbasedon", 0);
            out.space();
        }
        out.word("snext", number == 0 ? 0 : kClauseStyle);
        out.space();
        if (formA()) {
            out.controls("\\sqformat ");
            out.word("spriority", priority);
            out.space();
        }
        out.word("styrsid", m_sessions.front());
        out.plain(name);
        out.tight(";");
        out.close();
    }

    void revisionTable(RtfEmitter &out)
    {
        out.lineBreak();
        out.controls("{\\*\\revtbl {Unknown;}{Veltrano;}}");
    }

    void rsidTable(RtfEmitter &out)
    {
        out.lineBreak();
        out.controls("{\\*\\rsidtbl ");
        std::vector<std::uint32_t> sorted = m_sessions;
        std::sort(sorted.begin(), sorted.end());
        for (const std::uint32_t r : sorted)
            out.word("rsid", r);
        out.paddingSlot();
        out.close();
    }

    void time(RtfEmitter &out, const char *group, int year, int month, int day, int hour, int minute)
    {
        out.open();
        out.word(group);
        out.word("yr", year);
        out.word("mo", month);
        out.word("dy", day);
        out.word("hr", hour);
        out.word("min", minute);
        out.close();
    }

    void info(RtfEmitter &out)
    {
        const int n = m_entry.number;
        const TextStatistics stats = statistics(m_source);
        out.lineBreak();
        out.controls("{\\info");
        if (!formA()) {
            const auto title = decodeUtf8(m_entry.title);
            if (!title)
                throw GenerationError("the manifest title is not UTF-8");
            out.controls("{\\title ");
            for (const char32_t c : *title)
                out.character(c);
            out.close();
        }
        out.controls("{\\author Veltrano}{\\operator Veltrano}");
        const int year = 2009 + (n * 5) % 8;
        const int month = 1 + (n * 7) % 12;
        const int day = 1 + (n * 11) % 27;
        const int hour = 9 + n % 9;
        const int minute = (n * 17) % 60;
        time(out, "creatim", year, month, day, hour, minute);
        time(out, "revtim", year, month, std::min(28, day + 1 + n % 4), std::min(18, hour + 1 + n % 3),
             (minute + 23) % 60);
        out.open();
        out.word("version", 2 + n % 7);
        out.close();
        out.open();
        out.word("edmins", 15 + static_cast<long long>(countParagraphs(m_source)) * 2);
        out.close();
        out.open();
        out.word("nofpages", 1 + stats.charactersBlanks / 3300);
        out.close();
        out.open();
        out.word("nofwords", stats.words);
        out.close();
        out.open();
        out.word("nofchars", stats.characters);
        out.close();
        if (m_entry.company)
            out.controls("{\\*\\company Veltrano}");
        out.open();
        out.word("nofcharsws", stats.charactersBlanks);
        out.close();
        out.controls("{\\vern100}}");
    }

    void documentFormatting(RtfEmitter &out)
    {
        const Margins &m = m_entry.margins;
        out.lineBreak();
        out.word("paperw", m_entry.paperWidth);
        out.word("paperh", m_entry.paperHeight);
        out.word("margl", m.left);
        out.word("margr", m.right);
        out.word("margt", m.top);
        out.word("margb", m.bottom);
        if (formA()) {
            out.controls("\\gutter0\\ltrsect ");
        } else {
            out.space();
        }
        if (m_entry.defaultTab)
            out.word("deftab", *m_entry.defaultTab);
        out.controls("\\widowctrl\\ftnbj\\aenddoc\\hyphhotz425\\formshade\\horzdoc\\dgmargin\\dghspace180"
                     "\\dgvspace180");
        out.word("dghorigin", m.left);
        out.word("dgvorigin", m.top);
        out.controls("\\dghshow1\\dgvshow1\\jexpand\\viewkind1");
        out.word("viewscale", m_entry.viewScale);
        out.controls("\\pgbrdrhead\\pgbrdrfoot\\splytwnine\\ftnlytwnine\\htmautsp\\nolnhtadjtbl\\useltbaln"
                     "\\alntblind\\lytcalctblwd\\lyttblrtgr\\lnbrkrule\\nobrkwrptbl\\snaptogridincell"
                     "\\allowfieldendsel\\wrppunct\\asianbrkrule");
        out.word("rsidroot", m_sessions.front());
        out.space();
        if (formA())
            out.controls("\\newtblstyruls\\nogrowautofit\\utinl ");
        out.controls("\\fet0");
    }

    void section(RtfEmitter &out)
    {
        out.lineBreak();
        if (formA())
            out.controls("\\ltrpar \\sectd \\ltrsect");
        else
            out.controls("\\sectd ");
        out.controls("\\linex0\\headery708\\footery708\\colsx708\\endnhere\\sectlinegrid360\\sectdefaultcl");
        out.word("sectrsid", m_sessions.front());
        out.controls("\\sftnbj ");
        static const char *const kLevels[9] = {
            "{\\*\\pnseclvl1\\pnucrm\\pnstart1\\pnindent720\\pnhang {\\pntxta .}}",
            "{\\*\\pnseclvl2\\pnucltr\\pnstart1\\pnindent720\\pnhang {\\pntxta .}}",
            "{\\*\\pnseclvl3\\pndec\\pnstart1\\pnindent720\\pnhang {\\pntxta .}}",
            "{\\*\\pnseclvl4\\pnlcltr\\pnstart1\\pnindent720\\pnhang {\\pntxta )}}",
            "{\\*\\pnseclvl5\\pndec\\pnstart1\\pnindent720\\pnhang {\\pntxtb (}{\\pntxta )}}",
            "{\\*\\pnseclvl6\\pnlcltr\\pnstart1\\pnindent720\\pnhang {\\pntxtb (}{\\pntxta )}}",
            "{\\*\\pnseclvl7\\pnlcrm\\pnstart1\\pnindent720\\pnhang {\\pntxtb (}{\\pntxta )}}",
            "{\\*\\pnseclvl8\\pnlcltr\\pnstart1\\pnindent720\\pnhang {\\pntxtb (}{\\pntxta )}}",
            "{\\*\\pnseclvl9\\pnlcrm\\pnstart1\\pnindent720\\pnhang {\\pntxtb (}{\\pntxta )}}",
        };
        for (const char *level : kLevels) {
            out.lineBreak();
            out.controls(level);
        }
    }

    void latentStyles(RtfEmitter &out)
    {
        out.lineBreak();
        out.controls("{\\*\\latentstyles\\lsdstimax376\\lsdlockeddef0\\lsdsemihiddendef0\\lsdunhidewhenuseddef0"
                     "\\lsdqformatdef0\\lsdprioritydef99{\\lsdlockedexcept ");
        for (const LatentStyle &style : kLatentStyles) {
            if (style.semiHidden)
                out.controls("\\lsdsemihidden1 \\lsdunhideused1 ");
            if (style.quickFormat)
                out.controls("\\lsdqformat1 ");
            out.word("lsdpriority", style.priority);
            out.space();
            out.controls("\\lsdlocked0 ");
            out.plain(style.name);
            out.tight(";");
        }
        out.controls("}}");
    }

    const Source &m_source;
    const ManifestEntry &m_entry;
    BodySettings m_settings;
    std::vector<std::uint32_t> m_sessions;
    std::set<int> m_styles;
};

void checkByteForm(const std::string &doc, int number)
{
    auto fail = [&](const std::string &why) {
        throw std::logic_error("DOC_" + std::to_string(number) + ": generated RTF breaks the byte form: " + why);
    };
    if (doc.rfind("{\\rtf1", 0) != 0 || doc.back() != '}')
        fail("not one group");
    std::size_t lineLength = 0;
    int depth = 0;
    for (std::size_t i = 0; i < doc.size(); ++i) {
        const auto c = static_cast<unsigned char>(doc[i]);
        if (c == 0 || c >= 0x80)
            fail("byte outside 7-bit ASCII");
        if (c == '\r') {
            if (i + 1 >= doc.size() || doc[i + 1] != '\n')
                fail("CR without LF");
            ++i;
            lineLength = 0;
            continue;
        }
        if (c == '\n')
            fail("LF without CR");
        if (++lineLength > kMaxLineLength)
            fail("line longer than 350 bytes");
        if (c == '\\') {
            // Skip the escaped character so "\{" and "\}" do not count as braces.
            if (i + 1 < doc.size() && (doc[i + 1] == '{' || doc[i + 1] == '}' || doc[i + 1] == '\\')) {
                ++i;
                ++lineLength;
            }
            continue;
        }
        if (c == '{')
            ++depth;
        if (c == '}' && --depth == 0 && i + 1 != doc.size())
            fail("bytes after the final brace");
    }
    if (depth != 0)
        fail("unbalanced braces");
}

} // namespace

BodySettings bodySettingsFor(const ManifestEntry &entry)
{
    BodySettings settings;
    settings.form = entry.form;
    settings.arialFont.reset();
    settings.timesFont.reset();
    settings.minionFont.reset();
    for (const FaceSlot &slot : entry.faces) {
        if (slot.key == "arial" && !settings.arialFont)
            settings.arialFont = slot.number;
        else if (slot.key == "tnr" && !settings.timesFont)
            settings.timesFont = slot.number;
        else if (slot.key == "minion" && !settings.minionFont)
            settings.minionFont = slot.number;
    }
    settings.colours = entry.colours;
    settings.rsids = sessionRsids(entry.number);
    settings.characterRsids = entry.characterRsids;
    return settings;
}

void writeBody(RtfEmitter &out, const Source &source, const BodySettings &settings)
{
    BodyWriter writer(out, settings, countParagraphs(source));
    writer.write(source);
}

std::string bodyText(const Source &source, const BodySettings &settings)
{
    RtfEmitter out;
    writeBody(out, source, settings);
    std::string text = out.take();
    std::erase_if(text, [](char c) { return c == '\x01' || c == '\x02'; });
    return text;
}

std::string renderDocument(const Source &source, const ManifestEntry &entry, const Padding &padding)
{
    DocumentWriter writer(source, entry);
    const LaidOutText laidOut = writer.layout(padding.reserve);
    return joinLines(laidOut, writer.fillerLines(padding.filler));
}

std::size_t naturalSize(const Source &source, const ManifestEntry &entry)
{
    return renderDocument(source, entry, {0, kMinimumFiller}).size();
}

std::string generateDocument(const Source &source, const ManifestEntry &entry)
{
    DocumentWriter writer(source, entry);
    const std::size_t base = joinLines(writer.layout(0)).size();
    const std::size_t natural = base + kMinimumFiller;
    std::string doc;
    if (!entry.size) {
        doc = joinLines(writer.layout(0), writer.fillerLines(kMinimumFiller));
    } else {
        const std::size_t target = *entry.size;
        if (natural > target)
            throw GenerationError("DOC_" + std::to_string(entry.number) + ": natural size " + std::to_string(natural) +
                                  " bytes exceeds the manifest target " + std::to_string(target) +
                                  "; run docgen --plan-sizes");
        const std::size_t extra = target - natural;
        // Form A carries most of its padding in the data store, the rest in revision ids;
        // form B has no data store.
        std::size_t reserve = entry.form == Form::A ? extra * 7 / 10 / 2 * kLineWidth / (kLineWidth + 2) : 0;
        while (true) {
            const LaidOutText laidOut = writer.layout(reserve);
            const std::size_t size = joinLines(laidOut).size();
            if (size + kMinimumFiller <= target) {
                doc = joinLines(laidOut, writer.fillerLines(target - size));
                break;
            }
            if (reserve == 0)
                throw std::logic_error("padding does not fit a target above the natural size");
            const std::size_t over = size + kMinimumFiller - target;
            reserve -= std::min(reserve, over / 2 + 1);
        }
        if (doc.size() != target)
            throw std::logic_error("DOC_" + std::to_string(entry.number) + ": padded to " +
                                   std::to_string(doc.size()) + " instead of " + std::to_string(target));
    }
    checkByteForm(doc, entry.number);
    return doc;
}

} // namespace docgen
