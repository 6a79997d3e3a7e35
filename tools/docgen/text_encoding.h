#pragma once

// UTF-8 decoding of document sources and the Windows-1251 code page the documents are
// written in.

#include <optional>
#include <string>
#include <string_view>

namespace docgen {

// Decodes UTF-8. Returns the byte offset of the first malformed sequence in errorOffset
// (and nothing else) when the input is not valid UTF-8; overlong forms and surrogates
// count as malformed.
std::optional<std::u32string> decodeUtf8(std::string_view bytes, std::size_t *errorOffset = nullptr);

std::string encodeUtf8(std::u32string_view text);

// The code page 1251 byte for a character, or nothing when the code page lacks it.
// ASCII maps to itself.
std::optional<unsigned char> toCp1251(char32_t c);

// The character of a code page 1251 byte; U+FFFD for 0x98, the one unassigned byte.
char32_t fromCp1251(unsigned char byte);

} // namespace docgen
