#include "resources.h"

#include <algorithm>

namespace platform {

namespace {

bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b)
{
    auto lower = [](unsigned char c) { return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c; };
    return std::ranges::equal(a, b, [&](char x, char y) {
        return lower(static_cast<unsigned char>(x)) == lower(static_cast<unsigned char>(y));
    });
}

} // namespace

std::optional<std::span<const unsigned char>> FindResource(std::string_view name,
                                                           std::string_view type)
{
    for (const ResourceEntry &entry : ExecutableResources()) {
        if (equalsIgnoringAsciiCase(entry.type, type) && equalsIgnoringAsciiCase(entry.name, name))
            return std::span<const unsigned char>(entry.data, entry.size);
    }
    return std::nullopt;
}

} // namespace platform
