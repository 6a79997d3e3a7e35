#include "paths.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

namespace platform {

namespace {

std::optional<std::filesystem::path> &rootOverride()
{
    static std::optional<std::filesystem::path> root;
    return root;
}

} // namespace

std::filesystem::path DriveCRoot()
{
    if (rootOverride())
        return *rootOverride();
    if (const char *home = std::getenv("HOME"); home && *home)
        return home;
    if (const passwd *entry = getpwuid(getuid()); entry && entry->pw_dir)
        return entry->pw_dir;
    return {};
}

void SetDriveCRootOverride(std::optional<std::filesystem::path> root)
{
    rootOverride() = std::move(root);
}

std::filesystem::path HostPath(std::string_view windowsPath)
{
    if (windowsPath.size() < 2 || (windowsPath[0] != 'c' && windowsPath[0] != 'C')
        || windowsPath[1] != ':')
        return {};
    std::filesystem::path root = DriveCRoot();
    if (root.empty())
        return {};
    std::filesystem::path host = root;
    std::string_view rest = windowsPath.substr(2);
    while (!rest.empty()) {
        const std::size_t cut = rest.find_first_of("\\/"); // Windows takes either
        const std::string_view component = rest.substr(0, cut);
        if (!component.empty())
            host /= std::filesystem::path(std::u8string(component.begin(), component.end()));
        if (cut == std::string_view::npos)
            break;
        rest.remove_prefix(cut + 1);
    }
    return host;
}

} // namespace platform
