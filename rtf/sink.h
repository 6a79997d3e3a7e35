#pragma once

// The reader's only output: a stream of calls in document order.
//
// Outside tables a paragraph is any number of text(), tab() and lineBreak() calls followed by
// paragraphEnd(), which also gives the format of the paragraph mark (what sizes an empty line). A
// table row is rowBegin(), then for each of row.cells in turn its paragraphs, the last of which
// ends with cellEnd() instead of paragraphEnd(), then rowEnd(); so a row always delivers exactly
// row.cells.size() cells. Consecutive rows belong to one table. Hidden text and everything of the
// document's tables, styles and metadata never reach a sink. References passed to a call are valid
// only during that call.

#include "formats.h"

#include <string_view>

namespace rtf {

class Sink {
public:
    virtual ~Sink() = default;

    // UTF-16, never empty, never holding a lone surrogate or a control character.
    virtual void text(std::u16string_view text, const CharFormat &format) = 0;
    virtual void tab(const CharFormat &format) = 0;
    virtual void lineBreak(const CharFormat &format) = 0;
    virtual void paragraphEnd(const ParagraphFormat &format, const CharFormat &mark) = 0;

    virtual void rowBegin(const RowDefinition &row) = 0;
    virtual void cellEnd(const ParagraphFormat &format, const CharFormat &mark) = 0;
    virtual void rowEnd() = 0;

    // Called once after everything else.
    virtual void documentEnd() {}
};

} // namespace rtf
