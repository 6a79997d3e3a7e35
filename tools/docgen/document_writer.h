#pragma once

// Writes a document's RTF from its parsed source and its manifest entry.

#include "manifest.h"
#include "rtf_emitter.h"
#include "source_model.h"

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace docgen {

class GenerationError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// What the body writer needs besides the source.
struct BodySettings {
    Form form = Form::B;
    std::optional<int> arialFont = 1;
    std::optional<int> timesFont = 0;
    std::optional<int> minionFont;
    int colours = 17;
    // Revision-save ids of the editing sessions, spread over the paragraphs in order.
    std::vector<std::uint32_t> rsids = {1};
    bool characterRsids = false;
};

BodySettings bodySettingsFor(const ManifestEntry &entry);

// Writes the paragraphs and tables. Throws GenerationError (with the source line) for
// a font or colour the document's tables do not have.
void writeBody(RtfEmitter &out, const Source &source, const BodySettings &settings);

// The body as one line, without the layout's line breaks.
std::string bodyText(const Source &source, const BodySettings &settings);

// Bytes of padding beyond the natural document.
struct Padding {
    std::size_t reserve = 0; // blank bytes in the data store (form A)
    std::size_t filler = 0;  // bytes of whole rsid table lines, line ends included
};

// The smallest filler: one revision id line.
inline constexpr std::size_t kMinimumFiller = 15;

std::string renderDocument(const Source &source, const ManifestEntry &entry, const Padding &padding);

// The size with no padding beyond the smallest filler.
std::size_t naturalSize(const Source &source, const ManifestEntry &entry);

// The document at its manifest size, or at its natural size when the manifest has no
// target. Throws GenerationError when the natural size exceeds the target.
std::string generateDocument(const Source &source, const ManifestEntry &entry);

} // namespace docgen
