#pragma once

// The document-level data a word processor keeps beside the text: our theme package,
// colour scheme mapping and data store, written by us and carried as hex.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace docgen {

struct ZipMember {
    std::string name;
    std::string data;
};

// A zip archive with every member stored uncompressed; the timestamp is fixed so the
// bytes depend on the members only.
std::string storedZip(const std::vector<ZipMember> &members);

std::uint32_t crc32(std::string_view data);

// The theme package of the documents: a DrawingML theme of our own in its package.
std::string themePackage();

// The colour scheme mapping (DrawingML clrMap), UTF-8 XML.
std::string colourSchemeMapping();

// The data store: a small XML record about the document and a reserve of the given
// number of blank bytes, which is where a document is padded to its size.
std::string dataStore(int documentNumber, std::size_t reserve);

std::string hexEncode(std::string_view bytes);

} // namespace docgen
