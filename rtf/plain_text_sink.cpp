#include "plain_text_sink.h"

#include "reader.h"
#include "utf.h"

namespace rtf {

void PlainTextSink::text(std::u16string_view text, const CharFormat &)
{
    AppendUtf8(m_text, text);
}

void PlainTextSink::tab(const CharFormat &)
{
    m_text.push_back('\t');
}

void PlainTextSink::lineBreak(const CharFormat &)
{
    m_text.push_back(m_inRow ? ' ' : '\n');
}

void PlainTextSink::paragraphEnd(const ParagraphFormat &, const CharFormat &)
{
    m_text.push_back(m_inRow ? ' ' : '\n');
}

void PlainTextSink::rowBegin(const RowDefinition &row)
{
    m_inRow = true;
    m_cellsLeft = row.cells.size();
}

void PlainTextSink::cellEnd(const ParagraphFormat &, const CharFormat &)
{
    if (m_cellsLeft > 1)
        m_text.push_back('\t');
    if (m_cellsLeft > 0)
        --m_cellsLeft;
}

void PlainTextSink::rowEnd()
{
    m_inRow = false;
    m_text.push_back('\n');
}

std::string PlainText(std::string_view rtf)
{
    PlainTextSink sink;
    Read(rtf, sink);
    return sink.result();
}

} // namespace rtf
