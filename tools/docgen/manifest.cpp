#include "manifest.h"

#include "fonts.h"

#include <algorithm>
#include <charconv>
#include <set>

namespace docgen {

ManifestError::ManifestError(int line, const std::string &message)
    : std::runtime_error("manifest line " + std::to_string(line) + ": " + message), m_line(line)
{
}

const ManifestEntry *Manifest::find(int number) const
{
    for (const auto &entry : entries) {
        if (entry.number == number)
            return &entry;
    }
    return nullptr;
}

ManifestEntry *Manifest::find(int number)
{
    return const_cast<ManifestEntry *>(static_cast<const Manifest *>(this)->find(number));
}

namespace {

const char *const kColumns[] = {"doc",        "form",     "header",   "faces",     "variants", "theme",
                                "falt",       "colours",  "revtbl",   "pgptbl",    "charstyles",
                                "charrsid",   "company",  "margins",  "paper",     "viewscale",
                                "deftab",     "title",    "size"};
constexpr std::size_t kColumnCount = sizeof(kColumns) / sizeof(kColumns[0]);

const char *const kComment =
    "# Per-document facts for tools/docgen; one row per document, tab-separated.\n"
    "# form: A or B. header: standard, stshf0, stshfdbch31505 or letter (the header word variant).\n"
    "# faces: font table slots number=face (faces in tools/docgen/fonts.cpp); variants: faces\n"
    "# whose other-charset variants are listed; theme: theme fonts from 31500 (-, base, full).\n"
    "# falt, revtbl, pgptbl, charrsid, company: yes or no. colours: 17 or 18. charstyles: extra\n"
    "# character styles. margins: left,right,top,bottom in twips. paper: width x height.\n"
    "# deftab: default tab width or -. title: the catalogue title. size: target bytes or - (the\n"
    "# natural size); docgen --plan-sizes rewrites this column.\n";

std::vector<std::string> split(std::string_view text, char separator)
{
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (true) {
        const std::size_t end = text.find(separator, start);
        if (end == std::string_view::npos) {
            parts.emplace_back(text.substr(start));
            return parts;
        }
        parts.emplace_back(text.substr(start, end - start));
        start = end + 1;
    }
}

long long toNumber(const std::string &text, int line, const std::string &column, long long minimum,
                   long long maximum)
{
    long long value = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || result.ec != std::errc() || result.ptr != text.data() + text.size())
        throw ManifestError(line, column + ": '" + text + "' is not a whole number");
    if (value < minimum || value > maximum)
        throw ManifestError(line, column + ": " + text + " is out of range");
    return value;
}

bool toFlag(const std::string &text, int line, const std::string &column)
{
    if (text == "yes")
        return true;
    if (text == "no")
        return false;
    throw ManifestError(line, column + ": '" + text + "' is neither yes nor no");
}

const char *headerName(HeaderVariant v)
{
    switch (v) {
    case HeaderVariant::Standard: return "standard";
    case HeaderVariant::Stshf0: return "stshf0";
    case HeaderVariant::Stshfdbch31505: return "stshfdbch31505";
    case HeaderVariant::Letter: return "letter";
    }
    return "standard";
}

const char *themeName(ThemeFonts t)
{
    switch (t) {
    case ThemeFonts::None: return "-";
    case ThemeFonts::Base: return "base";
    case ThemeFonts::Full: return "full";
    }
    return "-";
}

ManifestEntry parseRow(const std::vector<std::string> &cells, int line)
{
    ManifestEntry e;
    auto cell = [&](std::size_t i) -> const std::string & { return cells[i]; };
    e.number = static_cast<int>(toNumber(cell(0), line, "doc", 1, 9999));

    if (cell(1) == "A")
        e.form = Form::A;
    else if (cell(1) == "B")
        e.form = Form::B;
    else
        throw ManifestError(line, "form: '" + cell(1) + "' is neither A nor B");

    const std::string &h = cell(2);
    if (h == "standard")
        e.header = HeaderVariant::Standard;
    else if (h == "stshf0")
        e.header = HeaderVariant::Stshf0;
    else if (h == "stshfdbch31505")
        e.header = HeaderVariant::Stshfdbch31505;
    else if (h == "letter")
        e.header = HeaderVariant::Letter;
    else
        throw ManifestError(line, "header: unknown variant '" + h + "'");
    if (e.form == Form::B && e.header != HeaderVariant::Standard)
        throw ManifestError(line, "header: form B has only the standard header");

    std::set<int> numbers;
    for (const std::string &slot : split(cell(3), ',')) {
        const auto eq = slot.find('=');
        if (eq == std::string::npos)
            throw ManifestError(line, "faces: '" + slot + "' is not number=face");
        FaceSlot face;
        face.number = static_cast<int>(toNumber(slot.substr(0, eq), line, "faces", 0, 31499));
        face.key = slot.substr(eq + 1);
        if (!findFace(face.key))
            throw ManifestError(line, "faces: unknown face '" + face.key + "'");
        if (!numbers.insert(face.number).second)
            throw ManifestError(line, "faces: font number " + std::to_string(face.number) + " given twice");
        e.faces.push_back(face);
    }
    if (cell(4) != "-") {
        for (const std::string &key : split(cell(4), ',')) {
            const bool listed = std::any_of(e.faces.begin(), e.faces.end(),
                                            [&](const FaceSlot &f) { return f.key == key; });
            if (!listed)
                throw ManifestError(line, "variants: '" + key + "' is not one of the faces");
            e.variants.push_back(key);
        }
    }
    if (cell(5) == "-")
        e.theme = ThemeFonts::None;
    else if (cell(5) == "base")
        e.theme = ThemeFonts::Base;
    else if (cell(5) == "full")
        e.theme = ThemeFonts::Full;
    else
        throw ManifestError(line, "theme: '" + cell(5) + "' is not -, base or full");

    e.falt = toFlag(cell(6), line, "falt");
    e.colours = static_cast<int>(toNumber(cell(7), line, "colours", 17, 18));
    e.revisionTable = toFlag(cell(8), line, "revtbl");
    e.paragraphGroupTable = toFlag(cell(9), line, "pgptbl");
    e.characterStyles = static_cast<int>(toNumber(cell(10), line, "charstyles", 0, 4));
    e.characterRsids = toFlag(cell(11), line, "charrsid");
    e.company = toFlag(cell(12), line, "company");

    const auto margins = split(cell(13), ',');
    if (margins.size() != 4)
        throw ManifestError(line, "margins: four numbers left,right,top,bottom");
    e.margins.left = static_cast<int>(toNumber(margins[0], line, "margins", 0, 10000));
    e.margins.right = static_cast<int>(toNumber(margins[1], line, "margins", 0, 10000));
    e.margins.top = static_cast<int>(toNumber(margins[2], line, "margins", 0, 10000));
    e.margins.bottom = static_cast<int>(toNumber(margins[3], line, "margins", 0, 10000));

    const auto paper = split(cell(14), 'x');
    if (paper.size() != 2)
        throw ManifestError(line, "paper: width x height, as 11906x16838");
    e.paperWidth = static_cast<int>(toNumber(paper[0], line, "paper", 1000, 31680));
    e.paperHeight = static_cast<int>(toNumber(paper[1], line, "paper", 1000, 31680));

    e.viewScale = static_cast<int>(toNumber(cell(15), line, "viewscale", 10, 500));
    if (cell(16) == "-")
        e.defaultTab.reset();
    else
        e.defaultTab = static_cast<int>(toNumber(cell(16), line, "deftab", 1, 10000));
    e.title = cell(17);
    if (e.title.empty())
        throw ManifestError(line, "title: empty");
    if (cell(18) == "-")
        e.size.reset();
    else
        e.size = static_cast<std::size_t>(toNumber(cell(18), line, "size", 1, 100'000'000));
    return e;
}

} // namespace

Manifest parseManifest(std::string_view text)
{
    Manifest manifest;
    bool haveHeader = false;
    int lineNumber = 0;
    std::set<int> seen;
    for (std::string line : split(text, '\n')) {
        ++lineNumber;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty() || line[0] == '#')
            continue;
        const auto cells = split(line, '\t');
        if (!haveHeader) {
            if (cells.size() != kColumnCount)
                throw ManifestError(lineNumber, "the column names must be: doc form header ... size");
            for (std::size_t i = 0; i < kColumnCount; ++i) {
                if (cells[i] != kColumns[i])
                    throw ManifestError(lineNumber, "column " + std::to_string(i + 1) + " must be '" +
                                                        kColumns[i] + "', not '" + cells[i] + "'");
            }
            haveHeader = true;
            continue;
        }
        if (cells.size() != kColumnCount)
            throw ManifestError(lineNumber, "expected " + std::to_string(kColumnCount) + " tab-separated cells, found " +
                                                std::to_string(cells.size()));
        ManifestEntry entry = parseRow(cells, lineNumber);
        if (!seen.insert(entry.number).second)
            throw ManifestError(lineNumber, "document " + std::to_string(entry.number) + " is listed twice");
        manifest.entries.push_back(std::move(entry));
    }
    if (!haveHeader)
        throw ManifestError(lineNumber, "no column names");
    return manifest;
}

std::string formatManifest(const Manifest &manifest)
{
    std::string out = kComment;
    for (std::size_t i = 0; i < kColumnCount; ++i) {
        out += kColumns[i];
        out += i + 1 < kColumnCount ? '\t' : '\n';
    }
    auto join = [](const std::vector<std::string> &items) {
        if (items.empty())
            return std::string("-");
        std::string s;
        for (const auto &item : items) {
            if (!s.empty())
                s += ',';
            s += item;
        }
        return s;
    };
    for (const auto &e : manifest.entries) {
        std::vector<std::string> faces;
        for (const auto &f : e.faces)
            faces.push_back(std::to_string(f.number) + "=" + f.key);
        const std::vector<std::string> cells = {
            std::to_string(e.number),
            e.form == Form::A ? "A" : "B",
            headerName(e.header),
            join(faces),
            join(e.variants),
            themeName(e.theme),
            e.falt ? "yes" : "no",
            std::to_string(e.colours),
            e.revisionTable ? "yes" : "no",
            e.paragraphGroupTable ? "yes" : "no",
            std::to_string(e.characterStyles),
            e.characterRsids ? "yes" : "no",
            e.company ? "yes" : "no",
            std::to_string(e.margins.left) + "," + std::to_string(e.margins.right) + "," +
                std::to_string(e.margins.top) + "," + std::to_string(e.margins.bottom),
            std::to_string(e.paperWidth) + "x" + std::to_string(e.paperHeight),
            std::to_string(e.viewScale),
            e.defaultTab ? std::to_string(*e.defaultTab) : "-",
            e.title,
            e.size ? std::to_string(*e.size) : "-",
        };
        for (std::size_t i = 0; i < cells.size(); ++i) {
            out += cells[i];
            out += i + 1 < cells.size() ? '\t' : '\n';
        }
    }
    return out;
}

} // namespace docgen
