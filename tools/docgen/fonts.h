#pragma once

// The faces a document's font table may list, and the table a manifest entry asks for.

#include "manifest.h"

#include <string>
#include <string_view>
#include <vector>

namespace docgen {

struct Face {
    std::string_view key;
    std::string_view name;
    std::string_view family; // \froman, \fswiss ...
    int charset;
    int pitch;
    std::string_view panose;
    std::vector<int> variantCharsets; // other character sets a word processor lists for it
    std::string_view alternate;       // {\*\falt} name, empty when none
    bool bidi;                        // a complex-script face: \fbidi in every form
};

const Face *findFace(std::string_view key);

struct FontEntry {
    int number = 0;
    std::string_view themeTag; // "flomajor" ... or empty
    const Face *face = nullptr;
    int charset = 0;
    std::string name;
    bool panose = false;
    bool alternate = false;
};

// The entries in table order: the faces, the theme fonts from 31500 (form A), the
// other-charset variants of the faces listed for them, the variants of the theme fonts.
std::vector<FontEntry> buildFontTable(const ManifestEntry &entry);

// "Times New Roman CE" for charset 238 and so on.
std::string variantName(std::string_view name, int charset);

} // namespace docgen
