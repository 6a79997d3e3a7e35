#include "trace_sink.h"

#include "reader.h"
#include "utf.h"

#include <cstdio>

namespace rtf {
namespace {

void appendNumber(std::string &out, const char *name, int value)
{
    out += ' ';
    out += name;
    out += '=';
    out += std::to_string(value);
}

void appendChars(std::string &out, const CharFormat &format)
{
    const CharFormat defaults;
    if (format.bold)
        out += " b";
    if (format.italic)
        out += " i";
    if (format.underline)
        out += " ul";
    if (format.strikeOut)
        out += " strike";
    if (format.allCaps)
        out += " caps";
    if (format.smallCaps)
        out += " scaps";
    if (format.verticalPosition == VerticalPosition::Superscript)
        out += " super";
    if (format.verticalPosition == VerticalPosition::Subscript)
        out += " sub";
    if (format.fontSizeHalfPoints != defaults.fontSizeHalfPoints)
        appendNumber(out, "fs", format.fontSizeHalfPoints);
    if (format.spacingTwips != 0)
        appendNumber(out, "sp", format.spacingTwips);
    if (!format.fontFamily.empty()) {
        out += " f=\"";
        out += format.fontFamily;
        out += '"';
    }
    if (format.hasColor) {
        char color[16];
        std::snprintf(color, sizeof color, " color=#%02x%02x%02x", format.color.red,
                      format.color.green, format.color.blue);
        out += color;
    }
}

void appendParagraph(std::string &out, const ParagraphFormat &format)
{
    switch (format.alignment) {
    case Alignment::Left:
        break;
    case Alignment::Centre:
        out += " qc";
        break;
    case Alignment::Right:
        out += " qr";
        break;
    case Alignment::Justify:
        out += " qj";
        break;
    }
    if (format.firstLineIndent != 0)
        appendNumber(out, "fi", format.firstLineIndent);
    if (format.leftIndent != 0)
        appendNumber(out, "li", format.leftIndent);
    if (format.rightIndent != 0)
        appendNumber(out, "ri", format.rightIndent);
    if (format.spaceBefore != 0)
        appendNumber(out, "sb", format.spaceBefore);
    if (format.spaceAfter != 0)
        appendNumber(out, "sa", format.spaceAfter);
    switch (format.lineSpacingRule) {
    case LineSpacingRule::Single:
        break;
    case LineSpacingRule::AtLeast:
        out += " sl=atleast:" + std::to_string(format.lineSpacing);
        break;
    case LineSpacingRule::Exactly:
        out += " sl=exactly:" + std::to_string(format.lineSpacing);
        break;
    case LineSpacingRule::Multiple:
        out += " sl=multiple:" + std::to_string(format.lineSpacing);
        break;
    }
    if (!format.tabStops.empty()) {
        out += " tabs=";
        bool first = true;
        for (const TabStop &stop : format.tabStops) {
            if (!first)
                out += ',';
            first = false;
            static const char *const kKinds[] = {"", "c", "r", "d"};
            static const char *const kLeaders[] = {"", ":dot", ":hyph", ":ul", ":th", ":eq"};
            out += kKinds[static_cast<int>(stop.kind)];
            out += std::to_string(stop.position);
            out += kLeaders[static_cast<int>(stop.leader)];
        }
    }
    if (format.keepTogether)
        out += " keep";
    if (format.keepWithNext)
        out += " keepn";
    if (format.pageBreakBefore)
        out += " pagebb";
}

void appendBorder(std::string &out, const char *side, const Border &border)
{
    static const char *const kStyles[] = {"none", "s", "th", "db", "dot", "dash", "hair"};
    if (border.style == BorderStyle::None)
        return;
    out += ' ';
    out += side;
    out += '=';
    out += kStyles[static_cast<int>(border.style)];
    out += std::to_string(border.width);
}

// The paragraph mark's format, after a bar, when it differs from the defaults.
void appendMark(std::string &out, const CharFormat &mark)
{
    std::string chars;
    appendChars(chars, mark);
    if (!chars.empty())
        out += " |" + chars;
}

void appendEscaped(std::string &out, std::u16string_view text)
{
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i];
        const bool plain = (unit >= 0x20 && unit < 0x7F && unit != '"' && unit != '\\')
                           || (unit >= 0xC0 && unit <= 0xFF && unit != 0xD7 && unit != 0xF7)
                           || (unit >= 0x400 && unit <= 0x4FF);
        if (plain) {
            AppendUtf8(out, text.substr(i, 1));
        } else {
            char escape[16];
            std::snprintf(escape, sizeof escape, "\\u{%04X}", static_cast<unsigned>(unit));
            out += escape;
        }
    }
}

} // namespace

void TraceSink::text(std::u16string_view text, const CharFormat &format)
{
    m_out += "text \"";
    appendEscaped(m_out, text);
    m_out += '"';
    appendChars(m_out, format);
    m_out += '\n';
}

void TraceSink::tab(const CharFormat &format)
{
    m_out += "tab";
    appendChars(m_out, format);
    m_out += '\n';
}

void TraceSink::lineBreak(const CharFormat &format)
{
    m_out += "line";
    appendChars(m_out, format);
    m_out += '\n';
}

void TraceSink::paragraphEnd(const ParagraphFormat &format, const CharFormat &mark)
{
    m_out += "par";
    appendParagraph(m_out, format);
    appendMark(m_out, mark);
    m_out += '\n';
}

void TraceSink::rowBegin(const RowDefinition &row)
{
    m_out += "row";
    if (row.left != 0)
        appendNumber(m_out, "left", row.left);
    if (row.height != 0)
        appendNumber(m_out, "height", row.height);
    if (row.paddingLeft != 0 || row.paddingTop != 0 || row.paddingBottom != 0
        || row.paddingRight != 0) {
        m_out += " pad=" + std::to_string(row.paddingLeft) + ',' + std::to_string(row.paddingTop)
                 + ',' + std::to_string(row.paddingBottom) + ',' + std::to_string(row.paddingRight);
    }
    m_out += " cells=";
    bool first = true;
    for (const CellDefinition &cell : row.cells) {
        if (!first)
            m_out += ',';
        first = false;
        m_out += std::to_string(cell.rightEdge);
        std::string attributes;
        appendBorder(attributes, "t", cell.top);
        appendBorder(attributes, "l", cell.left);
        appendBorder(attributes, "b", cell.bottom);
        appendBorder(attributes, "r", cell.right);
        if (cell.verticalMerge == VerticalMerge::First)
            attributes += " vmf";
        if (cell.verticalMerge == VerticalMerge::Continue)
            attributes += " vmc";
        if (cell.verticalAlignment == CellAlignment::Centre)
            attributes += " vc";
        if (cell.verticalAlignment == CellAlignment::Bottom)
            attributes += " vb";
        if (!attributes.empty())
            m_out += '[' + attributes.substr(1) + ']';
    }
    m_out += '\n';
}

void TraceSink::cellEnd(const ParagraphFormat &format, const CharFormat &mark)
{
    m_out += "cell";
    appendParagraph(m_out, format);
    appendMark(m_out, mark);
    m_out += '\n';
}

void TraceSink::rowEnd()
{
    m_out += "endrow\n";
}

std::string Trace(std::string_view rtf)
{
    TraceSink sink;
    Read(rtf, sink);
    return sink.result();
}

} // namespace rtf
