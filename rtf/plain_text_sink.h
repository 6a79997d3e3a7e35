#pragma once

// Collects what a reader delivers as plain UTF-8 text: one line per paragraph (a line break
// starts a new line too), one line per table row with its cells separated by tabs, where a
// paragraph end or line break inside a cell becomes a space.

#include "sink.h"

#include <cstddef>
#include <string>

namespace rtf {

class PlainTextSink final : public Sink {
public:
    const std::string &result() const { return m_text; }

    void text(std::u16string_view text, const CharFormat &format) override;
    void tab(const CharFormat &format) override;
    void lineBreak(const CharFormat &format) override;
    void paragraphEnd(const ParagraphFormat &format, const CharFormat &mark) override;
    void rowBegin(const RowDefinition &row) override;
    void cellEnd(const ParagraphFormat &format, const CharFormat &mark) override;
    void rowEnd() override;

private:
    std::string m_text;
    bool m_inRow = false;
    std::size_t m_cellsLeft = 0;
};

// Convenience: the plain text of an RTF document.
std::string PlainText(std::string_view rtf);

} // namespace rtf
