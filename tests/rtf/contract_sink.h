#pragma once

// A sink that checks what the reader promises a sink (rtf/sink.h, rtf/formats.h, rtf/reader.h)
// on every call and records the first broken promise. Used by the tests and the fuzz target.

#include "rtf/reader.h"
#include "rtf/sink.h"

#include <algorithm>
#include <cstddef>
#include <string>

namespace rtf_test {

class ContractSink final : public rtf::Sink {
public:
    // Empty while every promise held.
    const std::string &violation() const { return m_violation; }
    bool ended() const { return m_ended; }
    std::size_t characters() const { return m_characters; }
    std::size_t paragraphs() const { return m_paragraphs; }
    std::size_t rows() const { return m_rows; }
    std::size_t cells() const { return m_cells; }
    std::size_t maxCellsInRow() const { return m_maxCellsInRow; }
    std::size_t maxTabStops() const { return m_maxTabStops; }

    void text(std::u16string_view text, const rtf::CharFormat &format) override
    {
        live("text");
        if (text.empty())
            fail("empty text");
        for (std::size_t i = 0; i < text.size(); ++i) {
            const char16_t unit = text[i];
            if (unit < 0x20 || unit == 0x7F)
                fail("control character in text");
            if (unit >= 0xD800 && unit <= 0xDBFF) {
                if (i + 1 >= text.size() || text[i + 1] < 0xDC00 || text[i + 1] > 0xDFFF)
                    fail("lone high surrogate");
                ++i;
            } else if (unit >= 0xDC00 && unit <= 0xDFFF) {
                fail("lone low surrogate");
            }
        }
        m_characters += text.size();
        checkChars(format);
    }
    void tab(const rtf::CharFormat &format) override
    {
        live("tab");
        checkChars(format);
    }
    void lineBreak(const rtf::CharFormat &format) override
    {
        live("lineBreak");
        checkChars(format);
    }
    void paragraphEnd(const rtf::ParagraphFormat &format, const rtf::CharFormat &mark) override
    {
        live("paragraphEnd");
        checkChars(mark);
        if (format.inTable != m_inRow)
            fail("paragraph inTable differs from its place");
        checkParagraph(format);
        ++m_paragraphs;
    }
    void rowBegin(const rtf::RowDefinition &row) override
    {
        live("rowBegin");
        if (m_inRow)
            fail("row begun inside a row");
        if (row.cells.empty())
            fail("row without cells");
        if (row.cells.size() > rtf::kMaxCellsPerRow)
            fail("more cells than the limit");
        int edge = row.left;
        for (const rtf::CellDefinition &cell : row.cells) {
            if (cell.rightEdge < edge)
                fail("cell edge runs backwards");
            edge = cell.rightEdge;
            for (const rtf::Border *border : {&cell.top, &cell.left, &cell.bottom, &cell.right}) {
                if (border->width < 0 || border->width > rtf::kMaxTwips)
                    fail("border width out of range");
            }
        }
        for (int padding : {row.paddingLeft, row.paddingTop, row.paddingBottom, row.paddingRight}) {
            if (padding < 0 || padding > rtf::kMaxTwips)
                fail("padding out of range");
        }
        m_inRow = true;
        m_cellsLeft = row.cells.size();
        m_maxCellsInRow = std::max(m_maxCellsInRow, row.cells.size());
        ++m_rows;
    }
    void cellEnd(const rtf::ParagraphFormat &format, const rtf::CharFormat &mark) override
    {
        live("cellEnd");
        checkChars(mark);
        if (!m_inRow || m_cellsLeft == 0)
            fail("cell end outside a row or beyond its cells");
        else
            --m_cellsLeft;
        if (!format.inTable)
            fail("cell paragraph not in table");
        checkParagraph(format);
        ++m_cells;
    }
    void rowEnd() override
    {
        live("rowEnd");
        if (!m_inRow || m_cellsLeft != 0)
            fail("row ended with cells missing");
        m_inRow = false;
    }
    void documentEnd() override
    {
        live("documentEnd");
        if (m_inRow)
            fail("document ended inside a row");
        m_ended = true;
    }

private:
    void fail(const std::string &what)
    {
        if (m_violation.empty())
            m_violation = what;
    }
    void live(const char *call)
    {
        if (m_ended)
            fail(std::string(call) + " after documentEnd");
    }
    void checkChars(const rtf::CharFormat &format)
    {
        if (format.fontSizeHalfPoints < 1
            || format.fontSizeHalfPoints > rtf::kMaxFontSizeHalfPoints)
            fail("font size out of range");
        if (format.spacingTwips < -rtf::kMaxTwips || format.spacingTwips > rtf::kMaxTwips)
            fail("spacing out of range");
        if (format.fontFamily.size() > rtf::kMaxFontNameBytes + 3)
            fail("font name too long");
    }
    void checkParagraph(const rtf::ParagraphFormat &format)
    {
        for (int length : {format.firstLineIndent, format.leftIndent, format.rightIndent,
                           format.spaceBefore, format.spaceAfter, format.lineSpacing}) {
            if (length < -rtf::kMaxTwips || length > rtf::kMaxTwips)
                fail("paragraph length out of range");
        }
        if (format.spaceBefore < 0 || format.spaceAfter < 0 || format.lineSpacing < 0)
            fail("negative spacing");
        if (format.tabStops.size() > rtf::kMaxTabStops)
            fail("more tab stops than the limit");
        for (std::size_t i = 0; i < format.tabStops.size(); ++i) {
            if (format.tabStops[i].position < 0)
                fail("negative tab stop");
            if (i > 0 && format.tabStops[i - 1].position >= format.tabStops[i].position)
                fail("tab stops not ascending");
        }
        m_maxTabStops = std::max(m_maxTabStops, format.tabStops.size());
    }

    std::string m_violation;
    bool m_ended = false;
    bool m_inRow = false;
    std::size_t m_cellsLeft = 0;
    std::size_t m_characters = 0;
    std::size_t m_paragraphs = 0;
    std::size_t m_rows = 0;
    std::size_t m_cells = 0;
    std::size_t m_maxCellsInRow = 0;
    std::size_t m_maxTabStops = 0;
};

} // namespace rtf_test
