#pragma once

// The fixed table of contents: three group headings and their 70 documents, in the order the
// tree shows them. A catalogue index is an entry's 0-based position in that pre-order walk,
// headings included, and equals the tree node's AbsoluteIndex.

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace library {

struct CatalogueEntry {
    std::string_view Title;        // UTF-8, exactly as shown and as used in file names
    int Level;                     // 0 group heading, 1 document
    std::string_view ResourceName; // "DOC_n" for a document, empty for a heading
};

class DocumentCatalogue final {
public:
    static constexpr int Count = 73;

    static const std::array<CatalogueEntry, Count> &Entries();
    // Precondition: 0 <= index < Count.
    static const CatalogueEntry &At(int index) { return Entries()[static_cast<std::size_t>(index)]; }

    // The document's resource name; none for a heading or an index outside 0..72.
    static std::optional<std::string> ResourceNameAt(int index);
};

} // namespace library
