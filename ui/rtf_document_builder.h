#pragma once

// Turns RTF, or text that is not RTF, into a QTextDocument for the viewer.

#include <QtGlobal>

#include <string_view>

QT_BEGIN_NAMESPACE
class QTextDocument;
QT_END_NAMESPACE

namespace ui {

// Fills `document` with what our RTF reader makes of `data`: paragraphs with their alignment,
// indents, spacing and tab stops; runs with their font, size, weight, slant, capitals, colour
// and spacing; tables with column widths, cell borders, vertical merges and alignment.
// `document` must be new and not shown by any view: building into a visible document is far
// slower. Everything is written in one edit block and undo is switched off. Lengths in twips
// become pixels at `dotsPerInch`.
void BuildRtfDocument(std::string_view data, QTextDocument &document, qreal dotsPerInch = 96);

// Fills `document` with `data` as plain text in code page 1251: one paragraph per line (lines
// end in CR LF, LF or CR), in the document's default font. Control bytes other than TAB are
// dropped. Same conditions on `document` as above.
void BuildPlainTextDocument(std::string_view data, QTextDocument &document);

} // namespace ui
