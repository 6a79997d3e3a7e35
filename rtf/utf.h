#pragma once

// UTF-16 to UTF-8, for sinks and tools that write bytes.

#include <string>
#include <string_view>

namespace rtf {

// Appends text as UTF-8; a lone surrogate becomes U+FFFD.
void AppendUtf8(std::string &out, std::u16string_view text);
void AppendUtf8(std::string &out, char32_t codePoint);

std::string ToUtf8(std::u16string_view text);

} // namespace rtf
