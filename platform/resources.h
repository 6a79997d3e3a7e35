#pragma once

// Resources embedded in the running executable, looked up the way FindResource/LoadResource/
// LockResource do on Windows. The bytes stay where the executable keeps them: nothing is
// copied, and the returned span is valid for the life of the process.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace platform {

struct ResourceEntry {
    std::string_view type;
    std::string_view name;
    std::uint16_t language;
    const unsigned char *data;
    std::size_t size;
};

// The executable's resource table. Defined by the generated source of whichever embedding
// target is linked into the executable (the program's documents, or a test's fixtures).
std::span<const ResourceEntry> ExecutableResources();

// Type and name compare without regard to ASCII case, as the Windows loader does.
// No value when there is no such resource.
std::optional<std::span<const unsigned char>> FindResource(std::string_view name,
                                                           std::string_view type);

} // namespace platform
