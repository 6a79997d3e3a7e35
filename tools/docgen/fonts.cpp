#include "fonts.h"

#include <algorithm>
#include <array>

namespace docgen {

namespace {

const std::vector<int> kAllCharsets = {0, 238, 161, 162, 177, 178, 186, 163};
const std::vector<int> kLatinGreekCharsets = {0, 238, 161, 162, 186, 163};

const std::array<Face, 23> kFaces = {{
    {"tnr", "Times New Roman", "froman", 204, 2, "02020603050405020304", kAllCharsets, "Times New Roman Cyr", false},
    {"arial", "Arial", "fswiss", 204, 2, "020b0604020202020204", kAllCharsets, "Arial Cyr", false},
    {"courier", "Courier New", "fmodern", 204, 1, "02070309020205020404", kAllCharsets, "Courier New Cyr", false},
    {"symbol", "Symbol", "ftech", 2, 2, "05050102010706020507", {}, "", false},
    {"wingdings", "Wingdings", "fnil", 2, 2, "05000000000000000000", {}, "", false},
    {"tahoma", "Tahoma", "fswiss", 204, 2, "020b0604030504040204", kAllCharsets, "", false},
    {"verdana", "Verdana", "fswiss", 204, 2, "020b0604030504040204", kLatinGreekCharsets, "", false},
    {"calibri", "Calibri", "fswiss", 204, 2, "020f0502020204030204", kLatinGreekCharsets, "", false},
    {"cambria", "Cambria", "froman", 204, 2, "02040503050406030204", kLatinGreekCharsets, "", false},
    {"cmath", "Cambria Math", "froman", 204, 2, "02040503050406030204", kLatinGreekCharsets, "", false},
    {"minion", "Minion Pro Cyr", "froman", 204, 2, "02040503050306020203", {0, 238, 161, 162, 186}, "Minion Pro", false},
    {"mincho", "MS Mincho", "fmodern", 128, 1, "02020609040205080304", {}, "", false},
    {"msgothic", "MS Gothic", "fmodern", 128, 1, "020b0609070205080204", {}, "", false},
    {"simsun", "SimSun", "fnil", 134, 2, "02010600030101010101", {}, "", false},
    {"batang", "Batang", "froman", 129, 2, "02030600000101010101", {}, "", false},
    {"pmingliu", "PMingLiU", "froman", 136, 2, "02020500000000000000", {}, "", false},
    {"angsana", "Angsana New", "froman", 222, 2, "02020603050405020304", {}, "", false},
    {"cordia", "Cordia New", "fswiss", 222, 2, "020b0304020202020204", {}, "", false},
    {"mangal", "Mangal", "froman", 0, 2, "02040503050203030202", {}, "", true},
    {"latha", "Latha", "fswiss", 0, 2, "020b0604020202020204", {}, "", true},
    {"gautami", "Gautami", "fswiss", 0, 2, "020b0502040204020203", {}, "", true},
    {"raavi", "Raavi", "fswiss", 0, 2, "020b0502040204020203", {}, "", true},
    {"shruti", "Shruti", "fswiss", 0, 2, "020b0502040204020203", {}, "", true},
}};

struct ThemeSlot {
    std::string_view tag;
    std::string_view face;
};

// Our theme sets headings and body in Arial for Latin and Cyrillic text and keeps Times
// New Roman for the other slots.
constexpr std::array<ThemeSlot, 8> kThemeSlots = {{
    {"flomajor", "tnr"},
    {"fdbmajor", "tnr"},
    {"fhimajor", "arial"},
    {"fbimajor", "tnr"},
    {"flominor", "tnr"},
    {"fdbminor", "tnr"},
    {"fhiminor", "arial"},
    {"fbiminor", "arial"},
}};

} // namespace

const Face *findFace(std::string_view key)
{
    for (const Face &face : kFaces) {
        if (face.key == key)
            return &face;
    }
    return nullptr;
}

std::string variantName(std::string_view name, int charset)
{
    std::string result(name);
    switch (charset) {
    case 238: result += " CE"; break;
    case 204: result += " Cyr"; break;
    case 161: result += " Greek"; break;
    case 162: result += " Tur"; break;
    case 177: result += " (Hebrew)"; break;
    case 178: result += " (Arabic)"; break;
    case 186: result += " Baltic"; break;
    case 163: result += " (Vietnamese)"; break;
    default: break;
    }
    return result;
}

std::vector<FontEntry> buildFontTable(const ManifestEntry &entry)
{
    std::vector<FontEntry> table;
    int highest = 0;
    for (const FaceSlot &slot : entry.faces) {
        const Face *face = findFace(slot.key);
        FontEntry font;
        font.number = slot.number;
        font.face = face;
        font.charset = face->charset;
        font.name = std::string(face->name);
        font.panose = true;
        font.alternate = entry.falt && !face->alternate.empty();
        table.push_back(font);
        highest = std::max(highest, slot.number);
    }

    const bool theme = entry.form == Form::A && entry.theme != ThemeFonts::None;
    if (theme) {
        int number = 31500;
        for (const ThemeSlot &slot : kThemeSlots) {
            const Face *face = findFace(slot.face);
            FontEntry font;
            font.number = number++;
            font.themeTag = slot.tag;
            font.face = face;
            font.charset = face->charset;
            font.name = std::string(face->name);
            font.panose = true;
            table.push_back(font);
        }
    }

    int next = highest + 2;
    for (const std::string &key : entry.variants) {
        const Face *face = findFace(key);
        for (int charset : face->variantCharsets) {
            FontEntry font;
            font.number = next++;
            font.face = face;
            font.charset = charset;
            font.name = variantName(face->name, charset);
            table.push_back(font);
        }
    }

    if (theme && entry.theme == ThemeFonts::Full) {
        int number = 31508;
        for (const ThemeSlot &slot : kThemeSlots) {
            const Face *face = findFace(slot.face);
            for (int charset : face->variantCharsets) {
                FontEntry font;
                font.number = number++;
                font.themeTag = slot.tag;
                font.face = face;
                font.charset = charset;
                font.name = variantName(face->name, charset);
                table.push_back(font);
            }
        }
    }
    return table;
}

} // namespace docgen
