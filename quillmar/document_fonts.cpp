#include "document_fonts.h"

#include <QFont>
#include <QStringList>

namespace quillmar {

void SubstituteDocumentFonts()
{
    // The real face first where it is installed; then Liberation Serif, whose widths are
    // close to Minion's so lines and pages break about where they did; DejaVu Serif when
    // even that is missing. All three carry the whole Cyrillic alphabet. A program-wide
    // fontconfig alias would do the same only once the package is installed, and for every
    // other program too.
    QFont::insertSubstitutions(QStringLiteral("Minion Pro Cyr"),
                               QStringList{QStringLiteral("Minion Pro"),
                                           QStringLiteral("Liberation Serif"),
                                           QStringLiteral("DejaVu Serif")});
}

} // namespace quillmar
