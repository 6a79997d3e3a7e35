#pragma once

// The single-byte Windows code pages the reader decodes.

#include <cstdint>

namespace rtf {

// The Unicode characters of bytes 0x80..0xFF in a code page, U+FFFD where the code page
// defines no character; nullptr for a code page we do not know. Bytes below 0x80 are ASCII in
// every one of them.
const char16_t *HighHalfOf(int codePage);

// The code page of a font character set (\fcharsetN), or 0 when the character set has none of
// its own and text in it is read in the document's code page.
int CodePageOfCharset(int charset);

} // namespace rtf

#include <string>
#include <string_view>

namespace rtf {

// Every byte as one character of the code page (1252 for one we do not know); bytes the code
// page leaves undefined become U+FFFD.
std::u16string DecodeSingleByte(std::string_view bytes, int codePage);

} // namespace rtf
