#pragma once

// Writes every call a reader makes as one line of readable text, with each format given by
// what differs from the defaults. The form the conformance corpus and `rtfdump --trace` use:
//
//   text "Договор" b caps fs=24 f="Arial" color=#000000
//   tab | line            (with the same format attributes)
//   par qc fi=283 sl=multiple:288 tabs=c4677,r9355:ul keep | b fs=24   (after the bar: the
//                                                         paragraph mark's character format)
//   row left=-108 pad=108,0,0,108 cells=1000[t=s10 b=s10 vmf vc],5000
//   cell ...              (as par, for the cell's last paragraph)
//   endrow
//
// Text is UTF-8; quotes, backslashes and characters outside ASCII, Latin-1 letters and
// Cyrillic are written as \u{XXXX}.

#include "sink.h"

#include <string>

namespace rtf {

class TraceSink final : public Sink {
public:
    const std::string &result() const { return m_out; }

    void text(std::u16string_view text, const CharFormat &format) override;
    void tab(const CharFormat &format) override;
    void lineBreak(const CharFormat &format) override;
    void paragraphEnd(const ParagraphFormat &format, const CharFormat &mark) override;
    void rowBegin(const RowDefinition &row) override;
    void cellEnd(const ParagraphFormat &format, const CharFormat &mark) override;
    void rowEnd() override;

private:
    std::string m_out;
};

std::string Trace(std::string_view rtf);

} // namespace rtf
