#pragma once

// documents/manifest.tsv: what each document's RTF declares beyond its text (form,
// header, font and colour tables, page setup, optional groups) and its size target.

#include <cstddef>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace docgen {

enum class Form { A, B };

// The header control words come in a few fixed variants; the names say what differs.
enum class HeaderVariant { Standard, Stshf0, Stshfdbch31505, Letter };

enum class ThemeFonts { None, Base, Full };

struct FaceSlot {
    int number = 0;
    std::string key; // a face of the catalogue in fonts.h
    bool operator==(const FaceSlot &) const = default;
};

struct Margins {
    int left = 720;
    int right = 720;
    int top = 720;
    int bottom = 720;
    bool operator==(const Margins &) const = default;
};

struct ManifestEntry {
    int number = 0;
    Form form = Form::A;
    HeaderVariant header = HeaderVariant::Standard;
    std::vector<FaceSlot> faces;       // in table order
    std::vector<std::string> variants; // faces whose other-charset variants are listed
    ThemeFonts theme = ThemeFonts::None;
    bool falt = false;
    int colours = 17;
    bool revisionTable = false;
    bool paragraphGroupTable = false;
    int characterStyles = 0; // extra character styles in the style sheet
    bool characterRsids = false;
    bool company = true;
    Margins margins;
    int paperWidth = 11906;
    int paperHeight = 16838;
    int viewScale = 100;
    std::optional<int> defaultTab = 708;
    std::string title; // the catalogue title, UTF-8
    std::optional<std::size_t> size; // target in bytes; unset until planned

    bool operator==(const ManifestEntry &) const = default;
};

struct Manifest {
    std::vector<ManifestEntry> entries;

    const ManifestEntry *find(int number) const;
    ManifestEntry *find(int number);
    bool operator==(const Manifest &) const = default;
};

class ManifestError : public std::runtime_error {
public:
    ManifestError(int line, const std::string &message);
    int line() const { return m_line; }

private:
    int m_line;
};

// Reads the manifest; throws ManifestError at the first fault.
Manifest parseManifest(std::string_view text);

// The canonical text of a manifest: the explanatory comment, the column names and one
// row per entry, LF line ends. parseManifest(formatManifest(m)) == m.
std::string formatManifest(const Manifest &manifest);

} // namespace docgen
